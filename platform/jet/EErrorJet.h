#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace jet {

// Every failure the program raises has one row in the table of
// ErroresJet.cpp, named by this enumeration (defined in ErroresJet.h).
enum class TErrorJet : int;

class EErrorJet;
// The failure e with its culprits in place of %1, %2... of its row: the only
// way to build one.
EErrorJet ErrorJet(TErrorJet e, std::initializer_list<std::string> culpables = {});

// A failure of the Access file, the SQL engine or a layer built on them: a
// kind (the name of the failure family, shown to the user before " - ") and
// a Spanish message, both from the failure's row.
class EErrorJet : public std::runtime_error {
public:
    TErrorJet Tipo() const { return eTipo_; }
    const std::string& Clase() const { return sClase_; }
    const std::string& Mensaje() const { return sMensaje_; }

private:
    friend EErrorJet ErrorJet(TErrorJet e, std::initializer_list<std::string> culpables);
    EErrorJet(TErrorJet eTipo, std::string sClase, std::string sMensaje)
        : std::runtime_error(sMensaje),
          eTipo_(eTipo),
          sClase_(std::move(sClase)),
          sMensaje_(std::move(sMensaje)) {}

    TErrorJet eTipo_;
    std::string sClase_;
    std::string sMensaje_;
};

}  // namespace jet
