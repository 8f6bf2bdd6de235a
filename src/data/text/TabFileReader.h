#pragma once
// Reader of the server's tab-separated template table: first column of each data line.

#include <cstdio>
#include <string>
#include <vector>

namespace morvi {

class TabFileReader {
public:
    TabFileReader() = default;
    ~TabFileReader();
    TabFileReader(const TabFileReader&) = delete;
    TabFileReader& operator=(const TabFileReader&) = delete;

    // Opens a regular file for reading ("rb"), closing any file open before. False for a
    // missing or unreadable file and for anything that is not a regular file (a FIFO would
    // block the open).
    bool Open(const std::string& path);
    void Close();  // safe when nothing is open
    // LF bytes in the file, plus one when the last byte is LF; rewinds. 0 when nothing open.
    int CountLines();
    // Skips to after the next LF, then reads up to the next tab (lines without a tab run on
    // into the next line). The field is cut to 49 bytes (and at a NUL byte, as a zero-
    // terminated buffer would show it); reading goes on after the tab. False at end of file
    // or when nothing is open.
    bool ReadNextFirstField(std::string& name);

private:
    std::FILE* m_file = nullptr;
};

// The template names of npcs.txt in file order (raw code page 936 bytes), following the
// line-count rule: L - 1 reads for L counted lines. Empty when the file cannot be read.
std::vector<std::string> ReadTemplateNames(const std::string& path);

}  // namespace morvi
