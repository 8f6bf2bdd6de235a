// The template table reader on a fuzzed npcs.txt. Checked against a direct reading of the
// rules over the bytes in memory: L counted lines (LF bytes, plus one when the last byte is
// LF) give at most L - 1 reads; each read skips to after the next LF and takes the bytes up to
// the next tab, across line ends, cut to 49 bytes and at a NUL; the end of the file ends it.
// The file is never changed.

#include <algorithm>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "data/text/TabFileReader.h"

using namespace morvi;
namespace fz = morvi::fuzz;

namespace {

std::vector<std::string> Expected(std::string_view text) {
    std::vector<std::string> names;
    long lines = std::count(text.begin(), text.end(), '\n');
    if (!text.empty() && text.back() == '\n') ++lines;
    size_t pos = 0;
    for (long i = 0; i < lines - 1; ++i) {
        const size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos) break;
        const size_t tab = text.find('\t', lf + 1);
        if (tab == std::string_view::npos) break;
        std::string field(text.substr(lf + 1, std::min<size_t>(tab - lf - 1, 49)));
        field = field.c_str();   // shown as a zero-terminated text
        names.push_back(field);
        pos = tab + 1;
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = fz::ScratchPath("npcs.txt");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fz::PutFile(path, text);
    const std::vector<std::string> names = ReadTemplateNames(path);
    for (const std::string& name : names) {
        MORVI_FUZZ_CHECK(name.size() <= 49);
        MORVI_FUZZ_CHECK(name.find('\0') == std::string::npos);
    }
    MORVI_FUZZ_CHECK(names == Expected(text));
    MORVI_FUZZ_CHECK(fz::GetFile(path) == text);
    return 0;
}
