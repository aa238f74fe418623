// The main window on real widgets: layout, setting controls, tab change, quitting.
#include <QAbstractButton>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>

#include "pages/SettingsFile.h"
#include "platform/IniFile.h"
#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

struct Place {
    const char* name;
    QRect rect;
};

TEST_F(MainFormTest, ControlsStandWhereTheLayoutPutsThem) {
    EXPECT_EQ(form->size(), QSize(792, 449));
    EXPECT_EQ(form->TabControl1->geometry(), QRect(0, 0, 792, 449));
    const Place places[] = {
        {"Select_Gage1", {5, 19, 545, 7}}, {"Select_Gage2", {5, 393, 545, 7}},
        {"FRQ_1", {6, 27, 16, 365}},       {"FRQ_2", {23, 27, 16, 365}},
        {"FRQ_32", {533, 27, 16, 365}},    {"AVG_BAR", {552, 27, 21, 365}},
        {"FRQ_VALUE", {5, 401, 86, 24}},   {"FRQ_LEVEL", {91, 401, 85, 24}},
        {"FRQ_NAME", {176, 401, 85, 24}},  {"PROGRAM_BTN", {267, 403, 33, 22}},
        {"READ_BTN", {300, 403, 33, 22}},  {"INFO_BTN", {346, 403, 34, 22}},
        {"EXIT_BTN", {380, 403, 33, 22}},  {"NBRK_CAP", {582, 16, 43, 20}},
        {"NBRK_BAR", {650, 17, 134, 18}},  {"Comment", {582, 154, 203, 239}},
    };
    for (const auto& place : places) {
        auto* widget = form->TabControl1->findChild<QWidget*>(QString::fromLatin1(place.name));
        ASSERT_NE(widget, nullptr) << place.name;
        EXPECT_EQ(widget->geometry(), place.rect) << place.name;
    }
    const std::pair<QWidget*, QPoint> lists[] = {{form->BRK_LIST, {582, 51}},
                                                 {form->CUTVT_LIST, {582, 86}},
                                                 {form->RES_LIST, {582, 121}},
                                                 {form->CUR_LIST, {686, 121}},
                                                 {form->CommPort, {721, 405}}};
    for (const auto& [list, at] : lists)
        EXPECT_EQ(list->pos(), at) << list->objectName().toStdString();
    EXPECT_EQ(form->BRK_LIST->width(), 107);
    EXPECT_EQ(form->CommPort->width(), 65);
    for (int i = 0; i < kFrequencyBars; ++i) EXPECT_EQ(bar(i)->tag(), i);
}

TEST_F(MainFormTest, TabOrderRunsThroughTheBarsThenTheSettingColumn) {
    QWidget* expected[] = {form->AVG_BAR,  form->NBRK_CAP, form->NBRK_BAR, form->BRK_LIST,
                           form->RES_LIST, form->CUR_LIST, form->Comment,  form->CUTVT_LIST};
    QWidget* w = bar(0);
    for (int i = 1; i < kFrequencyBars; ++i) {
        w = w->nextInFocusChain();
        EXPECT_EQ(w, bar(i)) << i;
    }
    for (QWidget* next : expected) {
        do w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus);
        EXPECT_EQ(w, next) << next->objectName().toStdString();
    }
}

TEST_F(MainFormTest, StartUpShowsOneTabTheDefaultSettingsAndThePortOff) {
    ASSERT_EQ(form->TabBar->count(), 1);
    EXPECT_EQ(form->TabBar->tabText(0), "DATA1");
    EXPECT_EQ(form->TabBar->shape(), QTabBar::RoundedSouth);
    EXPECT_EQ(form->pages().size(), 1);
    EXPECT_EQ(form->pages().record(0), DefaultPage());
    EXPECT_EQ(form->NBRK_CAP->text(), "OFF");
    EXPECT_TRUE(form->NBRK_CAP->isReadOnly());
    EXPECT_EQ(form->BRK_LIST->count(), 64);
    EXPECT_EQ(form->BRK_LIST->currentText(), "32:  3.45kHz");
    EXPECT_EQ(form->CUTVT_LIST->currentText(), "3.0V");
    EXPECT_EQ(form->RES_LIST->currentText(), "OFF");
    EXPECT_EQ(form->CUR_LIST->currentText(), "OFF");
    EXPECT_EQ(form->CUR_LIST->count(), 13);
    EXPECT_TRUE(form->Comment->toPlainText().isEmpty());
    EXPECT_EQ(form->CommPort->count(), 11);
    EXPECT_EQ(form->CommPort->currentText(), "OFF");
    EXPECT_EQ(form->CommPort->itemText(10), "COM10");
    EXPECT_EQ(form->lastFileName(), folder.path + "2004_3_7_MXC9.mxd");
}

TEST_F(MainFormTest, NeutralBrakeCaptionFollowsTheBar) {
    const std::pair<int, const char*> cases[] = {{1, "1"}, {100, "100"}, {0, "OFF"}, {57, "57"}};
    for (const auto& [position, caption] : cases) {
        form->NBRK_BAR->setValue(position);
        EXPECT_EQ(form->NBRK_CAP->text(), caption) << position;
        EXPECT_EQ(form->screen().neutralBrake(), position);
    }
    focus(form->NBRK_BAR);
    type(Qt::Key_Right);
    EXPECT_EQ(form->NBRK_CAP->text(), "58");
    type(Qt::Key_End);
    EXPECT_EQ(form->NBRK_CAP->text(), "100");
}

TEST_F(MainFormTest, LoadedValuesOutsideTheControlsRangesAreClampedOrShowNoSelection) {
    TMXC9Data page = DefaultPage();
    page.nBrake = 150;
    page.curLim = 13;
    page.cutVt = -3;
    page.freq[3] = 70;
    page.comment = "first\r\nsecond";
    form->pages().record(0) = page;
    form->pages().LoadPageToScreen(0);
    EXPECT_EQ(form->NBRK_BAR->value(), 100);
    EXPECT_EQ(form->NBRK_CAP->text(), "100");
    EXPECT_EQ(form->CUR_LIST->currentIndex(), -1);
    EXPECT_TRUE(form->CUR_LIST->currentText().isEmpty());
    EXPECT_EQ(form->CUTVT_LIST->currentIndex(), -1);
    EXPECT_EQ(bar(3)->value(), 63);
    EXPECT_EQ(form->Comment->toPlainText(), "first\nsecond");

    form->pages().SaveScreenToPage(0);
    EXPECT_EQ(form->pages().record(0).nBrake, 100);
    EXPECT_EQ(form->pages().record(0).curLim, -1);
    EXPECT_EQ(form->pages().record(0).freq[3], 63);
    EXPECT_EQ(form->pages().record(0).comment, "first\r\nsecond");
}

TEST_F(MainFormTest, ChoosingAListItemAndTypingACommentReachTheScreen) {
    form->RES_LIST->setCurrentIndex(4);  // as a choice in the drop-down list sets it
    EXPECT_EQ(form->screen().listIndex(ListId::Response), 4);
    focus(form->Comment);
    QTest::keyClicks(form->Comment, "ab");
    type(Qt::Key_Return);
    QTest::keyClicks(form->Comment, "c");
    EXPECT_EQ(form->screen().comment(), "ab\r\nc");
}

TEST_F(MainFormTest, TabKeysLeaveTheCommentAndTypeNoTabIntoIt) {
    struct Case {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QWidget* next;
    };
    // Shift+Tab arrives as Backtab from the platform, Tab with Shift from QTest.
    const Case cases[] = {
        {"Tab", Qt::Key_Tab, Qt::NoModifier, form->CUTVT_LIST},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, form->CUR_LIST},
        {"Tab with Shift", Qt::Key_Tab, Qt::ShiftModifier, form->CUR_LIST},
        {"Ctrl+Tab", Qt::Key_Tab, Qt::ControlModifier, form->CUTVT_LIST},
        {"Ctrl+Shift+Tab", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier,
         form->CUR_LIST},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        form->screen().setComment("a\tb");  // a comment from a file keeps its tab
        focus(form->Comment);
        form->Comment->moveCursor(QTextCursor::End);
        QTest::keyClick(form->Comment, c.key, c.modifiers);
        EXPECT_EQ(QApplication::focusWidget(), c.next);
        EXPECT_EQ(form->Comment->toPlainText(), QStringLiteral("a\tb"));
        EXPECT_EQ(form->screen().comment(), "a\tb");
    }
}

TEST_F(MainFormTest, ALongTabRowScrollsUnderItsButtonsAndPicksOnlyWhatIsClicked) {
    // "Open" of a file of 40 pages, each with its number in its first bar.
    const std::string path = folder.path + "forty.mxd";
    {
        IniFile file(path, IniFile::Start::Empty);
        WritePageCount(file, 40);
        for (int k = 0; k < 40; ++k) {
            TMXC9Data page = DefaultPage();
            page.freq[0] = k;
            WritePageRecord(file, PageSectionName(k), "DATA" + std::to_string(k + 1), page);
        }
        file.updateFile();
    }
    files.openAnswers = {path};
    form->PAGE_OPEN->trigger();
    QApplication::processEvents();
    TTabRow* row = form->TabBar;
    ASSERT_EQ(row->count(), 40);
    auto* back = row->findChild<QToolButton*>(QStringLiteral("ScrollLeftButton"));
    auto* on = row->findChild<QToolButton*>(QStringLiteral("ScrollRightButton"));
    ASSERT_TRUE(back && on);
    ASSERT_TRUE(on->isVisible());
    EXPECT_FALSE(back->isEnabled());

    // The buttons move the row, never the page.
    const int firstLeft = row->tabRect(0).left();
    QTest::mouseClick(on, Qt::LeftButton);
    QTest::mouseClick(on, Qt::LeftButton);
    EXPECT_LT(row->tabRect(0).left(), firstLeft);
    EXPECT_TRUE(back->isEnabled());
    EXPECT_EQ(form->tabs().selected(), 0);
    EXPECT_EQ(form->screen().bar(0), 0);

    // A click picks the tab under it; Right moves on and keeps the tab in view.
    int picked = 0;  // the first tab whole in view
    while (row->tabRect(picked).left() < 0) ++picked;
    QTest::mouseClick(row, Qt::LeftButton, Qt::NoModifier, row->tabRect(picked).center());
    EXPECT_EQ(form->tabs().selected(), picked);
    EXPECT_EQ(form->screen().bar(0), picked);
    focus(row);
    while (form->tabs().selected() < 39) type(Qt::Key_Right);
    EXPECT_EQ(form->screen().bar(0), 39);
    EXPECT_LE(row->tabRect(39).right(), back->geometry().left());
    EXPECT_FALSE(on->isEnabled());
    type(Qt::Key_Right);  // past the last tab: nothing
    EXPECT_EQ(form->tabs().selected(), 39);
}

TEST_F(MainFormTest, APageNameShowsEveryCharacterItHolds) {
    // The style takes '&' for the marker of an underlined letter and an Alt shortcut.
    form->pages().resize(2);
    form->pages().InitPage(1);
    form->tabs().append("AB");
    const int plain = form->TabBar->tabRect(1).width();
    form->tabs().setCaption(1, "A&B");
    EXPECT_GT(form->TabBar->tabRect(1).width(), plain);
    focus(bar(3));
    type(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(form->tabs().selected(), 0);
}

TEST_F(MainFormTest, TabChangeKeepsEachPagesValues) {
    // A second page B, as "NewPage" leaves it.
    form->pages().resize(2);
    form->pages().InitPage(1);
    form->tabs().append("DATA2");
    ASSERT_EQ(form->TabBar->count(), 2);
    form->screen().setComment("page A");
    form->pages().SaveScreenToPage(0);
    const TMXC9Data pageA = form->pages().record(0);

    auto clickTab = [&](int index) {
        QTest::mouseClick(form->TabBar, Qt::LeftButton, Qt::NoModifier,
                          form->TabBar->tabRect(index).center());
    };
    clickTab(1);
    ASSERT_EQ(form->tabs().selected(), 1);
    EXPECT_TRUE(form->Comment->toPlainText().isEmpty());
    EXPECT_EQ(form->NBRK_CAP->text(), "OFF");
    // Change B on the widgets.
    form->NBRK_BAR->setValue(40);
    form->CUR_LIST->setCurrentIndex(2);
    focus(bar(6));
    type(Qt::Key_Down);
    form->Comment->setPlainText("page B");

    clickTab(0);
    EXPECT_EQ(form->tabs().selected(), 0);
    EXPECT_EQ(form->pages().record(0), pageA);
    EXPECT_EQ(form->Comment->toPlainText(), "page A");
    EXPECT_EQ(form->NBRK_CAP->text(), "OFF");
    EXPECT_EQ(bar(6)->value(), 35);
    EXPECT_EQ(form->CUR_LIST->currentText(), "OFF");
    // The readouts follow the focused bar onto the page now shown.
    EXPECT_EQ(form->FRQ_LEVEL->text(), "No,36");

    clickTab(1);
    EXPECT_EQ(form->Comment->toPlainText(), "page B");
    EXPECT_EQ(form->NBRK_CAP->text(), "40");
    EXPECT_EQ(form->CUR_LIST->currentText(), "80A");
    EXPECT_EQ(bar(6)->value(), 36);
    EXPECT_EQ(form->AVG_BAR->value(), AverageCode(form->screen()));
    EXPECT_TRUE(markedCells().empty());
}

TEST_F(MainFormTest, AnsweringNoToTheQuitQuestionKeepsTheWindowOpen) {
    messages.answers = {kIdNo};
    form->EXIT_BTN->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, "Quit");
    EXPECT_EQ(messages.shown[0].icon, MbIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MbButtons::YesNo);
    EXPECT_TRUE(form->isVisible());

    messages.answers = {kIdYes};
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, PopupMenuHoldsItsItemsInOrderWithSeparators) {
    const char* order[] = {"PAGE_RENAME",  "PAGE_ADD",  "",          "LINER_ADJ",  "FQRESET_MENU",
                           "ATHOR_MENU",   "",          "PAGE_OPEN", "PAGE_INT",   "PAGE_SAVE",
                           "PAGE_ALLSAVE", "PAGE_EXIT", "",          "PAGE_DELETE"};
    const auto actions = form->PopupMenu1->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(order)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (*order[i] == '\0') {
            EXPECT_TRUE(actions[i]->isSeparator()) << i;
        } else {
            EXPECT_EQ(actions[i]->objectName(), order[i]) << i;
        }
    }
}

TEST_F(MainFormTest, TheReadOnlyBrakeCaptionShowsTheFocusItTakesInTheTabOrder) {
    focus(form->AVG_BAR);
    type(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->NBRK_CAP);
    EXPECT_EQ(form->NBRK_CAP->selectedText(), QStringLiteral("OFF"));
    const QPalette palette = form->NBRK_CAP->palette();
    EXPECT_NE(palette.color(QPalette::Highlight), palette.color(QPalette::Base));
}

}  // namespace
}  // namespace mxc9::testing
