#include "app/win32/WindowColours.h"

namespace mxc9 {

bool HighContrastOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

WindowColours ColoursFor(bool highContrast) {
    if (highContrast) {
        return {GetSysColor(COLOR_BTNTEXT),    GetSysColor(COLOR_BTNFACE),
                GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW),
                GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW)};
    }
    return {RGB(0, 0, 128),     GetSysColor(COLOR_BTNFACE),
            RGB(255, 255, 255), RGB(0, 0, 0),
            RGB(0, 255, 0),     RGB(0, 0, 0)};
}

}  // namespace mxc9
