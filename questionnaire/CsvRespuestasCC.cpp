#include "questionnaire/CsvRespuestasCC.h"

#include <QStringDecoder>

#include "platform/jet/Csv.h"

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

    std::string sFallo;
    const auto leidos = jet::LeeCsv(s.toStdString(), sFallo);
    if (!leidos) {
        sError = QString::fromStdString(sFallo);
        return std::nullopt;
    }
    std::vector<TRegistroCsv> registros;
    registros.reserve(leidos->size());
    for (const auto& r : *leidos) {
        TRegistroCsv registro;
        registro.nLinea = r.nLinea;
        for (const auto& campo : r.campos) registro.campos.push_back(QString::fromStdString(campo));
        registros.push_back(std::move(registro));
    }
    return registros;
}

QByteArray FilaCsvRespuestas(const QString& sPrimero, const QString& sSegundo) {
    return QByteArray::fromStdString(
        jet::FilaCsv({sPrimero.toStdString(), sSegundo.toStdString()}));
}
