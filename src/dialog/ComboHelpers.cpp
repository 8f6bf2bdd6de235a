#include "dialog/ComboHelpers.h"

namespace morvi {
namespace {

unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (FoldAscii(static_cast<unsigned char>(text[i])) !=
            FoldAscii(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

}  // namespace

int FindComboPrefix(const DialogHost& host, int comboId, std::string_view prefix) {
    if (prefix.empty()) return -1;
    const int count = host.ComboCount(comboId);
    for (int i = 0; i < count; ++i)
        if (StartsWithNoCase(host.ComboItemText(comboId, i), prefix)) return i;
    return -1;
}

void ComboSelectPrefix(DialogHost& host, int comboId, std::string_view prefix) {
    host.ComboSetSelection(comboId, FindComboPrefix(host, comboId, prefix));
}

}  // namespace morvi
