#pragma once

#include <ostream>
#include <string>

#include "app/IIMensajero.h"

// The status line of a batch run: on a terminal one line of standard error
// rewritten in place (the percentage of the run); elsewhere nothing, so that
// logs and pipes get only the messages that matter. Never pauses.
class TMensajeroLotes : public IMensajero {
public:
    TMensajeroLotes(std::ostream& Salida, bool bTerminal);

    void MsjEnTx(const std::string& sTexto) override { Escribe(sTexto); }
    void MsjTxTemp(const std::string& sTexto) override { Escribe(sTexto); }
    void MsjTxEspera(const std::string& sTexto, bool) override { Escribe(sTexto); }
    void CampoObligatorio(QLabel*, QWidget*) override {}
    void SettxLabel(QLabel*) override {}
    void SetbDefColorAlerta(bool) override {}
    bool GetbDefColorAlerta() const override { return true; }

    // Ends the status line, so that a message starts on a line of its own.
    void TerminaLinea();

private:
    void Escribe(const std::string& sTexto);

    std::ostream& F_Salida;
    bool F_bTerminal;
    bool F_bLineaAbierta = false;
};
