#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

#include "questionnaire/RespuestasCC.h"

class QIODevice;

// Where the centre's answers are kept between runs: one file per company and
// edition in the user's data folder (Qt's AppDataLocation, e.g.
// ~/.local/share/<organización>/<programa>/respuestas-cc/), never in the
// Norvex folder. A company is its number and its legal name together, so two
// centres that both use company 1 keep separate answers. The default
// edition's answers lie in that folder itself, where they were before there
// were other editions; another edition's in a folder named by its key
// (respuestas-cc/<clave>/).
//
// The file, "<número>-<nombre>-<resumen>.json" in UTF-8:
//   {
//     "formato": "respuestas-cc",
//     "version": 1,
//     "edicion": "2018",
//     "empresa": { "numero": 1, "nombre": "CAMBIOS DEL NORTE SA DE CV" },
//     "respuestas": { "1": "1500000", "12": "15/03/2010", "7": "JALISCO\nSONORA" }
//   }
// "respuestas" maps question numbers to answers in their canonical form;
// questions without an answer are absent. A file without "edicion" is the
// default edition's (written before editions were data). A save writes a temporary file and
// renames it over the old one (QSaveFile), so a save that fails or is cut
// short leaves the earlier answers whole.
class TAlmacenRespuestasCC {
public:
    // sCarpeta empty: the user's data folder; preguntas none: the default
    // edition's.
    explicit TAlmacenRespuestasCC(QString sCarpeta = {},
                                  std::shared_ptr<const TPreguntasCC> preguntas = nullptr);
    virtual ~TAlmacenRespuestasCC() = default;

    QString DameCarpeta() const { return F_sCarpeta; }
    // Where the edition's files lie (DameCarpeta for the default edition).
    QString DameCarpetaEdicion() const;
    QString DameRuta(int nNumEmp, const QString& sNombre) const;
    const std::shared_ptr<const TPreguntasCC>& DamePreguntas() const { return F_Preguntas; }

    // The company's answers: empty when nothing was saved yet; none, with the
    // reason, when the file cannot be read or holds something it should not
    // (the file is then left as it is, for the user to look at).
    std::optional<TRespuestasCC> Lee(int nNumEmp, const QString& sNombre, QString& sError) const;
    bool Guarda(int nNumEmp, const QString& sNombre, const TRespuestasCC& respuestas,
                QString& sError);

    // The file's contents for those answers.
    static QByteArray ComoJson(int nNumEmp, const QString& sNombre,
                               const TRespuestasCC& respuestas);

protected:
    // Writes the bytes into the temporary file; tests replace it to stop a
    // save half-way.
    virtual bool Escribe(QIODevice& archivo, const QByteArray& datos);

private:
    QString F_sCarpeta;
    std::shared_ptr<const TPreguntasCC> F_Preguntas;
};
