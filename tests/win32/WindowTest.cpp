// The real Windows window under test: template 102 with its Win32 controls, driven from a second
// thread by messages to the controls, as a user's clicks and typing arrive. The main thread runs
// the window exactly as MorviNpc.exe does. Message boxes are answered through the seam.
//   morvi_win32_window_test TREE_DIR [--measure]
// The current directory holds MorviConfig.ini (pointing at TREE_DIR) and receives
// window-test.log; "screenshot-ready" is written when the window shows its final state, and the
// test waits for "screenshot-done" (up to 30 s) before closing the window.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "data/text/GbkCodec.h"
#include "data/region/NpcPlacement.h"
#include "dialog/ControlIds.h"
#include "dialog/WindowTemplateTables.h"
#include "LanguageFit.h"
#include "win32/BulkEditDialog.h"
#include "win32/CHyperlinkLabel.h"
#include "win32/CompareWindow.h"
#include "win32/FindAllWindow.h"
#include "win32/MapViewWindow.h"
#include "win32/PlacementWindow.h"
#include "win32/ProblemsPanel.h"
#include "win32/WideText.h"
#include "win32/Win32Seams.h"
#include "WindowTestLog.h"

namespace fs = std::filesystem;
using namespace morvi;
using namespace morvi::win32;

namespace {

using test::Check;
using test::g_failures;
using test::g_log;
using test::WaitFor;

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

using Snapshot = std::map<fs::path, std::string>;

Snapshot RegionFiles(const fs::path& mapDir) {
    Snapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(mapDir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.size() > 6 && name.substr(name.size() - 6) == "_S.DAT")
            files[entry.path()] = ReadBytes(entry.path());
    }
    return files;
}

class Driver {
public:
    explicit Driver(HWND dialog) : m_dialog(dialog) {}

    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
    void Click(int id) { SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    void Type(int id, const std::string& text) {
        SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
    }
    std::string Text(int id) {
        wchar_t buffer[1024] = {};
        SendMessageW(Item(id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
        return Narrow(buffer);
    }
    void PickListBox(int id, int index) {
        SendMessageW(Item(id), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    void PickCombo(int id, const std::string& text) {
        const LRESULT index = SendMessageW(Item(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(Widen(text).c_str()));
        SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    }
    int Rows() { return static_cast<int>(SendMessageW(Item(IDC_PLACEMENT_LIST), LVM_GETITEMCOUNT, 0, 0)); }
    std::string Cell(int row, int column) {
        wchar_t buffer[600] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = 600;
        SendMessageW(Item(IDC_PLACEMENT_LIST), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return Narrow(buffer);
    }
    void SelectOnly(int row) {
        LVITEMW item{};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = 0;
        SendMessageW(Item(IDC_PLACEMENT_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(Item(IDC_PLACEMENT_LIST), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    HWND Dialog() const { return m_dialog; }

private:
    HWND m_dialog;
};

// Offset of the first record of the image that the five key values find, or 0.
size_t FindRecord(const std::string& image, const PlacementKey& key) {
    const uint16_t count = HeaderPlacementCount(HeaderFromImage(image));
    size_t offset = static_cast<size_t>(kFirstRecordOffset);
    for (uint16_t i = 0; i < count && offset < image.size(); ++i) {
        PlacementRecord record;
        const size_t next = ParsePlacementAt(image, offset, &record);
        if (key.Matches(record.block)) return offset;
        offset = next;
    }
    return 0;
}

void Put16(std::string& image, size_t at, int value) {
    image[at] = static_cast<char>(value & 0xFF);
    image[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

int ToInt(const std::string& s) { return std::atoi(s.c_str()); }

// --measure: how long the first map of a (large) tree takes to appear in the list.
void MeasureLoad(HWND dialog) {
    Driver ui(dialog);
    const auto start = std::chrono::steady_clock::now();
    ui.PickListBox(IDC_MAP_LIST, 0);
    WaitFor([&] { return ui.Rows() > 0; }, 600000);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    g_log << "rows " << ui.Rows() << " shown after " << ms << " ms" << std::endl;
    Check(ui.Rows() > 0, "the map's rows appear");
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

// The problems panel from the system menu, docked beside the window; a region file another
// program changes is named in the status strip, F5 reads it again, the panel's line of the
// duplicate that change made leads to its row, and its fix is one step that one undo takes back.
void DriveProblemsPanel(Driver& ui, const fs::path& mapDir) {
    HWND dialog = ui.Dialog();
    HMENU system = GetSystemMenu(dialog, FALSE);
    wchar_t entry[64] = {};
    GetMenuStringW(system, kProblemsCommand, entry, 64, MF_BYCOMMAND);
    Check(Narrow(entry) == "问题列表…", "the system menu holds the problems panel's entry");
    // Room on the right of the window for the panel (and the screenshot).
    RECT home{};
    GetWindowRect(dialog, &home);
    SetWindowPos(dialog, nullptr, 0, home.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(dialog, WM_SYSCOMMAND, kProblemsCommand, 0);
    HWND panel = nullptr;
    Check(WaitFor([&] {
              panel = FindWindowW(ProblemsPanel::kClassName, nullptr);
              return panel && IsWindowVisible(panel);
          }),
          "the system menu's entry shows the problems panel");
    if (!panel) return;
    RECT main{}, side{};
    GetWindowRect(dialog, &main);
    GetWindowRect(panel, &side);
    Check(side.left == main.right && side.top == main.top && side.bottom == main.bottom,
          "the panel is docked along the window's right edge, as tall as the window");
    SetWindowPos(dialog, nullptr, main.left + 5, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT moved{};
    Check(WaitFor([&] {
              GetWindowRect(panel, &moved);
              return moved.left == side.left + 5;
          }),
          "the docked panel follows the window");
    SetWindowPos(dialog, nullptr, main.left, main.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    // Another program doubles the first record of a region file.
    fs::path file;
    std::string original;
    for (const auto& [path, bytes] : RegionFiles(mapDir))
        if (bytes.size() > 2112 + 61 && file.empty()) {
            file = path;
            original = bytes;
        }
    Check(!file.empty(), "a region file with records");
    if (file.empty()) return;
    PlacementRecord first;
    ParsePlacementAt(original, 2112, &first);
    std::string doubled = original;
    AppendPlacementBytes(doubled, first.block, first.script);
    Put16(doubled, 2100, (static_cast<uint8_t>(original[2100]) | static_cast<uint8_t>(original[2101]) << 8) + 1);
    const int rows = ui.Rows();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << doubled;
    Check(WaitFor([&] {
              const std::string strip = ui.Text(PlacementWindow::kStatusStripId);
              return strip.find("已被其他程序修改") != std::string::npos &&
                     strip.find(file.filename().string()) != std::string::npos;
          }),
          "the status strip names the region file another program changed");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kKeyReloadMap, 1), 0);
    Check(ui.Text(PlacementWindow::kStatusStripId).rfind("已重新读取地图", 0) == 0, "F5 reads the map again");
    Check(WaitFor([&] { return ui.Rows() == rows + 1; }), "F5: the list shows the other program's record");

    HWND lines = GetDlgItem(panel, ProblemsPanel::kLinesId);
    const auto reason = [&](int line) {
        wchar_t buffer[600] = {};
        LVITEMW item{};
        item.iSubItem = static_cast<int>(ProblemsColumn::Reason);
        item.pszText = buffer;
        item.cchTextMax = 600;
        SendMessageW(lines, LVM_GETITEMTEXTW, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item));
        return Narrow(buffer);
    };
    int duplicate = -1;
    Check(WaitFor([&] {
              const int count = static_cast<int>(SendMessageW(panel, ProblemsPanel::kLineCountMessage, 0, 0));
              for (int i = 0; i < count; ++i)
                  if (reason(i).find("完全相同") != std::string::npos) duplicate = i;
              return duplicate >= 0;
          }),
          "the panel checks the map again by itself and lists the duplicate");
    if (duplicate < 0) return;
    Check(SendMessageW(panel, ProblemsPanel::kActivateMessage, static_cast<WPARAM>(duplicate + 1), 0) == 1,
          "a click on the line selects the duplicate's row");
    const int selected = static_cast<int>(SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_GETNEXTITEM,
                                                       static_cast<WPARAM>(-1), LVNI_SELECTED));
    Check(selected >= 0 && ui.Cell(selected, COL_NAME) == GbkToUtf8(first.block.Name()),
          "the selected row shows the duplicated placement");

    Win32Seams::QueueAnswer(MessageAnswer::Yes);
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(ProblemsPanel::kFixId, BN_CLICKED), 0);
    Check(ReadBytes(file) == original, "the fix deletes the duplicate: the file byte for byte as before");
    Check(WaitFor([&] { return ui.Rows() == rows; }), "the fix: the duplicate's row left the list");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuUndo, 0), 0);
    Check(ReadBytes(file) == doubled, "one undo brings the duplicate back, byte for byte");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuRedo, 0), 0);
    Check(ReadBytes(file) == original, "redo deletes it again");
    // The window's own writes are never named as another program's.
    Sleep(1500);
    Check(ui.Text(PlacementWindow::kStatusStripId).find("已被其他程序修改") == std::string::npos,
          "the window's own writes are not reported as outside changes");
    // The duplicate back, for the screenshot of the panel with its line.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuUndo, 0), 0);
    Check(ReadBytes(file) == doubled, "undo again: the duplicate is back");
    SendMessageW(panel, WM_COMMAND, MAKEWPARAM(ProblemsPanel::kCheckMapId, BN_CLICKED), 0);
}

void DriveWindow(HWND dialog, const fs::path& tree) {
    Driver ui(dialog);
    const fs::path mapDir = tree / "maps" / "map10";
    const Snapshot original = RegionFiles(mapDir);
    Check(!original.empty(), "the generated map has region files");

    // Chrome: the About entry of the system menu with string 101.
    HMENU menu = GetSystemMenu(dialog, FALSE);
    wchar_t entry[128] = {};
    GetMenuStringW(menu, 0x0010, entry, 128, MF_BYCOMMAND);
    Check(Narrow(entry) == "关于 MorviNpc(&A)...", "system menu holds the About entry, command 16");
    SendMessageW(dialog, WM_SYSCOMMAND, 0x001F, 0);
    Check(Win32Seams::AboutBoxesShown() == 1, "system command 0x1F (low bits ignored) opens the About box");
    Check(reinterpret_cast<HICON>(SendMessageW(dialog, WM_QUERYDRAGICON, 0, 0)) != nullptr, "WM_QUERYDRAGICON gives the icon");
    const DWORD exStyles = static_cast<DWORD>(SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    Check((exStyles & 0x61) == 0x61, "list view extended styles 0x61");
    Check((GetWindowLongW(ui.Item(IDC_PLACEMENT_LIST), GWL_STYLE) & LVS_OWNERDATA) != 0, "list view is owner-data");

    // The map list and the first map.
    Check(SendMessageW(ui.Item(IDC_MAP_LIST), LB_GETCOUNT, 0, 0) == 2, "two maps listed");
    ui.PickListBox(IDC_MAP_LIST, 0);
    Check(WaitFor([&] { return ui.Rows() > 0; }), "selecting the map lists its placements");
    const int loaded = ui.Rows();
    g_log << "rows loaded: " << loaded << std::endl;

    // Modify: open the top row, move it one step right, save.
    ui.SelectOnly(0);
    ui.Click(IDC_MODIFY);
    const std::string file = ui.Cell(0, COL_FILE);
    const PlacementKey key{ToInt(ui.Cell(0, COL_TEMPLATE)), ToInt(ui.Cell(0, COL_POS_X)), ToInt(ui.Cell(0, COL_POS_Y)),
                           ToInt(ui.Cell(0, COL_OFFSET_X)), ToInt(ui.Cell(0, COL_OFFSET_Y))};
    Check(ui.Text(IDC_POS_X) == ui.Cell(0, COL_POS_X), "Sua copies the row into the edit fields");
    const int newX = key.posX + 1;
    ui.Type(IDC_POS_X, std::to_string(newX));
    ui.Click(IDC_SAVE);
    Snapshot afterModify = RegionFiles(mapDir);
    const fs::path modified = fs::path(Widen(file));
    std::string expected = original.at(modified);
    const size_t at = FindRecord(expected, key);
    Check(at != 0, "the modified row's record is found in " + file);
    if (at) Put16(expected, at + 5, newX);
    Check(afterModify[modified] == expected, "modify: region file byte for byte as expected");
    Check(WaitFor([&] { return ui.Cell(0, COL_POS_X) == std::to_string(newX); }), "modify: the row shows the new X");
    for (const auto& [path, bytes] : original)
        if (path != modified) Check(afterModify[path] == bytes, "modify leaves " + path.filename().string() + " alone");
    const std::string afterModifyStatus = ui.Text(PlacementWindow::kStatusStripId);
    Check(afterModifyStatus.find("修改") != std::string::npos &&
              afterModifyStatus.find(modified.filename().string()) != std::string::npos,
          "the status strip names the modify and its file: " + afterModifyStatus);

    // Add: template 3 (entry 2), typed fields, combos by their texts.
    ui.PickListBox(IDC_TEMPLATE_LIST, 2);
    ui.Click(IDC_ADD);
    const std::string templateName = ui.Text(IDC_NAME);
    Check(templateName == "村长", "Them puts the template's name into the name field");
    ui.Type(IDC_POS_X, "123");
    ui.Type(IDC_POS_Y, "456");
    ui.Type(IDC_OFFSET_X, "7");
    ui.Type(IDC_OFFSET_Y, "9");
    ui.Type(IDC_DROP, "3");
    ui.PickCombo(IDC_TYPE, "Enemy");
    ui.PickCombo(IDC_GROUP, "Song");
    ui.PickCombo(IDC_SERIES, "2");
    ui.Click(IDC_SAVE);
    const Snapshot afterAdd = RegionFiles(mapDir);
    NpcPlacement added{};
    added.SetTemplateIndex(3);
    added.offsetX = 7;
    added.SetPosX(123);
    added.offsetY = 9;
    added.SetPosYDoubled(912);
    added.SetName(Utf8ToGbk(templateName).value_or(""));
    added.marker = 1;
    added.npcType = 0;
    added.npcGroup = 1;
    added.npcSeries = 2;
    added.dropCountOrScriptLength = 3;
    int changed = 0;
    for (const auto& [path, bytes] : afterAdd) {
        const std::string& before = afterModify[path];
        if (bytes == before) continue;
        ++changed;
        std::string want = before;
        SectionHeader header = HeaderFromImage(want);
        SetHeaderPlacementCount(header, static_cast<uint16_t>(HeaderPlacementCount(header) + 1));
        want.replace(static_cast<size_t>(kNpcSectionOffset), kSectionHeaderSize,
                     reinterpret_cast<const char*>(header.data()), header.size());
        AppendPlacementBytes(want, added, {});
        Check(bytes == want, "add: " + path.filename().string() + " gained the record, byte for byte");
    }
    Check(changed == 1, "add: exactly one region file changed");
    Check(WaitFor([&] { return ui.Rows() == loaded + 1; }), "add: the list has one row more");
    Check(ui.Cell(0, COL_NAME) == "村长" && ui.Cell(0, COL_POS_X) == "123", "add: the new row is on top");

    // Delete the new row: the files return to their state before the add.
    ui.SelectOnly(0);
    Win32Seams::QueueAnswer(MessageAnswer::Yes);
    ui.Click(IDC_DELETE);
    Check(RegionFiles(mapDir) == afterModify, "delete: region files byte for byte as before the add");
    Check(WaitFor([&] { return ui.Rows() == loaded; }), "delete: the row left the list");
    const auto messages = Win32Seams::Messages();
    Check(!messages.empty() && messages.back().caption == "从地图里移出NPC", "delete asked its question");
    Check(ui.Text(PlacementWindow::kStatusStripId).find("删除") != std::string::npos, "the status strip names the delete");

    // "复制行": the selected rows on the clipboard as tab-separated lines ending in CR LF.
    ui.SelectOnly(1);
    {
        LVITEMW also{};
        also.stateMask = also.state = LVIS_SELECTED;
        SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&also));
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuCopyRows, 0), 0);
    std::string copied;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) copied = Narrow(text);
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    const std::string firstLines = "name\tx\toffset_x\ty\toffset_y\ttype\tgroup\tseries\tdrop\tscript\tfile\ttemplate\r\n" +
                                   ui.Cell(0, COL_NAME) + "\t" + ui.Cell(0, COL_POS_X) + "\t";
    Check(copied.rfind(firstLines, 0) == 0 && std::count(copied.begin(), copied.end(), '\n') == 3 &&
              copied.find(ui.Cell(1, COL_NAME) + "\t" + ui.Cell(1, COL_POS_X) + "\t") != std::string::npos,
          "复制行 puts the header and both selected rows on the clipboard");
    Check(ui.Text(PlacementWindow::kStatusStripId) == "2 行已复制到剪贴板", "the status strip counts the copied rows");

    // "复制为新NPC" from the row menu: the copy goes to the row's own file, the others stay.
    {
        const int source = loaded - 1;   // the first record of the first file
        ui.SelectOnly(source);
        const std::string sourceName = ui.Cell(source, COL_NAME);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuClone, 0), 0);
        Check(ui.Text(IDC_NAME) == sourceName && ui.Text(IDC_POS_X) == ui.Cell(source, COL_POS_X),
              "clone fills the edit fields from the row");
        ui.Type(IDC_POS_X, "7");
        ui.Click(IDC_SAVE);
        const Snapshot afterClone = RegionFiles(mapDir);
        int grown = 0;
        for (const auto& [path, bytes] : afterClone) {
            if (bytes == afterModify[path]) continue;
            ++grown;
            Check(bytes.size() >= afterModify[path].size() + 61, "clone: " + path.filename().string() + " grew");
        }
        Check(grown == 1, "clone: exactly one region file changed");
        Check(WaitFor([&] { return ui.Rows() == loaded + 1; }), "clone: the list has one row more");
        Check(ui.Cell(0, COL_NAME) == sourceName && ui.Cell(0, COL_POS_X) == "7" &&
                  ui.Cell(0, COL_FILE) == ui.Cell(source + 1, COL_FILE),
              "clone: the copy is on top, in the source's file");
        ui.SelectOnly(0);
        Win32Seams::QueueAnswer(MessageAnswer::Yes);
        ui.Click(IDC_DELETE);
        Check(RegionFiles(mapDir) == afterModify, "clone: deleting the copy restores the files");

        // Undo and redo from the row menu: the delete of the copy is taken back, then made again.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuUndo, 0), 0);
        Check(RegionFiles(mapDir) == afterClone, "undo: the deleted copy is back, byte for byte");
        Check(WaitFor([&] { return ui.Rows() == loaded + 1; }), "undo: the list shows the copy again");
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuRedo, 0), 0);
        Check(RegionFiles(mapDir) == afterModify, "redo: the copy is deleted again, byte for byte");
        Check(WaitFor([&] { return ui.Rows() == loaded; }), "redo: the copy left the list");
    }

    // The script editor: Notepad with the unquoted path.
    ui.Type(IDC_SCRIPT, "\\script\\npc\\a b.lua");
    ui.Click(IDC_EDIT_SCRIPT);
    auto launches = Win32Seams::ShellLaunches();
    Check(!launches.empty() && launches.back().file == "notepad" &&
              launches.back().parameters == Narrow(tree.wstring()) + "\\script\\npc\\a b.lua",
          "Sua starts notepad with the unquoted full path");

    // The link label: a STATIC child found through its property, clicked.
    HWND link = nullptr;
    EnumChildWindows(dialog, [](HWND child, LPARAM found) -> BOOL {
        if (GetPropW(child, CHyperlinkLabel::kPropertyName)) {
            *reinterpret_cast<HWND*>(found) = child;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&link));
    wchar_t className[32] = {};
    if (link) GetClassNameW(link, className, 32);
    Check(link && std::wstring(className) == L"Static", "link label is a STATIC child with CLASSPOINTER");
    Win32Seams::SetShellLauncher([](const ShellLaunch&) -> intptr_t { return 0; });
    SendMessageW(link, WM_LBUTTONDOWN, 0, 0);
    launches = Win32Seams::ShellLaunches();
    Check(launches.size() >= 3 && launches[launches.size() - 2].file == "explorer" &&
              launches.back().file == "https://morvinpc.example.org" && launches.back().parameters.empty(),
          "a click opens the address, and again directly when the first start returns 0");
    // Notepad that does not start (the launcher now answers 0) is named in the status strip.
    ui.Click(IDC_EDIT_SCRIPT);
    Check(ui.Text(PlacementWindow::kStatusStripId).rfind("无法启动记事本 (notepad): ", 0) == 0,
          "a notepad that cannot start is named in the status strip");

    // The template filter: the list box shows what the filter keeps, "Them" takes the shown
    // entry's template by its place in the whole list, and an empty filter shows all again.
    {
        HWND filter = ui.Item(PlacementWindow::kTemplateFilterId);
        HWND templates = ui.Item(IDC_TEMPLATE_LIST);
        const LRESULT all = SendMessageW(templates, LB_GETCOUNT, 0, 0);
        auto setFilter = [&](const wchar_t* text) {
            SendMessageW(filter, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kTemplateFilterId, EN_CHANGE),
                         reinterpret_cast<LPARAM>(filter));
        };
        setFilter(L"guard");
        Check(SendMessageW(templates, LB_GETCOUNT, 0, 0) == 2, "the filter \"guard\" shows Guard and OldGuard");
        SendMessageW(templates, LB_SETCURSEL, 1, 0);
        ui.Click(IDC_ADD);
        Check(ui.Text(IDC_NAME) == "OldGuard", "Them takes the template shown under the filter");
        ui.Click(IDC_CANCEL_EDIT);
        setFilter(L"3");
        wchar_t shown[64] = {};
        SendMessageW(templates, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(shown));
        Check(SendMessageW(templates, LB_GETCOUNT, 0, 0) == 1 && Narrow(shown) == "村长",
              "a number shows the template of that number");
        setFilter(L"");
        Check(SendMessageW(templates, LB_GETCOUNT, 0, 0) == all && all == 20, "an empty filter shows every template");
        // A clone selects its row's template; a filter that hides it is cleared so it shows.
        setFilter(L"zzz");
        ui.SelectOnly(0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuClone, 0), 0);
        Check(ui.Text(PlacementWindow::kTemplateFilterId).empty() && SendMessageW(templates, LB_GETCOUNT, 0, 0) == all &&
                  SendMessageW(templates, LB_GETCURSEL, 0, 0) == ToInt(ui.Cell(0, COL_TEMPLATE)) - 1,
              "a clone clears the filter that hid its template and selects it");
        ui.Click(IDC_CANCEL_EDIT);
    }

    // "在地图上显示": a window of its own with every row as a point; the list's selection is
    // ringed, and a band over the whole map adds every row to the list's selection.
    {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuMapView, 0), 0);
        HWND map = nullptr;
        Check(WaitFor([&] {
                  map = FindWindowW(MapViewWindow::kClassName, nullptr);
                  return map && IsWindowVisible(map);
              }),
              "the map view opens");
        if (map) {
            Check(SendMessageW(map, MapViewWindow::kPointCountMessage, 0, 0) == ui.Rows(), "the map shows every row");
            ui.SelectOnly(0);
            Check(WaitFor([&] { return SendMessageW(map, MapViewWindow::kSelectedStacksMessage, 0, 0) == 1; }),
                  "the selected row is ringed on the map");
            RECT client{};
            GetClientRect(map, &client);
            SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 34));
            SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.right - 8, client.bottom - 8));
            SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 8, client.bottom - 8));
            Check(WaitFor([&] {
                      return SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_GETSELECTEDCOUNT, 0, 0) == ui.Rows();
                  }),
                  "a band over the whole map selects every row of the list");

            // A drag of the selected row's spot moves its placement, one step; one undo takes it back.
            ui.SelectOnly(0);
            Check(WaitFor([&] { return SendMessageW(map, MapViewWindow::kSelectedStacksMessage, 0, 0) == 1; }),
                  "one row selected on the map");
            const Snapshot beforeDrag = RegionFiles(mapDir);
            const int x = ToInt(ui.Cell(0, COL_POS_X)), y = ToInt(ui.Cell(0, COL_POS_Y));
            const int toX = x < 500 ? x + 20 : x - 20, toY = y < 250 ? y + 10 : y - 10;
            const LRESULT from = SendMessageW(map, MapViewWindow::kClientPointMessage, MAKEWPARAM(x, y), 0);
            const LRESULT to = SendMessageW(map, MapViewWindow::kClientPointMessage, MAKEWPARAM(toX, toY), 0);
            SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, from);
            SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, to);
            SendMessageW(map, WM_LBUTTONUP, 0, to);
            const int movedX = ToInt(ui.Cell(0, COL_POS_X)), movedY = ToInt(ui.Cell(0, COL_POS_Y));
            Check(std::abs(movedX - toX) <= 1 && std::abs(movedY - toY) <= 1,
                  "map drag: the row shows the placement where it was dropped (" + std::to_string(movedX) + "," +
                      std::to_string(movedY) + ")");
            int changedFiles = 0;
            const Snapshot afterDrag = RegionFiles(mapDir);
            for (const auto& [path, bytes] : afterDrag) changedFiles += beforeDrag.at(path) != bytes;
            Check(changedFiles == 1, "map drag: exactly the placement's file was rewritten");
            Check(ui.Text(PlacementWindow::kStatusStripId).find("地图上移动") != std::string::npos,
                  "map drag: the status strip names the move");
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuUndo, 0), 0);
            Check(RegionFiles(mapDir) == beforeDrag, "map drag: one undo restores the files byte for byte");

            // A double click on an empty spot starts a new placement there.
            SendMessageW(ui.Item(IDC_TEMPLATE_LIST), LB_SETCURSEL, 0, 0);
            SendMessageW(map, WM_LBUTTONDBLCLK, MK_LBUTTON,
                         SendMessageW(map, MapViewWindow::kClientPointMessage, MAKEWPARAM(2, 498), 0));
            Check(std::abs(ToInt(ui.Text(IDC_POS_X)) - 2) <= 1 && std::abs(ToInt(ui.Text(IDC_POS_Y)) - 498) <= 1 &&
                      !ui.Text(IDC_NAME).empty(),
                  "map double click: a new placement with X and Y of the spot");
            ui.Click(IDC_CANCEL_EDIT);

            // Delete on the map: the list's question, then the delete of the selection.
            ui.SelectOnly(0);
            WaitFor([&] { return SendMessageW(map, MapViewWindow::kSelectedStacksMessage, 0, 0) == 1; });
            const int rowsBefore = ui.Rows();
            Win32Seams::QueueAnswer(MessageAnswer::Yes);
            SendMessageW(map, WM_KEYDOWN, VK_DELETE, 0);
            Check(WaitFor([&] { return ui.Rows() == rowsBefore - 1; }) && RegionFiles(mapDir) != beforeDrag,
                  "Delete on the map deletes the selection");
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuUndo, 0), 0);
            Check(RegionFiles(mapDir) == beforeDrag, "undo of the map's delete restores the files");
            SendMessageW(map, WM_CLOSE, 0, 0);
            Check(WaitFor([&] { return !IsWindow(map); }), "the map view closes");
            ui.SelectOnly(0);
        }
    }

    // "在所有地图中查找": a window of its own; the search runs off the window's thread over both
    // maps, and a double-click on a result selects the map and the placement's row in the list.
    {
        const std::string x = ui.Cell(1, COL_POS_X), y = ui.Cell(1, COL_POS_Y), name = ui.Cell(1, COL_NAME);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuFindAll, 0), 0);
        HWND find = nullptr;
        Check(WaitFor([&] {
                  find = FindWindowW(FindAllWindow::kClassName, nullptr);
                  return find && IsWindowVisible(find);
              }),
              "the find window opens");
        if (find) {
            wchar_t title[64] = {};
            GetWindowTextW(find, title, 64);
            Check(Narrow(title) == "在所有地图中查找", "the find window's title");
            SendMessageW(GetDlgItem(find, FindAllWindow::kFilterId), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(Widen("x:" + x + " y:" + y).c_str()));
            // Another map is loaded first: the double-click has to load the right one.
            ui.PickListBox(IDC_MAP_LIST, 1);
            SendMessageW(find, WM_COMMAND, MAKEWPARAM(FindAllWindow::kSearchId, BN_CLICKED), 0);
            LRESULT found = -1;
            Check(WaitFor([&] { return (found = SendMessageW(find, FindAllWindow::kResultCountMessage, 0, 0)) >= 0; }),
                  "the search ends");
            Check(found >= 1, "the search finds the placement (" + std::to_string(found) + " found)");
            Check(static_cast<int>(SendMessageW(GetDlgItem(find, FindAllWindow::kResultsId), LVM_GETITEMCOUNT, 0, 0)) == found,
                  "the result list shows every result");
            wchar_t status[512] = {};
            GetWindowTextW(GetDlgItem(find, FindAllWindow::kStatusId), status, 512);
            Check(Narrow(status).rfind("找到 ", 0) == 0, "the status line says what was found: " + Narrow(status));
            SendMessageW(find, FindAllWindow::kOpenRowMessage, 0, 0);
            Check(SendMessageW(ui.Item(IDC_MAP_LIST), LB_GETCURSEL, 0, 0) == 0, "the double-click selects the map");
            const int selected = static_cast<int>(SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_GETNEXTITEM,
                                                               static_cast<WPARAM>(-1), LVNI_SELECTED));
            Check(selected >= 0 && ui.Cell(selected, COL_POS_X) == x && ui.Cell(selected, COL_POS_Y) == y,
                  "the double-click selects the placement's row");
            Check(SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_GETSELECTEDCOUNT, 0, 0) == 1, "only that row");
            // The window with its results, for the screenshot (the script takes it when asked).
            SetForegroundWindow(find);
            SendMessageW(GetDlgItem(find, FindAllWindow::kResultsId), LVM_ENSUREVISIBLE, 0, FALSE);
            std::ofstream("find-screenshot-ready") << "ready\n";
            WaitFor([] { return fs::exists("find-screenshot-done"); }, 15000);
            SendMessageW(find, WM_CLOSE, 0, 0);
            Check(WaitFor([&] { return !IsWindowVisible(find); }), "the find window closes");
            ui.SelectOnly(0);
        }
    }

    // "与其他服务器比较…": the loaded map against the same tree is the same; a tree without a map
    // list is named.
    {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuCompare, 0), 0);
        HWND compare = nullptr;
        Check(WaitFor([&] {
                  compare = FindWindowW(CompareWindow::kClassName, nullptr);
                  return compare && IsWindowVisible(compare);
              }),
              "the compare window opens");
        if (compare) {
            const auto run = [&](const std::wstring& other) {
                SendMessageW(GetDlgItem(compare, CompareWindow::kOtherId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(other.c_str()));
                SendMessageW(compare, WM_COMMAND, MAKEWPARAM(CompareWindow::kRunId, BN_CLICKED), 0);
                LRESULT rows = -1;
                WaitFor([&] { return (rows = SendMessageW(compare, CompareWindow::kRowCountMessage, 0, 0)) >= 0; });
                wchar_t status[512] = {};
                GetWindowTextW(GetDlgItem(compare, CompareWindow::kStatusId), status, 512);
                return std::make_pair(rows, Narrow(status));
            };
            const auto same = run(tree.wstring());
            Check(same.first == 0 && same.second.find("相同") != std::string::npos,
                  "a map compared with itself is the same: " + same.second);
            const auto none = run((tree / "nowhere").wstring());
            Check(none.first == 0 && none.second.rfind("无法读取其他服务器的地图列表", 0) == 0,
                  "another tree without a map list is named: " + none.second);
            SendMessageW(compare, WM_CLOSE, 0, 0);
            Check(WaitFor([&] { return !IsWindowVisible(compare); }), "the compare window closes");
        }
    }

    // "批量修改…": the dialog over the window; the fields set change the selected placement only,
    // one undo takes it back.
    {
        ui.SelectOnly(0);
        const Snapshot before = RegionFiles(mapDir);
        const int x = ToInt(ui.Cell(0, COL_POS_X));
        const std::string name = ui.Cell(0, COL_NAME), type = ui.Cell(0, COL_TYPE);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuBulkEdit, 0), 0);
        const std::wstring caption = Widen("批量修改");
        HWND bulk = nullptr;
        Check(WaitFor([&] {
                  bulk = FindWindowW(L"#32770", caption.c_str());
                  return bulk && IsWindowVisible(bulk);
              }),
              "bulk edit: the dialog opens");
        if (bulk) {
            const BulkEditForm untouched = BulkEditDialog::FormOf(bulk);
            Check(!BulkFormSetsAnything(untouched), "bulk edit: every field starts as 'leave as is'");
            Check(SendDlgItemMessageW(bulk, BulkEditDialog::kGroup, CB_GETCOUNT, 0, 0) > 2, "bulk edit: the group choices");
            SendDlgItemMessageW(bulk, BulkEditDialog::kGroup, CB_SETCURSEL, 2, 0);   // code 1
            SetDlgItemTextW(bulk, BulkEditDialog::kMoveX, x < 500 ? L"3" : L"-3");
            SendMessageW(bulk, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Check(WaitFor([&] { return !IsWindow(bulk); }), "bulk edit: OK closes the dialog");
            Check(WaitFor([&] { return ToInt(ui.Cell(0, COL_POS_X)) == (x < 500 ? x + 3 : x - 3); }),
                  "bulk edit: the row moved by dX");
            Check(ui.Cell(0, COL_NAME) == name && ui.Cell(0, COL_TYPE) == type, "bulk edit: fields left alone stay");
            Check(ui.Text(PlacementWindow::kStatusStripId).find("批量修改") != std::string::npos,
                  "bulk edit: the status strip names it");
            int changed = 0;
            for (const auto& [path, bytes] : RegionFiles(mapDir)) changed += before.at(path) != bytes;
            Check(changed == 1, "bulk edit: one file rewritten");
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuUndo, 0), 0);
            Check(RegionFiles(mapDir) == before, "bulk edit: one undo restores the files byte for byte");
        }
        // Cancel writes nothing (the undo loaded the map again: the row is selected anew).
        ui.SelectOnly(0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(PlacementWindow::kMenuBulkEdit, 0), 0);
        Check(WaitFor([&] {
                  bulk = FindWindowW(L"#32770", caption.c_str());
                  return bulk && IsWindowVisible(bulk);
              }),
              "bulk edit: the dialog opens again");
        if (bulk) {
            SetDlgItemTextW(bulk, BulkEditDialog::kMoveX, L"1");
            SendMessageW(bulk, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            Check(WaitFor([&] { return !IsWindow(bulk); }), "bulk edit: Cancel closes the dialog");
            Check(RegionFiles(mapDir) == before, "bulk edit: Cancel writes nothing");
        }
    }

    // The window grows: the list and its frame take the new room, the template column and the
    // edit rows keep to the edges, the search row stays; it never gets smaller than its template.
    {
        auto placeOf = [&](HWND item) {
            RECT r{};
            GetWindowRect(item, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            return r;
        };
        auto same = [](const RECT& a, const RECT& b, int dx, int dy, int dw, int dh) {
            return a.left + dx == b.left && a.top + dy == b.top && a.right + dx + dw == b.right &&
                   a.bottom + dy + dh == b.bottom;
        };
        const int ids[] = {IDC_PLACEMENT_LIST, IDC_FRAME, IDC_MAP_LIST, IDC_TEMPLATE_LIST, IDC_SAVE,
                           IDC_POS_X, IDC_FIND_NAME, IDC_BROWSE_SERVER, PlacementWindow::kStatusStripId,
                           PlacementWindow::kTemplateFilterId};
        std::map<int, RECT> before;
        for (int id : ids) before[id] = placeOf(ui.Item(id));
        RECT window{};
        GetWindowRect(dialog, &window);
        const int width = window.right - window.left, height = window.bottom - window.top;
        const int dx = 160, dy = 120;
        SetWindowPos(dialog, nullptr, 0, 0, width + dx, height + dy, SWP_NOMOVE | SWP_NOZORDER);
        struct Expect { int id; int dx, dy, dw, dh; const char* what; };
        const Expect expects[] = {
            {IDC_PLACEMENT_LIST, 0, 0, dx, dy, "the placement list grows both ways"},
            {IDC_FRAME, 0, 0, dx, dy, "its frame grows with it"},
            {IDC_MAP_LIST, 0, 0, 0, dy, "the map list grows taller"},
            {IDC_TEMPLATE_LIST, dx, 0, 0, dy, "the template list keeps to the right edge and grows taller"},
            {IDC_SAVE, dx, dy, 0, 0, "Luu keeps to the bottom right corner"},
            {IDC_POS_X, 0, dy, 0, 0, "the edit rows keep to the bottom"},
            {IDC_FIND_NAME, 0, 0, 0, 0, "the search row stays"},
            {PlacementWindow::kTemplateFilterId, dx, 0, 0, 0, "the template filter keeps to the right edge"},
            {IDC_BROWSE_SERVER, dx, 0, 0, 0, "the server row's buttons keep to the right edge"},
            {PlacementWindow::kStatusStripId, 0, dy, dx, 0, "the status strip keeps to the bottom and widens"},
        };
        for (const Expect& e : expects)
            Check(same(before[e.id], placeOf(ui.Item(e.id)), e.dx, e.dy, e.dw, e.dh), std::string("grown window: ") + e.what);
        SetWindowPos(dialog, nullptr, 0, 0, width - 100, height - 100, SWP_NOMOVE | SWP_NOZORDER);
        RECT shrunk{};
        GetWindowRect(dialog, &shrunk);
        Check(shrunk.right - shrunk.left >= width && shrunk.bottom - shrunk.top >= height,
              "the window never gets smaller than its template");
        SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        bool back = true;
        for (int id : ids) back = back && same(before[id], placeOf(ui.Item(id)), 0, 0, 0, 0);
        Check(back, "at the template's size again, every control is back in its place");
    }

    // "语言 / Language" from the system menu: every text in the language at once, remembered in
    // MorviConfig.ini; each translated label fits its control at the template's size; a picture
    // of the window in each language (window-language-*.bmp).
    {
        const struct {
            int choice;               // in the menu: original, English, Vietnamese
            const wchar_t* exit;      // the label of "Thoat"
            const wchar_t* heading;   // the first column's heading
            const char* code;
        } languages[] = {
            {1, L"Exit", L"Name", "en"},
            {2, L"Tho\u00e1t", L"T\u00ean", "vi"},
            {0, L"Thoat", L"Name", "original"},
        };
        for (const auto& l : languages) {
            const std::string what = std::string("language ") + l.code + ": ";
            SendMessageW(dialog, WM_SYSCOMMAND,
                         PlacementWindow::kLanguageCommand + l.choice * PlacementWindow::kLanguageCommandStep, 0);
            wchar_t text[64] = {};
            GetWindowTextW(ui.Item(IDC_EXIT), text, 64);
            Check(std::wstring(text) == l.exit, what + "the buttons speak it");
            wchar_t heading[64] = {};
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT;
            column.pszText = heading;
            column.cchTextMax = 64;
            SendMessageW(ui.Item(IDC_PLACEMENT_LIST), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
            Check(std::wstring(heading) == l.heading, what + "so do the column headings");
            if (l.choice != 0) {
                const auto main = test::CutTemplateTexts(dialog, MainWindowTemplate());
                Check(main.empty(), what + "every label of the main window fits its control" + test::Describe(main));
                const auto about = test::CutTemplateTexts(dialog, AboutTemplate());
                Check(about.empty(), what + "every label of the About box fits its control" + test::Describe(about));
            }
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const std::string file = std::string("window-language-") + l.code + ".bmp";
            Check(test::SaveWindowPicture(dialog, std::wstring(file.begin(), file.end())), what + "picture " + file);
        }
        Check(ReadBytes("MorviConfig.ini").find("Language=\r\n") != std::string::npos,
              "the language chosen last is remembered in MorviConfig.ini");
    }

    DriveProblemsPanel(ui, mapDir);

    // The final state for the screenshot: the loaded map with a search hit.
    ui.Type(IDC_SCRIPT, "");
    ui.Type(IDC_FIND_NAME, ui.Cell(1, COL_NAME));
    ui.Click(IDC_FIND_ALL);
    std::ofstream("screenshot-ready") << "ready\n";
    WaitFor([] { return fs::exists("screenshot-done"); }, 30000);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    g_log.open("window-test.log");
    if (argc < 2) {
        g_log << "usage: morvi_win32_window_test TREE_DIR" << std::endl;
        return 2;
    }
    const fs::path tree = argv[1];
    const bool measure = argc > 2 && std::wstring(argv[2]) == L"--measure";
    Win32Seams::SetUnattended(true);
    Win32Seams::SetShellLauncher([](const ShellLaunch&) -> intptr_t { return 42; });
    InitCommonControls();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    std::thread driver([&] {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindWindowW(L"#32770", L"MorviNpc")) != nullptr && IsWindowVisible(dialog); }, 60000);
        if (!dialog) {
            Check(false, "the main window opens");
            return;
        }
        try {
            if (measure) MeasureLoad(dialog);
            else DriveWindow(dialog, tree);
        } catch (const std::exception& e) {
            Check(false, std::string("exception: ") + e.what());
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    });
    {
        PlacementWindow window;
        window.DoModal(nullptr);
    }
    driver.join();
    g_log << (g_failures ? "FAILED" : "PASSED") << " (" << g_failures << " failures)" << std::endl;
    return g_failures ? 1 : 0;
}
