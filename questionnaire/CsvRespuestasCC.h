#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// One record of a CSV text and the line it starts on (counted from 1), so
// that a message can name the line the user sees in an editor even when a
// quoted field spans several lines.
struct TRegistroCsv {
    int nLinea = 0;
    std::vector<QString> campos;
};

// Reads RFC 4180 CSV in UTF-8: fields between double quotes may hold commas,
// line breaks and doubled quotes; lines end in CR LF or LF; blank lines are
// skipped; a leading byte-order mark is ignored. On malformed text (bytes that
// are not UTF-8, a quote left open, text after a closing quote, a quote inside
// an unquoted field) returns nothing and a message that names the line.
std::optional<std::vector<TRegistroCsv>> LeeCsvRespuestas(const QByteArray& datos, QString& sError);

// One CSV line with CR LF, each field quoted only when it holds a comma, a
// quote or a line break.
QByteArray FilaCsvRespuestas(const QString& sPrimero, const QString& sSegundo);
