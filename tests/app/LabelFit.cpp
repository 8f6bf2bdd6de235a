#include "LabelFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>

namespace morvi::test {
namespace {

std::string Name(const QWidget* w, const QString& text) {
    return (w->objectName() + QStringLiteral(" \"") + text + QStringLiteral("\"")).toStdString();
}

QString TextOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    return {};
}

std::string Sizes(int need, int room) {
    return " needs " + std::to_string(need) + " px, has " + std::to_string(room);
}

// What is drawn of a button's text: "&x" underlines x, "&&" is one '&'.
QString WithoutMnemonics(const QString& text) {
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

void CheckLabel(QLabel* label, bool changing, std::vector<std::string>& problems) {
    const QRect room = label->contentsRect();
    const QFontMetrics metrics = label->fontMetrics();
    if (metrics.height() > room.height())
        problems.push_back(Name(label, label->text()) + " is " + std::to_string(room.height()) + " px high, its line " +
                           std::to_string(metrics.height()));
    if (changing || label->text().isEmpty()) return;
    if (label->wordWrap()) {
        if (label->heightForWidth(label->width()) > label->height())
            problems.push_back(Name(label, label->text()) + " does not fit on its lines");
        return;
    }
    const int need = metrics.horizontalAdvance(label->text()) + 2 * label->margin();
    if (need > room.width()) problems.push_back(Name(label, label->text()) + Sizes(need, room.width()));
}

void CheckButton(QAbstractButton* button, std::vector<std::string>& problems) {
    const QString text = WithoutMnemonics(button->text());
    if (text.isEmpty()) return;
    const int need = button->fontMetrics().horizontalAdvance(text);
    int room = button->width();
    QStyle* style = button->style();
    if (qobject_cast<QCheckBox*>(button)) {
        room -= style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, button) +
                style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, button);
    } else {
        room -= 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    }
    if (need > room) problems.push_back(Name(button, text) + Sizes(need, room));
}

void CheckHeadings(QTableView* table, std::vector<std::string>& problems) {
    QHeaderView* header = table->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int column = 0; column < header->count(); ++column) {
        const QString heading = table->model() ? table->model()->headerData(column, Qt::Horizontal).toString() : QString();
        const int width = header->sectionSize(column);
        if (heading.isEmpty() || width == 0 || header->isSectionHidden(column)) continue;
        const int need = header->fontMetrics().horizontalAdvance(heading) + 2 * margin;
        if (need > width)
            problems.push_back("heading " + std::to_string(column) + " \"" + heading.toStdString() + "\"" + Sizes(need, width));
    }
}

}  // namespace

std::vector<std::string> CutTexts(QWidget* window, const QStringList& changingTexts) {
    std::vector<std::string> problems;
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(window)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            CheckLabel(label, changingTexts.contains(label->objectName()), problems);
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            const int need = frame->fontMetrics().horizontalAdvance(frame->title());
            if (need > frame->width()) problems.push_back(Name(frame, frame->title()) + Sizes(need, frame->width()));
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            CheckButton(button, problems);
        } else if (auto* table = qobject_cast<QTableView*>(w)) {
            CheckHeadings(table, problems);
        }
    }
    return problems;
}

std::vector<std::string> OverlappingControls(QWidget* window) {
    std::vector<QWidget*> controls;
    std::vector<std::string> problems;
    for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(window) || qobject_cast<QGroupBox*>(w)) continue;
        if (!window->rect().contains(w->geometry())) problems.push_back(Name(w, TextOf(w)) + " reaches out of the window");
        controls.push_back(w);
    }
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i]->geometry().intersects(controls[j]->geometry()))
                problems.push_back(Name(controls[i], TextOf(controls[i])) + " overlaps " +
                                  Name(controls[j], TextOf(controls[j])));
    return problems;
}

}  // namespace morvi::test
