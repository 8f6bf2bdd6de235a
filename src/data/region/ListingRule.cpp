#include "data/region/ListingRule.h"

namespace morvi {

bool PassesListingRules(const NpcPlacement& p, int templateCount) {
    if (p.name[0] == 0 && p.name[1] == 0) return false;
    if (p.TemplateIndex() == 0 || p.TemplateIndex() >= templateCount) return false;
    return p.PosX() < kListedCoordinateLimit && p.PosYDoubled() < kListedCoordinateLimit;
}

std::vector<std::string> BrokenListingRules(const NpcPlacement& p, int templateCount) {
    std::vector<std::string> reasons;
    if (p.name[0] == 0 && p.name[1] == 0) reasons.push_back("empty name");
    if (p.TemplateIndex() == 0)
        reasons.push_back("template index 0");
    else if (p.TemplateIndex() >= templateCount)
        reasons.push_back("template index " + std::to_string(p.TemplateIndex()) +
                          " not below the template count " + std::to_string(templateCount));
    if (p.PosX() >= kListedCoordinateLimit)
        reasons.push_back("x " + std::to_string(p.PosX()) + " not below 1000");
    if (p.PosYDoubled() >= kListedCoordinateLimit)
        reasons.push_back("stored y " + std::to_string(p.PosYDoubled()) + " (y " + std::to_string(p.PosY()) +
                          ") not below 1000");
    return reasons;
}

}  // namespace morvi
