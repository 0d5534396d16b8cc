#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"

namespace jet {

// Kinds of the failures of an Access file (EErrorJet::Clase()).
inline constexpr const char* kArchivoInexistente = "EArchivoInexistente";
inline constexpr const char* kArchivoIlegible = "EArchivoIlegible";
inline constexpr const char* kArchivoNoEsAccess = "EArchivoNoEsAccess";
inline constexpr const char* kContrasenaInvalida = "EContrasenaInvalida";
inline constexpr const char* kTablaInexistente = "ETablaInexistente";
inline constexpr const char* kContrasenaRequerida = "EContrasenaRequerida";
inline constexpr const char* kFormatoNoSoportado = "EFormatoNoSoportado";
inline constexpr const char* kTablaDanada = "ETablaDanada";

enum class TTipoColumna {
    tcBooleano,
    tcByte,
    tcEntero,
    tcEnteroLargo,
    tcMoneda,
    tcSimple,
    tcDoble,
    tcFechaHora,
    tcTexto,
    tcMemo,
    tcEnteroGrande,  // BigInt ("Large Number"), as int64_t
    tcDecimal,       // TDecimal with the column's scale
    tcBinario,       // Binary and OLE Object, as TBytes
    tcGuid,          // Replication ID, as the text {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    tcAdjunto,       // Attachment, as TAdjuntos (null when the row has none)
    tcOtro           // a type we cannot read: its rows hold null, and any use must fail
};

struct TColumna {
    std::string sNombre;
    TTipoColumna eTipo = TTipoColumna::tcOtro;
    int nTamano = 0;      // characters for text, bytes otherwise
    int nPrecision = 0;   // Decimal only: digits in all
    int nEscala = 0;      // Decimal only: digits after the point
    int nCodigoTipo = 0;  // the type's number in the file, to name a type we cannot read
};

// Not a type of the file: the code a complex column holding a memo's version
// history takes in TColumna::nCodigoTipo, so that it is named as such.
constexpr int kCodigoHistorialVersiones = 0x112;

// How a type we cannot read is named to the user, after "es de tipo"
// ("desconocido (código 21)", "campo multivalor", "historial de versiones").
std::string NombreTipoNoLegible(int nCodigoTipo);

struct TTabla {
    std::string sNombre;
    std::vector<TColumna> columnas;
    int64_t nFilas = 0;
};

// What tells that the file changed on disk since it was read.
// File times tick every few milliseconds, so a copy put in the file's place
// right after a write may carry the same size and time: the inode tells it.
struct TFirmaArchivo {
    uintmax_t nTamano = 0;
    int64_t nModificacionNs = 0;
    uintmax_t nDispositivo = 0;
    uintmax_t nInodo = 0;
    int64_t nCambioNs = 0;  // status change: also moves when the time is set back
    bool operator==(const TFirmaArchivo&) const = default;
};

// An Access file (.mdb, .accdb) opened read-only through libmdb. Its bytes
// never change. Every failure is an EErrorJet whose message names the file.
//
// Threads: every method may be called from any thread. What Abre read (the
// tables and their columns) never changes, so the catalogue methods take no
// lock. LeeFilas moves the file's one reading cursor (libmdb's page buffer):
// its calls on one file run one after another, each holding the file until it
// returns; its callback runs on the calling thread and may read this same
// file again (the inner reading puts the cursor back), but must not wait for
// another thread that reads this file.
class TArchivoAccess {
public:
    // Opens the file and checks the database password as Jet does: a file
    // with a password opens only with that password (letter case matters);
    // a file without one opens whatever password is given. Without the
    // password a file that has one fails with kContrasenaRequerida, with a
    // wrong one kContrasenaInvalida. An Access 2007 or later file with a
    // password is encrypted: an encryption it cannot read fails with
    // kFormatoNoSoportado.
    static std::unique_ptr<TArchivoAccess> Abre(const std::string& sRuta,
                                                const std::string& sContrasena);
    virtual ~TArchivoAccess() = default;

    virtual const std::string& Ruta() const = 0;
    virtual int VersionJet() const = 0;       // 3 (Access 97) or 4 (Access 2000 and later)
    virtual TFirmaArchivo Firma() const = 0;  // the file as it was when opened
    static TFirmaArchivo FirmaEnDisco(const std::string& sRuta);

    // User tables, in catalogue order.
    virtual std::vector<std::string> DameNombresTablas() const = 0;
    // A table by name, letter case ignored; nullptr when there is none.
    virtual const TTabla* BuscaTabla(const std::string& sNombre) const = 0;
    // Every row of a table, one value per column in column order, exact
    // (doubles bit for bit, currency to the ten-thousandth, dates as serials).
    virtual void LeeFilas(const std::string& sTabla,
                          const std::function<void(const std::vector<TValor>&)>& fila) const = 0;
};

}  // namespace jet
