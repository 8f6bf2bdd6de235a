#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace morvi::fuzz {
namespace {

std::string MakeScratchDir() {
    std::string base;
    if (const char* env = std::getenv("MORVI_FUZZ_TMP"); env && *env)
        base = env;
    else if (fs::is_directory("/dev/shm"))
        base = "/dev/shm";   // tmpfs: file operations cost no disk I/O
    else
        base = fs::temp_directory_path().string();
    std::string pattern = base + "/morvi-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    return pattern;
}

void RemoveScratchDir() {
    std::error_code ec;
    fs::remove_all(ScratchDir(), ec);
}

}  // namespace

const std::string& ScratchDir() {
    // Never destroyed, so the exit handler that removes the directory can still read it.
    static const std::string* dir = [] {
        auto* d = new std::string(MakeScratchDir());
        std::atexit(RemoveScratchDir);
        return d;
    }();
    return *dir;
}

std::string ScratchPath(std::string_view name) { return ScratchDir() + "/" + std::string(name); }

void PutFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::abort();
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

std::string GetFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ListDirectory(const std::string& path) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(path, ec)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const std::string& n : names) joined += n + "\n";
    return joined;
}

void Fail(const char* file, int line, const char* what) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

uint8_t InputReader::Byte() {
    if (m_pos >= m_data.size()) return 0;
    return static_cast<uint8_t>(m_data[m_pos++]);
}

std::string_view InputReader::Chunk() {
    size_t length = Byte();
    length = std::min(length, m_data.size() - m_pos);
    std::string_view chunk = m_data.substr(m_pos, length);
    m_pos += length;
    return chunk;
}

}  // namespace morvi::fuzz
