#pragma once

#include <memory>
#include <vector>

#include "platform/jet/TArchivoAccess.h"

// Norvex's tables as the program knows them: every column a statement may
// name, with its type. An edition's statements are checked against them
// before anyone relies on the edition (no real database is needed).
const std::vector<jet::TTabla>& TablasNorvex();

// An Access file with those tables and no rows, for the engine to bind and
// run a statement on as it would on a centre's database.
std::unique_ptr<jet::TArchivoAccess> CreaNorvexVacio();
