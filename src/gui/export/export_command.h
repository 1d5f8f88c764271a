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

// The handler of "Save to zip file": runs ExportFiles with the button disabled and mbExporting
// set, sets mbSaved when it reports the results saved, and writes "Done" to the status bar
// whatever happened. Nothing escapes it: an error is shown to the user and the window stays
// usable.
void cmdExport_Click(frmScan& window);

// Exports the rows of the window's result list. True once the user confirmed the save dialog,
// whatever the archive or the copy then achieved; false when the dialog or the archive run was
// cancelled, or the list could not be handed to the archive builder (the user has been told).
bool ExportFiles(frmScan& window);

// Where the export reads the files it archives or copies; null (the default) means the system's
// files. Tests put read failures and delays here. Not owned.
void SetExportFileSource(const platform::FileSource* files);

}  // namespace tarnwick::gui
