// The few calls of each system under FileAccess (FileAccessPosix.cpp,
// FileAccessWin32.cpp). Only the platform layer includes this.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mxc9::system_files {

// An open file: a descriptor on POSIX, a HANDLE on Windows.
struct OpenFile {
    intptr_t handle = -1;
    bool open() const { return handle != -1; }
};

enum class CreateResult { Created, Exists, Refused, Failed };

// Creates `path`, which must not exist yet, for writing. Refused: the folder may not be
// written into. The new file takes the permissions of `model` when that is a file.
CreateResult CreateNewFile(const std::string& path, const std::string& model, OpenFile& file);
// Opens an existing file for writing, without shortening it.
bool OpenExistingForWriting(const std::string& path, OpenFile& file);
bool WriteAll(OpenFile& file, std::string_view bytes);
// Cuts the file to `size` bytes.
bool Truncate(OpenFile& file, uint64_t size);
// Puts what was written on the disk.
bool Flush(OpenFile& file);
bool Close(OpenFile& file);
// Moves `from` over `to` in one step, replacing it, and puts the change on the disk.
bool MoveOver(const std::string& from, const std::string& to);
void RemoveFile(const std::string& path);
// The file that saving to `path` replaces: a link is followed.
std::string FileToReplace(const std::string& path);
// A number that tells this process's temporary files from another's.
unsigned long ProcessNumber();

}  // namespace mxc9::system_files
