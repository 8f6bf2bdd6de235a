#include "Workload.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

#include "TreeGenerator.h"
#include "data/platform/AtomicFile.h"
#include "data/platform/FileReadAhead.h"
#include "data/text/GbkCodec.h"
#include "data/region/MapRegionFiles.h"
#include "data/region/RegionFile.h"

namespace fs = std::filesystem;

namespace morvi::bench {
namespace {

constexpr int kRecordsPerFile = 100;
constexpr int kScriptPercent = 10;
constexpr int kSaveRecords = 10000;
constexpr char kTargetName[] = "寻路目标";
constexpr char kReadyMarker[] = "workload-ready";

std::string ReadFile(const std::string& path) {
    std::string bytes;
    if (!ReadRegularFile(path, bytes)) throw std::runtime_error("cannot read " + path);
    return bytes;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> RegionFilesOf(const std::string& mapDir) {
    std::vector<std::string> paths = ListMapRegionFiles(mapDir);
    if (paths.empty()) throw std::runtime_error("no region files in " + mapDir);
    return paths;
}

// Gives the first record of the first non-empty file a unique name and an (x, y) that no
// other record of the map has.
void MarkTarget(const std::vector<std::string>& files, int& x, int& y) {
    std::set<std::pair<int, int>> used;
    std::string first;
    for (const std::string& path : files) {
        std::vector<PlacementRecord> records;
        ReadRegionPlacements(path, records);
        if (first.empty() && !records.empty()) first = path;
        for (const PlacementRecord& r : records) used.insert({r.block.PosX(), r.block.PosY()});
    }
    if (first.empty()) throw std::runtime_error("the generated map holds no placements");
    for (x = 999, y = 499; used.count({x, y});) {
        if (--y < 0) y = 499, --x;
    }
    std::string image = ReadFile(first);
    PlacementRecord target;
    ParsePlacementAt(image, kFirstRecordOffset, &target);
    target.block.SetName(*Utf8ToGbk(kTargetName));
    target.block.SetPosX(static_cast<uint16_t>(x));
    target.block.SetPosYDoubled(static_cast<uint16_t>(y * 2));
    std::memcpy(image.data() + kFirstRecordOffset, target.block.Bytes(), kPlacementBlockSize - 1);
    WriteFile(first, image);
}

// 10,000 records with unique keys, 10% with script paths of 25-120 bytes.
std::string MakeSaveImage() {
    std::mt19937 rng(4242);
    const std::string name = *Utf8ToGbk("存档守卫");
    std::vector<PlacementRecord> records;
    for (int i = 0; i < kSaveRecords; ++i) {
        std::string script;
        if (rng() % 100 < kScriptPercent) {
            script = "\\script\\save\\s" + std::to_string(i) + "_";
            script.resize(25 + rng() % 96, 'x');
        }
        records.push_back(tools::MakeRecord(1 + i % 39, name, i % 1000, 3, i / 1000, 4, i % 6, i % 7, i % 5,
                                            static_cast<int>(rng() % 25), script));
    }
    return tools::MakeRegionImage(99, records);
}

}  // namespace

Workload PrepareWorkload(const std::string& dir, int files) {
    Workload w;
    w.server = fs::absolute(dir + "/server").lexically_normal().string();
    w.mapDir = w.server + "/maps/map10";
    w.emptyServer = fs::absolute(dir + "/empty-server").lexically_normal().string();
    w.exportFile = fs::absolute(dir + "/export.csv").lexically_normal().string();
    w.emptyExportFile = fs::absolute(dir + "/empty-export.csv").lexically_normal().string();
    w.saveFile = fs::absolute(dir + "/save/big_S.DAT").lexically_normal().string();
    const std::string marker = dir + "/" + kReadyMarker;

    if (!fs::exists(marker)) {
        std::fprintf(stderr, "generating the workload below %s ...\n", dir.c_str());
        fs::remove_all(dir + "/server");
        tools::TreeShape shape;
        shape.maps = 1;
        shape.filesPerMap = files;
        shape.recordsPerFile = kRecordsPerFile;
        shape.scriptPercent = kScriptPercent;
        const long placements = tools::GenerateServerTree(w.server, shape);
        MarkTarget(RegionFilesOf(w.mapDir), w.targetX, w.targetY);
        fs::create_directories(dir + "/save");
        WriteFile(w.saveFile + ".orig", MakeSaveImage());
        std::ofstream(marker) << w.targetX << ' ' << w.targetY << ' ' << placements << '\n';
    }

    const std::string emptyMarker = dir + "/empty-" + kReadyMarker;
    if (!fs::exists(emptyMarker)) {
        // The same kind of tree with one map of one region file that holds no record: what a
        // command costs before it has rows to hold.
        fs::remove_all(w.emptyServer);
        tools::TreeShape empty;
        empty.maps = 1;
        empty.filesPerMap = 1;
        empty.recordsPerFile = 0;
        tools::GenerateServerTree(w.emptyServer, empty);
        std::ofstream(emptyMarker) << "0\n";
    }

    std::ifstream(marker) >> w.targetX >> w.targetY;
    w.targetName = kTargetName;
    w.regionFiles = RegionFilesOf(w.mapDir);
    w.saveImage = ReadFile(w.saveFile + ".orig");
    WriteFile(w.saveFile, w.saveImage);

    std::vector<PlacementRecord> records;
    ReadRegionPlacements(w.saveFile, records);
    auto keyOf = [](const NpcPlacement& p) {
        return PlacementKey{p.TemplateIndex(), p.PosX(), p.PosY(), p.offsetX, p.offsetY};
    };
    w.firstKey = keyOf(records.front().block);
    w.lastKey = keyOf(records.back().block);
    return w;
}

}  // namespace morvi::bench
