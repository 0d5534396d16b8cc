#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// One of the alerts that made a client a candidate: its day (dd/mm/yyyy)
// and Norvex's observations.
struct TAlertaPEP {
    std::string sFecha;
    std::string sObservaciones;
};

// One client that Norvex's alerts flagged as a possible PEP.
struct TFilaPEP {
    int nIdPEP = 0;
    std::string sClaveCliente;
    std::string sNombre;
    bool bEsPEP = false;
    // What the reviewer needs to tell homonyms apart; not part of the list.
    std::vector<TAlertaPEP> vAlertas;
};

// The key and the alerts of a candidate, one per line, as the list's tooltip
// and the batch program's listing show them.
std::string DameDetallePEP(const TFilaPEP& Fila);

// The in-memory PEP table: filled by the detection, shown in the grid where
// the user ticks the real PEPs, read by the next report run. Texts are cut to
// their field width (in characters, not bytes) when stored, as the table's
// fields would.
class TTablaPEPs {
public:
    static constexpr std::size_t nAnchoClaveCliente = 20;
    static constexpr std::size_t nAnchoNombre = 100;

    // Discards every row, ticks included.
    void Vacia();
    void Agrega(int nIdPEP, const std::string& sClaveCliente, const std::string& sNombre,
                bool bEsPEP);
    void MarcaPEP(std::size_t nFila, bool bEsPEP);
    // Adds an alert to the rows of that client's key (as stored, cut to the
    // field's width); a key no row has is ignored.
    void AgregaAlerta(const std::string& sClaveCliente, const TAlertaPEP& Alerta);

    // Called after every change, so that a view over the table (the grid's
    // model) can refresh whoever made the change.
    void FijaAvisoCambio(std::function<void()> aviso) { F_AvisoCambio = std::move(aviso); }

    std::size_t Cuenta() const { return F_Filas.size(); }
    bool EstaVacia() const { return F_Filas.empty(); }
    const TFilaPEP& Fila(std::size_t nFila) const { return F_Filas.at(nFila); }
    const std::vector<TFilaPEP>& Filas() const { return F_Filas; }

    // The first nCaracteres characters of a UTF-8 text.
    static std::string Corta(const std::string& sTexto, std::size_t nCaracteres);

private:
    void Avisa() const {
        if (F_AvisoCambio)
            F_AvisoCambio();
    }

    std::vector<TFilaPEP> F_Filas;
    std::function<void()> F_AvisoCambio;
};
