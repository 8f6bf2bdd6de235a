// `find FILTER`: placements of every map that match a filter.

#include "cli/Commands.h"

namespace morvi::cli {

int RunFind(const CommonOptions&, const std::string&, const std::string&, std::ostream&, std::ostream& err) {
    err << "morvinpc: find is not available yet\n";
    return kExitUsage;
}

}  // namespace morvi::cli
