#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One client that Norvex's alerts flagged as a possible PEP.
struct TFilaPEP {
    int nIdPEP = 0;
    std::string sClaveCliente;
    std::string sNombre;
    bool bEsPEP = false;
};

// The in-memory PEP table: filled by the detection, shown in the grid where
// the user ticks the real PEPs, read by the next report run. Texts are cut to
// their field width (in characters, not bytes) when stored, as the table's
// fields would.
class TTablaPEPs {
public:
    static constexpr std::size_t nAnchoClaveCliente = 20;
    static constexpr std::size_t nAnchoNombre = 100;

    // Discards every row, ticks included.
    void Vacia() { F_Filas.clear(); }
    void Agrega(int nIdPEP, const std::string& sClaveCliente, const std::string& sNombre,
                bool bEsPEP);
    void MarcaPEP(std::size_t nFila, bool bEsPEP) { F_Filas.at(nFila).bEsPEP = bEsPEP; }

    std::size_t Cuenta() const { return F_Filas.size(); }
    bool EstaVacia() const { return F_Filas.empty(); }
    const TFilaPEP& Fila(std::size_t nFila) const { return F_Filas.at(nFila); }
    const std::vector<TFilaPEP>& Filas() const { return F_Filas; }

    // The first nCaracteres characters of a UTF-8 text.
    static std::string Corta(const std::string& sTexto, std::size_t nCaracteres);

private:
    std::vector<TFilaPEP> F_Filas;
};
