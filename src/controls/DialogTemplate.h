#pragma once
// Dialog templates (the shared tables of dialog/WindowTemplateTables.h) turned into Qt widgets
// placed the way Windows places dialog items.

#include <functional>
#include <span>
#include <vector>

#include <QFont>
#include <QRect>

#include "dialog/WindowTemplateTables.h"

class QWidget;

namespace morvi {

struct DialogUnits {
    int baseX = 0;   // average character width of the dialog font, pixels
    int baseY = 0;   // character height of the dialog font, pixels

    // Windows' rule: the width of "A..Za..z" divided by 26, plus one, halved; the font height.
    static DialogUnits ForFont(const QFont& font);
    int X(int du) const;
    int Y(int du) const;
    // Edges are converted separately, so adjacent rectangles stay adjacent in pixels.
    QRect ToPixels(int x, int y, int cx, int cy) const;
};

// The dialog font: the desktop's default sans-serif at 9 points (stands in for "MS Shell Dlg"),
// with CJK families behind it so Chinese texts never fall back to empty boxes.
QFont DialogFont();
// Families tried after the dialog font for characters it lacks.
QStringList CjkFallbackFamilies();

using ControlFactory = std::function<QWidget*(const DialogItem&, QWidget* parent)>;

// Creates the controls of a template as children of `dialog` (already at its final size), in
// table (tab) order, and returns them in that order. Controls with an id get the object name
// "id<id>". Group boxes are kept behind the controls they frame. ReportList controls come
// from `factory`. Texts that the dialog font makes wider than their rectangles are fitted:
// labels grow to the left or wrap beside their control, buttons grow or take a smaller font.
std::vector<QWidget*> CreateControls(QWidget* dialog, std::span<const DialogItem> table,
                                     const DialogUnits& units, const ControlFactory& factory = {});

// Puts the table's texts, in the language Text() speaks now, on the controls CreateControls
// made (`widgets`, one per entry of `table`) and fits them again as CreateControls does, in a
// dialog of the template's size. Returns each control's rectangle at that size (empty when the
// widgets are not one per entry); the caller places them.
std::vector<QRect> RetextControls(QSize templateSize, std::span<const DialogItem> table,
                                  const std::vector<QWidget*>& widgets, const DialogUnits& units);

}  // namespace morvi
