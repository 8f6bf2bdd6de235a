#include "win32/BulkEditDialog.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include <commctrl.h>

#include "document/NameTables.h"
#include "texts/ProgramTexts.h"
#include "win32/WideText.h"

namespace morvi::win32 {
namespace {

// A dialog template in memory: DLGTEMPLATE, its items, each DWORD-aligned.
class TemplateBuilder {
public:
    TemplateBuilder(const std::wstring& caption, short cx, short cy) {
        DLGTEMPLATE head{};
        head.style = DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        head.cx = cx;
        head.cy = cy;
        Append(&head, sizeof head);
        Word(0);   // no menu
        Word(0);   // the standard dialog class
        Text(caption);
        Word(9);   // DS_SETFONT: point size and face
        Text(L"MS Shell Dlg");
    }
    // `windowClass` is one of the predefined atoms (0x0080 button, 0x0081 edit, 0x0082 static,
    // 0x0085 combo box).
    void Item(WORD windowClass, DWORD style, short x, short y, short cx, short cy, int id, const std::wstring& text = {}) {
        Align();
        DLGITEMTEMPLATE item{};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.x = x;
        item.y = y;
        item.cx = cx;
        item.cy = cy;
        item.id = static_cast<WORD>(id);
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(windowClass);
        Text(text);
        Word(0);   // no creation data
        ++m_items;
    }
    const DLGTEMPLATE* Finish() {
        reinterpret_cast<DLGTEMPLATE*>(m_bytes.data())->cdit = static_cast<WORD>(m_items);
        return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data());
    }

private:
    void Append(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    }
    void Word(WORD w) { Append(&w, sizeof w); }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<WORD>(c));
        Word(0);
    }
    void Align() {
        while (m_bytes.size() % sizeof(DWORD)) m_bytes.push_back(0);
    }

    std::vector<unsigned char> m_bytes;   // operator new's storage: aligned for DLGTEMPLATE
    int m_items = 0;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kCombo = 0x0085;
constexpr short kLabelX = 7, kLabelWidth = 62, kFieldX = 72, kFieldWidth = 130, kRow = 16;

struct DialogState {
    int selectedRows = 0;
    BulkEditForm form;
};

std::wstring W(std::string_view utf8) { return Widen(std::string(utf8)); }

void FillCodeCombo(HWND combo, std::span<const std::string_view> names) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(Text(TextId::BulkEditLeave)).c_str()));
    SendMessageW(combo, CB_SETITEMDATA, 0, static_cast<LPARAM>(-1));
    for (const auto& [code, label] : BulkEditChoices(names)) {
        const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(label).c_str()));
        SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(code));
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

std::string TextOf(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
    GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(0, length)));
    return Narrow(text);
}

std::optional<int> CodeOf(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR) return std::nullopt;
    const LRESULT code = SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0);
    return code < 0 ? std::nullopt : std::optional<int>(static_cast<int>(code));
}

std::optional<std::string> SetTextOf(HWND dialog, int id) {
    std::string text = TextOf(dialog, id);
    return text.empty() ? std::nullopt : std::optional<std::string>(std::move(text));
}

}  // namespace

BulkEditForm BulkEditDialog::FormOf(HWND dialog) {
    BulkEditForm form;
    form.type = CodeOf(dialog, kType);
    form.group = CodeOf(dialog, kGroup);
    form.series = CodeOf(dialog, kSeries);
    form.drop = SetTextOf(dialog, kDrop);
    form.script = SetTextOf(dialog, kScript);
    form.clearScript = IsDlgButtonChecked(dialog, kClearScript) == BST_CHECKED;
    form.offsetX = SetTextOf(dialog, kOffsetX);
    form.offsetY = SetTextOf(dialog, kOffsetY);
    form.moveX = TextOf(dialog, kMoveX);
    form.moveY = TextOf(dialog, kMoveY);
    return form;
}

std::optional<BulkEditForm> BulkEditDialog::Run(HWND owner, int selectedRows) {
    const short rows = 10;
    TemplateBuilder t(W(Text(TextId::BulkEditCaption)), kFieldX + kFieldWidth + 7, static_cast<short>(7 + rows * kRow + 24));
    short y = 7;
    t.Item(kStatic, SS_LEFT, kLabelX, y, kFieldX + kFieldWidth - kLabelX, 10, kSelectedLabel);
    y += kRow;
    const auto label = [&](TextId text) { t.Item(kStatic, SS_LEFT, kLabelX, static_cast<short>(y + 2), kLabelWidth, 10, -1, W(Text(text))); };
    const auto combo = [&](TextId text, int id) {
        label(text);
        t.Item(kCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kFieldX, y, kFieldWidth, 120, id);
        y += kRow;
    };
    const auto edit = [&](TextId text, int id) {
        label(text);
        t.Item(kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kFieldX, y, kFieldWidth, 12, id);
        y += kRow;
    };
    combo(TextId::LabelType, kType);
    combo(TextId::LabelGroup, kGroup);
    combo(TextId::LabelSeries, kSeries);
    edit(TextId::LabelDrop, kDrop);
    edit(TextId::BulkEditScriptLabel, kScript);
    t.Item(kButton, BS_AUTOCHECKBOX | WS_TABSTOP, kFieldX, y, kFieldWidth, 10, kClearScript, W(Text(TextId::BulkEditClearScript)));
    y += kRow;
    edit(TextId::LabelOffsetX, kOffsetX);
    edit(TextId::LabelOffsetY, kOffsetY);
    label(TextId::BulkEditMoveLabel);
    const short half = (kFieldWidth - 4) / 2;
    t.Item(kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kFieldX, y, half, 12, kMoveX);
    t.Item(kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, static_cast<short>(kFieldX + half + 4), y, half, 12, kMoveY);
    y += kRow + 4;
    t.Item(kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, static_cast<short>(kFieldX + kFieldWidth - 104), y, 50, 14, IDOK, L"OK");
    t.Item(kButton, BS_PUSHBUTTON | WS_TABSTOP, static_cast<short>(kFieldX + kFieldWidth - 50), y, 50, 14, IDCANCEL, L"Cancel");

    DialogState state;
    state.selectedRows = selectedRows;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Finish(), owner, &BulkEditDialog::DialogProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return state.form;
}

INT_PTR CALLBACK BulkEditDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        SetDlgItemTextW(hwnd, kSelectedLabel, Widen(Format(TextId::ListSelected, {std::to_string(state->selectedRows)})).c_str());
        FillCodeCombo(GetDlgItem(hwnd, kType), NpcTypeNames());
        FillCodeCombo(GetDlgItem(hwnd, kGroup), NpcGroupNames());
        FillCodeCombo(GetDlgItem(hwnd, kSeries), NpcSeriesNames());
        const std::wstring leave = W(Text(TextId::BulkEditLeave));
        for (int id : {kDrop, kScript, kOffsetX, kOffsetY})
            SendDlgItemMessageW(hwnd, id, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(leave.c_str()));
        for (int id : {kMoveX, kMoveY}) SendDlgItemMessageW(hwnd, id, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"0"));
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kClearScript:
            // A script cleared leaves nothing to type.
            EnableWindow(GetDlgItem(hwnd, kScript), IsDlgButtonChecked(hwnd, kClearScript) != BST_CHECKED);
            return TRUE;
        case IDOK:
            if (auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(hwnd, DWLP_USER))) state->form = FormOf(hwnd);
            EndDialog(hwnd, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        default: break;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace morvi::win32
