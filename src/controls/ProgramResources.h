#pragma once
// The program's own artwork, compiled in through Qt resources: icon 128 and cursor 133.

#include <QCursor>
#include <QIcon>

namespace morvi {

// Makes the compiled-in resources reachable; the GUI library is static, so the linker would
// otherwise drop them. Safe to call any number of times.
void InitProgramResources();

QIcon ProgramIcon();          // icon 128, several sizes
QCursor ProgramCursor();      // cursor 133: 32 x 32 pointing hand, hot spot at 15, 1

}  // namespace morvi
