#include "platform/ProgramFolder.h"

#include "platform/FileAccess.h"

namespace mxc9 {

std::string ProgramFolder::settingsFolder() const {
    if (!installed()) return folder();
    return userSettings_ ? WithTrailingSeparator(userSettings_()) : UserSettingsFolder();
}

std::string ProgramFolder::documentsFolder() const {
    if (!installed()) return folder();
    // The documents folder when it names one that exists, else the home folder.
    const std::string documents = documents_ ? documents_() : SystemDocumentsFolder();
    if (documents.empty() || KindOfPath(documents) != PathKind::Folder) return HomeFolder();
    return WithTrailingSeparator(documents);
}

}  // namespace mxc9
