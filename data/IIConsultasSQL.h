#pragma once

#include <string>

namespace ado {
class TADOQuery;
}

// The query service: runs SQL over one open connection. No failure escapes
// it: a database error is shown once as "BD-101" and becomes a false result.
class IConsultasSQL {
public:
    virtual ~IConsultasSQL() = default;
    virtual bool PideConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) = 0;
    virtual bool EjecutaConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) = 0;
    virtual void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) = 0;
    virtual void InicializaTabla(const std::string& sNomTabla) = 0;
    virtual void RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) = 0;
};
