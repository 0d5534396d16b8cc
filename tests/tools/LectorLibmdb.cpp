#include "LectorLibmdb.h"

#include <mdbtools.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

template <typename T>
T Lee(const void* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

constexpr int kTamanoEnlace = 1 << 20;

}  // namespace

std::vector<TTablaLibmdb> LeeConLibmdb(const std::string& sRuta) {
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> mdb(mdb_open(sRuta.c_str(), MDB_NOFLAGS),
                                                         mdb_close);
    if (!mdb)
        throw std::runtime_error("libmdb no abre " + sRuta);
    mdb_set_bind_size(mdb.get(), kTamanoEnlace);
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE))
        throw std::runtime_error("sin catálogo");
    std::vector<TTablaLibmdb> tablas;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entrada = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entrada->object_type != MDB_TABLE || mdb_is_system_table(entrada))
            continue;
        std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> tabla(mdb_read_table(entrada),
                                                                   mdb_free_tabledef);
        if (!tabla)
            throw std::runtime_error("libmdb no lee la tabla " + std::string(entrada->object_name));
        mdb_read_columns(tabla.get());
        mdb_rewind_table(tabla.get());
        TTablaLibmdb t;
        t.sNombre = entrada->object_name;
        const unsigned nCols = tabla->num_cols;
        std::vector<std::vector<char>> enlaces(nCols, std::vector<char>(kTamanoEnlace));
        std::vector<int> largos(nCols);
        for (unsigned c = 0; c < nCols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c));
            t.columnas.push_back(col->name);
            t.tipos.push_back(col->col_type);
            t.tamanos.push_back(col->col_size);
            mdb_bind_column(tabla.get(), int(c + 1), enlaces[c].data(), &largos[c]);
        }
        std::vector<MdbField> campos(nCols);
        while (mdb_fetch_row(tabla.get())) {
            int nInicio = 0;
            size_t nLargo = 0;
            mdb_find_row(mdb.get(), int(tabla->cur_row) - 1, &nInicio, &nLargo);
            mdb_crack_row(tabla.get(), nInicio, nLargo, campos.data());
            std::vector<jet::TValor> fila(nCols);
            for (unsigned c = 0; c < nCols; ++c) {
                const MdbField& f = campos[c];
                const int nTipo = t.tipos[c];
                if (nTipo == MDB_BOOL) {
                    fila[c] = !f.is_null;
                    continue;
                }
                if (f.is_null)
                    continue;
                switch (nTipo) {
                    case MDB_BYTE:
                        fila[c] = int64_t(Lee<uint8_t>(f.value));
                        break;
                    case MDB_INT:
                        fila[c] = int64_t(Lee<int16_t>(f.value));
                        break;
                    case MDB_LONGINT:
                        fila[c] = int64_t(Lee<int32_t>(f.value));
                        break;
                    case MDB_FLOAT:
                        fila[c] = double(Lee<float>(f.value));
                        break;
                    case MDB_DOUBLE:
                        fila[c] = Lee<double>(f.value);
                        break;
                    case MDB_DATETIME:
                        fila[c] = jet::TFecha{Lee<double>(f.value)};
                        break;
                    case MDB_MONEY:
                        fila[c] = jet::TMoneda{Lee<int64_t>(f.value)};
                        break;
                    default:
                        fila[c] = std::string(enlaces[c].data(), size_t(largos[c]));
                }
            }
            t.filas.push_back(std::move(fila));
        }
        tablas.push_back(std::move(t));
    }
    return tablas;
}
