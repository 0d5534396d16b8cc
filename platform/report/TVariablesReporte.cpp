#include "platform/report/TVariablesReporte.h"

namespace rpt {

namespace {
bool MismoNombre(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
}  // namespace

void TVariablesReporte::Agrega(const QString& sNombre, std::optional<QString> sValor) {
    F_Entradas.push_back({sNombre, std::move(sValor)});
}

int TVariablesReporte::BuscaVariable(const QString& sVariable) const {
    for (size_t i = 0; i < F_Entradas.size(); ++i)
        if (!EsCategoria(F_Entradas[i]) && MismoNombre(F_Entradas[i].sNombre, sVariable))
            return static_cast<int>(i);
    return -1;
}

void TVariablesReporte::AsignaVariable(const QString& sCategoria, const QString& sVariable,
                                       const QString& sValor) {
    const QString sEncabezado = u' ' + sCategoria;
    size_t nCat = 0;
    while (nCat < F_Entradas.size() &&
           !(EsCategoria(F_Entradas[nCat]) && MismoNombre(F_Entradas[nCat].sNombre, sEncabezado)))
        ++nCat;
    if (nCat == F_Entradas.size())
        return;

    if (int n = BuscaVariable(sVariable); n >= 0) {
        F_Entradas[n].sValor = sValor;
        return;
    }
    size_t nFin = nCat + 1;
    while (nFin < F_Entradas.size() && !EsCategoria(F_Entradas[nFin])) ++nFin;
    F_Entradas.insert(F_Entradas.begin() + static_cast<std::ptrdiff_t>(nFin),
                      TEntradaVariable{sVariable, sValor});
}

std::optional<std::optional<QString>> TVariablesReporte::DameValor(const QString& sVariable) const {
    int n = BuscaVariable(sVariable);
    if (n < 0)
        return std::nullopt;
    return F_Entradas[n].sValor;
}

std::optional<QString> TVariablesReporte::DameTexto(const QString& sVariable) const {
    auto valor = DameValor(sVariable);
    if (!valor)
        return std::nullopt;
    return Evalua(*valor);
}

QString TVariablesReporte::Evalua(const std::optional<QString>& sValor) {
    if (!sValor)
        return {};
    const QString& s = *sValor;
    if (s.contains(QStringLiteral("\r\n")))
        return s;
    // The outer quotes delimit the literal; quotes inside are the text's own
    // (a company called "Cambios O'Brien" must show as such, not as an error).
    if (s.size() >= 2 && s.front() == u'\'' && s.back() == u'\'')
        return s.mid(1, s.size() - 2);
    return s;
}

}  // namespace rpt
