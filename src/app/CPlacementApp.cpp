#include "app/CPlacementApp.h"

#include <QApplication>

#include "app/PlacementWindow.h"
#include "controls/ProgramResources.h"
#include "version/ProgramVersion.h"

namespace morvi {

CPlacementApp::CPlacementApp(int& argc, char** argv)
    : m_app(std::make_unique<QApplication>(argc, argv)) {
    QApplication::setApplicationName(QStringLiteral("MorviNpc"));
    QApplication::setApplicationVersion(QStringLiteral(MORVI_VERSION_TEXT));
    InitProgramResources();
    QApplication::setWindowIcon(ProgramIcon());
}

CPlacementApp::~CPlacementApp() = default;

bool CPlacementApp::InitInstance() {
    PlacementWindow window;
    // The first-run folder browser, if any, appears before the window itself.
    window.InitDialog();
    window.exec();
    return false;
}

}  // namespace morvi
