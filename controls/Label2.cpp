#include "controls/Label2.h"

#include <QMouseEvent>

namespace mxc9 {

void TLabel2::enterEvent(QEnterEvent* event) {
    if (OnMouseEnter) OnMouseEnter(this);
    QLabel::enterEvent(event);
}

void TLabel2::leaveEvent(QEvent* event) {
    if (OnMouseLeave) OnMouseLeave(this);
    QLabel::leaveEvent(event);
}

void TLabel2::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick) {
        OnDblClick(this);
        return;
    }
    QLabel::mouseDoubleClickEvent(event);
}

}  // namespace mxc9
