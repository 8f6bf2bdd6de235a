#pragma once
// The subcommands of morvinpc. Each returns the process exit status: 0 done, 1 refused or
// findings (the reason on `err`), 2 usage or input/output errors.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace morvi::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// What every message on `err` starts with: the program's name, the same in every language.
inline constexpr char kMessagePrefix[] = "morvinpc: ";

struct CommonOptions {
    std::string server;   // --server; empty: MorviConfig.ini of the current directory
};

// The placement fields given on the command line, as texts (see FieldArguments.h): a field
// given is a field set; one not given keeps what the record holds (for a new placement, what
// the window's empty edit area gives it).
struct FieldOptions {
    std::optional<std::string> name, x, y, offsetX, offsetY, type, group, series, drop, script;
};

int RunMaps(const CommonOptions& common, const std::string& format, std::ostream& out, std::ostream& err);
// `where`: only the rows matching the filter (with `all`, the records).
int RunList(const CommonOptions& common, const std::string& map, const std::string& format, bool all,
            const std::optional<std::string>& where, std::ostream& out, std::ostream& err);
int RunCheck(const CommonOptions& common, const std::optional<std::string>& map, std::ostream& out,
             std::ostream& err);
// `format` table (the defects, or with `all` every finding) or json (every finding, each with
// its stable code).
int RunCheck(const CommonOptions& common, const std::optional<std::string>& map, const std::string& format,
             bool all, std::ostream& out, std::ostream& err);
int RunAdd(const CommonOptions& common, const std::string& map, std::optional<int> templateIndex,
           const std::optional<std::string>& file, const FieldOptions& fields, std::ostream& out,
           std::ostream& err);
// The keyed placement, or (`where`) every placement matching the filter as one history step,
// each moved by `move` ("DX,DY"); `dryRun` prints each row's fields before -> after instead.
int RunSet(const CommonOptions& common, const std::string& map, const std::optional<std::string>& key,
           const std::optional<std::string>& where, const FieldOptions& fields,
           const std::optional<std::string>& move, bool dryRun, std::ostream& out, std::ostream& err);
// A copy of the keyed record with the fields applied, appended to the key's file.
int RunClone(const CommonOptions& common, const std::string& map, const std::string& key,
             const FieldOptions& fields, std::ostream& out, std::ostream& err);
// The keyed placements, or (`where`) every placement matching the filter; one history step.
int RunRemove(const CommonOptions& common, const std::string& map, const std::vector<std::string>& keys,
              const std::optional<std::string>& where, bool dryRun, std::ostream& out, std::ostream& err);
int RunImport(const CommonOptions& common, const std::string& map, const std::string& file, bool dryRun,
              std::ostream& out, std::ostream& err);

// What this tree adds, changes and removes compared with OTHER (one map's when MAP is given):
// a table by map, file and key, or (csv) the map's rows for `import` on the other tree.
int RunDiff(const CommonOptions& common, const std::string& other, const std::optional<std::string>& map,
            const std::string& format, std::ostream& out, std::ostream& err);
// Placements of every map matching a filter: map index and name on every row.
int RunFind(const CommonOptions& common, const std::string& filter, const std::string& format, std::ostream& out,
            std::ostream& err);

// The change history, newest first (one map's entries when MAP is given).
int RunHistory(const CommonOptions& common, const std::optional<std::string>& map, bool json, std::ostream& out,
               std::ostream& err);
// Takes back change ID's step, or the last undoable one; refused when a file changed since.
int RunUndo(const CommonOptions& common, std::optional<long long> id, std::ostream& out, std::ostream& err);
// Puts the file of change ID back as it was before it; `force` loses later changes of the file.
int RunRestore(const CommonOptions& common, long long id, bool force, std::ostream& out, std::ostream& err);

}  // namespace morvi::cli
