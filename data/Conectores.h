#pragma once

#include <exception>
#include <memory>
#include <new>
#include <string>

#include "data/IIConector.h"
#include "errors/ErroresBD.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/ErroresJet.h"

// Base of the connectors; each has its own BD-101 presenter.
class TConector : public IConector {
public:
    // The class name shown in the BD-101 box (the most derived class).
    virtual std::string NombreClase() const = 0;

protected:
    TConector() : F_Errores(TErroresBD::Crea()) {}
    std::shared_ptr<ILogErrores> F_Errores;
};

// A connector over one platform connection object, which it owns.
template <class TConexionPlataforma>
class TTipoConector : public TConector {
public:
    ~TTipoConector() override {
        try {
            F_Conector->SetConnected(false);
        } catch (...) {
            // A destructor cannot throw, and a connection that fails to
            // close is gone with its object all the same.
        }
    }

    // The platform connection; it stays owned by the connector.
    TConexionPlataforma* DameConector() const { return F_Conector.get(); }

    void SetStrConexion(const std::string& sStrConexion) override {
        F_Conector->SetConnectionString(sStrConexion);
    }
    std::string GetStrConexion() override { return F_Conector->ConnectionString(); }
    bool GetConecta() override { return F_Conector->Connected(); }

    // A refused open or close is shown once as BD-101 and goes no further:
    // the caller learns the outcome from GetConecta.
    void SetConecta(bool bConecta) override {
        try {
            F_Conector->SetConnected(bConecta);
        } catch (...) {
            // Nothing escapes the data layer; a lack of memory is said as one.
            Reporta(jet::ErrorDeFallo(std::current_exception()));
        }
    }

protected:
    TTipoConector() : F_Conector(std::make_unique<TConexionPlataforma>()) {
        // The platform must never ask the user for credentials.
        F_Conector->SetLoginPrompt(false);
    }
    std::unique_ptr<TConexionPlataforma> F_Conector;

private:
    void Reporta(const jet::EErrorJet& e) {
        F_Errores->MuestraError("BD-101", NombreClase(), e.Clase() + " - " + e.Mensaje());
        try {
            F_Conector->SetConnected(false);
        } catch (...) {
            // The failure the user reads is the one just shown; a second one
            // while closing would only hide it.
        }
    }
};

using TConectorADO = TTipoConector<ado::TADOConnection>;

class TConectSQLServer : public TConectorADO {
public:
    TConectSQLServer() = default;
    std::string NombreClase() const override { return "TConectSQLServer"; }
};

class TConectAccess : public TConectorADO {
public:
    TConectAccess();
    std::string NombreClase() const override { return "TConectAccess"; }
};
