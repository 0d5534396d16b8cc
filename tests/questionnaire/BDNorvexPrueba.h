#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ado/TADOConnection.h"
#include "platform/jet/TValorJet.h"
#include "tools/mdbgen/EscritorMdb.h"

// A small Norvex database for one concern, written as a real Access file:
// only the tables and columns the program reads. Company 1 is the active one.
struct TBDNorvex {
    struct TOp {
        std::string sTipo;
        int64_t nFolio;
        double dFecha;
        int64_t nDivisa;
        double dCotizacion;
        double dCantidad;
        std::string sCliente;
        int64_t nEmp = 1;
        bool bCancelado = false;
        bool bEnProces = false;  // tProces instead of tMovtos
    };
    struct TCliente {
        std::string sClave;
        jet::TValor vNombre;
        jet::TValor vPaterno;
        jet::TValor vMaterno;
        bool bMoral = false;
        bool bExtranjero = false;
        int64_t nSector = 2;
        int64_t nEmp = 1;
    };
    struct TRelevan {
        std::string sTipo;
        double dFecha;
        std::string sObservaciones;
        int64_t nEmp;
        std::string sCliente;
    };
    struct TEmp {
        std::string sClave;
        jet::TValor vPassword;
        int64_t nNivel;
    };

    std::vector<std::vector<jet::TValor>> empresas = {
        {std::string("CAMBIOS DEL NORTE SA DE CV"), std::string("CNO010101AAA"),
         std::string("CC-0001"), int64_t{1}, std::string("CAMBIOS NORTE")}};
    std::vector<std::string> usuariosConectados;
    bool bSinCompUsr = false;  // the table of connected users missing
    std::vector<TEmp> emps;
    std::vector<TRelevan> alertas;
    std::vector<TCliente> clientes;
    // Sectors: 1 no activity, 2 trade, 3 exchange centre, 4 bank, 5 exchange
    // house, 6 financial entity.
    std::vector<std::vector<jet::TValor>> sectores = {
        {int64_t{1}, std::string("NO APLICA"), std::string("0000000")},
        {int64_t{2}, std::string("Comercio al por menor"), std::string("4611010")},
        {int64_t{3}, std::string("Centro cambiario"), std::string("9503005")},
        {int64_t{4}, std::string("Banca multiple"), std::string("8100000")},
        {int64_t{5}, std::string("Casa de cambio"), std::string("8219025")},
        {int64_t{6}, std::string("Sociedad financiera"), std::string("8123094")}};
    // Currencies: 1 dollar, 2 euro, 3 peso, 4 dollar cheque, 5 euro draft.
    std::vector<std::vector<jet::TValor>> divisas = {
        {int64_t{1}, std::string("USD"), std::string("Dolar americano"), false},
        {int64_t{2}, std::string("EUR"), std::string("Euro"), false},
        {int64_t{3}, std::string("M.N."), std::string("Peso mexicano"), false},
        {int64_t{4}, std::string("USD"), std::string("Cheque en dolares"), true},
        {int64_t{5}, std::string("EUR"), std::string("Giro en euros"), true}};
    std::vector<TOp> ops;

    void Escribe(const std::string& sRuta) const;
};

// Day serial of a date and time, as Access stores it.
double Fecha(int nAnio, int nMes, int nDia, int nHora = 0, int nMinuto = 0, int nSegundo = 0);

// The connection string the program composes for the Norvex file.
std::string CadenaNorvex(const std::string& sRuta);

// The answer texts: "Respuesta: " and the value, or the hand-answer mark.
inline const std::string sMano = "(** El CC debe responder **)";
std::string R(const std::string& s);

// The answers of a database without operations (the questionnaire's own
// texts for "nothing"), worked out once by hand.
std::map<int, std::string> RespuestasVacias();
