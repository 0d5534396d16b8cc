#pragma once

#include <cstdio>
#include <string>

#include "tools/jetsql/SesionJetsql.h"

// The interactive console on a terminal: a prompt with line editing and
// history (libedit), statements over several lines until ';', dot commands
// on a line of their own. Ctrl-C drops the statement being typed and
// stays; Ctrl-D on an empty line or .salir leaves. The history is kept in
// sHistorial (none when empty) between sessions. Returns the exit status.
int EjecutaConsola(TSesionJetsql& sesion, FILE* entrada, FILE* salida, FILE* errores,
                   const std::string& sHistorial);
