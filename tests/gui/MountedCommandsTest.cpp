// The menu items, buttons and start-up steps reach the commands behind them.
#include <QFile>
#include <QMenu>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include "controls/InfoDialog.h"
#include "tests/gui/MainFormFixture.h"

namespace mxc9::testing {
namespace {

QString IniText(const std::string& folder) {
    QFile file(QString::fromStdString(folder + "MXC9.ini"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

TEST_F(MainFormTest, MenuOpeningEnablesItemsByTheirRules) {
    form->PopupMenu1Popup();
    EXPECT_TRUE(form->PAGE_ADD->isEnabled());
    EXPECT_FALSE(form->LINER_ADJ->isEnabled());
    EXPECT_FALSE(form->PAGE_DELETE->isEnabled());

    focus(bar(2));
    QTest::keyPress(bar(2), Qt::Key_Shift);
    type(Qt::Key_Right, Qt::ShiftModifier);
    form->PopupMenu1Popup();
    EXPECT_TRUE(form->LINER_ADJ->isEnabled());
    QTest::keyRelease(bar(3), Qt::Key_Shift);
    form->PopupMenu1Popup();
    EXPECT_FALSE(form->LINER_ADJ->isEnabled());
}

TEST_F(MainFormTest, NewPageItemAddsATabAndDeleteBecomesAvailable) {
    form->PAGE_ADD->trigger();
    ASSERT_EQ(form->TabBar->count(), 2);
    EXPECT_EQ(form->TabBar->tabText(1), "DATA2");
    EXPECT_EQ(form->pages().size(), 2);
    form->PopupMenu1Popup();
    EXPECT_TRUE(form->PAGE_DELETE->isEnabled());
}

TEST_F(MainFormTest, FrequencyResetItemAsksAndResetsTheBars) {
    form->screen().setBar(0, 10);
    messages.answers = {kIdYes, kIdYes};
    form->FQRESET_MENU->trigger();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(bar(0)->value(), 35);
    EXPECT_EQ(form->FRQ_NAME->text(), "AVG");
}

TEST_F(MainFormTest, InformationButtonShowsTheDialogWithTheCopyrightLine) {
    auto* dialog = new TInfoDialog(&browser, form.get());
    form->setInfoDialog(dialog);
    bool shown = false;
    QTimer::singleShot(0, dialog, [&] {
        shown = dialog->isVisible();
        dialog->reject();
    });
    form->INFO_BTN->click();
    EXPECT_TRUE(shown);
}

TEST_F(MainFormTest, CommentKeepsOnlyWhatCodePage932CanHold) {
    focus(form->Comment);
    form->Comment->insertPlainText(QString::fromUtf8("表😀"));  // as a paste inserts it
    QTest::keyClicks(form->Comment, "x");                      // typing goes on after the kept text
    EXPECT_EQ(form->Comment->toPlainText(), QString::fromUtf8("表?x"));
    EXPECT_EQ(form->screen().comment(), "表?x");
}

TEST_F(MainFormTest, StartUpWritesThePortOffAndQuittingWritesTheListEntry) {
    EXPECT_TRUE(IniText(folder.path).contains("CommPort=0"));
    form->CommPort->setCurrentIndex(3);
    messages.answers = {kIdNo};
    form->close();
    EXPECT_TRUE(IniText(folder.path).contains("CommPort=0"));
    messages.answers = {kIdYes};
    form->close();
    EXPECT_TRUE(IniText(folder.path).contains("CommPort=3"));
}

}  // namespace
}  // namespace mxc9::testing
