#pragma once

#include <string>

// The questionnaire run's only door to the report engine.
class IManejadorReportes {
public:
    virtual ~IManejadorReportes() = default;
    virtual void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                                   const std::string& sDato) = 0;
    // Prepares the report afresh and shows its preview; returns when it is closed.
    virtual void MuestraReporte() = 0;
};
