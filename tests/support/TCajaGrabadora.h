#pragma once

#include <string>
#include <vector>

#include "platform/ui/ICajaMensajes.h"

// Records every message box instead of showing it. Installed for the life of
// the object, then the previous boxes come back.
class TCajaGrabadora : public ui::ICajaMensajes {
public:
    std::vector<std::string> textos;
    bool bRespuestaSiNo = true;

    void MuestraMensaje(const std::string& sTexto) override { textos.push_back(sTexto); }
    bool PreguntaSiNo(const std::string& sTexto) override {
        textos.push_back(sTexto);
        return bRespuestaSiNo;
    }
};

// RAII: installs a recorder for one test.
class TGrabaCajas {
public:
    TGrabaCajas() : caja_(std::make_shared<TCajaGrabadora>()), anterior_(ui::DameCajaMensajes()) {
        ui::FijaCajaMensajes(caja_);
    }
    ~TGrabaCajas() { ui::FijaCajaMensajes(anterior_); }
    TGrabaCajas(const TGrabaCajas&) = delete;
    TGrabaCajas& operator=(const TGrabaCajas&) = delete;

    const std::vector<std::string>& textos() const { return caja_->textos; }
    TCajaGrabadora& caja() { return *caja_; }

private:
    std::shared_ptr<TCajaGrabadora> caja_;
    std::shared_ptr<ui::ICajaMensajes> anterior_;
};
