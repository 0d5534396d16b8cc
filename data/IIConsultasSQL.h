#pragma once

#include <string>

namespace ado {
class TADOQuery;
}

// Runs SQL text over one open connection; every database failure is shown
// once (BD-101) and turned into a false result.
class IConsultasSQL {
public:
    virtual ~IConsultasSQL() = default;
    virtual bool PideConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) = 0;
    virtual bool EjecutaConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) = 0;
    virtual void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) = 0;
    virtual void InicializaTabla(const std::string& sNomTabla) = 0;
    virtual void RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) = 0;
};
