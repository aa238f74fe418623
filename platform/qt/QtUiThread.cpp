#include "platform/qt/QtUiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace mxc9 {

namespace {

// The object the wake-ups are posted to. A wake-up is a bare event: nothing the sending
// thread wrote is read on the GUI thread outside Qt, whose own hand-over a race checker
// cannot see (Qt is not instrumented); Qt itself tells the custom event apart.
class WakeTarget final : public QObject {
  public:
    explicit WakeTarget(IUiThread& ui) : ui_(ui) {}
    static QEvent::Type wakeType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

  protected:
    void customEvent(QEvent*) override { ui_.DeliverSends(); }

  private:
    IUiThread& ui_;
};

}  // namespace

QtUiThread::QtUiThread() : target_(new WakeTarget(*this)) {
    WakeTarget::wakeType();  // registered on the GUI thread, before any worker asks
}

QtUiThread::~QtUiThread() {
    delete target_;  // wake-ups still queued go with it
}

bool QtUiThread::OnUiThread() const {
    return QThread::currentThread() == target_->thread();
}

// Only a wake-up crosses threads through Qt; the call and the sender's wait stay in
// the seam's queue. A wake-up that finds the queue already emptied by a pump does
// nothing.
void QtUiThread::Wake() {
    QCoreApplication::postEvent(target_, new QEvent(WakeTarget::wakeType()));
}

void QtUiThread::ProcessMessages() {
    DeliverSends();
    QCoreApplication::processEvents();
}

}  // namespace mxc9
