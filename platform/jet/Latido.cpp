#include "platform/jet/Latido.h"

#include <new>
#include <utility>

namespace jet {

TLatido::TLatido(TAviso aviso, std::chrono::milliseconds intervalo)
    : aviso_(std::move(aviso)), intervalo_(intervalo), ultimo_(TReloj::now()) {}

void TLatido::Late() {
    if (!aviso_ || bDentro_ || TReloj::now() - ultimo_ < intervalo_)
        return;
    bDentro_ = true;
    try {
        aviso_();
    } catch (const std::bad_alloc&) {
        // Kept for RelanzaFallo: this runs inside SQLite's C code.
        if (!fallo_)
            fallo_ = std::current_exception();
        Interrumpe();
    } catch (...) {
        // The call only keeps a window painted: its own failure must not
        // cost the answer under way.
    }
    bDentro_ = false;
    ultimo_ = TReloj::now();
}

void TLatido::RelanzaFallo() {
    if (!fallo_)
        return;
    const std::exception_ptr fallo = std::exchange(fallo_, nullptr);
    Reanuda();
    std::rethrow_exception(fallo);
}

}  // namespace jet
