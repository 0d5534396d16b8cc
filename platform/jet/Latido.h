#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>

namespace jet {

// A call the engine makes now and then while it works (copying a table,
// running a statement), so that a program with a window can keep it painted
// during a long question. Whoever creates the engine hands one in
// (TMotorJet::PonLatido); without one the engine just works. The call comes
// at most once per interval, never from inside itself, and only on the
// thread that uses the engine. It runs inside SQLite's callbacks, through
// which nothing may unwind: what it throws is dropped (it only keeps a window
// painted), except a lack of memory, which stops the work under way as an
// interruption would and which the engine throws as it came once SQLite has
// returned (RelanzaFallo).
class TLatido {
public:
    using TAviso = std::function<void()>;
    explicit TLatido(TAviso aviso,
                     std::chrono::milliseconds intervalo = std::chrono::milliseconds(50));
    // Where the engine may spend long; cheap when the interval has not passed.
    void Late();
    // Asks the engine to give up the work under way (a console's Ctrl-C): the
    // statement running, or the table being copied for it, fails with
    // EInterrumpida and the snapshot stays as it was. One lock-free store,
    // so a signal handler may call it.
    void Interrumpe() { bInterrumpir_.store(true, std::memory_order_relaxed); }
    bool Interrumpido() const { return bInterrumpir_.load(std::memory_order_relaxed); }
    // Lets the next piece of work run.
    void Reanuda() { bInterrumpir_.store(false, std::memory_order_relaxed); }
    // How often a waiting engine wakes to call it: its interval, at least a
    // millisecond (a wait is no busy loop).
    std::chrono::milliseconds Espera() const {
        return std::max(std::chrono::milliseconds(1),
                        std::chrono::duration_cast<std::chrono::milliseconds>(intervalo_));
    }
    // If the call ran out of memory, lets the next piece of work run and
    // throws that failure; otherwise nothing.
    void RelanzaFallo();

private:
    using TReloj = std::chrono::steady_clock;
    TAviso aviso_;
    TReloj::duration intervalo_;
    TReloj::time_point ultimo_;
    bool bDentro_ = false;
    std::exception_ptr fallo_;  // the call's, until the engine throws it
    std::atomic<bool> bInterrumpir_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace jet
