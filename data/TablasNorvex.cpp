#include "data/TablasNorvex.h"

#include <strings.h>

namespace {

using jet::TColumna;
using jet::TTipoColumna;

TColumna Texto(const char* s, int nTamano) {
    return {s, TTipoColumna::tcTexto, nTamano};
}
TColumna De(const char* s, TTipoColumna t) {
    return {s, t};
}

// The same layout in both operation tables.
std::vector<TColumna> Operaciones() {
    return {Texto("Tipo", 1),
            De("Folio", TTipoColumna::tcEnteroLargo),
            De("Fecha", TTipoColumna::tcFechaHora),
            Texto("Hora", 8),
            De("NumeroDivisa", TTipoColumna::tcEnteroLargo),
            De("Cotizacion", TTipoColumna::tcDoble),
            De("Cantidad", TTipoColumna::tcDoble),
            De("Importe", TTipoColumna::tcMoneda),
            Texto("ClaveCliente", 20),
            De("NumEmp", TTipoColumna::tcEnteroLargo),
            De("Cancelado", TTipoColumna::tcBooleano),
            Texto("ClaveEmp", 20)};
}

class TNorvexVacio : public jet::TArchivoAccess {
public:
    const std::string& Ruta() const override { return F_sRuta; }
    int VersionJet() const override { return 4; }
    jet::TFirmaArchivo Firma() const override { return {}; }
    std::vector<std::string> DameNombresTablas() const override {
        std::vector<std::string> r;
        for (const jet::TTabla& t : TablasNorvex()) r.push_back(t.sNombre);
        return r;
    }
    const jet::TTabla* BuscaTabla(const std::string& sNombre) const override {
        for (const jet::TTabla& t : TablasNorvex())
            if (strcasecmp(t.sNombre.c_str(), sNombre.c_str()) == 0)
                return &t;
        return nullptr;
    }
    void LeeFilas(const std::string&,
                  const std::function<void(const std::vector<jet::TValor>&)>&) const override {}

private:
    std::string F_sRuta = "Norvex (sin datos)";
};

}  // namespace

const std::vector<jet::TTabla>& TablasNorvex() {
    static const std::vector<jet::TTabla> tablas = {
        {"tRelevan",
         {De("IdRelevan", TTipoColumna::tcEnteroLargo), Texto("TipoRelev", 1),
          De("Fecha", TTipoColumna::tcFechaHora), Texto("Observaciones", 255),
          De("NumEmp", TTipoColumna::tcEnteroLargo), Texto("ClaveCliente", 20),
          De("Comentarios", TTipoColumna::tcMemo)}},
        {"tEmpresa",
         {De("NumEmp", TTipoColumna::tcEnteroLargo), Texto("Empresa", 100), Texto("RFC", 13),
          Texto("RegistroCC", 30), Texto("NomComercial", 100), Texto("Domicilio", 150)}},
        {"tEmps",
         {Texto("ClaveEmp", 20), Texto("Nombre", 60), Texto("Password", 20),
          De("Nivel", TTipoColumna::tcEntero), De("Activo", TTipoColumna::tcBooleano)}},
        {"tCompUsr",
         {Texto("Computadora", 50), Texto("ClaveEmp", 20),
          De("FechaEntrada", TTipoColumna::tcFechaHora)}},
        {"tSector",
         {De("ClaveSector", TTipoColumna::tcEnteroLargo), Texto("Sector", 100),
          Texto("ClaveActividad", 7)}},
        {"tDivisas",
         {De("NumeroDivisa", TTipoColumna::tcEnteroLargo), Texto("Simbolo", 10),
          Texto("Divisa", 50), De("Pagare", TTipoColumna::tcBooleano)}},
        {"tCliente",
         {Texto("ClaveCliente", 20), Texto("Nombre", 100), Texto("ApellidoPaterno", 50),
          Texto("ApellidoMaterno", 50), De("PersonaMoral", TTipoColumna::tcBooleano),
          De("Extranjero", TTipoColumna::tcBooleano),
          De("ClaveSector", TTipoColumna::tcEnteroLargo), De("NumEmp", TTipoColumna::tcEnteroLargo),
          Texto("RFC", 13), De("FechaAlta", TTipoColumna::tcFechaHora)}},
        {"tMovtos", Operaciones()},
        {"tProces", Operaciones()},
    };
    return tablas;
}

std::unique_ptr<jet::TArchivoAccess> CreaNorvexVacio() {
    return std::make_unique<TNorvexVacio>();
}
