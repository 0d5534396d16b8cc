#include "platform/jet/TArchivoAccess.h"

#include <fcntl.h>
#include <mdbtools.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/jet/EErrorJet.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/TEncabezadoJet.h"
#include "platform/jet/TextoJet.h"

static_assert(std::endian::native == std::endian::little,
              "values are copied as they lie on little-endian pages");

namespace jet {

namespace {

// Row-offset flags of a data page. libmdb 1.0 swaps the two (it reads deleted
// rows and drops moved ones), so rows are walked here with the right meaning.
constexpr int nFilaBorrada = 0x8000;
constexpr int nFilaDesbordada = 0x4000;  // the slot holds a pointer to the row's new place
constexpr int nMascaraPosicion = 0x1fff;
constexpr int nSaltosMaximos = 8;

[[noreturn]] void NoEsAccess(const std::string& sRuta) {
    throw ErrorJet(TErrorJet::ArchivoNoEsAccess, {sRuta});
}

[[noreturn]] void Danado(const std::string& sRuta) {
    throw ErrorJet(TErrorJet::ArchivoDanado, {sRuta});
}

template <class T>
T Lee(const void* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

TFirmaArchivo FirmaDe(const struct stat& st) {
    return {static_cast<uintmax_t>(st.st_size),
            static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
            static_cast<uintmax_t>(st.st_dev), static_cast<uintmax_t>(st.st_ino),
            static_cast<int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

struct TCierraDescriptor {
    int fd;
    ~TCierraDescriptor() { ::close(fd); }
};

struct TCierraMdb {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};

struct TLiberaTabla {
    void operator()(MdbTableDef* tabla) const { mdb_free_tabledef(tabla); }
};
using PTablaMdb = std::unique_ptr<MdbTableDef, TLiberaTabla>;

// Everything that can be checked before libmdb sees the file: libmdb trusts
// the bytes it reads, so a foreign or cut file must never reach it.
TEncabezadoJet ValidaArchivo(const std::string& sRuta, TFirmaArchivo& firma, size_t& nPaginas) {
    const int fd = ::open(sRuta.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw ErrorJet(TErrorJet::ArchivoInexistente, {sRuta});
        throw ErrorJet(TErrorJet::ArchivoIlegible, {sRuta});
    }
    TCierraDescriptor cierra{fd};
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))
        throw ErrorJet(TErrorJet::ArchivoIlegible, {sRuta});
    if (!S_ISREG(st.st_mode))
        NoEsAccess(sRuta);
    firma = FirmaDe(st);

    unsigned char bytes[TEncabezadoJet::nBytesLeidos];
    size_t nLeidos = 0;
    while (nLeidos < sizeof bytes) {
        const ssize_t n = ::pread(fd, bytes + nLeidos, sizeof bytes - nLeidos, nLeidos);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw ErrorJet(TErrorJet::ArchivoIlegible, {sRuta});
        if (n == 0)
            break;
        nLeidos += static_cast<size_t>(n);
    }
    const auto encabezado = TEncabezadoJet::Lee(bytes, nLeidos);
    if (!encabezado)
        NoEsAccess(sRuta);
    // Jet writes whole pages; the first three (definition, free map, catalogue)
    // always exist.
    const auto nTamano = static_cast<uintmax_t>(st.st_size);
    nPaginas = nTamano / encabezado->nTamanoPagina;
    if (nTamano % encabezado->nTamanoPagina != 0 || nPaginas < 3)
        Danado(sRuta);
    return *encabezado;
}

TTipoColumna TipoDe(const MdbColumn& col) {
    switch (col.col_type) {
        case MDB_BOOL:
            return TTipoColumna::tcBooleano;
        case MDB_BYTE:
            return TTipoColumna::tcByte;
        case MDB_INT:
            return TTipoColumna::tcEntero;
        case MDB_LONGINT:
            return TTipoColumna::tcEnteroLargo;
        case MDB_MONEY:
            return TTipoColumna::tcMoneda;
        case MDB_FLOAT:
            return TTipoColumna::tcSimple;
        case MDB_DOUBLE:
            return TTipoColumna::tcDoble;
        case MDB_DATETIME:
            return TTipoColumna::tcFechaHora;
        case MDB_TEXT:
            return TTipoColumna::tcTexto;
        case MDB_MEMO:
            return TTipoColumna::tcMemo;
        default:
            return TTipoColumna::tcOtro;
    }
}

bool MismoNombre(const std::string& a, const std::string& b) {
    return icu::UnicodeString::fromUTF8(a).caseCompare(icu::UnicodeString::fromUTF8(b),
                                                       U_FOLD_CASE_DEFAULT) == 0;
}

class TArchivoMdb final : public TArchivoAccess {
public:
    TArchivoMdb(std::string sRuta, const TEncabezadoJet& encabezado, TFirmaArchivo firma,
                size_t nPaginas)
        : sRuta_(std::move(sRuta)),
          nVersion_(encabezado.nVersion),
          firma_(firma),
          nPaginas_(nPaginas) {
        mdb_.reset(mdb_open(sRuta_.c_str(), MDB_NOFLAGS));
        if (!mdb_)
            Danado(sRuta_);
        LeeCatalogo();
    }

    const std::string& Ruta() const override { return sRuta_; }
    int VersionJet() const override { return nVersion_; }
    TFirmaArchivo Firma() const override { return firma_; }

    std::vector<std::string> DameNombresTablas() const override {
        std::vector<std::string> nombres;
        for (const auto& t : tablas_) nombres.push_back(t.sNombre);
        return nombres;
    }

    const TTabla* BuscaTabla(const std::string& sNombre) const override {
        const size_t i = IndiceTabla(sNombre);
        return i < tablas_.size() ? &tablas_[i] : nullptr;
    }

    void LeeFilas(const std::string& sTabla,
                  const std::function<void(const std::vector<TValor>&)>& fila) const override {
        const size_t i = IndiceTabla(sTabla);
        if (i == tablas_.size())
            throw ErrorJet(TErrorJet::TablaInexistente, {sTabla, sRuta_});
        RecorreFilas(*entradas_[i], fila);
    }

private:
    void LeeCatalogo();
    void RecorreFilas(MdbCatalogEntry& entrada,
                      const std::function<void(const std::vector<TValor>&)>& fila) const;

    size_t IndiceTabla(const std::string& sNombre) const {
        for (size_t i = 0; i < tablas_.size(); ++i)
            if (MismoNombre(tablas_[i].sNombre, sNombre))
                return i;
        return tablas_.size();
    }

    PTablaMdb LeeDefinicion(MdbCatalogEntry* entrada) const {
        if (entrada->table_pg == 0 || entrada->table_pg >= nPaginas_)
            Danado(sRuta_);
        PTablaMdb tabla(mdb_read_table(entrada));
        if (!tabla || !mdb_read_columns(tabla.get()) || tabla->num_cols > MDB_MAX_COLS ||
            !MapaDeUsoValido(*tabla))
            Danado(sRuta_);
        return tabla;
    }

    // libmdb follows a table's usage map (which pages hold its rows) without
    // checking it, and a broken one crashes it. The map is either a bitmap
    // (type 0) or a list of bitmap pages (type 1).
    bool MapaDeUsoValido(const MdbTableDef& tabla) const {
        const unsigned char* mapa = tabla.usage_map;
        if (!mapa || tabla.map_sz < 5)
            return false;
        if (mapa[0] == 0)
            return true;
        if (mapa[0] != 1)
            return false;
        for (size_t i = 1; i + 4 <= tabla.map_sz; i += 4)
            if (Lee<uint32_t>(mapa + i) >= nPaginas_)
                return false;
        return true;
    }

    // A row that lies on the current page (mdb->pg_buf) from nInicio on.
    void DecodificaFila(MdbTableDef* tabla, int nInicio, size_t nLargo,
                        std::vector<MdbField>& campos, std::vector<TValor>& fila) const;
    TValor Valor(const MdbColumn& col, const MdbField& campo) const;
    std::string LeeMemo(const unsigned char* p, size_t nLargo) const;
    std::string Texto(const unsigned char* p, size_t n) const {
        return nVersion_ >= 4 ? TextoJet4AUtf8(p, n) : TextoJet3AUtf8(p, n);
    }

    std::string sRuta_;
    int nVersion_;
    TFirmaArchivo firma_;
    size_t nPaginas_;
    std::unique_ptr<MdbHandle, TCierraMdb> mdb_;
    std::vector<TTabla> tablas_;
    std::vector<std::unique_ptr<MdbCatalogEntry>> entradas_;  // parallel to tablas_
};

// The catalogue is the table MSysObjects, always defined on page 2. It is read
// with our own row walk instead of libmdb's catalogue reader, which keeps
// deleted objects and follows every property blob without bounds (a cut file
// sends it into an endless parse).
void TArchivoMdb::LeeCatalogo() {
    MdbCatalogEntry sistema{};
    sistema.mdb = mdb_.get();
    sistema.object_type = MDB_TABLE;
    sistema.table_pg = 2;
    std::strcpy(sistema.object_name, "MSysObjects");
    int nId, nNombre, nTipo, nBanderas;
    {
        PTablaMdb tabla = LeeDefinicion(&sistema);
        auto posicion = [&](const char* sColumna) {
            for (unsigned c = 0; c < tabla->num_cols; ++c)
                if (std::strcmp(static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c))->name,
                                sColumna) == 0)
                    return static_cast<int>(c);
            Danado(sRuta_);
        };
        nId = posicion("Id");
        nNombre = posicion("Name");
        nTipo = posicion("Type");
        nBanderas = posicion("Flags");
    }
    RecorreFilas(sistema, [&](const std::vector<TValor>& fila) {
        const auto* pId = std::get_if<int64_t>(&fila[nId]);
        const auto* pNombre = std::get_if<std::string>(&fila[nNombre]);
        const auto* pTipo = std::get_if<int64_t>(&fila[nTipo]);
        const auto* pBanderas = std::get_if<int64_t>(&fila[nBanderas]);
        if (!pId || !pNombre || !pTipo || (*pTipo & 0x7f) != MDB_TABLE)
            return;
        // System tables carry one of these flags (MSys*, and hidden ones).
        if (pBanderas && (static_cast<uint32_t>(*pBanderas) & 0x80000002u))
            return;
        auto entrada = std::make_unique<MdbCatalogEntry>();
        *entrada = MdbCatalogEntry{};
        entrada->mdb = mdb_.get();
        entrada->object_type = MDB_TABLE;
        entrada->table_pg = static_cast<unsigned long>(*pId & 0x00ffffff);
        entrada->flags = pBanderas ? static_cast<int>(*pBanderas) : 0;
        if (pNombre->size() > MDB_MAX_OBJ_NAME)
            Danado(sRuta_);
        std::strcpy(entrada->object_name, pNombre->c_str());
        entradas_.push_back(std::move(entrada));
    });
    for (const auto& entrada : entradas_) {
        PTablaMdb tabla = LeeDefinicion(entrada.get());
        TTabla t{entrada->object_name, {}, tabla->num_rows};
        for (unsigned c = 0; c < tabla->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c));
            const TTipoColumna eTipo = TipoDe(*col);
            const bool bCaracteres = eTipo == TTipoColumna::tcTexto && nVersion_ >= 4;
            t.columnas.push_back(
                {col->name, eTipo, bCaracteres ? col->col_size / 2 : col->col_size});
        }
        tablas_.push_back(std::move(t));
    }
}

void TArchivoMdb::RecorreFilas(MdbCatalogEntry& entrada,
                               const std::function<void(const std::vector<TValor>&)>& fila) const {
    PTablaMdb tabla = LeeDefinicion(&entrada);
    MdbHandle* mdb = mdb_.get();
    const int nCuentaFilas = mdb->fmt->row_count_offset;
    std::vector<MdbField> campos(tabla->num_cols);
    std::vector<TValor> valores(tabla->num_cols);
    std::vector<unsigned char> paginaActual(mdb->fmt->pg_size);
    uint64_t nLeidas = 0;

    mdb_rewind_table(tabla.get());
    while (tabla->num_cols > 0 && mdb_read_next_dpg(tabla.get())) {
        const int nFilasPagina = mdb_get_int16(mdb->pg_buf, nCuentaFilas);
        for (int r = 0; r < nFilasPagina; ++r) {
            int nInicio;
            size_t nLargo;
            if (mdb_find_row(mdb, r, &nInicio, &nLargo) != 0 || nLargo == 0)
                continue;
            if (nInicio & nFilaBorrada)
                continue;
            if (nInicio & nFilaDesbordada) {
                // Follow the pointer and decode the row on its own page, then
                // put the page being walked back. A copy, not a re-read:
                // libmdb skips reading a page it believes is already loaded.
                std::memcpy(paginaActual.data(), mdb->pg_buf, paginaActual.size());
                auto nPagFila = Lee<uint32_t>(mdb->pg_buf + (nInicio & nMascaraPosicion));
                for (int nSaltos = 0;; ++nSaltos) {
                    void* pPagina;
                    int nPos;
                    size_t nLargoDestino;
                    if (nSaltos == nSaltosMaximos || (nPagFila >> 8) >= nPaginas_ ||
                        mdb_find_pg_row(mdb, static_cast<int>(nPagFila), &pPagina, &nPos,
                                        &nLargoDestino) != 0 ||
                        nLargoDestino == 0)
                        Danado(sRuta_);
                    auto* pDestino = static_cast<unsigned char*>(pPagina);
                    const int nBanderas = mdb_get_int16(
                        pDestino, nCuentaFilas + 2 + 2 * static_cast<int>(nPagFila & 0xff));
                    if (nBanderas & nFilaDesbordada) {
                        nPagFila = Lee<uint32_t>(pDestino + nPos);
                        continue;
                    }
                    std::memcpy(mdb->pg_buf, pDestino, paginaActual.size());
                    DecodificaFila(tabla.get(), nPos, nLargoDestino, campos, valores);
                    std::memcpy(mdb->pg_buf, paginaActual.data(), paginaActual.size());
                    break;
                }
            } else {
                DecodificaFila(tabla.get(), nInicio & nMascaraPosicion, nLargo, campos, valores);
            }
            ++nLeidas;
            fila(valores);
            // The callback may have read this file too.
            if (mdb->cur_pg != tabla->cur_phys_pg &&
                mdb_read_pg(mdb, tabla->cur_phys_pg) != mdb->fmt->pg_size)
                Danado(sRuta_);
        }
    }
    // The table definition counts its live rows; fewer or more here means
    // pages are missing or broken, and a silent partial answer would be wrong.
    if (nLeidas != tabla->num_rows)
        Danado(sRuta_);
}

void TArchivoMdb::DecodificaFila(MdbTableDef* tabla, int nInicio, size_t nLargo,
                                 std::vector<MdbField>& campos, std::vector<TValor>& fila) const {
    if (mdb_crack_row(tabla, nInicio, nLargo, campos.data()) < 0)
        Danado(sRuta_);
    const int nTamanoPagina = static_cast<int>(mdb_->fmt->pg_size);
    for (unsigned i = 0; i < tabla->num_cols; ++i) {
        const MdbField& campo = campos[i];
        if (campo.colnum < 0 || static_cast<unsigned>(campo.colnum) >= tabla->num_cols)
            Danado(sRuta_);
        if (!campo.is_null &&
            (campo.start < 0 || campo.siz < 0 || campo.start + campo.siz > nTamanoPagina))
            Danado(sRuta_);
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, campo.colnum));
        fila[campo.colnum] = Valor(*col, campo);
    }
}

TValor TArchivoMdb::Valor(const MdbColumn& col, const MdbField& campo) const {
    // A Boolean lives in the null mask: "null" is False.
    if (col.col_type == MDB_BOOL)
        return !campo.is_null;
    if (campo.is_null)
        return {};
    const unsigned char* p = mdb_->pg_buf + campo.start;
    const auto n = static_cast<size_t>(campo.siz);
    auto necesita = [&](size_t nBytes) {
        if (n < nBytes)
            Danado(sRuta_);
    };
    switch (col.col_type) {
        case MDB_BYTE:
            necesita(1);
            return static_cast<int64_t>(p[0]);
        case MDB_INT:
            necesita(2);
            return static_cast<int64_t>(Lee<int16_t>(p));
        case MDB_LONGINT:
            necesita(4);
            return static_cast<int64_t>(Lee<int32_t>(p));
        case MDB_MONEY:
            necesita(8);
            return TMoneda{Lee<int64_t>(p)};
        case MDB_FLOAT:
            necesita(4);
            return static_cast<double>(Lee<float>(p));
        case MDB_DOUBLE:
            necesita(8);
            return Lee<double>(p);
        case MDB_DATETIME:
            necesita(8);
            return TFecha{Lee<double>(p)};
        case MDB_TEXT:
            return Texto(p, n);
        case MDB_MEMO:
            return LeeMemo(p, n);
        default:
            return {};
    }
}

// A memo keeps a 12-byte header in the row: the length with two flags in its
// top bits and, unless the text follows inline, a pointer to a long-value row
// (one, or a chain of them each starting with the pointer to the next).
std::string TArchivoMdb::LeeMemo(const unsigned char* p, size_t nLargo) const {
    if (nLargo < MDB_MEMO_OVERHEAD)
        return "";
    const auto nCabecera = Lee<uint32_t>(p);
    const size_t nTotal = nCabecera & 0x3fffffff;
    std::string crudo;
    MdbHandle* mdb = mdb_.get();
    auto leeFila = [&](uint32_t nPagFila, size_t nSalto) {
        void* pPagina;
        int nPos;
        size_t n;
        if ((nPagFila >> 8) >= nPaginas_ ||
            mdb_find_pg_row(mdb, static_cast<int>(nPagFila), &pPagina, &nPos, &n) != 0 ||
            n < nSalto)
            Danado(sRuta_);
        return std::string(static_cast<const char*>(pPagina) + nPos, n);
    };
    if (nCabecera & 0x80000000) {
        crudo.assign(reinterpret_cast<const char*>(p) + MDB_MEMO_OVERHEAD,
                     nLargo - MDB_MEMO_OVERHEAD);
    } else if (nCabecera & 0x40000000) {
        crudo = leeFila(Lee<uint32_t>(p + 4), 0);
    } else {
        uint32_t nPagFila = Lee<uint32_t>(p + 4);
        for (size_t nPaginasLeidas = 0; crudo.size() < nTotal; ++nPaginasLeidas) {
            if (nPaginasLeidas > nPaginas_)
                Danado(sRuta_);
            const std::string trozo = leeFila(nPagFila, 4);
            crudo.append(trozo, 4);
            nPagFila = Lee<uint32_t>(trozo.data());
            if ((nPagFila >> 8) == 0)
                break;
        }
    }
    if (crudo.size() > nTotal)
        crudo.resize(nTotal);
    return Texto(reinterpret_cast<const unsigned char*>(crudo.data()), crudo.size());
}

}  // namespace

std::unique_ptr<TArchivoAccess> TArchivoAccess::Abre(const std::string& sRuta,
                                                     const std::string& sContrasena) {
    TFirmaArchivo firma;
    size_t nPaginas = 0;
    const TEncabezadoJet encabezado = ValidaArchivo(sRuta, firma, nPaginas);
    // Jet compares the whole password, letter case included; a file without
    // one takes any.
    if (!encabezado.sContrasena.empty() && encabezado.sContrasena != sContrasena)
        throw ErrorJet(TErrorJet::ContrasenaInvalida);
    return std::make_unique<TArchivoMdb>(sRuta, encabezado, firma, nPaginas);
}

TFirmaArchivo TArchivoAccess::FirmaEnDisco(const std::string& sRuta) {
    // A missing file has the empty signature, which no file on disk has
    // (its modification time is never the epoch's first nanosecond).
    struct stat st;
    if (::stat(sRuta.c_str(), &st) != 0)
        return {};
    return FirmaDe(st);
}

}  // namespace jet
