#pragma once

#include "platform/ui/ICajaMensajes.h"

namespace ui {

// Message boxes of the window program: QMessageBox with the application's
// title as caption, centred on the screen.
class TCajaMensajesQt : public ICajaMensajes {
public:
    void MuestraMensaje(const std::string& sTexto) override;
    bool PreguntaSiNo(const std::string& sTexto) override;
};

}  // namespace ui
