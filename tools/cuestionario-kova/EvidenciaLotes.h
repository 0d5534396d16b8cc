#pragma once

#include <filesystem>
#include <map>
#include <string>

class TRepCuestLotes;
class TTablaPEPs;

// Writes into sCarpeta (an existing, empty folder) the evidence of every
// computed question: pregunta-NNN.csv with its rows and indice.csv with
// pregunta,respuesta,calculo,columna,filas,archivo, respuesta as the answers
// file gives it. False with the reason in sError at the first failure.
bool EscribeEvidencias(TRepCuestLotes& Cuestionario, TTablaPEPs& vtPEPs,
                       const std::map<int, std::string>& respuestas,
                       const std::filesystem::path& sCarpeta, std::string& sError);
