// The published properties of the colour button, written once over the window system's
// colour type and caption-lines type: each setter stores a changed value and has the
// button repaint (Button::propertyChanged(), called only for a change); an equal value
// changes nothing.
#pragma once

#include "controls/ColorBtnLayout.h"

namespace mxc9 {

template <typename Button, typename Colour, typename Lines>
class ColorBtnProperties {
  public:
    const Lines& CaptionLines() const { return captionLines_; }
    void setCaptionLines(const Lines& lines) { assign(captionLines_, lines); }  // when no caption
    Colour Color() const { return color_; }
    void setColor(const Colour& color) { assign(color_, color); }  // background while enabled
    TNHAlignment CapAlignH() const { return look_.capAlignH; }
    void setCapAlignH(TNHAlignment value) { assign(look_.capAlignH, value); }
    TNVAlignment CapAlignV() const { return look_.capAlignV; }
    void setCapAlignV(TNVAlignment value) { assign(look_.capAlignV, value); }
    TButtonStyle ButtonStyle() const { return look_.buttonStyle; }
    void setButtonStyle(TButtonStyle value) { assign(look_.buttonStyle, value); }
    bool CapFixed() const { return look_.capFixed; }
    void setCapFixed(bool value) { assign(look_.capFixed, value); }
    bool Focusline() const { return look_.focusline; }
    void setFocusline(bool value) { assign(look_.focusline, value); }
    int CapOffsetH() const { return look_.capOffsetH; }
    void setCapOffsetH(int value) { assign(look_.capOffsetH, value); }
    int CapOffsetV() const { return look_.capOffsetV; }
    void setCapOffsetV(int value) { assign(look_.capOffsetV, value); }
    Colour FrameColor() const { return frameColor_; }
    void setFrameColor(const Colour& color) { assign(frameColor_, color); }
    Colour EdgeHighlight() const { return edgeHighlight_; }
    void setEdgeHighlight(const Colour& color) { assign(edgeHighlight_, color); }
    Colour EdgeShadow() const { return edgeShadow_; }
    void setEdgeShadow(const Colour& color) { assign(edgeShadow_, color); }

  protected:
    // The system's colours of a button face, a window frame and the two edges.
    ColorBtnProperties(Colour face, Colour frame, Colour highlight, Colour shadow)
        : color_(face), frameColor_(frame), edgeHighlight_(highlight), edgeShadow_(shadow) {}
    ~ColorBtnProperties() = default;

    Lines captionLines_;
    Colour color_;
    ColorBtnLook look_;
    Colour frameColor_;
    Colour edgeHighlight_;
    Colour edgeShadow_;

  private:
    template <typename T>
    void assign(T& field, const T& value) {
        if (field == value) return;
        field = value;
        static_cast<Button*>(this)->propertyChanged();
    }
};

}  // namespace mxc9
