#include "platform/jet/Latido.h"

namespace jet {

TLatido::TLatido(TAviso aviso, std::chrono::milliseconds intervalo)
    : aviso_(std::move(aviso)), intervalo_(intervalo), ultimo_(TReloj::now()) {}

void TLatido::Late() {
    if (!aviso_ || bDentro_ || TReloj::now() - ultimo_ < intervalo_)
        return;
    bDentro_ = true;
    try {
        aviso_();
    } catch (...) {
    }
    bDentro_ = false;
    ultimo_ = TReloj::now();
}

}  // namespace jet
