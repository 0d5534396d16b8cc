#pragma once

#include <memory>
#include <string>

namespace ui {

// The application's modal message boxes. The program installs the Qt boxes;
// command-line programs print to standard error; tests install a recorder so
// they can assert the exact texts and how many boxes were shown.
class ICajaMensajes {
public:
    virtual ~ICajaMensajes() = default;
    // Plain box: caption is the application title, no icon, one OK button,
    // centred on the screen. Returns when the user closes it.
    virtual void MuestraMensaje(const std::string& sTexto) = 0;
    // Warning box with Yes and No; true when the user answers Yes.
    virtual bool PreguntaSiNo(const std::string& sTexto) = 0;
};

// The boxes in use; never empty (standard error until something is installed).
std::shared_ptr<ICajaMensajes> DameCajaMensajes();
// Installs the boxes to use from now on; an empty pointer restores the default.
void FijaCajaMensajes(std::shared_ptr<ICajaMensajes> caja);

}  // namespace ui
