#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/IIMensajero.h"
#include "report/IIManejadorReportes.h"

// Records the status line: "T:" permanent text, "E:" text with a pause ("E*:"
// with the long pause), "M:" self-clearing text.
class TMensajeroGrabador : public IMensajero {
public:
    std::vector<std::string> textos;

    void MsjEnTx(const std::string& s) override { textos.push_back("T:" + s); }
    void MsjTxTemp(const std::string& s) override { textos.push_back("M:" + s); }
    void MsjTxEspera(const std::string& s, bool bTLargo) override {
        textos.push_back((bTLargo ? "E*:" : "E:") + s);
    }
    void CampoObligatorio(QLabel*, QWidget*) override {}
    void SettxLabel(QLabel*) override {}
    void SetbDefColorAlerta(bool) override {}
    bool GetbDefColorAlerta() const override { return true; }
};

// Records the report variables as they are set and how often the preview ran.
class TReportesGrabador : public IManejadorReportes {
public:
    std::string sNomRep;
    std::map<std::string, std::string> variables;  // "Categoria.Variable"
    std::vector<std::string> orden;                // variables in the order set
    int nVistas = 0;

    void AgregaDatoReporte(const std::string& sCategoria, const std::string& sVariable,
                           const std::string& sDato) override {
        variables[sCategoria + "." + sVariable] = sDato;
        orden.push_back(sVariable);
    }
    void MuestraReporte() override { ++nVistas; }
};
