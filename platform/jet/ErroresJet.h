#pragma once

#include <initializer_list>
#include <string>

#include "platform/jet/EErrorJet.h"

namespace jet {

// Every failure the Access reader and the SQL engine raise. Each has one row
// in the table of ErroresJet.cpp: its kind (what EErrorJet::Clase() returns
// and the user reads before " - ") and its Spanish message, where %1, %2
// stand for the culprits named when it is raised.
enum class TErrorJet {
    // The Access file.
    ArchivoInexistente,
    ArchivoIlegible,
    ArchivoNoEsAccess,
    ArchivoDanado,
    CifradoDanado,
    TablaDanada,
    ContrasenaInvalida,
    ContrasenaRequerida,
    ContrasenaFaltante,
    FormatoNoSoportado,
    TipoNoSoportado,
    TablaInexistente,
    // The statement as written.
    Sintaxis,
    InstruccionNoValida,
    CaracteresTrasFin,
    NumeroArgumentos,
    ColumnasUnion,
    AgregadoMalUsado,
    SoloLectura,
    Anidamiento,
    Longitud,
    // Names and rules.
    TablaNoEncontrada,
    ParametroSinValor,
    CampoAmbiguo,
    FuncionNoDefinida,
    Agregado,
    // Values, while the statement runs.
    TiposNoCoinciden,
    DivisionPorCero,
    ArgumentoNoValido,
    PatronNoValido,
    Desbordamiento,
    DesbordamientoOperacion,
    // SQLite underneath.
    DemasiadoCompleja,
    Memoria,
    Interrumpida,
    ResultadoGrande,
    Motor,
    CopiaNoPreparada,
    BaseNoCreada,
    TablaNoCopiada,
};

// The failure e with its culprits in place of %1, %2...
EErrorJet ErrorJet(TErrorJet e, std::initializer_list<std::string> culpables = {});

// The kind of e, as EErrorJet::Clase() returns it.
const char* ClaseDe(TErrorJet e);

}  // namespace jet
