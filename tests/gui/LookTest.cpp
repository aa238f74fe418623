// How the main window looks, read from real paints. The program runs once at scale 1 and
// once with QT_SCALE_FACTOR=2 (a second CTest entry), so every picture here is checked at
// both device pixel ratios.
#include <QAbstractItemView>
#include <QFontInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

#include "app/Application.h"
#include "controls/ColorBtn.h"
#include "controls/InfoDialog.h"
#include "controls/Logo.h"
#include "editor/FrequencyTable.h"
#include "editor/qt/ClassicScrollBarStyle.h"
#include "editor/qt/GaugeImage.h"
#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The device pixel under logical pixel (x, y) of a grab (the first of its block).
QRgb At(const QImage& image, int x, int y) {
    const qreal ratio = image.devicePixelRatio();
    return image.pixel(static_cast<int>(std::floor(x * ratio)),
                       static_cast<int>(std::floor(y * ratio))) &
           0xFFFFFFu;
}

struct TextBox {
    const char* what;
    QWidget* widget;
    QStringList texts;
    int innerWidth;  // pixels the text may take
};

int ComboTextWidth(QComboBox* box) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = false;
    return box->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
        .width();
}

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

TEST_F(MainFormTest, EveryTextFitsItsBoxInTheFontReallyUsed) {
    QStringList values, levels, names{QStringLiteral("AVG"), QStringLiteral("-----")};
    for (int code = 0; code <= kMaxFrequencyCode; ++code) {
        values << QString::fromStdString(FrequencyLabel(code)) + QStringLiteral("kHz");
        levels << QStringLiteral("No,%1").arg(code + 1);
    }
    for (int n = 1; n <= kFrequencyBars; ++n) names << QStringLiteral("THRT%1").arg(n);
    QStringList brakeValues;
    for (int n = 0; n <= 100; ++n)
        brakeValues << (n == 0 ? QStringLiteral("OFF") : QString::number(n));
    // A line edit keeps two pixels free on either side of its text.
    QStyleOptionFrame frame;
    frame.initFrom(form->NBRK_CAP);
    frame.lineWidth = form->NBRK_CAP->hasFrame() ? 1 : 0;
    const int captionWidth =
        form->NBRK_CAP->style()
            ->subElementRect(QStyle::SE_LineEditContents, &frame, form->NBRK_CAP)
            .width() -
        4;
    auto label = [this](const char* name) {
        return form->TabControl1->findChild<QLabel*>(QString::fromLatin1(name));
    };
    // A label may reach up to the control beside it, or the page's edge.
    auto labelBox = [&](const char* name, int rightLimit) {
        QLabel* l = label(name);
        return TextBox{name, l, {l->text()}, rightLimit - l->x()};
    };
    const TextBox boxes[] = {
        {"FRQ_VALUE", form->FRQ_VALUE, values + QStringList{QStringLiteral("-----")},
         form->FRQ_VALUE->contentsRect().width()},
        {"FRQ_LEVEL", form->FRQ_LEVEL, levels, form->FRQ_LEVEL->contentsRect().width()},
        {"FRQ_NAME", form->FRQ_NAME, names, form->FRQ_NAME->contentsRect().width()},
        {"NBRK_CAP", form->NBRK_CAP, brakeValues, captionWidth},
        {"BRK_LIST", form->BRK_LIST, Items(form->BRK_LIST), ComboTextWidth(form->BRK_LIST)},
        {"CUTVT_LIST", form->CUTVT_LIST, Items(form->CUTVT_LIST), ComboTextWidth(form->CUTVT_LIST)},
        {"RES_LIST", form->RES_LIST, Items(form->RES_LIST), ComboTextWidth(form->RES_LIST)},
        {"CUR_LIST", form->CUR_LIST, Items(form->CUR_LIST), ComboTextWidth(form->CUR_LIST)},
        {"CommPort", form->CommPort, Items(form->CommPort), ComboTextWidth(form->CommPort)},
        labelBox("FRQ_LAB", 573),
        labelBox("CH1_LAB", 790),
        labelBox("CH2_LAB", 790),
        labelBox("CH3_LAB", 790),
        labelBox("CH4_LAB", form->CUR_LIST->x()),
        labelBox("CH5_LAB", 790),
        labelBox("CH6_LAB", 790),
        labelBox("Label35", form->CommPort->x()),
    };
    for (const TextBox& box : boxes) {
        SCOPED_TRACE(box.what);
        ASSERT_NE(box.widget, nullptr);
        EXPECT_EQ(QFontInfo(box.widget->font()).family(), QStringLiteral("IPAPGothic"));
        EXPECT_GT(box.innerWidth, 0);
        const QFontMetrics metrics = box.widget->fontMetrics();
        for (const QString& text : box.texts)
            EXPECT_LE(metrics.horizontalAdvance(text), box.innerWidth) << text.toStdString();
    }
}

// Pixels of a picture near `ink`, each colour channel within a quarter of the way.
int InkPixels(const QImage& image, QRgb ink) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(ink)) < 64 && std::abs(qGreen(p) - qGreen(ink)) < 64 &&
                std::abs(qBlue(p) - qBlue(ink)) < 64)
                ++count;
        }
    return count;
}

// The ink of `text` drawn in `font` (bold or not) on `background`, as a widget's grab is.
int DrawnInk(const QString& text, QFont font, bool bold, QRgb ink, QRgb background, qreal ratio) {
    font.setBold(bold);
    QImage image(QSize(200, 40) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(ink));
    painter.drawText(QPointF(2, 28), text);
    painter.end();
    return InkPixels(image, ink);
}

TEST_F(MainFormTest, LabelsAndTheListsTextsAreDrawnBold) {
    auto check = [](QWidget* widget, const QString& text, QRgb ink, QRgb background) {
        SCOPED_TRACE(widget->objectName().toStdString());
        const QImage shown = Grab(widget);
        const qreal ratio = shown.devicePixelRatio();
        const int regular = DrawnInk(text, widget->font(), false, ink, background, ratio);
        const int bold = DrawnInk(text, widget->font(), true, ink, background, ratio);
        ASSERT_GT(bold, regular);
        // A box's own ink (its frame, a button) adds to its text's; the text alone must
        // still be nearer bold than regular.
        EXPECT_GT(InkPixels(shown, ink), (regular + bold) / 2) << text.toStdString();
    };
    for (const char* name : {"FRQ_LAB", "CH1_LAB", "CH2_LAB", "CH6_LAB"}) {
        auto* label = form->TabControl1->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr);
        check(label, label->text(), qRgb(0, 0, 128),
              label->palette().color(QPalette::Window).rgb());
    }
    for (QComboBox* list : {form->BRK_LIST, form->CUTVT_LIST, form->CUR_LIST})
        check(list, list->currentText(), qRgb(255, 255, 255), qRgb(0, 0, 0));
}

TEST_F(MainFormTest, GaugeIsScaledByRepeatingItsPixels) {
    form->editor().DrawSelectionGauge(3, 5);
    const QImage expected =
        GaugeImage(form->editor().gauge()).convertToFormat(QImage::Format_RGB32);
    for (QLabel* gauge : {form->Select_Gage1, form->Select_Gage2}) {
        SCOPED_TRACE(gauge->objectName().toStdString());
        const QImage image = Grab(gauge);
        const qreal ratio = image.devicePixelRatio();
        ASSERT_EQ(image.size(), expected.size() * ratio);
        int wrong = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFFu) !=
                    (expected.pixel(static_cast<int>(x / ratio), static_cast<int>(y / ratio)) &
                     0xFFFFFFu))
                    ++wrong;
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(MainFormTest, ButtonGlyphsAreScaledByRepeatingTheirPixels) {
    for (QToolButton* button :
         {form->PROGRAM_BTN, form->READ_BTN, form->INFO_BTN, form->EXIT_BTN}) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QImage image = Grab(button);
        const int ratio = static_cast<int>(image.devicePixelRatio());
        const QRgb background = At(image, 0, 0);
        int ink = 0, blended = 0;
        for (int y = 0; y < button->height(); ++y)
            for (int x = 0; x < button->width(); ++x) {
                const QRgb first = At(image, x, y);
                if (first != background) ++ink;
                for (int dy = 0; dy < ratio; ++dy)
                    for (int dx = 0; dx < ratio; ++dx)
                        if ((image.pixel(x * ratio + dx, y * ratio + dy) & 0xFFFFFFu) != first)
                            ++blended;
            }
        EXPECT_GT(ink, 20) << "the glyph is drawn";
        EXPECT_EQ(blended, 0) << "every pixel of the glyph is a block of one colour";
    }
}

TEST(InfoDialogLook, LogoIsScaledByRepeatingItsPixels) {
    TInfoDialog dialog(nullptr);
    const auto logo = DecodeLogo();
    ASSERT_TRUE(logo.has_value());
    const QImage image = Grab(dialog.Image1);
    const qreal ratio = image.devicePixelRatio();
    ASSERT_EQ(image.size(), QSize(logo->width, logo->height) * ratio);
    int wrong = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) !=
                logo->rgbAt(static_cast<int>(x / ratio), static_cast<int>(y / ratio)))
                ++wrong;
    EXPECT_EQ(wrong, 0);
}

TEST(ColorBtnLook, FocusDotsLieOnTheFocusRectangleAtAnyScale) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* button = new TColorBtn(&window);
    layout->addWidget(button);
    button->setText(QStringLiteral("OK"));
    button->setColor(Qt::white);
    button->setFixedSize(75, 25);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(button->isActive());

    const QImage dotted = Grab(button);
    button->setFocusline(false);
    const QImage plain = Grab(button);
    const int ratio = static_cast<int>(dotted.devicePixelRatio());
    // Every other pixel of the rectangle 4 pixels inside the edge, in logical pixels.
    const QRect ring(4, 4, 67, 17);
    auto isDot = [&ring](int x, int y) {
        const bool topOrBottom = (y == ring.top() || y == ring.bottom()) && x >= ring.left() &&
                                 x <= ring.right() && (x - ring.left()) % 2 == 0;
        const bool side = (x == ring.left() || x == ring.right()) && y > ring.top() + 1 &&
                          y < ring.bottom() && (y - ring.top()) % 2 == 0;
        return topOrBottom || side;
    };
    int wrong = 0;
    for (int y = 0; y < dotted.height(); ++y)
        for (int x = 0; x < dotted.width(); ++x) {
            const QRgb a = dotted.pixel(x, y) & 0xFFFFFFu, b = plain.pixel(x, y) & 0xFFFFFFu;
            const bool inverted = a == (b ^ 0xFFFFFFu);
            if (isDot(x / ratio, y / ratio) ? !inverted : a != b) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(MainFormTest, ThumbsAreRaisedAndTheFocusedOneIsInverted) {
    const QRgb face = classic::kFace, invertedFace = classic::kFace ^ 0xFFFFFFu;
    bar(3)->setValue(0);
    bar(4)->setValue(63);
    focus(bar(4));
    struct Case {
        QScrollBar* bar;
        QRgb face;
    };
    const Case cases[] = {{bar(3), face},
                          {bar(4), invertedFace},
                          {bar(31), face},
                          {form->AVG_BAR, face},
                          {form->NBRK_BAR, face}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bar->objectName().toStdString());
        const QRect thumb = ThumbRect(c.bar);
        const bool vertical = c.bar->orientation() == Qt::Vertical;
        // As long as a standard bar is thick, just past the arrow at the bar's end.
        EXPECT_EQ(vertical ? thumb.height() : thumb.width(), 16);
        const QImage image = Grab(c.bar);
        const bool inverted = c.face == invertedFace;
        auto shade = [inverted](unsigned rgb) { return inverted ? rgb ^ 0xFFFFFFu : rgb; };
        EXPECT_EQ(At(image, thumb.center().x(), thumb.center().y()), c.face);
        EXPECT_EQ(At(image, thumb.left() + 1, thumb.top() + 1), shade(classic::kHighlight));
        EXPECT_EQ(At(image, thumb.right(), thumb.bottom()), shade(classic::kDarkShadow));
        EXPECT_EQ(At(image, thumb.right() - 1, thumb.bottom() - 1), shade(classic::kShadow));
    }
    EXPECT_EQ(ThumbRect(bar(3)).top(), 16);
    EXPECT_EQ(ThumbRect(bar(4)).bottom(), bar(4)->height() - 17);
}

// Pixels of a list's text field (where its text stands) that are light and that are dark.
std::pair<int, int> FieldShades(QComboBox* box) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    const QImage image = Grab(box);
    int white = 0, black = 0;
    for (int y = field.top(); y <= field.bottom(); ++y)
        for (int x = field.left(); x <= field.right(); ++x) {
            const int lightness = QColor(At(image, x, y)).lightness();
            white += lightness > 200;
            black += lightness < 55;
        }
    return {white, black};
}

TEST_F(MainFormTest, FocusedSettingListIsInverted) {
    QComboBox* const lists[] = {form->BRK_LIST, form->CUTVT_LIST, form->RES_LIST, form->CUR_LIST};
    for (QComboBox* focused : lists) {
        focus(focused);
        for (QComboBox* list : lists) {
            SCOPED_TRACE(list->objectName().toStdString() + " with the focus on " +
                         focused->objectName().toStdString());
            const auto [white, black] = FieldShades(list);
            // Mostly ground, with some text of the other shade on it.
            const auto [ground, text] =
                list == focused ? std::pair(white, black) : std::pair(black, white);
            EXPECT_GT(ground, 3 * text);
            EXPECT_GT(text, 10);
        }
    }
}

TEST_F(MainFormTest, OpenListsHaveALightFrameOnTheBlack) {
    for (QComboBox* list :
         {form->BRK_LIST, form->CUTVT_LIST, form->RES_LIST, form->CUR_LIST, form->CommPort}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->showPopup();
        QWidget* popup = list->view()->window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
        const QImage image = Grab(popup);
        const int right = popup->width() - 1, bottom = popup->height() - 1;
        int dark = 0;
        for (int x = 0; x <= right; ++x)
            dark += (At(image, x, 0) != 0xFFFFFFu) + (At(image, x, bottom) != 0xFFFFFFu);
        for (int y = 0; y <= bottom; ++y)
            dark += (At(image, 0, y) != 0xFFFFFFu) + (At(image, right, y) != 0xFFFFFFu);
        EXPECT_EQ(dark, 0) << "every pixel of the edge is white";
        list->hidePopup();
        QApplication::processEvents();
    }
}

TEST_F(MainFormTest, SelectedTabIsJoinedToItsPage) {
    const QRect tab = form->TabBar->tabRect(0).translated(form->TabBar->pos());
    auto* page = form->TabControl1->findChild<QFrame*>(QStringLiteral("TabPage"));
    ASSERT_NE(page, nullptr);
    const int edge = page->geometry().bottom();
    const QImage image = Grab(form->TabControl1);
    const QRgb window = form->palette().color(QPalette::Window).rgb() & 0xFFFFFFu;
    EXPECT_EQ(At(image, tab.center().x(), edge), window) << "open above the selected tab";
    EXPECT_NE(At(image, tab.right() + 20, edge), window) << "the page's edge beside it";
}

TEST(PopupFont, MenusHintsAndMessageBoxesUseTheWindowFont) {
    UseWindowFontInPopups();
    QMenu menu;
    QMessageBox box;
    box.setText(QStringLiteral("Close the program?"));
    auto* boxText = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    ASSERT_NE(boxText, nullptr);
    // Class fonts take effect when a widget is polished, as it is before it shows.
    menu.ensurePolished();
    box.ensurePolished();
    boxText->ensurePolished();
    const std::pair<const char*, QFont> fonts[] = {
        {"menu", menu.font()}, {"message box text", boxText->font()}, {"hint", QToolTip::font()}};
    for (const auto& [what, font] : fonts) {
        SCOPED_TRACE(what);
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("IPAPGothic"));
        EXPECT_EQ(font.pixelSize(), 12);
    }
}

}  // namespace
}  // namespace mxc9::testing
