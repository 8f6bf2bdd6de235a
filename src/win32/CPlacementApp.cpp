#include "win32/CPlacementApp.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "win32/PlacementWindow.h"

namespace morvi::win32 {

bool CPlacementApp::InitInstance() {
    InitCommonControls();
    // The folder browser's new dialog style needs a single-threaded COM apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        PlacementWindow window;
        window.DoModal(nullptr);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return false;
}

}  // namespace morvi::win32
