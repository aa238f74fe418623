// Write and Read on the real main window against the controller simulator.
#include <QToolButton>
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

}  // namespace
}  // namespace mxc9::testing
