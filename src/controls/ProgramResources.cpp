#include "controls/ProgramResources.h"

#include <QPixmap>

static void InitResourcesOutsideNamespace() { Q_INIT_RESOURCE(resources); }

namespace morvi {

void InitProgramResources() {
    static const bool done = (InitResourcesOutsideNamespace(), true);
    (void)done;
}

QIcon ProgramIcon() {
    InitProgramResources();
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/morvi/icon128_%1.png").arg(size), QSize(size, size));
    return icon;
}

QCursor ProgramCursor() {
    InitProgramResources();
    return QCursor(QPixmap(QStringLiteral(":/morvi/cursor133.png")), 15, 1);
}

}  // namespace morvi
