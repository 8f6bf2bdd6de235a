#pragma once
// The template list box under the filter typed above it. The window logic sees the whole list
// and its positions (a template's number is its position + 1); the control shows only the
// entries the filter keeps, in the same order. A list box cannot hide an entry, so the
// control is filled anew from the whole list whenever the filter changes.

#include <string>
#include <vector>

#include <windows.h>

namespace morvi::win32 {

class FilteredListBox {
public:
    void Attach(HWND box) { m_box = box; }
    bool Attached() const { return m_box != nullptr; }

    // --- the whole list, by position ---
    int Count() const { return static_cast<int>(m_texts.size()); }
    void Add(const std::string& text);
    void Delete(int index);
    std::string Text(int index) const;
    // The selected entry's position in the whole list, -1 when none.
    int Selection() const;
    // Selects an entry; a filter that hides it is cleared first (`clearFilter` empties the
    // field, which comes back through SetFilter).
    template <typename ClearFilter>
    void SetSelection(int index, ClearFilter&& clearFilter) {
        if (index >= 0 && index < Count() && ShownAt(index) < 0) clearFilter();
        Select(index);
    }

    // A changed filter: the control shows what it keeps; a selection it hides is dropped, as
    // a hidden template is never the one "Them" takes.
    void SetFilter(const std::string& filter);
    // How many entries the control shows.
    int ShownCount() const { return static_cast<int>(m_shown.size()); }

private:
    int ShownAt(int index) const;   // the control's index of a position, -1 when hidden
    void Select(int index);
    bool Keeps(int index) const;

    HWND m_box = nullptr;
    std::vector<std::string> m_texts;   // the whole list, UTF-8
    std::vector<int> m_shown;           // positions of the entries the control shows
    std::string m_filter;
};

}  // namespace morvi::win32
