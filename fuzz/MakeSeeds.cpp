// Writes the seed corpora of the fuzz harnesses: one directory per harness below the given
// directory, each file one input in that harness's layout. The inputs come from a generated
// server tree plus a few hand-made damaged cases, so nothing binary is kept in the sources.
//
//   morvi_fuzz_seeds <output directory>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TreeGenerator.h"
#include "data/text/GbkCodec.h"
#include "data/region/NpcPlacement.h"

namespace fs = std::filesystem;
using namespace morvi;

namespace {

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class Corpus {
public:
    Corpus(const fs::path& root, const std::string& name) : m_dir(root / name) { fs::create_directories(m_dir); }
    void Add(std::string_view bytes) {
        std::ofstream out(m_dir / ("seed-" + std::to_string(m_next++)), std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    fs::path m_dir;
    int m_next = 0;
};

std::string Chunk(std::string_view s) {
    if (s.size() > 255) s = s.substr(0, 255);
    return std::string(1, static_cast<char>(s.size())) + std::string(s);
}

std::string Gbk(std::string_view utf8) { return Utf8ToGbk(utf8).value_or(std::string(utf8)); }

// Region images: generated ones plus the edge cases of the format.
std::vector<std::string> RegionImages(const fs::path& tree) {
    std::vector<std::string> images;
    for (const auto& entry : fs::recursive_directory_iterator(tree / "maps"))
        if (entry.is_regular_file() && entry.path().filename().string().ends_with("_S.DAT"))
            images.push_back(Slurp(entry.path()));
    std::sort(images.begin(), images.end());
    if (images.size() > 12) images.resize(12);

    using tools::MakeRecord;
    const std::string script25 = "\\script\\a\\bcdefghijk.lua";             // 25 bytes
    const std::string script255 = "\\" + std::string(250, 'p') + ".lua";    // 255 bytes
    images.push_back(tools::MakeRegionImage(3, {}));                          // 2112 bytes, count 0
    images.push_back(tools::MakeRegionImage(4, {MakeRecord(1, Gbk("卫兵"), 999, 0, 499, 0, 0, 0, 0, 24)}));
    images.push_back(tools::MakeRegionImage(5, {MakeRecord(2, "A", 1, 2, 3, 4, 5, 6, 4, 0, script25),
                                                MakeRecord(3, "B", 5, 6, 7, 8, 1, 1, 1, 3)}));
    images.push_back(tools::MakeRegionImage(6, {MakeRecord(4, "C", 10, 0, 10, 0, 1, 1, 1, 0, script255)}));
    std::string truncated = tools::MakeRegionImage(7, {MakeRecord(5, "D", 1, 1, 1, 1, 1, 1, 1, 1, script25)});
    truncated.resize(truncated.size() - 10);
    images.push_back(truncated);
    std::string overCounted = tools::MakeRegionImage(8, {MakeRecord(6, "E", 2, 2, 2, 2, 2, 2, 2, 2)});
    overCounted[kNpcSectionOffset] = 3;
    images.push_back(overCounted);
    images.push_back(std::string(2100, 'x'));
    images.push_back(std::string(2105, 'y'));
    return images;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path tree = out / "tree";
    fs::remove_all(tree);
    tools::TreeShape shape;
    shape.seed = 11;
    shape.maps = 2;
    shape.filesPerMap = 8;
    shape.recordsPerFile = 3;
    shape.templates = 24;
    shape.scriptPercent = 30;
    tools::GenerateServerTree(tree.string(), shape);

    const std::vector<std::string> images = RegionImages(tree);
    Corpus regionRead(out, "region_read");
    for (const std::string& image : images) regionRead.Add(image);

    // Operation, record pick, new length, value; then the file.
    Corpus regionWrite(out, "region_write");
    int n = 0;
    for (const std::string& image : images) {
        for (int op = 0; op < 3; ++op) {
            const char control[4] = {static_cast<char>(op), static_cast<char>(n % 5),
                                     static_cast<char>(n % 3 == 0 ? 40 : n % 25), static_cast<char>(n)};
            regionWrite.Add(std::string(control, 4) + image);
            ++n;
        }
    }

    const std::string worldset = Slurp(tree / "maps" / "worldset.ini");
    const std::string maplist = Slurp(tree / "settings" / "maplist.ini");
    const std::string npcs = Slurp(tree / "settings" / "npcs.txt");

    // Capacity; section, key, value, second section, second key; then the file.
    Corpus profile(out, "private_profile");
    auto addProfile = [&](int capacity, std::string_view s, std::string_view k, std::string_view v,
                          std::string_view s2, std::string_view k2, std::string_view file) {
        profile.Add(std::string(1, static_cast<char>(capacity)) + Chunk(s) + Chunk(k) + Chunk(v) + Chunk(s2) +
                    Chunk(k2) + std::string(file));
    };
    addProfile(255, "Init", "Count", "5", "World", "World01", worldset);
    addProfile(50, "List", "10_name", Gbk("新地图"), "List", "10", maplist);
    addProfile(255, "List", "99", "\"quoted\"", "list", "17_NAME", maplist);
    addProfile(20, "MorviConfig", "ServerPath", "/srv/game", "MorviConfig", "UseDebug",
               "[MorviConfig]\r\nServerPath=C:\\game\\\r\nUseDebug=true\r\n");
    addProfile(255, " World ", " World00 ", "  7  ", "Init", "Count",
               "\xEF\xBB\xBF[World]\nWorld00=1\r[Init]\r\nCount = 0x10 ; note\n\n[World]\nWorld00=2");
    addProfile(255, "New", "Key", "v", "A", "", "no header line\n=empty key\n[A]\n=x\n[B");

    Corpus templates(out, "template_table");
    templates.Add(npcs);
    templates.Add(npcs.substr(0, npcs.size() - 2));                     // no line break at the end
    templates.Add("Name\tKind\nA\t1\n\nB\t2\nno tab here\nC\t3\n");    // empty line, line without tab
    templates.Add("Name\n" + std::string(60, 'L') + "\t1\n" + std::string("N\0ul", 4) + "\t2\n");
    templates.Add("");

    Corpus gbk(out, "gbk_codec");
    for (std::string_view word : {"卫兵", "药店老板", "地图17", "€", "", "Guard"}) gbk.Add(Gbk(word));
    gbk.Add("\x81\x30\xFF\x80\xA1");        // undecodable bytes and a lone lead byte
    gbk.Add("\xAA\xA1\xF8\xFE\xA1\x40");    // user-defined areas
    gbk.Add(npcs);
    gbk.Add("卫兵 UTF-8 text");

    // Server directory (a chunk), then the tail.
    Corpus paths(out, "server_path");
    for (std::string_view server : {"", "/", "srv//game\\", "C:\\Game\\", "..", "Settings"})
        for (std::string_view tail : {"\\settings\\npcs.txt", "\\maps\\worldset.ini", "\\MAPS\\map1\\", "//x//"})
            paths.Add(Chunk(server) + std::string(tail));

    fs::remove_all(tree);
    return 0;
}
