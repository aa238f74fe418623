#include "platform/IniFile.h"

#include <climits>
#include <cstring>
#include <unordered_map>

#include "platform/Cp932.h"
#include "platform/FileAccess.h"

namespace mxc9 {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Folds ASCII letters to lower case. In CP932 the byte after a lead byte is the second
// half of a character and may look like a letter: it is left alone.
std::string Fold(std::string_view name, bool cp932) {
    std::string folded(name);
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (cp932 && IsCp932LeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

// The section name of a header line "[name]", or nullopt-like false.
bool ParseHeader(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return false;
    size_t close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    name = Trim(line.substr(1, close - 1));
    return true;
}

// Key and value of an entry line "key = value"; false for lines that are not entries.
bool ParseEntry(std::string_view line, std::string_view& key, std::string_view* value) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    key = Trim(line.substr(0, equals));
    if (key.empty() || key.front() == ';' || key.front() == '[') return false;
    if (value) {
        std::string_view text = Trim(line.substr(equals + 1));
        if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
            text.back() == text.front())
            text = text.substr(1, text.size() - 2);
        *value = text;
    }
    return true;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Hash and equality of names without regard to letter case, with the same care for the
// second bytes of CP932 characters as Fold.
uint64_t FoldedHash(std::string_view name, bool cp932, uint64_t seed) {
    uint64_t hash = 14695981039346656037ull ^ seed;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (cp932 && IsCp932LeadByte(c) && i + 1 < name.size()) {
            hash = (hash ^ c) * 1099511628211ull;
            c = static_cast<unsigned char>(name[++i]);
        } else {
            c = static_cast<unsigned char>(LowerAscii(static_cast<char>(c)));
        }
        hash = (hash ^ c) * 1099511628211ull;
    }
    // FNV leaves similar names (FREQ0..FREQ31) close in the low bits that pick a slot:
    // mix them so that open addressing does not form long runs.
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDull;
    hash ^= hash >> 33;
    return hash;
}

bool FoldedEqual(std::string_view a, std::string_view b, bool cp932) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (cp932 && IsCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

EIniFileError::EIniFileError(const std::string& path)
    : std::runtime_error(path + " に書き込めません"), path_(path) {}

struct IniFile::Data {
    // A line of the file without its end, and the end it had ("\r\n", "\n", "\r", or
    // "" for a last line without one): lines are written back with their own ends.
    struct Line {
        std::string text;
        const char* ending = "\r\n";
    };
    // The first entry of each key of a section, in an open-addressing table of the
    // section's own: no allocation per entry, and a page's lookups stay in one small
    // block of memory however large the file is.
    struct KeySlot {
        uint32_t hash = 0;
        uint32_t line = kEmpty;
        static constexpr uint32_t kEmpty = UINT32_MAX;
    };
    struct Section {
        Line header;              // the header line as it stands
        std::string name;         // its name, in the file's encoding
        std::vector<Line> lines;  // the lines below the header
        std::vector<KeySlot> slots;
        size_t keysUsed = 0;
        size_t afterLastEntry = 0;  // where a new key goes
        size_t bytes = 0;           // size in the file, for bounds
    };
    static constexpr size_t kMissing = SIZE_MAX;

    bool utf8 = false;  // the file starts with a UTF-8 byte order mark
    bool modified = false;
    bool writeOnRelease = true;
    bool startedEmpty = false;   // Start::Empty: only what was written, nothing of the file
    std::vector<Line> preamble;  // lines before the first section
    // The end given to new lines: the file's first line end, CR LF for a new file.
    const char* newLineEnding = "\r\n";
    std::vector<Section> sections;
    std::unordered_map<std::string, size_t> sectionIndex;  // folded name -> first section
    // Readers ask for one section many times in a row: the last answer is kept.
    mutable std::string cachedQuery;
    mutable size_t cachedSection = kMissing;
    mutable bool cacheValid = false;

    void parse(std::string_view bytes);
    void addLine(std::string_view line, const char* ending);
    // Sets `key` to a value already in the file's encoding.
    void write(std::string_view section, std::string_view key, const std::string& fileValue);
    std::string toFile(std::string_view text) const {
        return utf8 ? SanitizeUtf8(text) : Utf8ToCp932(text);
    }
    std::string fromFile(std::string_view text) const {
        return utf8 ? SanitizeUtf8(text) : Cp932ToUtf8(text);
    }
    // A name given in UTF-8 as the file spells it (ASCII is the same in both).
    std::string_view encoded(std::string_view utf8Name, std::string& storage) const {
        if (IsAscii(utf8Name)) return utf8Name;
        storage = toFile(utf8Name);
        return storage;
    }
    uint64_t keyHash(std::string_view fileKey) const { return FoldedHash(fileKey, !utf8, 0); }

    size_t findSection(std::string_view section) const {
        if (cacheValid && cachedQuery == section) return cachedSection;
        std::string storage;
        auto found = sectionIndex.find(Fold(encoded(section, storage), !utf8));
        cachedQuery.assign(section);
        cachedSection = found == sectionIndex.end() ? kMissing : found->second;
        cacheValid = true;
        return cachedSection;
    }
    // The slot of a key, or the empty slot where it would go.
    KeySlot* probe(const Section& section, std::string_view fileKey, uint64_t hash) const {
        auto& slots = const_cast<std::vector<KeySlot>&>(section.slots);
        const size_t mask = slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            KeySlot& slot = slots[i];
            if (slot.line == KeySlot::kEmpty) return &slot;
            if (slot.hash != static_cast<uint32_t>(hash)) continue;
            std::string_view key;
            ParseEntry(section.lines[slot.line].text, key, nullptr);
            if (FoldedEqual(key, fileKey, !utf8)) return &slot;
        }
    }
    KeySlot* findKey(const Section& section, std::string_view fileKey, uint64_t hash) const {
        if (section.slots.empty()) return nullptr;
        KeySlot* slot = probe(section, fileKey, hash);
        return slot->line == KeySlot::kEmpty ? nullptr : slot;
    }
    // Adds the key of entry line `line` unless the section has it already (the first wins).
    void addKey(Section& section, size_t line, std::string_view fileKey, uint64_t hash) {
        // Small slots at up to three quarters full: a page's 40-odd keys fit in 512 bytes.
        if ((section.keysUsed + 1) * 4 > section.slots.size() * 3) {
            std::vector<KeySlot> old = std::move(section.slots);
            section.slots.assign(std::max<size_t>(16, old.size() * 2), KeySlot{});
            const size_t mask = section.slots.size() - 1;
            for (const KeySlot& entry : old) {
                if (entry.line == KeySlot::kEmpty) continue;
                size_t i = entry.hash & mask;
                while (section.slots[i].line != KeySlot::kEmpty) i = (i + 1) & mask;
                section.slots[i] = entry;
            }
        }
        KeySlot* slot = probe(section, fileKey, hash);
        if (slot->line != KeySlot::kEmpty) return;
        *slot = {static_cast<uint32_t>(hash), static_cast<uint32_t>(line)};
        ++section.keysUsed;
    }
    const std::string* findLine(std::string_view section, std::string_view key) const {
        size_t index = findSection(section);
        if (index == kMissing) return nullptr;
        std::string storage;
        std::string_view fileKey = encoded(key, storage);
        const KeySlot* slot = findKey(sections[index], fileKey, keyHash(fileKey));
        return slot ? &sections[index].lines[slot->line].text : nullptr;
    }
};

void IniFile::Data::addLine(std::string_view line, const char* ending) {
    std::string_view name;
    if (ParseHeader(line, name)) {
        Section section;
        section.header = {std::string(line), ending};
        section.name = std::string(name);
        section.bytes = line.size() + 2;
        sectionIndex.try_emplace(Fold(name, !utf8), sections.size());
        sections.push_back(std::move(section));
        return;
    }
    if (sections.empty()) {
        preamble.push_back({std::string(line), ending});
        return;
    }
    Section& section = sections.back();
    section.lines.push_back({std::string(line), ending});
    section.bytes += line.size() + 2;
    std::string_view key;
    if (ParseEntry(section.lines.back().text, key, nullptr)) {
        addKey(section, section.lines.size() - 1, key, keyHash(key));
        section.afterLastEntry = section.lines.size();
    }
}

void IniFile::Data::parse(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        utf8 = true;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    // A line ends at CR LF, LF or a lone CR.
    bool first = true;
    while (!bytes.empty()) {
        size_t end = 0;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        size_t next = end;
        if (next < bytes.size() && bytes[next] == '\r') ++next;
        if (next < bytes.size() && bytes[next] == '\n') ++next;
        std::string_view found = bytes.substr(end, next - end);
        const char* ending = found == "\r\n" ? "\r\n"
                             : found == "\n" ? "\n"
                             : found == "\r" ? "\r"
                                             : "";
        if (first && *ending) newLineEnding = ending;
        first = false;
        addLine(bytes.substr(0, end), ending);
        bytes.remove_prefix(next);
    }
}

IniFile::IniFile(std::string path, std::unique_ptr<Data> data)
    : path_(std::move(path)), data_(std::move(data)) {}

IniFile::IniFile(std::string path, Start start) : path_(std::move(path)), data_(new Data) {
    if (start == Start::Empty) {
        data_->modified = true;
        data_->startedEmpty = true;
        return;
    }
    // Only a regular file is read; anything else reads as a missing file.
    std::string bytes;
    ReadRegularFile(path_, bytes);
    data_->parse(bytes);
}

IniFile::IniFile(IniFile&&) noexcept = default;

IniFile::~IniFile() {
    if (!data_ || !data_->writeOnRelease) return;
    try {
        updateFile();
    } catch (const EIniFileError&) {
    }
}

IniFile IniFile::fromBytes(std::string_view bytes, std::string path) {
    auto data = std::make_unique<Data>();
    data->writeOnRelease = false;
    data->parse(bytes);
    return IniFile(std::move(path), std::move(data));
}

bool IniFile::hasSection(std::string_view section) const {
    return data_->findSection(section) != Data::kMissing;
}

bool IniFile::hasKey(std::string_view section, std::string_view key) const {
    return data_->findLine(section, key) != nullptr;
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> names;
    names.reserve(data_->sections.size());
    for (const auto& section : data_->sections) names.push_back(data_->fromFile(section.name));
    return names;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const std::string* line = data_->findLine(section, key);
    std::string_view name, value;
    if (!line || !ParseEntry(*line, name, &value)) return std::string(defaultValue);
    return data_->fromFile(value);
}

std::string IniFile::readCp932(std::string_view section, std::string_view key,
                               std::string_view defaultValue) const {
    const std::string* line = data_->findLine(section, key);
    std::string_view name, value;
    if (!line || !ParseEntry(*line, name, &value)) return std::string(defaultValue);
    return data_->utf8 ? Utf8ToCp932(value) : std::string(value);
}

int32_t IniFile::readInteger(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    const std::string* line = data_->findLine(section, key);
    std::string_view name, value;
    int32_t result;
    if (!line || !ParseEntry(*line, name, &value) || !ParseProfileInteger(value, result))
        return defaultValue;
    return result;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    data_->write(section, key, data_->toFile(value));
}

void IniFile::writeCp932(std::string_view section, std::string_view key, std::string_view value) {
    data_->write(section, key, data_->utf8 ? Cp932ToUtf8(value) : std::string(value));
}

void IniFile::Data::write(std::string_view section, std::string_view key,
                          const std::string& fileValue) {
    Data& data = *this;
    const std::string fileKey(Trim(data.toFile(key)));
    std::string line = fileKey + "=" + fileValue;
    // A line break inside a value would start a new line in the file.
    for (char& c : line)
        if (c == '\r' || c == '\n') c = ' ';
    size_t index = data.findSection(section);
    if (index == Data::kMissing) {
        Data::Section created;
        created.name = data.toFile(section);
        created.header = {"[" + created.name + "]", data.newLineEnding};
        created.bytes = created.header.text.size() + 2;
        index = data.sections.size();
        data.sectionIndex.emplace(Fold(created.name, !data.utf8), index);
        data.sections.push_back(std::move(created));
        data.cacheValid = false;
    }
    Data::Section& target = data.sections[index];
    const uint64_t hash = data.keyHash(fileKey);
    if (Data::KeySlot* entry = data.findKey(target, fileKey, hash)) {
        std::string& existing = target.lines[entry->line].text;
        if (existing == line) return;
        target.bytes += line.size() - existing.size();
        existing = std::move(line);
    } else {
        target.bytes += line.size() + 2;
        target.lines.insert(
            target.lines.begin() + static_cast<std::ptrdiff_t>(target.afterLastEntry),
            Data::Line{std::move(line), data.newLineEnding});
        data.addKey(
            target, target.afterLastEntry,
            std::string_view(target.lines[target.afterLastEntry].text).substr(0, fileKey.size()),
            hash);
        ++target.afterLastEntry;
    }
    data.modified = true;
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int32_t value) {
    writeString(section, key, std::to_string(value));
}

std::string IniFile::contents() const {
    size_t size = kUtf8Bom.size();
    for (const auto& line : data_->preamble) size += line.text.size() + 2;
    for (const auto& section : data_->sections)
        size += section.header.text.size() + 2 + section.bytes;
    std::string bytes;
    bytes.reserve(size);
    if (data_->utf8) bytes += kUtf8Bom;
    // Every line keeps its own end. Only the file's last line may lack one; when a write
    // put lines after it, it gets the end of new lines.
    const Data::Line* previous = nullptr;
    auto put = [&](const Data::Line& line) {
        if (previous && !*previous->ending) bytes += data_->newLineEnding;
        bytes += line.text;
        bytes += line.ending;
        previous = &line;
    };
    for (const auto& line : data_->preamble) put(line);
    for (const auto& section : data_->sections) {
        put(section.header);
        for (const auto& line : section.lines) put(line);
    }
    return bytes;
}

bool IniFile::modified() const {
    return data_->modified;
}

std::string IniFile::contentsOver(std::string_view existing) const {
    if (!data_->startedEmpty) return contents();
    // What was written, key by key, into the file as it stands now: its other keys stay.
    IniFile merged = fromBytes(existing);
    for (const auto& section : data_->sections) {
        const std::string name = data_->fromFile(section.name);
        for (const auto& line : section.lines) {
            // Every line here is one that was written: key, '=', the value as written.
            const size_t equals = line.text.find('=');
            merged.writeCp932(name, data_->fromFile(line.text.substr(0, equals)),
                              line.text.substr(equals + 1));
        }
    }
    return merged.contents();
}

void IniFile::updateFile() {
    if (!data_->modified) return;
    // A failed write is reported once, by this call; releasing the object does not try
    // again behind the caller's back.
    data_->writeOnRelease = false;
    switch (ReplaceFileAtomically(path_, contents())) {
        case SaveOutcome::Saved:
            break;
        case SaveOutcome::TemporaryRefused: {
            // A folder the user may not write into can still hold a file they may write:
            // the profile functions write the keys into that file, and so does this.
            std::string existing;
            ReadRegularFile(path_, existing);
            if (!OverwriteExistingFile(path_, contentsOver(existing))) throw EIniFileError(path_);
            break;
        }
        case SaveOutcome::Failed:
            throw EIniFileError(path_);
    }
    data_->modified = false;
    data_->writeOnRelease = true;
}

bool ParseProfileInteger(std::string_view text, int32_t& value) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    const int64_t limit = negative ? int64_t{INT32_MAX} + 1 : INT32_MAX;
    int64_t magnitude = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace mxc9
