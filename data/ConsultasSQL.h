#pragma once

#include <memory>
#include <string>

#include "data/IIConsultasSQL.h"
#include "errors/InterfacedPadre.h"
#include "platform/ado/TADOConnection.h"
#include "platform/ado/TADOQuery.h"

// The query service over a borrowed platform connection, with its own
// general query. Base of the Norvex access object and of the questionnaire.
class TConsultasSQL : public TInterfacedPadre, public IConsultasSQL {
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

    // The name of the object's most derived class, for the error box; a
    // subclass that only adapts another for a different caller names that one.
    virtual std::string DameNombreClase() const;

    // A typed or stored text for a quoted SQL literal: its single quotes are
    // doubled, so the text is always compared as data and never rewrites the
    // statement around it.
    static std::string DameLiteralSQL(const std::string& sTexto);

private:
    void MuestraFalla(const std::string& sClase, const std::string& sMensaje);
    // Sends sConsulta through qQuery with Accion; an error becomes the BD-101
    // box and false, with the query closed.
    bool Corre(const std::string& sConsulta, ado::TADOQuery& qQuery,
               void (ado::TADOQuery::*Accion)());
};
