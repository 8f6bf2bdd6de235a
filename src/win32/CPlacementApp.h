#pragma once
// The application object of the Windows build: common controls, COM for the shell's folder
// browser, then the main window run modally; the process ends when it closes.

namespace morvi::win32 {

class CPlacementApp {
public:
    // Always false: there is no message loop after the window (the dialog ran its own).
    bool InitInstance();
};

}  // namespace morvi::win32
