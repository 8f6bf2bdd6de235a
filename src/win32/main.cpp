// MorviNpc.exe: the native Windows window.
#include <windows.h>

#include "win32/CPlacementApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    morvi::win32::CPlacementApp app;
    app.InitInstance();
    return 0;
}
