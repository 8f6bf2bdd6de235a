#pragma once
// The Windows resource script of the program (res/MorviNpc.rc) written out from the shared
// window tables, so the committed script can be checked against the tables the Qt window uses.

#include <string>

namespace morvi {

std::string ResourceScriptText();

}  // namespace morvi
