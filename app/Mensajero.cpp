#include "app/Mensajero.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include "platform/ui/ColorExito.h"

namespace {

const QColor kRojo(0xFF, 0x00, 0x00);
const QColor kGris(0x80, 0x80, 0x80);

QColor ColorTexto(const QLabel& etiqueta) {
    return etiqueta.palette().color(QPalette::WindowText);
}

void FijaColorTexto(QLabel& etiqueta, const QColor& color) {
    QPalette paleta = etiqueta.palette();
    paleta.setColor(QPalette::WindowText, color);
    etiqueta.setPalette(paleta);
}

std::unique_ptr<QTimer> CreaCronometro(int nMs, std::function<void()> Manejador) {
    auto cronometro = std::make_unique<QTimer>();
    cronometro->setInterval(nMs);
    cronometro->setSingleShot(false);
    // A coarse timer may fire up to 5 % early: 3 seconds would become 2.85.
    cronometro->setTimerType(Qt::PreciseTimer);
    QObject::connect(cronometro.get(), &QTimer::timeout, std::move(Manejador));
    return cronometro;
}

}  // namespace

TMensajero::TMensajero(std::shared_ptr<IUtilerias> aUtilerias)
    : TInterfacedPadre(nullptr), F_Utilerias(std::move(aUtilerias)) {
    F_CronAdvert = CreaCronometro(kMsAvisoAdvertencia, [this] { Destella(); });
    F_Cronometro = CreaCronometro(kMsBorrado, [this] { Borra(); });
    F_bDefCAlerta = true;
}

TMensajero::~TMensajero() {
    F_Cronometro->stop();
    F_Cronometro.reset();
    F_CronAdvert->stop();
    F_CronAdvert.reset();
}

void TMensajero::SettxLabel(QLabel* txLabel) {
    F_txLabel = txLabel;
    if (!F_txLabel)
        return;
    F_txLabel->clear();
    SetbDefColorAlerta(F_bDefCAlerta);
    F_txLabel->setVisible(true);
}

void TMensajero::SetbDefColorAlerta(bool bValor) {
    F_bDefCAlerta = bValor;
    if (F_txLabel)
        FijaColorTexto(*F_txLabel, bValor ? kRojo : kGris);
}

bool TMensajero::GetbDefColorAlerta() const {
    return F_bDefCAlerta;
}

void TMensajero::Escribe(const std::string& sTexto, bool bExito) {
    if (F_txLabel) {
        FijaColorTexto(*F_txLabel, bExito ? ui::ColorExito() : F_bDefCAlerta ? kRojo : kGris);
        F_txLabel->setText(QString::fromStdString(sTexto));
    }
    QCoreApplication::processEvents();
}

void TMensajero::MsjExito(const std::string& sTexto, bool bTemporal) {
    Escribe(sTexto, true);
    if (bTemporal && !F_Cronometro->isActive())
        F_Cronometro->start();
}

void TMensajero::MsjEnTx(const std::string& sTexto) {
    Escribe(sTexto);
}

void TMensajero::MsjTxTemp(const std::string& sTexto) {
    Escribe(sTexto);
    // A running timer is not restarted: the first text's 3 seconds rule.
    if (!F_Cronometro->isActive())
        F_Cronometro->start();
}

void TMensajero::MsjTxEspera(const std::string& sTexto, bool bTLargo) {
    Escribe(sTexto);
    F_Utilerias->HazPausa(bTLargo ? 1000 : 400);
}

void TMensajero::CampoObligatorio(QLabel* txLabel, QWidget* edEdit) {
    F_txAdv = txLabel;
    if (edEdit && edEdit->isEnabled())
        edEdit->setFocus(Qt::OtherFocusReason);
    if (!F_CronAdvert->isActive())
        F_CronAdvert->start();
}

void TMensajero::Borra() {
    F_Cronometro->stop();
    if (F_txLabel)
        F_txLabel->clear();
}

void TMensajero::Destella() {
    F_CronAdvert->stop();
    if (F_txAdvAnt)
        FijaColorTexto(*F_txAdvAnt, F_cColorAnt);
    F_txAdvAnt = F_txAdv;
    if (!F_txAdvAnt)
        return;
    const QPointer<QLabel> txAdv = F_txAdvAnt;
    const QColor cPropio = ColorTexto(*txAdv);
    F_cColorAnt = cPropio;
    for (int i = 1; i <= 9; ++i) {
        // The window may close during a phase's pause.
        if (!txAdv)
            return;
        FijaColorTexto(*txAdv, i % 2 == 0 ? kRojo : cPropio);
        F_Utilerias->HazPausa(kMsFaseDestello);
    }
}
