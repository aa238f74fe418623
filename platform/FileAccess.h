// The file system under the plain code. Paths are UTF-8 strings everywhere above this
// layer; each system's file turns them into what its calls take. On Windows that is the
// wide-character calls: a narrow path would be read in the ANSI code page, and a folder
// named in Japanese (or any other script) would not be found.
#pragma once

#include <string>
#include <string_view>

namespace mxc9 {

// The characters that end a folder name in a path. Folders are written with the first.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

// A folder with its trailing separator (the system's own added when it has none).
std::string WithTrailingSeparator(std::string folder);

enum class PathKind { Missing, File, Folder, Fifo, Device, Socket, Other };

// What a path names, links followed, found without opening it: a regular file, a
// folder, a FIFO, a device (on Windows also a device name such as NUL or COM1 in any
// folder), a socket, something else, or nothing.
PathKind KindOfPath(const std::string& path);

// The whole of a regular file. False for anything else (nothing is opened in a way that
// could block on a FIFO or move the control lines of a serial device) and for a file
// that cannot be read.
bool ReadRegularFile(const std::string& path, std::string& bytes);

// Makes a folder and the folders above it; true when the folder exists afterwards.
bool CreateFolders(const std::string& path);

// The path with links followed and "." and ".." taken out; "" when it names nothing.
std::string CanonicalPath(const std::string& path);
// The path made absolute against the current folder, "." and ".." taken out; the path
// as given when that fails.
std::string AbsolutePath(const std::string& path);

enum class SaveOutcome {
    Saved,
    // No temporary file may be made beside the target (a folder the user may not write
    // into); nothing was changed.
    TemporaryRefused,
    // Any other failure; the earlier file is left byte for byte.
    Failed,
};

// Replaces the file at `path` by `bytes` in one step: a temporary file beside it is
// written, flushed to the disk and then moved over the target, so the target is never
// half written. A link is followed: the file it points at is replaced.
SaveOutcome ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Writes `bytes` over an existing file in place, cuts it to their length and flushes it.
// False when the file is missing or may not be written, or a write fails (the file may
// then hold part of the new bytes).
bool OverwriteExistingFile(const std::string& path, std::string_view bytes);

// Tests only: while set, ReplaceFileAtomically finds that no temporary file may be made,
// as in a folder the user may not write into.
void SetTemporaryFilesRefusedForTesting(bool refused);

}  // namespace mxc9
