// The colours the Windows window draws its own texts in: the layout's (navy labels on the
// page, white on black in the setting boxes, green readouts), or in a high-contrast scheme
// the system's, so that the scheme reaches every text the window draws itself as it
// reaches the menus and the boxes.
#pragma once

#include <windows.h>

namespace mxc9 {

struct WindowColours {
    COLORREF labelText, page;       // the labels on the page
    COLORREF fieldText, field;      // the lists' faces, the brake caption, the comment
    COLORREF readoutText, readout;  // the three readouts
};

// The system's high-contrast setting, as it stands now.
bool HighContrastOn();
WindowColours ColoursFor(bool highContrast);

}  // namespace mxc9
