#include "TreeGenerator.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "data/text/GbkCodec.h"
#include "data/platform/WidePath.h"

namespace fs = std::filesystem;

namespace morvi::tools {
namespace {

void Write(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string Gbk(std::string_view utf8) {
    auto bytes = Utf8ToGbk(utf8);
    if (!bytes) throw std::runtime_error("not representable in GBK");
    return *bytes;
}

const char* const kBaseNames[] = {
    "卫兵", "商人", "村长", "铁匠", "药店老板", "杂货商", "守城将军", "武馆教头", "船夫", "车夫",
    "Guard", "Merchant", "OldGuard", "Smith", "Healer", "Bandit", "Wolf", "Tiger", "Monk", "Archer",
};

}  // namespace

PlacementRecord MakeRecord(int templateIndex, std::string_view gbkName, int x, int offsetX, int y,
                           int offsetY, int type, int group, int series, int drop,
                           std::string_view script) {
    PlacementRecord r;
    NpcPlacement& p = r.block;
    p.SetTemplateIndex(static_cast<uint16_t>(templateIndex));
    p.offsetX = static_cast<uint8_t>(offsetX);
    p.SetPosX(static_cast<uint16_t>(x));
    p.offsetY = static_cast<uint8_t>(offsetY);
    p.SetPosYDoubled(static_cast<uint16_t>(y * 2));
    p.SetName(gbkName);
    p.marker = 1;
    p.npcType = static_cast<uint8_t>(type);
    p.npcGroup = static_cast<uint8_t>(group);
    p.npcSeries = static_cast<uint8_t>(series);
    if (script.size() > static_cast<size_t>(kMaxDropCount)) {
        p.dropCountOrScriptLength = static_cast<uint8_t>(script.size());
        p.variable = static_cast<uint8_t>(script[0]);
        r.script = std::string(script);
    } else {
        p.dropCountOrScriptLength = static_cast<uint8_t>(drop);
    }
    return r;
}

std::string MakeRegionImage(uint32_t seed, const std::vector<PlacementRecord>& records) {
    std::mt19937 rng(seed);
    std::string image(kFirstRecordOffset, '\0');
    for (long i = 0; i < kNpcSectionOffset; ++i) image[i] = static_cast<char>(rng() & 0xFF);
    SectionHeader header{};
    for (size_t i = 2; i < header.size(); ++i) header[i] = static_cast<uint8_t>(rng() & 0xFF);
    SetHeaderPlacementCount(header, static_cast<uint16_t>(records.size()));
    std::copy(header.begin(), header.end(), image.begin() + kNpcSectionOffset);
    for (const PlacementRecord& r : records) AppendPlacementBytes(image, r.block, r.script);
    return image;
}

long GenerateServerTree(const std::string& rootText, const TreeShape& shape) {
    fs::path root = FsPath(rootText);
    std::mt19937 rng(shape.seed);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); };

    Write(root / "Gameserver.exe", "");

    // Template table: a header line, then one line per template, CR LF line ends.
    std::vector<std::string> templateNames;
    std::string npcs = "Name\tKind\tLevel\r\n";
    for (int t = 0; t < shape.templates; ++t) {
        std::string name = Gbk(kBaseNames[t % std::size(kBaseNames)]);
        if (t >= static_cast<int>(std::size(kBaseNames))) name += std::to_string(t);
        templateNames.push_back(name);
        npcs += name + "\t" + std::to_string(t % 3) + "\t" + std::to_string(10 + t) + "\r\n";
    }
    Write(root / "settings" / "npcs.txt", npcs);

    std::string worldset = "[Init]\r\nCount=" + std::to_string(shape.maps) + "\r\n[World]\r\n";
    std::string maplist = "[List]\r\n";
    long total = 0;
    for (int m = 0; m < shape.maps; ++m) {
        int number = 10 + m * 7;
        char slot[32];
        std::snprintf(slot, sizeof slot, "World%02d=%d\r\n", m, number);
        worldset += slot;
        std::string dir = "map" + std::to_string(number);
        maplist += std::to_string(number) + "_name=" + Gbk("地图") + std::to_string(number) + "\r\n";
        maplist += std::to_string(number) + "=" + dir + "\r\n";

        for (int f = 0; f < shape.filesPerMap; ++f) {
            // Region files in nested directories: v_<group>/<row>_<col>_S.DAT, some at the top.
            fs::path file = root / "maps" / dir;
            if (f % 5 != 0) file /= "v_" + std::to_string(f / 10);
            if (f % 7 == 3) file /= "inner";
            file /= std::to_string(f / 8) + "_" + std::to_string(f % 8) + "_S.DAT";

            int n = shape.recordsPerFile > 0 ? pick(2 * shape.recordsPerFile + 1) : 0;
            std::vector<PlacementRecord> records;
            for (int i = 0; i < n; ++i) {
                int t = 1 + pick(shape.templates - 1);
                std::string script;
                if (pick(100) < shape.scriptPercent) {
                    script = "\\script\\npc\\" + dir + "\\" + std::to_string(f) + "_" + std::to_string(i);
                    int length = 25 + pick(96);
                    while (static_cast<int>(script.size()) < length - 4) script += "_x";
                    script.resize(length - 4);
                    script += ".lua";
                }
                records.push_back(MakeRecord(t, templateNames[t], pick(1000), pick(256), pick(500),
                                             pick(256), pick(6), pick(7), pick(5), pick(25), script));
            }
            total += n;
            Write(file, MakeRegionImage(shape.seed * 7919u + static_cast<uint32_t>(m * 1000 + f), records));
        }
    }
    Write(root / "maps" / "worldset.ini", worldset);
    Write(root / "settings" / "maplist.ini", maplist);
    return total;
}

}  // namespace morvi::tools
