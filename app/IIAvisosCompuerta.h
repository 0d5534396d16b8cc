#pragma once

#include <string>

// How the access gate reaches the user: the window answers with its boxes,
// status line and flashing captions, the batch program with standard error.
class IAvisosCompuerta {
public:
    virtual ~IAvisosCompuerta() = default;
    // The database file is missing: a plain box with an OK button. It comes
    // before anything of the job has run, so the window keeps its wait cursor.
    virtual void MuestraSinBD(const std::string& sTexto) = 0;
    // Any other blocking condition: a plain box with an OK button.
    virtual void MuestraCaja(const std::string& sTexto) = 0;
    // A status text followed by the short pause ("Conectando con la BD...").
    virtual void MuestraEstado(const std::string& sTexto) = 0;
    // The job's own reaction to refused credentials; sCaja is the box text,
    // sEstado the status-line text (they differ in one blank).
    virtual void CredencialesRechazadas(const std::string& sCaja, const std::string& sEstado) = 0;
};
