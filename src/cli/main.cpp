// morvinpc: the command-line companion of the MorviNpc window, for batch work and headless
// servers. Every change goes through the map document, as the window's changes do; see
// `morvinpc --help`.

#include <CLI/CLI.hpp>

#include <iostream>
#include <map>

#include "cli/Commands.h"
#include "cli/ProgramText.h"
#include "document/PlacementRows.h"

namespace {

using morvi::cli::FieldOptions;

// Options whose absence differs from an empty text.
struct TextOption {
    std::string value;
    CLI::Option* option = nullptr;
    std::optional<std::string> get() const {
        return option && option->count() > 0 ? std::optional<std::string>(value) : std::nullopt;
    }
};

struct FieldFlags {
    std::map<std::string, TextOption> texts;
    void Add(CLI::App* command) {
        const struct {
            const char* name;
            const char* help;
        } fields[] = {
            {"--name", "NPC name (\"Ten NPC\")"},
            {"--x", "X coordinate (\"Toa Do X\")"},
            {"--y", "Y coordinate (\"Toa Do Y\")"},
            {"--offset-x", "X offset 0..255 (\"Do Lech X\"); empty: random"},
            {"--offset-y", "Y offset 0..255 (\"Do Lech Y\"); empty: random"},
            {"--type", "type: Enemy, NPC(Fly), NPC(Ground), TalkNPC; empty: none"},
            {"--group", "group: Enemy, Friend, Jin, Not Hit, Song; empty: none"},
            {"--series", "series: 0..4; empty: none"},
            {"--drop", "drop count 0..24 (\"Droprate\")"},
            {"--script", "script path below the server directory, e.g. \\script\\npc\\guard.lua"},
        };
        for (const auto& f : fields) {
            TextOption& t = texts[f.name];
            t.option = command->add_option(f.name, t.value, f.help);
        }
    }
    FieldOptions Get() const {
        FieldOptions o;
        o.name = texts.at("--name").get();
        o.x = texts.at("--x").get();
        o.y = texts.at("--y").get();
        o.offsetX = texts.at("--offset-x").get();
        o.offsetY = texts.at("--offset-y").get();
        o.type = texts.at("--type").get();
        o.group = texts.at("--group").get();
        o.series = texts.at("--series").get();
        o.drop = texts.at("--drop").get();
        o.script = texts.at("--script").get();
        return o;
    }
};

}  // namespace

int main(int argc, char** argv) {
    using namespace morvi::cli;
    CLI::App app{"morvinpc: list, check and change the NPC placements of a Morvi server's maps.\n"
                 "Exit status: 0 done, 1 refused or findings, 2 usage or input/output error."};
    app.require_subcommand(1);
    app.fallthrough();
    CommonOptions common;
    app.add_option("--server", common.server,
                   "server directory (default: ServerPath of MorviConfig.ini in the current directory)");

    std::string map, key, format, inputFile;
    bool all = false, dryRun = false;
    std::vector<std::string> keys;
    const char* mapHelp = "map: its index in `maps`, its display name or its directory";
    const char* keyHelp = "placement key: template,x,y,offset_x,offset_y,file (as `list` shows them)";

    CLI::App* maps = app.add_subcommand("maps", "list the maps (index, display name, directory)");
    std::string mapsFormat = "table";
    maps->add_option("--format", mapsFormat, "table, csv or json")->check(CLI::IsMember({"table", "csv", "json"}));

    CLI::App* list = app.add_subcommand("list", "list a map's placements in the window's order");
    list->add_option("MAP", map, mapHelp)->required();
    std::string listFormat = "table";
    list->add_option("--format", listFormat, "table, csv or json")->check(CLI::IsMember({"table", "csv", "json"}));
    list->add_flag("--all", all, "also list the records the window hides, with the rule each breaks");

    CLI::App* check = app.add_subcommand("check", "check the region files of the tree or of one map (read-only)");
    TextOption checkMap;
    checkMap.option = check->add_option("MAP", checkMap.value, mapHelp);
    std::string checkFormat = "table";
    check->add_option("--format", checkFormat,
                      "table (what the server trips over) or json (every finding with its stable code)")
        ->check(CLI::IsMember({"table", "json"}));
    bool checkAll = false;
    check->add_flag("--all", checkAll,
                    "the table also lists hidden records, duplicate keys and exact duplicates");

    CLI::App* add = app.add_subcommand("add", "add a placement, as the window's \"Them\" and \"Luu\"");
    add->add_option("MAP", map, mapHelp)->required();
    int templateIndex = 0;
    CLI::Option* templateOption =
        add->add_option("--template", templateIndex, "stored template index N (entry N of `npcs.txt`'s data lines)");
    TextOption addFile;
    addFile.option = add->add_option("--file", addFile.value,
                                     "region file (relative to the server directory) instead of the window's random choice");
    FieldFlags addFields;
    addFields.Add(add);

    CLI::App* set = app.add_subcommand("set", "change a placement, as the window's \"Sua\" and \"Luu\"");
    set->add_option("MAP", map, mapHelp)->required();
    set->add_option("KEY", key, keyHelp)->required();
    FieldFlags setFields;
    setFields.Add(set);

    CLI::App* clone = app.add_subcommand(
        "clone", "add a copy of a placement to its own file, as the window's \"复制为新NPC\" and \"Luu\"");
    clone->add_option("MAP", map, mapHelp)->required();
    clone->add_option("KEY", key, keyHelp)->required();
    FieldFlags cloneFields;
    cloneFields.Add(clone);

    CLI::App* rm = app.add_subcommand("rm", "delete placements, as the window's \"Xoa\" answered with yes");
    rm->add_option("MAP", map, mapHelp)->required();
    rm->add_option("KEY", keys, keyHelp)->required();

    CLI::App* exportCmd = app.add_subcommand("export", "write a map's placements as CSV or JSON for `import`");
    exportCmd->add_option("MAP", map, mapHelp)->required();
    std::string exportFormat = "csv";
    exportCmd->add_option("--format", exportFormat, "csv or json")->check(CLI::IsMember({"csv", "json"}));

    CLI::App* importCmd = app.add_subcommand(
        "import", "apply a file of the export's shape: additions, changes and deletions by key and file");
    importCmd->add_option("MAP", map, mapHelp)->required();
    importCmd->add_option("FILE", inputFile, "CSV (or JSON) file as `export` writes it")->required();
    importCmd->add_flag("--dry-run", dryRun, "show what would change and write nothing");

    CLI::App* diffCmd = app.add_subcommand(
        "diff", "list the placements this tree adds, changes and removes compared with another server tree");
    std::string diffOther;
    diffCmd->add_option("OTHER_SERVER", diffOther, "the other server directory")->required();
    TextOption diffMap;
    diffMap.option = diffCmd->add_option("MAP", diffMap.value, mapHelp);
    std::string diffFormat = "table";
    diffCmd->add_option("--format", diffFormat, "table, or csv: the map's rows for `import` on the other tree")
        ->check(CLI::IsMember({"table", "csv"}));

    CLI::App* findCmd = app.add_subcommand("find", "find placements in every map of the map list");
    std::string findFilter;
    findCmd->add_option("FILTER", findFilter,
                        "filter: terms such as name:guard x:100-200 type:TalkNPC script:* (all must match)")
        ->required();
    std::string findFormat = "table";
    findCmd->add_option("--format", findFormat, "table, csv or json")->check(CLI::IsMember({"table", "csv", "json"}));

    CLI::App* historyCmd = app.add_subcommand("history", "list the change history of the server tree, newest first");
    TextOption historyMap;
    historyMap.option = historyCmd->add_option("MAP", historyMap.value, mapHelp);
    bool historyJson = false;
    historyCmd->add_flag("--json", historyJson, "write the entries as JSON");

    CLI::App* undoCmd = app.add_subcommand("undo", "take back the last change, or change ID, when its files still hold what it wrote");
    long long undoId = 0;
    CLI::Option* undoIdOption = undoCmd->add_option("ID", undoId, "id of a change, as `history` lists it");

    CLI::App* restoreCmd = app.add_subcommand("restore", "put a file back as it was before change ID");
    long long restoreId = 0;
    restoreCmd->add_option("ID", restoreId, "id of a change, as `history` lists it")->required();
    bool force = false;
    restoreCmd->add_flag("--force", force, "also take back the later changes of that file");

    try {
        Utf8Arguments arguments(argc, argv);
        app.parse(arguments.Count(), arguments.Values());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }

    std::ostream& out = std::cout;
    std::ostream& err = std::cerr;
    // A command loads at most one map and exits: its rows go into large pages, which spares
    // the fresh process most of its page faults.
    morvi::PlacementRowStore::PreferLargePages(true);
    if (*maps) return RunMaps(common, mapsFormat, out, err);
    if (*list) return RunList(common, map, listFormat, all, out, err);
    if (*check) return RunCheck(common, checkMap.get(), checkFormat, checkAll, out, err);
    if (*add)
        return RunAdd(common, map, templateOption->count() ? std::optional<int>(templateIndex) : std::nullopt,
                      addFile.get(), addFields.Get(), out, err);
    if (*set) return RunSet(common, map, key, setFields.Get(), out, err);
    if (*clone) return RunClone(common, map, key, cloneFields.Get(), out, err);
    if (*rm) return RunRemove(common, map, keys, out, err);
    if (*exportCmd) return RunList(common, map, exportFormat, false, out, err);
    if (*importCmd) return RunImport(common, map, inputFile, dryRun, out, err);
    if (*diffCmd) return RunDiff(common, diffOther, diffMap.get(), diffFormat, out, err);
    if (*findCmd) return RunFind(common, findFilter, findFormat, out, err);
    if (*historyCmd) return RunHistory(common, historyMap.get(), historyJson, out, err);
    if (*undoCmd)
        return RunUndo(common, undoIdOption->count() ? std::optional<long long>(undoId) : std::nullopt, out, err);
    if (*restoreCmd) return RunRestore(common, restoreId, force, out, err);
    return kExitUsage;
}
