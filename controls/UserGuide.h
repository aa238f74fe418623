// The user's guide that the information dialog's link opens: the one the program installs
// beside itself, or, for a program run from a build tree, the one in the source tree.
#pragma once

#include <string>

#include "platform/Seams.h"

namespace mxc9 {

// The guide in `language` (0 Japanese, 1 English) for a program in `program`. Installed:
// <prefix>/share/doc/mxc9/USER-GUIDE.html (USER-GUIDE.ja.html in Japanese), or the
// Markdown text beside it when the package holds no HTML. Not installed: the Markdown text
// in docs/ of the source tree the program was built from.
std::string UserGuidePath(const IProgramFolder& program, int language);

// "file://" and the absolute path, every byte but letters, digits, "-._~" and "/"
// percent-encoded, so a desktop's URL handler opens that very file.
std::string FileUrl(const std::string& path);

// FileUrl(UserGuidePath(program, language)).
std::string UserGuideUrl(const IProgramFolder& program, int language);

}  // namespace mxc9
