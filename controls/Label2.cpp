#include "controls/Label2.h"

#include <QMouseEvent>

namespace mxc9 {

void TLabel2::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    if (OnMouseEnter) OnMouseEnter(this);
    QLabel::enterEvent(event);
}

void TLabel2::leaveEvent(QEvent* event) {
    hovered_ = false;
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

void TLabel2::hideEvent(QHideEvent* event) {
    // Qt sends no leave to a label whose window closes under the pointer (a double click
    // on the link closes the dialog); the pointer has left it all the same, so the next
    // showing starts without the hover look.
    if (hovered_) {
        hovered_ = false;
        if (OnMouseLeave) OnMouseLeave(this);
    }
    QLabel::hideEvent(event);
}

}  // namespace mxc9
