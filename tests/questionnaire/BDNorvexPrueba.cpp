#include "BDNorvexPrueba.h"

#include "platform/jet/sql/FechaJet.h"

using mdb::TColumnaMdb;
using mdb::TTipoMdb;

double Fecha(int nAnio, int nMes, int nDia, int nHora, int nMinuto, int nSegundo) {
    return jet::sql::SerialDeFecha(nAnio, nMes, nDia,
                                   (nHora * 3600 + nMinuto * 60 + nSegundo) / 86400.0);
}

std::string CadenaNorvex(const std::string& sRuta) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sRuta +
           ";Persist Security Info=True;Mode=Share Deny None;Jet OLEDB:Database Password=quilon";
}

void TBDNorvex::Escribe(const std::string& sRuta) const {
    mdb::TEscritorMdb e(sRuta, {.sContrasena = "quilon"});
    const TColumnaMdb texto1{"Tipo", TTipoMdb::tmTexto, 1};
    e.CreaTabla("tEmpresa", {{"Empresa", TTipoMdb::tmTexto, 100},
                             {"RFC", TTipoMdb::tmTexto, 20},
                             {"RegistroCC", TTipoMdb::tmTexto, 20},
                             {"NumEmp", TTipoMdb::tmLargo},
                             {"NomComercial", TTipoMdb::tmTexto, 100}});
    for (const auto& f : empresas) e.AgregaFila(f);
    if (!bSinCompUsr) {
        e.CreaTabla("tCompUsr", {{"ClaveEmp", TTipoMdb::tmTexto, 20}});
        for (const auto& s : usuariosConectados) e.AgregaFila({s});
    }
    e.CreaTabla("tEmps", {{"ClaveEmp", TTipoMdb::tmTexto, 20},
                          {"Password", TTipoMdb::tmTexto, 20},
                          {"Nivel", TTipoMdb::tmLargo}});
    for (const auto& u : emps) e.AgregaFila({u.sClave, u.vPassword, u.nNivel});
    e.CreaTabla("tRelevan", {{"TipoRelev", TTipoMdb::tmTexto, 1},
                             {"Fecha", TTipoMdb::tmFechaHora},
                             {"Observaciones", TTipoMdb::tmTexto, 255},
                             {"NumEmp", TTipoMdb::tmLargo},
                             {"ClaveCliente", TTipoMdb::tmTexto, 30}});
    for (const auto& a : alertas)
        e.AgregaFila({a.sTipo, jet::TFecha{a.dFecha}, a.sObservaciones, a.nEmp, a.sCliente});
    e.CreaTabla("tCliente", {{"ClaveCliente", TTipoMdb::tmTexto, 30},
                             {"Nombre", TTipoMdb::tmTexto, 150},
                             {"ApellidoPaterno", TTipoMdb::tmTexto, 50},
                             {"ApellidoMaterno", TTipoMdb::tmTexto, 50},
                             {"PersonaMoral", TTipoMdb::tmBooleano},
                             {"Extranjero", TTipoMdb::tmBooleano},
                             {"ClaveSector", TTipoMdb::tmLargo},
                             {"NumEmp", TTipoMdb::tmLargo}});
    for (const auto& c : clientes)
        e.AgregaFila({c.sClave, c.vNombre, c.vPaterno, c.vMaterno, c.bMoral, c.bExtranjero,
                      c.nSector, c.nEmp});
    e.CreaTabla("tSector", {{"ClaveSector", TTipoMdb::tmLargo},
                            {"Sector", TTipoMdb::tmTexto, 100},
                            {"ClaveActividad", TTipoMdb::tmTexto, 7}});
    for (const auto& f : sectores) e.AgregaFila(f);
    e.CreaTabla("tDivisas", {{"NumeroDivisa", TTipoMdb::tmLargo},
                             {"Simbolo", TTipoMdb::tmTexto, 10},
                             {"Divisa", TTipoMdb::tmTexto, 50},
                             {"Pagare", TTipoMdb::tmBooleano}});
    for (const auto& f : divisas) e.AgregaFila(f);
    for (bool bProces : {false, true}) {
        e.CreaTabla(bProces ? "tProces" : "tMovtos", {texto1,
                                                      {"Folio", TTipoMdb::tmLargo},
                                                      {"Fecha", TTipoMdb::tmFechaHora},
                                                      {"NumeroDivisa", TTipoMdb::tmLargo},
                                                      {"Cotizacion", TTipoMdb::tmDoble},
                                                      {"Cantidad", TTipoMdb::tmDoble},
                                                      {"ClaveCliente", TTipoMdb::tmTexto, 30},
                                                      {"NumEmp", TTipoMdb::tmLargo},
                                                      {"Cancelado", TTipoMdb::tmBooleano}});
        for (const auto& o : ops)
            if (o.bEnProces == bProces)
                e.AgregaFila({o.sTipo, o.nFolio, jet::TFecha{o.dFecha}, o.nDivisa, o.dCotizacion,
                              o.dCantidad, o.sCliente, o.nEmp, o.bCancelado});
    }
    e.Cierra();
}

std::string R(const std::string& s) {
    return "Respuesta: " + s;
}

std::map<int, std::string> RespuestasVacias() {
    std::map<int, std::string> r;
    for (int n = 1; n <= 195; ++n) r[n] = R("0");
    for (int n : {1, 192, 193, 194, 195}) r[n] = sMano;
    for (int n = 3; n <= 32; ++n) r[n] = sMano;
    for (int n : {33, 62, 91, 120, 149, 180}) r[n] = R("NO");
    for (int n : {2, 150, 151, 181, 182}) r[n] = R("NINGUNO");
    return r;
}
