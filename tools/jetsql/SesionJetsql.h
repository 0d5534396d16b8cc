#pragma once

#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/jet/EErrorJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "tools/jetsql/FormatoResultado.h"

// One jetsql session over an open file: runs statements and dot commands
// and writes their results with the session's settings (output mode,
// headers, output file). Failures are "KIND - message" on errores.
class TSesionJetsql {
public:
    TSesionJetsql(jet::TArchivoAccess& archivo, jet::TMotorJet& motor, std::ostream& salida,
                  std::ostream& errores, TModoSalida eModo);

    // Runs a script's statements and dot commands in order. The first
    // failure stops it (unless bContinuar) and is reported with the
    // statement's number and line. False when anything failed.
    bool EjecutaGuion(const std::string& sTexto, bool bContinuar, const std::string& sOrigen = "");
    // One statement (without ';') or one dot command line; false when it failed.
    bool EjecutaInstruccion(const std::string& sSql);
    bool EjecutaPunto(const std::string& sLinea);

    // .salir was given: whoever reads input stops.
    bool Terminada() const { return bTerminada_; }
    TModoSalida Modo() const { return eModo_; }

    // The dot commands, for .ayuda and for completing them.
    struct TOrdenPunto {
        std::vector<std::string> nombres;
        std::string sArgumentos;
        std::string sAyuda;
        bool (TSesionJetsql::*ejecuta)(const std::vector<std::string>& args);
    };
    static const std::vector<TOrdenPunto>& Ordenes();

private:
    bool Tablas(const std::vector<std::string>& args);
    bool Esquema(const std::vector<std::string>& args);
    bool PonModo(const std::vector<std::string>& args);
    bool Encabezados(const std::vector<std::string>& args);
    bool Salida(const std::vector<std::string>& args);
    bool Leer(const std::vector<std::string>& args);
    bool Ayuda(const std::vector<std::string>& args);
    bool Salir(const std::vector<std::string>& args);

    bool Falla(const jet::EErrorJet& e);
    void Escribe(const jet::TResultado& resultado);
    std::ostream& Out() { return archivoSalida_ ? *archivoSalida_ : salida_; }

    jet::TArchivoAccess& archivo_;
    jet::TMotorJet& motor_;
    std::ostream& salida_;
    std::ostream& errores_;
    TModoSalida eModo_;
    bool bEncabezados_ = true;
    bool bTerminada_ = false;
    bool bContinuar_ = false;  // of the running script, for the ones it reads
    int nProfundidad_ = 0;     // of nested .leer
    std::unique_ptr<std::ofstream> archivoSalida_;
};
