#include "app/Application.h"

#include <cstdio>
#include <exception>

#include "app/ApplicationShell.h"

namespace mxc9 {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    return DeliverGuarded([&] { return QApplication::notify(receiver, event); }, boxes_);
}

bool DeliverGuarded(const std::function<bool()>& deliver, IMessageBoxes* boxes) {
    std::string message;
    try {
        return deliver();
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "Unknown error";
    }
    if (boxes) {
        ShowDefaultError(*boxes, message);
    } else {
        std::fprintf(stderr, "%s\n", DefaultErrorText(message).c_str());
    }
    return false;
}

}  // namespace mxc9
