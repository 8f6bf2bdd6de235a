#pragma once
// The filter language of placements, one for every place that narrows a list: the window's
// filter field, the map view, the command line's --where and the searches over many maps.
//
//   terms separated by blanks, all of which must match
//   field:value     name template x y ox oy type group series drop script file
//   bare text       matches the name, the script or the file
//
// Numbers take N or A-B (inclusive). type, group and series take the shown text or the code.
// "script:" with nothing after it matches records without script, "script:*" those with one.
// Other values match as a case-insensitive substring of the shown text (names and scripts are
// compared as text, after their code page 936 bytes are decoded). x and y are the positions as
// the list shows them; ox and oy the fine offsets. A malformed term is an error naming it.

#include <memory>
#include <string>
#include <string_view>

#include "data/region/NpcPlacement.h"
#include "document/Expected.h"

namespace morvi {

class PlacementRowStore;

enum class FilterErrorCode {
    UnknownField,   // field:value with a field the language does not know
    BadNumber,      // a number field whose value is not N or A-B
    BadRange,       // A-B with A greater than B
    UnknownName,    // type/group/series text that is neither a shown name nor a code
};

struct FilterError {
    FilterErrorCode code = FilterErrorCode::BadNumber;
    std::string term;   // the term as written
};

class PlacementFilter {
public:
    // The empty filter: every placement matches.
    PlacementFilter();
    ~PlacementFilter();
    PlacementFilter(const PlacementFilter&);
    PlacementFilter& operator=(const PlacementFilter&);
    PlacementFilter(PlacementFilter&&) noexcept;
    PlacementFilter& operator=(PlacementFilter&&) noexcept;

    // UTF-8 text, as typed.
    static Expected<PlacementFilter, FilterError> Parse(std::string_view text);

    bool Empty() const;
    // A row of a loaded map (its cells as the list shows them).
    bool Matches(const PlacementRowStore& rows, int row) const;
    // A record read from a region file (`file`: its path as the list shows it).
    bool Matches(const PlacementRecord& record, std::string_view file) const;
    // The same for a record's bytes as a region file holds them (`storedScript`: the stored
    // path of a script record, else empty), without copying them into a record first.
    bool Matches(const NpcPlacement& block, std::string_view storedScript, std::string_view file) const;

private:
    struct Terms;
    std::unique_ptr<Terms> m_terms;
};

}  // namespace morvi
