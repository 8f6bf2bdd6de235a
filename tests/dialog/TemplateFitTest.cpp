// Fitting texts into the template's rectangles: labels grow into free room on the side they may
// take, buttons and check boxes grow, then take a smaller font; status lines and wrapping texts
// keep their width; and however wide the texts, no two controls come to overlap.
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog/ControlIds.h"
#include "dialog/TemplateFit.h"

namespace morvi {
namespace {

constexpr FitSpacing kSpacing{3, 6, 16, 0, 400};

// Each text's width at 0, 1, 2 points smaller.
struct Widths {
    int normal, smaller1, smaller2;
};

struct Case {
    const char* what;
    std::vector<DialogItem> items;       // rectangles taken as pixels
    std::vector<Widths> widths;
    size_t index;                        // the control looked at
    FitRect expected;
    int expectedSmaller;
};

using K = ControlKind;
constexpr int kLineHeight = 10;

std::vector<FitResult> Fit(const std::vector<DialogItem>& items, const std::vector<Widths>& widths) {
    std::vector<FitControl> controls;
    for (size_t i = 0; i < items.size(); ++i) {
        const DialogItem& d = items[i];
        controls.push_back({&d, {d.x, d.y, d.x + d.cx, d.y + d.cy}, widths[i].normal, kLineHeight});
    }
    const auto measure = [&](size_t i, int smaller) {
        return smaller == 1 ? widths[i].smaller1 : widths[i].smaller2;
    };
    return FitTemplateTexts(controls, kSpacing, measure, 2);
}

DialogItem Label(int x, int y, int cx, unsigned styles = style::kFitLeft) {
    return {0, K::Label, TextId::LabelPosX, x, y, cx, kLineHeight, styles};
}
DialogItem Edit(int x, int y, int cx) { return {IDC_POS_X, K::Edit, kNoText, x, y, cx, 12, style::kNone}; }
DialogItem Button(int x, int y, int cx) { return {IDC_EXCHANGE, K::Button, TextId::LabelExchange, x, y, cx, 14, style::kNone}; }
DialogItem Check(int x, int y, int cx) { return {IDC_CONTINUE, K::CheckBox, TextId::LabelContinue, x, y, cx, 10, style::kNone}; }

const std::vector<Case>& Cases() {
    static const std::vector<Case> cases{
        {"a label that fits stays", {Label(50, 0, 40), Edit(90, 0, 30)}, {{35, 30, 25}, {0, 0, 0}}, 0, {50, 0, 90, 10}, 0},
        {"a label grows to the left, a gap short of its neighbour",
         {Edit(0, 0, 30), Label(50, 0, 40), Edit(90, 0, 30)}, {{0, 0, 0}, {55, 50, 45}, {0, 0, 0}}, 1, {35, 0, 90, 10}, 0},
        {"a label with too little room takes a smaller font",
         {Edit(0, 0, 40), Label(50, 0, 40), Edit(90, 0, 30)}, {{0, 0, 0}, {60, 46, 40}, {0, 0, 0}}, 1, {43, 0, 90, 10}, 1},
        {"with no size small enough it takes the smallest",
         {Edit(0, 0, 47), Label(50, 0, 40), Edit(90, 0, 30)}, {{0, 0, 0}, {80, 70, 60}, {0, 0, 0}}, 1, {50, 0, 90, 10}, 2},
        {"a label never covers the control it names", {Label(50, 0, 50), Edit(90, 0, 30)}, {{35, 30, 25}, {0, 0, 0}}, 0,
         {50, 0, 90, 10}, 0},
        {"a label without kFitLeft grows to the right", {Label(50, 0, 40, style::kNone), Edit(200, 0, 30)},
         {{70, 60, 50}, {0, 0, 0}}, 0, {50, 0, 120, 10}, 0},
        {"a button grows on both sides alike", {Edit(0, 0, 50), Button(100, 0, 40), Edit(200, 0, 30)},
         {{0, 0, 0}, {54, 40, 30}, {0, 0, 0}}, 1, {90, 0, 150, 14}, 0},
        {"a button short of room on one side takes it from the other", {Edit(0, 0, 95), Button(100, 0, 40), Edit(200, 0, 30)},
         {{0, 0, 0}, {54, 40, 30}, {0, 0, 0}}, 1, {98, 0, 158, 14}, 0},
        {"a button with no room takes a smaller font", {Edit(0, 0, 97), Button(100, 0, 40), Edit(143, 0, 30)},
         {{0, 0, 0}, {54, 34, 30}, {0, 0, 0}}, 1, {100, 0, 140, 14}, 1},
        {"a check box grows to the right first", {Edit(0, 0, 50), Check(100, 0, 40), Edit(200, 0, 30)},
         {{0, 0, 0}, {40, 30, 20}, {0, 0, 0}}, 1, {100, 0, 156, 10}, 0},
        {"then to the left", {Edit(0, 0, 50), Check(100, 0, 40), Edit(145, 0, 30)},
         {{0, 0, 0}, {40, 30, 20}, {0, 0, 0}}, 1, {86, 0, 142, 10}, 0},
        {"controls on other rows are no obstacle", {Edit(0, 20, 99), Button(100, 0, 40), Edit(141, 20, 30)},
         {{0, 0, 0}, {54, 40, 30}, {0, 0, 0}}, 1, {90, 0, 150, 14}, 0},
        {"frames are no obstacle",
         {{0, K::GroupBox, TextId::LabelServerFrame, 0, 0, 400, 100, style::kNone}, Button(100, 10, 40)},
         {{0, 0, 0}, {54, 40, 30}}, 1, {90, 10, 150, 24}, 0},
        {"nothing grows past the window's edges", {Button(0, 0, 40)}, {{54, 40, 30}}, 0, {0, 0, 60, 14}, 0},
        {"a status line keeps its width and takes a line's height",
         {{IDC_HINT, K::Label, TextId::LabelHintPlaceholder, 50, 0, 40, 8, style::kNone}}, {{90, 80, 70}}, 0,
         {50, 0, 90, 10}, 0},
        {"a wrapping text keeps its rectangle",
         {{0, K::Label, TextId::LabelContact, 50, 0, 40, 30, style::kWrap}}, {{90, 80, 70}}, 0, {50, 0, 90, 30}, 0},
    };
    return cases;
}

TEST(TemplateFit, EachKindOfControlTakesTheRoomItMay) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        const std::vector<FitResult> fitted = Fit(c.items, c.widths);
        ASSERT_EQ(fitted.size(), c.items.size());
        const FitRect& r = fitted[c.index].rect;
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
        EXPECT_EQ(fitted[c.index].smallerPoints, c.expectedSmaller);
    }
}

// The real main window and About box at 100 %, 150 % and 200 % with texts of every width, from
// fitting easily to far too wide: controls that did not overlap in the template never do after.
TEST(TemplateFit, TheTemplatesNeverGainAnOverlapHoweverWideTheTexts) {
    struct Scale {
        int baseX, baseY;
    };
    const Scale scales[] = {{6, 13}, {9, 20}, {12, 26}};
    struct Template {
        const char* name;
        std::span<const DialogItem> items;
        int widthDu;
    };
    const Template templates[] = {{"main", MainWindowTemplate(), kMainWidthDu}, {"about", AboutTemplate(), kAboutWidthDu}};
    const double textFactors[] = {0.5, 1.0, 1.3, 2.0, 4.0};
    for (const Template& t : templates) {
        for (const Scale& s : scales) {
            for (double factor : textFactors) {
                SCOPED_TRACE(std::string(t.name) + " at " + std::to_string(s.baseX) + "x" + std::to_string(s.baseY) +
                             ", texts x" + std::to_string(factor));
                auto px = [&](int du, int base, int per) { return (du * base + per / 2) / per; };
                std::vector<FitControl> controls;
                for (const DialogItem& d : t.items) {
                    const FitRect r{px(d.x, s.baseX, 4), px(d.y, s.baseY, 8), px(d.x + d.cx, s.baseX, 4),
                                    px(d.y + (d.kind == K::DropList ? 12 : d.cy), s.baseY, 8)};
                    controls.push_back({&d, r, static_cast<int>(r.Width() * factor), s.baseY});
                }
                FitSpacing spacing = kSpacing;
                spacing.leftLimit = px(4, s.baseX, 4);
                spacing.rightLimit = px(t.widthDu - 4, s.baseX, 4);
                const auto measure = [&](size_t i, int smaller) { return controls[i].textWidth * (9 - smaller) / 9; };
                const std::vector<FitResult> fitted = FitTemplateTexts(controls, spacing, measure, 2);
                auto overlap = [](const FitRect& a, const FitRect& b) {
                    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
                };
                for (size_t i = 0; i < controls.size(); ++i) {
                    EXPECT_GE(fitted[i].smallerPoints, 0);
                    EXPECT_LE(fitted[i].smallerPoints, 2);
                    for (size_t j = i + 1; j < controls.size(); ++j) {
                        if (controls[i].item->kind == K::GroupBox || controls[j].item->kind == K::GroupBox) continue;
                        if (overlap(controls[i].rect, controls[j].rect)) continue;   // the template's own
                        EXPECT_FALSE(overlap(fitted[i].rect, fitted[j].rect)) << "controls " << i << " and " << j;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace morvi
