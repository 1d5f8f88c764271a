// The scan window's export command, "Save to zip file": asks where to save, archives every listed
// file into one ZIP archive (with a progress window that can be cancelled), tells the user what
// is in it, and when no archive results offers to copy the files into the migration folder
// instead.
#pragma once

namespace tarnwick::platform {
class FileSource;
}

namespace tarnwick::win {

class frmScan;

// Installs the export command in every scan window opened afterwards, and lets the engine keep
// the windows responsive while it archives or copies (messages run at its yield points).
void InstallExportCommand();

// The handler of "Save to zip file": runs ExportFiles with the button disabled and mbExporting
// set, sets mbSaved when it reports the results saved, and writes "Done" to the status bar
// whatever happened. Nothing escapes it: an error is shown to the user and the window stays
// usable.
void cmdExport_Click(frmScan& window);

// Exports the rows of the window's result list. True once the user confirmed the save dialog.
bool ExportFiles(frmScan& window);

// Where the export reads the files it archives or copies; null (the default) means the system's
// files. Not owned.
void SetExportFileSource(const platform::FileSource* files);

}  // namespace tarnwick::win
