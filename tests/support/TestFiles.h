#pragma once
// Small helpers for tests that work on real files: a temporary directory removed afterwards,
// and whole-file read and write.

#include <string>
#include <string_view>

namespace morvi::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    // path() + "/" + relative
    std::string operator/(std::string_view relative) const;

private:
    std::string m_path;
};

// Writes a file, creating its parent directories.
// The path as the program shows it on this system: '/' becomes '\\' on Windows.
std::string NativeForm(std::string path);

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace morvi::test
