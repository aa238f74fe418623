// The file layer on POSIX systems: paths are byte strings and go to the calls as they
// are.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/FileAccess.h"
#include "platform/FileAccessSystem.h"

namespace mxc9 {

PathKind KindOfPath(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return PathKind::Missing;
    if (S_ISREG(info.st_mode)) return PathKind::File;
    if (S_ISDIR(info.st_mode)) return PathKind::Folder;
    if (S_ISFIFO(info.st_mode)) return PathKind::Fifo;
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) return PathKind::Device;
    if (S_ISSOCK(info.st_mode)) return PathKind::Socket;
    return PathKind::Other;
}

bool ReadRegularFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // The type is checked before the open as well: opening a serial device would already
    // change its control lines. The open does not block, so a FIFO that took the file's
    // place in between cannot hang the caller.
    if (KindOfPath(path) != PathKind::File) return false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat info;
    bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
    }
    ::close(fd);
    return regular;
}

bool CreateFolders(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    return KindOfPath(path) == PathKind::Folder;
}

std::string CanonicalPath(const std::string& path) {
    std::error_code error;
    return std::filesystem::canonical(path, error).string();
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return absolute.empty() ? path : absolute.lexically_normal().string();
}

namespace system_files {

namespace {

int Descriptor(const OpenFile& file) {
    return static_cast<int>(file.handle);
}

}  // namespace

CreateResult CreateNewFile(const std::string& path, const std::string& model, OpenFile& file) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST) return CreateResult::Exists;
        return errno == EACCES || errno == EPERM ? CreateResult::Refused : CreateResult::Failed;
    }
    struct stat existing;
    if (stat(model.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        fchmod(fd, existing.st_mode & 07777);
    file.handle = fd;
    return CreateResult::Created;
}

bool OpenExistingForWriting(const std::string& path, OpenFile& file) {
    if (KindOfPath(path) != PathKind::File) return false;
    int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    file.handle = fd;
    return true;
}

bool WriteAll(OpenFile& file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(Descriptor(file), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool Truncate(OpenFile& file, uint64_t size) {
    return ftruncate(Descriptor(file), static_cast<off_t>(size)) == 0;
}

bool Flush(OpenFile& file) {
    return fsync(Descriptor(file)) == 0;
}

bool Close(OpenFile& file) {
    const int fd = Descriptor(file);
    file.handle = -1;
    return ::close(fd) == 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    // The rename itself is on the disk only once the folder is.
    size_t slash = to.rfind('/');
    std::string folder = slash == std::string::npos ? "." : to.substr(0, slash + 1);
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void RemoveFile(const std::string& path) {
    ::unlink(path.c_str());
}

std::string FileToReplace(const std::string& path) {
    // Saving through a symbolic link replaces the file it points at, not the link.
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

unsigned long ProcessNumber() {
    return static_cast<unsigned long>(getpid());
}

}  // namespace system_files

}  // namespace mxc9
