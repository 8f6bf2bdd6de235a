// MorviNpc.exe: the native Windows window.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "dialog/StartOptions.h"
#include "version/ProgramVersion.h"
#include "win32/CPlacementApp.h"
#include "win32/WideText.h"

namespace {

std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR* values = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) arguments.push_back(morvi::win32::Narrow(values[i]));
        LocalFree(values);
    }
    return arguments;
}

// A window program has no console of its own: the text goes to the standard output it was
// given (a pipe, a file, Wine's terminal), else to the console of the prompt that started it,
// else into a message box.
void Tell(const std::string& text) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    bool attached = false;
    if ((out == nullptr || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        attached = true;
        out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                          nullptr);
    }
    DWORD written = 0;
    if (out == nullptr || out == INVALID_HANDLE_VALUE ||
        !WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        MessageBoxW(nullptr, morvi::win32::Widen(text).c_str(), L"MorviNpc", MB_OK | MB_ICONINFORMATION);
    }
    if (attached) {
        if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
        FreeConsole();
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (morvi::ReadStartOptions(Arguments()).version) {
        Tell("MorviNpc " MORVI_VERSION_TEXT "\r\n");
        return 0;
    }
    morvi::win32::CPlacementApp app;
    app.InitInstance();
    return 0;
}
