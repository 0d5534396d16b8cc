#pragma once

#include <cstdio>
#include <string>

#include "platform/jet/Latido.h"
#include "tools/jetsql/SesionJetsql.h"

// The interactive console on a terminal: a prompt with line editing and
// history (libedit), statements over several lines until ';', dot commands
// on a line of their own. Ctrl-C drops the statement being typed and
// stays; while a statement runs it asks the engine, through latido (the
// heartbeat the session's engine has), to stop it, and the console stays
// too. Ctrl-D on an empty line or .salir leaves. The history is kept in
// sHistorial (none when empty) between sessions. Returns the exit status.
int EjecutaConsola(TSesionJetsql& sesion, jet::TLatido& latido, FILE* entrada, FILE* salida,
                   FILE* errores, const std::string& sHistorial);
