#include "LanguageFit.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

namespace morvi::test {
namespace {

// What a control draws besides its text, in pixels.
constexpr int kButtonEdgesPx = 6;     // both edges of a push button and their gaps
constexpr int kFrameMarginPx = 16;    // a frame's line before and after its caption

}  // namespace

std::vector<CutText> CutTemplateTexts(std::span<const DialogItem> table, const QFont& font, const DialogUnits& units) {
    const QFontMetrics metrics(font);
    const QStyle* style = QApplication::style();
    std::vector<CutText> cut;
    for (const DialogItem& item : table) {
        if (item.text == kNoText) continue;
        const QString text = QString::fromUtf8(Text(item.text).data());
        const QRect rect = units.ToPixels(item.x, item.y, item.cx, item.cy);
        int room = rect.width();
        switch (item.kind) {
        case ControlKind::Button:
        case ControlKind::DefaultButton: room -= kButtonEdgesPx; break;
        case ControlKind::CheckBox:
            room -= style->pixelMetric(QStyle::PM_IndicatorWidth) + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            break;
        case ControlKind::GroupBox: room -= kFrameMarginPx; break;
        case ControlKind::Label: break;
        default: continue;
        }
        if (item.kind == ControlKind::Label && (item.styles & style::kWrap)) {
            const int needed = metrics.boundingRect(QRect(0, 0, room, 10000), Qt::TextWordWrap, text).height();
            if (needed > rect.height()) cut.push_back({text.toStdString(), needed, rect.height()});
            continue;
        }
        const int needed = metrics.horizontalAdvance(text);
        if (needed > room) cut.push_back({text.toStdString(), needed, room});
    }
    return cut;
}

std::string Describe(const std::vector<CutText>& cut) {
    std::string out;
    for (const CutText& c : cut)
        out += "\n  \"" + c.text + "\" (" + std::to_string(c.needed) + " > " + std::to_string(c.room) + ")";
    return out;
}

}  // namespace morvi::test
