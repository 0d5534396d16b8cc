#pragma once

// A small Norvex-shaped file and the questionnaire's statement builders, for
// engine tests and benchmarks.
#include <memory>
#include <string>
#include <vector>

#include "ArchivoFalso.h"
#include "report/TablaPEPs.h"
#include "tests/questionnaire/CuestPrueba.h"

namespace norvex_falso {

using jet::TTipoColumna;

inline const jet::TValor N = std::monostate{};
inline jet::TValor T(const char* s) {
    return std::string(s);
}
inline jet::TValor L(int64_t n) {
    return n;
}

inline std::shared_ptr<TArchivoFalso> Norvex() {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tEmpresa",
             {{"Empresa", TTipoColumna::tcTexto, 100}, {"NumEmp", TTipoColumna::tcEnteroLargo, 4}},
             {{T("CASA DEMO"), L(1)}});
    a->Tabla("tCompUsr", {{"Usuario", TTipoColumna::tcTexto, 20}}, {});
    a->Tabla("tEmps",
             {{"ClaveEmp", TTipoColumna::tcTexto, 10},
              {"Password", TTipoColumna::tcTexto, 10},
              {"Nivel", TTipoColumna::tcEntero, 2}},
             {{T("ADMIN"), T("secreto"), L(0)}, {T("CAJA"), T("c"), L(2)}});
    a->Tabla("tDivisas",
             {{"NumeroDivisa", TTipoColumna::tcEnteroLargo, 4},
              {"Simbolo", TTipoColumna::tcTexto, 5},
              {"Divisa", TTipoColumna::tcTexto, 30},
              {"Pagare", TTipoColumna::tcBooleano, 1}},
             {{L(1), T("USD"), T("DOLAR AMERICANO"), false},
              {L(2), T("EUR"), T("EURO"), false},
              {L(3), T("M.N."), T("PESO"), false},
              {L(4), T("MXP"), T("PESO MX"), false},
              {L(5), T(""), T("SIN SIMBOLO"), false},
              {L(6), T("USD"), T("CHEQUE DOLARES"), true},
              {L(7), T("EUR"), T("CHEQUE EUROS"), true}});
    a->Tabla("tSector",
             {{"ClaveSector", TTipoColumna::tcTexto, 5},
              {"Sector", TTipoColumna::tcTexto, 50},
              {"ClaveActividad", TTipoColumna::tcTexto, 7}},
             {{T("S1"), T("Comercio"), T("1111111")},
              {T("S2"), T("NO APLICA"), T("0000000")},
              {T("S4"), T("BANCA"), T("8100000")}});
    a->Tabla("tCliente",
             {{"ClaveCliente", TTipoColumna::tcTexto, 20},
              {"Nombre", TTipoColumna::tcTexto, 100},
              {"ApellidoPaterno", TTipoColumna::tcTexto, 50},
              {"ApellidoMaterno", TTipoColumna::tcTexto, 50},
              {"PersonaMoral", TTipoColumna::tcBooleano, 1},
              {"Extranjero", TTipoColumna::tcBooleano, 1},
              {"ClaveSector", TTipoColumna::tcTexto, 5},
              {"NumEmp", TTipoColumna::tcEnteroLargo, 4}},
             {{T("A1"), T("Juan"), T("Pérez"), N, false, false, T("S1"), L(1)},
              {T("A2"), T("JUAN"), T("PÉREZ"), N, false, true, T("S1"), L(1)},
              {T("B1"), T("Banco Uno"), N, N, true, false, T("S4"), L(1)},
              {T("P1"), T("PUBLICO EN GENERAL"), N, N, false, false, T("S2"), L(1)},
              {T("X1"), T("Sin Sector"), N, N, false, false, T("S9"), L(1)},
              {T("O1"), T("Otra Empresa"), N, N, false, false, T("S1"), L(2)}});
    const std::vector<jet::TColumna> ops = {{"Tipo", TTipoColumna::tcTexto, 1},
                                            {"Folio", TTipoColumna::tcEnteroLargo, 4},
                                            {"Fecha", TTipoColumna::tcFechaHora, 8},
                                            {"NumeroDivisa", TTipoColumna::tcEnteroLargo, 4},
                                            {"Cotizacion", TTipoColumna::tcDoble, 8},
                                            {"Cantidad", TTipoColumna::tcDoble, 8},
                                            {"ClaveCliente", TTipoColumna::tcTexto, 20},
                                            {"NumEmp", TTipoColumna::tcEnteroLargo, 4},
                                            {"Cancelado", TTipoColumna::tcBooleano, 1}};
    a->Tabla("tMovtos", ops,
             {{T("C"), L(1), Fecha(2017, 1, 1), L(1), 18.5, 100.0, T("A1"), L(1), false},
              {T("C"), L(1), Fecha(2017, 1, 1), L(1), 18.5, 50.0, T("A1"), L(1), false},
              {T("C"), L(2), Fecha(2017, 12, 31), L(1), 18.7, 200.0, T("A2"), L(1), false},
              {T("C"), L(3), Fecha(2017, 12, 31, 10, 0), L(1), 18.7, 999.0, T("A1"), L(1), false},
              {T("V"), L(4), Fecha(2017, 6, 15), L(2), 20.0, 100.0, T("B1"), L(1), false},
              {T("C"), L(5), Fecha(2017, 6, 15), L(1), 18.0, 70.0, T("P1"), L(1), false},
              {T("V"), L(6), Fecha(2017, 6, 16), L(1), 18.0, 30.0, T("P1"), L(1), false},
              {T("C"), L(7), Fecha(2017, 6, 16), L(1), 18.0, 500.0, T("A1"), L(1), true},
              {T("X"), L(8), Fecha(2017, 6, 16), L(1), 18.0, 500.0, T("A1"), L(1), false},
              {T("C"), L(9), Fecha(2017, 6, 16), L(1), 18.0, 500.0, T("O1"), L(2), false},
              {T("C"), L(10), Fecha(2017, 6, 16), L(5), 18.0, 500.0, T("A1"), L(1), false},
              {T("C"), L(11), Fecha(2017, 6, 16), L(99), 18.0, 500.0, T("A1"), L(1), false}});
    a->Tabla("tProces", ops,
             {{T("C"), L(1), Fecha(2017, 1, 1), L(1), 18.5, 25.0, T("A1"), L(1), false},
              {T("V"), L(12), Fecha(2017, 3, 3), L(6), 18.9, 1000.0, T("A2"), L(1), false},
              {T("V"), L(13), Fecha(2017, 3, 4), L(7), 21.0, 100.0, T("X1"), L(1), false},
              {T("V"), L(14), Fecha(2017, 3, 5), L(6), 18.9, 10.0, T("A2"), L(1), false}});
    a->Tabla("tRelevan",
             {{"TipoRelev", TTipoColumna::tcTexto, 1},
              {"Fecha", TTipoColumna::tcFechaHora, 8},
              {"Observaciones", TTipoColumna::tcMemo, 0},
              {"NumEmp", TTipoColumna::tcEnteroLargo, 4},
              {"ClaveCliente", TTipoColumna::tcTexto, 20}},
             {{T("I"), Fecha(2017, 1, 1), T("Posible PEP"), L(1), T("A1")},
              {T("I"), Fecha(2017, 12, 31), T("otro pep"), L(1), T("A1")},
              {T("I"), Fecha(2017, 12, 31, 10, 0), T("PEP"), L(1), T("B1")},
              {T("R"), Fecha(2017, 5, 5), T("PEP"), L(1), T("A2")},
              {T("I"), Fecha(2017, 5, 5), T("nada"), L(1), T("A2")},
              {T("I"), Fecha(2017, 5, 5), T("PEP"), L(2), T("O1")}});
    return a;
}

// The questionnaire's own statement builders, for company 1, the 2017 window
// and the rate 18.91, with the keys in peps ticked as PEPs.
class Constructor {
public:
    std::string sFIni = "01/01/2017", sFFin = "12/31/2017", sTipoCambio = "18.91";
    std::vector<std::string> peps;  // ticked keys

    std::string Operaciones() const { return Q().DameConsOperaciones(false); }
    std::string OpsDolares(bool bVenta) const {
        return Q().DameConsOpsDolares(bVenta, sFIni, sFFin);
    }
    std::string OpsOtrasDivisas(bool bVenta) const {
        return Q().DameConsOpsOtrasDivisas(bVenta, sFIni, sFFin, sTipoCambio);
    }
    std::string OpsDocumentos(bool bVenta) const {
        return Q().DameConsOpsDocumentos(bVenta, sFIni, sFFin, sTipoCambio);
    }
    std::string OpsPeriodo() const { return Q().DameConsOpsPeriodo(sFIni, sFFin); }
    std::string OpsClientes(const std::string& s) const { return Q().DameConsOpsClientes(s); }
    std::string Usuarios(const std::string& s) const { return Q().DameConsUsuarios(s); }
    // nCat and nNac as the questionnaire numbers them (TCategoria, TNacionalidad).
    std::string Categoria(const std::string& s, int nCat, int nNac, bool bSinPEP) const {
        return Q().DameConsCategoria(s, TCategoria(nCat), TNacionalidad(nNac), bSinPEP);
    }
    std::string Monto(const std::string& s, int nCat = 0, int nNac = 0,
                      bool bSinPEP = false) const {
        return Q().DameConsMonto(s, TCategoria(nCat), TNacionalidad(nNac), bSinPEP);
    }
    std::string Promedio(const std::string& s) const { return Q().DameConsPromedio(s); }
    std::string ClienteFrec(const std::string& s, int nCat) const {
        return Q().DameConsClienteFrec(s, TCategoria(nCat));
    }
    std::string DivisaFrec(const std::string& s) const { return Q().DameConsDivisaFrec(s); }
    std::string ActividadFrec(const std::string& s) const { return Q().DameConsActividadFrec(s); }
    std::string Resultado(const std::string& s, const std::string& sDefault) const {
        return Q().DameConsResultado(s, sDefault);
    }
    std::string Conteo(const std::string& s) const { return Q().DameConsConteo(s); }
    std::string Existe(const std::string& s) const { return Q().DameConsExiste(s); }

private:
    // A questionnaire over the current ticks, made again when they change.
    struct Cuestionario {
        TTablaPEPs tabla;
        TCuestPrueba q{18.91, 1};
    };
    TCuestPrueba& Q() const {
        if (!cuest || ticadas != peps) {
            cuest = std::make_unique<Cuestionario>();
            int n = 0;
            for (const auto& sClave : peps) cuest->tabla.Agrega(++n, sClave, "N", true);
            cuest->q.AdjuntaPEPs(cuest->tabla);
            ticadas = peps;
        }
        return cuest->q;
    }
    mutable std::unique_ptr<Cuestionario> cuest;
    mutable std::vector<std::string> ticadas;
};

}  // namespace norvex_falso
