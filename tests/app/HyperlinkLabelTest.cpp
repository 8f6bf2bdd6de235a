// The link label: refused parameters, its look, hovering with the mouse held, and clicks.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/CHyperlinkLabel.h"
#include "controls/ProgramResources.h"

namespace morvi {
namespace {

HyperlinkParams ValidParams(QWidget* parent) {
    HyperlinkParams p;
    p.parent = parent;
    p.x = 10;
    p.y = 20;
    p.width = 150;
    p.height = 20;
    p.face = QStringLiteral("Microsoft Sans Serif");
    p.fontHeight = 15;
    p.normalColour = p.hoverColour = p.backgroundColour = QColor(0, 0, 255);
    p.useCursor = true;
    p.cursor = ProgramCursor();
    p.text = QStringLiteral("link");
    return p;
}

void MoveMouse(QWidget* target, QPoint local) {
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(target, &move);
}

TEST(HyperlinkLabelTest, RefusesParametersWithoutParentSizeOrFace) {
    QWidget parent;
    struct Case { const char* what; void (*spoil)(HyperlinkParams&); } cases[] = {
        {"no parent", [](HyperlinkParams& p) { p.parent = nullptr; }},
        {"zero width", [](HyperlinkParams& p) { p.width = 0; }},
        {"negative height", [](HyperlinkParams& p) { p.height = -5; }},
        {"no face", [](HyperlinkParams& p) { p.face.clear(); }},
    };
    for (const Case& c : cases) {
        CHyperlinkLabel label;
        HyperlinkParams p = ValidParams(&parent);
        c.spoil(p);
        EXPECT_FALSE(label.CreateLink(p)) << c.what;
        EXPECT_EQ(label.parentWidget(), nullptr) << c.what;
        EXPECT_FALSE(label.isVisible()) << c.what;
    }
}

TEST(HyperlinkLabelTest, ShowsBlueUnderlinedItalicTextWithItsOwnCursor) {
    QWidget parent;
    parent.resize(200, 60);
    CHyperlinkLabel label;
    ASSERT_TRUE(label.CreateLink(ValidParams(&parent)));
    parent.show();
    EXPECT_EQ(label.parentWidget(), &parent);
    EXPECT_EQ(label.geometry(), QRect(10, 20, 150, 20));
    EXPECT_TRUE(label.isVisible());
    EXPECT_EQ(label.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(label.cursor().hotSpot(), QPoint(15, 1));

    // The underline is drawn in the full colour; nothing else but blue shades and background.
    const QImage image = label.grab().toImage();
    int pureBlue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c == QColor(0, 0, 255))
                ++pureBlue;
            EXPECT_LE(c.red(), c.blue() + 1);
        }
    EXPECT_GT(pureBlue, 10);

    CHyperlinkLabel plain;
    HyperlinkParams p = ValidParams(&parent);
    p.useCursor = false;
    ASSERT_TRUE(plain.CreateLink(p));
    EXPECT_FALSE(plain.testAttribute(Qt::WA_SetCursor));   // the parent's cursor shows
}

TEST(HyperlinkLabelTest, HoldsTheMouseWhileHoveringAndLetsGoOutside) {
    QWidget parent;
    parent.resize(200, 60);
    CHyperlinkLabel label;
    ASSERT_TRUE(label.CreateLink(ValidParams(&parent)));
    parent.show();
    MoveMouse(&label, QPoint(5, 5));
    EXPECT_TRUE(label.IsHovering());
    EXPECT_EQ(QWidget::mouseGrabber(), &label);
    MoveMouse(&label, QPoint(149, 19));
    EXPECT_EQ(QWidget::mouseGrabber(), &label);
    MoveMouse(&label, QPoint(150, 5));   // just past the right edge
    EXPECT_FALSE(label.IsHovering());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    MoveMouse(&label, QPoint(3, 3));
    label.hide();   // losing the window is like losing the capture
    EXPECT_FALSE(label.IsHovering());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST(HyperlinkLabelTest, EachPressInsideCallsTheFunctionOnceWithZero) {
    QWidget parent;
    parent.resize(200, 60);
    CHyperlinkLabel label;
    std::vector<int> calls;
    HyperlinkParams p = ValidParams(&parent);
    p.onClick = [&calls](int value) { calls.push_back(value); };
    ASSERT_TRUE(label.CreateLink(p));
    parent.show();
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
    EXPECT_EQ(calls, (std::vector<int>{0, 0}));
    // A press that lands outside while the label holds the mouse is no click on the link.
    MoveMouse(&label, QPoint(5, 5));
    QMouseEvent outside(QEvent::MouseButtonPress, QPointF(170, 5), label.mapToGlobal(QPointF(170, 5)),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&label, &outside);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    // Without a function a click does nothing at all.
    CHyperlinkLabel silent;
    ASSERT_TRUE(silent.CreateLink(ValidParams(&parent)));
    QTest::mouseClick(&silent, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
}

}  // namespace
}  // namespace morvi
