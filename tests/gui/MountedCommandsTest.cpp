// The menu items, buttons and start-up steps reach the commands behind them.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

#include "app/MainFormWidgets.h"
#include "common/MessageTable.h"
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

TEST_F(MainFormTest, RightClickOnTheTabStripOrABarOpensTheMenuWithItsEnabling) {
    for (QWidget* target : {form->TabControl1, static_cast<QWidget*>(bar(5))}) {
        form->PAGE_DELETE->setEnabled(true);  // opening the menu must set it again
        const QPoint at(4, 100);
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &click);
        ASSERT_TRUE(QTest::qWaitFor([&] { return form->PopupMenu1->isVisible(); }, 2000))
            << target->objectName().toStdString();
        EXPECT_FALSE(form->PAGE_DELETE->isEnabled());
        EXPECT_TRUE(form->PAGE_OPEN->isEnabled());
        form->PopupMenu1->close();
    }
}

TEST_F(MainFormTest, NewPageItemAddsATabAndDeleteBecomesAvailable) {
    form->PAGE_ADD->trigger();
    ASSERT_EQ(form->TabBar->count(), 2);
    EXPECT_EQ(form->TabBar->tabText(1), "DATA2");
    EXPECT_EQ(form->pages().size(), 2);
    form->PopupMenu1Popup();
    EXPECT_TRUE(form->PAGE_DELETE->isEnabled());
}

TEST_F(MainFormTest, RenameItemNamesTheTabThroughThePageNameDialog) {
    pageName.answers = {std::string("Track")};
    form->PAGE_RENAME->trigger();
    ASSERT_EQ(pageName.shownNames.size(), 1u);
    EXPECT_EQ(pageName.shownNames[0], "DATA1");
    EXPECT_EQ(form->TabBar->tabText(0), "Track");
}

TEST_F(MainFormTest, LinearInterpolationItemDrawsALineAcrossTheSelectedBars) {
    form->screen().setBar(2, 10);
    form->screen().setBar(6, 20);
    focus(bar(2));
    QTest::keyPress(bar(2), Qt::Key_Shift);
    for (int step = 0; step < 4; ++step) type(Qt::Key_Right, Qt::ShiftModifier);
    messages.answers = {kIdYes};
    form->LINER_ADJ->trigger();
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Shift);
    const int expected[] = {10, 12, 15, 18, 20};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bar(2 + i)->value(), expected[i]) << i;
    EXPECT_EQ(form->AVG_BAR->value(), AverageCode(form->screen()));
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
    EXPECT_EQ(form->screen().comment(), "\x95\x5C?x") << "表?x in code page 932";
}

TEST_F(MainFormTest, NamesAndCommentsShowConvertedAndAnEditKeepsTheLinesNotTouched) {
    // FA4A reads as Roman numeral one (as 8754 does), 80 starts no character.
    form->tabs().setCaption(0, "\x95\x5C\x83\x5C\xFA\x4A");
    form->pages().record(0).comment = "\xFA\x4A\r\n\x80x\r\n";
    form->pages().LoadPageToScreen(0);
    EXPECT_EQ(form->TabBar->tabText(0), QString::fromUtf8("表ソ\u2160"));
    EXPECT_EQ(form->Comment->toPlainText(), QString::fromUtf8("\u2160\n\uFFFDx\n"));

    focus(form->Comment);
    form->Comment->moveCursor(QTextCursor::End);
    QTest::keyClicks(form->Comment, "new");
    EXPECT_EQ(form->screen().comment(), "\xFA\x4A\r\n\x80x\r\nnew");
}

TEST_F(MainFormTest, FileDialogsListTheSettingsFilterEntries) {
    // The dialog's own list of file types, as the user sees it.
    QtFileDialogs dialogs{SettingsFileFilterNames()};
    for (bool save : {false, true}) {
        QStringList entries;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            ASSERT_TRUE(types);
            for (int i = 0; i < types->count(); ++i) entries << types->itemText(i);
            dialog->reject();
        });
        save ? dialogs.saveFile(folder.path + "x.mxd") : dialogs.openFile(folder.path + "x.mxd");
        const QStringList expected =
            LanguageIndex() == kLanguageJapanese
                ? QStringList({QString::fromUtf8("設定データ (*.mxd)"),
                               QString::fromUtf8("すべてのファイルを表示")})
                : QStringList({"Settings data (*.mxd)", "All files"});
        EXPECT_EQ(entries, expected);
    }
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

TEST_F(MainFormTest, ChoosingAPortOpensItAndRemembersIt) {
    messages.shown.clear();
    choosePort(1);
    EXPECT_TRUE(form->deviceLink().isOpen());
    EXPECT_TRUE(IniText(folder.path).contains("CommPort=1"));

    choosePort(0);
    EXPECT_FALSE(form->deviceLink().isOpen());
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, Message(5));
}

TEST_F(MainFormTest, AKeyThatChangesTheClosedPortListIsAPortSelection) {
    focus(form->CommPort);
    messages.shown.clear();
    type(Qt::Key_Down);
    EXPECT_EQ(form->CommPort->currentText(), "COM1");
    EXPECT_TRUE(form->deviceLink().isOpen()) << "the port shown is the port used";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(IniText(folder.path).contains("CommPort=1"));
    type(Qt::Key_Up);
    EXPECT_FALSE(form->deviceLink().isOpen());
    EXPECT_EQ(messages.shown.back().text, Message(5));
    // A key that changes nothing selects nothing.
    messages.shown.clear();
    type(Qt::Key_Up);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainFormTest, HidingTheWindowIsNoPortSelection) {
    choosePort(1);
    ASSERT_TRUE(form->deviceLink().isOpen());
    messages.shown.clear();
    // Closing or minimising hides the list box with the window: no reopening, no message.
    form->hide();
    QApplication::processEvents();
    form->show();
    form->CommPort->hidePopup();
    QApplication::processEvents();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(form->deviceLink().isOpen());
}

TEST_F(MainFormTest, StartUpOpensTheRememberedPort) {
    {
        QFile ini(QString::fromStdString(folder.path + "MXC9.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[MXC9]\r\nCommPort=2\r\n");
    }
    openForm();
    EXPECT_EQ(form->CommPort->currentText(), "COM2");
    EXPECT_TRUE(form->deviceLink().isOpen());
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->appliedSettings.back().portNo, 2);
}

TEST_F(MainFormTest, PortListShowsEachEntrysDeviceFileAsItsTooltip) {
    {
        QFile ini(QString::fromStdString(folder.path + "MXC9.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[MXC9]\r\nCommPort=0\r\n[Ports]\r\ncom3=/dev/ttyUSB0\r\n");
    }
    serialDevices.devices = {{"/dev/ttyS0", "", false, "", "", 4, "serial8250"}};
    openForm();
    EXPECT_EQ(form->CommPort->itemData(3, Qt::ToolTipRole).toString(), "/dev/ttyUSB0");
    EXPECT_EQ(form->CommPort->itemData(1, Qt::ToolTipRole).toString(), "/dev/ttyS0");
    EXPECT_FALSE(form->CommPort->itemData(10, Qt::ToolTipRole).isValid());  // stands for nothing
    EXPECT_FALSE(form->CommPort->itemData(0, Qt::ToolTipRole).isValid());
}

TEST_F(MainFormTest, PortListLooksAtTheMachineEachTimeItDropsDown) {
    messages.answers.clear();
    form->CommPort->setCurrentIndex(2);
    // An adapter plugged in while the program runs.
    serialDevices.devices = {{"/dev/ttyUSB0",
                              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A5-if00-port0", true,
                              "FT232R USB UART", "FTDI", -1, "ftdi_sio"}};
    EXPECT_FALSE(form->CommPort->itemData(1, Qt::ToolTipRole).isValid());
    QTest::mouseClick(form->CommPort, Qt::LeftButton);
    QAbstractItemView* list = form->CommPort->view();
    ASSERT_TRUE(list->isVisible());
    const std::pair<int, std::vector<QString>> rows[] = {
        {1, {"COM1", "/dev/ttyUSB0", "FT232R USB UART (FTDI)"}},
        {2, {"COM2", QString::fromUtf8("\u2014"), ""}},
    };
    for (const auto& [row, texts] : rows) {
        const QModelIndex index = form->CommPort->model()->index(row, 0);
        EXPECT_EQ(index.data(Qt::DisplayRole).toString(), texts[0]);
        EXPECT_EQ(index.data(kPortDeviceRole).toString(), texts[1]);
        EXPECT_EQ(index.data(kPortDetailsRole).toString(), texts[2]);
    }
    // Every row fits whole in the open list, wider than the box.
    EXPECT_GE(list->viewport()->width(),
              PortListDelegate::width(list->fontMetrics(), form->CommPort->model()));
    EXPECT_EQ(form->CommPort->itemData(1, Qt::ToolTipRole).toString(), "/dev/ttyUSB0");
    EXPECT_EQ(form->CommPort->currentText(), "COM2") << "the closed box shows the entry alone";
    QTest::keyClick(list, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(form->CommPort->currentText(), "COM2");
}

TEST_F(MainFormTest, ReadButtonReachesTheTransferAndReportsItsResult) {
    focus(bar(3));
    messages.shown.clear();
    form->READ_BTN->click();  // no port open: the read fails
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Message(4));
    EXPECT_EQ(QApplication::focusWidget(), form->TabBar);
    EXPECT_TRUE(form->READ_BTN->isEnabled());

    choosePort(1);
    port->replies.push_back(ReadReply(std::string(42, '\x05')));
    messages.shown.clear();
    form->READ_BTN->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Message(3));
    EXPECT_EQ(form->AVG_BAR->value(), AverageCode(form->screen()));
    EXPECT_NE(bar(0)->value(), 35);
}

TEST_F(MainFormTest, WriteButtonReachesTheTransfer) {
    messages.shown.clear();
    form->PROGRAM_BTN->click();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, Message(2));
}

}  // namespace
}  // namespace mxc9::testing
