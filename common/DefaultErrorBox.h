// The application title and the application's default error box: an error that an event
// handler does not deal with itself reaches the user in one message box, captioned with
// the application title. Every such error, whichever layer meets it, goes this way.
#pragma once

#include <string>

#include "platform/Seams.h"

namespace mxc9 {

// "MXC-9" until the main window is created, then the main window's title.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// The error's text as the default handler shows it: a period is appended when the text
// is not empty and its last character sorts after the period.
std::string DefaultErrorText(const std::string& message);

// Shows an error that left an event handler: caption the application title, error icon,
// OK. The program goes on afterwards.
void ShowDefaultError(IMessageBoxes& boxes, const std::string& message);

}  // namespace mxc9
