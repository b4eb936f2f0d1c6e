#pragma once
// Saving the record of the record list window: the save dialog, then the data file or the CSV
// export of its grids (see data_file.h for the layout).
//
// The writers copy the grids and the model without letting any event run, then build the file from
// the copy while an EventPacer keeps the program responsive and the window's caption shows the
// progress; the file is written whole through a temporary file and a rename. So edits, deletions or
// an unload of the window meanwhile change nothing in the file, and a failed write leaves no
// partial file and any old file as it was ("Save Error !!!" names the file and the reason).
#include "platform/dialogs.h"

namespace sq {

inline constexpr const char* kSaveDataFilter =
    "Data Files (*.qvx)|*.qvx|CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|";

// Shows `dialog` as a Save As dialog with the data and CSV filters, the first preselected. When the
// user confirms, SaveFileName is the chosen path, SaveFileChosen whether it names a file, and the
// dialog keeps the path and the chosen filter (1-based); a cancel changes nothing.
void ShowSaveDataDialog(FileDialogRequest& dialog);

// Write SaveFileName from the record list window when SaveFileChosen is set, and clear it.
void SaveDataFile();
void SaveCsvFile();

}  // namespace sq
