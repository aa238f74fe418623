#include "tools/mxc9ctl/CtlRun.h"

#include <algorithm>
#include <ostream>

#include "app/AppSettings.h"
#include "device/Conversions.h"
#include "device/DeviceLink.h"
#include "device/TransferFault.h"
#include "editor/EditorDisplay.h"
#include "pages/PageCommands.h"
#include "pages/PageStore.h"
#include "pages/SettingsFile.h"
#include "pages/TabStrip.h"
#include "platform/Cp932.h"
#include "platform/FileAccess.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "tools/mxc9ctl/CtlArguments.h"
#include "tools/mxc9ctl/PageCompare.h"
#include "tools/mxc9ctl/PageReport.h"
#include "tools/mxc9ctl/PortAccess.h"

namespace mxc9::ctl {

namespace {

constexpr int kLineBitRate = 1200;  // the only rate the port selection uses

// Message boxes become a list of texts; Yes/No questions are answered Yes.
class CollectedMessages : public IMessageBoxes {
  public:
    std::vector<std::string> texts;
    int show(const std::string& text, const std::string&, MbIcon, MbButtons buttons) override {
        texts.push_back(text);
        return buttons == MbButtons::Ok ? kIdOk : kIdYes;
    }
};

// Nothing to paint without a window.
class NoDisplay : public EditorDisplay {
  public:
    void DrawSelectionGauge(int, int) override {}
    void ShowReadouts(int) override {}
};

// The save dialog answers with the file named on the command line.
class GivenFile : public IFileDialogs {
  public:
    explicit GivenFile(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> openFile(const std::string&) override { return path_; }
    std::optional<std::string> saveFile(const std::string&) override { return path_; }

  private:
    std::string path_;
};

// Only names the file the save dialog would propose, which the given file replaces.
class NoDate : public IClock {
  public:
    LocalDate today() const override { return {}; }
};

// The window's plain state: tabs, page store, the page on screen.
struct WindowPages {
    ScreenModel screen;
    NoDisplay display;
    SelectionState selection;
    TabStrip tabs;
    PageStore store{screen, display};

    // The window after start-up: one page of the defaults, named `name`, on screen.
    void startWith(const std::string& name) {
        tabs.append(name);
        store.resize(1);
        store.InitPage(0);
        store.LoadPageToScreen(0);
        store.SaveScreenToPage(0);
        tabs.select(0);
    }
    // Names and comments converted from their CP932 bytes for printing.
    std::vector<NamedPage> pages() const {
        std::vector<NamedPage> named;
        for (int i = 0; i < tabs.count(); ++i) {
            named.push_back({Cp932ToUtf8(tabs.caption(i)), store.record(i)});
            named.back().record.comment = Cp932ToUtf8(named.back().record.comment);
        }
        return named;
    }
};

CtlFailure FileFailure(const std::string& path, const std::string& what) {
    return {kExitUsage, path + ": " + what};
}

// Why a path that exists cannot be a settings file, "" for a regular file. Only regular
// files are opened, as the window opens them: opening a FIFO waits for a writer for ever,
// a serial device would see its control lines move, and a save would put a file in the
// place of either.
std::string NotASettingsFile(PathKind kind) {
    switch (kind) {
        case PathKind::Missing:
        case PathKind::File:
            return {};
        case PathKind::Folder:
            return "is a folder, not a file";
        case PathKind::Fifo:
            return "is a FIFO (named pipe), not a regular file";
        case PathKind::Device:
            return "is a device, not a regular file";
        case PathKind::Socket:
            return "is a socket, not a regular file";
        case PathKind::Other:
            break;
    }
    return "is not a regular file";
}

// Every page of a settings file into the tabs and the store, as "Open" reads them. A file
// that is missing, empty, unreadable, not a regular file or without pages is an error.
void LoadSettingsFile(const std::string& path, WindowPages& window) {
    const PathKind kind = KindOfPath(path);  // looks without opening
    if (kind == PathKind::Missing) throw FileFailure(path, "no such file");
    if (const std::string why = NotASettingsFile(kind); !why.empty()) throw FileFailure(path, why);
    std::string bytes;
    if (!ReadRegularFile(path, bytes)) throw FileFailure(path, "cannot be read");
    if (bytes.empty()) throw FileFailure(path, "is empty");
    const IniFile file = IniFile::fromBytes(bytes, path);
    const int count = ReadPageCount(file);
    if (count <= 0) throw FileFailure(path, "is not a settings file with pages ([MXC-9] DATA)");
    window.store.resize(count);
    for (int k = 0; k < count; ++k)
        ReadPage(file, k, k, ReadPageName(file, k), window.tabs, window.store);
}

// --page: a page name first, else a page number counted from 1; empty is the first page.
int ChoosePage(const TabStrip& tabs, const std::string& page, const std::string& file) {
    if (page.empty()) return 0;
    for (int i = 0; i < tabs.count(); ++i)
        if (tabs.caption(i) == Utf8ToCp932(page)) return i;
    if (page.find_first_not_of("0123456789") == std::string::npos && page.size() <= 6) {
        const int number = std::stoi(page);
        if (number >= 1 && number <= tabs.count()) return number - 1;
    }
    throw CtlFailure{kExitUsage, file + " has no page '" + page + "' (it has " +
                                     std::to_string(tabs.count()) + " pages)"};
}

// Bytes that may follow a failed reply and still tell its cause: several answers' worth.
constexpr size_t kLookAfterLimit = 512;

// "0xEE 0xEE 0xEE 0xEE ..."
std::string ByteList(const std::string& bytes, size_t from, size_t count) {
    std::string text;
    constexpr size_t kShown = 4;
    for (size_t i = 0; i < count && i < kShown; ++i) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%s0x%02X", i ? " " : "",
                      static_cast<uint8_t>(bytes[from + i]));
        text += hex;
    }
    return count > kShown ? text + " ..." : text;
}

// ", and 50 more followed it"
std::string FollowedBy(const AnswerPlace& answer) {
    return answer.after ? ", and " + std::to_string(answer.after) + " more followed it"
                        : std::string();
}

// One line on what really came, from the diagnosis of the last exchange: its reply and
// what came after it.
std::string FaultText(const TransferDiagnosis& diagnosis, const std::string& reply,
                      const std::string& later, int expected, int attempts, int timeOutMs) {
    const std::string bytes = reply + later;
    const std::string tries =
        attempts > 1 ? " (" + std::to_string(attempts) + " attempts)" : std::string();
    const AnswerPlace& answer = diagnosis.answer;
    const std::string unexpected = std::to_string(answer.before) + " unexpected bytes (" +
                                   ByteList(bytes, 0, answer.before) + ")";
    // The whole answer came after the time-out, or behind bytes that did not belong to it.
    const std::string late = !answer.found   ? std::string()
                             : answer.before ? "; its whole answer came later, after " + unexpected
                                             : "; its whole answer came later";
    switch (diagnosis.fault) {
        case TransferFault::NoReply:
            return "no reply from the controller within the time-out of " +
                   std::to_string(timeOutMs) + " ms" + tries + late;
        case TransferFault::ShortReply:
            return "short reply of " + std::to_string(reply.size()) + " bytes (" +
                   std::to_string(expected) + " expected)" + tries + late;
        case TransferFault::PortLost:
            return "the port was hung up or closed by the far end " +
                   (reply.empty() ? std::string("before any reply")
                                  : "after " + std::to_string(reply.size()) + " of " +
                                        std::to_string(expected) + " bytes of the reply") +
                   tries;
        case TransferFault::ChecksumMismatch:
            if (answer.found)
                return "the controller's answer came after " + unexpected + FollowedBy(answer) +
                       tries;
            return "checksum mismatch in the controller's reply" + tries;
        case TransferFault::WriteRefused:
            if (answer.found && answer.before) {
                return (answer.acknowledged ? "the controller acknowledged the write (0x06), but "
                                            : "the controller refused the write, and ") +
                       unexpected + " came ahead of its answer" + FollowedBy(answer) + tries;
            }
            return "write refused by the controller (its reply ends in " +
                   ByteList(bytes, expected - 1, 1) + ", not 0x06)" + tries;
        case TransferFault::None:
            break;
    }
    return "the controller answered wrongly";
}

// The device link on one port, with the window's transfer steps and the cause of a failure.
class Controller {
  public:
    Controller(const PortChoice& port, int attempts) : attempts_(attempts), link_(messages_) {
        link_.CreatePort();
        link_.setPortPathResolver([path = port.path](int) { return path; });
        link_.SetupPort(port.portNo == 0 ? 1 : port.portNo, kLineBitRate);
        if (!link_.OpenPort())
            throw CtlFailure{kExitDevice, PortProblem(port, ProbePort(port.path))};
    }

    // Read: the controller's image onto the page on screen.
    void read(ScreenModel& screen) {
        readImage("read: ");
        ImageToScreen(link_.image(), screen);
    }

    // Write: read first, overwrite what the screen holds, write the image. Returns the
    // image sent.
    DeviceImage write(const ScreenModel& screen) {
        readImage("write: reading the controller before writing failed: ");
        ScreenToImage(screen, link_.image());
        const DeviceImage sent = link_.image();
        int attempts = attempts_;
        if (!link_.WriteDevice(attempts)) {
            const std::string later = link_.ReadUntilQuiet(kLookAfterLimit);
            const TransferDiagnosis diagnosis = DiagnoseWriteReply(
                BuildWriteFrame(sent), link_.lastReply(), link_.lastReplyEnd(), later);
            throw CtlFailure{kExitDevice,
                             "write: " + FaultText(diagnosis, link_.lastReply(), later,
                                                   kWriteReplyLength, attempts, timeOut())};
        }
        return sent;
    }

    // The controller's image as it stands now.
    const DeviceImage& readBack(const std::string& context) {
        readImage(context);
        return link_.image();
    }

  private:
    void readImage(const std::string& context) {
        int attempts = attempts_;
        if (link_.ReadDevice(attempts)) return;
        const std::string later = link_.ReadUntilQuiet(kLookAfterLimit);
        const TransferDiagnosis diagnosis =
            DiagnoseReadReply(link_.lastReply(), link_.lastReplyEnd(), later);
        throw CtlFailure{kExitDevice, context + FaultText(diagnosis, link_.lastReply(), later,
                                                          kReadReplyLength, attempts, timeOut())};
    }
    int timeOut() const { return link_.settings().timeOutReceive; }

    int attempts_;
    CollectedMessages messages_;
    DeviceLink link_;
};

PortChoice ChoosePort(const std::string& port, const AppSettings& settings) {
    std::optional<PortChoice> choice = ResolvePort(port, settings);
    if (!choice)
        throw CtlFailure{kExitUsage,
                         "'" + port + "' is no port: give COM1..COM10 or a device path"};
    return *choice;
}

// A page name is one line of the settings file.
bool HasControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

void PrintPages(const std::vector<NamedPage>& pages, bool json, std::ostream& out) {
    if (json) {
        out << PagesJson(pages);
        return;
    }
    for (size_t i = 0; i < pages.size(); ++i)
        out << (i ? "\n" : "") << PageTable(pages[i], static_cast<int>(i) + 1);
}

void Show(const CtlOptions& options, std::ostream& out) {
    WindowPages window;
    LoadSettingsFile(options.file, window);
    PrintPages(window.pages(), options.json, out);
}

void Read(const CtlOptions& options, std::ostream& out) {
    const std::string name = Utf8ToCp932(options.name);
    if (HasControlCharacter(options.name) || !IsValidPageName(name) ||
        name.size() > static_cast<size_t>(kMaxPageNameBytes))
        throw CtlFailure{kExitUsage, "--name '" + options.name +
                                         "' is no page name: 1 to 255 bytes, none of \\ / : * ? "
                                         "\" < > | or control characters"};
    // A file that cannot be saved is told before the controller is asked.
    if (!options.save.empty()) {
        const std::string target = WithSettingsExtension(options.save);
        if (const std::string why = NotASettingsFile(KindOfPath(target)); !why.empty())
            throw FileFailure(target, why);
    }
    ProgramFolder folder;  // MXC9.ini beside the tool, or per user when installed
    CollectedMessages messages;
    AppSettings settings(folder, messages);
    const PortChoice port = ChoosePort(options.port, settings);

    WindowPages window;
    window.startWith(name);
    Controller(port, options.attempts).read(window.screen);
    window.store.SaveScreenToPage(0);

    if (!options.save.empty()) {
        GivenFile files(options.save);
        NoDate clock;
        Seams seams;
        seams.messages = &messages;
        seams.files = &files;
        seams.clock = &clock;
        seams.programFolder = &folder;
        PageCommands commands(window.tabs, window.store, window.screen, window.display,
                              window.selection, seams);
        messages.texts.clear();
        commands.PAGE_SAVEClick();
        // "Save" reports a file it cannot write in a message box, and only that.
        if (!messages.texts.empty())
            throw FileFailure(WithSettingsExtension(options.save), "cannot be written");
    }
    PrintPages(window.pages(), options.json, out);
}

void Write(const CtlOptions& options, std::ostream& out) {
    ProgramFolder folder;  // MXC9.ini beside the tool, or per user when installed
    CollectedMessages messages;
    AppSettings settings(folder, messages);
    const PortChoice port = ChoosePort(options.port, settings);

    WindowPages window;
    LoadSettingsFile(options.file, window);
    const int page = ChoosePage(window.tabs, options.page, options.file);
    // As after choosing that page's tab: the controls show it, limited to their ranges.
    window.store.LoadPageToScreen(page);
    Controller controller(port, options.attempts);
    const DeviceImage written = controller.write(window.screen);
    out << "wrote page " << page + 1 << " '" << Cp932ToUtf8(window.tabs.caption(page)) << "' to "
        << port.label << "\n";
    if (!options.verify) return;
    out.flush();
    const DeviceImage& held = controller.readBack("write --verify: reading back failed: ");
    if (const auto difference = FirstImageDifference(written, held)) {
        throw CtlFailure{kExitDevice, "write --verify: the controller holds " + difference->second +
                                          " for " + difference->field + " where " +
                                          difference->first + " was written"};
    }
    out << "verified: the controller holds every byte of the page as written\n";
}

// The page chosen by --page in one file of a diff.
TMXC9Data DiffPage(const std::string& file, const std::string& page) {
    WindowPages window;
    LoadSettingsFile(file, window);
    return window.store.record(ChoosePage(window.tabs, page, file));
}

// Like diff: 0 when the pages are the same, 1 when they differ.
int Diff(const CtlOptions& options, std::ostream& out) {
    const TMXC9Data first = DiffPage(options.file, options.page);
    const TMXC9Data second = DiffPage(options.secondFile, options.page);
    const std::vector<FieldDifference> differences = DiffPages(first, second);
    for (const FieldDifference& difference : differences)
        out << difference.field << " " << difference.first << " " << difference.second << "\n";
    return differences.empty() ? kExitDone : kExitDiffer;
}

// COM1..COM10 as the window maps them, one line each: name, device, what the file system
// says of it, what it is. No port is opened.
void Ports(std::ostream& out) {
    ProgramFolder folder;  // MXC9.ini beside the tool, or per user when installed
    CollectedMessages messages;
    AppSettings settings(folder, messages);
    const std::vector<PortEntry> entries = settings.PortEntries();
    std::vector<std::vector<std::string>> rows;
    for (const PortEntry& entry : entries) {
        rows.push_back(
            {"COM" + std::to_string(entry.portNo), entry.device.empty() ? "-" : entry.device,
             entry.device.empty() ? "no device" : PortStateText(InspectPort(entry.device)),
             entry.details});
    }
    std::vector<size_t> widths(3, 0);
    for (const auto& row : rows)
        for (size_t c = 0; c < widths.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    for (const auto& row : rows) {
        std::string line;
        for (size_t c = 0; c < widths.size(); ++c)
            line += row[c] + std::string(widths[c] - row[c].size() + 2, ' ');
        line += row.back();
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << "\n";
    }
}

}  // namespace

int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.options) {
        err << parsed.error << "\n";
        return kExitUsage;
    }
    const CtlOptions& options = *parsed.options;
    if (options.help || options.version) {
        out << (options.version ? VersionText() : UsageText(options.command));
        return kExitDone;
    }
    int status = kExitDone;
    try {
        switch (options.command) {
            case CommandKind::Show:
                Show(options, out);
                break;
            case CommandKind::Read:
                Read(options, out);
                break;
            case CommandKind::Write:
                Write(options, out);
                break;
            case CommandKind::Diff:
                status = Diff(options, out);
                break;
            case CommandKind::Ports:
                Ports(out);
                break;
            case CommandKind::None:
                break;
        }
    } catch (const CtlFailure& failure) {
        err << "mxc9ctl: " << failure.message << "\n";
        return failure.status;
    } catch (const std::exception& error) {
        err << "mxc9ctl: " << error.what() << "\n";
        return kExitUsage;
    }
    out.flush();
    return status;
}

}  // namespace mxc9::ctl
