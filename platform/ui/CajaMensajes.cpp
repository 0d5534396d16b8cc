#include "platform/ui/ICajaMensajes.h"

#include <iostream>
#include <mutex>

namespace ui {
namespace {

class TCajaConsola : public ICajaMensajes {
public:
    void MuestraMensaje(const std::string& sTexto) override { std::cerr << sTexto << '\n'; }
    bool PreguntaSiNo(const std::string& sTexto) override {
        std::cerr << sTexto << '\n';
        return false;
    }
};

std::mutex g_mutex;
std::shared_ptr<ICajaMensajes> g_caja;

}  // namespace

std::shared_ptr<ICajaMensajes> DameCajaMensajes() {
    std::lock_guard lock(g_mutex);
    if (!g_caja) g_caja = std::make_shared<TCajaConsola>();
    return g_caja;
}

void FijaCajaMensajes(std::shared_ptr<ICajaMensajes> caja) {
    std::lock_guard lock(g_mutex);
    g_caja = std::move(caja);
}

}  // namespace ui
