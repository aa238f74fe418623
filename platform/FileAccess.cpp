#include "platform/FileAccess.h"

#include <atomic>

#include "platform/FileAccessSystem.h"

namespace mxc9 {

namespace {

std::atomic<bool> temporaryFilesRefused{false};

}  // namespace

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || kPathSeparators.find(folder.back()) == std::string_view::npos)
        folder += kPathSeparators.front();
    return folder;
}

void SetTemporaryFilesRefusedForTesting(bool refused) {
    temporaryFilesRefused = refused;
}

SaveOutcome ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    using namespace system_files;
    const std::string target = FileToReplace(path);
    // Only a regular file is replaced: the move below would put a file in the place of a
    // FIFO or a device just as well (of /dev/null, for a program run as root).
    const PathKind kind = KindOfPath(target);
    if (kind != PathKind::Missing && kind != PathKind::File) return SaveOutcome::Failed;
    // The new file is written beside the target and moved over it only when it is
    // complete and on the disk: a failure at any step leaves the earlier file as it was.
    static std::atomic<unsigned> counter{0};
    std::string temporary;
    OpenFile file;
    CreateResult created = CreateResult::Exists;
    for (int attempt = 0; attempt < 100 && created == CreateResult::Exists; ++attempt) {
        if (temporaryFilesRefused) return SaveOutcome::TemporaryRefused;
        temporary =
            target + ".tmp" + std::to_string(ProcessNumber()) + "_" + std::to_string(counter++);
        created = CreateNewFile(temporary, target, file);
    }
    if (created == CreateResult::Refused) return SaveOutcome::TemporaryRefused;
    if (created != CreateResult::Created) return SaveOutcome::Failed;
    bool written = WriteAll(file, bytes) && Flush(file);
    written = Close(file) && written;
    if (!written || !MoveOver(temporary, target)) {
        RemoveFile(temporary);
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Saved;
}

bool OverwriteExistingFile(const std::string& path, std::string_view bytes) {
    using namespace system_files;
    OpenFile file;
    if (!OpenExistingForWriting(path, file)) return false;
    // Written first and cut afterwards: a file that grows is never shorter than before
    // while it is written.
    bool written = WriteAll(file, bytes) && Truncate(file, bytes.size()) && Flush(file);
    return Close(file) && written;
}

}  // namespace mxc9
