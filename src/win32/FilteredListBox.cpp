#include "win32/FilteredListBox.h"

#include <algorithm>

#include "dialog/RowClipboard.h"
#include "win32/WideText.h"

namespace morvi::win32 {

bool FilteredListBox::Keeps(int index) const {
    return TemplateMatchesFilter(m_texts[static_cast<size_t>(index)], index, m_filter);
}

int FilteredListBox::ShownAt(int index) const {
    const auto at = std::lower_bound(m_shown.begin(), m_shown.end(), index);
    return at != m_shown.end() && *at == index ? static_cast<int>(at - m_shown.begin()) : -1;
}

void FilteredListBox::Add(const std::string& text) {
    m_texts.push_back(text);
    const int index = Count() - 1;
    if (!Keeps(index)) return;
    m_shown.push_back(index);
    SendMessageW(m_box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void FilteredListBox::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    if (const int shown = ShownAt(index); shown >= 0) {
        SendMessageW(m_box, LB_DELETESTRING, static_cast<WPARAM>(shown), 0);
        m_shown.erase(m_shown.begin() + shown);
    }
    m_texts.erase(m_texts.begin() + index);
    for (int& position : m_shown)
        if (position > index) --position;
}

std::string FilteredListBox::Text(int index) const {
    return index >= 0 && index < Count() ? m_texts[static_cast<size_t>(index)] : std::string();
}

int FilteredListBox::Selection() const {
    const LRESULT selected = SendMessageW(m_box, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || selected < 0 || selected >= static_cast<LRESULT>(m_shown.size())) return -1;
    return m_shown[static_cast<size_t>(selected)];
}

void FilteredListBox::Select(int index) {
    // LB_SETCURSEL scrolls the entry into view and sends no notification.
    const int shown = index >= 0 ? ShownAt(index) : -1;
    SendMessageW(m_box, LB_SETCURSEL, static_cast<WPARAM>(shown), 0);
}

void FilteredListBox::SetFilter(const std::string& filter) {
    if (filter == m_filter) return;
    const int selected = Selection();
    m_filter = filter;
    m_shown.clear();
    SendMessageW(m_box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_box, LB_RESETCONTENT, 0, 0);
    for (int index = 0; index < Count(); ++index) {
        if (!Keeps(index)) continue;
        m_shown.push_back(index);
        SendMessageW(m_box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(m_texts[static_cast<size_t>(index)]).c_str()));
    }
    Select(selected);
    SendMessageW(m_box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_box, nullptr, TRUE);
}

}  // namespace morvi::win32
