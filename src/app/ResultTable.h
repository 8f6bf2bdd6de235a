#pragma once
// What the find and compare windows share: a read-only result table whose column widths come
// in dialog units, and a status line that turns red for a warning.

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QTableView>

#include "dialog/FindAllView.h"

namespace morvi {

// Whole rows selected, no editing, one line a row; `width(c)` in dialog units.
template <typename ColumnOf>
void SetUpResultTable(QTableView& table, int columns, ColumnOf columnOf) {
    table.setSelectionBehavior(QAbstractItemView::SelectRows);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setWordWrap(false);
    table.verticalHeader()->setDefaultSectionSize(table.fontMetrics().height() + 4);
    const int charWidth = std::max(4, table.fontMetrics().averageCharWidth());
    for (int c = 0; c < columns; ++c) table.setColumnWidth(c, columnOf(c).width * charWidth / 4 + 8);
    table.horizontalHeader()->setStretchLastSection(true);
}

inline void ShowResultStatus(QLabel& label, const FindAllStatus& status) {
    label.setText(QString::fromUtf8(status.text.data(), static_cast<qsizetype>(status.text.size())));
    label.setStyleSheet(status.warning ? QStringLiteral("color: #b00000;") : QString());
}

}  // namespace morvi
