// TLabel2: a text label that reports the pointer entering and leaving it.
#pragma once

#include <QLabel>
#include <functional>

namespace mxc9 {

class TLabel2 : public QLabel {
    Q_OBJECT

  public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    explicit TLabel2(QWidget* parent = nullptr) : QLabel(parent) {}

    // Called, when assigned, with this label as the sender.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    // The label's own double-click event.
    TNotifyEvent OnDblClick;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    bool hovered_ = false;  // an enter was reported and its leave not yet
};

}  // namespace mxc9
