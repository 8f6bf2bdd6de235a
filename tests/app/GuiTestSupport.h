#pragma once
// Shared pieces of the window tests: the Qt application for the whole test program, a small
// server tree written from records, and a working directory whose MorviConfig.ini points at it.

#include <string>
#include <vector>

#include <QString>

#include "data/region/NpcPlacement.h"
#include "support/TestFiles.h"

namespace morvi::test {

struct MapEntry {
    int number;
    std::string name;        // UTF-8 display name
    std::string directory;   // below maps/, '/' separated
};

struct RegionEntry {
    std::string relativePath;   // below maps/, '/' separated, ends in _S.DAT
    std::vector<PlacementRecord> records;
};

// A placement record as the tool stores it; `name` is UTF-8 and converted to GBK.
PlacementRecord Record(int templateIndex, const std::string& name, int x, int offsetX, int y,
                       int offsetY, int type, int group, int series, int drop,
                       const std::string& script = {});

// Region file bytes: 2100 bytes of other data, the section header, the records.
std::string RegionImage(const std::vector<PlacementRecord>& records, char filler = 'R');

// Writes Gameserver.exe, maps/worldset.ini, settings/maplist.ini, settings/npcs.txt (GBK,
// CR LF) and the region files below `root`.
void WriteServerTree(const std::string& root, const std::vector<MapEntry>& maps,
                     const std::vector<std::string>& templateNames,
                     const std::vector<RegionEntry>& regions);

// Makes `dir` the current directory for its lifetime, with a MorviConfig.ini naming the server.
class ConfiguredWorkDir {
public:
    ConfiguredWorkDir(const std::string& dir, const std::string& serverPath, bool debug = false);
    ~ConfiguredWorkDir();

private:
    QString m_previous;
};

// Directory for test artifacts (screenshots) under the build directory.
std::string ArtifactDirectory();

}  // namespace morvi::test
