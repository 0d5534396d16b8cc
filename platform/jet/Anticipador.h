#pragma once

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "platform/jet/Latido.h"
#include "platform/jet/sql/Compilador.h"

namespace jet {

class TInstantanea;
struct TResultado;

// Answers ahead, on a thread of its own and a second connection to the same
// snapshot, statements the caller is going to ask, so that a questionnaire
// uses both cores: the caller answers its statements from the front of the
// list, the thread from the back, until they meet.
//
// Use: built once the derived tables that the statements share are kept (the
// engine builds it after the list's first statement); the caller then asks
// Toma(i) for i in order and runs the statement itself when it gets nothing.
//
// The thread never writes the shared database: it reads the tables already
// copied and the derived tables already kept there, and keeps the derived
// tables its own statements need in a database of its own connection (the
// caller's connection, meanwhile, keeps its new ones apart too:
// TInstantanea::PonDerivadasAparte). A statement it cannot answer (a table not
// copied yet, a Jet failure) is left to the caller, which then fails exactly
// as it would have without the thread; any other failure (a lack of memory, a
// fault of ours) stops the thread and is thrown, as it came, by the Toma of
// that statement. The heartbeat is only ever called on the caller's
// thread; an interruption (TLatido::Interrumpe) stops both. Destroying it stops the thread's
// statement and joins the thread (a std::jthread), whatever path destroys it.
class TAnticipador {
public:
    // consultas: the whole list; the thread takes those from nDesde on,
    // compiled with the caller's options.
    TAnticipador(const TInstantanea& instantanea, std::vector<std::string> consultas, size_t nDesde,
                 std::shared_ptr<TLatido> latido, sql::TOpciones opciones);
    ~TAnticipador();
    TAnticipador(const TAnticipador&) = delete;
    TAnticipador& operator=(const TAnticipador&) = delete;

    // The answer to consultas[i] if the thread has it, waiting (and beating
    // the heartbeat) while the thread works on it; nothing if the caller is
    // to run it. Throws EInterrumpida if an interruption is asked meanwhile,
    // and the thread's own failure on that statement if not a Jet one.
    // i only grows from one call to the next.
    std::optional<TResultado> Toma(size_t i);
    // How many answers the thread gave (for the bench and the tests).
    size_t Anticipadas() const;

private:
    enum class TEstado { Libre, DelLlamador, EnCurso, Hecha, Fallida };
    struct TRanura {
        TEstado eEstado = TEstado::Libre;
        std::unique_ptr<TResultado> resultado;
        std::exception_ptr fallo;  // Fallida for a reason the caller must see
    };

    const TInstantanea& instantanea_;
    const sql::TOpciones opciones_;
    const std::vector<std::string> consultas_;
    const std::shared_ptr<TLatido> latido_;
    mutable std::mutex m_;
    std::condition_variable cambio_;
    std::vector<TRanura> ranuras_;            // guarded by m_
    size_t nAnticipadas_ = 0;                 // guarded by m_
    const std::stop_token* parar_ = nullptr;  // the thread's own; only it reads this
    std::jthread hilo_;  // last: starts once everything above exists, stops and joins first

    void Trabaja(const std::stop_token& parar);
    bool Detener() const;
};

}  // namespace jet
