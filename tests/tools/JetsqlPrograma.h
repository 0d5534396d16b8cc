#pragma once

// Running the jetsql program as a user does, with a given standard input.
#include <string>
#include <vector>

#include "tests/tools/ProgramaLotes.h"

std::string FixtureMdb(const std::string& sNombre);
std::string ProgramaJetsql();

// Runs jetsql with the arguments (no shell) and sEntrada on its standard
// input, which is then a file, not a terminal.
// With nLimiteBytes, the program's address space is bounded to it
// (RLIMIT_AS), as a machine short of memory bounds it.
TEjecucion EjecutaJetsqlCon(const std::vector<std::string>& args, const std::string& sEntrada,
                            unsigned long long nLimiteBytes = 0);
