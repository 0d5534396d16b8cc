#pragma once

#include <string>

#include "platform/jet/EErrorJet.h"

// Runs f, which must throw EErrorJet, and gives "kind - message": the shape the
// reader's and the connection's tests compare whole.
template <class F>
std::string Falla(F f) {
    try {
        f();
    } catch (const jet::EErrorJet& e) {
        return e.Clase() + " - " + e.Mensaje();
    }
    return "(no falló)";
}
