#pragma once
// Shared pieces of the fuzz harnesses: a scratch directory per process on a RAM disk, whole
// file helpers, a reader that splits the fuzz input into fields, and a failing check that
// libFuzzer records as a crash.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvi::fuzz {

// A private directory for this process, created on first use (below $MORVI_FUZZ_TMP, else
// /dev/shm, else the system temporary directory) and removed at normal exit.
const std::string& ScratchDir();
// ScratchDir() + "/" + name
std::string ScratchPath(std::string_view name);

// Replaces the file with exactly these bytes (plain write, no crash-safety needed here).
void PutFile(const std::string& path, std::string_view bytes);
// The whole file; an empty string when it cannot be read.
std::string GetFile(const std::string& path);
// Names of the entries of a directory, without "." and "..", sorted.
std::string ListDirectory(const std::string& path);

// Reports a broken property and aborts, so libFuzzer stores the input as a crash.
[[noreturn]] void Fail(const char* file, int line, const char* what);
#define MORVI_FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) ::morvi::fuzz::Fail(__FILE__, __LINE__, #cond); \
    } while (0)

// Splits an input into leading control fields and the rest. Missing bytes read as zero and
// missing chunk bytes are simply absent, so every input is usable.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t size)
        : m_data(reinterpret_cast<const char*>(data), size) {}
    uint8_t Byte();
    // A length byte, then that many bytes (fewer when the input ends).
    std::string_view Chunk();
    // Everything not yet taken.
    std::string_view Rest() const { return m_data.substr(m_pos); }

private:
    std::string_view m_data;
    size_t m_pos = 0;
};

}  // namespace morvi::fuzz
