// The path rule. Input: a length-prefixed server directory, then the tail. Checked:
// - CollapseSeparators never yields two separators in a row, only native separators, and
//   changes nothing but separators;
// - ServerFilePath gives the collapsed path with some components replaced by names that
//   differ only in the case of ASCII letters (so the same length and the same separators).
// The server directory is placed in a small scratch tree with mixed-case names so the
// case-insensitive lookup has something to find.

#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "data/text/GbkCodec.h"
#include "data/server/ServerPath.h"

using namespace morvi;
namespace fz = morvi::fuzz;

namespace {

#ifdef _WIN32
constexpr char kNative = '\\';
#else
constexpr char kNative = '/';
#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

const std::string& Tree() {
    static const std::string root = [] {
        const std::string r = fz::ScratchPath("Server");
        std::filesystem::create_directories(r + "/Settings/Sub");
        std::filesystem::create_directories(r + "/maps/Map1");
        std::filesystem::create_directories(r + "/MAPS");
        fz::PutFile(r + "/Settings/NPCS.txt", "");
        fz::PutFile(r + "/settings.INI", "");
        return r;
    }();
    return root;
}

void CheckCollapsed(std::string_view input, const std::string& out) {
    MORVI_FUZZ_CHECK(out.size() <= input.size());
    for (size_t i = 0; i < out.size(); ++i) {
        if (IsSeparator(out[i])) MORVI_FUZZ_CHECK(out[i] == kNative);
#ifndef _WIN32
        if (i > 0) MORVI_FUZZ_CHECK(!(IsSeparator(out[i]) && IsSeparator(out[i - 1])));
#else
        if (i > 1) MORVI_FUZZ_CHECK(!(IsSeparator(out[i]) && IsSeparator(out[i - 1])));
#endif
    }
}

std::string WithoutSeparators(std::string_view s) {
    std::string out;
    for (char c : s)
        if (!IsSeparator(c)) out += c;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fz::InputReader in(data, size);
    const std::string_view server = in.Chunk();
    const std::string_view tail = in.Rest();

    const std::string joined = std::string(server) + std::string(tail);
    const std::string collapsed = CollapseSeparators(joined);
    CheckCollapsed(joined, collapsed);
    MORVI_FUZZ_CHECK(WithoutSeparators(collapsed) == WithoutSeparators(joined));
    MORVI_FUZZ_CHECK(CollapseSeparators(collapsed) == collapsed);

    // Inside the scratch tree; ".." may still lead out of it, which only reads directories.
    const std::string base = Tree() + "/" + std::string(server);
    const std::string resolved = ServerFilePath(base, tail);
    const std::string plain = CollapseSeparators(base + std::string(tail));
    MORVI_FUZZ_CHECK(resolved.size() == plain.size());
    CheckCollapsed(base + std::string(tail), resolved);
    MORVI_FUZZ_CHECK(EqualNoCaseGbk(resolved, plain));

    const std::string stored = ToBackslashes(joined);
    MORVI_FUZZ_CHECK(stored.find('/') == std::string::npos);
    const std::string native = ToNativeSeparators(stored);
    MORVI_FUZZ_CHECK(native.size() == joined.size());
    return 0;
}
