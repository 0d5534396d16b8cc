#pragma once

#include <stdexcept>
#include <string>

namespace jet {

// A failure of the Access file or of the SQL engine: a kind (the name of the
// failure family, shown to the user before " - ") and a Spanish message.
class EErrorJet : public std::runtime_error {
public:
    EErrorJet(std::string sClase, std::string sMensaje)
        : std::runtime_error(sMensaje), sClase_(std::move(sClase)), sMensaje_(std::move(sMensaje)) {}
    const std::string& Clase() const { return sClase_; }
    const std::string& Mensaje() const { return sMensaje_; }

private:
    std::string sClase_;
    std::string sMensaje_;
};

}  // namespace jet
