// An INI file object that reads and writes files the way the Windows profile functions
// do, so that files move freely between this program and the Windows one:
//  - section and key names match without regard to letter case (ASCII letters);
//  - a value is the text after the first '=', without leading and trailing blanks and
//    without one pair of enclosing quotation marks; the first matching section and key
//    win; lines that are not entries are kept as they are;
//  - writing a key replaces its line in place, a new key goes after the last entry of
//    its section, a new section at the end of the file; every other byte of the file
//    stays as it was, line ends included; new lines end like the file's first line
//    (CR LF in a new file);
//  - text is stored in code page 932 (UTF-8 when the file starts with a UTF-8 byte
//    order mark); readString/writeString pass UTF-8, readCp932/writeCp932 pass the
//    CP932 bytes as they stand in the file, unconverted;
//  - only a regular file is read: anything else (a FIFO, a device, a folder) reads as a
//    missing file, and is never opened in a way that could block.
// The file is read once when the object is made. Writes change only the copy in memory;
// updateFile() puts it on disk through a temporary file in the same folder that is
// flushed and then moved over the target, so the target is never half written. Only
// where no file may be made in the folder but the target itself may be written (a
// folder the user may not write into) are the keys written into the existing file, as
// the profile functions do; its other keys stay in it.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace mxc9 {

// Raised when the file cannot be written: "<path> に書き込めません".
class EIniFileError : public std::runtime_error {
  public:
    explicit EIniFileError(const std::string& path);
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

class IniFile {
  public:
    enum class Start {
        ReadExisting,  // begin with the file's contents (a missing file reads as empty)
        Empty          // begin empty: updateFile() replaces the whole file (or, where it
                       // must write into the existing file, only the keys written)
    };

    explicit IniFile(std::string path, Start start = Start::ReadExisting);
    // Writes pending changes when updateFile() was not called; errors are dropped here,
    // so callers that must report a failure call updateFile() themselves.
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;
    IniFile(IniFile&&) noexcept;
    IniFile& operator=(IniFile&&) = delete;

    // An object over bytes already in memory (never written unless updateFile()).
    static IniFile fromBytes(std::string_view bytes, std::string path = {});

    const std::string& path() const { return path_; }

    bool hasSection(std::string_view section) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    // Names of all section header lines, in file order (duplicates included).
    std::vector<std::string> sectionNames() const;

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$"; anything
    // else, an empty value or a number outside the signed 32-bit range gives the default.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);

    // Text as CP932 bytes, byte for byte what a CP932 file holds (converted from and to
    // UTF-8 only in a file with the UTF-8 mark).
    std::string readCp932(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const;
    void writeCp932(std::string_view section, std::string_view key, std::string_view value);

    // The file as it would be written, in bytes.
    std::string contents() const;
    // Writes the file if anything was written since it was read; throws EIniFileError
    // and leaves any earlier file as it was when that fails.
    void updateFile();
    bool modified() const;

  private:
    struct Data;
    IniFile(std::string path, std::unique_ptr<Data> data);
    // The bytes to write over a file that holds `existing` now.
    std::string contentsOver(std::string_view existing) const;
    std::string path_;
    std::unique_ptr<Data> data_;
};

// The integer rule of the profile readers, on a value already taken from the file.
bool ParseProfileInteger(std::string_view text, int32_t& value);

}  // namespace mxc9
