#pragma once
// "批量修改…": a small dialog with the fields a bulk edit can set. Every field starts as
// "leave as is" (the combos' first entry, the edits empty); only what the user sets changes.

#include <QDialog>

#include "dialog/BulkEditForm.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace morvi {

class BulkEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit BulkEditDialog(QWidget* parent, int selectedRows);
    // The fields as set now.
    BulkEditForm Form() const;

    QComboBox* TypeCombo() const { return m_type; }
    QComboBox* GroupCombo() const { return m_group; }
    QComboBox* SeriesCombo() const { return m_series; }
    QLineEdit* DropEdit() const { return m_drop; }
    QLineEdit* ScriptEdit() const { return m_script; }
    QCheckBox* ClearScriptBox() const { return m_clearScript; }
    QLineEdit* OffsetXEdit() const { return m_offsetX; }
    QLineEdit* OffsetYEdit() const { return m_offsetY; }
    QLineEdit* MoveXEdit() const { return m_moveX; }
    QLineEdit* MoveYEdit() const { return m_moveY; }

private:
    QComboBox* m_type = nullptr;
    QComboBox* m_group = nullptr;
    QComboBox* m_series = nullptr;
    QLineEdit* m_drop = nullptr;
    QLineEdit* m_script = nullptr;
    QCheckBox* m_clearScript = nullptr;
    QLineEdit* m_offsetX = nullptr;
    QLineEdit* m_offsetY = nullptr;
    QLineEdit* m_moveX = nullptr;
    QLineEdit* m_moveY = nullptr;
};

}  // namespace morvi
