#pragma once

#include <QColor>
#include <QPointer>
#include <memory>

#include "app/IIMensajero.h"
#include "app/IIUtilerias.h"
#include "errors/InterfacedPadre.h"

class QLabel;
class QTimer;

// The status line: permanent, self-clearing and pausing texts, and the red
// flash that draws the user to a field's caption.
class TMensajero : public TInterfacedPadre, public IMensajero {
public:
    explicit TMensajero(std::shared_ptr<IUtilerias> aUtilerias);
    ~TMensajero() override;
    TMensajero(const TMensajero&) = delete;
    TMensajero& operator=(const TMensajero&) = delete;

    void MsjEnTx(const std::string& sTexto) override;
    void MsjTxTemp(const std::string& sTexto) override;
    void MsjTxEspera(const std::string& sTexto, bool bTLargo) override;
    void CampoObligatorio(QLabel* txLabel, QWidget* edEdit) override;
    void SettxLabel(QLabel* txLabel) override;
    void SetbDefColorAlerta(bool bValor) override;
    bool GetbDefColorAlerta() const override;
    // In the success colour; the next text goes back to the line's own.
    void MsjExito(const std::string& sTexto, bool bTemporal) override;

    static constexpr int kMsBorrado = 3000;
    static constexpr int kMsAvisoAdvertencia = 50;
    static constexpr uint32_t kMsFaseDestello = 300;

private:
    void Escribe(const std::string& sTexto, bool bExito = false);
    void Borra();
    void Destella();

    // Labels belong to the window; QPointer keeps a closed window's labels
    // from being touched by a late timer.
    QPointer<QLabel> F_txLabel;
    QPointer<QLabel> F_txAdv;
    QPointer<QLabel> F_txAdvAnt;
    QColor F_cColorAnt;
    std::unique_ptr<QTimer> F_Cronometro;
    std::unique_ptr<QTimer> F_CronAdvert;
    bool F_bDefCAlerta = true;
    std::shared_ptr<IUtilerias> F_Utilerias;
};
