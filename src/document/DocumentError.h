#pragma once
// Why a document operation did not do what was asked: a code, and the details that name what
// was refused (the field, the file, the system's own words). Callers tell errors apart by the
// code alone; the details are for the operator.

#include <cstdint>
#include <string>

namespace morvi {

// The fields of a placement a draft can set.
enum class PlacementField {
    None,
    Template,
    Name,
    PosX,
    PosY,
    OffsetX,
    OffsetY,
    Type,
    Group,
    Series,
    Drop,
    Script,
};

enum class DocumentErrorCode {
    // --- the draft (nothing was read or written) ---
    OffsetOutOfRange,     // an offset below 0 or above 255
    DropTooHigh,          // a drop count above 24
    DropNegative,         // a drop count below 0
    NameNotEncodable,     // the name holds a character code page 936 cannot store
    NameTooLong,          // the name needs more than 33 bytes
    ScriptNotEncodable,   // the script path holds a character code page 936 cannot store
    ScriptTooLong,        // the script path needs more than 255 bytes
    CodeOutOfRange,       // a type, group or series code outside 0..255
    // --- where the record goes ---
    NoMap,                // no map is loaded and no file was named
    NoRegionFile,         // the map has no region file to add to
    NoSuchRow,            // a row index outside the rows
    OutOfListedRange,     // a move would take the placement outside the listed range
                          // (x 0..999, y 0..499; `field` says which)
    // --- the file, as it is when the edit's turn comes ---
    FileUnreadable,       // the region file could not be read
    KeyNotFound,          // no record of the file matches the key (gone since the load?)
    NotTiled,             // the counted records do not tile the file: an add would be lost
    CountFull,            // the file already counts 65535 records
    // --- the write ---
    HistoryFailed,        // the change could not be recorded: nothing written
    LockFailed,           // no writer lock could be had on the file: nothing written
    WriteFailed,          // the file could not be replaced: it is as it was
    ChangedMeanwhile,     // the file changed while the change was made: nothing written
    // --- undo and redo ---
    NothingToUndo,
    NothingToRedo,
    RevertRefused,        // a file no longer holds what the step wrote: nothing written
};

struct DocumentError {
    DocumentErrorCode code = DocumentErrorCode::WriteFailed;
    PlacementField field = PlacementField::None;   // the field refused, for draft errors
    std::string file;                              // the region file concerned, when one is
    std::string system;                            // the system's (or history's) own words
};

}  // namespace morvi
