#include "controls/DialogTemplate.h"

#include <algorithm>
#include <climits>

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "controls/ProgramResources.h"

namespace morvi {
namespace {

// MulDiv rounds to the nearest integer; dialog units are never negative here.
int MulDivRound(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

QLabel* CreateLabel(const DialogItem& item, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(Text(item.text).data()), parent);
    label->setTextFormat(Qt::PlainText);
    // Windows statics draw from the top-left corner of their rectangle.
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(item.styles & style::kWrap);
    return label;
}

// --- fitting texts into the template's rectangles ---------------------------------------------
//
// The template was drawn for one Windows font; other fonts make some texts wider than their
// rectangles. Every text must stay readable, so after placing the controls a label that would
// be cut grows into free space towards the left (it names the control on its right), and as a
// last resort wraps onto two lines beside its control; a push button grows into the free space
// on both sides and then takes a smaller font.

constexpr int kGapPx = 3;          // kept between a grown control and its neighbours
constexpr int kButtonPaddingPx = 6;
constexpr int kMinButtonPointSize = 7;

struct Placed {
    const DialogItem* item;
    QWidget* widget;
    QRect rect;
};

bool IsObstacle(const Placed& p) { return p.item->kind != ControlKind::GroupBox; }

bool SharesRows(const QRect& a, const QRect& b) { return a.top() <= b.bottom() && b.top() <= a.bottom(); }

// Free pixels to the left and right of `rect` before another control on the same rows.
std::pair<int, int> FreeSpace(const std::vector<Placed>& placed, size_t self, const QRect& rect,
                              int leftLimit, int rightLimit) {
    int left = rect.left() - leftLimit;
    int right = rightLimit - rect.right();
    for (size_t i = 0; i < placed.size(); ++i) {
        if (i == self || !IsObstacle(placed[i]) || !SharesRows(placed[i].rect, rect))
            continue;
        const QRect& o = placed[i].rect;
        if (o.right() < rect.left())
            left = std::min(left, rect.left() - o.right() - 1 - kGapPx);
        else if (o.left() > rect.right())
            right = std::min(right, o.left() - rect.right() - 1 - kGapPx);
    }
    return {std::max(0, left), std::max(0, right)};
}

void FitLabel(std::vector<Placed>& placed, size_t self, int leftLimit) {
    Placed& me = placed[self];
    auto* label = static_cast<QLabel*>(me.widget);
    QRect& r = me.rect;
    // A label never covers the control it names (the template may overlap them slightly).
    for (size_t i = 0; i < placed.size(); ++i) {
        const QRect& o = placed[i].rect;
        if (i != self && IsObstacle(placed[i]) && SharesRows(o, r) && o.left() > r.left() && o.left() <= r.right())
            r.setRight(o.left() - 1);
    }
    const QSize hint = label->sizeHint();
    if ((me.item->styles & style::kFitLeft) && hint.width() > r.width()) {
        int room = r.width() + FreeSpace(placed, self, r, leftLimit, r.right()).first;
        if (hint.width() <= room) {
            r.setLeft(r.right() + 1 - hint.width());
        } else {
            // Two lines, right-aligned against the control that follows in the table and
            // centred on its height; the room is measured again on the rows now taken.
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            const QRect anchor = self + 1 < placed.size() ? placed[self + 1].rect : r;
            for (int pass = 0; pass < 2; ++pass) {
                const int height = label->heightForWidth(room);
                r.setTop(anchor.center().y() - height / 2);
                r.setHeight(height);
                r.setLeft(r.right() + 1 - room);
                const QRect line(r.right(), r.top(), 1, r.height());
                room = 1 + FreeSpace(placed, self, line, leftLimit, r.right()).first;
            }
            r.setLeft(r.right() + 1 - room);
            r.setHeight(std::max(r.height(), label->heightForWidth(room)));
            return;
        }
    }
    // A line of text must never be cut at the bottom.
    if (hint.height() > r.height())
        r.setHeight(hint.height());
}

void FitButton(std::vector<Placed>& placed, size_t self, int rightLimit) {
    Placed& me = placed[self];
    QRect& r = me.rect;
    auto needed = [&] { return me.widget->fontMetrics().horizontalAdvance(static_cast<QPushButton*>(me.widget)->text()) + kButtonPaddingPx; };
    int missing = needed() - r.width();
    if (missing <= 0)
        return;
    auto [left, right] = FreeSpace(placed, self, r, 0, rightLimit);
    const int takeLeft = std::min(left, std::max((missing + 1) / 2, missing - right));
    const int takeRight = std::min(right, missing - takeLeft);
    r.adjust(-takeLeft, 0, takeRight, 0);
    QFont font = me.widget->font();
    while (needed() > r.width() && font.pointSize() > kMinButtonPointSize) {
        font.setPointSize(font.pointSize() - 1);
        me.widget->setFont(font);
    }
}

void FitTexts(std::vector<Placed>& placed, const DialogUnits& units, const QSize& client) {
    const int leftLimit = units.X(4);
    const int rightLimit = client.isValid() ? client.width() - 1 - units.X(4) : INT_MAX / 2;
    // Wrapping statics keep their width and end below their last line of text, so the empty
    // rest of their rectangle is free for neighbours that need to grow.
    for (Placed& p : placed) {
        if (p.item->kind == ControlKind::Label && (p.item->styles & style::kWrap))
            p.rect.setHeight(std::min(p.rect.height(), p.widget->heightForWidth(p.rect.width())));
    }
    for (size_t i = 0; i < placed.size(); ++i) {
        const ControlKind kind = placed[i].item->kind;
        if (kind == ControlKind::Label && !placed[i].item->id && !(placed[i].item->styles & style::kWrap))
            FitLabel(placed, i, leftLimit);
        else if (kind == ControlKind::Label && !(placed[i].item->styles & style::kWrap)) {
            // Status lines: their texts change; only their height follows the font.
            const int h = placed[i].widget->sizeHint().height();
            if (h > placed[i].rect.height())
                placed[i].rect.setHeight(h);
        } else if (kind == ControlKind::Button || kind == ControlKind::DefaultButton)
            FitButton(placed, i, rightLimit);
    }
}

QLineEdit* CreateEdit(const DialogItem& item, QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromUtf8(Text(item.text).data()), parent);
    if (item.styles & style::kDigits) {
        // Digits only, any length: an integer validator would refuse long digit strings
        // and accept signs, neither of which the numeric fields allow.
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    }
    if (item.styles & style::kRight)
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

}  // namespace

DialogUnits DialogUnits::ForFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogUnits units;
    units.baseX = (letters / 26 + 1) / 2;
    units.baseY = metrics.height();
    return units;
}

int DialogUnits::X(int du) const { return MulDivRound(du, baseX, 4); }
int DialogUnits::Y(int du) const { return MulDivRound(du, baseY, 8); }

QRect DialogUnits::ToPixels(int x, int y, int cx, int cy) const {
    const int left = X(x), top = Y(y);
    return QRect(left, top, X(x + cx) - left, Y(y + cy) - top);
}

QStringList CjkFallbackFamilies() {
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("SimSun"), QStringLiteral("PingFang SC")};
}

QFont DialogFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(9);
    QStringList families{font.family()};
    families += CjkFallbackFamilies();
    font.setFamilies(families);
    return font;
}

std::vector<QWidget*> CreateControls(QWidget* dialog, std::span<const DialogItem> table,
                                     const DialogUnits& units, const ControlFactory& factory) {
    std::vector<Placed> placed;
    placed.reserve(table.size());
    for (const DialogItem& item : table) {
        QRect rect = units.ToPixels(item.x, item.y, item.cx, item.cy);
        QWidget* widget = nullptr;
        const QString text = QString::fromUtf8(Text(item.text).data());
        switch (item.kind) {
        case ControlKind::GroupBox:
            widget = new QGroupBox(text, dialog);
            break;
        case ControlKind::Label:
            widget = CreateLabel(item, dialog);
            break;
        case ControlKind::Button:
        case ControlKind::DefaultButton: {
            auto* button = new QPushButton(text, dialog);
            if (item.kind == ControlKind::DefaultButton)
                button->setDefault(true);
            widget = button;
            break;
        }
        case ControlKind::CheckBox:
            widget = new QCheckBox(text, dialog);
            break;
        case ControlKind::ListBox: {
            auto* list = new QListWidget(dialog);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setUniformItemSizes(true);
            list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            widget = list;
            break;
        }
        case ControlKind::ReportList:
            widget = factory ? factory(item, dialog) : nullptr;
            break;
        case ControlKind::Edit:
            widget = CreateEdit(item, dialog);
            break;
        case ControlKind::DropList: {
            auto* combo = new QComboBox(dialog);
            // The template's height includes the dropped-down list; the closed box is as
            // high as the font needs.
            rect.setHeight(combo->sizeHint().height());
            widget = combo;
            break;
        }
        case ControlKind::Icon: {
            auto* icon = new QLabel(dialog);
            // A static icon control takes the icon's own size, whatever its rectangle says.
            icon->setPixmap(ProgramIcon().pixmap(32, 32));
            rect.setSize(QSize(32, 32));
            widget = icon;
            break;
        }
        }
        if (!widget)
            continue;
        if (item.id != 0)
            widget->setObjectName(QStringLiteral("id%1").arg(item.id));
        placed.push_back({&item, widget, rect});
    }
    FitTexts(placed, units, dialog->size());
    std::vector<QWidget*> created;
    created.reserve(placed.size());
    for (const Placed& p : placed) {
        p.widget->setGeometry(p.rect);
        created.push_back(p.widget);
    }
    // Frames are drawn behind everything so they never take clicks meant for their contents.
    for (const Placed& p : placed)
        if (p.item->kind == ControlKind::GroupBox)
            p.widget->lower();
    return created;
}

std::vector<QRect> RetextControls(QSize templateSize, std::span<const DialogItem> table,
                                  const std::vector<QWidget*>& widgets, const DialogUnits& units) {
    if (widgets.size() != table.size())
        return {};
    std::vector<Placed> placed;
    placed.reserve(table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const DialogItem& item = table[i];
        QWidget* widget = widgets[i];
        QRect rect = units.ToPixels(item.x, item.y, item.cx, item.cy);
        const QString text = QString::fromUtf8(Text(item.text).data());
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            frame->setTitle(text);
        } else if (auto* label = qobject_cast<QLabel*>(widget); label && item.kind == ControlKind::Label) {
            // As CreateLabel made it: fitting the text of another language starts over.
            label->setText(text);
            label->setWordWrap(item.styles & style::kWrap);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->setText(text);
            button->setFont(QFont());   // the dialog's font again, before a smaller one is chosen
        }
        if (item.kind == ControlKind::DropList)
            rect.setHeight(widget->sizeHint().height());
        else if (item.kind == ControlKind::Icon)
            rect.setSize(QSize(32, 32));
        placed.push_back({&item, widget, rect});
    }
    FitTexts(placed, units, templateSize);
    std::vector<QRect> rects;
    rects.reserve(placed.size());
    for (const Placed& p : placed)
        rects.push_back(p.rect);
    return rects;
}

}  // namespace morvi
