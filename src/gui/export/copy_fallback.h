// The export's fallback when no archive results: every listed file is copied into the migration
// folder beside the chosen archive path, keeping the folder structure below the scan folder.
#pragma once

#include <string>
#include <vector>

class QWidget;

namespace tarnwick::platform {
class FileSource;
}

namespace tarnwick::gui {

// Copies `files` (full paths, each below `scanFolder`) into the migration folder of
// `archivePath`, with a progress window that can be cancelled, asking before an existing file is
// replaced (Yes, No, Yes to all, Cancel), keeping modification times. Then tells the user whether
// every file was copied, or which were not and why. `source` null reads the system's files.
void CopyToMigrationFolder(QWidget* window, const std::vector<std::string>& files,
                           const std::string& scanFolder, const std::string& archivePath,
                           const platform::FileSource* source);

}  // namespace tarnwick::gui
