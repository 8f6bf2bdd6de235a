#include "controls/CAboutDlg.h"

#include <QPushButton>

#include "controls/DialogTemplate.h"
#include "controls/ProgramResources.h"

namespace morvi {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(Text(TextId::AboutCaption).data()));
    setWindowIcon(ProgramIcon());
    setFont(DialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const DialogUnits units = DialogUnits::ForFont(font());
    setFixedSize(units.X(kAboutWidthDu), units.Y(kAboutHeightDu));
    CreateControls(this, AboutTemplate(), units);
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("id%1").arg(kAboutOkId)))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace morvi
