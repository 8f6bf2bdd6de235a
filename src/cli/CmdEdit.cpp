// `add`, `set` and `rm`: the window's save and delete, driven through its own handlers so the
// checks, the texts and the bytes written are the window's.

#include <cstdio>

#include "cli/CliText.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/EditFields.h"
#include "cli/RegionScan.h"
#include "cli/RowOutput.h"

namespace morvi::cli {
namespace {

constexpr char kRemovedHintPrefix[] = "删除NPC[";
constexpr char kRemovedPlainHint[] = "删除NPC完成!";
constexpr char kDeleteCaptionPrefix[] = "选择删除[";

void PrintRow(const Session& session, int row, std::ostream& out) {
    OutputRow output{session.host.List().Cells(row), {}};
    output.cells[COL_FILE] = session.RelativeFile(output.cells[COL_FILE]);
    out << FormatRows({output}, OutputFormat::Table, false);
}

// The window writes what it is given but leaves these placements out the next time the map
// loads; say so rather than let the placement seem to vanish.
void WarnIfHidden(const std::vector<std::string>& reasons, std::ostream& err) {
    if (reasons.empty()) return;
    std::string text;
    for (const std::string& r : reasons) text += (text.empty() ? "" : "; ") + r;
    err << "morvinpc: warning: written, but the window will not list this placement (" << text << ")\n";
}

std::vector<std::string> HiddenByRowTexts(const RowTexts& c, int templateCount) {
    std::vector<std::string> reasons;
    const int t = TextToInt(c[COL_TEMPLATE]);
    if (t == 0 || t >= templateCount)
        reasons.push_back("template index " + std::to_string(t) + " not below the template count " +
                          std::to_string(templateCount));
    if (TextToInt(c[COL_POS_X]) >= 1000) reasons.push_back("x not below 1000");
    if (TextToInt(c[COL_POS_Y]) >= 500) reasons.push_back("y not below 500");
    return reasons;
}

}  // namespace

int RunAdd(const CommonOptions& common, const std::string& map, std::optional<int> templateIndex,
           const std::optional<std::string>& file, const FieldOptions& fields, std::ostream& out,
           std::ostream& err) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    HeadlessHost& host = session->host;
    CPlacementDlg& dlg = session->dlg;

    if (file) {
        // Only a region file of this map: the window never writes anywhere else.
        const std::string wanted = session->FullFile(UnescapeUndecodable(*file));
        std::string match;
        for (const std::string& path : session->MapRegionFiles(index))
            if (SameFile(path, wanted)) match = path;
        if (match.empty()) {
            err << "morvinpc: " << *file << " is not a region file of map " << map << "\n";
            return kExitUsage;
        }
        dlg.m_addTargetFile = match;
    }
    host.SelectListBox(IDC_MAP_LIST, index);
    if (templateIndex) {
        // The stored index N is template N - 1 of the list: "Them" stores the position plus one.
        if (*templateIndex < 1 || *templateIndex > session->TemplateCount()) {
            err << "morvinpc: --template must lie between 1 and " << session->TemplateCount() << "\n";
            return kExitUsage;
        }
        host.SelectListBox(IDC_TEMPLATE_LIST, *templateIndex - 1);
    }

    size_t hints = host.HintHistory().size();
    dlg.OnAdd();
    if (dlg.m_editMode != EDIT_ADD) {
        err << HintSince(host, hints) << "\n";
        return kExitFailed;
    }
    std::string error;
    if (!FillEditArea(host, fields, &error)) {
        err << "morvinpc: " << error << "\n";
        return kExitUsage;
    }
    hints = host.HintHistory().size();
    dlg.OnSave();
    if (dlg.m_editMode == EDIT_ADD) {
        std::string hint = HintSince(host, hints);
        if (hint.empty()) hint = "morvinpc: map " + map + " has no region file; nothing added";
        err << hint << "\n";
        return kExitFailed;
    }
    PrintRow(*session, 0, out);
    // The new record is the last one of its file.
    RegionScan scan;
    if (ScanRegionFile(host.List().CellText(0, COL_FILE), scan) && !scan.counted.empty())
        WarnIfHidden(HiddenReasons(scan.counted.back().record.block, session->TemplateCount()), err);
    return kExitOk;
}

int RunSet(const CommonOptions& common, const std::string& map, const std::string& keyText,
           const FieldOptions& fields, std::ostream& out, std::ostream& err) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    std::string error;
    const std::optional<KeyArgument> key = ParseKeyArgument(*session, keyText, &error);
    if (!key) {
        err << "morvinpc: " << error << "\n";
        return kExitUsage;
    }
    HeadlessHost& host = session->host;
    CPlacementDlg& dlg = session->dlg;

    session->LoadMap(index);
    const int row = FindRow(*session, *key);
    if (row < 0) {
        err << "morvinpc: no placement of map " << map << " matches " << keyText << "\n";
        return kExitFailed;
    }
    host.List().SelectOnly(row);
    dlg.BeginEdit();
    if (dlg.m_editMode != EDIT_MODIFY) {
        err << host.Hint() << "\n";
        return kExitFailed;
    }
    if (!FillEditArea(host, fields, &error)) {
        err << "morvinpc: " << error << "\n";
        return kExitUsage;
    }
    const size_t hints = host.HintHistory().size();
    dlg.OnSave();
    if (dlg.m_editMode == EDIT_MODIFY) {
        std::string hint = HintSince(host, hints);
        if (hint.empty())
            hint = "morvinpc: the placement is no longer in " + session->RelativeFile(key->file) +
                   " (changed since it was read?); nothing written";
        err << hint << "\n";
        return kExitFailed;
    }
    PrintRow(*session, row, out);
    WarnIfHidden(HiddenByRowTexts(host.List().Cells(row), session->TemplateCount()), err);
    return kExitOk;
}

int RunRemove(const CommonOptions& common, const std::string& map, const std::vector<std::string>& keyTexts,
              std::ostream& out, std::ostream& err) {
    std::unique_ptr<Session> session = OpenSession(common.server, err);
    if (!session) return kExitUsage;
    const int index = ResolveMap(*session, map, err);
    if (index < 0) return kExitUsage;
    std::vector<KeyArgument> keys;
    for (const std::string& text : keyTexts) {
        std::string error;
        const std::optional<KeyArgument> key = ParseKeyArgument(*session, text, &error);
        if (!key) {
            err << "morvinpc: " << error << "\n";
            return kExitUsage;
        }
        keys.push_back(*key);
    }
    HeadlessHost& host = session->host;
    session->LoadMap(index);

    // Each KEY selects one row, from the bottom (file order); a KEY given twice selects the next
    // row with that key, as selecting two such rows in the window does.
    HeadlessList& list = host.List();
    std::vector<bool> selected(static_cast<size_t>(list.RowCount()), false);
    for (size_t k = 0; k < keys.size(); ++k) {
        int found = -1;
        for (int row = list.RowCount() - 1; row >= 0 && found < 0; --row) {
            const RowTexts& c = list.Cells(row);
            const PlacementKey rowKey{TextToInt(c[COL_TEMPLATE]), TextToInt(c[COL_POS_X]), TextToInt(c[COL_POS_Y]),
                                      TextToInt(c[COL_OFFSET_X]), TextToInt(c[COL_OFFSET_Y])};
            if (!selected[static_cast<size_t>(row)] && rowKey == keys[k].key && SameFile(c[COL_FILE], keys[k].file))
                found = row;
        }
        if (found < 0) {
            err << "morvinpc: no placement of map " << map << " matches " << keyTexts[k] << "; nothing removed\n";
            return kExitFailed;
        }
        selected[static_cast<size_t>(found)] = true;
    }
    for (size_t row = 0; row < selected.size(); ++row)
        if (selected[row]) list.SelectRow(static_cast<int>(row));

    host.questionAnswer = MessageAnswer::Yes;   // the user asked for the deletion
    const size_t hints = host.HintHistory().size();
    session->dlg.OnDelete();

    for (size_t i = hints; i < host.HintHistory().size(); ++i) {
        const std::string& hint = host.HintHistory()[i];
        if (hint == kRemovedPlainHint) continue;   // replaced at once by the named one
        (hint.rfind(kRemovedHintPrefix, 0) == 0 ? out : err) << hint << "\n";
    }
    std::string caption;
    for (const std::string& frame : host.FrameHistory())
        if (frame.rfind(kDeleteCaptionPrefix, 0) == 0) caption = frame;
    int chosen = 0, removed = 0;
    if (std::sscanf(caption.c_str(), "选择删除[%d]条,实际完成[%d]条!", &chosen, &removed) != 2) removed = 0;
    if (removed == 0 || removed < static_cast<int>(keys.size())) {
        err << caption << "\n";
        return kExitFailed;
    }
    out << caption << "\n";
    return kExitOk;
}

}  // namespace morvi::cli
