#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/jet/ErroresJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/NombresJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "platform/jet/TextoValor.h"
#include "platform/jet/sql/FechaJet.h"

// An Access file made of rows in memory, for engine tests that need no .mdb.
class TArchivoFalso : public jet::TArchivoAccess {
public:
    using Fila = std::vector<jet::TValor>;

    TArchivoFalso& Tabla(const std::string& sNombre, std::vector<jet::TColumna> columnas,
                         std::vector<Fila> filas) {
        tablas_.push_back({sNombre, std::move(columnas), static_cast<int64_t>(filas.size())});
        filas_[sNombre] = std::move(filas);
        return *this;
    }

    const std::string& Ruta() const override { return ruta_; }
    int VersionJet() const override { return 4; }
    jet::TFirmaArchivo Firma() const override { return firma_; }
    std::vector<std::string> DameNombresTablas() const override {
        std::vector<std::string> r;
        for (const auto& t : tablas_) r.push_back(t.sNombre);
        return r;
    }
    const jet::TTabla* BuscaTabla(const std::string& sNombre) const override {
        for (const auto& t : tablas_)
            if (jet::MismoNombreJet(t.sNombre, sNombre))
                return &t;
        return nullptr;
    }
    void LeeFilas(const std::string& sTabla,
                  const std::function<void(const std::vector<jet::TValor>&)>& fila) const override {
        ++(*lecturas)[sTabla];
        if (*bFallaLectura)
            throw jet::ErrorJet(jet::TErrorJet::ArchivoIlegible, {"página dañada"});
        for (const auto& f : filas_.at(sTabla)) fila(f);
    }

    jet::TFirmaArchivo firma_{};
    std::string ruta_ = "falso.mdb";
    // How many times each table was read, shared by the copies of this file.
    std::shared_ptr<std::map<std::string, int>> lecturas =
        std::make_shared<std::map<std::string, int>>();
    std::shared_ptr<bool> bFallaLectura = std::make_shared<bool>(false);

private:
    std::vector<jet::TTabla> tablas_;
    std::map<std::string, std::vector<Fila>> filas_;
};

inline jet::TValor Fecha(int y, int m, int d, int h = 0, int mi = 0) {
    return jet::TFecha{jet::sql::SerialDeFecha(y, m, d, (h * 60 + mi) / 1440.0)};
}

// An engine over a fixed fake file that never changes.
inline std::unique_ptr<jet::TMotorJet> MotorSobre(std::shared_ptr<TArchivoFalso> archivo) {
    return std::make_unique<jet::TMotorJet>(
        [archivo] {
            auto copia = std::make_unique<TArchivoFalso>(*archivo);
            return std::unique_ptr<jet::TArchivoAccess>(std::move(copia));
        },
        [archivo](const std::string&) { return archivo->firma_; });
}

// A result as text: columns joined by ",", rows by "; ", Null as NULL,
// dates as yyyy-mm-dd hh:mm:ss, Booleans True/False.
inline std::string Texto(const jet::TResultado& r) {
    std::string s;
    for (size_t i = 0; i < r.filas.size(); ++i) {
        if (i)
            s += "; ";
        for (size_t j = 0; j < r.filas[i].size(); ++j) {
            if (j)
                s += ",";
            const jet::TValor& v = r.filas[i][j];
            if (jet::EsNulo(v))
                s += "NULL";
            else
                s += (std::holds_alternative<jet::TMoneda>(v) ? "$" : "") + jet::TextoValor(v);
        }
    }
    return s;
}
