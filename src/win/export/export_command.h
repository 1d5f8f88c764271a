// The scan window's export command, "Save to zip file": the app layer's export session, with the
// save dialog, the progress windows and the questions shown over the scan window.
#pragma once

namespace tarnwick::platform {
class FileSource;
}

namespace tarnwick::win {

class frmScan;

// Installs the export command in every scan window opened afterwards, and lets the engine keep
// the windows responsive while it archives or copies (messages run at its yield points).
void InstallExportCommand();

// The handler of "Save to zip file": runs the export with the button disabled.
void cmdExport_Click(frmScan& window);

// Where the export reads the files it archives or copies; null (the default) means the system's
// files. Not owned.
void SetExportFileSource(const platform::FileSource* files);

}  // namespace tarnwick::win
