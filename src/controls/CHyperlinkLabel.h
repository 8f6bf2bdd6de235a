#pragma once
// A clickable link drawn as blue, underlined italic text. It is created at run time inside a
// parent window (not part of any dialog template), shows its own cursor, holds the mouse while
// the pointer is over it so it learns when the pointer leaves, and calls a function when
// clicked.

#include <functional>

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QString>
#include <QWidget>

namespace morvi {

struct HyperlinkParams {
    QWidget* parent = nullptr;        // must be given
    int id = 0;                       // object name "id<id>" when not 0
    int x = 0, y = 0;                 // position in the parent, pixels
    int width = 0, height = 0;        // pixels, both > 0
    QString face;                     // font face; must be given (falls back to sans-serif)
    int fontHeight = 0;               // character cell height in pixels (ascent + descent)
    bool bold = false;
    QColor normalColour;
    QColor hoverColour;
    QColor backgroundColour;
    bool hasBackground = false;       // else the text is drawn over the parent
    bool useCursor = false;
    QCursor cursor;
    std::function<void(int)> onClick;  // called with 0 on each press; may be empty
    QString text;
};

class CHyperlinkLabel : public QWidget {
    Q_OBJECT
public:
    CHyperlinkLabel();
    ~CHyperlinkLabel() override;

    // Places the label in its parent and shows it. False (and nothing shown) when the parent
    // is missing, the size is not positive, or no face is given.
    bool CreateLink(const HyperlinkParams& params);

    bool IsHovering() const { return m_hovering; }
    const QString& Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateHovering(const QPoint& localPos);
    void SetHovering(bool hovering);

    QFont m_font;
    QColor m_normal;
    QColor m_hover;
    QColor m_background;
    bool m_hasBackground = false;
    bool m_hovering = false;
    std::function<void(int)> m_onClick;
    QString m_text;
};

// Pixel size for a font whose character cell (ascent + descent) should be `cellHeight` pixels,
// as Windows fonts are sized by a positive height.
int PixelSizeForCellHeight(const QFont& font, int cellHeight);

}  // namespace morvi
