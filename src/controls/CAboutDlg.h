#pragma once
// The About box (dialog template 100): icon, program name and version, contact line and a
// "Thoat" button that closes it.

#include <QDialog>

#include "dialog/WindowTemplateTables.h"

namespace morvi {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace morvi
