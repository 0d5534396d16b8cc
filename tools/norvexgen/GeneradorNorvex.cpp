#include "tools/norvexgen/GeneradorNorvex.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tools/mdbgen/CodificaJet.h"
#include "tools/mdbgen/EErrorMdb.h"
#include "tools/mdbgen/EscritorMdb.h"
#include "tools/norvexgen/AzarNorvex.h"

namespace norvex {

namespace {

using mdb::TColumnaMdb;
using mdb::TTipoMdb;
using V = jet::TValor;
using Fila = std::vector<V>;

constexpr int64_t kEmpresaActiva = 1;
constexpr int64_t kOtraEmpresa = 2;

V Texto(const std::string& s) {
    return s;
}
V Nulo() {
    return std::monostate{};
}
V Fecha(int a, int m, int d, int hh = 0, int mi = 0, int ss = 0) {
    return jet::TFecha{mdb::SerialFecha(a, m, d, hh, mi, ss)};
}
V Largo(int64_t n) {
    return n;
}
V Moneda(double dPesos) {
    return jet::TMoneda{std::llround(dPesos * 100) * 100};
}

std::string Cero(int64_t n, int nAncho) {
    std::string s = std::to_string(n);
    return std::string(size_t(std::max(0, nAncho - int(s.size()))), '0') + s;
}

// ---------------------------------------------------------------- catalogues

struct TSector {
    int64_t nClave;
    const char* sSector;
    const char* sActividad;
};
// Activity codes 9503005/6999992 mark exchange centres, 8123094/9911018
// financial entities, 8219025 exchange houses and 8100000 banks.
const TSector kSectores[] = {
    {1, "NO APLICA", "0000000"},
    {2, "CENTRO CAMBIARIO", "9503005"},
    {3, "SERVICIOS DE CAMBIO DE DIVISAS", "6999992"},
    {4, "ENTIDAD FINANCIERA", "8123094"},
    {5, "SOCIEDAD FINANCIERA DE OBJETO MULTIPLE", "9911018"},
    {6, "CASA DE CAMBIO", "8219025"},
    {7, "INSTITUCION DE BANCA MULTIPLE", "8100000"},
    {8, "EMPLEADO DEL SECTOR PRIVADO", "9300009"},
    {9, "ESTUDIANTE", "9600006"},
    {10, "AMA DE CASA", "9700004"},
    {11, "PROFESIONISTA INDEPENDIENTE", "8400003"},
    {12, "COMERCIO AL POR MENOR", "6200005"},
    {13, "EXPORTACION DE PRODUCTOS AGRICOLAS", "0110007"},
    {14, "HOTELES Y MOTELES", "8810001"},
    {15, "RESTAURANTES", "8900008"},
    {16, "AUTOTRANSPORTE DE CARGA", "7100002"},
    {17, "CONSTRUCCION DE INMUEBLES", "4100006"},
    {18, "AGENCIA DE VIAJES", "8820009"},
};
const std::vector<int64_t> kSectoresFisicas = {1, 8, 8, 9, 10, 11, 11, 12, 14, 18};
const std::vector<int64_t> kSectoresMorales = {12, 12, 13, 14, 15, 16, 17, 18};

struct TDivisa {
    int64_t nNumero;
    const char* sSimbolo;
    const char* sDivisa;
    bool bPagare;
    double dDolares;  // US dollars per unit, for the quote
};
const TDivisa kDivisas[] = {
    {1, "M.N.", "PESO MEXICANO", false, 0},
    {2, "USD", "DOLAR AMERICANO", false, 1.0},
    {3, "EUR", "EURO", false, 1.13},
    {4, "CAD", "DOLAR CANADIENSE", false, 0.77},
    {5, "GBP", "LIBRA ESTERLINA", false, 1.31},
    {6, "JPY", "YEN JAPONES", false, 0.0089},
    {7, "CHF", "FRANCO SUIZO", false, 1.02},
    {8, "MXP", "PESO (BILLETE CONMEMORATIVO)", false, 0},
    {9, "", "ONZA DE PLATA LIBERTAD", false, 16.5},
    {10, "USD", "CHEQUE DE VIAJERO DOLARES", true, 1.0},
    {11, "USD", "GIRO BANCARIO EN DOLARES", true, 1.0},
    {12, "EUR", "DOCUMENTO A LA VISTA EN EUROS", true, 1.13},
};
// Shares of the lines by currency, in the order above.
const std::vector<int> kPesoDivisas = {2, 62, 11, 6, 3, 2, 2, 1, 1, 5, 3, 2};
constexpr int64_t kDivisaInexistente = 99;

const char* const kNombres[] = {
    "JUAN",      "MARIA",      "JOSE",     "GUADALUPE", "FRANCISCO", "ANA",          "LUIS",
    "ROSA",      "CARLOS",     "PATRICIA", "JORGE",     "LAURA",     "MIGUEL ANGEL", "ELENA",
    "ALEJANDRO", "VERONICA",   "RAUL",     "SOFIA",     "ROBERTO",   "MONICA",       "FERNANDO",
    "GABRIELA",  "JOSÉ MARÍA", "NOÉ",      "MARTÍN",    "ÁNGELES",   "IÑAKI"};
const char* const kApellidos[] = {"HERNANDEZ", "GARCIA", "MARTINEZ",  "LOPEZ",     "GONZALEZ",
                                  "RODRIGUEZ", "PEREZ",  "SANCHEZ",   "RAMIREZ",   "CRUZ",
                                  "FLORES",    "GOMEZ",  "MORALES",   "VAZQUEZ",   "REYES",
                                  "JIMENEZ",   "TORRES", "DIAZ",      "GUTIERREZ", "RUIZ",
                                  "MUÑOZ",     "NÚÑEZ",  "CASTAÑEDA", "ORDÓÑEZ",   "IBARRA"};
const char* const kNombresFuera[] = {"JOHN", "MARY",   "ROBERT", "JENNIFER", "MICHAEL",
                                     "HANS", "PIERRE", "GIULIA", "KENJI",    "EMMA"};
const char* const kApellidosFuera[] = {"SMITH",  "JOHNSON", "WILLIAMS", "BROWN",  "MILLER",
                                       "MÜLLER", "DUBOIS",  "ROSSI",    "TANAKA", "O'BRIEN"};
const char* const kRazones[] = {
    "COMERCIALIZADORA", "IMPORTADORA", "EXPORTADORA", "SERVICIOS", "GRUPO",
    "DISTRIBUIDORA",    "AGRICOLA",    "TRANSPORTES", "HOTELERA",  "CONSTRUCTORA"};
const char* const kLugares[] = {"DEL NORTE", "DEL BAJIO",   "DEL PACIFICO", "PENINSULAR",
                                "DEL GOLFO", "LAS PALMAS",  "SAN ANGEL",    "EL MIRADOR",
                                "SANTA FE",  "LA FRONTERA", "DEL SURESTE",  "ALTAMIRA"};
const char* const kFirmasFuera[] = {"BORDER TRADING LLC", "PACIFIC IMPORTS INC", "EUROTOUR GMBH",
                                    "MAPLE LEAF FOODS LTD", "SUNRISE TRAVEL CO"};

template <typename T, size_t N>
const T& Uno(TAzarNorvex& azar, const T (&lista)[N]) {
    return lista[azar.Menor(N)];
}

// ------------------------------------------------------------------- clients

enum class TClase { tcPublico, tcFisica, tcMoral, tcFinanciera };

struct TCliente {
    std::string sClave;
    std::string sNombre;
    std::optional<std::string> sPaterno, sMaterno;
    bool bMoral = false;
    bool bExtranjero = false;
    int64_t nSector = 1;
    int64_t nEmpresa = kEmpresaActiva;
    TClase eClase = TClase::tcFisica;
};

struct TCartera {
    std::vector<TCliente> clientes;
    std::vector<size_t> porEmpresa[2];  // registered clients of companies 1 and 2
    size_t nPublico[2] = {0, 0};
    // The clients the fixed alerts are about.
    size_t nJuan = 0, nMaria = 0, nHomonima = 0, nSinGiro = 0, nCentro = 0;
};

std::string Rfc(TAzarNorvex& azar, const TCliente& c) {
    std::string s;
    const int nLetras = c.bMoral ? 3 : 4;
    for (int i = 0; i < nLetras; ++i) s += char('A' + azar.Menor(26));
    s += Cero(int64_t(50 + azar.Menor(50)), 2) + Cero(int64_t(1 + azar.Menor(12)), 2) +
         Cero(int64_t(1 + azar.Menor(28)), 2);
    for (int i = 0; i < 3; ++i) s += "ABCDEFGHJKLMNPRSTUVWXYZ0123456789"[azar.Menor(33)];
    return s;
}

TCartera CreaCartera(TAzarNorvex& azar, const TOpcionesNorvex& op) {
    TCartera cartera;
    auto agrega = [&](TCliente c) {
        c.sClave = "CL" + Cero(int64_t(cartera.clientes.size() + 1), 6);
        const size_t i = cartera.clientes.size();
        if (c.eClase == TClase::tcPublico)
            cartera.nPublico[c.nEmpresa - 1] = i;
        else
            cartera.porEmpresa[c.nEmpresa - 1].push_back(i);
        cartera.clientes.push_back(std::move(c));
        return i;
    };
    auto moral = [](const std::string& s, int64_t nSector, bool bFuera = false) {
        TCliente c;
        c.sNombre = s;
        c.bMoral = true;
        c.bExtranjero = bFuera;
        c.nSector = nSector;
        c.eClase = nSector >= 2 && nSector <= 7 ? TClase::tcFinanciera : TClase::tcMoral;
        return c;
    };
    for (int64_t e : {kEmpresaActiva, kOtraEmpresa}) {
        TCliente p;
        p.sNombre = "PUBLICO EN GENERAL";
        p.nEmpresa = e;
        p.eClase = TClase::tcPublico;
        agrega(p);
    }
    // The centre's counterparts in the money business, one or two of each kind.
    cartera.nCentro = agrega(moral("CENTRO CAMBIARIO EL ALAMO SA DE CV", 2));
    agrega(moral("DIVISAS LA FRONTERA SA DE CV", 3));
    agrega(moral("FINANCIERA DEL BAJIO SA DE CV SOFOM ENR", 4));
    agrega(moral("UNION DE CREDITO DEL PACIFICO SA DE CV", 5));
    agrega(moral("CASA DE CAMBIO PLATINO SA DE CV", 6));
    agrega(moral("BANCO DEL ISTMO SA INSTITUCION DE BANCA MULTIPLE", 7));
    agrega(moral("BANCO INDUSTRIAL DE OCCIDENTE SA", 7));
    agrega(moral("FIRST BORDER BANK NA", 7, true));
    // Names that need care: blanks around, a homonym pair, a sector that
    // is not in the catalogue.
    TCliente c;
    c.sNombre = "  JUAN ";
    c.sPaterno = "PEREZ";
    c.sMaterno = "";
    c.nSector = 8;
    cartera.nJuan = agrega(c);
    TCliente h;
    h.sNombre = "MARIA";
    h.sPaterno = "GONZALEZ";
    h.sMaterno = "LOPEZ";
    h.nSector = 10;
    cartera.nMaria = agrega(h);
    cartera.nHomonima = agrega(h);
    cartera.nSinGiro = agrega(moral("COMERCIALIZADORA SIN GIRO SA DE CV", 999));

    const int64_t nAlAzar = op.nClientes > 0 ? op.nClientes - int64_t(cartera.clientes.size())
                                             : std::max<int64_t>(60, op.nLineas / 25);
    for (int64_t k = 0; k < nAlAzar; ++k) {
        TCliente n;
        n.nEmpresa = azar.Prob(0.85) ? kEmpresaActiva : kOtraEmpresa;
        switch (azar.Pesado({60, 12, 24, 4})) {
            case 0:
                n.sNombre = Uno(azar, kNombres);
                n.sPaterno = Uno(azar, kApellidos);
                if (!azar.Prob(0.08))
                    n.sMaterno = Uno(azar, kApellidos);
                n.nSector = kSectoresFisicas[azar.Menor(kSectoresFisicas.size())];
                break;
            case 1:
                n.sNombre = Uno(azar, kNombresFuera);
                n.sPaterno = Uno(azar, kApellidosFuera);
                n.bExtranjero = true;
                n.nSector = kSectoresFisicas[azar.Menor(kSectoresFisicas.size())];
                break;
            case 2:
                n = moral(std::string(Uno(azar, kRazones)) + " " + Uno(azar, kLugares) +
                              (azar.Prob(0.8) ? " SA DE CV" : " S DE RL DE CV"),
                          kSectoresMorales[azar.Menor(kSectoresMorales.size())]);
                break;
            default:
                n = moral(Uno(azar, kFirmasFuera),
                          kSectoresMorales[azar.Menor(kSectoresMorales.size())], true);
        }
        agrega(n);
    }
    return cartera;
}

// -------------------------------------------------------------- operations

// Pesos per dollar through 2015-2018, between monthly-ish anchors.
double PesosPorDolar(double dSerial) {
    struct TPunto {
        double d, v;
    };
    static const TPunto kPuntos[] = {{mdb::SerialFecha(2015, 1, 1, 0, 0, 0), 14.72},
                                     {mdb::SerialFecha(2015, 8, 1, 0, 0, 0), 16.20},
                                     {mdb::SerialFecha(2016, 1, 1, 0, 0, 0), 17.25},
                                     {mdb::SerialFecha(2016, 6, 30, 0, 0, 0), 18.60},
                                     {mdb::SerialFecha(2016, 11, 15, 0, 0, 0), 20.60},
                                     {mdb::SerialFecha(2017, 1, 20, 0, 0, 0), 21.70},
                                     {mdb::SerialFecha(2017, 4, 15, 0, 0, 0), 18.70},
                                     {mdb::SerialFecha(2017, 9, 1, 0, 0, 0), 17.80},
                                     {mdb::SerialFecha(2017, 12, 31, 0, 0, 0), 19.70},
                                     {mdb::SerialFecha(2018, 6, 15, 0, 0, 0), 20.40},
                                     {mdb::SerialFecha(2018, 12, 31, 0, 0, 0), 19.65}};
    for (size_t i = 1; i < std::size(kPuntos); ++i)
        if (dSerial <= kPuntos[i].d) {
            const double t = (dSerial - kPuntos[i - 1].d) / (kPuntos[i].d - kPuntos[i - 1].d);
            return kPuntos[i - 1].v + t * (kPuntos[i].v - kPuntos[i - 1].v);
        }
    return kPuntos[std::size(kPuntos) - 1].v;
}

struct TLinea {
    bool bEnMovtos;
    Fila fila;
};

// Calls back every operation line in date order; the draws never depend on
// which table is being written, so two passes see the same lines.
void RecorreLineas(const TCartera& cartera, const TOpcionesNorvex& op,
                   const std::function<void(const TLinea&)>& linea) {
    TAzarNorvex azar(op.nSemilla * 7919 + 2);
    const int nDia0 = int(mdb::SerialFecha(2015, 1, 1, 0, 0, 0));
    const int nDias = int(mdb::SerialFecha(2018, 12, 31, 0, 0, 0)) - nDia0 + 1;
    int64_t nHechas = 0;
    int64_t nFolio[2] = {0, 0};
    TLinea l;
    l.fila.resize(12);
    for (int d = 0; d < nDias; ++d) {
        const int64_t nHasta = op.nLineas * (d + 1) / nDias;
        while (nHechas < nHasta) {
            const size_t e = azar.Prob(0.88) ? 0 : 1;
            const int64_t nEmpresa = int64_t(e) + 1;
            const size_t nClase = azar.Pesado({46, 46, 3, 3, 2});
            const char* sTipo = nClase == 0   ? "C"
                                : nClase == 1 ? "V"
                                : nClase == 2 ? "T"
                                : nClase == 3 ? "E"
                                              : "S";
            const size_t nDiv = azar.Pesado(kPesoDivisas);
            const TDivisa& div = kDivisas[nDiv];
            const bool bDivisaPerdida = azar.Prob(0.001);
            size_t nCte;
            if (azar.Prob(0.35)) {
                nCte = cartera.nPublico[e];
            } else {
                const auto& pool = cartera.porEmpresa[e];
                const double u = azar.Real();
                nCte = pool[size_t(double(pool.size()) * u * u)];
            }
            const TCliente& cte = cartera.clientes[nCte];
            const bool bClientePerdido = azar.Prob(0.001);
            const double dSerial = nDia0 + d;
            const double dBase = PesosPorDolar(dSerial) * (1 + (azar.Real() - 0.5) * 0.01);
            const double dMargen = sTipo[0] == 'V' ? 1.015 : 0.985;
            double dCot = div.dDolares == 0 ? 1.0 : dBase * div.dDolares * dMargen;
            dCot = div.dDolares < 0.1 && div.dDolares > 0 ? std::round(dCot * 10000) / 10000
                                                          : std::round(dCot * 100) / 100;
            double dUsd = cte.eClase == TClase::tcPublico      ? 50 + azar.Menor(1500)
                          : cte.eClase == TClase::tcFinanciera ? 5000 + azar.Menor(95000)
                          : cte.bMoral                         ? 1000 + azar.Menor(40000)
                                                               : 100 + azar.Menor(4900);
            const double dUnidades = div.dDolares == 0 ? dUsd * dBase : dUsd / div.dDolares;
            const int nPartes =
                int(std::min<int64_t>(nHasta - nHechas, 1 + azar.Pesado({85, 11, 4})));
            const bool bCancelada = azar.Prob(0.03);
            const int64_t nF = ++nFolio[e];
            const int nSeg = int(9 * 3600 + azar.Menor(10 * 3600));
            const std::string sHora =
                Cero(nSeg / 3600, 2) + ":" + Cero(nSeg / 60 % 60, 2) + ":" + Cero(nSeg % 60, 2);
            const std::string sCajero = azar.Prob(0.8) ? "CAJERO" : "ADMIN";
            for (int p = 0; p < nPartes; ++p) {
                double dCant = div.bPagare ? std::round(dUnidades / nPartes * 100) / 100
                                           : std::round(dUnidades / nPartes);
                if (div.dDolares > 0 && div.dDolares < 0.1)
                    dCant = std::round(dCant / 100) * 100;
                if (dCant <= 0)
                    dCant = 1;
                l.bEnMovtos = azar.Prob(0.5);
                const bool bLineaCancelada = bCancelada || azar.Prob(0.005);
                l.fila[0] = Texto(sTipo);
                l.fila[1] = Largo(nF);
                l.fila[2] = jet::TFecha{dSerial};
                l.fila[3] = Texto(sHora);
                l.fila[4] = Largo(bDivisaPerdida ? kDivisaInexistente : div.nNumero);
                l.fila[5] = dCot;
                l.fila[6] = dCant;
                l.fila[7] = Moneda(dCant * dCot);
                l.fila[8] = Texto(bClientePerdido ? "CL999999" : cte.sClave);
                l.fila[9] = Largo(nEmpresa);
                l.fila[10] = bLineaCancelada;
                l.fila[11] = Texto(sCajero);
                linea(l);
                ++nHechas;
            }
        }
    }
}

const std::vector<TColumnaMdb> kColumnasOperacion = {
    {"Tipo", TTipoMdb::tmTexto, 1},          {"Folio", TTipoMdb::tmLargo},
    {"Fecha", TTipoMdb::tmFechaHora},        {"Hora", TTipoMdb::tmTexto, 8},
    {"NumeroDivisa", TTipoMdb::tmLargo},     {"Cotizacion", TTipoMdb::tmDoble},
    {"Cantidad", TTipoMdb::tmDoble},         {"Importe", TTipoMdb::tmMoneda},
    {"ClaveCliente", TTipoMdb::tmTexto, 20}, {"NumEmp", TTipoMdb::tmLargo},
    {"Cancelado", TTipoMdb::tmBooleano},     {"ClaveEmp", TTipoMdb::tmTexto, 20}};

// ------------------------------------------------------------------ alerts

// Which rows of the divided tables a file holds: branch nSucursal (0 to
// nSucursales - 1) of nSucursales, or all of them when nSucursales is 0.
struct TParte {
    int64_t nSucursal = 0;
    int64_t nSucursales = 0;
    bool Tiene(int64_t n) const { return nSucursales == 0 || n % nSucursales == nSucursal; }
};

void EscribeAlertas(mdb::TEscritorMdb& e, TAzarNorvex& azar, const TCartera& cartera,
                    const TParte& parte) {
    e.CreaTabla("tRelevan", {{"IdRelevan", TTipoMdb::tmLargo},
                             {"TipoRelev", TTipoMdb::tmTexto, 1},
                             {"Fecha", TTipoMdb::tmFechaHora},
                             {"Observaciones", TTipoMdb::tmTexto, 255},
                             {"NumEmp", TTipoMdb::tmLargo},
                             {"ClaveCliente", TTipoMdb::tmTexto, 20},
                             {"Comentarios", TTipoMdb::tmMemo}});
    int64_t nId = 0;
    auto alerta = [&](const char* sTipo, V fecha, const std::string& sObs, int64_t nEmp,
                      const std::string& sCliente, V comentario = Nulo()) {
        if (!parte.Tiene(nId + 1)) {
            ++nId;
            return;
        }
        e.AgregaFila({Largo(++nId), Texto(sTipo), fecha, Texto(sObs), Largo(nEmp), Texto(sCliente),
                      comentario});
    };
    const auto& uno = cartera.porEmpresa[0];
    const auto& dos = cartera.porEmpresa[1];
    auto clave = [&](size_t i) { return cartera.clientes[i].sClave; };
    // Fixed cases around the window and the filters.
    const std::string sJuan = clave(cartera.nJuan);
    alerta("I", Fecha(2017, 1, 1), "POSIBLE PEP: REGIDOR MUNICIPAL", 1, sJuan,
           Texto("Coincidencia en lista de personas políticamente expuestas.\r\n"
                 "Se solicitó documentación adicional."));
    alerta("I", Fecha(2017, 5, 3), "POSIBLE PEP: FAMILIAR DE FUNCIONARIO", 1, sJuan);
    alerta("I", Fecha(2017, 12, 31), "PEP - SEGUIMIENTO", 1, sJuan);
    alerta("I", Fecha(2017, 12, 31, 10, 30, 0), "POSIBLE PEP: DIPUTADO LOCAL", 1,
           clave(cartera.nMaria));
    alerta("I", Fecha(2016, 12, 31), "POSIBLE PEP: EX FUNCIONARIO FEDERAL", 1,
           clave(cartera.nHomonima));
    alerta("I", Fecha(2018, 1, 1), "POSIBLE PEP: SECRETARIO DE ESTADO", 1,
           clave(cartera.nHomonima));
    alerta("I", Fecha(2017, 7, 14), "POSIBLE PEP: HOMONIMO EN LISTA", 1, clave(cartera.nMaria));
    alerta("I", Fecha(2017, 7, 14), "POSIBLE PEP: HOMONIMO EN LISTA", 1, clave(cartera.nHomonima));
    alerta("R", Fecha(2017, 3, 9), "OPERACION RELEVANTE: PEP CON MONTO MAYOR A 10,000 USD", 1,
           clave(cartera.nSinGiro));
    alerta("I", Fecha(2017, 8, 22), "OPERACION INUSUAL: FRACCIONAMIENTO DE MONTOS", 1,
           clave(cartera.nSinGiro));
    alerta("P", Fecha(2017, 10, 2), "OPERACION PREOCUPANTE: EMPLEADO PEP", 1,
           clave(cartera.nCentro));
    if (!dos.empty())
        alerta("I", Fecha(2017, 6, 6), "POSIBLE PEP: PRESIDENTE MUNICIPAL", 2, clave(dos[0]));
    // And a share of the registered clients, spread over the four years.
    const size_t nMas = std::max<size_t>(12, uno.size() / 40);
    const char* const kObservaciones[] = {
        "POSIBLE PEP: SERVIDOR PUBLICO",           "OPERACION INUSUAL: CAMBIO DE PATRON",
        "OPERACION RELEVANTE MAYOR A 10,000 USD",  "POSIBLE PEP: CONYUGE DE FUNCIONARIO",
        "CLIENTE EN LISTA DE PERSONAS BLOQUEADAS", "OPERACION INUSUAL: MONTO ELEVADO"};
    const char* const kTipos[] = {"I", "I", "R", "I", "P", "I"};
    for (size_t k = 0; k < nMas; ++k) {
        const size_t n = azar.Menor(std::size(kObservaciones));
        const int nAnio = 2015 + int(azar.Menor(4));
        const int64_t nEmp = azar.Prob(0.85) || dos.empty() ? 1 : 2;
        const auto& pool = nEmp == 1 ? uno : dos;
        alerta(kTipos[n], Fecha(nAnio, 1 + int(azar.Menor(12)), 1 + int(azar.Menor(28))),
               kObservaciones[n], nEmp, clave(pool[azar.Menor(pool.size())]));
    }
}

// -------------------------------------------------------------- the file

void EscribeBase(const std::string& sRuta, const TOpcionesNorvex& op, const TParte& parte) {
    mdb::TEscritorMdb::TOpciones opciones;
    opciones.sContrasena = TGeneradorNorvex::kContrasena;
    opciones.dFechaCreacion = mdb::SerialFecha(2006, 3, 14, 9, 30, 0);
    mdb::TEscritorMdb e(sRuta, opciones);

    e.CreaTabla("tEmpresa", {{"NumEmp", TTipoMdb::tmLargo},
                             {"Empresa", TTipoMdb::tmTexto, 100},
                             {"RFC", TTipoMdb::tmTexto, 13},
                             {"RegistroCC", TTipoMdb::tmTexto, 30},
                             {"NomComercial", TTipoMdb::tmTexto, 100},
                             {"Domicilio", TTipoMdb::tmTexto, 150}});
    e.AgregaFila({Largo(1), Texto("CAMBIARIA LOS ÁLAMOS SA DE CV"), Texto("CLA0512093K4"),
                  Texto("CC-2006-0142"), Texto("CAMBIOS LOS ÁLAMOS"),
                  Texto("AV. REFORMA 1520, COL. CENTRO, TIJUANA, B.C.")});
    e.AgregaFila({Largo(2), Texto("DIVISAS DEL SURESTE SA DE CV"), Texto("DSU0803117A2"),
                  Texto("CC-2009-0377"), Texto("DIVISAS DEL SURESTE"),
                  Texto("CALLE 60 NUM. 455, CENTRO, MÉRIDA, YUC.")});

    e.CreaTabla("tEmps", {{"ClaveEmp", TTipoMdb::tmTexto, 20},
                          {"Nombre", TTipoMdb::tmTexto, 60},
                          {"Password", TTipoMdb::tmTexto, 20},
                          {"Nivel", TTipoMdb::tmEntero},
                          {"Activo", TTipoMdb::tmBooleano}});
    e.AgregaFila(
        {Texto("ADMIN"), Texto("ADMINISTRADOR DEL SISTEMA"), Texto("NORVEX"), Largo(0), true});
    e.AgregaFila({Texto("CAJERO"), Texto("CAJERO DE VENTANILLA"), Texto("CAJA"), Largo(1), true});

    e.CreaTabla("tCompUsr", {{"Computadora", TTipoMdb::tmTexto, 50},
                             {"ClaveEmp", TTipoMdb::tmTexto, 20},
                             {"FechaEntrada", TTipoMdb::tmFechaHora}});

    e.CreaTabla("tSector", {{"ClaveSector", TTipoMdb::tmLargo},
                            {"Sector", TTipoMdb::tmTexto, 100},
                            {"ClaveActividad", TTipoMdb::tmTexto, 7}});
    for (const TSector& s : kSectores)
        e.AgregaFila({Largo(s.nClave), Texto(s.sSector), Texto(s.sActividad)});

    e.CreaTabla("tDivisas", {{"NumeroDivisa", TTipoMdb::tmLargo},
                             {"Simbolo", TTipoMdb::tmTexto, 10},
                             {"Divisa", TTipoMdb::tmTexto, 50},
                             {"Pagare", TTipoMdb::tmBooleano}});
    for (const TDivisa& d : kDivisas)
        e.AgregaFila({Largo(d.nNumero), Texto(d.sSimbolo), Texto(d.sDivisa), d.bPagare});

    TAzarNorvex azar(op.nSemilla * 7919 + 1);
    const TCartera cartera = CreaCartera(azar, op);
    e.CreaTabla("tCliente", {{"ClaveCliente", TTipoMdb::tmTexto, 20},
                             {"Nombre", TTipoMdb::tmTexto, 100},
                             {"ApellidoPaterno", TTipoMdb::tmTexto, 50},
                             {"ApellidoMaterno", TTipoMdb::tmTexto, 50},
                             {"PersonaMoral", TTipoMdb::tmBooleano},
                             {"Extranjero", TTipoMdb::tmBooleano},
                             {"ClaveSector", TTipoMdb::tmLargo},
                             {"NumEmp", TTipoMdb::tmLargo},
                             {"RFC", TTipoMdb::tmTexto, 13},
                             {"FechaAlta", TTipoMdb::tmFechaHora}});
    for (const TCliente& c : cartera.clientes) {
        auto opcional = [](const std::optional<std::string>& s) { return s ? Texto(*s) : Nulo(); };
        const bool bPublico = c.eClase == TClase::tcPublico;
        e.AgregaFila(
            {Texto(c.sClave), Texto(c.sNombre), opcional(c.sPaterno), opcional(c.sMaterno),
             c.bMoral, c.bExtranjero, Largo(c.nSector), Largo(c.nEmpresa),
             bPublico ? Nulo() : Texto(Rfc(azar, c)),
             Fecha(2006 + int(azar.Menor(9)), 1 + int(azar.Menor(12)), 1 + int(azar.Menor(28)))});
    }

    EscribeAlertas(e, azar, cartera, parte);

    for (bool bMovtos : {true, false}) {
        e.CreaTabla(bMovtos ? "tMovtos" : "tProces", kColumnasOperacion);
        RecorreLineas(cartera, op, [&](const TLinea& l) {
            // An operation's lines share company and folio: they stay together.
            const int64_t nOperacion = std::get<int64_t>(l.fila[1]) + std::get<int64_t>(l.fila[9]);
            if (l.bEnMovtos == bMovtos && parte.Tiene(nOperacion))
                e.AgregaFila(l.fila);
        });
    }
    e.Cierra();
}

}  // namespace

namespace {

void EscribeCarpeta(const std::filesystem::path& dir, const TOpcionesNorvex& op,
                    const TParte& parte) {
    std::filesystem::create_directories(dir / "DataBase");
    const std::filesystem::path base = dir / "DataBase" / "Norvex.mdb";
    const std::filesystem::path aparte = dir / "DataBase" / "Norvex.mdb.part";
    try {
        EscribeBase(aparte.string(), op, parte);
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove(aparte, ec);
        throw;
    }
    std::filesystem::rename(aparte, base);
    const std::string sSucursal =
        parte.nSucursal == 0 ? "MATRIZ" : "SUCURSAL " + std::to_string(parte.nSucursal + 1);
    // Norvex is a Windows program: its settings file has CR LF line ends.
    std::ofstream ini(dir / "Norvex.INI", std::ios::binary | std::ios::trunc);
    ini << "[Control]\r\nEmpresaActiva=1\r\nSucursal=" << sSucursal
        << "\r\n\r\n"
           "[BaseDatos]\r\nRuta=DataBase\\Norvex.mdb\r\n";
    if (!ini.flush())
        throw mdb::EErrorMdb("no se pudo escribir " + (dir / "Norvex.INI").string());
}

}  // namespace

std::filesystem::path TGeneradorNorvex::CarpetaSucursal(const std::filesystem::path& dir,
                                                        int64_t n) {
    return dir / ("sucursal-" + std::to_string(n));
}

void TGeneradorNorvex::Genera(const std::filesystem::path& dir, const TOpcionesNorvex& op) {
    if (op.nLineas < 0)
        throw mdb::EErrorMdb("el número de líneas no puede ser negativo");
    if (op.nClientes != 0 && op.nClientes < kMinClientes)
        throw mdb::EErrorMdb("el número de clientes no puede ser menor que " +
                             std::to_string(kMinClientes));
    if (op.nSucursales < 0 || op.nSucursales > kMaxSucursales)
        throw mdb::EErrorMdb("el número de sucursales debe estar entre 1 y " +
                             std::to_string(kMaxSucursales));
    if (op.nSucursales == 0) {
        EscribeCarpeta(dir, op, {});
        return;
    }
    for (int64_t n = 0; n < op.nSucursales; ++n)
        EscribeCarpeta(CarpetaSucursal(dir, n + 1), op, {n, op.nSucursales});
}

}  // namespace norvex
