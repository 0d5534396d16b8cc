#pragma once

#include <memory>
#include <string>

#include "data/IIConsultasSQL.h"
#include "errors/IILogErrores.h"
#include "platform/ado/TADOConnection.h"
#include "platform/ado/TADOQuery.h"

// The query service over a borrowed connection. Derived classes read the rows
// of F_qConsultaGen after a successful PideConsulta and close it when done.
class TConsultasSQL : public IConsultasSQL {
public:
    explicit TConsultasSQL(ado::TADOConnection* Conector);
    ~TConsultasSQL() override;

    bool PideConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) override;
    bool EjecutaConsulta(const std::string& sConsulta, ado::TADOQuery& qQuery) override;
    void LimpiaTabla(const std::string& sNomTabla, const std::string& sCondicion) override;
    void InicializaTabla(const std::string& sNomTabla) override;
    void RespaldaBD(const std::string& sRutaOrigen, const std::string& sRutaDestino) override;

protected:
    ado::TADOConnection* F_Conector;
    std::unique_ptr<ado::TADOQuery> F_qConsultaGen;
    std::shared_ptr<ILogErrores> F_Errores;

private:
    void MuestraFalla(const std::exception& e);
};
