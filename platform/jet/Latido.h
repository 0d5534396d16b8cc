#pragma once

#include <chrono>
#include <functional>

namespace jet {

// A call the engine makes now and then while it works (copying a table,
// running a statement), so that a program with a window can keep it painted
// during a long question. Process-wide: set once at start-up. The call comes
// at most once per interval and never from inside itself; whatever it throws
// is dropped, since it runs inside SQLite.
class TLatido {
public:
    using TAviso = std::function<void()>;
    static void Pon(TAviso aviso,
                    std::chrono::milliseconds intervalo = std::chrono::milliseconds(50));
    static void Quita() { Pon(nullptr); }
    // Where the engine may spend long; cheap when nothing is set or the
    // interval has not passed.
    static void Late();
};

}  // namespace jet
