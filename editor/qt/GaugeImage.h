// The selection gauge's pixel buffer as a Qt image, to be shown in both gauge places.
#pragma once

#include <QImage>
#include <QPixmap>
#include <cmath>

#include "editor/FrequencyEditor.h"

namespace mxc9 {

inline QImage GaugeImage(const SelectionGauge& gauge) {
    return QImage(gauge.data(), SelectionGauge::kWidth, SelectionGauge::kHeight,
                  SelectionGauge::bytesPerLine(), QImage::Format_RGB888)
        .copy();
}

// The gauge for a screen of the given device pixel ratio: each pixel repeated, never
// blended, so the one-pixel separators stay white between the cells.
inline QPixmap GaugePixmap(const SelectionGauge& gauge, qreal ratio) {
    const QImage image = GaugeImage(gauge);
    if (ratio <= 1.0) return QPixmap::fromImage(image);
    const QSize device(static_cast<int>(std::ceil(image.width() * ratio)),
                       static_cast<int>(std::ceil(image.height() * ratio)));
    QPixmap pixmap =
        QPixmap::fromImage(image.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

}  // namespace mxc9
