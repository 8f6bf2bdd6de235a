#pragma once
// A placement as a caller wants it: typed field values, each either set or not. A field that
// is not set keeps what the record holds (a new record starts from zeros, a copy from the
// record it copies); a field that is set is stored exactly as given.
//
// Checking a draft (ranges, code page 936, lengths) happens before any file is read, and draws
// the random offsets it asks for; applying it writes the checked values over a record.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "data/region/NpcPlacement.h"
#include "document/DocumentError.h"
#include "document/Expected.h"

namespace morvi {

// A fine offset: not set, a value (0..255 is stored), or drawn at random (0..254).
struct OffsetChoice {
    enum class Kind { Unset, Value, Random };
    Kind kind = Kind::Unset;
    int value = 0;

    static OffsetChoice Of(int v) { return {Kind::Value, v}; }
    static OffsetChoice Drawn() { return {Kind::Random, 0}; }
    bool IsSet() const { return kind != Kind::Unset; }
};

// A drop count: not set, a value (0..24), or the default of the record's type (1 for type 0,
// else 0: what an emptied drop count gets when a placement is changed).
struct DropChoice {
    enum class Kind { Unset, Value, TypeDefault };
    Kind kind = Kind::Unset;
    int value = 0;

    static DropChoice Of(int v) { return {Kind::Value, v}; }
    static DropChoice ForType() { return {Kind::TypeDefault, 0}; }
    bool IsSet() const { return kind != Kind::Unset; }
};

struct PlacementDraft {
    std::optional<int> templateIndex;   // its low 16 bits are stored
    std::optional<std::string> name;    // UTF-8; at most 33 bytes in code page 936
    std::optional<int> posX;            // low 16 bits stored
    std::optional<int> posY;            // stored doubled, low 16 bits
    OffsetChoice offsetX;
    OffsetChoice offsetY;
    std::optional<int> type;            // codes 0..255 (the names cover fewer)
    std::optional<int> group;
    std::optional<int> series;
    DropChoice drop;
    // UTF-8 path, '/' or '\' between names, blanks around it ignored; stored with '\' and a
    // leading '\'. A path of 24 bytes or fewer cannot be told from a drop count: setting one
    // (or the empty text) makes a record without script, whose drop count the drop field
    // decides (not set: the type's default when the record had a script, else its drop count).
    // Not set: a script record keeps its path, and a drop count given is checked but has no
    // place to go; a record without script takes the drop count given.
    std::optional<std::string> script;
    // The script exactly as stored (code page 936 bytes, a copy of a record's own): taken as
    // it is, without the conversions of `script`, which it overrides.
    std::optional<std::string> storedScript;
};

// The random values a check draws: non-negative; an offset takes the value modulo 255.
using RandomSource = std::function<int()>;

// A draft checked and converted to what a record stores.
struct CheckedDraft {
    std::optional<uint16_t> templateIndex;
    std::optional<std::string> name;     // code page 936
    std::optional<uint16_t> posX;
    std::optional<uint16_t> posYDoubled;
    std::optional<uint8_t> offsetX;
    std::optional<uint8_t> offsetY;
    std::optional<uint8_t> type;
    std::optional<uint8_t> group;
    std::optional<uint8_t> series;
    DropChoice drop;
    std::optional<std::string> script;   // stored form; empty: no script
};

// Checks in this order: offsets (random ones drawn x first, then y), drop count, name, script
// path, codes. The first failure is the error (its field named).
Expected<CheckedDraft, DocumentError> CheckDraft(const PlacementDraft& draft, const RandomSource& random);

// Writes the checked values over `record` and marks it (byte 50 is 1 in every record written).
// Bytes no field decides stay: the reserved fields, the name field after its terminator, and
// the trailing byte of a record without script.
void ApplyDraft(PlacementRecord& record, const CheckedDraft& draft);

}  // namespace morvi
