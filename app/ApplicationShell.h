// The application shell's plain rules: the application title and the default error
// handler that shows an error no event handler caught.
#pragma once

#include <string>

#include "platform/Seams.h"

namespace mxc9 {

// "MXC-9" until the main window is created, then the main window's title.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// The main window's title: the title prefix followed directly by the language code.
std::string MainWindowTitle();

// The error's text as the default handler shows it: a period is appended when the text
// is not empty and its last character sorts after the period.
std::string DefaultErrorText(const std::string& message);

// Shows an error that left an event handler: caption the application title, error icon,
// OK. The program goes on afterwards.
void ShowDefaultError(IMessageBoxes& boxes, const std::string& message);

}  // namespace mxc9
