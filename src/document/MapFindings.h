#pragma once
// What is wrong in a map's region files, as typed findings: every one names its file, the
// byte offset, the row that lists the record (when the loaded list shows it) and a stable
// code. A window panel and `morvinpc check` show the same findings; each decides its words.
//
// Records are walked from 2112 to the end of the file whatever the count says, so records
// beyond the count are judged too. Findings come in the order the walk meets them, file by
// file in the map's order.
//
// Two kinds have a safe fix, made through the map document as one step of the history: an
// exact duplicate (a record byte for byte equal to an earlier one on the same spot) and a
// record the list hides can be deleted. The fix names the record by key, occurrence and bytes,
// so a file changed since the findings were made is refused rather than losing another record.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/region/NpcPlacement.h"
#include "document/DocumentError.h"
#include "document/Expected.h"

namespace morvi {

class MapDocument;
struct ImportReport;

enum class FindingCode {
    HeaderCutOff,           // the file ends inside the 12-byte section header
    RecordCutOff,           // a counted record runs past the end of the file
    CountMismatch,          // the count differs from the records that tile the file
    ForeignBytes,           // bytes after the last counted record that are no whole record
    TemplateOutsideTable,   // template 0, or not below the template table's size: hidden
    HiddenRecord,           // hidden for its name, X or Y (see HiddenReason)
    NameNotGbk,             // the name holds bytes code page 936 cannot decode
    ScriptNotGbk,           // the script path holds such bytes
    ScriptWithoutBackslash, // the script path does not start with '\'
    ScriptMissing,          // no file at the script path below the server directory
    DuplicateKey,           // a second record with the key of an earlier one in the file
    ExactDuplicate,         // a record equal byte for byte to an earlier one of the map
};

// The stable code of a finding, as written for programs ("template-outside-table", ...).
std::string_view FindingCodeName(FindingCode code);

// Why the list hides a record: a combination of these bits.
enum HiddenReason : uint32_t {
    kHiddenEmptyName = 1u << 0,
    kHiddenTemplateZero = 1u << 1,
    kHiddenTemplateBeyondTable = 1u << 2,
    kHiddenXTooLarge = 1u << 3,   // X not below 1000
    kHiddenYTooLarge = 1u << 4,   // stored Y not below 1000 (Y not below 500)
    kHiddenNotCounted = 1u << 5,  // beyond the header's count: the loader never reads it
};
// The stable names of the bits set, in the order above ("empty-name", "template-zero", ...).
std::vector<std::string_view> HiddenReasonNames(uint32_t reasons);
// The listing rules the record breaks (the not-counted bit is never set here).
uint32_t HiddenReasonsOf(const NpcPlacement& p, int templateCount);

enum class FindingFix {
    None,
    DeleteDuplicate,   // delete this record, the later of two equal ones
    DeleteHidden,      // delete this record, which the list does not show
};

struct MapFinding {
    FindingCode code = FindingCode::CountMismatch;
    std::string file;             // full path of the region file
    size_t offset = 0;            // where in the file the finding is
    int row = -1;                 // the list's row showing the record; -1 when not listed
    FindingFix fix = FindingFix::None;

    // About a record (all but the file-level codes): the record, its index in the file's walk
    // and how many earlier records of the file share its key.
    bool aboutRecord = false;
    PlacementRecord record;
    int recordIndex = -1;
    int occurrence = 0;
    uint32_t hidden = 0;          // HiddenReason bits, for any record finding

    // HeaderCutOff: the file size. RecordCutOff/ForeignBytes: the record's length and the
    // bytes of it present. CountMismatch: the header's count and the whole records.
    size_t length = 0;
    size_t present = 0;
    int count = 0;
    int records = 0;
    int templateCount = -1;       // TemplateOutsideTable: the table's size
    // DuplicateKey / ExactDuplicate: the earlier record.
    std::string otherFile;
    size_t otherOffset = 0;
};

struct FindingsOptions {
    std::string serverDirectory;   // script paths are looked up below it; empty: not checked
    int templateCount = -1;        // -1: the table is unknown, templates are not judged
};

// Called after each file: `done` of `total` files.
using FindingsProgress = std::function<void(size_t done, size_t total)>;

struct FindingsResult {
    std::vector<MapFinding> findings;
    std::vector<std::string> unreadable;   // files that could not be read, in order
    size_t filesChecked = 0;
    bool cancelled = false;                // stopped by the cancel flag; findings so far kept
};

// The findings of these region files (a map's, in the window's order: rows are numbered as
// the window lists them when the files are the loaded map's and unchanged since the load).
// `cancel`, when given, is read between files and records.
FindingsResult FindInRegionFiles(const std::vector<std::string>& files, const FindingsOptions& options,
                                 const FindingsProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

// Whether a stored script path names a file below the server directory (a missing leading
// backslash is read as if present).
bool ScriptFileExists(const std::string& serverDirectory, std::string_view storedScript);

// Whether code page 936 text holds bytes that do not decode.
bool HasUndecodableGbk(std::string_view gbk);

// Makes the finding's fix through the document, as one step of the history (undone by Undo).
// NoSuchRow when the finding has no fix; KeyNotFound when the file no longer holds that
// record where it was. The document's rows stay as they were: Reload to show the result.
Expected<ImportReport, DocumentError> ApplyFindingFix(MapDocument& document, const MapFinding& finding);

}  // namespace morvi
