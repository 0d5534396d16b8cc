#pragma once

#include <exception>

#include "platform/jet/EErrorJet.h"

namespace jet {

// Every failure the program raises: the Access reader, the SQL engine and
// the layers over them (connection and query objects, the evidence, the
// console). Each has one row in the table of ErroresJet.cpp: its kind (what
// EErrorJet::Clase() returns and the user reads before " - ") and its
// Spanish message, where %1, %2 stand for the culprits named when it is
// raised. A kind without a row fails the build's tests (ErroresTest).
enum class TErrorJet : int {
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
    TeniendoSinAgrupar,
    SubconsultaVariasColumnas,
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
    // The program itself: a failure that is none of the above (a fault of
    // ours), never a lack of memory.
    Interno,
    // The connection and query objects (platform/ado).
    ProveedorNoDisponible,
    ConexionCerrada,
    ConsultaSinConexion,
    ConsultaCerrada,
    CampoNumeroInexistente,
    CampoNoEncontrado,
    Conversion,
    // The evidence behind an answer.
    EvidenciaFuenteUnica,
    EvidenciaSinAgregado,
    EvidenciaOtroCalculo,
    EvidenciaNoCalculada,
    EvidenciaSinConexion,
    // The console (tools/jetsql) and its exports.
    OrdenDesconocida,
    UsoOrden,
    LeerAnidados,
    SalidaEsElArchivo,
    SalidaNoEscribible,
    GuionIlegible,
    EntradaNoComun,
    TablaNoExiste,
    AdjuntoNoEscrito,
    Exportacion,
    // Keep last: how many failures there are.
    kCuantos
};

// The kind of e, as EErrorJet::Clase() returns it, and its message with %1,
// %2... still in place.
const char* ClaseDe(TErrorJet e);
const char* MensajeDe(TErrorJet e);

// What a failure caught where nothing may pass says to the user: ours as it
// is; a lack of memory (an allocation, or a thread the system could not
// start) as EMemoria, never as a fault; anything else as EInterno.
EErrorJet ErrorDeFallo(std::exception_ptr fallo);

}  // namespace jet
