#include "tools/mdbgen/TablaMdb.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"

namespace mdb {

namespace {

// Short memos live in the row, as Access keeps them; longer ones go to
// long-value pages so that rows stay small and many fit on a page.
constexpr size_t kMemoEnLinea = 64;
// Above this many characters Jet never compresses a memo.
constexpr size_t kMemoComprimible = 1024;
constexpr size_t kTrozoLargo = TPaginaDatos::kFilaMaxima - 4;
constexpr uint32_t kVersionDiseno = 0x0659;
// A calculated value: 16 bytes, the value's length, the value, 3 bytes.
constexpr size_t kEnvoltura = 23, kPosLargoCalculado = 16;
constexpr int kLargoCalculado = 39;

std::vector<uint8_t> Envuelve(const uint8_t* p, size_t n) {
    std::vector<uint8_t> v(kPosLargoCalculado + 4, 0);
    PonU32(v.data() + kPosLargoCalculado, uint32_t(n));
    v.insert(v.end(), p, p + n);
    v.insert(v.end(), 3, 0);
    return v;
}

int LargoFijo(TTipoMdb t) {
    switch (t) {
        case TTipoMdb::tmByte:
            return 1;
        case TTipoMdb::tmEntero:
            return 2;
        case TTipoMdb::tmLargo:
        case TTipoMdb::tmSimple:
        case TTipoMdb::tmMultivalor:
            return 4;
        case TTipoMdb::tmMoneda:
        case TTipoMdb::tmDoble:
        case TTipoMdb::tmFechaHora:
            return 8;
        case TTipoMdb::tmFechaExtendida:
            return 42;
        default:
            return 0;
    }
}

bool EsLargo(TTipoMdb t) {
    return t == TTipoMdb::tmMemo || t == TTipoMdb::tmOLE;
}
bool EsVariable(TTipoMdb t) {
    return EsLargo(t) || t == TTipoMdb::tmTexto || t == TTipoMdb::tmBinario;
}

}  // namespace

TTablaMdb::TTablaMdb(TArchivoPaginas& archivo, std::string sNombre,
                     std::vector<TColumnaMdb> columnas, uint32_t nPaginaTdef, bool bSistema)
    : archivo_(archivo),
      sNombre_(std::move(sNombre)),
      columnas_(std::move(columnas)),
      nPaginaTdef_(nPaginaTdef),
      bSistema_(bSistema) {
    for (size_t i = 0; i < columnas_.size(); ++i) {
        const TColumnaMdb& c = columnas_[i];
        TDisposicion d;
        // A calculated value is kept wrapped among the variable columns.
        d.bFija = !EsVariable(c.eTipo) && !c.bCalculada;
        if (d.bFija) {
            d.nPosicion = c.eTipo == TTipoMdb::tmBooleano ? 0 : nFijos_;
            d.nLargo = c.eTipo == TTipoMdb::tmBooleano ? 1 : LargoFijo(c.eTipo);
            if (c.eTipo != TTipoMdb::tmBooleano)
                nFijos_ += d.nLargo;
        } else {
            d.nPosicion = nVariables_++;
            d.nLargo = c.eTipo == TTipoMdb::tmTexto     ? 2 * c.nTamano
                       : c.eTipo == TTipoMdb::tmBinario ? c.nTamano
                                                        : 0;
            // Access gives a calculated column the wrapper's bytes more, and
            // every fixed type the same 39.
            if (c.bCalculada)
                d.nLargo = c.eTipo == TTipoMdb::tmTexto ? d.nLargo + kEnvoltura : kLargoCalculado;
            if (EsLargo(c.eTipo)) {
                d.nIndiceLargo = int(largos_.size());
                largos_.push_back(TLargo{int(i), {}, {}, 0, false});
            }
        }
        disposicion_.push_back(d);
    }
    variables_.resize(nVariables_);
    esLargoEnLinea_.resize(nVariables_);
}

std::string TTablaMdb::Error(size_t i, const std::string& sQue) const {
    return "columna " + columnas_[i].sNombre + ": " + sQue;
}

void TTablaMdb::CodificaVariable(size_t i, const jet::TValor& v, std::vector<uint8_t>& bytes) {
    try {
        CodificaBytes(i, v, bytes);
    } catch (const EErrorMdb& e) {
        const std::string sMensaje = e.what();
        throw EErrorMdb(sMensaje.rfind("columna ", 0) == 0 ? sMensaje : Error(i, sMensaje));
    }
}

void TTablaMdb::CodificaBytes(size_t i, const jet::TValor& v, std::vector<uint8_t>& bytes) {
    const TColumnaMdb& c = columnas_[i];
    const std::string* s = std::get_if<std::string>(&v);
    if (!s)
        throw EErrorMdb(Error(i, "se esperaba un texto"));
    switch (c.eTipo) {
        case TTipoMdb::tmTexto: {
            const std::u16string u = Utf16DeUtf8(*s);
            if (u.size() > size_t(c.nTamano))
                throw EErrorMdb(Error(i, "el texto tiene " + std::to_string(u.size()) +
                                             " caracteres y la columna admite " +
                                             std::to_string(c.nTamano)));
            bytes = TextoJet(u, !bSistema_);
            break;
        }
        case TTipoMdb::tmMemo: {
            const std::u16string u = Utf16DeUtf8(*s);
            bytes = TextoJet(u, !bSistema_ && u.size() <= kMemoComprimible);
            break;
        }
        case TTipoMdb::tmBinario:
            if (s->size() > size_t(c.nTamano))
                throw EErrorMdb(Error(i, "dato binario muy largo"));
            [[fallthrough]];
        default:
            bytes.assign(s->begin(), s->end());
    }
    if (EsLargo(c.eTipo) && bytes.size() > 0xffffff)
        throw EErrorMdb(Error(i, "valor largo de más de 16 MB"));
}

uint32_t TTablaMdb::GuardaLargo(TLargo& largo, const std::vector<uint8_t>& bytes,
                                uint8_t& nBandera) {
    if (bytes.size() <= size_t(TPaginaDatos::kFilaMaxima)) {
        // One row on a shared long-value page.
        nBandera = 0x40;
        if (largo.bAbierta && !largo.pagina.Cabe(bytes.size())) {
            largo.pagina.Escribe(archivo_, largo.nPagina, TPaginaDatos::kDuenoLval);
            largo.bAbierta = false;
        }
        if (!largo.bAbierta) {
            largo.nPagina = archivo_.Reserva();
            largo.paginas.push_back(largo.nPagina);
            largo.bAbierta = true;
        }
        const int nFila = largo.pagina.Agrega(bytes.data(), bytes.size());
        return largo.nPagina << 8 | uint32_t(nFila);
    }
    // A chain of pages, each row starting with the pointer to the next one.
    nBandera = 0x00;
    const size_t nTrozos = (bytes.size() + kTrozoLargo - 1) / kTrozoLargo;
    std::vector<uint32_t> paginas(nTrozos);
    for (uint32_t& p : paginas) {
        p = archivo_.Reserva();
        largo.paginas.push_back(p);
    }
    TPaginaDatos pagina;
    std::vector<uint8_t> trozo;
    for (size_t k = 0; k < nTrozos; ++k) {
        const size_t nDesde = k * kTrozoLargo;
        const size_t nCuantos = std::min(kTrozoLargo, bytes.size() - nDesde);
        trozo.assign(4, 0);
        if (k + 1 < nTrozos)
            PonU32(trozo.data(), paginas[k + 1] << 8);
        trozo.insert(trozo.end(), bytes.begin() + nDesde, bytes.begin() + nDesde + nCuantos);
        pagina.Agrega(trozo.data(), trozo.size());
        pagina.Escribe(archivo_, paginas[k], TPaginaDatos::kDuenoLval);
    }
    return paginas[0] << 8;
}

// A value of a fixed-length type into its bytes at p.
void TTablaMdb::CodificaFijo(size_t i, const jet::TValor& v, uint8_t* p) {
    const TColumnaMdb& c = columnas_[i];
    const int64_t* n = std::get_if<int64_t>(&v);
    const double* x = std::get_if<double>(&v);
    switch (c.eTipo) {
        case TTipoMdb::tmByte:
            if (!n || *n < 0 || *n > 255)
                throw EErrorMdb(Error(i, "se esperaba un byte (0 a 255)"));
            p[0] = uint8_t(*n);
            break;
        case TTipoMdb::tmEntero:
            if (!n || *n < -32768 || *n > 32767)
                throw EErrorMdb(Error(i, "se esperaba un entero (-32768 a 32767)"));
            PonU16(p, uint32_t(*n));
            break;
        case TTipoMdb::tmLargo:
        case TTipoMdb::tmMultivalor:
            if (!n || *n < std::numeric_limits<int32_t>::min() ||
                *n > std::numeric_limits<int32_t>::max())
                throw EErrorMdb(Error(i, "se esperaba un entero largo (32 bits)"));
            PonU32(p, uint32_t(*n));
            break;
        case TTipoMdb::tmSimple: {
            if (!n && !x)
                throw EErrorMdb(Error(i, "se esperaba un número"));
            const float f = n ? float(*n) : float(*x);
            if (!std::isfinite(f))
                throw EErrorMdb(Error(i, "número fuera del rango de un simple"));
            uint32_t b;
            std::memcpy(&b, &f, 4);
            PonU32(p, b);
            break;
        }
        case TTipoMdb::tmDoble:
            if (!n && !x)
                throw EErrorMdb(Error(i, "se esperaba un número"));
            if (x && !std::isfinite(*x))
                throw EErrorMdb(Error(i, "Access no guarda infinitos ni NaN"));
            PonDoble(p, n ? double(*n) : *x);
            break;
        case TTipoMdb::tmMoneda: {
            const jet::TMoneda* m = std::get_if<jet::TMoneda>(&v);
            if (!m)
                throw EErrorMdb(Error(i, "se esperaba un importe de moneda"));
            PonU32(p, uint32_t(uint64_t(m->nDiezMilesimos)));
            PonU32(p + 4, uint32_t(uint64_t(m->nDiezMilesimos) >> 32));
            break;
        }
        case TTipoMdb::tmFechaExtendida: {
            const std::string* s = std::get_if<std::string>(&v);
            int a = 0, m = 0, d = 0, h = 0, mi = 0, se = 0, n = 0;
            long long f = 0;
            if (!s ||
                std::sscanf(s->c_str(), "%4d-%2d-%2d %2d:%2d:%2d.%7lld%n", &a, &m, &d, &h, &mi, &se,
                            &f, &n) != 7 ||
                size_t(n) != s->size() || s->size() != 27 || a < 1 || m < 1 || m > 12 || d < 1 ||
                d > 31 || h > 23 || mi > 59 || se > 59)
                throw EErrorMdb(Error(i, "se esperaba AAAA-MM-DD HH:MM:SS.fffffff"));
            // Days since 0001-01-01, then the time in 100-nanosecond ticks.
            const long long y = m <= 2 ? a - 1 : a;
            const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
            const long long nDias = y * 365 + y / 4 - y / 100 + y / 400 + doy - 306;
            const long long nMarcas = (h * 3600LL + mi * 60 + se) * 10'000'000 + f;
            char buf[43];
            std::snprintf(buf, sizeof buf, "%019lld:%019lld:7", nDias, nMarcas);
            std::memcpy(p, buf, 42);  // the terminating zero included
            break;
        }
        case TTipoMdb::tmFechaHora: {
            const jet::TFecha* f = std::get_if<jet::TFecha>(&v);
            if (!f || !std::isfinite(f->dSerial))
                throw EErrorMdb(Error(i, "se esperaba una fecha"));
            PonDoble(p, f->dSerial);
            break;
        }
        default:
            break;
    }
}

void TTablaMdb::AgregaFila(const std::vector<jet::TValor>& valores) {
    if (valores.size() != columnas_.size())
        throw EErrorMdb("la fila tiene " + std::to_string(valores.size()) + " valores y la tabla " +
                        std::to_string(columnas_.size()) + " columnas");
    const size_t nMascara = (columnas_.size() + 7) / 8;
    fila_.assign(2 + size_t(nFijos_), 0);
    PonU16(fila_.data(), uint32_t(columnas_.size()));
    std::vector<uint8_t> mascara(nMascara, 0);

    // Fixed columns go to their place; variable ones are encoded first so
    // that the row's size is known before deciding where memos live.
    for (size_t i = 0; i < columnas_.size(); ++i) {
        const TColumnaMdb& c = columnas_[i];
        const TDisposicion& d = disposicion_[i];
        const jet::TValor& v = valores[i];
        if (c.bCalculada) {
            variables_[d.nPosicion].clear();
            if (jet::EsNulo(v))
                continue;
            mascara[i / 8] |= uint8_t(1u << (i % 8));
            std::vector<uint8_t> bytes;
            if (c.eTipo == TTipoMdb::tmTexto) {
                CodificaVariable(i, v, bytes);
            } else if (c.eTipo == TTipoMdb::tmBooleano) {
                const bool* b = std::get_if<bool>(&v);
                if (!b)
                    throw EErrorMdb(Error(i, "se esperaba true o false"));
                bytes.assign(1, *b ? 0xff : 0x00);
            } else {
                bytes.assign(size_t(LargoFijo(c.eTipo)), 0);
                CodificaFijo(i, v, bytes.data());
            }
            variables_[d.nPosicion] = Envuelve(bytes.data(), bytes.size());
            continue;
        }
        if (c.eTipo == TTipoMdb::tmBooleano) {
            const bool* b = std::get_if<bool>(&v);
            if (!b)
                throw EErrorMdb(Error(i, "un sí/no no puede ser nulo y debe ser true o false"));
            if (*b)
                mascara[i / 8] |= uint8_t(1u << (i % 8));
            continue;
        }
        if (!d.bFija) {
            variables_[d.nPosicion].clear();
            if (!jet::EsNulo(v))
                CodificaVariable(i, v, variables_[d.nPosicion]);
        }
        if (jet::EsNulo(v))
            continue;
        mascara[i / 8] |= uint8_t(1u << (i % 8));
        if (!d.bFija)
            continue;
        CodificaFijo(i, v, fila_.data() + 2 + d.nPosicion);
    }

    if (nVariables_ > 0) {
        size_t nTotal = fila_.size() + 2 + 2 * size_t(nVariables_) + 2 + nMascara;
        for (size_t i = 0; i < columnas_.size(); ++i) {
            const TDisposicion& d = disposicion_[i];
            if (d.bFija)
                continue;
            const size_t n = variables_[d.nPosicion].size();
            const bool bLargo = d.nIndiceLargo >= 0;
            esLargoEnLinea_[d.nPosicion] = bLargo && n <= kMemoEnLinea;
            nTotal += bLargo ? (jet::EsNulo(valores[i]) ? 0 : 12 + (n <= kMemoEnLinea ? n : 0)) : n;
        }
        if (nTotal > size_t(TPaginaDatos::kFilaMaxima)) {
            // Too big with short memos inside: move every memo out of the row.
            for (size_t i = 0; i < columnas_.size(); ++i) {
                const TDisposicion& d = disposicion_[i];
                if (d.nIndiceLargo >= 0 && esLargoEnLinea_[d.nPosicion]) {
                    nTotal -= variables_[d.nPosicion].size();
                    esLargoEnLinea_[d.nPosicion] = false;
                }
            }
        }
        if (nTotal > size_t(TPaginaDatos::kFilaMaxima))
            throw EErrorMdb("la fila ocupa " + std::to_string(nTotal) +
                            " bytes y no cabe en una página de 4096");
        std::vector<uint16_t> posiciones(nVariables_);
        for (size_t i = 0; i < columnas_.size(); ++i) {
            const TDisposicion& d = disposicion_[i];
            if (d.bFija)
                continue;
            posiciones[d.nPosicion] = uint16_t(fila_.size());
            if (jet::EsNulo(valores[i]))
                continue;
            const std::vector<uint8_t>& bytes = variables_[d.nPosicion];
            if (d.nIndiceLargo < 0) {
                fila_.insert(fila_.end(), bytes.begin(), bytes.end());
                continue;
            }
            uint8_t nBandera = 0x80;
            uint32_t nPuntero = 0;
            if (!esLargoEnLinea_[d.nPosicion])
                nPuntero = GuardaLargo(largos_[d.nIndiceLargo], bytes, nBandera);
            uint8_t cab[12] = {};
            PonU32(cab, uint32_t(bytes.size()) | uint32_t(nBandera) << 24);
            PonU32(cab + 4, nPuntero);
            fila_.insert(fila_.end(), cab, cab + 12);
            if (esLargoEnLinea_[d.nPosicion])
                fila_.insert(fila_.end(), bytes.begin(), bytes.end());
        }
        AgregaU16(fila_, uint32_t(fila_.size()));  // end of the variable data
        for (int k = nVariables_ - 1; k >= 0; --k) AgregaU16(fila_, posiciones[k]);
        AgregaU16(fila_, uint32_t(nVariables_));
    }
    fila_.insert(fila_.end(), mascara.begin(), mascara.end());

    if (bPaginaAbierta_ && !pagina_.Cabe(fila_.size())) {
        pagina_.Escribe(archivo_, nPaginaActual_, nPaginaTdef_);
        bPaginaAbierta_ = false;
    }
    if (!bPaginaAbierta_) {
        nPaginaActual_ = archivo_.Reserva();
        paginasDatos_.push_back(nPaginaActual_);
        bPaginaAbierta_ = true;
    }
    pagina_.Agrega(fila_.data(), fila_.size());
    ++nFilas_;
}

void TTablaMdb::Termina() {
    if (bPaginaAbierta_)
        pagina_.Escribe(archivo_, nPaginaActual_, nPaginaTdef_);
    bPaginaAbierta_ = false;
    for (TLargo& l : largos_) {
        if (l.bAbierta)
            l.pagina.Escribe(archivo_, l.nPagina, TPaginaDatos::kDuenoLval);
        l.bAbierta = false;
    }
}

void TTablaMdb::EscribeTdef(uint32_t nMapaUsadas, uint32_t nMapaLibres,
                            const std::vector<std::pair<uint32_t, uint32_t>>& mapasLargos) {
    std::vector<uint8_t> t(8, 0);
    t[0] = 0x02;
    t[1] = 0x01;
    AgregaU32(t, 0);  // length, set below
    AgregaU32(t, kVersionDiseno);
    AgregaU32(t, uint32_t(nFilas_));
    AgregaU32(t, 0);  // next autonumber
    t.push_back(0x01);
    t.insert(t.end(), 3 + 4 + 8, 0);
    t.push_back(bSistema_ ? 0x53 : 0x4e);
    AgregaU16(t, uint32_t(columnas_.size()));
    AgregaU16(t, uint32_t(nVariables_));
    AgregaU16(t, uint32_t(columnas_.size()));
    AgregaU32(t, 0);  // logical indexes
    AgregaU32(t, 0);  // index entries
    AgregaU32(t, nMapaUsadas);
    AgregaU32(t, nMapaLibres);
    for (size_t i = 0; i < columnas_.size(); ++i) {
        const TColumnaMdb& c = columnas_[i];
        const TDisposicion& d = disposicion_[i];
        t.push_back(uint8_t(c.eTipo));
        AgregaU32(t, kVersionDiseno);
        AgregaU16(t, uint32_t(i));
        AgregaU16(t, d.bFija ? 0 : uint32_t(d.nPosicion));
        AgregaU16(t, uint32_t(i));
        AgregaU16(t, 0x0409);  // General sort order
        AgregaU16(t, 0);
        // Fixed length, may be null; a multi-valued field's key is numbered
        // by Jet as an autonumber is.
        t.push_back(d.bFija ? (c.eTipo == TTipoMdb::tmMultivalor ? 0x07 : 0x03) : 0x02);
        const bool bTexto = c.eTipo == TTipoMdb::tmTexto || c.eTipo == TTipoMdb::tmMemo;
        // Access compresses user text but keeps its system tables in plain
        // UCS-2; a calculated field carries its own two flags.
        t.push_back(uint8_t((bTexto && !bSistema_ ? 0x01 : 0x00) | (c.bCalculada ? 0xc0 : 0x00)));
        AgregaU32(t, 0);
        AgregaU16(t, d.bFija ? uint32_t(d.nPosicion) : 0);
        AgregaU16(t, uint32_t(d.nLargo));
    }
    for (const TColumnaMdb& c : columnas_) {
        const std::vector<uint8_t> nombre = Ucs2(Utf16DeUtf8(c.sNombre));
        AgregaU16(t, uint32_t(nombre.size()));
        t.insert(t.end(), nombre.begin(), nombre.end());
    }
    for (size_t k = 0; k < largos_.size(); ++k) {
        AgregaU16(t, uint32_t(largos_[k].nColumna));
        AgregaU32(t, mapasLargos[k].first);
        AgregaU32(t, mapasLargos[k].second);
    }
    AgregaU16(t, 0xffff);
    t.insert(t.end(), 8, 0);
    if (t.size() > size_t(kPagina))
        throw EErrorMdb("la definición de la tabla " + sNombre_ +
                        " no cabe en una página: demasiadas columnas o nombres muy largos");
    PonU32(&t[8], uint32_t(t.size() - 8));
    PonU16(&t[2], uint32_t(kPagina - t.size()));
    t.resize(kPagina, 0);
    archivo_.Escribe(nPaginaTdef_, t.data());
}

}  // namespace mdb
