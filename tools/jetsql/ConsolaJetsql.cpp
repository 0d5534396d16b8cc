#include "tools/jetsql/ConsolaJetsql.h"

#include <fcntl.h>
#include <histedit.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <clocale>
#include <cwchar>
#include <iostream>
#include <memory>

#include "tools/jetsql/DivisorGuion.h"

namespace {

volatile sig_atomic_t gbInterrumpido = 0;
// The engine's heartbeat while a statement runs; set before the handler
// that reads it is installed.
jet::TLatido* gpLatido = nullptr;

void AlInterrumpir(int) {
    gbInterrumpido = 1;
}

void AlInterrumpirEjecucion(int) {
    gbInterrumpido = 1;
    gpLatido->Interrumpe();
}

// Ctrl-C while a line is read drops what was typed. SIGINT stays blocked
// while the editor works and is let in only while LeeTecla waits for a key
// (ppoll does both at once): a Ctrl-C that comes while the editor is busy
// echoing waits for that moment instead of being lost until the next key.
class TCapturaInterrupcion {
public:
    TCapturaInterrupcion() {
        struct sigaction sa = {};
        sa.sa_handler = AlInterrumpir;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGINT, &sa, &anterior_);
    }
    ~TCapturaInterrupcion() { sigaction(SIGINT, &anterior_, nullptr); }

    // While the editor has the terminal.
    class TLeyendo {
    public:
        TLeyendo() {
            sigset_t bloqueo;
            sigemptyset(&bloqueo);
            sigaddset(&bloqueo, SIGINT);
            sigprocmask(SIG_BLOCK, &bloqueo, &mascara_);
        }
        // A Ctrl-C pending from the editor's last moments arrives here,
        // before the line is looked at.
        ~TLeyendo() { sigprocmask(SIG_SETMASK, &mascara_, nullptr); }

    private:
        sigset_t mascara_;
    };

    // While a statement runs Ctrl-C asks the engine to stop it; the engine
    // looks at the request every thousand steps and between copied rows.
    class TEjecutando {
    public:
        explicit TEjecutando(jet::TLatido& latido) {
            latido.Reanuda();
            gpLatido = &latido;
            struct sigaction sa = {};
            sa.sa_handler = AlInterrumpirEjecucion;
            sigemptyset(&sa.sa_mask);
            sigaction(SIGINT, &sa, &propia_);
            // A Ctrl-C since the line was read is for this statement too.
            if (gbInterrumpido)
                latido.Interrumpe();
        }
        ~TEjecutando() { sigaction(SIGINT, &propia_, nullptr); }

    private:
        struct sigaction propia_ = {};
    };

private:
    struct sigaction anterior_ = {};
};

// Where the keys are read from: a descriptor of our own on the same
// terminal that never blocks. A Ctrl-C discards what was typed but not yet
// read, so a read that poll promised data for could otherwise wait, with
// SIGINT blocked, for a key that never comes. Without one (the terminal's
// name unknown) the keys are read from the input itself.
class TTeclado {
public:
    explicit TTeclado(FILE* entrada) : fdEntrada_(fileno(entrada)) {
        if (const char* sTerminal = ttyname(fdEntrada_))
            fdPropio_ = open(sTerminal, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    }
    ~TTeclado() {
        if (fdPropio_ >= 0)
            close(fdPropio_);
    }
    TTeclado(const TTeclado&) = delete;
    TTeclado& operator=(const TTeclado&) = delete;
    int Descriptor() const { return fdPropio_ >= 0 ? fdPropio_ : fdEntrada_; }

private:
    int fdEntrada_;
    int fdPropio_ = -1;
};

// The editor's key reader: one character, decoded from the terminal's
// UTF-8 a byte at a time. 1 with a character, 0 at the end of the input,
// -1 when interrupted or on an error (the editor then returns no line).
int LeeTecla(EditLine* el, wchar_t* pCaracter) {
    void* pTeclado = nullptr;
    el_get(el, EL_CLIENTDATA, &pTeclado);
    const int fd = static_cast<const TTeclado*>(pTeclado)->Descriptor();
    sigset_t sinBloqueo;
    sigprocmask(SIG_BLOCK, nullptr, &sinBloqueo);
    sigdelset(&sinBloqueo, SIGINT);
    std::mbstate_t estado = {};
    for (;;) {
        struct pollfd espera = {fd, POLLIN, 0};
        if (ppoll(&espera, 1, nullptr, &sinBloqueo) < 0) {
            if (errno == EINTR && !gbInterrumpido)
                continue;
            return -1;
        }
        char c = 0;
        const ssize_t n = read(fd, &c, 1);
        if (n == 0)
            return 0;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return -1;
        }
        const size_t k = std::mbrtowc(pCaracter, &c, 1, &estado);
        if (k == static_cast<size_t>(-2))
            continue;  // more bytes of the same character
        if (k == static_cast<size_t>(-1)) {
            estado = {};  // not UTF-8: the byte is dropped
            continue;
        }
        return 1;
    }
}

// The editor decodes and shows what is typed by the C library's character
// type; the program's text is UTF-8 whatever the user's locale says, so
// "Peña" typed is "Peña" read.
class TCaracteresUtf8 {
public:
    TCaracteresUtf8() {
        if (const char* p = std::setlocale(LC_CTYPE, nullptr))
            sAnterior_ = p;
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    ~TCaracteresUtf8() { std::setlocale(LC_CTYPE, sAnterior_.c_str()); }

private:
    std::string sAnterior_ = "C";
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

int EjecutaConsola(TSesionJetsql& sesion, jet::TLatido& latido, FILE* entrada, FILE* salida,
                   FILE* errores, const std::string& sHistorial) {
    TCaracteresUtf8 utf8;
    TTeclado teclado(entrada);
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
    el_set(el.get(), EL_CLIENTDATA, &teclado);
    el_set(el.get(), EL_GETCFN, LeeTecla);
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
        const char* pLinea = nullptr;
        {
            TCapturaInterrupcion::TLeyendo leyendo;
            pLinea = el_gets(el.get(), &n);
        }
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
            TCapturaInterrupcion::TEjecutando ejecutando(latido);
            if (pieza->eTipo == TDivisorGuion::TPieza::tpPunto)
                sesion.EjecutaPunto(pieza->sTexto);
            else
                sesion.EjecutaInstruccion(pieza->sTexto);
            std::cout.flush();
            std::cerr.flush();
            // A Ctrl-C stops what was pasted after the statement too.
            if (sesion.Terminada() || gbInterrumpido)
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
