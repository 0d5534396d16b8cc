#include "questionnaire/AlmacenRespuestasCC.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStandardPaths>

#include "questionnaire/CatalogoEdiciones.h"

namespace {

const char* const kFormato = "respuestas-cc";
constexpr int kVersion = 1;

// A readable file name that no company name can turn into a path: letters
// and digits kept, the rest as "_", cut short; the digest of the exact name
// keeps apart names that read alike once cleaned.
QString ParteNombre(const QString& sNombre) {
    QString s;
    for (QChar c : sNombre.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        s += (c.unicode() < 128 && c.isLetterOrNumber()) ? c : QChar(u'_');
        if (s.size() == 40)
            break;
    }
    const QByteArray resumen =
        QCryptographicHash::hash(sNombre.toUtf8(), QCryptographicHash::Sha256).toHex().left(8);
    return s + u'-' + QString::fromLatin1(resumen);
}

}  // namespace

TAlmacenRespuestasCC::TAlmacenRespuestasCC(QString sCarpeta,
                                           std::shared_ptr<const TPreguntasCC> preguntas)
    : F_sCarpeta(std::move(sCarpeta)),
      F_Preguntas(preguntas ? std::move(preguntas) : PreguntasCCPredeterminadas()) {
    // Without a data folder (no home) the folder stays empty and nothing is
    // kept: a relative path would land in the working folder, the Norvex one.
    const QString sDatos = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (F_sCarpeta.isEmpty() && !sDatos.isEmpty())
        F_sCarpeta = sDatos + QStringLiteral("/respuestas-cc");
}

QString TAlmacenRespuestasCC::DameCarpetaEdicion() const {
    // The key of a read edition is a file name's letters, digits, ".", "_"
    // and "-", never starting with "."; it cannot leave the folder.
    if (F_sCarpeta.isEmpty() || F_Preguntas->sClave == kClaveEdicionPredeterminada)
        return F_sCarpeta;
    return F_sCarpeta + u'/' + QString::fromStdString(F_Preguntas->sClave);
}

QString TAlmacenRespuestasCC::DameRuta(int nNumEmp, const QString& sNombre) const {
    return DameCarpetaEdicion() + u'/' + QString::number(nNumEmp) + u'-' + ParteNombre(sNombre) +
           QStringLiteral(".json");
}

QByteArray TAlmacenRespuestasCC::ComoJson(int nNumEmp, const QString& sNombre,
                                          const TRespuestasCC& respuestas) {
    QJsonObject r;
    for (const auto& [n, s] : respuestas.DameTodas()) r.insert(QString::number(n), s);
    QJsonObject empresa{{"numero", nNumEmp}, {"nombre", sNombre}};
    QJsonObject raiz{{"formato", QString::fromLatin1(kFormato)},
                     {"version", kVersion},
                     {"edicion", QString::fromStdString(respuestas.DamePreguntas()->sClave)},
                     {"empresa", empresa},
                     {"respuestas", r}};
    return QJsonDocument(raiz).toJson(QJsonDocument::Indented);
}

std::optional<TRespuestasCC> TAlmacenRespuestasCC::Lee(int nNumEmp, const QString& sNombre,
                                                       QString& sError) const {
    const QString sRuta = DameRuta(nNumEmp, sNombre);
    QFile archivo(sRuta);
    if (F_sCarpeta.isEmpty() || !archivo.exists())
        return TRespuestasCC(F_Preguntas);
    auto fallo = [&](const QString& sQue) {
        sError = QStringLiteral("No fue posible leer las respuestas del CC de %1: %2")
                     .arg(QDir::toNativeSeparators(sRuta), sQue);
        return std::nullopt;
    };
    if (!archivo.open(QIODevice::ReadOnly))
        return fallo(archivo.errorString());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(archivo.readAll(), &error);
    if (doc.isNull() || !doc.isObject())
        return fallo(QStringLiteral("no es un archivo JSON válido."));
    const QJsonObject raiz = doc.object();
    if (raiz.value("formato").toString() != QLatin1String(kFormato) ||
        raiz.value("version").toInt() != kVersion)
        return fallo(QStringLiteral("no es un archivo de respuestas de esta versión."));
    const QString sEdicion =
        raiz.value("edicion").toString(QString::fromLatin1(kClaveEdicionPredeterminada));
    if (sEdicion.toStdString() != F_Preguntas->sClave)
        return fallo(QStringLiteral("es de otra edición (%1).").arg(sEdicion));
    const QJsonObject empresa = raiz.value("empresa").toObject();
    // The name's digest could match another name; the file says whose it is.
    if (empresa.value("numero").toInt() != nNumEmp || empresa.value("nombre").toString() != sNombre)
        return fallo(QStringLiteral("es de otra empresa."));
    TRespuestasCC respuestas(F_Preguntas);
    const QJsonObject r = raiz.value("respuestas").toObject();
    for (auto it = r.begin(); it != r.end(); ++it) {
        bool bNumero = false;
        const int n = it.key().toInt(&bNumero);
        if (!bNumero || !it.value().isString())
            return fallo(QStringLiteral("la entrada «%1» no es una respuesta.").arg(it.key()));
        const QString sMotivo = respuestas.Asigna(n, it.value().toString());
        if (!sMotivo.isEmpty())
            return fallo(sMotivo);
    }
    return respuestas;
}

bool TAlmacenRespuestasCC::Guarda(int nNumEmp, const QString& sNombre,
                                  const TRespuestasCC& respuestas, QString& sError) {
    const QString sRuta = DameRuta(nNumEmp, sNombre);
    auto fallo = [&](const QString& sQue) {
        sError = QStringLiteral("No fue posible guardar las respuestas del CC en %1: %2")
                     .arg(QDir::toNativeSeparators(sRuta), sQue);
        return false;
    };
    if (F_sCarpeta.isEmpty())
        return fallo(QStringLiteral("no hay carpeta de datos del usuario."));
    if (respuestas.DamePreguntas()->sClave != F_Preguntas->sClave)
        return fallo(QStringLiteral("las respuestas son de otra edición."));
    if (!QDir().mkpath(DameCarpetaEdicion()))
        return fallo(QStringLiteral("no se pudo crear la carpeta."));
    QSaveFile archivo(sRuta);
    if (!archivo.open(QIODevice::WriteOnly))
        return fallo(archivo.errorString());
    if (!Escribe(archivo, ComoJson(nNumEmp, sNombre, respuestas))) {
        archivo.cancelWriting();
        return fallo(archivo.errorString().isEmpty() ? QStringLiteral("falló la escritura.")
                                                     : archivo.errorString());
    }
    if (!archivo.commit())
        return fallo(archivo.errorString());
    return true;
}

bool TAlmacenRespuestasCC::Escribe(QIODevice& archivo, const QByteArray& datos) {
    return archivo.write(datos) == datos.size();
}
