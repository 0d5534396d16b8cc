#include "questionnaire/CsvRespuestasCC.h"

#include <QStringDecoder>

#include "platform/jet/Comillas.h"

std::optional<std::vector<TRegistroCsv>> LeeCsvRespuestas(const QByteArray& datos,
                                                          QString& sError) {
    QStringDecoder decodificador(QStringDecoder::Utf8);
    QString s = decodificador(datos);
    if (decodificador.hasError()) {
        sError = QStringLiteral("El archivo no es texto UTF-8 válido.");
        return std::nullopt;
    }
    if (s.startsWith(QChar(0xFEFF)))
        s.remove(0, 1);

    std::vector<TRegistroCsv> registros;
    TRegistroCsv actual;
    QString campo;
    int nLinea = 1;
    bool bEnComillas = false, bCerrado = false, bHayAlgo = false;
    auto fallo = [&](const QString& sQue) {
        sError = QStringLiteral("Línea %1: %2").arg(nLinea).arg(sQue);
        return std::nullopt;
    };
    auto cierraRegistro = [&] {
        if (bHayAlgo || !campo.isEmpty()) {
            actual.campos.push_back(campo);
            registros.push_back(std::move(actual));
        }
        actual = {};
        campo.clear();
        bHayAlgo = bCerrado = false;
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (!bHayAlgo && campo.isEmpty() && actual.campos.empty())
            actual.nLinea = nLinea;
        if (bEnComillas) {
            if (c == u'"' && i + 1 < s.size() && s[i + 1] == u'"') {
                campo += u'"';
                ++i;
            } else if (c == u'"') {
                bEnComillas = false;
                bCerrado = true;
            } else {
                if (c == u'\n')
                    ++nLinea;
                campo += c;
            }
            continue;
        }
        if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n')
            continue;  // the LF that follows ends the line
        if (c == u'\n' || c == u'\r') {
            cierraRegistro();
            ++nLinea;
        } else if (c == u',') {
            actual.campos.push_back(campo);
            campo.clear();
            bHayAlgo = true;
            bCerrado = false;
        } else if (bCerrado) {
            return fallo(QStringLiteral("hay texto después de las comillas que cierran un campo."));
        } else if (c == u'"') {
            if (!campo.isEmpty())
                return fallo(QStringLiteral("comillas dentro de un campo sin comillas."));
            bEnComillas = true;
            bHayAlgo = true;
        } else {
            campo += c;
        }
    }
    if (bEnComillas) {
        nLinea = actual.nLinea;
        return fallo(QStringLiteral("unas comillas abren un campo y no lo cierran."));
    }
    cierraRegistro();
    return registros;
}

namespace {

QByteArray CampoCsv(const QString& s) {
    const std::string sUtf8 = s.toStdString();
    if (sUtf8.find_first_of(",\"\r\n") == std::string::npos)
        return QByteArray::fromStdString(sUtf8);
    return QByteArray::fromStdString(jet::Entrecomilla(sUtf8, '"'));
}

}  // namespace

QByteArray FilaCsvRespuestas(const QString& sPrimero, const QString& sSegundo) {
    return CampoCsv(sPrimero) + ',' + CampoCsv(sSegundo) + "\r\n";
}
