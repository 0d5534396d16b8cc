#include "questionnaire/RepCuestANDU2017.h"

#include <array>

#include "platform/ado/TADOConnection.h"
#include "platform/jet/ErroresJet.h"

namespace {

// How a question of the tables is computed from its column's sources.
enum TCalculo {
    ccExiste,    // "SI"/"NO": any operation of the kind in the window
    ccUsuarios,  // count of users of a category
    ccOps,       // count of operations of a category
    ccMonto,     // rounded amount of a category
    ccPromedio   // rounded average amount per operation
};

struct TPregunta {
    TCalculo nCalculo;
    TCategoria nCategoria;
    TNacionalidad nNacionalidad;
    bool bSinPEP;
};

// The business of each column of the main table, in the order of
// TFila::aPreguntas: dollar purchase, other purchase, dollar sale, other sale,
// document purchase (values of TRepCuestANDU2017::TNegocio). Purchase or sale
// follows from the question number.
constexpr std::array<int, 5> aNegocioColumna{0, 1, 0, 1, 2};

struct TFila {
    TPregunta pregunta;
    std::array<int, 5> aPreguntas;
};

// The cash sections and the purchase of documents. The questionnaire orders
// its sections differently (in the dollar purchase the PEP users come second),
// so each entry names its question number.
constexpr std::array<TFila, 29> aTablaPrincipal{{
    {{ccExiste, caSinFiltro, naTodas, false}, {33, 62, 91, 120, 149}},
    {{ccUsuarios, caCCyEF, naTodas, true}, {34, 63, 92, 121, 152}},
    {{ccUsuarios, caPersonaFisica, naNacional, true}, {36, 64, 93, 122, 153}},
    {{ccUsuarios, caPersonaMoral, naNacional, true}, {37, 65, 94, 123, 154}},
    {{ccUsuarios, caPersonaFisica, naExtranjera, true}, {38, 66, 95, 124, 155}},
    {{ccUsuarios, caPersonaMoral, naExtranjera, true}, {39, 67, 96, 125, 156}},
    {{ccUsuarios, caCentroCambiario, naTodas, true}, {40, 68, 97, 126, 157}},
    {{ccUsuarios, caEntidadFinanciera, naNacional, true}, {41, 69, 98, 127, 158}},
    {{ccUsuarios, caEntidadFinanciera, naExtranjera, true}, {42, 70, 99, 128, 159}},
    {{ccUsuarios, caPEP, naTodas, false}, {35, 71, 100, 129, 160}},
    // 130 is not this row's: it counts every sale with a known client.
    {{ccOps, caCCyEF, naTodas, true}, {43, 72, 101, 0, 161}},
    {{ccOps, caPersonaFisica, naNacional, true}, {44, 73, 102, 131, 162}},
    {{ccOps, caPersonaMoral, naNacional, true}, {45, 74, 103, 132, 163}},
    {{ccOps, caPersonaFisica, naExtranjera, true}, {46, 75, 104, 133, 164}},
    {{ccOps, caPersonaMoral, naExtranjera, true}, {47, 76, 105, 134, 165}},
    {{ccOps, caCentroCambiario, naTodas, true}, {48, 77, 106, 135, 166}},
    {{ccOps, caEntidadFinanciera, naNacional, true}, {49, 78, 107, 136, 167}},
    {{ccOps, caEntidadFinanciera, naExtranjera, true}, {50, 79, 108, 137, 168}},
    {{ccOps, caPEP, naTodas, false}, {51, 80, 109, 138, 169}},
    {{ccMonto, caSinFiltro, naTodas, true}, {52, 81, 110, 139, 170}},
    {{ccMonto, caPersonaFisica, naNacional, true}, {53, 82, 111, 140, 171}},
    {{ccMonto, caPersonaMoral, naNacional, true}, {54, 83, 112, 141, 172}},
    {{ccMonto, caPersonaFisica, naExtranjera, true}, {55, 84, 113, 142, 173}},
    {{ccMonto, caPersonaMoral, naExtranjera, true}, {56, 85, 114, 143, 174}},
    {{ccMonto, caCentroCambiario, naTodas, true}, {57, 86, 115, 144, 175}},
    {{ccMonto, caEntidadFinanciera, naNacional, true}, {58, 87, 116, 145, 176}},
    {{ccMonto, caEntidadFinanciera, naExtranjera, true}, {59, 88, 117, 146, 177}},
    {{ccMonto, caPEP, naTodas, false}, {60, 89, 118, 147, 178}},
    {{ccPromedio, caSinFiltro, naTodas, false}, {61, 90, 119, 148, 179}},
}};

// The sale of sight documents (180 to 191), besides the questions below that
// have statements of their own.
struct TPreguntaVentaDocs {
    int nPregunta;
    TPregunta pregunta;
};
constexpr std::array<TPreguntaVentaDocs, 9> aVentaDocumentos{{
    {180, {ccExiste, caSinFiltro, naTodas, false}},
    {184, {ccOps, caInstCredito, naNacional, true}},
    {185, {ccOps, caCasaCambio, naTodas, true}},
    {186, {ccOps, caInstCredito, naExtranjera, true}},
    {187, {ccMonto, caSinFiltro, naTodas, true}},
    {188, {ccMonto, caInstCredito, naNacional, true}},
    {189, {ccMonto, caCasaCambio, naTodas, true}},
    {190, {ccMonto, caInstCredito, naExtranjera, true}},
    {191, {ccPromedio, caSinFiltro, naTodas, false}},
}};

// Answered by the centre: capital, assets, offices, staff, group, bank
// accounts and their closures, transport of valuables.
bool RespondeElCC(int nPregunta) {
    return nPregunta == 1 || (nPregunta >= 3 && nPregunta <= 32) ||
           (nPregunta >= 192 && nPregunta <= 195);
}

}  // namespace

std::string TRepCuestANDU2017::DameOpsDolares(bool bVenta, const std::string& sFIni,
                                              const std::string& sFFin) const {
    return DameConsOpsDolares(bVenta, sFIni, sFFin);
}

std::string TRepCuestANDU2017::DameOpsCteDolares(bool bVenta) const {
    return DameConsOpsClientes(DameOpsDolares(bVenta, F_sFIni, F_sFFin));
}

std::string TRepCuestANDU2017::DameUsuariosDolares(bool bVenta) const {
    return DameConsUsuarios(DameOpsCteDolares(bVenta));
}

std::string TRepCuestANDU2017::DameOpsOtrasDivisas(bool bVenta, const std::string& sFIni,
                                                   const std::string& sFFin) const {
    return DameConsOpsOtrasDivisas(bVenta, sFIni, sFFin, DameTextoTipoCambio());
}

std::string TRepCuestANDU2017::DameOpsCteOtrasDivisas(bool bVenta) const {
    return DameConsOpsClientes(DameOpsOtrasDivisas(bVenta, F_sFIni, F_sFFin));
}

std::string TRepCuestANDU2017::DameUsuariosOtrasDivisas(bool bVenta) const {
    return DameConsUsuarios(DameOpsCteOtrasDivisas(bVenta));
}

std::string TRepCuestANDU2017::DameOpsDocumentos(bool bVenta, const std::string& sFIni,
                                                 const std::string& sFFin) const {
    return DameConsOpsDocumentos(bVenta, sFIni, sFFin, DameTextoTipoCambio());
}

std::string TRepCuestANDU2017::DameOpsDocsPeriodo(bool bVenta) const {
    return DameOpsDocumentos(bVenta, F_sFIni, F_sFFin);
}

std::string TRepCuestANDU2017::DameOpsCteDocumentos(bool bVenta) const {
    return DameConsOpsClientes(DameOpsDocsPeriodo(bVenta));
}

std::string TRepCuestANDU2017::DameUsuariosDocumentos(bool bVenta) const {
    return DameConsUsuarios(DameOpsCteDocumentos(bVenta));
}

std::string TRepCuestANDU2017::DameBase(TNegocio nNegocio, bool bVenta) const {
    switch (nNegocio) {
        case neDolares:
            return DameOpsDolares(bVenta, F_sFIni, F_sFFin);
        case neOtrasDivisas:
            return DameOpsOtrasDivisas(bVenta, F_sFIni, F_sFFin);
        case neDocumentos:
            break;
    }
    return DameOpsDocumentos(bVenta, F_sFIni, F_sFFin);
}

std::string TRepCuestANDU2017::DameOps(TNegocio nNegocio, bool bVenta) const {
    switch (nNegocio) {
        case neDolares:
            return DameOpsCteDolares(bVenta);
        case neOtrasDivisas:
            return DameOpsCteOtrasDivisas(bVenta);
        case neDocumentos:
            break;
    }
    return DameOpsCteDocumentos(bVenta);
}

std::string TRepCuestANDU2017::DameUsuarios(TNegocio nNegocio, bool bVenta) const {
    switch (nNegocio) {
        case neDolares:
            return DameUsuariosDolares(bVenta);
        case neOtrasDivisas:
            return DameUsuariosOtrasDivisas(bVenta);
        case neDocumentos:
            break;
    }
    return DameUsuariosDocumentos(bVenta);
}

void TRepCuestANDU2017::DameConsulta(int nPregunta, std::string& sConsulta) {
    // The two sale sections: cash currencies (91-148) and documents (180-191).
    const bool bVenta =
        (nPregunta >= 91 && nPregunta <= 148) || (nPregunta >= 180 && nPregunta <= 191);

    auto calcula = [&](TNegocio nNegocio, const TPregunta& p) {
        switch (p.nCalculo) {
            case ccExiste:
                return DameConsExiste(DameBase(nNegocio, bVenta));
            case ccUsuarios:
                return DameConsConteo(DameConsCategoria(DameUsuarios(nNegocio, bVenta),
                                                        p.nCategoria, p.nNacionalidad, p.bSinPEP));
            case ccOps:
                return DameConsConteo(DameConsCategoria(DameOps(nNegocio, bVenta), p.nCategoria,
                                                        p.nNacionalidad, p.bSinPEP));
            case ccMonto:
                return DameConsResultado(DameConsMonto(DameOps(nNegocio, bVenta), p.nCategoria,
                                                       p.nNacionalidad, p.bSinPEP),
                                         "0");
            case ccPromedio:
                break;
        }
        return DameConsResultado(DameConsPromedio(DameOps(nNegocio, bVenta)), "0");
    };

    if (nPregunta < 1 || nPregunta > 195) {
        sConsulta = sTxError;
        return;
    }
    if (RespondeElCC(nPregunta)) {
        sConsulta = sTxCCResponde;
        return;
    }
    switch (nPregunta) {
        case 2:  // main economic sector served, over every operation of the window
            sConsulta = DameConsResultado(
                DameConsActividadFrec(DameConsOpsPeriodo(F_sFIni, F_sFFin)), "NINGUNO");
            return;
        case 130:  // every other-currency sale with a known client
            sConsulta = DameConsConteo(DameOpsCteOtrasDivisas(true));
            return;
        case 150:  // main document purchased
            sConsulta = DameConsResultado(DameConsDivisaFrec(DameOpsDocsPeriodo(false)), "NINGUNO");
            return;
        case 151:  // from whom documents were mainly purchased
            sConsulta = DameConsResultado(
                DameConsClienteFrec(DameOpsCteDocumentos(false), caSinFiltro), "NINGUNO");
            return;
        case 181:  // main document sold
            sConsulta = DameConsResultado(DameConsDivisaFrec(DameOpsDocsPeriodo(true)), "NINGUNO");
            return;
        case 182:  // national bank with the most document sales
            sConsulta = DameConsResultado(
                DameConsClienteFrec(DameOpsCteDocumentos(true), caInstCredito), "NINGUNO");
            return;
        case 183:  // how many document sales
            sConsulta = DameConsConteo(DameOpsCteDocumentos(true));
            return;
    }
    for (const TPreguntaVentaDocs& v : aVentaDocumentos)
        if (v.nPregunta == nPregunta) {
            sConsulta = calcula(neDocumentos, v.pregunta);
            return;
        }
    for (const TFila& fila : aTablaPrincipal)
        for (std::size_t nCol = 0; nCol < aNegocioColumna.size(); ++nCol)
            if (fila.aPreguntas[nCol] == nPregunta) {
                sConsulta = calcula(static_cast<TNegocio>(aNegocioColumna[nCol]), fila.pregunta);
                return;
            }
    sConsulta = sTxError;  // unreachable: 1 to 195 are all covered above
}

std::optional<TCalculoRespuesta> TRepCuestANDU2017::DameCalculo(int nPregunta) {
    if (nPregunta < 1 || nPregunta > 195 || RespondeElCC(nPregunta))
        return std::nullopt;
    switch (nPregunta) {
        case 2:
        case 150:
        case 151:
        case 181:
        case 182:
            return crMasFrecuente;
        case 130:
        case 183:
            return crConteo;
    }
    auto calculo = [](TCalculo n) {
        switch (n) {
            case ccExiste:
                return crExiste;
            case ccUsuarios:
            case ccOps:
                return crConteo;
            case ccMonto:
                return crSuma;
            case ccPromedio:
                break;
        }
        return crPromedio;
    };
    for (const TPreguntaVentaDocs& v : aVentaDocumentos)
        if (v.nPregunta == nPregunta)
            return calculo(v.pregunta.nCalculo);
    for (const TFila& fila : aTablaPrincipal)
        for (int n : fila.aPreguntas)
            if (n == nPregunta)
                return calculo(fila.pregunta.nCalculo);
    return std::nullopt;
}

TEvidenciaPregunta TRepCuestANDU2017::DameEvidenciaPregunta(int nPregunta) {
    const auto nCalculo = DameCalculo(nPregunta);
    if (!nCalculo)
        throw jet::ErrorJet(jet::TErrorJet::EvidenciaNoCalculada, {std::to_string(nPregunta)});
    if (!F_Conector || !F_Conector->Connected())
        throw jet::ErrorJet(jet::TErrorJet::EvidenciaSinConexion);
    std::string sConsulta;
    DameConsulta(nPregunta, sConsulta);
    return DameEvidencia(F_Conector->Motor(), nPregunta, *nCalculo, sConsulta);
}
