#include "editor/qt/ClassicScrollBarStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QPolygon>
#include <QStyleOptionSlider>

namespace mxc9 {
namespace {

// The desktop's scroll bar metrics at 96 dots per inch: arrow buttons and the thumb of a
// bar whose page is small are as long as a standard bar is thick.
constexpr int kArrowLength = 16;
constexpr int kThumbLength = 16;

QColor Rgb(unsigned rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// The raised edge of a classic button: light outer and white inner lines at the top and
// left, black outer and grey inner lines at the bottom and right.
void DrawRaised(QPainter& p, const QRect& r, bool inverted) {
    auto colour = [inverted](unsigned rgb) { return Rgb(inverted ? rgb ^ 0xFFFFFFu : rgb); };
    p.fillRect(r, colour(classic::kFace));
    if (r.width() < 4 || r.height() < 4) return;
    const int x0 = r.left(), y0 = r.top(), x1 = r.right(), y1 = r.bottom();
    p.fillRect(QRect(x0 + 1, y0 + 1, r.width() - 2, 1), colour(classic::kHighlight));
    p.fillRect(QRect(x0 + 1, y0 + 1, 1, r.height() - 2), colour(classic::kHighlight));
    p.fillRect(QRect(x0 + 1, y1 - 1, r.width() - 2, 1), colour(classic::kShadow));
    p.fillRect(QRect(x1 - 1, y0 + 1, 1, r.height() - 2), colour(classic::kShadow));
    p.fillRect(QRect(x0, y1, r.width(), 1), colour(classic::kDarkShadow));
    p.fillRect(QRect(x1, y0, 1, r.height()), colour(classic::kDarkShadow));
}

// A pressed arrow button: flat, outlined in the shadow colour.
void DrawFlat(QPainter& p, const QRect& r) {
    p.fillRect(r, Rgb(classic::kFace));
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), Rgb(classic::kShadow));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), Rgb(classic::kShadow));
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), Rgb(classic::kShadow));
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), Rgb(classic::kShadow));
}

// The solid arrow of a button, pointing along `direction` (-1 towards the minimum).
void DrawArrow(QPainter& p, const QRect& r, Qt::Orientation orientation, int direction,
               bool enabled, bool pressed) {
    const int half = std::max(1, std::min(r.width(), r.height()) / 4);  // 4 for 16 pixels
    QPoint centre = r.center() + (pressed ? QPoint(1, 1) : QPoint(0, 0));
    // The triangle's base and tip, half + 1 pixels wide across and half deep.
    QPolygon triangle;
    if (orientation == Qt::Vertical) {
        const int tipY = centre.y() + (direction < 0 ? -half / 2 - 1 : half / 2);
        const int baseY = tipY - direction * (half - 1);
        triangle << QPoint(centre.x() - half + 1, baseY) << QPoint(centre.x() + half - 1, baseY)
                 << QPoint(centre.x(), tipY);
    } else {
        const int tipX = centre.x() + (direction < 0 ? -half / 2 - 1 : half / 2);
        const int baseX = tipX - direction * (half - 1);
        triangle << QPoint(baseX, centre.y() - half + 1) << QPoint(baseX, centre.y() + half - 1)
                 << QPoint(tipX, centre.y());
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink = enabled ? Rgb(classic::kDarkShadow) : Rgb(classic::kShadow);
    p.setPen(ink);
    p.setBrush(ink);
    p.drawPolygon(triangle);
}

// The track: white and face pixels in a checkerboard of device pixels, as the classic
// desktop fills it. Filling it pixel by pattern costs several times the rest of the
// window's paint; a ready picture per bar size is copied instead.
void DrawTrack(QPainter& p, const QRect& r) {
    const qreal ratio = p.device()->devicePixelRatioF();
    const QString key =
        QStringLiteral("mxc9-scroll-track-%1x%2@%3").arg(r.width()).arg(r.height()).arg(ratio);
    QPixmap track;
    if (!QPixmapCache::find(key, &track)) {
        QImage image(r.size() * ratio, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = 0xFF000000u | ((x + y) % 2 ? classic::kFace : classic::kHighlight);
        }
        track = QPixmap::fromImage(image);
        track.setDevicePixelRatio(ratio);
        QPixmapCache::insert(key, track);
    }
    p.drawPixmap(r.topLeft(), track);
}

}  // namespace

ClassicScrollBarStyle::ClassicScrollBarStyle() = default;

ClassicScrollBarStyle* ClassicScrollBarStyle::instance() {
    static QPointer<ClassicScrollBarStyle> shared;
    if (!shared) {
        shared = new ClassicScrollBarStyle;
        shared->setParent(qApp);
    }
    return shared;
}

int ClassicScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                       const QWidget* widget) const {
    switch (metric) {
        case PM_ScrollBarExtent:
            return kArrowLength;
        case PM_ScrollBarSliderMin:
            return kThumbLength;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int ClassicScrollBarStyle::styleHint(StyleHint hint, const QStyleOption* option,
                                     const QWidget* widget, QStyleHintReturn* returnData) const {
    if (hint == SH_ScrollBar_Transient) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void ClassicScrollBarStyle::drawComplexControl(ComplexControl control,
                                               const QStyleOptionComplex* option, QPainter* painter,
                                               const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || bar == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QPainter& p = *painter;
    p.save();
    const bool enabled = bar->state & State_Enabled;
    auto rect = [&](SubControl part) { return subControlRect(control, bar, part, widget); };
    auto pressed = [&](SubControl part) {
        return (bar->activeSubControls & part) && (bar->state & State_Sunken);
    };

    DrawTrack(p, bar->rect);
    for (const auto& [part, direction] :
         {std::pair{SC_ScrollBarSubLine, -1}, std::pair{SC_ScrollBarAddLine, 1}}) {
        const QRect button = rect(part);
        if (pressed(part))
            DrawFlat(p, button);
        else
            DrawRaised(p, button, false);
        DrawArrow(p, button, bar->orientation, direction, enabled, pressed(part));
    }
    if (enabled && bar->maximum > bar->minimum)
        DrawRaised(p, rect(SC_ScrollBarSlider), bar->state & State_HasFocus);
    p.restore();
}

}  // namespace mxc9
