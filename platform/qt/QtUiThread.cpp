#include "platform/qt/QtUiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace mxc9 {

QtUiThread::QtUiThread() : target_(new QObject) {}

QtUiThread::~QtUiThread() {
    delete target_;
}

void QtUiThread::Send(const std::function<void()>& call) {
    if (QThread::currentThread() == target_->thread()) {
        call();
        return;
    }
    QMetaObject::invokeMethod(
        target_, [&call] { call(); }, Qt::BlockingQueuedConnection);
}

void QtUiThread::DeliverSends() {
    QCoreApplication::sendPostedEvents(target_, QEvent::MetaCall);
}

void QtUiThread::ProcessMessages() {
    DeliverSends();
    QCoreApplication::processEvents();
}

}  // namespace mxc9
