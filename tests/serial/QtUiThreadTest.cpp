// The serial component's events on the Qt GUI thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <thread>

#include "platform/qt/QtUiThread.h"
#include "serial/CommX.h"
#include "tests/serial/FakePort.h"
#include "tests/serial/Watchdog.h"

namespace mxc9::test {
namespace {

using namespace std::chrono_literals;

TEST(QtUiThreadTest, WorkerCallsRunOnTheGuiThreadWhileItPumps) {
    QtUiThread ui;
    QThread* ranOn = nullptr;
    std::thread worker([&] { ui.Send([&] { ranOn = QThread::currentThread(); }); });
    const auto end = Clock::now() + 2s;
    while (ranOn == nullptr && Clock::now() < end) {
        ui.ProcessMessages();
        std::this_thread::sleep_for(1ms);
    }
    worker.join();
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
    ui.Send([&] { ranOn = nullptr; });  // from the GUI thread itself: at once
    EXPECT_EQ(ranOn, nullptr);
}

// The receive thread waits in a blocking call for the GUI thread; Close on the GUI thread
// must release it without running the application's other events.
TEST(QtUiThreadTest, CloseOnTheGuiThreadReleasesAWaitingReceiveThread) {
    CountingUi<QtUiThread> ui;
    auto line = std::make_shared<FakeLine>();
    TCommX comm(ui, {}, FakeOpener(line));
    int received = 0;
    comm.SetOnReceive([&](TCustomCommX*, int32_t) { ++received; });
    comm.Open();
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    line->Set([](FakeLine& l) {
        l.inQueue = 1;
        l.portEvents.push_back(EV_RXCHAR);
    });
    ASSERT_TRUE(ui.WaitForSenders(1));  // the receive thread waits for its notification
    const auto start = Clock::now();
    comm.Close();
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(),
              700);
    EXPECT_EQ(received, 0);
    EXPECT_FALSE(timerRan);
    QCoreApplication::processEvents();
    EXPECT_TRUE(timerRan);
}

// A handler that closes the port runs inside the event loop's delivery of the receive
// thread's notification, while that thread waits for it.
TEST(QtUiThreadTest, HandlerRunByTheEventLoopClosesThePort) {
    QtUiThread ui;
    auto line = std::make_shared<FakeLine>();
    TCommX comm(ui, {}, FakeOpener(line));
    int handled = 0;
    comm.SetOnReceive([&](TCustomCommX* sender, int32_t) {
        ++handled;
        sender->Close();
    });
    comm.Open();
    line->Set([](FakeLine& l) {
        l.inQueue = 1;
        l.portEvents.push_back(EV_RXCHAR);
    });
    Watchdog watchdog(10s, "Close in a handler run by the event loop");
    const auto end = Clock::now() + 5s;
    while (handled == 0 && Clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(comm.Handle(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(line->Get<bool>([](FakeLine& l) { return l.destroyed; }));
}

}  // namespace
}  // namespace mxc9::test
