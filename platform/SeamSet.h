// One implementation of every seam, held together, and the Seams that point at them: the
// window programs hold their system's set (QtSeamSet, Win32SeamSet), the tests a set of
// fakes (tests/fakes/FakeSeams.h), each of them this one template.
#pragma once

#include <utility>

#include "platform/Seams.h"

namespace mxc9 {

template <typename Messages, typename Files, typename PageName, typename Clock, typename Folder,
          typename Keyboard, typename Browser>
struct SeamSet {
    Messages messages;
    Files files;
    PageName pageName;
    Clock clock;
    Folder folder;
    Keyboard keyboard;
    Browser browser;

    SeamSet() = default;
    // The file dialogs with the names of their filter entries.
    explicit SeamSet(FileFilterNames filterNames) : files(std::move(filterNames)) {}

    // The machine's serial devices stay the system's (none set).
    Seams seams() {
        Seams s;
        s.messages = &messages;
        s.files = &files;
        s.pageName = &pageName;
        s.clock = &clock;
        s.programFolder = &folder;
        s.keyboard = &keyboard;
        s.browser = &browser;
        return s;
    }
};

}  // namespace mxc9
