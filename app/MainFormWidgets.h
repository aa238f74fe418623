// Small pieces shared by the main window's layout and its handlers.
#pragma once

#include <QComboBox>
#include <QString>
#include <functional>
#include <string>

namespace mxc9 {

inline QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// A drop-down list that reports the closing of its list: the port selection runs then,
// whether or not the entry changed.
class CloseUpComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> onCloseUp;

  protected:
    void showPopup() override {
        popupOpen_ = true;
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // Qt also calls this when the box is hidden with its window (closing, minimising);
        // only the closing of a list the user opened is a port selection.
        if (!popupOpen_) return;
        popupOpen_ = false;
        // The chosen item becomes current only after the list has closed.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (onCloseUp) onCloseUp();
            },
            Qt::QueuedConnection);
    }

  private:
    bool popupOpen_ = false;
};

}  // namespace mxc9
