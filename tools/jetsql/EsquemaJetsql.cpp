#include "tools/jetsql/EsquemaJetsql.h"

#include <mdbtools.h>

#include <map>
#include <memory>
#include <optional>

namespace {

// What the reader's columns do not carry: Access's own type code (the
// reader folds the kinds it does not read into one) and whether the column
// takes nulls. Both come from libmdb's catalogue, which reads the columns'
// properties; a file it cannot read leaves them unknown.
struct TDetalleColumna {
    int nTipoMdb = 0;
    std::optional<bool> bAdmiteNulos;
};
using TDetalles = std::map<std::string, std::map<std::string, TDetalleColumna>>;

struct TCierraMdb {
    void operator()(MdbHandle* p) const { mdb_close(p); }
};
struct TLiberaTabla {
    void operator()(MdbTableDef* p) const { mdb_free_tabledef(p); }
};

void LeeDetallesTabla(MdbCatalogEntry* entrada, TDetalles& detalles) {
    std::unique_ptr<MdbTableDef, TLiberaTabla> tabla(mdb_read_table(entrada));
    if (!tabla || !mdb_read_columns(tabla.get()))
        return;
    mdb_read_indices(tabla.get());
    std::vector<bool> enClave(tabla->num_cols, false);
    for (unsigned i = 0; tabla->indices && i < tabla->num_idxs; ++i) {
        const auto* indice = static_cast<MdbIndex*>(g_ptr_array_index(tabla->indices, i));
        // A primary key's columns are never null, whatever their property says.
        if (indice->index_type != 1)
            continue;
        for (unsigned k = 0; k < indice->num_keys && k < MDB_MAX_IDX_COLS; ++k)
            if (indice->key_col_num[k] >= 1 && indice->key_col_num[k] <= int(tabla->num_cols))
                enClave[indice->key_col_num[k] - 1] = true;
    }
    auto& deTabla = detalles[entrada->object_name];
    for (unsigned c = 0; c < tabla->num_cols; ++c) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c));
        TDetalleColumna d{col->col_type, std::nullopt};
        const char* sRequerido = mdb_col_get_prop(col, "Required");
        // Yes/No columns hold no nulls in Access.
        if (enClave[c] || col->col_type == MDB_BOOL)
            d.bAdmiteNulos = false;
        else if (sRequerido)
            d.bAdmiteNulos = sRequerido[0] != 'y';
        deTabla[col->name] = d;
    }
}

TDetalles LeeDetalles(const std::string& sRuta) {
    TDetalles detalles;
    std::unique_ptr<MdbHandle, TCierraMdb> mdb(mdb_open(sRuta.c_str(), MDB_NOFLAGS));
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE))
        return detalles;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entrada = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entrada->object_type == MDB_TABLE && !mdb_is_system_table(entrada))
            LeeDetallesTabla(entrada, detalles);
    }
    return detalles;
}

// Access's names for its kinds (Spanish edition).
std::string NombreTipo(const jet::TColumna& columna, const TDetalleColumna* d) {
    if (columna.nCodigoTipo == 0x14)
        return "Fecha/Hora extendida";
    switch (columna.eTipo) {
        case jet::TTipoColumna::tcBooleano:
            return "Sí/No";
        case jet::TTipoColumna::tcByte:
            return "Número (Byte)";
        case jet::TTipoColumna::tcEntero:
            return "Número (Entero)";
        case jet::TTipoColumna::tcEnteroLargo:
            return "Número (Entero largo)";
        case jet::TTipoColumna::tcMoneda:
            return "Moneda";
        case jet::TTipoColumna::tcSimple:
            return "Número (Simple)";
        case jet::TTipoColumna::tcDoble:
            return "Número (Doble)";
        case jet::TTipoColumna::tcFechaHora:
            return "Fecha/Hora";
        case jet::TTipoColumna::tcTexto:
            return "Texto";
        case jet::TTipoColumna::tcMemo:
            return "Memo";
        default:
            break;
    }
    switch (d ? d->nTipoMdb : 0) {
        case MDB_BINARY:
            return "Binario";
        case MDB_OLE:
            return "Objeto OLE";
        case MDB_REPID:
            return "Número (Id. de réplica)";
        case MDB_NUMERIC:
            // libmdb's precision and scale of Access 2007 files are not
            // trustworthy: better none than wrong ones.
            return "Número (Decimal)";
        case MDB_COMPLEX:
            return "Datos adjuntos";
        case 0x13:
            return "Número grande";
        default:
            return "Otro";
    }
}

bool TieneTamanoFijo(const jet::TColumna& columna) {
    return columna.eTipo != jet::TTipoColumna::tcMemo &&
           columna.eTipo != jet::TTipoColumna::tcOtro && columna.nTamano > 0;
}

}  // namespace

jet::TResultado DameEsquema(const jet::TArchivoAccess& archivo,
                            const std::vector<std::string>& tablas, bool bConTabla) {
    jet::TResultado r;
    if (bConTabla)
        r.columnas.push_back("Tabla");
    for (const char* s : {"Columna", "Tipo", "Tamaño", "Nulos"}) r.columnas.push_back(s);
    const TDetalles detalles = LeeDetalles(archivo.Ruta());
    for (const auto& sNombre : tablas) {
        const jet::TTabla* tabla = archivo.BuscaTabla(sNombre);
        if (!tabla)
            continue;
        const auto itTabla = detalles.find(tabla->sNombre);
        for (const auto& columna : tabla->columnas) {
            const TDetalleColumna* d = nullptr;
            if (itTabla != detalles.end()) {
                const auto it = itTabla->second.find(columna.sNombre);
                d = it == itTabla->second.end() ? nullptr : &it->second;
            }
            std::vector<jet::TValor> fila;
            if (bConTabla)
                fila.push_back(tabla->sNombre);
            fila.push_back(columna.sNombre);
            fila.push_back(NombreTipo(columna, d));
            fila.emplace_back();
            if (TieneTamanoFijo(columna))
                fila.back() = int64_t{columna.nTamano};
            const char* sNulos = "?";
            if (d && d->bAdmiteNulos)
                sNulos = *d->bAdmiteNulos ? "Sí" : "No";
            fila.emplace_back(std::string(sNulos));
            r.filas.push_back(std::move(fila));
        }
    }
    return r;
}
