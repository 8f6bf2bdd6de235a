#include "app/BulkEditDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "document/NameTables.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QComboBox* CodeCombo(QWidget* parent, std::span<const std::string_view> names, const char* objectName) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->addItem(Q(Text(TextId::BulkEditLeave)), QVariant());
    for (const auto& [code, label] : BulkEditChoices(names)) combo->addItem(Q(label), code);
    return combo;
}

QLineEdit* LeaveEdit(QWidget* parent, const char* objectName, bool leaveCue = true) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    if (leaveCue) edit->setPlaceholderText(Q(Text(TextId::BulkEditLeave)));
    return edit;
}

std::optional<int> CodeOf(const QComboBox* combo) {
    const QVariant code = combo->currentData();
    return code.isValid() ? std::optional<int>(code.toInt()) : std::nullopt;
}

std::optional<std::string> TextOf(const QLineEdit* edit) {
    const QString text = edit->text();
    return text.isEmpty() ? std::nullopt : std::optional<std::string>(text.toStdString());
}

}  // namespace

BulkEditDialog::BulkEditDialog(QWidget* parent, int selectedRows) : QDialog(parent) {
    setObjectName(QStringLiteral("bulkEditDialog"));
    setWindowTitle(Q(Text(TextId::BulkEditCaption)));
    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(Q(Format(TextId::ListSelected, {std::to_string(selectedRows)})), this));
    m_type = CodeCombo(this, NpcTypeNames(), "bulkType");
    m_group = CodeCombo(this, NpcGroupNames(), "bulkGroup");
    m_series = CodeCombo(this, NpcSeriesNames(), "bulkSeries");
    m_drop = LeaveEdit(this, "bulkDrop");
    m_script = LeaveEdit(this, "bulkScript");
    m_offsetX = LeaveEdit(this, "bulkOffsetX");
    m_offsetY = LeaveEdit(this, "bulkOffsetY");
    m_moveX = LeaveEdit(this, "bulkMoveX", false);
    m_moveY = LeaveEdit(this, "bulkMoveY", false);
    m_moveX->setPlaceholderText(QStringLiteral("0"));
    m_moveY->setPlaceholderText(QStringLiteral("0"));
    form->addRow(Q(Text(TextId::LabelType)), m_type);
    form->addRow(Q(Text(TextId::LabelGroup)), m_group);
    form->addRow(Q(Text(TextId::LabelSeries)), m_series);
    form->addRow(Q(Text(TextId::LabelDrop)), m_drop);
    form->addRow(Q(Text(TextId::BulkEditScriptLabel)), m_script);
    m_clearScript = new QCheckBox(Q(Text(TextId::BulkEditClearScript)), this);
    m_clearScript->setObjectName(QStringLiteral("bulkClearScript"));
    // A script cleared leaves nothing to type.
    connect(m_clearScript, &QCheckBox::toggled, m_script, [this](bool clear) { m_script->setEnabled(!clear); });
    form->addRow(QString(), m_clearScript);
    form->addRow(Q(Text(TextId::LabelOffsetX)), m_offsetX);
    form->addRow(Q(Text(TextId::LabelOffsetY)), m_offsetY);
    auto* move = new QHBoxLayout();
    move->addWidget(m_moveX);
    move->addWidget(m_moveY);
    form->addRow(Q(Text(TextId::BulkEditMoveLabel)), move);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

BulkEditForm BulkEditDialog::Form() const {
    BulkEditForm form;
    form.type = CodeOf(m_type);
    form.group = CodeOf(m_group);
    form.series = CodeOf(m_series);
    form.drop = TextOf(m_drop);
    form.script = TextOf(m_script);
    form.clearScript = m_clearScript->isChecked();
    form.offsetX = TextOf(m_offsetX);
    form.offsetY = TextOf(m_offsetY);
    form.moveX = m_moveX->text().toStdString();
    form.moveY = m_moveY->text().toStdString();
    return form;
}

}  // namespace morvi
