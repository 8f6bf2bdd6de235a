// morvinpc: the command-line companion of the MorviNpc window, for batch work and headless
// servers. Every change goes through the map document, as the window's changes do; see
// `morvinpc --help`.

#include <CLI/CLI.hpp>

#include <iostream>
#include <map>

#include "cli/Commands.h"
#include "cli/ProgramText.h"
#include "document/PlacementRows.h"
#include "texts/Language.h"
#include "texts/ProgramTexts.h"
#include "version/ProgramVersion.h"

namespace {

using morvi::TextId;
using morvi::cli::FieldOptions;

// An option's or a subcommand's help, from the program's text table.
std::string Help(TextId id) { return std::string(morvi::Text(id)); }

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
            const char* name;   // the option: an interface, not a text
            TextId help;
        } fields[] = {
            {"--name", TextId::CliHelpName},
            {"--x", TextId::CliHelpX},
            {"--y", TextId::CliHelpY},
            {"--offset-x", TextId::CliHelpOffsetX},
            {"--offset-y", TextId::CliHelpOffsetY},
            {"--type", TextId::CliHelpType},
            {"--group", TextId::CliHelpGroup},
            {"--series", TextId::CliHelpSeries},
            {"--drop", TextId::CliHelpDrop},
            {"--script", TextId::CliHelpScript},
        };
        for (const auto& f : fields) {
            TextOption& t = texts[f.name];
            t.option = command->add_option(f.name, t.value, Help(f.help));
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
    // Its messages and help speak the locale's language; the data it writes does not change.
    morvi::SetLanguage(CommandLineLanguage());
    // Subcommand names, option names and format names are the program's interface, not texts.
    CLI::App app{Help(TextId::CliAbout)};
    app.set_version_flag("--version", "morvinpc " MORVI_VERSION_TEXT, Help(TextId::CliVersionHelp));
    app.require_subcommand(1);
    app.fallthrough();
    CommonOptions common;
    app.add_option("--server", common.server, Help(TextId::CliHelpServer));

    std::string map, key, format, inputFile;
    bool all = false, dryRun = false;
    std::vector<std::string> keys;
    const std::string mapHelp = Help(TextId::CliHelpMap);
    const std::string keyHelp = Help(TextId::CliHelpKey);

    CLI::App* maps = app.add_subcommand("maps", Help(TextId::CliHelpMaps));
    std::string mapsFormat = "table";
    maps->add_option("--format", mapsFormat, Help(TextId::CliHelpTableCsvJson))
        ->check(CLI::IsMember({"table", "csv", "json"}));

    CLI::App* list = app.add_subcommand("list", Help(TextId::CliHelpList));
    list->add_option("MAP", map, mapHelp)->required();
    std::string listFormat = "table";
    list->add_option("--format", listFormat, Help(TextId::CliHelpTableCsvJson))
        ->check(CLI::IsMember({"table", "csv", "json"}));
    list->add_flag("--all", all, Help(TextId::CliHelpListAll));
    TextOption listWhere;
    listWhere.option = list->add_option("--where", listWhere.value, Help(TextId::CliHelpWhere));

    CLI::App* check = app.add_subcommand("check", Help(TextId::CliHelpCheck));
    TextOption checkMap;
    checkMap.option = check->add_option("MAP", checkMap.value, mapHelp);
    std::string checkFormat = "table";
    check->add_option("--format", checkFormat, Help(TextId::CliHelpCheckFormat))->check(CLI::IsMember({"table", "json"}));
    bool checkAll = false;
    check->add_flag("--all", checkAll, Help(TextId::CliHelpCheckAll));

    CLI::App* add = app.add_subcommand("add", Help(TextId::CliHelpAdd));
    add->add_option("MAP", map, mapHelp)->required();
    int templateIndex = 0;
    CLI::Option* templateOption =
        add->add_option("--template", templateIndex, Help(TextId::CliHelpTemplate));
    TextOption addFile;
    addFile.option = add->add_option("--file", addFile.value, Help(TextId::CliHelpAddFile));
    FieldFlags addFields;
    addFields.Add(add);

    CLI::App* set = app.add_subcommand("set", Help(TextId::CliHelpSet));
    set->add_option("MAP", map, mapHelp)->required();
    TextOption setKey, setWhere, setMove;
    setKey.option = set->add_option("KEY", setKey.value, keyHelp);
    setWhere.option = set->add_option("--where", setWhere.value, Help(TextId::CliHelpWhere));
    setMove.option = set->add_option("--move", setMove.value, Help(TextId::CliHelpMove));
    bool setDryRun = false;
    set->add_flag("--dry-run", setDryRun, Help(TextId::CliHelpDryRun));
    FieldFlags setFields;
    setFields.Add(set);

    CLI::App* clone = app.add_subcommand("clone", Help(TextId::CliHelpClone));
    clone->add_option("MAP", map, mapHelp)->required();
    clone->add_option("KEY", key, keyHelp)->required();
    FieldFlags cloneFields;
    cloneFields.Add(clone);

    CLI::App* rm = app.add_subcommand("rm", Help(TextId::CliHelpRemove));
    rm->add_option("MAP", map, mapHelp)->required();
    rm->add_option("KEY", keys, keyHelp);
    TextOption rmWhere;
    rmWhere.option = rm->add_option("--where", rmWhere.value, Help(TextId::CliHelpWhere));
    bool rmDryRun = false;
    rm->add_flag("--dry-run", rmDryRun, Help(TextId::CliHelpDryRun));

    CLI::App* exportCmd = app.add_subcommand("export", Help(TextId::CliHelpExport));
    exportCmd->add_option("MAP", map, mapHelp)->required();
    std::string exportFormat = "csv";
    exportCmd->add_option("--format", exportFormat, Help(TextId::CliHelpCsvJson))
        ->check(CLI::IsMember({"csv", "json"}));

    CLI::App* importCmd = app.add_subcommand("import", Help(TextId::CliHelpImport));
    importCmd->add_option("MAP", map, mapHelp)->required();
    importCmd->add_option("FILE", inputFile, Help(TextId::CliHelpImportFile))->required();
    importCmd->add_flag("--dry-run", dryRun, Help(TextId::CliHelpDryRun));

    CLI::App* diffCmd = app.add_subcommand("diff", Help(TextId::CliHelpDiff));
    std::string diffOther;
    diffCmd->add_option("OTHER_SERVER", diffOther, Help(TextId::CliHelpDiffOther))->required();
    TextOption diffMap;
    diffMap.option = diffCmd->add_option("MAP", diffMap.value, mapHelp);
    std::string diffFormat = "table";
    diffCmd->add_option("--format", diffFormat, Help(TextId::CliHelpDiffFormat))->check(CLI::IsMember({"table", "csv", "json"}));

    CLI::App* findCmd = app.add_subcommand("find", Help(TextId::CliHelpFind));
    std::string findFilter;
    findCmd->add_option("FILTER", findFilter, Help(TextId::CliHelpFindFilter))->required();
    std::string findFormat = "table";
    findCmd->add_option("--format", findFormat, Help(TextId::CliHelpTableCsvJson))
        ->check(CLI::IsMember({"table", "csv", "json"}));

    CLI::App* historyCmd = app.add_subcommand("history", Help(TextId::CliHelpHistory));
    TextOption historyMap;
    historyMap.option = historyCmd->add_option("MAP", historyMap.value, mapHelp);
    bool historyJson = false;
    historyCmd->add_flag("--json", historyJson, Help(TextId::CliHelpHistoryJson));

    CLI::App* undoCmd = app.add_subcommand("undo", Help(TextId::CliHelpUndo));
    long long undoId = 0;
    CLI::Option* undoIdOption = undoCmd->add_option("ID", undoId, Help(TextId::CliHelpChangeId));

    CLI::App* restoreCmd = app.add_subcommand("restore", Help(TextId::CliHelpRestore));
    long long restoreId = 0;
    restoreCmd->add_option("ID", restoreId, Help(TextId::CliHelpChangeId))->required();
    bool force = false;
    restoreCmd->add_flag("--force", force, Help(TextId::CliHelpForce));

    try {
        Utf8Arguments arguments(argc, argv);
        app.parse(arguments.Count(), arguments.Values());
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
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
    if (*list) return RunList(common, map, listFormat, all, listWhere.get(), out, err);
    if (*check) return RunCheck(common, checkMap.get(), checkFormat, checkAll, out, err);
    if (*add)
        return RunAdd(common, map, templateOption->count() ? std::optional<int>(templateIndex) : std::nullopt,
                      addFile.get(), addFields.Get(), out, err);
    if (*set)
        return RunSet(common, map, setKey.get(), setWhere.get(), setFields.Get(), setMove.get(), setDryRun, out, err);
    if (*clone) return RunClone(common, map, key, cloneFields.Get(), out, err);
    if (*rm) return RunRemove(common, map, keys, rmWhere.get(), rmDryRun, out, err);
    if (*exportCmd) return RunList(common, map, exportFormat, false, std::nullopt, out, err);
    if (*importCmd) return RunImport(common, map, inputFile, dryRun, out, err);
    if (*diffCmd) return RunDiff(common, diffOther, diffMap.get(), diffFormat, out, err);
    if (*findCmd) return RunFind(common, findFilter, findFormat, out, err);
    if (*historyCmd) return RunHistory(common, historyMap.get(), historyJson, out, err);
    if (*undoCmd)
        return RunUndo(common, undoIdOption->count() ? std::optional<long long>(undoId) : std::nullopt, out, err);
    if (*restoreCmd) return RunRestore(common, restoreId, force, out, err);
    return kExitUsage;
}
