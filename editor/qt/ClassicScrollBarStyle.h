// The look of the editing screen's scroll bars: the desktop's classic scroll bar, with
// square arrow buttons, a square raised thumb with a two-pixel bevel on a checkered
// track, and the thumb of the focused bar drawn inverted (as the classic bar's blinking
// thumb shows it half of the time), so that the curve of the 32 thumbs and the bar that
// takes the keys read at a glance.
#pragma once

#include <QProxyStyle>

namespace mxc9 {

class ClassicScrollBarStyle : public QProxyStyle {
  public:
    // One style for every bar, owned by the application object.
    static ClassicScrollBarStyle* instance();

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;

  private:
    ClassicScrollBarStyle();
};

// The classic colours the bars are drawn in.
namespace classic {
inline constexpr unsigned kFace = 0xC0C0C0;        // button face
inline constexpr unsigned kHighlight = 0xFFFFFF;   // light inner edge
inline constexpr unsigned kShadow = 0x808080;      // dark inner edge
inline constexpr unsigned kDarkShadow = 0x000000;  // dark outer edge, arrows
}  // namespace classic

}  // namespace mxc9
