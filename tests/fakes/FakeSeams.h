// Scripted fakes of the seams: answers are queued by the test, every call is recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/SeamSet.h"
#include "platform/Seams.h"
#include "platform/SerialDevices.h"

namespace mxc9::testing {

struct ShownMessage {
    std::string text;
    std::string caption;
    MbIcon icon;
    MbButtons buttons;
};

class FakeMessageBoxes : public IMessageBoxes {
  public:
    std::vector<ShownMessage> shown;
    std::deque<int> answers;  // answers for Yes/No boxes, in order; empty means kIdYes

    int show(const std::string& text, const std::string& caption, MbIcon icon,
             MbButtons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (buttons == MbButtons::Ok) return kIdOk;
        if (answers.empty()) return kIdYes;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class FakeFileDialogs : public IFileDialogs {
  public:
    std::deque<std::optional<std::string>> openAnswers, saveAnswers;
    std::vector<std::string> openProposed, saveProposed;

    std::optional<std::string> openFile(const std::string& proposed) override {
        openProposed.push_back(proposed);
        if (openAnswers.empty()) return std::nullopt;
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> saveFile(const std::string& proposed) override {
        saveProposed.push_back(proposed);
        if (saveAnswers.empty()) return std::nullopt;
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
};

class FakePageNameDialog : public IPageNameDialog {
  public:
    // Each answer: nullopt is Cancel, a text is OK with that text.
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> shownNames;
    std::string lastCaption, lastPrompt;

    bool inputPageName(const std::string& caption, const std::string& prompt,
                       std::string& name) override {
        lastCaption = caption;
        lastPrompt = prompt;
        shownNames.push_back(name);
        if (answers.empty()) return false;
        auto answer = answers.front();
        answers.pop_front();
        if (!answer) return false;
        name = *answer;
        return true;
    }
};

class FakeClock : public IClock {
  public:
    LocalDate date{2004, 3, 7};
    LocalDate today() const override { return date; }
};

class FakeProgramFolder : public IProgramFolder {
  public:
    std::string path = "/tmp/";
    std::string folder() const override { return path; }
};

// The machine's serial devices as a test sets them.
class FakeSerialDevices : public ISerialDeviceSource {
  public:
    std::vector<SerialDevice> devices;
    std::vector<SerialDevice> serialDevices() const override { return devices; }
};

class FakeKeyboardState : public IKeyboardState {
  public:
    bool shift = false;
    bool shiftHeld() const override { return shift; }
};

class FakeBrowser : public IBrowser {
  public:
    std::vector<std::string> opened;
    void openUrl(const std::string& url) override { opened.push_back(url); }
};

// Every seam faked, the keyboard the given one (a window test takes the toolkit's real
// keyboard state, so that Shift is what its key events leave held).
template <typename Keyboard = FakeKeyboardState>
using FakeSeamSet = SeamSet<FakeMessageBoxes, FakeFileDialogs, FakePageNameDialog, FakeClock,
                            FakeProgramFolder, Keyboard, FakeBrowser>;

}  // namespace mxc9::testing
