#include "controls/CAboutDlg.h"

#include <array>

#include <QPushButton>

#include "controls/DialogTemplate.h"
#include "controls/ProgramResources.h"

namespace morvi {
namespace {

constexpr int kIdOk = 1;   // the OK command of a dialog

// Template 100: 235 x 55 dialog units.
constexpr int kAboutWidthDu = 235;
constexpr int kAboutHeightDu = 55;

const std::array<DialogItem, 6>& AboutTemplate() {
    using K = ControlKind;
    static const std::array<DialogItem, 6> table{{
        {0, K::Icon, "", 11, 17, 20, 20, style::kNone},
        {0, K::Label, kProgramTitleLine, 40, 13, 119, 8, style::kNone},
        {0, K::Label, kProgramPurposeLine, 40, 26, 128, 8, style::kNone},
        {kIdOk, K::DefaultButton, "Thoat", 174, 20, 50, 16, style::kNone},
        {0, K::Label, "morvinpc.example.org", 79, 40, 80, 8, style::kNone},
        {0, K::Label, "More Info :", 42, 40, 36, 8, style::kFitLeft},
    }};
    return table;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(ProgramIcon());
    setFont(DialogFont());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    const DialogUnits units = DialogUnits::ForFont(font());
    setFixedSize(units.X(kAboutWidthDu), units.Y(kAboutHeightDu));
    CreateControls(this, AboutTemplate(), units);
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("id%1").arg(kIdOk)))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace morvi
