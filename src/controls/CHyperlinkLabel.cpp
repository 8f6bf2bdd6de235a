#include "controls/CHyperlinkLabel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace morvi {

int PixelSizeForCellHeight(const QFont& font, int cellHeight) {
    QFont probe = font;
    probe.setPixelSize(cellHeight);
    const int measured = QFontMetrics(probe).height();
    if (measured <= 0)
        return cellHeight;
    return std::max(1, (cellHeight * cellHeight + measured / 2) / measured);
}

CHyperlinkLabel::CHyperlinkLabel() : QWidget(nullptr) {}

CHyperlinkLabel::~CHyperlinkLabel() {
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

bool CHyperlinkLabel::CreateLink(const HyperlinkParams& params) {
    if (!params.parent || params.width <= 0 || params.height <= 0 || params.face.isEmpty())
        return false;

    setParent(params.parent);
    if (params.id != 0)
        setObjectName(QStringLiteral("id%1").arg(params.id));
    setGeometry(params.x, params.y, params.width, params.height);

    // A missing face (such as a Windows-only one) falls back to the desktop's sans-serif.
    m_font = QFont(params.face);
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setWeight(params.bold ? QFont::Bold : QFont::Normal);
    m_font.setItalic(true);
    m_font.setUnderline(true);
    if (params.fontHeight > 0)
        m_font.setPixelSize(PixelSizeForCellHeight(m_font, params.fontHeight));

    m_hasBackground = params.hasBackground;
    m_background = params.backgroundColour;
    setAutoFillBackground(false);
    if (params.useCursor)
        setCursor(params.cursor);
    else
        unsetCursor();
    m_normal = params.normalColour;
    m_hover = params.hoverColour;
    m_onClick = params.onClick;
    m_text = params.text;
    setToolTip(m_text);
    // Mouse moves arrive without a pressed button, so hovering can be tracked.
    setMouseTracking(true);
    show();
    return true;
}

void CHyperlinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_hasBackground)
        painter.fillRect(rect(), m_background);
    painter.setFont(m_font);
    painter.setPen(m_hovering ? m_hover : m_normal);
    // Centred horizontally, from the top edge, as a multi-line text draw does.
    painter.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop, m_text);
}

void CHyperlinkLabel::UpdateHovering(const QPoint& localPos) {
    const bool inside = rect().contains(localPos);
    if (inside && QWidget::mouseGrabber() != this)
        grabMouse();
    else if (!inside && QWidget::mouseGrabber() == this)
        releaseMouse();
    SetHovering(inside);
}

void CHyperlinkLabel::SetHovering(bool hovering) {
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    update();   // show the hover colour at once
}

void CHyperlinkLabel::mouseMoveEvent(QMouseEvent* event) {
    UpdateHovering(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CHyperlinkLabel::mousePressEvent(QMouseEvent* event) {
    // While the label holds the mouse a press can land outside it: that one is not a click
    // on the link, it only ends the hovering.
    if (!rect().contains(event->position().toPoint())) {
        UpdateHovering(event->position().toPoint());
        QWidget::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton && m_onClick)
        m_onClick(0);
    QWidget::mousePressEvent(event);
}

void CHyperlinkLabel::leaveEvent(QEvent* event) {
    if (QWidget::mouseGrabber() != this)
        SetHovering(false);
    QWidget::leaveEvent(event);
}

void CHyperlinkLabel::hideEvent(QHideEvent* event) {
    // Losing visibility is like losing the capture: stop hovering and let go of the mouse.
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    SetHovering(false);
    QWidget::hideEvent(event);
}

}  // namespace morvi
