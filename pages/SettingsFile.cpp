#include "pages/SettingsFile.h"

#include <algorithm>

namespace mxc9 {

namespace {

// The five single values of a page, in the order in which they are written.
struct ValueKey {
    const char* key;
    int32_t TMXC9Data::*field;
    int32_t defaultValue;
};
constexpr ValueKey kValueKeys[] = {
    {"N.BRAKE", &TMXC9Data::nBrake, Defaults::kNBrake},
    {"BRK.FQ", &TMXC9Data::brkFq, Defaults::kBrkFq},
    {"CUT.VT", &TMXC9Data::cutVt, Defaults::kCutVt},
    {"RESPONS", &TMXC9Data::respons, Defaults::kRespons},
    {"CUR.LIM", &TMXC9Data::curLim, Defaults::kCurLim},
};

std::string FrequencyKey(int k) {
    return "FREQ" + std::to_string(k);
}
std::string CommentKey(int j) {
    return "Comment" + std::to_string(j);
}

}  // namespace

std::string PageSectionName(int k) {
    return "DATA" + std::to_string(k);
}

std::vector<std::string> SplitCommentLines(const std::string& comment) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < comment.size()) {
        size_t end = comment.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(comment.substr(start));
            break;
        }
        lines.push_back(comment.substr(start, end - start));
        start =
            end + ((comment[end] == '\r' && end + 1 < comment.size() && comment[end + 1] == '\n')
                       ? 2
                       : 1);
    }
    return lines;
}

void WritePageRecord(IniFile& file, const std::string& section, const std::string& name,
                     const TMXC9Data& page) {
    file.writeCp932(section, "NAME", name);
    file.writeInteger(section, "VER", Defaults::kVer);
    for (const ValueKey& value : kValueKeys)
        file.writeInteger(section, value.key, page.*value.field);
    for (int k = 0; k < kFrequencyBars; ++k)
        file.writeInteger(section, FrequencyKey(k), page.freq[static_cast<size_t>(k)]);
    std::vector<std::string> lines = SplitCommentLines(page.comment);
    if (lines.empty()) return;
    file.writeInteger(section, CommentKey(0), static_cast<int32_t>(lines.size()));
    for (size_t j = 0; j < lines.size(); ++j)
        file.writeCp932(section, CommentKey(static_cast<int>(j + 1)), lines[j]);
}

TMXC9Data ReadPageRecord(const IniFile& file, const std::string& section) {
    TMXC9Data page;
    for (const ValueKey& value : kValueKeys)
        page.*value.field = file.readInteger(section, value.key, value.defaultValue);
    // Files from before the version key count the cut-off voltage from 2.5V: their
    // index is one lower than today's. The raised index is not limited.
    if (file.readInteger(section, "VER", 0) == 0)
        page.cutVt = static_cast<int32_t>(static_cast<uint32_t>(page.cutVt) + 1u);
    for (int k = 0; k < kFrequencyBars; ++k)
        page.freq[static_cast<size_t>(k)] =
            file.readInteger(section, FrequencyKey(k), Defaults::kFreq);
    int32_t count = file.readInteger(section, CommentKey(0), 0);
    // Missing comment lines read as empty ones.
    const int lines = std::min(count, int32_t{kMaxCommentLines});
    for (int j = 1; j <= lines; ++j) {
        page.comment += file.readCp932(section, CommentKey(j), "");
        page.comment += "\r\n";
    }
    return page;
}

void WritePage(IniFile& file, const TabStrip& tabs, const PageStore& store, int i,
               const std::string& section) {
    WritePageRecord(file, section, tabs.caption(i), store.record(i));
}

void ReadPage(const IniFile& file, int sectionNumber, int i, const std::string& name,
              TabStrip& tabs, PageStore& store) {
    tabs.append(name);
    store.record(i) = ReadPageRecord(file, PageSectionName(sectionNumber));
}

int ReadPageCount(const IniFile& file) {
    return std::min(ReadStatedPageCount(file), kMaxPagesPerFile);
}

int ReadStatedPageCount(const IniFile& file) {
    return file.readInteger(kFileSection, kPageCountKey, 0);
}

void WritePageCount(IniFile& file, int count) {
    file.writeInteger(kFileSection, kPageCountKey, count);
}

std::string ReadPageName(const IniFile& file, int k) {
    return file.readCp932(PageSectionName(k), "NAME", "");
}

}  // namespace mxc9
