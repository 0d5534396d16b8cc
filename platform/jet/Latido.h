#pragma once

#include <atomic>
#include <chrono>
#include <functional>

namespace jet {

// A call the engine makes now and then while it works (copying a table,
// running a statement), so that a program with a window can keep it painted
// during a long question. Whoever creates the engine hands one in
// (TMotorJet::PonLatido); without one the engine just works. The call comes
// at most once per interval and never from inside itself; whatever it throws
// is dropped, since it runs inside SQLite.
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

private:
    using TReloj = std::chrono::steady_clock;
    TAviso aviso_;
    TReloj::duration intervalo_;
    TReloj::time_point ultimo_;
    bool bDentro_ = false;
    std::atomic<bool> bInterrumpir_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

}  // namespace jet
