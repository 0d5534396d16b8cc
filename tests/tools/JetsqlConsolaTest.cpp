// The console as a person uses it, on a pseudo-terminal: typing, history,
// statements over several lines, Ctrl-C and Ctrl-D.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "TDirTemporal.h"
#include "tests/tools/JetsqlPrograma.h"

namespace {

// jetsql on the far side of a pseudo-terminal, with a home of its own
// (where its history file goes).
class TTerminal {
public:
    TTerminal(const std::string& sArchivo, const std::string& sCasa,
              const std::string& sIdioma = "LANG=C.UTF-8") {
        const std::string sPrograma = ProgramaJetsql();
        const std::string sHome = "HOME=" + sCasa;
        std::vector<char*> argv{const_cast<char*>(sPrograma.c_str()),
                                const_cast<char*>(sArchivo.c_str()), nullptr};
        std::vector<char*> envp{const_cast<char*>(sHome.c_str()), const_cast<char*>("TERM=xterm"),
                                const_cast<char*>(sIdioma.c_str()), nullptr};
        struct winsize ventana = {};
        ventana.ws_row = 40;
        ventana.ws_col = 200;
        pid_ = forkpty(&fd_, nullptr, nullptr, &ventana);
        if (pid_ == 0) {
            execve(sPrograma.c_str(), argv.data(), envp.data());
            _exit(127);
        }
    }
    ~TTerminal() {
        if (pid_ > 0 && !bTerminado_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0)
            close(fd_);
    }

    // Keys go once the line editor has the terminal in its own mode, as a
    // person's would: a Ctrl-D that reaches a terminal still in line mode
    // becomes an end of line, and the editor then never sees it.
    void Escribe(const std::string& s) {
        ASSERT_TRUE(EsperaEditor()) << "el editor de líneas no tomó el terminal";
        ASSERT_EQ(write(fd_, s.data(), s.size()), ssize_t(s.size()));
    }

    // Reads until sTexto appears after what was already seen; true if it did.
    bool Espera(const std::string& sTexto) {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            const size_t n = sVisto_.find(sTexto, nLeido_);
            if (n != std::string::npos) {
                nLeido_ = n + sTexto.size();
                return true;
            }
            const auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(
                fin - std::chrono::steady_clock::now());
            if (resta.count() <= 0)
                return false;
            struct pollfd p = {fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(resta.count())) <= 0)
                return false;
            char buf[4096];
            const ssize_t k = read(fd_, buf, sizeof buf);
            if (k <= 0)
                return false;
            sVisto_.append(buf, static_cast<size_t>(k));
        }
    }
    // What was seen since the last match, for messages.
    std::string Visto() const { return sVisto_.substr(nLeido_); }

    // The exit status, or -1 if the program has not ended within 20 s.
    int EsperaSalida() {
        int nEstado = 0;
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        // Reading keeps the terminal from filling up while it ends.
        while (waitpid(pid_, &nEstado, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > fin)
                return -1;
            Espera("\x01\x02");
        }
        bTerminado_ = true;
        return WIFEXITED(nEstado) ? WEXITSTATUS(nEstado) : -1;
    }

    // A key sent while a statement runs: once the editor has given the
    // terminal back (which then turns Ctrl-C into SIGINT) and the program has
    // spent a fifth of a second of processor time since, far more than
    // reading a line and starting a statement take. A wall-clock wait would
    // not tell a busy machine from a statement not yet started.
    void EscribeMientrasCorre(const std::string& s) {
        ASSERT_TRUE(EsperaEditor(false)) << "el editor no devolvió el terminal";
        const long nInicio = TicsDeProcesador();
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (TicsDeProcesador() - nInicio < sysconf(_SC_CLK_TCK) / 5) {
            ASSERT_LT(std::chrono::steady_clock::now(), fin) << "la instrucción no corre";
            usleep(5000);
        }
        ASSERT_EQ(write(fd_, s.data(), s.size()), ssize_t(s.size()));
    }

private:
    // User and system time of the program, from /proc/PID/stat (fields 14
    // and 15, counted after the parenthesised name that may hold blanks).
    long TicsDeProcesador() const {
        std::ifstream f("/proc/" + std::to_string(pid_) + "/stat");
        std::string s((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        std::istringstream campos(s.substr(s.rfind(')') + 2));
        std::string c;
        long nUsuario = 0, nSistema = 0;
        for (int i = 3; i <= 13; ++i) campos >> c;
        campos >> nUsuario >> nSistema;
        return nUsuario + nSistema;
    }

    // On Linux the master side reads the slave's settings.
    bool EsperaEditor(bool bConEditor = true) const {
        const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            struct termios modo = {};
            if (tcgetattr(fd_, &modo) == 0 && !(modo.c_lflag & ICANON) == bConEditor)
                return true;
            if (std::chrono::steady_clock::now() > fin)
                return false;
            usleep(2000);
        }
    }

    int fd_ = -1;
    pid_t pid_ = -1;
    bool bTerminado_ = false;
    std::string sVisto_;
    size_t nLeido_ = 0;
};

const std::string sIndicador = "jetsql> ";
const std::string sSigue = "   ...> ";

TEST(JetsqlConsola, InstruccionesEnVariasLineasOrdenesYTablaAlineada) {
    TDirTemporal casa;
    TTerminal t(FixtureMdb("jet4-no-password.mdb"), casa.ruta().string());
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    t.Escribe(".tables\r");
    ASSERT_TRUE(t.Espera("Tabla   Filas\r\n------  -----\r\nTable1      3\r\n(1 fila)"))
        << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador));
    // A ';' inside a text does not end the statement; the line after does.
    t.Escribe("SELECT ID, 'a;\r");
    ASSERT_TRUE(t.Espera(sSigue)) << t.Visto();
    t.Escribe("b' AS x\r");
    ASSERT_TRUE(t.Espera(sSigue)) << t.Visto();
    t.Escribe("FROM Table1 WHERE ID > 1;\r");
    ASSERT_TRUE(t.Espera("ID  x\r\n--  ----\r\n 2  a;↵b\r\n 3  a;↵b\r\n(2 filas)")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador));
    t.Escribe("SELECT nada FROM Table1;\r");
    ASSERT_TRUE(t.Espera("EParametroSinValor - ")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    t.Escribe(".salir\r");
    EXPECT_EQ(t.EsperaSalida(), 0);
}

TEST(JetsqlConsola, CtrlCAnulaLaInstruccionSinSalirYCtrlDSale) {
    TDirTemporal casa;
    TTerminal t(FixtureMdb("jet4-no-password.mdb"), casa.ruta().string());
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    t.Escribe("SELECT Data FROM Table1\r");
    ASSERT_TRUE(t.Espera(sSigue)) << t.Visto();
    t.Escribe("WHERE ID = 1");
    t.Escribe("\x03");  // Ctrl-C: the two lines are dropped
    ASSERT_TRUE(t.Espera("^C\r\n" + sIndicador)) << t.Visto();
    // Had the dropped lines stayed, this would be a syntax error.
    t.Escribe("SELECT 7 AS siete;\r");
    ASSERT_TRUE(t.Espera("siete\r\n-----\r\n    7\r\n(1 fila)")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador));
    t.Escribe("\x04");  // Ctrl-D on an empty line
    EXPECT_EQ(t.EsperaSalida(), 0);
}

// Ctrl-C while a statement runs stops that statement, and the rest of what
// was sent with it, and the console stays.
TEST(JetsqlConsola, CtrlCDetieneLaInstruccionQueCorreYLaConsolaSigue) {
    TDirTemporal casa;
    TTerminal t(FixtureMdb("jet4-no-password.mdb"), casa.ruta().string());
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    // 3^20 rows to count: hours, unless stopped.
    std::string sSinFin = "SELECT COUNT(*) AS n FROM Table1 AS t1";
    for (int i = 2; i <= 20; ++i) sSinFin += ", Table1 AS t" + std::to_string(i);
    t.Escribe(sSinFin + "; SELECT 8 AS ocho;\r");
    t.EscribeMientrasCorre("\x03");
    ASSERT_TRUE(t.Espera("EInterrumpida - ")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    EXPECT_EQ(t.Visto().find("ocho"), std::string::npos);
    t.Escribe("SELECT 7 AS siete;\r");
    ASSERT_TRUE(t.Espera("siete\r\n-----\r\n    7\r\n(1 fila)")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador));
    t.Escribe("\x04");
    EXPECT_EQ(t.EsperaSalida(), 0);
}

// A user whose locale is not UTF-8 still types Spanish: the editor used to
// drop the 'ñ' of "Peña" and search for "Pea".
TEST(JetsqlConsola, LeeLetrasAcentuadasEnCualquierLocale) {
    TDirTemporal casa;
    TTerminal t(FixtureMdb("jet4-no-password.mdb"), casa.ruta().string(), "LC_ALL=C");
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    t.Escribe("SELECT 'Peña' AS x, Len('ñandú') AS n;\r");
    ASSERT_TRUE(t.Espera("x     n\r\n----  -\r\nPeña  5\r\n(1 fila)")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador));
    t.Escribe("\x04");
    EXPECT_EQ(t.EsperaSalida(), 0);
}

TEST(JetsqlConsola, LaHistoriaDevuelveLineasDeEstaSesionYDeLaAnterior) {
    TDirTemporal casa;
    {
        TTerminal t(FixtureMdb("jet4-no-password.mdb"), casa.ruta().string());
        ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
        t.Escribe("SELECT Data FROM Table1 WHERE ID = 2;\r");
        ASSERT_TRUE(t.Espera("Two")) << t.Visto();
        ASSERT_TRUE(t.Espera(sIndicador));
        t.Escribe("SELECT 5 AS cinco;\r");
        ASSERT_TRUE(t.Espera("(1 fila)")) << t.Visto();
        ASSERT_TRUE(t.Espera(sIndicador));
        // Up twice: the first statement again, run as it was.
        t.Escribe("\x1b[A\x1b[A\r");
        ASSERT_TRUE(t.Espera("Data\r\n----\r\nTwo\r\n(1 fila)")) << t.Visto();
        ASSERT_TRUE(t.Espera(sIndicador));
        t.Escribe("\x04");
        EXPECT_EQ(t.EsperaSalida(), 0);
    }
    TTerminal t(FixtureMdb("jet4-no-password.mdb"), casa.ruta().string());
    ASSERT_TRUE(t.Espera(sIndicador)) << t.Visto();
    // The history holds both statements and the one run again: up three
    // times and down once is the second one.
    t.Escribe("\x1b[A\x1b[A\x1b[A\x1b[B\r");
    ASSERT_TRUE(t.Espera("cinco\r\n-----\r\n    5\r\n(1 fila)")) << t.Visto();
    ASSERT_TRUE(t.Espera(sIndicador));
    t.Escribe("\x04");
    EXPECT_EQ(t.EsperaSalida(), 0);
}

}  // namespace
