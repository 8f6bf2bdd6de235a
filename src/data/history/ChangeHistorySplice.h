#pragma once
// The byte-for-byte difference between two images of one file, as a few splices: each says
// which bytes stood at an offset before and which stand there after. All splices but the last
// keep their length, so every offset is the same in both images, and the difference applies
// in either direction. A single-record change of a large region file costs a few hundred bytes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvi {

struct Splice {
    uint64_t offset = 0;
    std::string before;
    std::string after;
    bool operator==(const Splice&) const = default;
};

// Common prefix and suffix are left out; the middles are compared at equal offsets, runs of
// differing bytes (joined across short equal gaps) become splices, and a length difference
// becomes one last splice at the end of the shorter middle.
std::vector<Splice> DiffImages(std::string_view before, std::string_view after);

// Turns `image` from the before state into the after state (forward) or back (backward).
// False, and `image` unchanged, when the image does not hold the bytes the splices expect.
bool ApplySplicesForward(std::string& image, const std::vector<Splice>& splices);
bool ApplySplicesBackward(std::string& image, const std::vector<Splice>& splices);

std::string ToHex(std::string_view bytes);
// False on an odd length or a character that is not a hexadecimal digit.
bool FromHex(std::string_view hex, std::string& out);

}  // namespace morvi
