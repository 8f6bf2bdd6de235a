#include "data/history/ChangeHistorySplice.h"

#include <algorithm>

namespace morvi {
namespace {

// Equal runs shorter than this between two differing runs are carried inside one splice:
// a splice costs more in the journal than a few repeated bytes.
constexpr size_t kJoinGap = 16;

bool Apply(std::string& image, const std::vector<Splice>& splices, bool forward) {
    // Check everything first, so a refusal leaves the image as it was.
    size_t expectedSize = image.size();
    for (const Splice& s : splices) {
        const std::string& have = forward ? s.before : s.after;
        if (s.offset > image.size() || image.size() - s.offset < have.size() ||
            image.compare(s.offset, have.size(), have) != 0)
            return false;
        const std::string& put = forward ? s.after : s.before;
        expectedSize = expectedSize - have.size() + put.size();
    }
    // Only the last splice may change the length, so applying from the end keeps the offsets.
    for (auto it = splices.rbegin(); it != splices.rend(); ++it) {
        const std::string& have = forward ? it->before : it->after;
        const std::string& put = forward ? it->after : it->before;
        image.replace(it->offset, have.size(), put);
    }
    return image.size() == expectedSize;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<Splice> DiffImages(std::string_view before, std::string_view after) {
    const size_t shorter = std::min(before.size(), after.size());
    size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::string_view midBefore = before.substr(prefix, before.size() - prefix - suffix);
    const std::string_view midAfter = after.substr(prefix, after.size() - prefix - suffix);
    const size_t common = std::min(midBefore.size(), midAfter.size());

    std::vector<Splice> splices;
    size_t pos = 0;
    while (pos < common) {
        if (midBefore[pos] == midAfter[pos]) {
            ++pos;
            continue;
        }
        size_t end = pos + 1;
        size_t lastDiff = pos;
        while (end < common && end - lastDiff <= kJoinGap) {
            if (midBefore[end] != midAfter[end]) lastDiff = end;
            ++end;
        }
        // A run that reaches the end of the common part joins the length-changing tail.
        size_t stop = lastDiff + 1;
        if (midBefore.size() != midAfter.size() && common - stop <= kJoinGap) stop = common;
        splices.push_back({prefix + pos, std::string(midBefore.substr(pos, stop - pos)),
                           std::string(midAfter.substr(pos, stop - pos))});
        pos = stop;
    }
    if (midBefore.size() != midAfter.size()) {
        if (!splices.empty() && splices.back().offset + splices.back().before.size() == prefix + common) {
            splices.back().before += midBefore.substr(common);
            splices.back().after += midAfter.substr(common);
        } else {
            splices.push_back({prefix + common, std::string(midBefore.substr(common)),
                               std::string(midAfter.substr(common))});
        }
    }
    return splices;
}

bool ApplySplicesForward(std::string& image, const std::vector<Splice>& splices) {
    std::string work = image;
    if (!Apply(work, splices, true)) return false;
    image.swap(work);
    return true;
}

bool ApplySplicesBackward(std::string& image, const std::vector<Splice>& splices) {
    std::string work = image;
    if (!Apply(work, splices, false)) return false;
    image.swap(work);
    return true;
}

std::string ToHex(std::string_view bytes) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    return out;
}

bool FromHex(std::string_view hex, std::string& out) {
    out.clear();
    if (hex.size() % 2) return false;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi << 4 | lo);
    }
    return true;
}

}  // namespace morvi
