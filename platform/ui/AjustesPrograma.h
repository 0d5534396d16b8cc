#pragma once

#include <QString>

class QSettings;

namespace ui {

// The program's own settings: one file of the user's (the last Norvex
// folder, the branches of each company, the last folder of the file
// dialogs). On the user-interface thread only.
QSettings& AjustesPrograma();
// From now on the settings live in sArchivo (a test's own file); an empty
// name goes back to the user's.
void FijaAjustesPrograma(const QString& sArchivo);

// Where every file dialog of the program starts: the folder last chosen in
// any of them while it still exists, else the user's documents folder when
// it exists, else the home folder. One rule for all, so the user finds the
// last place again whatever the dialog.
QString CarpetaDialogos();
// sNombre in the folder every dialog starts from.
QString ArchivoEnCarpetaDialogos(const QString& sNombre);
// Remembers the folder of what the user chose in a file dialog: sRuta is the
// chosen file, or the chosen folder itself.
void RecuerdaCarpetaDialogos(const QString& sRuta);

}  // namespace ui
