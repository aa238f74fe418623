// The selection gauge's pixel buffer as a Qt image, to be shown in both gauge places.
#pragma once

#include <QImage>

#include "editor/FrequencyEditor.h"

namespace mxc9 {

inline QImage GaugeImage(const SelectionGauge& gauge) {
    return QImage(gauge.data(), SelectionGauge::kWidth, SelectionGauge::kHeight,
                  SelectionGauge::bytesPerLine(), QImage::Format_RGB888)
        .copy();
}

}  // namespace mxc9
