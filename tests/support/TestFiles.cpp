#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "data/platform/ScratchDirectory.h"
#include "data/platform/WidePath.h"

namespace fs = std::filesystem;

namespace morvi::test {
namespace {

// No test may write the change history under the real user's state directory: every test
// process (and every program it starts) keeps it in a scratch directory of its own, unless a
// test names another one.
struct ScratchStateDirectory {
    ScratchStateDirectory() {
        path = CreateScratchDirectory("morvi-state");
        if (path.empty()) return;
#ifdef _WIN32
        _putenv_s("XDG_STATE_HOME", path.c_str());
#else
        ::setenv("XDG_STATE_HOME", path.c_str(), 1);
#endif
    }
    ~ScratchStateDirectory() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(FsPath(path), ec);
    }
    std::string path;
};
const ScratchStateDirectory g_scratchState;

}  // namespace

TempDir::TempDir() {
    m_path = CreateScratchDirectory("morvi-test");
    if (m_path.empty()) throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only directories behind; make everything writable before removal.
    for (auto it = fs::recursive_directory_iterator(FsPath(m_path), fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(FsPath(m_path), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(FsPath(m_path), ec);
}

std::string TempDir::operator/(std::string_view relative) const {
    return m_path + "/" + std::string(relative);
}

std::string NativeForm(std::string path) {
#ifdef _WIN32
    for (char& c : path)
        if (c == '/') c = '\\';
#endif
    return path;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    const fs::path p = FsPath(path);
    if (p.has_parent_path()) fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(FsPath(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(FsPath(path), ec);
}

}  // namespace morvi::test
