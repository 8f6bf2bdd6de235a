// Format's argument count is checked when the program is compiled. This file is compiled as it
// is into the texts suite (it must compile), and once more by the test
// Format.RefusesAWrongArgumentCountWhenCompiled with MORVI_FORMAT_WRONG_COUNT, where the
// compiler must refuse the call with too many arguments.

#include "texts/ProgramTexts.h"

namespace morvi {

std::string FormatCountCheck() {
#ifdef MORVI_FORMAT_WRONG_COUNT
    return Format(TextId::CliCountFull, {"maps/a_S.DAT", "one too many"});
#else
    return Format(TextId::CliCountFull, {"maps/a_S.DAT"});
#endif
}

}  // namespace morvi
