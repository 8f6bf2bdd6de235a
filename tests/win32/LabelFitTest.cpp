// Every text of the Windows windows readable at the DPI the test runs at, in every language:
// the main window (template 102) and the About box (template 100) are shown one language after
// another, and a second thread checks them as LabelFit.h describes while the main thread runs
// them as MorviNpc.exe does. scripts/test-win32-dpi.sh runs it at 96, 144 and 192 DPI.
//   morvi_win32_fit_test TREE_DIR
// The current directory holds MorviConfig.ini (pointing at TREE_DIR) and receives
// label-fit.log. For each window shown it writes "screenshot-ready" holding a name and the
// window's place on the screen, and waits (up to 30 s) for "screenshot-done".
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <atomic>
#include <tuple>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "LabelFit.h"
#include "LanguageFileNames.h"
#include "WindowTestLog.h"
#include "dialog/ControlIds.h"
#include "dialog/WindowTemplateTables.h"
#include "texts/Language.h"
#include "texts/ProgramTexts.h"
#include "win32/CAboutDlg.h"
#include "win32/DpiLayout.h"
#include "win32/PlacementWindow.h"
#include "win32/WideText.h"
#include "win32/Win32Seams.h"

namespace fs = std::filesystem;
using namespace morvi;
using namespace morvi::win32;

namespace {

using morvi::test::LanguageFileName;
using win32::test::Check;
using win32::test::g_failures;
using win32::test::g_log;
using win32::test::WaitFor;

// The window as it is now, in a screenshot named `name` (taken by the script that runs the test).
void Screenshot(HWND window, const std::string& name) {
    RECT r{};
    GetWindowRect(window, &r);
    std::error_code ignored;
    fs::remove("screenshot-done", ignored);
    {
        std::ofstream ready("screenshot-ready.tmp");
        ready << name << ' ' << (r.right - r.left) << 'x' << (r.bottom - r.top) << '+' << r.left << '+' << r.top << '\n';
    }
    fs::rename("screenshot-ready.tmp", "screenshot-ready", ignored);
    WaitFor([] { return fs::exists("screenshot-done"); }, 30000);
    fs::remove("screenshot-done", ignored);
}

struct WindowUnderTest {
    const char* name;
    win32::test::FitCheckOptions options;
};

void CheckWindow(HWND window, const WindowUnderTest& what, const std::string& where) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const auto cut = win32::test::CutTexts(window, what.options);
    for (const std::string& problem : cut) Check(false, where + what.name + ": cut: " + problem);
    Check(cut.empty(), where + what.name + ": every text fits its control");
    const auto overlaps = win32::test::OverlappingControls(window);
    for (const std::string& problem : overlaps) Check(false, where + what.name + ": " + problem);
    Check(overlaps.empty(), where + what.name + ": no two controls overlap");
}

void CheckMainWindow(HWND dialog, const std::string& where, UINT dpi) {
    Check(WindowDpi(dialog) == dpi, where + "the window is shown at the system's DPI " + std::to_string(dpi));
    // The template scales with the DPI: its client area holds the template at the dialog
    // font's size, which grows with the DPI.
    RECT client{};
    GetClientRect(dialog, &client);
    const BaseUnits units = BaseUnitsOf(reinterpret_cast<HFONT>(SendDlgItemMessageW(dialog, IDC_PLACEMENT_LIST, WM_GETFONT, 0, 0)));
    Check(client.right >= units.X(kMainWidthDu) && client.bottom >= units.Y(kMainHeightDu),
          where + "the client area holds the whole template");
    // The list's columns are given at 96 DPI.
    HWND list = GetDlgItem(dialog, IDC_PLACEMENT_LIST);
    const int nameWidth = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    const int scriptWidth = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 9, 0));
    Check(nameWidth == ScaleToDpi(100, dpi) && scriptWidth == ScaleToDpi(280, dpi),
          where + "list columns scaled: " + std::to_string(nameWidth) + ", " + std::to_string(scriptWidth));
    CheckWindow(dialog, {"main window", {{IDC_SERVER_STATUS, IDC_HINT}}}, where);
}

// The main window moved to a monitor of another DPI and back: laid out for it, then every
// control at its place again.
void CheckDpiChange(HWND dialog, UINT dpi, const std::string& where) {
    auto places = [&] {
        std::vector<RECT> rects;
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            RECT r{};
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            rects.push_back(r);
        }
        // A control made again (the link label) comes back elsewhere in the order.
        std::sort(rects.begin(), rects.end(), [](const RECT& a, const RECT& b) {
            return std::tie(a.left, a.top, a.right, a.bottom) < std::tie(b.left, b.top, b.right, b.bottom);
        });
        return rects;
    };
    RECT window{};
    GetWindowRect(dialog, &window);
    const auto before = places();
    auto moveTo = [&](UINT to) {
        RECT suggested{window.left, window.top,
                       window.left + MulDiv(window.right - window.left, static_cast<int>(to), static_cast<int>(dpi)),
                       window.top + MulDiv(window.bottom - window.top, static_cast<int>(to), static_cast<int>(dpi))};
        SendMessageW(dialog, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    };
    const UINT other = dpi == 96 ? 144 : 96;
    moveTo(other);
    const int nameWidth = static_cast<int>(SendMessageW(GetDlgItem(dialog, IDC_PLACEMENT_LIST), LVM_GETCOLUMNWIDTH, 0, 0));
    const std::string at = where + "moved to " + std::to_string(other) + " DPI: ";
    Check(nameWidth == ScaleToDpi(100, other), at + "the columns follow (" + std::to_string(nameWidth) + ")");
    CheckWindow(dialog, {"main window", {{IDC_SERVER_STATUS, IDC_HINT}, other}}, at);
    moveTo(dpi);
    const auto after = places();
    bool same = before.size() == after.size();
    for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
        if (EqualRect(&before[i], &after[i])) continue;
        same = false;
        g_log << "     " << before[i].left << "," << before[i].top << "," << before[i].right << "," << before[i].bottom
              << " is now " << after[i].left << "," << after[i].top << "," << after[i].right << "," << after[i].bottom << std::endl;
    }
    Check(same, where + "moved back: every control at its place again");
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    g_log.open("label-fit.log");
    Win32Seams::SetUnattended(true);
    Win32Seams::SetShellLauncher([](const ShellLaunch&) -> intptr_t { return 42; });
    InitCommonControls();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HDC screen = GetDC(nullptr);
    const UINT dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    g_log << "system DPI " << dpi << std::endl;

    for (const Language language : kWindowLanguages) {
        SetLanguage(language);
        const std::string where = std::string(LanguageFileName(language)) + ", " + std::to_string(dpi) + " DPI: ";
        const std::string title(Text(TextId::MainWindowTitle));
        std::thread driver([&] {
            HWND dialog = nullptr;
            WaitFor([&] { return (dialog = FindWindowW(L"#32770", Widen(title).c_str())) != nullptr && IsWindowVisible(dialog); },
                    60000);
            if (!dialog) {
                Check(false, where + "the main window opens");
                return;
            }
            // The first map loaded, so the list shows rows under its headings.
            SendDlgItemMessageW(dialog, IDC_MAP_LIST, LB_SETCURSEL, 0, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_MAP_LIST, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_MAP_LIST)));
            CheckMainWindow(dialog, where, dpi);
            Screenshot(dialog, std::string("main-") + LanguageFileName(language));
            if (language == kWindowLanguages[0]) CheckDpiChange(dialog, dpi, where);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        {
            PlacementWindow window;
            window.DoModal(nullptr);
        }
        driver.join();

        // The About box beside nothing else, run by this thread while the driver looks at it.
        CAboutDlg about;
        HWND box = about.Create(nullptr);
        Check(box != nullptr, where + "the About box opens");
        if (!box) continue;
        std::atomic<bool> checked{false};
        std::thread aboutDriver([&] {
            CheckWindow(box, {"About box", {}}, where);
            Screenshot(box, std::string("about-") + LanguageFileName(language));
            checked = true;
            PostMessageW(box, WM_NULL, 0, 0);
        });
        MSG msg;
        while (!checked && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(box, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        aboutDriver.join();
        DestroyWindow(box);
    }
    g_log << (g_failures ? "FAILED" : "PASSED") << " (" << g_failures << " failures)" << std::endl;
    return g_failures ? 1 : 0;
}
