#pragma once

#include <QStringList>

class QFileDialog;

namespace avatello {

// The file patterns a file-type entry lists: those in its brackets ("GIF Files (*.gif)" lists
// *.gif). "*.*" stands for every file, names without a dot included, as it does on the system
// these filter texts come from; on Linux the pattern itself would need a dot.
QStringList listedPatterns(const QString& nameFilter);

// Makes the file-type list of Qt's own file dialog choose only which files are listed. Picking
// an entry leaves the typed name as it stands (Qt swaps the typed extension for the entry's in a
// save dialog, and "All Files (*.*)" would turn "icon.bmp" into "icon.*"), and "*.*" lists every
// file. Call it once the dialog's filters are set and selected.
void followFileTypeList(QFileDialog& dialog);

} // namespace avatello
