#include "report/EspacioRespuestas.h"

#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "platform/report/TReporte.h"
#include "platform/report/TTextoEnriquecido.h"

TEspacioRespuestas::TEspacioRespuestas(const rpt::TReporte& reporte, std::vector<QString> libres,
                                       std::map<QString, QString> fijas, QString sPrefijo)
    : F_Reporte(reporte), F_Fijas(std::move(fijas)), F_sPrefijo(std::move(sPrefijo)) {
    // The free answers of each page, to share its room.
    std::map<std::pair<int, std::size_t>, std::vector<QString>> porObjeto;
    for (const QString& s : libres)
        if (const auto u = F_Reporte.UbicaVariable(s)) {
            F_Lugares[s] = TLugar{u->nPagina, u->nObjeto};
            porObjeto[{u->nPagina, u->nObjeto}].push_back(s);
        }
    for (const auto& [objeto, variables] : porObjeto) {
        const auto& obj = F_Reporte.DamePagina(objeto.first).objetos.at(objeto.second);
        TLugar base{objeto.first, objeto.second};
        base.dBasePt = Alto(base, {}, {});
        const double dSobra = obj.dDisponiblePt / kEscalaLegible - base.dBasePt;
        for (const QString& s : variables) {
            TLugar& lugar = F_Lugares[s];
            lugar.dBasePt = base.dBasePt;
            lugar.dCabePt = std::max(0.0, dSobra / static_cast<double>(variables.size()));
            lugar.dRenglonPt = Alto(lugar, s, QStringLiteral("X\nX")) - Alto(lugar, s, "X");
            // The questionnaire asks for capitals: their average width.
            auto doc = F_Reporte.DocumentoDeDiseno(lugar.nPagina, lugar.nObjeto, nullptr);
            QTextCursor cursor(doc.get());
            cursor.setPosition(std::max(0, rpt::TReporte::PosicionDeVariable(*doc, s)) + 1);
            const QFontMetricsF metricas(cursor.charFormat().font(), rpt::DispositivoDiseno());
            const QString sLetras = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ ");
            lugar.dLetraPt = metricas.horizontalAdvance(sLetras) / sLetras.size();
            lugar.dAnchoPt = doc->textWidth();
        }
    }
}

double TEspacioRespuestas::Alto(const TLugar& lugar, const QString& sVariable,
                                const QString& sTexto, double* pUltimaLineaPt) const {
    auto doc = F_Reporte.DocumentoDeDiseno(
        lugar.nPagina, lugar.nObjeto, [&](const QString& s) -> std::optional<QString> {
            if (s == sVariable)
                return F_sPrefijo + sTexto;
            if (const auto it = F_Fijas.find(s); it != F_Fijas.end())
                return F_sPrefijo + it->second;
            if (F_Lugares.count(s))
                return F_sPrefijo;  // another free answer, empty
            return std::nullopt;
        });
    if (pUltimaLineaPt) {
        const int nPos = rpt::TReporte::PosicionDeVariable(*doc, sVariable);
        const QTextBlock bloque = doc->findBlock(std::max(0, nPos));
        doc->size();  // lays the text out
        const QTextLayout* capa = bloque.layout();
        *pUltimaLineaPt = capa && capa->lineCount() > 0
                              ? capa->lineAt(capa->lineCount() - 1).naturalTextWidth()
                              : 0;
    }
    return doc->size().height();
}

std::optional<TEspacioRespuestas::TMedida> TEspacioRespuestas::Mide(const QString& sVariable,
                                                                    const QString& sTexto) const {
    const auto it = F_Lugares.find(sVariable);
    if (it == F_Lugares.end())
        return std::nullopt;
    const TLugar& lugar = it->second;
    double dUltimaLinea = 0;
    TMedida m;
    m.dOcupaPt = Alto(lugar, sVariable, sTexto, &dUltimaLinea) - lugar.dBasePt;
    m.dCabePt = lugar.dCabePt;
    if (lugar.dRenglonPt > 0 && lugar.dLetraPt > 0) {
        const double dPorRenglon = lugar.dAnchoPt / lugar.dLetraPt;
        const double dRenglones = (m.dCabePt - m.dOcupaPt) / lugar.dRenglonPt;
        const double dEnLaUltima = (lugar.dAnchoPt - dUltimaLinea) / lugar.dLetraPt;
        m.nCaracteresLibres =
            dRenglones >= 0 ? static_cast<int>(std::floor(dRenglones) * dPorRenglon + dEnLaUltima)
                            : -static_cast<int>(std::ceil(-dRenglones) * dPorRenglon);
    }
    return m;
}
