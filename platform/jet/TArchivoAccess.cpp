#include "platform/jet/TArchivoAccess.h"

#include <fcntl.h>
#include <mdbtools.h>
#include <sys/stat.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unistd.h>

#include <zlib.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/jet/AvisosLibmdb.h"
#include "platform/jet/CifradoOffice.h"
#include "platform/jet/Decimal.h"
#include "platform/jet/DefinicionTabla.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/ErroresJet.h"
#include "platform/jet/ErroresLector.h"
#include "platform/jet/NombresJet.h"
#include "platform/jet/TEncabezadoJet.h"
#include "platform/jet/TextoJet.h"
#include "platform/jet/TextoValor.h"

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

// Types libmdb 1.0 has no name for.
constexpr int nTipoEnteroGrande = 0x13;    // Access 2016's "Large Number"
constexpr int nTipoFechaExtendida = 0x14;  // Access 2019's "Date/Time Extended"
// A Decimal lies in 17 bytes: the sign, then four 32-bit little-endian words,
// the most significant first.
constexpr size_t nBytesDecimal = 17;
constexpr size_t nPosClaveBD = 0x3e;          // in the first page
constexpr unsigned long nPaginaCatalogo = 2;  // MSysObjects' definition

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
// An encrypted file comes back whole in `contenido` (its pages are decrypted
// in memory, never on disk); any other leaves it empty.
TEncabezadoJet ValidaArchivo(const std::string& sRuta, TFirmaArchivo& firma, size_t& nPaginas,
                             std::vector<unsigned char>& contenido) {
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

    auto lee = [&](unsigned char* p, size_t nBytes) {
        size_t nLeidos = 0;
        while (nLeidos < nBytes) {
            const ssize_t n = ::pread(fd, p + nLeidos, nBytes - nLeidos, nLeidos);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                throw ErrorJet(TErrorJet::ArchivoIlegible, {sRuta});
            if (n == 0)
                break;
            nLeidos += static_cast<size_t>(n);
        }
        return nLeidos;
    };
    // The first page of a Jet 4 file, where the encryption information lies.
    std::vector<unsigned char> bytes(4096);
    bytes.resize(lee(bytes.data(), bytes.size()));
    const auto encabezado = TEncabezadoJet::Lee(bytes.data(), bytes.size());
    if (!encabezado)
        NoEsAccess(sRuta);
    // Jet writes whole pages; the first three (definition, free map, catalogue)
    // always exist.
    const auto nTamano = static_cast<uintmax_t>(st.st_size);
    nPaginas = nTamano / encabezado->nTamanoPagina;
    if (nTamano % encabezado->nTamanoPagina != 0 || nPaginas < 3)
        Danado(sRuta);
    // Jet 3 and 4 files with this key are encoded in a way libmdb reads itself.
    if (encabezado->bACE && encabezado->nClaveBD != 0) {
        contenido.resize(nTamano);
        if (lee(contenido.data(), contenido.size()) != nTamano)
            Danado(sRuta);
    }
    return *encabezado;
}

// A Date/Time Extended value as Access 2019 stores it: 42 characters, the
// days since 0001-01-01 (19 digits), ':', the time of day in 100-nanosecond
// ticks (19 digits), ':', the 7 digits of the fraction kept, then a zero.
// Read as "YYYY-MM-DD HH:MM:SS.fffffff"; empty when the bytes are not that.
std::string FechaExtendida(const unsigned char* p, size_t n) {
    constexpr size_t nCifras = 19;
    if (n < 2 * nCifras + 3 || p[nCifras] != ':' || p[2 * nCifras + 1] != ':' ||
        p[2 * nCifras + 2] != '7')
        return "";
    auto numero = [&](size_t nDesde, uint64_t& v) {
        v = 0;
        for (size_t i = nDesde; i < nDesde + nCifras; ++i) {
            if (p[i] < '0' || p[i] > '9')
                return false;
            v = v * 10 + (p[i] - '0');
        }
        return true;
    };
    constexpr uint64_t nDiasHasta9999 = 3652058, nMarcasDia = 864'000'000'000ULL;
    uint64_t nDias, nMarcas;
    if (!numero(0, nDias) || !numero(nCifras + 1, nMarcas) || nDias > nDiasHasta9999 ||
        nMarcas >= nMarcasDia)
        return "";
    // The civil date of a day count (proleptic Gregorian, from 0001-01-01
    // shifted to a year starting in March).
    const int64_t z = static_cast<int64_t>(nDias) + 306;
    const int64_t era = z / 146097, doe = z % 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t nDia = doy - (153 * mp + 2) / 5 + 1, nMes = mp < 10 ? mp + 3 : mp - 9;
    const int64_t nAnio = yoe + era * 400 + (nMes <= 2 ? 1 : 0);
    const uint64_t nSegundos = nMarcas / 10'000'000, nFraccion = nMarcas % 10'000'000;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02llu:%02llu:%02llu.%07llu",
                  static_cast<long long>(nAnio), static_cast<long long>(nMes),
                  static_cast<long long>(nDia), static_cast<unsigned long long>(nSegundos / 3600),
                  static_cast<unsigned long long>(nSegundos / 60 % 60),
                  static_cast<unsigned long long>(nSegundos % 60),
                  static_cast<unsigned long long>(nFraccion));
    return buf;
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
        case nTipoEnteroGrande:
            return TTipoColumna::tcEnteroGrande;
        case nTipoFechaExtendida:
            return TTipoColumna::tcTexto;  // its exact text (FechaExtendida)
        case MDB_NUMERIC:
            return TTipoColumna::tcDecimal;
        case MDB_BINARY:
        case MDB_OLE:
            return TTipoColumna::tcBinario;
        case MDB_REPID:
            return TTipoColumna::tcGuid;
        default:
            return TTipoColumna::tcOtro;  // complex columns are told apart later
    }
}

bool MismoNombre(const std::string& a, const std::string& b) {
    return MismoNombreJet(a, b);
}

class TArchivoMdb final : public TArchivoAccess {
public:
    // descifrado: the whole file with its pages decrypted, or empty to read
    // the file itself.
    TArchivoMdb(std::string sRuta, const TEncabezadoJet& encabezado, TFirmaArchivo firma,
                size_t nPaginas, std::vector<unsigned char> descifrado)
        : sRuta_(std::move(sRuta)),
          nVersion_(encabezado.nVersion),
          nVersionArchivo_(encabezado.nVersionArchivo),
          firma_(firma),
          nPaginas_(nPaginas),
          descifrado_(std::move(descifrado)) {
        const TEnLibmdb enLibmdb;
        mdb_.reset(descifrado_.empty()
                       ? mdb_open(sRuta_.c_str(), MDB_NOFLAGS)
                       : mdb_open_buffer(descifrado_.data(), descifrado_.size(), MDB_NOFLAGS));
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
        const std::lock_guard<std::recursive_mutex> cursor(mCursor_);
        const TEnLibmdb enLibmdb;
        const size_t i = IndiceTabla(sTabla);
        if (i == tablas_.size())
            throw ErrorJet(TErrorJet::TablaInexistente, {sTabla, sRuta_});
        const auto& complejas = complejas_[i];
        if (complejas.empty())
            return RecorreFilas(*entradas_[i], fila);
        // The files of an attachment column, and the values of a multi-valued
        // one, live in a hidden table of their own, one row per file or
        // value, keyed by the number the row holds.
        std::vector<std::map<int64_t, TValor>> contenidos;
        for (const auto& k : complejas)
            contenidos.push_back(k.bAdjunto ? LeeArchivosAdjuntos(k.nTablaPlana)
                                            : LeeMultivalores(k.nTablaPlana, k.sColumna));
        RecorreFilas(*entradas_[i], [&](const std::vector<TValor>& valores) {
            std::vector<TValor> completa = valores;
            for (size_t k = 0; k < complejas.size(); ++k) {
                TValor& v = completa[complejas[k].nColumna];
                const auto* pId = std::get_if<int64_t>(&v);
                const auto it = pId ? contenidos[k].find(*pId) : contenidos[k].end();
                if (it == contenidos[k].end())
                    v = std::monostate{};
                else
                    v = it->second;
            }
            fila(completa);
        });
    }

private:
    // A table of the catalogue, shown to the user or not.
    struct TObjeto {
        std::string sNombre;
        uint32_t nId;
        int nBanderas;
    };
    struct TColumnaCompleja {
        int nColumna;
        std::string sColumna;
        uint32_t nTablaPlana;  // catalogue id of the table holding its files or values
        bool bAdjunto;         // attachments; otherwise a multi-valued field
    };
    void LeeCatalogo();
    void ClasificaComplejas();
    std::unique_ptr<MdbCatalogEntry> Entrada(const TObjeto& o) const;
    const TObjeto* BuscaObjeto(const std::string& sNombre) const;
    const TObjeto& ObjetoDeId(uint32_t nId) const;
    std::map<int64_t, TValor> LeeArchivosAdjuntos(uint32_t nTablaPlana) const;
    std::map<int64_t, TValor> LeeMultivalores(uint32_t nTablaPlana,
                                              const std::string& sColumna) const;
    void RecorreFilas(MdbCatalogEntry& entrada,
                      const std::function<void(const std::vector<TValor>&)>& fila) const;

    size_t IndiceTabla(const std::string& sNombre) const {
        for (size_t i = 0; i < tablas_.size(); ++i)
            if (MismoNombre(tablas_[i].sNombre, sNombre))
                return i;
        return tablas_.size();
    }

    // The table's definition, read by libmdb once it is checked: a damaged
    // one refuses the table, named. calculadas, when given, says per column
    // (in libmdb's order) whether its values are calculated fields.
    PTablaMdb LeeDefinicion(MdbCatalogEntry* entrada,
                            std::vector<char>* calculadas = nullptr) const {
        // Without its catalogue (always on page 2) the file has no tables.
        auto danada = [&](const std::string& sMotivo) {
            if (entrada->table_pg == nPaginaCatalogo)
                Danado(sRuta_);
            return ErrorJet(TErrorJet::TablaDanada, {entrada->object_name, sRuta_, sMotivo});
        };
        if (entrada->table_pg == 0 || entrada->table_pg >= nPaginas_)
            throw danada("su definición está fuera del archivo");
        PTablaMdb tabla(mdb_read_table(entrada));
        if (!tabla)
            throw danada("su página de definición no lo es");
        if (!mdb_read_columns(tabla.get()) || tabla->num_cols > MDB_MAX_COLS)
            throw danada("sus columnas no se pueden leer");
        if (!MapaDeUsoValido(*tabla))
            throw danada("su mapa de páginas está roto");
        MdbHandle* mdb = mdb_.get();
        const auto definicion = LeeDefinicionTabla(
            static_cast<uint32_t>(entrada->table_pg), TFormatoDefinicion::De(nVersionArchivo_),
            [&](uint32_t n) -> const unsigned char* {
                return n < nPaginas_ && mdb_read_pg(mdb, n) == mdb->fmt->pg_size ? mdb->pg_buf
                                                                                 : nullptr;
            });
        if (!definicion || definicion->columnas.size() != tabla->num_cols)
            throw danada("sus páginas de definición no la contienen entera");
        // libmdb keeps the names in its own order (by column number).
        std::vector<std::string> nombres;
        for (const auto& c : definicion->columnas) {
            const MdbColumn* col = ColumnaNumero(*tabla, c.nNumero);
            nombres.push_back(col ? col->name : "");
        }
        if (const std::string sMotivo = RevisaDefinicion(*definicion, nombres, nVersionArchivo_);
            !sMotivo.empty())
            throw danada(sMotivo);
        if (calculadas) {
            calculadas->assign(tabla->num_cols, 0);
            for (unsigned c = 0; c < tabla->num_cols; ++c)
                for (const auto& d : definicion->columnas)
                    if (d.nNumero == ColumnaEn(*tabla, c).col_num)
                        (*calculadas)[c] = d.Calculada();
        }
        return tabla;
    }

    static const MdbColumn& ColumnaEn(const MdbTableDef& tabla, unsigned c) {
        return *static_cast<const MdbColumn*>(g_ptr_array_index(tabla.columns, c));
    }
    static const MdbColumn* ColumnaNumero(const MdbTableDef& tabla, int nNumero) {
        for (unsigned c = 0; c < tabla.num_cols; ++c)
            if (ColumnaEn(tabla, c).col_num == nNumero)
                return &ColumnaEn(tabla, c);
        return nullptr;
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
    void DecodificaFila(MdbTableDef* tabla, const std::vector<char>& calculadas, int nInicio,
                        size_t nLargo, std::vector<MdbField>& campos,
                        std::vector<TValor>& fila) const;
    TValor Valor(const MdbColumn& col, const MdbField& campo, bool bCalculada) const;
    TValor ValorDe(const MdbColumn& col, const unsigned char* p, size_t n) const;
    TValor ValorCalculadoDe(const MdbColumn& col, const unsigned char* p, size_t n) const;
    TDecimal DecimalCalculado(std::string_view v) const;
    std::string LeeMemo(const unsigned char* p, size_t nLargo) const;
    std::string LeeLargo(const unsigned char* p, size_t nLargo) const;
    std::string Texto(const unsigned char* p, size_t n) const {
        return nVersion_ >= 4 ? TextoJet4AUtf8(p, n) : TextoJet3AUtf8(p, n);
    }

    std::string sRuta_;
    int nVersion_;
    int nVersionArchivo_;
    TFirmaArchivo firma_;
    size_t nPaginas_;
    std::vector<unsigned char> descifrado_;  // libmdb reads it: it outlives mdb_
    // The handle's page buffer is the file's one reading cursor, moved by
    // every read: taken by LeeFilas for the whole reading (see the header).
    mutable std::recursive_mutex mCursor_;
    std::unique_ptr<MdbHandle, TCierraMdb> mdb_;
    std::vector<TTabla> tablas_;
    std::vector<std::unique_ptr<MdbCatalogEntry>> entradas_;  // parallel to tablas_
    std::vector<std::vector<TColumnaCompleja>> complejas_;    // parallel to tablas_
    std::vector<TObjeto> objetos_;                            // every table, hidden ones too
};

// The catalogue is the table MSysObjects, always defined on page 2. It is read
// with our own row walk instead of libmdb's catalogue reader, which keeps
// deleted objects and follows every property blob without bounds (a cut file
// sends it into an endless parse).
void TArchivoMdb::LeeCatalogo() {
    MdbCatalogEntry sistema{};
    sistema.mdb = mdb_.get();
    sistema.object_type = MDB_TABLE;
    sistema.table_pg = nPaginaCatalogo;
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
        if (pNombre->size() > MDB_MAX_OBJ_NAME)
            Danado(sRuta_);
        const TObjeto o{*pNombre, static_cast<uint32_t>(*pId & 0x00ffffff),
                        pBanderas ? static_cast<int>(*pBanderas) : 0};
        objetos_.push_back(o);
        // System tables carry one of these flags (MSys*, and hidden ones).
        if (static_cast<uint32_t>(o.nBanderas) & 0x80000002u)
            return;
        entradas_.push_back(Entrada(o));
    });
    for (const auto& entrada : entradas_) {
        PTablaMdb tabla = LeeDefinicion(entrada.get());
        TTabla t{entrada->object_name, {}, tabla->num_rows};
        for (unsigned c = 0; c < tabla->num_cols; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c));
            const TTipoColumna eTipo = TipoDe(*col);
            const bool bCaracteres = eTipo == TTipoColumna::tcTexto && nVersion_ >= 4 &&
                                     col->col_type != nTipoFechaExtendida;
            TColumna columna{col->name, eTipo, bCaracteres ? col->col_size / 2 : col->col_size};
            if (col->col_type == nTipoFechaExtendida)
                columna.nTamano = 27;  // the characters of its text
            columna.nCodigoTipo = col->col_type;
            if (eTipo == TTipoColumna::tcDecimal) {
                // libmdb 1.0 reads the two bytes the other way round: what it
                // calls the scale is the precision (a Decimal(18,0) comes
                // back with precision 0, which no column has).
                columna.nPrecision = col->col_scale;
                columna.nEscala = col->col_prec;
                if (columna.nEscala < 0 || columna.nEscala > nDigitosDecimal ||
                    columna.nPrecision < columna.nEscala)
                    Danado(sRuta_);
            }
            t.columnas.push_back(std::move(columna));
        }
        tablas_.push_back(std::move(t));
    }
    complejas_.resize(tablas_.size());
    ClasificaComplejas();
}

std::unique_ptr<MdbCatalogEntry> TArchivoMdb::Entrada(const TObjeto& o) const {
    auto entrada = std::make_unique<MdbCatalogEntry>();
    *entrada = MdbCatalogEntry{};
    entrada->mdb = mdb_.get();
    entrada->object_type = MDB_TABLE;
    entrada->table_pg = o.nId;
    entrada->flags = o.nBanderas;
    std::strcpy(entrada->object_name, o.sNombre.c_str());
    return entrada;
}

const TArchivoMdb::TObjeto* TArchivoMdb::BuscaObjeto(const std::string& sNombre) const {
    for (const auto& o : objetos_)
        if (o.sNombre == sNombre)
            return &o;
    return nullptr;
}

// A complex column holds, per row, a number that keys rows of a hidden table.
// MSysComplexColumns names that table and the kind of the column, a template
// table of the catalogue: Attachment, one of the value types of a
// multi-valued field (a number, a GUID or a text), or a memo's version
// history. Attachments and multi-valued fields are read; a version history
// stays a type we cannot read, named as such.
void TArchivoMdb::ClasificaComplejas() {
    bool bHay = false;
    for (const auto& t : tablas_)
        for (const auto& c : t.columnas) bHay = bHay || c.nCodigoTipo == MDB_COMPLEX;
    const TObjeto* pComplejas = BuscaObjeto("MSysComplexColumns");
    if (!bHay || !pComplejas)
        return;
    struct TCompleja {
        std::string sColumna;
        int64_t nTipo, nTablaPlana, nTabla;
    };
    std::vector<TCompleja> complejas;
    {
        auto entrada = Entrada(*pComplejas);
        PTablaMdb tabla = LeeDefinicion(entrada.get());
        std::map<std::string, int> posicion;
        for (unsigned c = 0; c < tabla->num_cols; ++c)
            posicion[static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c))->name] =
                static_cast<int>(c);
        for (const char* s :
             {"ColumnName", "ComplexTypeObjectID", "FlatTableID", "ConceptualTableID"})
            if (!posicion.count(s))
                return;
        RecorreFilas(*entrada, [&](const std::vector<TValor>& fila) {
            const auto* pNombre = std::get_if<std::string>(&fila[posicion["ColumnName"]]);
            const auto* pTipo = std::get_if<int64_t>(&fila[posicion["ComplexTypeObjectID"]]);
            const auto* pPlana = std::get_if<int64_t>(&fila[posicion["FlatTableID"]]);
            const auto* pTabla = std::get_if<int64_t>(&fila[posicion["ConceptualTableID"]]);
            if (pNombre && pTipo && pPlana && pTabla)
                complejas.push_back({*pNombre, *pTipo, *pPlana, *pTabla});
        });
    }
    const std::string sPrefijo = "MSysComplexType_";
    for (size_t i = 0; i < tablas_.size(); ++i) {
        auto& columnas = tablas_[i].columnas;
        for (size_t c = 0; c < columnas.size(); ++c) {
            if (columnas[c].nCodigoTipo != MDB_COMPLEX)
                continue;
            for (const auto& k : complejas) {
                if ((k.nTabla & 0x00ffffff) != entradas_[i]->table_pg ||
                    !MismoNombre(k.sColumna, columnas[c].sNombre))
                    continue;
                const uint32_t nTipo = static_cast<uint32_t>(k.nTipo & 0x00ffffff);
                const uint32_t nPlana = static_cast<uint32_t>(k.nTablaPlana & 0x00ffffff);
                std::string sTipo;
                for (const auto& o : objetos_)
                    if (o.nId == nTipo)
                        sTipo = o.sNombre;
                if (sTipo == sPrefijo + "Attachment") {
                    columnas[c].eTipo = TTipoColumna::tcAdjunto;
                    complejas_[i].push_back(
                        {static_cast<int>(c), columnas[c].sNombre, nPlana, true});
                } else if (sTipo.starts_with("MSysComplexTypeVH")) {
                    columnas[c].nCodigoTipo = kCodigoHistorialVersiones;
                } else if (sTipo.starts_with(sPrefijo)) {
                    // Shown as Access shows it in a datasheet: the values as
                    // text, joined by "; ".
                    columnas[c].eTipo = TTipoColumna::tcMemo;
                    complejas_[i].push_back(
                        {static_cast<int>(c), columnas[c].sNombre, nPlana, false});
                }
                break;
            }
        }
    }
}

// The stored form of an attached file: a flag (1: what follows is zlib
// compressed), the length of what follows once uncompressed, then that: a
// header (its own length, a version, the length of the extension in
// characters and the extension in UTF-16) and the file's bytes.
std::string ContenidoAdjunto(const std::string& guardado, const std::string& sRuta) {
    auto danado = [&] { Danado(sRuta); };
    if (guardado.size() < 8)
        danado();
    const auto nComprimido = Lee<uint32_t>(guardado.data());
    const auto nLargo = Lee<uint32_t>(guardado.data() + 4);
    std::string datos;
    if (nComprimido == 1) {
        // A long value holds at most 16 MB; a bigger length is damage.
        if (nLargo > (1u << 28))
            danado();
        datos.resize(nLargo);
        uLongf nSalida = nLargo;
        if (uncompress(reinterpret_cast<Bytef*>(datos.data()), &nSalida,
                       reinterpret_cast<const Bytef*>(guardado.data() + 8),
                       static_cast<uLong>(guardado.size() - 8)) != Z_OK ||
            nSalida != nLargo)
            danado();
    } else if (nComprimido == 0) {
        datos = guardado.substr(8);
    } else {
        danado();
    }
    if (datos.size() < 4)
        danado();
    const auto nCabecera = Lee<uint32_t>(datos.data());
    if (nCabecera > datos.size())
        danado();
    return datos.substr(nCabecera);
}

const TArchivoMdb::TObjeto& TArchivoMdb::ObjetoDeId(uint32_t nId) const {
    for (const auto& o : objetos_)
        if (o.nId == nId)
            return o;
    Danado(sRuta_);
}

std::map<int64_t, TValor> TArchivoMdb::LeeArchivosAdjuntos(uint32_t nTablaPlana) const {
    auto entrada = Entrada(ObjetoDeId(nTablaPlana));
    PTablaMdb tabla = LeeDefinicion(entrada.get());
    // The key is the one Long column that is neither the row's own
    // autonumber nor the file's flags.
    int nDatos = -1, nNombre = -1, nClave = -1;
    for (unsigned c = 0; c < tabla->num_cols; ++c) {
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c));
        const std::string sNombre = col->name;
        if (sNombre == "FileData")
            nDatos = static_cast<int>(c);
        else if (sNombre == "FileName")
            nNombre = static_cast<int>(c);
        else if (col->col_type == MDB_LONGINT && !col->is_long_auto && sNombre != "FileFlags")
            nClave = static_cast<int>(c);
    }
    if (nDatos < 0 || nNombre < 0 || nClave < 0)
        Danado(sRuta_);
    std::map<int64_t, TAdjuntos> archivos;
    RecorreFilas(*entrada, [&](const std::vector<TValor>& fila) {
        const auto* pClave = std::get_if<int64_t>(&fila[nClave]);
        if (!pClave)
            return;
        TAdjunto a;
        if (const auto* pNombre = std::get_if<std::string>(&fila[nNombre]))
            a.sNombre = *pNombre;
        if (const auto* pDatos = std::get_if<TBytes>(&fila[nDatos]))
            a.bytes = ContenidoAdjunto(pDatos->bytes, sRuta_);
        archivos[*pClave].archivos.push_back(std::move(a));
    });
    return {archivos.begin(), archivos.end()};
}

// A multi-valued field's table holds its values in "Value", keyed by the
// column "_" and the field's name; a row's values read in the table's order.
std::map<int64_t, TValor> TArchivoMdb::LeeMultivalores(uint32_t nTablaPlana,
                                                       const std::string& sColumna) const {
    auto entrada = Entrada(ObjetoDeId(nTablaPlana));
    PTablaMdb tabla = LeeDefinicion(entrada.get());
    int nValor = -1, nClave = -1;
    for (unsigned c = 0; c < tabla->num_cols; ++c) {
        const auto* col = static_cast<MdbColumn*>(g_ptr_array_index(tabla->columns, c));
        if (MismoNombre(col->name, "Value"))
            nValor = static_cast<int>(c);
        else if (MismoNombre(col->name, "_" + sColumna) && col->col_type == MDB_LONGINT)
            nClave = static_cast<int>(c);
    }
    if (nValor < 0 || nClave < 0)
        Danado(sRuta_);
    std::map<int64_t, TValor> valores;
    RecorreFilas(*entrada, [&](const std::vector<TValor>& fila) {
        const auto* pClave = std::get_if<int64_t>(&fila[nClave]);
        if (!pClave || EsNulo(fila[nValor]))
            return;
        TValor& v = valores[*pClave];
        const std::string sValor = TextoValor(fila[nValor]);
        v = EsNulo(v) ? sValor : std::get<std::string>(v) + "; " + sValor;
    });
    return valores;
}

void TArchivoMdb::RecorreFilas(MdbCatalogEntry& entrada,
                               const std::function<void(const std::vector<TValor>&)>& fila) const {
    std::vector<char> calculadas;
    PTablaMdb tabla = LeeDefinicion(&entrada, &calculadas);
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
                    DecodificaFila(tabla.get(), calculadas, nPos, nLargoDestino, campos, valores);
                    std::memcpy(mdb->pg_buf, paginaActual.data(), paginaActual.size());
                    break;
                }
            } else {
                DecodificaFila(tabla.get(), calculadas, nInicio & nMascaraPosicion, nLargo, campos,
                               valores);
            }
            ++nLeidas;
            {
                const TFueraDeLibmdb fuera;  // the caller's code
                fila(valores);
            }
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

void TArchivoMdb::DecodificaFila(MdbTableDef* tabla, const std::vector<char>& calculadas,
                                 int nInicio, size_t nLargo, std::vector<MdbField>& campos,
                                 std::vector<TValor>& fila) const {
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
        fila[campo.colnum] = Valor(*col, campo, calculadas[campo.colnum]);
    }
}

TValor TArchivoMdb::Valor(const MdbColumn& col, const MdbField& campo, bool bCalculada) const {
    // A Boolean lives in the null mask: "null" is False. A calculated one
    // is a value of its own.
    if (col.col_type == MDB_BOOL && !bCalculada)
        return !campo.is_null;
    if (campo.is_null)
        return {};
    const unsigned char* p = mdb_->pg_buf + campo.start;
    const auto n = static_cast<size_t>(campo.siz);
    return bCalculada ? ValorCalculadoDe(col, p, n) : ValorDe(col, p, n);
}

// A calculated field keeps its value as the type would, inside a wrapper
// (a memo's, after following it to its long-value pages); a Decimal in a
// layout of its own.
TValor TArchivoMdb::ValorCalculadoDe(const MdbColumn& col, const unsigned char* p, size_t n) const {
    const std::string guardado = col.col_type == MDB_MEMO
                                     ? LeeLargo(p, n)
                                     : std::string(reinterpret_cast<const char*>(p), n);
    const auto valor = ValorCalculado(guardado);
    if (!valor)
        Danado(sRuta_);
    const auto* v = reinterpret_cast<const unsigned char*>(valor->data());
    switch (col.col_type) {
        case MDB_BOOL:
            return !valor->empty() && v[0] != 0;
        case MDB_MEMO:
        case MDB_TEXT:
            return Texto(v, valor->size());
        case MDB_NUMERIC:
            return DecimalCalculado(*valor);
        default:
            return ValorDe(col, v, valor->size());
    }
}

// The length (16 bits), the scale, the sign, then the magnitude in 8-byte
// words, the most significant first, each little-endian.
TDecimal TArchivoMdb::DecimalCalculado(std::string_view v) const {
    if (v.size() < 4 + 16)
        Danado(sRuta_);
    const int nEscala = static_cast<unsigned char>(v[2]);
    const bool bNegativo = v[3] != 0;
    const auto nAlta = Lee<uint64_t>(v.data() + 4), nBaja = Lee<uint64_t>(v.data() + 12);
    const unsigned __int128 nMagnitud = static_cast<unsigned __int128>(nAlta) << 64 | nBaja;
    const unsigned __int128 nLimite =
        static_cast<unsigned __int128>(10'000'000'000'000'000'000ULL) *
        1'000'000'000ULL;  // 10^28: Jet keeps 28 digits
    if (nEscala > nDigitosDecimal || nMagnitud >= nLimite)
        Danado(sRuta_);
    TDecimal d{static_cast<__int128>(nMagnitud), nEscala};
    if (bNegativo)
        d.nValor = -d.nValor;
    return d;
}

TValor TArchivoMdb::ValorDe(const MdbColumn& col, const unsigned char* p, size_t n) const {
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
            return TSimple{Lee<float>(p)};
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
        case nTipoEnteroGrande:
            necesita(8);
            return Lee<int64_t>(p);
        case nTipoFechaExtendida: {
            std::string sFecha = FechaExtendida(p, n);
            if (sFecha.empty())
                Danado(sRuta_);
            return sFecha;
        }
        case MDB_NUMERIC: {
            necesita(nBytesDecimal);
            unsigned __int128 nMagnitud = 0;
            for (int k = 0; k < 4; ++k) nMagnitud = nMagnitud << 32 | Lee<uint32_t>(p + 1 + 4 * k);
            TDecimal d{static_cast<__int128>(nMagnitud), col.col_prec};  // see LeeCatalogo
            if (nMagnitud >> 127)
                Danado(sRuta_);
            if (p[0] & 0x80)
                d.nValor = -d.nValor;
            return d;
        }
        case MDB_BINARY:
            return TBytes{std::string(reinterpret_cast<const char*>(p), n)};
        case MDB_OLE:
            return TBytes{LeeLargo(p, n)};
        case MDB_REPID: {
            necesita(16);
            char buf[40];
            std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                          Lee<uint32_t>(p), Lee<uint16_t>(p + 4), Lee<uint16_t>(p + 6), p[8], p[9],
                          p[10], p[11], p[12], p[13], p[14], p[15]);
            return std::string(buf);
        }
        case MDB_COMPLEX:
            necesita(4);
            return static_cast<int64_t>(Lee<int32_t>(p));  // the key of its rows elsewhere
        default:
            return {};
    }
}

// A memo keeps a 12-byte header in the row: the length with two flags in its
// top bits and, unless the text follows inline, a pointer to a long-value row
// (one, or a chain of them each starting with the pointer to the next).
std::string TArchivoMdb::LeeMemo(const unsigned char* p, size_t nLargo) const {
    const std::string crudo = LeeLargo(p, nLargo);
    return Texto(reinterpret_cast<const unsigned char*>(crudo.data()), crudo.size());
}

// OLE Objects are kept as memos are, without the text encoding.
std::string TArchivoMdb::LeeLargo(const unsigned char* p, size_t nLargo) const {
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
    return crudo;
}

// An Access 2007 or later file with a database password: its password is
// checked against the file's verifier (the header keeps none), then every
// page but the first is decrypted in memory. The header's key is cleared in
// the copy, so that libmdb reads the pages as they are.
void DescifraArchivo(const std::string& sRuta, const TEncabezadoJet& encabezado,
                     const std::string& sContrasena, std::vector<unsigned char>& contenido) {
    const std::string sQue = "una base de datos de Access 2007 o posterior cifrada";
    auto cifrado =
        TCifradoOffice::Lee(contenido.data(), encabezado.nTamanoPagina, encabezado.nClaveBD);
    if (!cifrado || cifrado->Forma() == TCifradoOffice::TForma::fDesconocida)
        throw ErrorFormatoNoSoportado(sRuta, sQue, "su cifrado no es de ningún tipo conocido");
    if (const std::string sDano = cifrado->Dano(); !sDano.empty())
        throw ErrorJet(TErrorJet::CifradoDanado, {sRuta, sDano});
    if (const std::string sPorQue = cifrado->NoLegible(); !sPorQue.empty())
        throw ErrorFormatoNoSoportado(sRuta, sQue + " con el método " + cifrado->NombreForma(),
                                      sPorQue);
    if (sContrasena.empty())
        throw ErrorContrasenaRequerida(sRuta);
    if (!cifrado->AceptaContrasena(sContrasena))
        throw ErrorContrasenaInvalida();
    const size_t nPagina = encabezado.nTamanoPagina;
    for (size_t i = 1; i < contenido.size() / nPagina; ++i)
        cifrado->DescifraPagina(contenido.data() + i * nPagina, nPagina, static_cast<uint32_t>(i));
    // The key lies under the header's fixed mask: the masked bytes of 0 are
    // the stored bytes with the key taken out.
    for (size_t k = 0; k < sizeof encabezado.nClaveBD; ++k)
        contenido[nPosClaveBD + k] ^= static_cast<unsigned char>(encabezado.nClaveBD >> (8 * k));
}

}  // namespace

std::unique_ptr<TArchivoAccess> TArchivoAccess::Abre(const std::string& sRuta,
                                                     const std::string& sContrasena) {
    TFirmaArchivo firma;
    size_t nPaginas = 0;
    std::vector<unsigned char> contenido;
    const TEncabezadoJet encabezado = ValidaArchivo(sRuta, firma, nPaginas, contenido);
    if (!contenido.empty()) {
        DescifraArchivo(sRuta, encabezado, sContrasena, contenido);
        return std::make_unique<TArchivoMdb>(sRuta, encabezado, firma, nPaginas,
                                             std::move(contenido));
    }
    // Jet compares the whole password, letter case included; a file without
    // one takes any. None given is not a wrong one: the user is told to give it.
    if (!encabezado.sContrasena.empty() && sContrasena.empty())
        throw ErrorContrasenaFaltante(sRuta);
    if (!encabezado.sContrasena.empty() && encabezado.sContrasena != sContrasena)
        throw ErrorContrasenaInvalida();
    return std::make_unique<TArchivoMdb>(sRuta, encabezado, firma, nPaginas,
                                         std::vector<unsigned char>{});
}

std::string NombreTipoNoLegible(int nCodigoTipo) {
    if (nCodigoTipo == MDB_COMPLEX)
        return "campo multivalor";
    if (nCodigoTipo == kCodigoHistorialVersiones)
        return "historial de versiones";
    return "desconocido (código " + std::to_string(nCodigoTipo) + ")";
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
