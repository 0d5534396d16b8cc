#include "platform/jet/Latido.h"

namespace jet {

namespace {

using Reloj = std::chrono::steady_clock;

struct TEstado {
    TLatido::TAviso aviso;
    Reloj::duration intervalo{};
    Reloj::time_point ultimo{};
    bool bDentro = false;
};

TEstado& Estado() {
    static TEstado e;
    return e;
}

}  // namespace

void TLatido::Pon(TAviso aviso, std::chrono::milliseconds intervalo) {
    auto& e = Estado();
    e.aviso = std::move(aviso);
    e.intervalo = intervalo;
    e.ultimo = Reloj::now();
}

void TLatido::Late() {
    auto& e = Estado();
    if (!e.aviso || e.bDentro || Reloj::now() - e.ultimo < e.intervalo)
        return;
    e.bDentro = true;
    try {
        e.aviso();
    } catch (...) {
    }
    e.bDentro = false;
    e.ultimo = Reloj::now();
}

}  // namespace jet
