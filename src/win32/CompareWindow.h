#pragma once
// "与其他服务器比较…" on Windows: a window of its own, owned by the main window and not modal:
// the other server's directory (typed, or chosen with "浏览…"), "比较", a filter field, an
// owner-data report list of the differences and the status line of CompareView.

#include <atomic>
#include <functional>
#include <optional>
#include <string>

#include <windows.h>

#include "dialog/CompareView.h"

namespace morvi::win32 {

class CompareWindow {
public:
    // The request for the main window's selected map; the other server is filled in here.
    using GetRequest = std::function<CompareView::Request()>;
    using BrowseFolder = std::function<std::optional<std::string>()>;

    static constexpr const wchar_t* kClassName = L"MorviCompare";
    static constexpr int kOtherId = 1, kBrowseId = 2, kRunId = 3, kFilterId = 4, kResultsId = 5, kStatusId = 6;
    static constexpr UINT kTakeMessage = WM_APP + 40;
    // Test seam: the number of rows shown, -1 while the comparison runs.
    static constexpr UINT kRowCountMessage = WM_APP + 41;

    CompareWindow(GetRequest request, BrowseFolder browse);
    ~CompareWindow();
    CompareWindow(const CompareWindow&) = delete;
    CompareWindow& operator=(const CompareWindow&) = delete;

    void Show(HWND owner);
    HWND Window() const { return m_hwnd; }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate();
    void OnSize(int width, int height);
    void Compare();
    void Refresh();
    std::string TextOfChild(HWND child) const;

    GetRequest m_request;
    BrowseFolder m_browse;
    std::atomic<HWND> m_wakeTarget{nullptr};   // read by the worker's wake (outlives m_view)
    CompareView m_view;
    HWND m_hwnd = nullptr;
    HWND m_other = nullptr, m_filter = nullptr, m_results = nullptr, m_status = nullptr;
    HFONT m_font = nullptr;
    bool m_statusWarning = false;
    std::string m_cell;
};

}  // namespace morvi::win32
