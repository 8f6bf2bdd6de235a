#include "data/text/TabFileReader.h"

#include <cstdint>
#include <cstring>
#include <utility>

#ifdef _WIN32
#include <sys/stat.h>

#include "data/platform/WidePath.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "data/platform/FileReadAhead.h"
#endif

namespace morvi {

namespace {

// The name buffer holds 50 bytes with its terminator.
constexpr size_t kMaxNameBytes = 49;

// Opens only a regular file, so a FIFO or device in place of the table can never block the
// start-up. On POSIX the check and the open are one step (no window for a swap in between).
std::FILE* OpenRegularFileForReading(const std::string& path) {
#ifdef _WIN32
    struct _stat64 st {};
    if (_wstat64(WidenUtf8(path).c_str(), &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) return nullptr;
    return OpenFileUtf8(path, "rb");
#else
    struct stat st {};
    const int fd = OpenRegularFileDescriptor(path, st);
    if (fd < 0) return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) ::close(fd);
    return file;
#endif
}

}  // namespace

TabFileReader::~TabFileReader() { Close(); }

bool TabFileReader::Open(const std::string& path) {
    Close();
    m_file = OpenRegularFileForReading(path);
    return m_file != nullptr;
}

void TabFileReader::Close() {
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

int TabFileReader::CountLines() {
    if (!m_file) return 0;
    std::rewind(m_file);
    long long count = 0;
    char last = 0;
    char chunk[64 * 1024];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, m_file)) > 0) {
        for (const char* p = chunk; (p = static_cast<const char*>(std::memchr(p, '\n', chunk + got - p)));
             ++p)
            ++count;
        last = chunk[got - 1];
    }
    // A file that fails midway is treated like an unreadable one: no lines.
    const bool failed = std::ferror(m_file) != 0;
    std::rewind(m_file);  // also clears the error and end-of-file indicators
    if (failed) return 0;
    if (last == '\n') ++count;
    // The count is an int; a table of two billion lines is not a template table.
    return count > INT32_MAX ? INT32_MAX : static_cast<int>(count);
}

bool TabFileReader::ReadNextFirstField(std::string& name) {
    if (!m_file) return false;
    int c;
    // The rest of the current line (on the first call: the header).
    do {
        c = std::getc(m_file);
        if (c == EOF) return false;
    } while (c != '\n');
    // The field runs to the next tab, across line ends. Only its first 49 bytes are kept, so a
    // huge tab-less tail costs one pass and no memory.
    std::string field;
    for (;;) {
        c = std::getc(m_file);
        if (c == EOF) return false;
        if (c == '\t') break;
        if (field.size() < kMaxNameBytes) field.push_back(static_cast<char>(c));
    }
    // The list shows the name as a zero-terminated text: a NUL byte ends it.
    const size_t nul = field.find('\0');
    if (nul != std::string::npos) field.resize(nul);
    name = std::move(field);
    return true;
}

std::vector<std::string> ReadTemplateNames(const std::string& path) {
    std::vector<std::string> names;
    TabFileReader reader;
    if (!reader.Open(path)) return names;
    const int lines = reader.CountLines();
    std::string name;
    for (int i = 0; i < lines - 1; ++i) {
        // Only the end of the file makes a read fail, and every later read would fail alike.
        if (!reader.ReadNextFirstField(name)) break;
        names.push_back(name);
    }
    return names;
}

}  // namespace morvi
