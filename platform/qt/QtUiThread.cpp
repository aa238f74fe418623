#include "platform/qt/QtUiThread.h"

#include <QCoreApplication>
#include <QThread>

namespace mxc9 {

QtUiThread::QtUiThread() : target_(new QObject) {}

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
    QMetaObject::invokeMethod(
        target_, [this] { DeliverSends(); }, Qt::QueuedConnection);
}

void QtUiThread::ProcessMessages() {
    DeliverSends();
    QCoreApplication::processEvents();
}

}  // namespace mxc9
