#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "questionnaire/Edicion.h"
#include "questionnaire/LeeEdicion.h"

// What LeeEdicion cannot check without the engines: every statement of the
// edition, as the question set composes it, parsed, bound and run by the SQL
// engine on Norvex's tables without their rows (CreaNorvexVacio), with its
// "Resultado" column and, where the question names one, the evidence its
// calculation gives; and the report template loaded by the report engine.
// Each problem names the line of its question (of its statement, for an
// edition's own).
std::vector<TProblemaEdicion> ValidaEdicion(const TEdicion& edicion);

// LeeEdicion and then ValidaEdicion: the edition ready to be used, or none
// and every problem.
TLecturaEdicion RevisaEdicion(const std::filesystem::path& sCarpeta);

// "Edición 2018 «Encuesta ANDU 2018», operaciones del 01/01/2017 al
// 31/12/2017: 195 preguntas (160 con cálculo del Norvex, 35 del centro), 22
// páginas."
std::string ResumenEdicion(const TEdicion& edicion);
