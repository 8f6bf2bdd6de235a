#pragma once
// Fitting a template's texts into their rectangles when the dialog font is not the one the
// template was drawn for (another system's fonts, another DPI, a longer translation). Works on
// plain pixel rectangles and measured text widths, so every front end can use it:
//   - a label that names the control on its right never covers that control; when its text is
//     wider than its rectangle it grows to the left (style kFitLeft) or to the right into free
//     space on its rows, then takes a smaller font;
//   - a push button grows into the free space on both sides, then takes a smaller font;
//   - a check box grows to the right, then to the left, then takes a smaller font;
//   - a line of text is never cut at the bottom;
//   - status lines (labels with an id) and wrapping labels keep their width.
// Growing stops a gap short of every other control, so no two controls come to overlap.

#include <functional>
#include <span>
#include <vector>

#include "dialog/WindowTemplateTables.h"

namespace morvi {

struct FitRect {
    int left = 0, top = 0, right = 0, bottom = 0;   // right and bottom exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool SharesRowsWith(const FitRect& o) const { return top < o.bottom && o.top < bottom; }
};

struct FitControl {
    const DialogItem* item = nullptr;
    FitRect rect;          // where the template puts it, in pixels (a drop list: its closed box)
    int textWidth = 0;     // its text in its font, pixels
    int lineHeight = 0;    // one line of its font, pixels
};

struct FitSpacing {
    int gap = 3;           // kept between a grown control and its neighbours
    int buttonPadding = 6; // a push button's frame and margins around its text
    int checkBox = 16;     // a check box's box and the space before its text
    int leftLimit = 0;     // controls never grow past these edges of the client area
    int rightLimit = 0;    // (exclusive)
};

struct FitResult {
    FitRect rect;
    int smallerPoints = 0;   // how many points smaller than the dialog font its text is set
};

// The width of control `index`'s text set `smallerPoints` points smaller than the dialog font;
// the caller stops the search by answering a value above any room (or when the smallest size
// it allows is reached, by answering for that size again).
using MeasureSmaller = std::function<int(size_t index, int smallerPoints)>;

// Where each control goes and which font it takes; same order as `controls`.
std::vector<FitResult> FitTemplateTexts(std::span<const FitControl> controls, const FitSpacing& spacing,
                                        const MeasureSmaller& measure, int maxSmallerPoints);

}  // namespace morvi
