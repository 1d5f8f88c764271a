// The scan window's export command, "Save to zip file": asks where to save, archives every listed
// file into one ZIP archive (with a progress window that can be cancelled), tells the user what
// is in it, and when no archive results offers to copy the files into the migration folder
// instead.
#pragma once

namespace tarnwick::platform {
class FileSource;
}

namespace tarnwick::gui {

class frmScan;

// Installs the export command in every scan window opened afterwards, and lets the engine keep
// the windows responsive while it archives or copies (Qt events run at its yield points). The
// desktop program calls it once at start-up, before the first scan window opens.
void InstallExportCommand();

// The handler of "Save to zip file": runs the app layer's export session on the window's rows
// with the button disabled, answering its questions with dialogs.
void cmdExport_Click(frmScan& window);

// Where the export reads the files it archives or copies; null (the default) means the system's
// files. Tests put read failures and delays here. Not owned.
void SetExportFileSource(const platform::FileSource* files);

}  // namespace tarnwick::gui
