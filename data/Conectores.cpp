#include "data/Conectores.h"

TConectAccess::TConectAccess() {
    // Asked of the platform as Norvex's own tool does; our file is opened
    // read-only in every mode.
    F_Conector->SetMode(ado::TModoConexion::cmShareExclusive);
}
