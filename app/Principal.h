#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/CompuertaAcceso.h"
#include "app/IIDatosVentana.h"
#include "app/IIMensajero.h"
#include "app/IIUtilerias.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TModeloPEPs;
class TUnionNorvex;
class TRejillaPEPs;
class TTablaPEPs;

// The main window: the four steps, the status line and the access gate that
// both buttons pass before they touch the data.
class TfrmPrincipal : public QWidget {
    Q_OBJECT

public:
    // Utilerias is for tests (a fixed program folder, a controllable clock);
    // the program passes none and the window makes its own.
    // vtPEPs is the data module's PEP table, shown in the grid of step 4; it
    // must outlive the window.
    explicit TfrmPrincipal(std::shared_ptr<IDatosVentana> Datos, TTablaPEPs& vtPEPs,
                           std::shared_ptr<IUtilerias> Utilerias = nullptr,
                           QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    static const QString& TextoIndicaciones();

    // Keys of the fields; the null character drops the key.
    void FiltraTeclaNumerica(QLineEdit* edCampo, QChar& Key);
    void AvanzaConEnter(QWidget* edCampo, QChar& Key, bool bMayusculas);
    // True when a problem was found (and pointed at).
    bool ValidaCampos();

    enum class TVariantePuerta { vpDeteccion, vpReporte };
    // Runs the access gate with the fields' values; true when it opened.
    bool PasaPuerta(TVariantePuerta eVariante, TCompuertaAcceso::TPuerta& Puerta);

    IMensajero& Mensajero() { return *_MensajeroForm; }

    // The branches whose databases every job adds to the head office's (the
    // program's folder); none, the folder alone as always. They are kept per
    // head office and company for the next start. A change clears the PEP
    // list detected over the old set: a new detection is needed.
    const std::vector<std::filesystem::path>& DameSucursales() const { return F_Sucursales; }
    void PonSucursales(std::vector<std::filesystem::path> sucursales);
    // Where the branches of this head office and company are kept.
    QString ClaveSucursales() const;
    // Told, at every job that opened, the title page's line naming the
    // branches ("" for the folder alone).
    void SetAlUnir(std::function<void(const std::string&)> alUnir) { F_AlUnir = std::move(alUnir); }

    bool TrabajoEnCurso() const { return F_bTrabajoEnCurso; }
    // Another edition asks about another period: the candidates detected
    // for the last one go, and step 4 waits for a new detection.
    void ReiniciaPaso4();

public slots:
    void MuestraIndicaciones();
    // The "Sucursales..." dialog.
    void AbreSucursales();
    void bnDetectaPEPsClick();
    void bnGenReporteClick();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* obj, QEvent* event) override;

private:
    class TAvisosVentana;

    void FormCreate();
    void CreaControles();
    void InicializaPaso4();
    void MuestraSinPEPs(bool bMostrar);
    void EjecutaDeteccion();
    void EjecutaReporte();
    // Runs a job under the wait cursor with its button disabled; an error that
    // escapes it is shown once cursor and button are back.
    void EjecutaTrabajo(QPushButton* bnBoton, const std::function<void()>& Trabajo);

    std::shared_ptr<IDatosVentana> F_Datos;
    TTablaPEPs& F_vtPEPs;
    std::shared_ptr<IUtilerias> F_Utilerias;
    std::shared_ptr<IMensajero> _MensajeroForm;
    bool F_bIndicacionesPedidas = false;
    bool F_bTrabajoEnCurso = false;
    std::vector<std::filesystem::path> F_Sucursales;
    // The rules of the last union of branches; none for the head office alone.
    std::shared_ptr<TUnionNorvex> F_Union;
    std::function<void(const std::string&)> F_AlUnir;
    QPushButton* bnSucursales = nullptr;
    QLabel* txSucursales = nullptr;

    // After the head office's gate: the other branches' gates and the union.
    bool UneSucursales(const std::shared_ptr<IAvisosCompuerta>& Avisos,
                       const TCompuertaAcceso::TPuerta& Puerta);
    // The head office's folder, then the branches added.
    std::vector<std::filesystem::path> CarpetasUnidas() const;
    // The branches kept for this head office and company, those that still
    // hold a Norvex database.
    void CargaSucursales();
    // The line under the buttons that says which branches the jobs join.
    void MuestraSucursales();

    QLabel* Label1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* txCambio = nullptr;
    QLineEdit* edCambio = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* txUsuario = nullptr;
    QLineEdit* edUsuario = nullptr;
    QLabel* txPassw = nullptr;
    QLineEdit* edPassw = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label8 = nullptr;
    QPushButton* bnDetectaPEPs = nullptr;
    QLabel* txPaso4 = nullptr;
    QLabel* Label7 = nullptr;
    TRejillaPEPs* grdPEPs = nullptr;
    TModeloPEPs* dsPEPs = nullptr;
    QFrame* pnIgnorar = nullptr;
    QLabel* Label11 = nullptr;
    QFrame* pnChkBox = nullptr;
    QCheckBox* DBCheckBox = nullptr;
    QLabel* txMensajes = nullptr;
    QPushButton* bnGenReporte = nullptr;
    QLabel* txPruebas = nullptr;
    QLabel* Label5 = nullptr;
};
