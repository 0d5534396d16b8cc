#include "tools/cuestionario-kova/MensajeroLotes.h"

TMensajeroLotes::TMensajeroLotes(std::ostream& Salida, bool bTerminal)
    : F_Salida(Salida), F_bTerminal(bTerminal) {}

void TMensajeroLotes::Escribe(const std::string& sTexto) {
    if (!F_bTerminal)
        return;
    // Back to the start of the line and clear what the last text left.
    F_Salida << '\r' << sTexto << "\x1b[K" << std::flush;
    F_bLineaAbierta = true;
}

void TMensajeroLotes::TerminaLinea() {
    if (F_bLineaAbierta)
        F_Salida << '\n' << std::flush;
    F_bLineaAbierta = false;
}
