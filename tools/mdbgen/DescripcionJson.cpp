#include "tools/mdbgen/DescripcionJson.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"
#include "tools/mdbgen/EscritorMdb.h"

namespace mdb {

namespace {

using nlohmann::json;

const std::map<std::string, TTipoMdb>& Tipos() {
    static const std::map<std::string, TTipoMdb> tipos = {
        {"text", TTipoMdb::tmTexto},       {"memo", TTipoMdb::tmMemo},
        {"byte", TTipoMdb::tmByte},        {"integer", TTipoMdb::tmEntero},
        {"long", TTipoMdb::tmLargo},       {"single", TTipoMdb::tmSimple},
        {"double", TTipoMdb::tmDoble},     {"currency", TTipoMdb::tmMoneda},
        {"boolean", TTipoMdb::tmBooleano}, {"datetime", TTipoMdb::tmFechaHora}};
    return tipos;
}

std::string Texto(const json& j, const char* sCampo, const std::string& sDonde) {
    if (!j.is_object() || !j.contains(sCampo) || !j[sCampo].is_string())
        throw EErrorMdb(sDonde + ": falta \"" + sCampo + "\" (texto)");
    return j[sCampo].get<std::string>();
}

std::vector<TColumnaMdb> LeeColumnas(const json& t, const std::string& sTabla) {
    if (!t.contains("columns") || !t["columns"].is_array())
        throw EErrorMdb("tabla " + sTabla + ": falta \"columns\" (lista)");
    std::vector<TColumnaMdb> columnas;
    for (const json& c : t["columns"]) {
        TColumnaMdb col;
        col.sNombre = Texto(c, "name",
                            "tabla " + sTabla + ", columna " + std::to_string(columnas.size() + 1));
        const std::string sDonde = "tabla " + sTabla + ", columna " + col.sNombre;
        const std::string sTipo = Texto(c, "type", sDonde);
        auto it = Tipos().find(sTipo);
        if (it == Tipos().end())
            throw EErrorMdb(sDonde + ": tipo desconocido \"" + sTipo + "\"");
        col.eTipo = it->second;
        if (col.eTipo == TTipoMdb::tmTexto) {
            if (!c.contains("size") || !c["size"].is_number_integer() || c["size"].get<int>() < 1 ||
                c["size"].get<int>() > 255)
                throw EErrorMdb(sDonde + ": un texto necesita \"size\" de 1 a 255");
            col.nTamano = c["size"].get<int>();
        }
        columnas.push_back(col);
    }
    return columnas;
}

jet::TValor Valor(const json& v, const TColumnaMdb& c) {
    const std::string sCol = "columna " + c.sNombre + ": ";
    if (v.is_null())
        return std::monostate{};
    switch (c.eTipo) {
        case TTipoMdb::tmTexto:
        case TTipoMdb::tmMemo:
            if (!v.is_string())
                throw EErrorMdb(sCol + "se esperaba un texto");
            return v.get<std::string>();
        case TTipoMdb::tmByte:
        case TTipoMdb::tmEntero:
        case TTipoMdb::tmLargo:
            if (!v.is_number_integer())
                throw EErrorMdb(sCol + "se esperaba un número entero");
            if (v.is_number_unsigned() && v.get<uint64_t>() > uint64_t(INT64_MAX))
                throw EErrorMdb(sCol + "número fuera de rango");
            return v.get<int64_t>();
        case TTipoMdb::tmSimple:
        case TTipoMdb::tmDoble:
            if (!v.is_number())
                throw EErrorMdb(sCol + "se esperaba un número");
            return v.get<double>();
        case TTipoMdb::tmMoneda: {
            int64_t n = 0;
            if (v.is_number_integer() && !v.is_number_unsigned() &&
                std::llabs(v.get<int64_t>()) < INT64_MAX / 10000)
                return jet::TMoneda{v.get<int64_t>() * 10000};
            std::string s;
            if (v.is_string()) {
                s = v.get<std::string>();
            } else if (v.is_number()) {
                // The shortest text that reads back as the same double is
                // what the author wrote, e.g. 3.5 and not 3.4999999.
                char buf[64];
                auto r = std::to_chars(buf, buf + sizeof buf, v.get<double>());
                s.assign(buf, r.ptr);
            }
            if (!LeeMoneda(s, n))
                throw EErrorMdb(sCol + "se esperaba un importe con 4 decimales como máximo");
            return jet::TMoneda{n};
        }
        case TTipoMdb::tmBooleano:
            if (!v.is_boolean())
                throw EErrorMdb(sCol + "se esperaba true o false");
            return v.get<bool>();
        case TTipoMdb::tmFechaHora: {
            double d = 0;
            if (!v.is_string() || !LeeFecha(v.get<std::string>(), d))
                throw EErrorMdb(sCol +
                                "se esperaba una fecha \"AAAA-MM-DD\" o \"AAAA-MM-DD HH:MM:SS\" "
                                "con año de 100 a 9999");
            return jet::TFecha{d};
        }
        default:
            throw EErrorMdb(sCol + "tipo no admitido");
    }
}

void AgregaFila(TEscritorMdb& escritor, const std::string& sTabla,
                const std::vector<TColumnaMdb>& columnas, size_t nFila, const json& f,
                std::vector<jet::TValor>& valores) {
    try {
        if (!f.is_array() || f.size() != columnas.size())
            throw EErrorMdb("se esperaba una lista de " + std::to_string(columnas.size()) +
                            " valores");
        for (size_t i = 0; i < columnas.size(); ++i) valores[i] = Valor(f[i], columnas[i]);
        escritor.AgregaFila(valores);
    } catch (const EErrorArchivoMdb&) {
        throw;
    } catch (const EErrorMdb& e) {
        throw EErrorMdb("tabla " + sTabla + ", fila " + std::to_string(nFila) + ", " + e.what());
    }
}

// Follows the parser through the description: a table is created as soon
// as its "rows" start (its name and columns known by then) and each row is
// written when complete, then dropped from the parsed document.
class TLectorDescripcion {
public:
    explicit TLectorDescripcion(std::string sRuta) : sRuta_(std::move(sRuta)) {}

    void Lee(std::istream& entrada) {
        const json d = json::parse(
            entrada, [this](int n, json::parse_event_t e, json& v) { return Evento(n, e, v); });
        if (!d.is_object())
            throw EErrorMdb("la descripción debe ser un objeto JSON");
        if (!d.contains("tables") || !d["tables"].is_array())
            throw EErrorMdb("descripción: falta \"tables\" (lista)");
        TEscritorMdb::TOpciones opciones;
        if (d.contains("password") && !d["password"].is_null())
            opciones.sContrasena = Texto(d, "password", "descripción");
        if (d.contains("creation_date") && !d["creation_date"].is_null() &&
            !LeeFecha(Texto(d, "creation_date", "descripción"), opciones.dFechaCreacion))
            throw EErrorMdb("descripción: \"creation_date\" no es una fecha válida");
        Escritor().FijaOpciones(opciones);
        Escritor().Cierra();
    }

private:
    using E = json::parse_event_t;

    TEscritorMdb& Escritor() {
        if (!escritor_)
            escritor_ = std::make_unique<TEscritorMdb>(sRuta_, TEscritorMdb::TOpciones{});
        return *escritor_;
    }

    bool Evento(int nNivel, E e, json& v) {
        if (nNivel == 1 && e == E::key)
            sClave1_ = v.get<std::string>();
        if (nNivel == 1 && e == E::array_start)
            bEnTablas_ = sClave1_ == "tables";
        if (!bEnTablas_ || nNivel < 2)
            return true;
        if (nNivel == 2 && e == E::object_start) {
            ++nTabla_;
            sTabla_.reset();
            columnas_.reset();
            bCreada_ = false;
            nFila_ = 0;
        }
        if (nNivel == 2 && e == E::object_end)
            return TerminaTabla(v);
        if (nNivel == 3 && e == E::key)
            sClave3_ = v.get<std::string>();
        if (nNivel == 3 && e == E::value && sClave3_ == "name" && v.is_string())
            sTabla_ = v.get<std::string>();
        if (nNivel == 3 && e == E::array_end && sClave3_ == "columns")
            columnas_ = v;
        if (nNivel == 3 && e == E::array_start && sClave3_ == "rows" && sTabla_ && columnas_) {
            CreaTabla(json{{"name", *sTabla_}, {"columns", *columnas_}});
        }
        const bool bFila = nNivel == 4 && sClave3_ == "rows" && bCreada_ &&
                           (e == E::array_end || e == E::object_end || e == E::value);
        if (!bFila)
            return true;
        AgregaFila(Escritor(), *sTabla_, columnasMdb_, ++nFila_, v, valores_);
        return false;
    }

    void CreaTabla(const json& t) {
        const std::string sTabla = Texto(t, "name", "tabla " + std::to_string(nTabla_));
        columnasMdb_ = LeeColumnas(t, sTabla);
        try {
            Escritor().CreaTabla(sTabla, columnasMdb_);
        } catch (const EErrorArchivoMdb&) {
            throw;
        } catch (const EErrorMdb& e) {
            throw EErrorMdb("tabla " + sTabla + ": " + e.what());
        }
        sTabla_ = sTabla;
        valores_.assign(columnasMdb_.size(), {});
        bCreada_ = true;
    }

    // A table whose rows were not streamed (no rows, or rows before the
    // columns) is written from its parsed object.
    bool TerminaTabla(const json& t) {
        if (!bCreada_) {
            CreaTabla(t);
            if (t.contains("rows")) {
                if (!t["rows"].is_array())
                    throw EErrorMdb("tabla " + *sTabla_ + ": \"rows\" debe ser una lista");
                for (const json& f : t["rows"])
                    AgregaFila(Escritor(), *sTabla_, columnasMdb_, ++nFila_, f, valores_);
            }
        } else if (t.contains("rows") && !t["rows"].is_array()) {
            throw EErrorMdb("tabla " + *sTabla_ + ": \"rows\" debe ser una lista");
        }
        return false;
    }

    std::string sRuta_;
    std::unique_ptr<TEscritorMdb> escritor_;
    std::string sClave1_, sClave3_;
    bool bEnTablas_ = false;
    int nTabla_ = 0;
    std::optional<std::string> sTabla_;
    std::optional<json> columnas_;
    bool bCreada_ = false;
    size_t nFila_ = 0;
    std::vector<TColumnaMdb> columnasMdb_;
    std::vector<jet::TValor> valores_;
};

}  // namespace

void TDescripcionJson::Escribe(const json& descripcion, const std::string& sSalida) {
    std::string sTexto;
    try {
        sTexto = descripcion.dump();
    } catch (const json::exception& e) {
        throw EErrorMdb(std::string("la descripción no es JSON válido: ") + e.what());
    }
    std::istringstream entrada(sTexto);
    Escribe(entrada, sSalida);
}

void TDescripcionJson::Escribe(std::istream& entrada, const std::string& sSalida) {
    const std::string sAparte = sSalida + ".part";
    try {
        try {
            TLectorDescripcion(sAparte).Lee(entrada);
        } catch (const json::exception& e) {
            throw EErrorMdb(std::string("la descripción no es JSON válido: ") + e.what());
        }
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove(sAparte, ec);
        throw;
    }
    std::error_code ec;
    std::filesystem::rename(sAparte, sSalida, ec);
    if (ec) {
        std::filesystem::remove(sAparte, ec);
        throw EErrorArchivoMdb("no se pudo crear " + sSalida + ": " + ec.message());
    }
}

}  // namespace mdb
