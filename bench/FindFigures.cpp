#include "FindFigures.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Floors.h"
#include "TreeGenerator.h"
#include "document/PlacementFilter.h"
#include "document/ServerMaps.h"
#include "document/ServerSearch.h"

namespace morvi::bench {
namespace {

namespace fs = std::filesystem;

constexpr char kReadyMarker[] = ".find-workload-ready";

// 28 maps of 100 region files, 143 placements a file on average: about 400,000 placements.
std::string PrepareFindWorkload(const std::string& dir, long* placements) {
    const std::string server = dir + "/find-server";
    const std::string marker = dir + "/" + kReadyMarker;
    if (!fs::exists(marker)) {
        fs::remove_all(server);
        tools::TreeShape shape;
        shape.seed = 28;
        shape.maps = 28;
        shape.filesPerMap = 100;
        shape.recordsPerFile = 143;
        shape.templates = 40;
        shape.scriptPercent = 10;
        const long written = tools::GenerateServerTree(server, shape);
        std::ofstream(marker) << written << '\n';
    }
    std::ifstream(marker) >> *placements;
    return server;
}

}  // namespace

std::vector<Figure> FindFigures(const std::string& workloadDir, int runs) {
    long placements = 0;
    const std::string server = PrepareFindWorkload(workloadDir, &placements);
    const auto maps = ReadServerMaps(server);
    if (!maps || maps->size() != 28) throw std::runtime_error("benchmark check failed: the find workload has 28 maps");
    // A filter that looks at every record's fields and matches a few hundred.
    const auto filter = PlacementFilter::Parse("type:TalkNPC x:100-109");
    if (!filter) throw std::runtime_error("benchmark check failed: the find filter parses");

    std::vector<double> times, floors;
    size_t found = 0, records = 0;
    for (int run = 0; run < runs; ++run) {
        floors.push_back(TimeMs([&] {
            const auto floorMaps = ReadServerMaps(server);
            for (const ServerMap& m : *floorMaps) WalkAndReadMap(m.directory);
        }));
        times.push_back(TimeMs([&] {
            const auto searched = ReadServerMaps(server);
            const int templates = ReadTemplateCount(server);
            size_t hits = 0;
            const SearchSummary s = SearchServer(*searched, templates, *filter, [&](const FoundPlacement&) { ++hits; });
            found = hits;
            records = s.records;
        }));
    }
    if (records != static_cast<size_t>(placements) || found == 0)
        throw std::runtime_error("benchmark check failed: the find looked at every placement and found some");
    Figure f{"find in 28 maps (" + std::to_string(placements) + " placements, " + std::to_string(found) + " found)",
             Median(times), "walk + read every region file of every map once", Median(floors), "<= 1.5x floor", 1.5,
             0};
    return {f};
}

}  // namespace morvi::bench
