#pragma once

#include <string>

class QLabel;
class QWidget;

// The status line of the main window.
class IMensajero {
public:
    virtual ~IMensajero() = default;
    virtual void MsjEnTx(const std::string& sTexto) = 0;
    virtual void MsjTxTemp(const std::string& sTexto) = 0;
    virtual void MsjTxEspera(const std::string& sTexto, bool bTLargo) = 0;
    virtual void CampoObligatorio(QLabel* txLabel, QWidget* edEdit) = 0;
    virtual void SettxLabel(QLabel* txLabel) = 0;
    virtual void SetbDefColorAlerta(bool bValor) = 0;
    virtual bool GetbDefColorAlerta() const = 0;
    // News of something done, for a while (bTemporal, as MsjTxTemp) or until
    // something else is written (as MsjEnTx); a status line with colours
    // shows it apart from warnings.
    virtual void MsjExito(const std::string& sTexto, bool bTemporal) {
        if (bTemporal)
            MsjTxTemp(sTexto);
        else
            MsjEnTx(sTexto);
    }
};
