// The colour button painted by real widgets into images, checked pixel by pixel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <vector>

#include "controls/ColorBtn.h"

namespace mxc9 {
namespace {

const QColor kFace(Qt::white);

// A 75 x 25 button with a plain white face, no edge and a font drawn without smoothing,
// so that every caption pixel is either the text colour or the face.
void Prepare(TColorBtn& button, int width = 75, int height = 25) {
    QFont font;
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    button.setFont(font);
    button.resize(width, height);
    button.setColor(kFace);
    button.setButtonStyle(bsNone);
}

QImage Render(TColorBtn& button) {
    return button.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Colours are compared as 8-bit RGB, as the image stores them.
// Bounding box of the pixels that differ from the face colour.
QRect Ink(const QImage& image, const QColor& face = kFace) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != face.rgb()) box |= QRect(x, y, 1, 1);
    return box;
}

// Runs of rows that hold ink, as (first, last) pairs.
std::vector<std::pair<int, int>> InkRows(const QImage& image) {
    std::vector<std::pair<int, int>> runs;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x) ink = image.pixelColor(x, y) != kFace;
        if (!ink) continue;
        if (!runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else
            runs.push_back({y, y});
    }
    return runs;
}

bool HasColor(const QImage& image, const QColor& color) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == color.rgb()) return true;
    return false;
}

QColor System(QPalette::ColorRole role) {
    return QApplication::palette().color(QPalette::Active, role);
}

TEST(ColorBtnPaint, PressedCaptionMovesOnePixelRightAndDown) {
    TColorBtn button;
    Prepare(button);
    button.setText("OK");
    const QRect released = Ink(Render(button));
    ASSERT_FALSE(released.isEmpty());
    button.setDown(true);
    const QRect pressed = Ink(Render(button));
    EXPECT_EQ(pressed, released.translated(1, 1));
}

TEST(ColorBtnPaint, DisabledButtonShowsFaceColourAndEngravedCaption) {
    TColorBtn button;
    Prepare(button);
    button.setText("OK");
    button.setColor(Qt::red);
    const QRect enabledInk = Ink(Render(button), Qt::red);

    button.setEnabled(false);
    const QImage disabled = Render(button);
    const QColor face = System(QPalette::Button);
    ASSERT_NE(face, QColor(Qt::red));
    EXPECT_EQ(disabled.pixel(0, 0), face.rgb());
    EXPECT_EQ(disabled.pixel(74, 24), face.rgb());
    EXPECT_FALSE(HasColor(disabled, Qt::red));
    // The dark caption sits where the enabled one was, its light copy one pixel lower right.
    EXPECT_TRUE(HasColor(disabled, System(QPalette::Dark)));
    EXPECT_TRUE(HasColor(disabled, System(QPalette::Light)));
    EXPECT_EQ(Ink(disabled, face), enabledInk.adjusted(0, 0, 1, 1));

    button.setEnabled(true);
    EXPECT_EQ(Render(button).pixelColor(0, 0), QColor(Qt::red));
}

TEST(ColorBtnPaint, FlatStyleShowsAnEdgeOnlyWhileThePointerIsOver) {
    TColorBtn button;
    Prepare(button);
    button.setButtonStyle(bsIELike);
    button.setEdgeHighlight(Qt::green);
    button.setEdgeShadow(Qt::blue);
    int entered = 0, left = 0;
    QObject* sender = nullptr;
    button.OnMouseEnter = [&](QObject* s) { ++entered, sender = s; };
    button.OnMouseLeave = [&](QObject*) { ++left; };

    QImage image = Render(button);
    EXPECT_EQ(image.pixelColor(0, 0), kFace);
    EXPECT_EQ(image.pixelColor(74, 24), kFace);
    EXPECT_EQ(Ink(image), QRect());

    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(sender, &button);
    image = Render(button);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(10, 0), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(74, 24), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(74, 10), QColor(Qt::blue));

    // A second enter without a leave in between is not reported again.
    QApplication::sendEvent(&button, &enter);
    EXPECT_EQ(entered, 1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(Ink(Render(button)), QRect());

    button.setDown(true);  // pressed: sunken, pointer or not
    image = Render(button);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(74, 24), QColor(Qt::green));
}

TEST(ColorBtnPaint, CaptionLinesAreDrawnAsOneCentredBlock) {
    TColorBtn button;
    Prepare(button, 75, 61);
    button.setCaptionLines({"AB", "CD"});
    const QImage image = Render(button);
    const auto rows = InkRows(image);
    ASSERT_EQ(rows.size(), 2u) << "two lines with a gap between them";
    const double blockMiddle = (rows.front().first + rows.back().second) / 2.0;
    EXPECT_NEAR(blockMiddle, 30.0, 3.0);
    const QRect ink = Ink(image);
    EXPECT_NEAR((ink.left() + ink.right()) / 2.0, 37.0, 2.0);

    // One line alone sits in the middle too, between the two lines' places.
    TColorBtn single;
    Prepare(single, 75, 61);
    single.setCaptionLines({"AB"});
    const auto singleRows = InkRows(Render(single));
    ASSERT_EQ(singleRows.size(), 1u);
    EXPECT_GT(singleRows[0].first, rows.front().first);
    EXPECT_LT(singleRows[0].second, rows.back().second);
}

TEST(ColorBtnPaint, CaptionWinsOverLinesAndNothingMeansNoText) {
    TColorBtn button;
    Prepare(button, 75, 61);
    button.setCaptionLines({"AB", "CD"});
    button.setText("X");
    EXPECT_EQ(InkRows(Render(button)).size(), 1u);

    button.setText("");
    button.setCaptionLines({});
    EXPECT_EQ(Ink(Render(button)), QRect());
}

TEST(ColorBtnPaint, FocusLineIsDottedInsideTheEdgeOfTheActiveFocusedButton) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* first = new TColorBtn(&window);
    auto* second = new TColorBtn(&window);
    layout->addWidget(edit);
    layout->addWidget(first);
    layout->addWidget(second);
    for (TColorBtn* b : {first, second}) {
        b->setColor(kFace);
        b->setFrameColor(Qt::red);
        b->setFixedSize(75, 25);
    }
    second->setDefault(true);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // The default button is the active one while a non-button has the focus.
    edit->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(second->isActive());
    EXPECT_FALSE(first->isActive());
    EXPECT_EQ(Render(*second).pixelColor(0, 0), QColor(Qt::red));
    EXPECT_NE(Render(*first).pixelColor(0, 0), QColor(Qt::red));
    // Active but not focused: no focus line.
    EXPECT_EQ(Render(*second).pixelColor(4, 4), kFace);

    first->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(first->isActive());
    EXPECT_FALSE(second->isActive());
    QImage image = Render(*first);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::black)) << "white inverted";
    EXPECT_EQ(image.pixelColor(5, 4), kFace) << "dotted";
    EXPECT_EQ(image.pixelColor(6, 4), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(3, 3), kFace) << "inside the edge";

    first->setFocusline(false);
    EXPECT_EQ(Render(*first).pixelColor(4, 4), kFace);
}

TEST(ColorBtnPaint, EqualWriteDoesNotRepaintAndChangedWriteDoes) {
    TColorBtn button;
    button.resize(75, 25);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QApplication::processEvents();

    struct Property {
        const char* name;
        std::function<void()> writeSame;
        std::function<void()> writeOther;
    };
    TColorBtn& b = button;
    const std::vector<Property> properties = {
        {"CaptionLines", [&] { b.setCaptionLines(QStringList(b.CaptionLines())); },
         [&] {
             b.setCaptionLines({"one", "two"});
         }},
        {"Color", [&] { b.setColor(QColor(b.Color())); }, [&] { b.setColor(Qt::yellow); }},
        {"CapAlignH", [&] { b.setCapAlignH(b.CapAlignH()); }, [&] { b.setCapAlignH(haLeft); }},
        {"CapAlignV", [&] { b.setCapAlignV(b.CapAlignV()); }, [&] { b.setCapAlignV(vaTop); }},
        {"ButtonStyle", [&] { b.setButtonStyle(b.ButtonStyle()); },
         [&] { b.setButtonStyle(bsIELike); }},
        {"CapFixed", [&] { b.setCapFixed(b.CapFixed()); }, [&] { b.setCapFixed(false); }},
        {"Focusline", [&] { b.setFocusline(b.Focusline()); }, [&] { b.setFocusline(false); }},
        {"CapOffsetH", [&] { b.setCapOffsetH(b.CapOffsetH()); }, [&] { b.setCapOffsetH(3); }},
        {"CapOffsetV", [&] { b.setCapOffsetV(b.CapOffsetV()); }, [&] { b.setCapOffsetV(-2); }},
        {"FrameColor", [&] { b.setFrameColor(QColor(b.FrameColor())); },
         [&] { b.setFrameColor(Qt::red); }},
        {"EdgeHighlight", [&] { b.setEdgeHighlight(QColor(b.EdgeHighlight())); },
         [&] { b.setEdgeHighlight(Qt::green); }},
        {"EdgeShadow", [&] { b.setEdgeShadow(QColor(b.EdgeShadow())); },
         [&] { b.setEdgeShadow(Qt::blue); }},
    };
    for (const Property& p : properties) {
        int before = button.paintCount();
        p.writeSame();
        QApplication::processEvents();
        EXPECT_EQ(button.paintCount(), before) << p.name << ": equal write repainted";
        before = button.paintCount();
        p.writeOther();
        QApplication::processEvents();
        EXPECT_GT(button.paintCount(), before) << p.name << ": changed write did not repaint";
    }
}

TEST(ColorBtnDefaults, MatchThePublishedDefaults) {
    TColorBtn button;
    EXPECT_TRUE(button.CaptionLines().isEmpty());
    EXPECT_EQ(button.Color(), System(QPalette::Button));
    EXPECT_EQ(button.CapAlignH(), haCenter);
    EXPECT_EQ(button.CapAlignV(), vaCenter);
    EXPECT_EQ(button.ButtonStyle(), bsStd);
    EXPECT_TRUE(button.CapFixed());
    EXPECT_TRUE(button.Focusline());
    EXPECT_EQ(button.CapOffsetH(), 0);
    EXPECT_EQ(button.CapOffsetV(), 0);
    EXPECT_EQ(button.FrameColor(), QColor(Qt::black)) << "window frames are black";
    EXPECT_EQ(button.EdgeHighlight(), System(QPalette::Light));
    EXPECT_EQ(button.EdgeShadow(), System(QPalette::Dark));
    EXPECT_FALSE(button.OnMouseEnter);
    EXPECT_FALSE(button.OnMouseLeave);
}

TEST(ColorBtnMouse, DoubleClickCountsAsASecondClick) {
    TColorBtn button;
    button.resize(75, 25);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QSignalSpy clicks(&button, &QPushButton::clicked);
    QSignalSpy presses(&button, &QPushButton::pressed);
    // Through the window system: press, release, press, double click, release.
    QTest::mouseDClick(button.windowHandle(), Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(presses.count(), 2);
    EXPECT_FALSE(button.isDown());

    // A double click that arrives without its press is taken as the press.
    clicks.clear();
    QTest::mouseDClick(&button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_TRUE(button.isDown());
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button.isDown());
}

}  // namespace
}  // namespace mxc9
