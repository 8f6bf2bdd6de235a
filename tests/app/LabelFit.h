#pragma once
// Checks a shown Qt window as a reader sees it: every text of its labels, buttons, check boxes,
// frames and list headings fits its widget in the widget's own font (QFontMetrics against the
// widget's rectangle), and no two controls overlap. Each problem is one line naming the widget
// and the sizes. Used at every scale and in every language.

#include <string>
#include <vector>

#include <QStringList>

class QWidget;

namespace morvi::test {

// Direct children named in `changingTexts` (status lines) show texts that change at run time:
// only their height is checked.
std::vector<std::string> CutTexts(QWidget* window, const QStringList& changingTexts = {});
std::vector<std::string> OverlappingControls(QWidget* window);

}  // namespace morvi::test
