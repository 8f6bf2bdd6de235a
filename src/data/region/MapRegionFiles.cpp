#include "data/region/MapRegionFiles.h"

#include "data/platform/FileFinder.h"
#include "data/server/ServerPath.h"

namespace morvi {

std::vector<std::string> ListMapRegionFiles(const std::string& mapDirectory) {
    std::vector<std::string> files;
    FileFinder finder;
    if (mapDirectory.empty() || !finder.SetRoot(mapDirectory) || !finder.Find(kRegionFileSuffix, true))
        return files;
    files.reserve(finder.m_names.size());
    // The directory part is the same for every file: collapse it once. A name holding a
    // backslash is collapsed whole, since a backslash separates there too.
    const std::string prefix = CollapseSeparators(mapDirectory + "/");
    for (std::string& name : finder.m_names) {
        if (name.find('\\') == std::string::npos && !prefix.empty() && (prefix.back() == '/' || prefix.back() == '\\'))
            files.push_back(prefix + name);
        else
            files.push_back(CollapseSeparators(mapDirectory + "/" + name));
    }
    return files;
}

}  // namespace morvi
