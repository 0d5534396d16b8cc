#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>

#include "questionnaire/PreguntasCC.h"
#include "questionnaire/RespuestasCC.h"

class QLabel;
class TEspacioRespuestas;
class QScrollArea;

// The form where the centre types its own answers: every question the
// database cannot answer, with a field that fits the kind of value it asks
// for and the check's message under the field while the value does not fit.
// "Guardar" keeps the answers (through the callback given), "Exportar…" and
// "Importar…" move them as "pregunta,respuesta" CSV (an import replaces only
// the answers the file brings, and asks first when that would lose answers
// typed and not saved), and closing with changes not saved asks first. Each
// of them says what it did. The form holds no business rules: checks and CSV are
// TRespuestasCC's.
class TFormaRespuestasCC : public QDialog {
    Q_OBJECT
public:
    // Keeps the answers; false with the reason when it could not.
    using TGuarda = std::function<bool(const TRespuestasCC&, QString& sError)>;

    TFormaRespuestasCC(const TRespuestasCC& respuestas, TGuarda guarda, QWidget* padre = nullptr);

    // A field's text as typed, and typing one (tests and import use them).
    QString DameTexto(int nPregunta) const;
    void PonTexto(int nPregunta, const QString& sTexto);
    QWidget* DameCampo(int nPregunta) const;
    // The check's message shown under the field; empty when the value fits.
    QString DameAviso(int nPregunta) const;
    // From now on each free-text answer is held to its room in the report,
    // and the form says how much is left; none: no limit but the check's.
    void PonEspacio(std::shared_ptr<const TEspacioRespuestas> espacio);
    // What the form says of the room left under question nPregunta's field;
    // empty when it says nothing.
    QString DameEspacio(int nPregunta) const;
    // Scrolls to question nPregunta's field and gives it the focus.
    void MuestraPregunta(int nPregunta);
    // True when what the fields hold differs from the answers last saved.
    bool HayCambios() const;

    // The three buttons' work; each tells the user what it did or what went
    // wrong.
    bool Guarda();
    bool Exporta(const QString& sRuta);
    bool Importa(const QString& sRuta);

    void reject() override;
    // What the form last said it did ("Se guardaron…"), empty before.
    QString DameEstado() const;

    // What the user chose when closing with changes not saved.
    enum TDecision { dcGuardar, dcDescartar, dcCancelar };

protected:
    // Questions to the user; tests replace them.
    virtual TDecision PreguntaAlCerrar();
    virtual QString PideArchivoExportar();
    virtual QString PideArchivoImportar();
    virtual void Avisa(const QString& sTexto);
    // A question answered Yes or No; true for Yes.
    virtual bool Confirma(const QString& sTexto);
    // News of something done, never dressed as an error.
    virtual void Informa(const QString& sTexto);

private:
    struct TCampo {
        const TPreguntaCC* pregunta = nullptr;
        QWidget* editor = nullptr;
        QLabel* aviso = nullptr;
        QLabel* espacio = nullptr;  // free text only: the room left
    };
    QWidget* CreaEditor(const TPreguntaCC& p);
    void Revisa(int nPregunta);
    // Why the answer does not fit its room in the report; empty when it fits
    // (or nobody measures).
    QString FaltaEspacio(int nPregunta, const QString& sValor, QString* sQueda = nullptr) const;
    // The answers the fields hold, or none (the first bad field shown).
    std::optional<TRespuestasCC> DameRespuestas();
    void Muestra(const TRespuestasCC& r);

    TGuarda F_Guarda;
    TRespuestasCC F_Guardadas;
    std::map<int, TCampo> F_Campos;
    QScrollArea* F_Desplazable = nullptr;
    QLabel* F_Estado = nullptr;
    std::shared_ptr<const TEspacioRespuestas> F_Espacio;
};
