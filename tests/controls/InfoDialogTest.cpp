// The information dialog on real widgets: layout, the link's hover look, clicks on the
// link and the "OK" button, and a damaged logo.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <vector>

#include "common/Language.h"
#include "common/MessageTable.h"
#include "controls/ColorBtn.h"
#include "controls/InfoDialog.h"
#include "controls/Label2.h"
#include "controls/Logo.h"
#include "tests/fakes/FakeSeams.h"

namespace mxc9 {
namespace {

class InfoDialogTest : public ::testing::Test {
  protected:
    testing::FakeBrowser browser;

    // Shows the dialog modally and runs `act` once it is on screen; returns exec()'s result.
    int RunModal(TInfoDialog& dialog, const std::function<void()>& act) {
        QTimer::singleShot(0, &dialog, [&] {
            if (!QTest::qWaitForWindowExposed(&dialog)) ADD_FAILURE() << "dialog not shown";
            act();
            if (dialog.isVisible()) {  // keeps a failing test from hanging
                QTimer::singleShot(0, &dialog, [&] { dialog.done(-1); });
            }
        });
        return dialog.exec();
    }

    static QPoint In(QWidget* widget) {
        return widget->mapTo(widget->window(), widget->rect().center());
    }
};

TEST_F(InfoDialogTest, IsLaidOutWithLogoNameVersionLinkAndOkButton) {
    TInfoDialog dialog(&browser);
    dialog.setLinkCaption("(C) Maker");
    EXPECT_EQ(dialog.size(), QSize(285, 137));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_TRUE(dialog.hasLogo());
    EXPECT_EQ(dialog.Image1->geometry(), QRect(0, 0, 285, 60));
    EXPECT_EQ(dialog.Image1->pixmap().size(), QSize(285, 60));
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("ProgramName"));
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("MXC-9 Manager Ver2.2 "));
    EXPECT_EQ(dialog.Label3->text(), QStringLiteral("Copyright"));
    EXPECT_EQ(dialog.Label2->pos(), QPoint(112, 72));
    EXPECT_EQ(dialog.URL_Label->pos(), QPoint(112, 88));
    // The hint names the page the link opens: the user's guide in the language in use, here
    // (a build tree) the one in the source tree.
    const QUrl guide(dialog.URL_Label->toolTip());
    EXPECT_TRUE(guide.isLocalFile()) << guide.toString().toStdString();
    EXPECT_EQ(QFileInfo(guide.toLocalFile()).fileName(),
              LanguageIndex() == kLanguageJapanese ? "USER-GUIDE.ja.md" : "USER-GUIDE.md");
    EXPECT_TRUE(QFileInfo(guide.toLocalFile()).isFile()) << guide.toLocalFile().toStdString();
    EXPECT_EQ(dialog.URL_Label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dialog.ColorBtn1->geometry(), QRect(104, 112, 75, 25));
    EXPECT_EQ(dialog.ColorBtn1->text(), QStringLiteral("OK"));

    // The copyright line of either language shows whole in the dialog's own 285 x 137.
    for (const int language : {kLanguageJapanese, kLanguageEnglish}) {
        dialog.setLinkCaption(MessageIn(language, 17));
        EXPECT_EQ(dialog.URL_Label->text().toStdString(), MessageIn(language, 17));
        EXPECT_EQ(dialog.URL_Label->width(), dialog.URL_Label->sizeHint().width());
        EXPECT_LT(dialog.URL_Label->geometry().right(), dialog.width() - 1) << language;
        EXPECT_EQ(dialog.size(), QSize(285, 137)) << language;
    }
    // Only a caption wider than that widens it, and a short one gives the width back.
    dialog.setLinkCaption("© the maker, a copyright line that is wider than the logo is");
    EXPECT_GT(dialog.width(), 285);
    dialog.setLinkCaption("(C) Maker");
    EXPECT_EQ(dialog.size(), QSize(285, 137));

    // Captions are shown as plain text, whatever they contain.
    dialog.setLinkCaption("<b>Maker</b> & co");
    EXPECT_EQ(dialog.URL_Label->text(), QStringLiteral("<b>Maker</b> & co"));
    EXPECT_EQ(dialog.URL_Label->textFormat(), Qt::PlainText);

    // The logo is the decoded picture, not just a picture of the right size.
    const auto logo = DecodeLogo();
    ASSERT_TRUE(logo.has_value());
    const QImage shown = dialog.Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(2, 2), QPoint(13, 20), QPoint(282, 57)})
        EXPECT_EQ(shown.pixel(p) & 0xFFFFFFu, logo->rgbAt(p.x(), p.y())) << p.x() << "," << p.y();
}

TEST_F(InfoDialogTest, LinkTurnsMagentaAndUnderlinedUnderThePointer) {
    TInfoDialog dialog(&browser);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    TLabel2* link = dialog.URL_Label;
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_FALSE(link->font().underline());

    QTest::mouseMove(link, link->rect().center());
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0xFF, 0x00, 0xFF));
    EXPECT_TRUE(link->font().underline());

    // Leaving clears every style, not only the underline.
    QFont styled = link->font();
    styled.setBold(true);
    styled.setItalic(true);
    styled.setStrikeOut(true);
    link->setFont(styled);
    QTest::mouseMove(&dialog, QPoint(5, 130));
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
    const QFont plain = link->font();
    EXPECT_FALSE(plain.underline());
    EXPECT_FALSE(plain.bold());
    EXPECT_FALSE(plain.italic());
    EXPECT_FALSE(plain.strikeOut());
    dialog.done(0);
}

TEST_F(InfoDialogTest, LinkShowsPlainAgainWhenTheDialogReopensAfterADoubleClickOnIt) {
    TInfoDialog dialog(&browser);
    ASSERT_EQ(RunModal(dialog,
                       [&] {
                           QTest::mouseMove(dialog.URL_Label, dialog.URL_Label->rect().center());
                           QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {},
                                              In(dialog.URL_Label));
                       }),
              1);
    // The dialog closed under the pointer: the link no longer counts as hovered, and it
    // reopens plain with the pointer elsewhere.
    const auto plain = [&] {
        return dialog.URL_Label->palette().color(QPalette::WindowText) == QColor(Qt::black) &&
               !dialog.URL_Label->font().underline();
    };
    EXPECT_TRUE(plain());
    QCursor::setPos(dialog.mapToGlobal(QPoint(5, 130)));
    bool plainOnReopen = false;
    RunModal(dialog, [&] { plainOnReopen = plain(); });
    EXPECT_TRUE(plainOnReopen);
}

TEST_F(InfoDialogTest, SingleClickOnTheLinkDoesNothing) {
    TInfoDialog dialog(&browser);
    bool stillOpen = false;
    const int result = RunModal(dialog, [&] {
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, In(dialog.URL_Label));
        QApplication::processEvents();
        stillOpen = dialog.isVisible();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, -1) << "closed only by the test itself";
    EXPECT_TRUE(browser.opened.empty());
}

TEST_F(InfoDialogTest, DoubleClickOnTheLinkOpensThePageAndClosesWithResultOne) {
    TInfoDialog dialog(&browser);
    const int result = RunModal(dialog, [&] {
        QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {}, In(dialog.URL_Label));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(browser.opened, std::vector<std::string>{dialog.URL_Label->toolTip().toStdString()});

    // Reused for a second showing, it works the same.
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           QTest::mouseDClick(dialog.windowHandle(), Qt::LeftButton, {},
                                              In(dialog.URL_Label));
                       }),
              1);
    EXPECT_EQ(browser.opened.size(), 2u);
}

TEST_F(InfoDialogTest, OkButtonAndEnterCloseWithResultOneButEscapeDoesNot) {
    TInfoDialog dialog(&browser);
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           EXPECT_TRUE(dialog.ColorBtn1->hasFocus());
                           QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                                             In(dialog.ColorBtn1));
                       }),
              1);
    EXPECT_EQ(RunModal(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); }), 1);
    EXPECT_EQ(RunModal(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), -1);
    EXPECT_TRUE(browser.opened.empty());
}

TEST_F(InfoDialogTest, DamagedLogoLeavesTheSpaceEmptyAndTheDialogWorking) {
    const auto whole = LogoJpeg();
    const std::vector<std::uint8_t> truncated(whole.begin(), whole.begin() + whole.size() / 3);
    TInfoDialog dialog(&browser, truncated);
    EXPECT_FALSE(dialog.hasLogo());
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                                             In(dialog.ColorBtn1));
                       }),
              1);
}

TEST(Label2Test, ReportsEnterAndLeaveOnlyWhenAssigned) {
    TLabel2 label;
    label.setText("link");
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &enter);  // unassigned: nothing to call
    QApplication::sendEvent(&label, &leave);

    std::vector<std::pair<std::string, QObject*>> calls;
    label.OnMouseEnter = [&](QObject* s) { calls.push_back({"enter", s}); };
    label.OnMouseLeave = [&](QObject* s) { calls.push_back({"leave", s}); };
    QApplication::sendEvent(&label, &enter);
    QApplication::sendEvent(&label, &leave);
    const std::vector<std::pair<std::string, QObject*>> expected = {{"enter", &label},
                                                                    {"leave", &label}};
    EXPECT_EQ(calls, expected);
}

}  // namespace
}  // namespace mxc9
