#include "report/TablaPEPs.h"

void TTablaPEPs::Vacia() {
    F_Filas.clear();
    Avisa();
}

void TTablaPEPs::MarcaPEP(std::size_t nFila, bool bEsPEP) {
    F_Filas.at(nFila).bEsPEP = bEsPEP;
    Avisa();
}

void TTablaPEPs::AgregaAlerta(const std::string& sClaveCliente, const TAlertaPEP& Alerta) {
    const std::string sClave = Corta(sClaveCliente, nAnchoClaveCliente);
    bool bCambio = false;
    for (TFilaPEP& f : F_Filas)
        if (f.sClaveCliente == sClave) {
            f.vAlertas.push_back(Alerta);
            bCambio = true;
        }
    if (bCambio)
        Avisa();
}

void TTablaPEPs::Agrega(int nIdPEP, const std::string& sClaveCliente, const std::string& sNombre,
                        bool bEsPEP) {
    F_Filas.push_back({nIdPEP,
                       Corta(sClaveCliente, nAnchoClaveCliente),
                       Corta(sNombre, nAnchoNombre),
                       bEsPEP,
                       {}});
    Avisa();
}

std::string TTablaPEPs::Corta(const std::string& sTexto, std::size_t nCaracteres) {
    std::size_t nCuenta = 0;
    for (std::size_t i = 0; i < sTexto.size(); ++i) {
        // Continuation bytes belong to the character already counted.
        if ((static_cast<unsigned char>(sTexto[i]) & 0xC0) == 0x80)
            continue;
        if (nCuenta++ == nCaracteres)
            return sTexto.substr(0, i);
    }
    return sTexto;
}

std::string DameDetallePEP(const TFilaPEP& Fila) {
    std::string s = "Clave del cliente: " + Fila.sClaveCliente;
    for (const TAlertaPEP& a : Fila.vAlertas)
        s += "\nAlerta del " + a.sFecha + ": " + a.sObservaciones;
    return s;
}
