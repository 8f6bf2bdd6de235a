#include "dialog/TemplateFit.h"

#include <algorithm>

namespace morvi {
namespace {

bool IsObstacle(const FitControl& c) { return c.item->kind != ControlKind::GroupBox; }

bool IsButton(ControlKind kind) { return kind == ControlKind::Button || kind == ControlKind::DefaultButton; }

// The room a control's text needs beside the text itself.
int Frame(ControlKind kind, const FitSpacing& spacing) {
    if (IsButton(kind)) return spacing.buttonPadding;
    if (kind == ControlKind::CheckBox) return spacing.checkBox;
    return 0;
}

struct Room {
    int left = 0, right = 0;
};

// Free pixels left and right of `r` before another control on the same rows, a gap short of it.
Room FreeRoom(std::span<const FitControl> controls, const std::vector<FitResult>& placed, size_t self,
              const FitRect& r, const FitSpacing& spacing) {
    Room room{r.left - spacing.leftLimit, spacing.rightLimit - r.right};
    for (size_t i = 0; i < controls.size(); ++i) {
        const FitRect& o = placed[i].rect;
        if (i == self || !IsObstacle(controls[i]) || !o.SharesRowsWith(r)) continue;
        if (o.right <= r.left) room.left = std::min(room.left, r.left - o.right - spacing.gap);
        else if (o.left >= r.right) room.right = std::min(room.right, o.left - r.right - spacing.gap);
    }
    return {std::max(0, room.left), std::max(0, room.right)};
}

// A label never covers the control it names (the template may overlap them slightly).
void KeepClearOfTheNamedControl(std::span<const FitControl> controls, const std::vector<FitResult>& placed,
                                size_t self, FitRect& r) {
    for (size_t i = 0; i < controls.size(); ++i) {
        const FitRect& o = placed[i].rect;
        if (i != self && IsObstacle(controls[i]) && o.SharesRowsWith(r) && o.left > r.left && o.left < r.right)
            r.right = o.left;
    }
}

// The first smaller size at which the text fits, else the smallest allowed.
int SmallerPointsToFit(size_t index, int room, int frame, const MeasureSmaller& measure, int maxSmaller) {
    for (int step = 1; step <= maxSmaller; ++step)
        if (measure(index, step) + frame <= room) return step;
    return maxSmaller;
}

}  // namespace

std::vector<FitResult> FitTemplateTexts(std::span<const FitControl> controls, const FitSpacing& spacing,
                                        const MeasureSmaller& measure, int maxSmallerPoints) {
    std::vector<FitResult> placed;
    placed.reserve(controls.size());
    for (const FitControl& c : controls) placed.push_back({c.rect, 0});

    for (size_t i = 0; i < controls.size(); ++i) {
        const FitControl& c = controls[i];
        const ControlKind kind = c.item->kind;
        const bool wraps = (c.item->styles & style::kWrap) != 0;
        FitRect& r = placed[i].rect;
        const int frame = Frame(kind, spacing);
        bool fitsText = true;   // status lines, wrapping labels and frames keep their width
        if (kind == ControlKind::Label && c.item->id == 0 && !wraps) {
            KeepClearOfTheNamedControl(controls, placed, i, r);
            const int missing = c.textWidth - r.Width();
            if (missing > 0) {
                const Room room = FreeRoom(controls, placed, i, r, spacing);
                if (c.item->styles & style::kFitLeft) r.left -= std::min(missing, room.left);
                else r.right += std::min(missing, room.right);
            }
        } else if (IsButton(kind)) {
            const int missing = c.textWidth + frame - r.Width();
            if (missing > 0) {
                const Room room = FreeRoom(controls, placed, i, r, spacing);
                const int takeLeft = std::min(room.left, std::max((missing + 1) / 2, missing - room.right));
                const int takeRight = std::min(room.right, missing - takeLeft);
                r.left -= takeLeft;
                r.right += takeRight;
            }
        } else if (kind == ControlKind::CheckBox) {
            const int missing = c.textWidth + frame - r.Width();
            if (missing > 0) {
                const Room room = FreeRoom(controls, placed, i, r, spacing);
                const int takeRight = std::min(room.right, missing);
                r.right += takeRight;
                r.left -= std::min(room.left, missing - takeRight);
            }
        } else {
            fitsText = false;
        }
        if (fitsText && c.textWidth + frame > r.Width())
            placed[i].smallerPoints = SmallerPointsToFit(i, r.Width(), frame, measure, maxSmallerPoints);
        // A line of text is never cut at the bottom.
        if (kind == ControlKind::Label && !wraps && c.lineHeight > r.Height()) r.bottom = r.top + c.lineHeight;
    }
    return placed;
}

}  // namespace morvi
