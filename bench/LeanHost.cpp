#include "LeanHost.h"

namespace morvi::bench {

void LeanList::InsertTopRow(RowTexts row) {
    ++m_rows;
    for (const std::string& text : row) m_textBytes += text.size();
}

void LeanList::InsertTopRowViews(const RowViews& row) {
    ++m_rows;
    for (std::string_view text : row) m_textBytes += text.size();
}

void LeanHost::ListBoxDelete(int id, int index) {
    std::vector<std::string>& box = Box(id);
    if (index >= 0 && index < static_cast<int>(box.size())) box.erase(box.begin() + index);
}

std::string LeanHost::ListBoxText(int id, int index) const {
    const std::vector<std::string>& box = Box(id);
    return index >= 0 && index < static_cast<int>(box.size()) ? box[static_cast<size_t>(index)] : std::string();
}

void LeanHost::ComboInsert(int id, int index, const std::string& text) {
    std::vector<std::string>& box = Box(id);
    if (index < 0 || index > static_cast<int>(box.size())) index = static_cast<int>(box.size());
    box.insert(box.begin() + index, text);
}

}  // namespace morvi::bench
