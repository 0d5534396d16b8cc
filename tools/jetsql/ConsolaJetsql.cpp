#include "tools/jetsql/ConsolaJetsql.h"

#include <histedit.h>
#include <signal.h>

#include <cctype>
#include <iostream>
#include <memory>

#include "tools/jetsql/DivisorGuion.h"

namespace {

volatile sig_atomic_t gbInterrumpido = 0;

void AlInterrumpir(int) {
    gbInterrumpido = 1;
}

// Ctrl-C while a line is read: the read is interrupted (no SA_RESTART), so
// el_gets returns and the console drops what was typed.
class TCapturaInterrupcion {
public:
    TCapturaInterrupcion() {
        struct sigaction sa = {};
        sa.sa_handler = AlInterrumpir;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &anterior_);
    }
    ~TCapturaInterrupcion() { sigaction(SIGINT, &anterior_, nullptr); }
    // While a statement runs the engine cannot be stopped midway: Ctrl-C
    // then ends the program as it would without a console.
    class TEjecutando {
    public:
        explicit TEjecutando(const TCapturaInterrupcion& c) : c_(c) {
            sigaction(SIGINT, &c_.anterior_, &propia_);
        }
        ~TEjecutando() { sigaction(SIGINT, &propia_, nullptr); }

    private:
        const TCapturaInterrupcion& c_;
        struct sigaction propia_ = {};
    };

private:
    struct sigaction anterior_ = {};
};

bool gbContinuacion = false;

const char* Indicador(EditLine*) {
    return gbContinuacion ? "   ...> " : "jetsql> ";
}

struct TCierraEditor {
    void operator()(EditLine* p) const { el_end(p); }
};
struct TCierraHistoria {
    void operator()(History* p) const { history_end(p); }
};

bool SoloBlancos(const std::string& s) {
    for (const char c : s)
        if (!std::isspace(static_cast<unsigned char>(c)))
            return false;
    return true;
}

}  // namespace

int EjecutaConsola(TSesionJetsql& sesion, FILE* entrada, FILE* salida, FILE* errores,
                   const std::string& sHistorial) {
    std::unique_ptr<EditLine, TCierraEditor> el(el_init("jetsql", entrada, salida, errores));
    std::unique_ptr<History, TCierraHistoria> historia(history_init());
    HistEvent ev;
    history(historia.get(), &ev, H_SETSIZE, 1000);
    history(historia.get(), &ev, H_SETUNIQUE, 1);
    if (!sHistorial.empty())
        history(historia.get(), &ev, H_LOAD, sHistorial.c_str());
    el_set(el.get(), EL_EDITOR, "emacs");
    el_set(el.get(), EL_HIST, history, historia.get());
    el_set(el.get(), EL_PROMPT, Indicador);
    el_source(el.get(), nullptr);  // the user's ~/.editrc, as other libedit programs

    TCapturaInterrupcion captura;
    std::fputs(
        "jetsql: instrucciones terminadas en ';', .ayuda para las órdenes, Ctrl-D para "
        "salir.\n",
        salida);
    std::string sPendiente;
    gbContinuacion = false;
    while (!sesion.Terminada()) {
        gbInterrumpido = 0;
        int n = 0;
        const char* pLinea = el_gets(el.get(), &n);
        if (!pLinea || gbInterrumpido) {
            if (!gbInterrumpido && n == 0)
                break;  // Ctrl-D or the end of the input
            // Ctrl-C: what was being typed is dropped, the console stays.
            std::fputs("^C\n", salida);
            sPendiente.clear();
            gbContinuacion = false;
            continue;
        }
        std::string sLinea(pLinea, static_cast<size_t>(n));
        if (!SoloBlancos(sLinea)) {
            std::string sEntrada = sLinea;
            if (!sEntrada.empty() && sEntrada.back() == '\n')
                sEntrada.pop_back();
            history(historia.get(), &ev, H_ENTER, sEntrada.c_str());
        }
        if (sPendiente.empty() && SoloBlancos(sLinea))
            continue;
        const bool bPrimera = sPendiente.empty();
        sPendiente += sLinea;
        if (sPendiente.back() != '\n')
            sPendiente += '\n';
        // Only a ';' ends a statement: a long paste is not cut again at
        // every line (a dot command is a first line of its own).
        if (!bPrimera && sLinea.find(';') == std::string::npos) {
            gbContinuacion = true;
            continue;
        }
        TDivisorGuion divisor(sPendiente);
        std::string sResto;
        while (const auto pieza = divisor.Siguiente()) {
            if (pieza->eTipo == TDivisorGuion::TPieza::tpInstruccion && !pieza->bTerminada) {
                sResto = pieza->sTexto + "\n";
                break;
            }
            std::fflush(salida);
            TCapturaInterrupcion::TEjecutando ejecutando(captura);
            if (pieza->eTipo == TDivisorGuion::TPieza::tpPunto)
                sesion.EjecutaPunto(pieza->sTexto);
            else
                sesion.EjecutaInstruccion(pieza->sTexto);
            std::cout.flush();
            std::cerr.flush();
            if (sesion.Terminada())
                break;
        }
        sPendiente = sResto;
        gbContinuacion = !sPendiente.empty();
    }
    if (!sHistorial.empty())
        history(historia.get(), &ev, H_SAVE, sHistorial.c_str());
    if (!sesion.Terminada())
        std::fputs("\n", salida);
    return 0;
}
