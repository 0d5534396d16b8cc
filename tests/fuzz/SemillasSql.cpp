// semillas_sql DIR: writes the statements the tool really runs, one file
// each, as seeds for the SQL fuzzer: the 195 questions of the 2018 edition
// (with ticked PEPs, so the PEP condition is in them), the PEP detection and
// the access checks.
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "questionnaire/RepCuestANDU2017.h"
#include "report/TablaPEPs.h"

namespace {

class TCuestSemillas : public TRepCuestANDU2017 {
public:
    TCuestSemillas()
        : TRepCuestANDU2017(
              nullptr, [](const std::string&) { return nullptr; }, nullptr, 18.91, 1) {
        peps_.Agrega(1, "C0001", "Ana O'Neil", true);
        peps_.Agrega(2, "C[2]", "Luis", true);
        peps_.Agrega(3, "C3", "Eva", false);
        F_vtPEPS = &peps_;
    }
    std::string Consulta(int n) {
        std::string s;
        DameConsulta(n, s);
        return s;
    }

private:
    TTablaPEPs peps_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "uso: semillas_sql CARPETA\n";
        return 2;
    }
    const std::string sDir = argv[1];
    int n = 0;
    auto escribe = [&](const std::string& s) {
        std::ofstream(sDir + "/sql-" + std::to_string(++n) + ".txt", std::ios::binary) << s;
    };
    TCuestSemillas cuest;
    for (int i = 1; i <= 195; ++i) {
        const std::string s = cuest.Consulta(i);
        if (s != sTxCCResponde)
            escribe(s);
    }
    escribe(
        "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, "
        "tCliente.ClaveCliente FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND "
        "tRelevan.Fecha >= #01/01/2017# AND tRelevan.Fecha <= #12/31/2017# AND "
        "tRelevan.Observaciones LIKE '%PEP%' AND tRelevan.NumEmp = 1 AND "
        "tCliente.ClaveCliente = tRelevan.ClaveCliente");
    escribe("SELECT COUNT(1) as TotalConectados FROM tCompUsr ");
    escribe("SELECT ClaveEmp, Password FROM tEmps WHERE ClaveEmp = 'O''Brien [x] %--' ");
    escribe("SELECT * FROM tEmpresa");
    std::cout << n << "\n";
    return 0;
}
