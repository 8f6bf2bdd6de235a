#pragma once
// The edit rules of the placement fields as plain functions: the texts of the edit area turn
// into a record, or into a refusal with the hint the window shows. The window's saves use them,
// and so can any caller that builds records without a window (the command line's import).
//
// Two steps, because a save refuses bad input before it opens any file:
//   CheckEditFields  texts -> checked values, or a refusal;
//   ApplyEditValues  checked values written over a record (a new one, or the old one in the
//                    file, whose other bytes stay).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "data/region/NpcPlacement.h"

namespace morvi {

// What the edit area holds, as texts (UTF-8). A combo's text is empty when nothing is selected.
struct EditFields {
    std::string name;
    std::string posX;
    std::string posY;
    std::string offsetX;
    std::string offsetY;
    std::string drop;
    std::string script;
    std::string type;
    std::string group;
    std::string series;
    // True where the user left a field as the row put it: the record's own value is kept
    // (its stored code, also a code without a name or beyond the table; its script bytes).
    bool keepType = false;
    bool keepGroup = false;
    bool keepSeries = false;
    bool keepScript = false;
};

struct EditRefusal {
    std::string hint;   // shown in the hint line
    int focusId = 0;    // control that gets the focus
};

// The checked edit area, converted to what a record stores.
struct EditValues {
    uint16_t posX = 0;
    uint16_t posYDoubled = 0;
    uint8_t offsetX = 0;
    uint8_t offsetY = 0;
    std::string name;      // code page 936, at most 33 bytes
    uint8_t type = 0;
    uint8_t group = 0;
    uint8_t series = 0;
    bool dropEmpty = true;
    int drop = 0;          // 0..24
    std::string script;    // stored form (code page 936, leading '\'), empty when not stored
    bool keepType = false, keepGroup = false, keepSeries = false, keepScript = false;
};

enum class EditPurpose {
    Add,      // a new record: an empty drop count stores 0
    Modify,   // over the old record: an empty drop count stores 1 for type 0, else 0
};

// Gives the next pseudo-random value (non-negative); an empty offset takes it modulo 255.
using RandomSource = std::function<int()>;

// Checks the texts: offsets 0..255 (empty: random 0..254), drop count 0..24, a name of at
// most 33 bytes and a script path of at most 255 bytes, both representable in code page 936.
std::variant<EditValues, EditRefusal> CheckEditFields(const EditFields& fields,
                                                      const RandomSource& nextRandom);

// Writes the values over `record`. Fields the edit area does not decide keep their bytes (zero
// in a new record): the reserved fields, the name field after its terminator, and the trailing
// byte of a record without script. Kept codes and a kept script come from `record` itself.
void ApplyEditValues(PlacementRecord& record, const EditValues& values, int templateIndex,
                     EditPurpose purpose);

// Both steps over a record: nullopt when it was built, else the refusal.
std::optional<EditRefusal> BuildRecordFromFields(PlacementRecord& record, const EditFields& fields,
                                                 int templateIndex, EditPurpose purpose,
                                                 const RandomSource& nextRandom);

}  // namespace morvi
