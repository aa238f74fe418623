// Write and Read on the real main window against the controller simulator.
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <fstream>

#include "common/MessageTable.h"
#include "device/DeviceLink.h"
#include "platform/qt/QtUiThread.h"
#include "tests/gui/MainFormFixture.h"
#include "tools/simulator/ControllerSimulator.h"

namespace mxc9::testing {
namespace {

// The main window as the program runs it: the serial component on the Qt UI thread.
class WindowOnRealPort : public MainFormTest {
  protected:
    void SetUp() override {
        InstallApplicationUiThread(&ui);
        MainFormTest::SetUp();
        form.reset();
        port = nullptr;
        form = std::make_unique<TMainForm>(seams, nullptr, [] { return MakeCommXPort(); });
        form->show();
    }
    void TearDown() override {
        MainFormTest::TearDown();
        InstallApplicationUiThread(nullptr);
    }

    // A controller answering at once on COM1, chosen in the port list.
    std::unique_ptr<sim::LineController> connectController() {
        auto controller = sim::LineController::OnPseudoTerminal(1200);
        controller->setBitRate(0);
        controller->start();
        std::ofstream(folder.path + "MXC9.ini", std::ios::app)
            << "[Ports]\r\nCOM1=" << controller->path() << "\r\n";
        choosePort(1);
        return controller;
    }
    // Pages DATA1 (first bar at 12, on screen) and DATA2 (first bar at 50).
    void makeTwoPages() {
        form->PAGE_ADD->trigger();
        form->screen().setBar(0, 50);
        clickTab(0);
        form->screen().setBar(0, 12);
    }
    void clickTab(int index) {
        QTest::mouseClick(form->TabBar, Qt::LeftButton, Qt::NoModifier,
                          form->TabBar->tabRect(index).center());
    }
    // Runs `meanwhile` while the next transfer waits for the controller's late answer.
    void duringTheTransfer(sim::LineController& controller, std::function<void()> meanwhile) {
        controller.addFault({sim::Fault::Delay, sim::FaultTarget::Read, 1, 400});
        QTimer::singleShot(100, form.get(), std::move(meanwhile));
    }
    bool asked(const std::string& text) const {
        for (const ShownMessage& shown : messages.shown)
            if (shown.text == text) return true;
        return false;
    }

    QtUiThread ui;
};

TEST_F(WindowOnRealPort, PickingComOneThenWriteCompletesAndReadFailsOnceTheControllerIsGone) {
    auto controller = sim::LineController::OnPseudoTerminal(1200);
    controller->setBitRate(0);
    controller->start();
    std::ofstream(folder.path + "MXC9.ini", std::ios::app)
        << "[Ports]\r\nCOM1=" << controller->path() << "\r\n";

    form->CommPort->showPopup();
    form->CommPort->setCurrentIndex(1);
    form->CommPort->hidePopup();
    QApplication::processEvents();  // the port selection runs once the list has closed
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().text, "COM1" + CompletionSuffix());

    form->screen().setBar(0, 12);
    QTest::mouseClick(form->PROGRAM_BTN, Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, Message(1));  // "Completed"
    EXPECT_EQ(messages.shown.back().caption, "Info");
    EXPECT_EQ(controller->image()[kParameterValues], 12);
    EXPECT_TRUE(form->READ_BTN->isEnabled());
    EXPECT_TRUE(form->CommPort->isEnabled());

    controller->stop();
    QTest::mouseClick(form->READ_BTN, Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, Message(4));  // "Communication failed"
    EXPECT_EQ(messages.shown.back().caption, "Error");
    EXPECT_EQ(messages.shown.back().icon, MbIcon::Error);
}

TEST_F(WindowOnRealPort, WriteWritesThePageItStartedOnWhateverTheTabStripIsAskedMeanwhile) {
    auto controller = connectController();
    makeTwoPages();
    bool ran = false;
    duringTheTransfer(*controller, [&] {
        ran = true;
        clickTab(1);
        QTest::keyClick(form->TabBar, Qt::Key_Right);
        const QPoint at(400, 5);
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at,
                                     form->TabControl1->mapToGlobal(at));
        QApplication::sendEvent(form->TabControl1, &rightClick);
        EXPECT_FALSE(form->PopupMenu1->isVisible());
        // Items reached however the menu was opened change nothing either.
        form->PAGE_ADD->trigger();
        form->FQRESET_MENU->trigger();
        for (QToolButton* button :
             {form->PROGRAM_BTN, form->READ_BTN, form->INFO_BTN, form->EXIT_BTN})
            EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
        EXPECT_FALSE(form->TabBar->selectable());
    });
    QTest::mouseClick(form->PROGRAM_BTN, Qt::LeftButton);
    ASSERT_TRUE(ran);
    EXPECT_EQ(messages.shown.back().text, Message(1));  // "Completed"
    EXPECT_EQ(controller->image()[kParameterValues], 12) << "DATA1's first bar";
    EXPECT_EQ(form->tabs().selected(), 0);
    EXPECT_EQ(form->tabs().count(), 2);
    EXPECT_EQ(form->screen().bar(0), 12);
    EXPECT_TRUE(form->INFO_BTN->isEnabled());
    clickTab(1);  // the strip answers again once the transfer has ended
    EXPECT_EQ(form->screen().bar(0), 50);
}

TEST_F(WindowOnRealPort, ThePagesControlsTakeNoEditWhileTheWriteWaitsForTheController) {
    auto controller = connectController();
    form->screen().setBar(0, 12);
    focus(bar(0));
    // The controller is late with its answer to the write frame: the edits come while
    // Write waits for it, after the screen was read.
    controller->addFault({sim::Fault::Delay, sim::FaultTarget::Write, 1, 400});
    bool duringTheWrite = false;
    std::vector<std::string> notHeld;
    QTimer::singleShot(150, form.get(), [&] {
        duringTheWrite = form->core().transferRunning();
        std::vector<QWidget*> held(form->FRQ.begin(), form->FRQ.end());
        held.insert(held.end(), {form->AVG_BAR, form->NBRK_BAR, form->BRK_LIST, form->CUTVT_LIST,
                                 form->RES_LIST, form->CUR_LIST, form->Comment});
        for (QWidget* control : held)
            if (control->isEnabled()) notHeld.push_back(control->objectName().toStdString());
        // As the user tries: the keys on a bar, the wheel, a list's keys, typing.
        QTest::keyClick(bar(0), Qt::Key_Up);
        QWheelEvent wheel(QPointF(8, 100), bar(0)->mapToGlobal(QPointF(8, 100)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar(0), &wheel);
        QTest::keyClick(form->CUR_LIST, Qt::Key_Up);
        QTest::keyClicks(form->Comment, "late");
    });
    QTest::mouseClick(form->PROGRAM_BTN, Qt::LeftButton);
    ASSERT_TRUE(duringTheWrite) << "the edits came inside the transfer";
    EXPECT_EQ(notHeld, std::vector<std::string>{});
    EXPECT_EQ(messages.shown.back().text, Message(1));  // "Completed"
    EXPECT_EQ(controller->image()[kParameterValues], 12);
    // What the controller holds is what the screen shows.
    EXPECT_EQ(form->screen().bar(0), 12);
    EXPECT_EQ(bar(0)->value(), 12);
    EXPECT_EQ(form->screen().listIndex(ListId::Current), 12);
    EXPECT_EQ(form->Comment->toPlainText(), "");
    // The controls are given back.
    EXPECT_TRUE(bar(0)->isEnabled());
    EXPECT_TRUE(form->Comment->isEnabled());
    QTest::keyClicks(form->Comment, "now");
    EXPECT_EQ(form->screen().comment(), "now");
}

TEST_F(WindowOnRealPort, ReadFillsThePageItStartedOn) {
    auto controller = connectController();
    makeTwoPages();
    DeviceImage image = sim::PlausibleImage();
    image[kParameterValues] = 20;
    controller->setImage(image);
    duringTheTransfer(*controller, [&] {
        clickTab(1);
        type(Qt::Key_Right);  // Read has put the focus on the tab strip
    });
    QTest::mouseClick(form->READ_BTN, Qt::LeftButton);
    EXPECT_EQ(messages.shown.back().text, Message(3));  // "Completed"
    EXPECT_EQ(form->tabs().selected(), 0);
    EXPECT_EQ(form->screen().bar(0), 20);
    clickTab(1);
    EXPECT_EQ(form->screen().bar(0), 50) << "DATA2 as it was";
    clickTab(0);
    EXPECT_EQ(form->screen().bar(0), 20) << "DATA1 holds what was read";
}

TEST_F(WindowOnRealPort, ClosingDuringATransferAsksWhenItHasEnded) {
    auto controller = connectController();
    bool askedMeanwhile = true;
    bool openMeanwhile = false;
    duringTheTransfer(*controller, [&] {
        form->close();
        askedMeanwhile = asked(Message(0));
        openMeanwhile = form->isVisible();
    });
    QTest::mouseClick(form->PROGRAM_BTN, Qt::LeftButton);
    EXPECT_FALSE(askedMeanwhile);
    EXPECT_TRUE(openMeanwhile);
    ASSERT_GE(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[messages.shown.size() - 2].text, Message(1));  // "Completed"
    EXPECT_EQ(messages.shown.back().text, Message(0));  // then "Close the program?"
    EXPECT_FALSE(form->isVisible()) << "answered Yes";
}

}  // namespace
}  // namespace mxc9::testing
