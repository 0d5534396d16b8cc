#pragma once

#include <string>
#include <vector>

class TTablaPEPs;

// Answer texts shared by the run, the question set and the report.
inline constexpr const char* sTxCCResponde = "(** El CC debe responder **)";
inline constexpr const char* sTxError = "** E R R O R **";
inline constexpr const char* sTxRespuesta = "Respuesta: ";

// What a job asks of the questionnaire object.
class IRepCuestionarioKOVA {
public:
    virtual ~IRepCuestionarioKOVA() = default;
    virtual bool DetectaPEPs(TTablaPEPs& vtPEPS) = 0;
    virtual bool GeneraReporte(TTablaPEPs& vtPEPS) = 0;
    virtual bool ValidaAcceso(const std::string& sUsuario, const std::string& sPassw,
                              bool bSoloAdmins) = 0;
    virtual bool UsuariosConectados() = 0;
    // Norvex's tables the database lacks; none in a Norvex database.
    virtual std::vector<std::string> TablasFaltantes() = 0;
    // True when the database holds the company of that number.
    virtual bool EmpresaRegistrada(int nNumEmp) = 0;
};
