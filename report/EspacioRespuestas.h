#pragma once

#include <QString>
#include <map>
#include <optional>
#include <vector>

namespace rpt {
class TReporte;
}

// The room the answers a user types have in a prepared report, so that no
// page is ever set smaller than a readable size to hold them. Each free-text
// answer shares its page's room with the other free-text answers of that
// page, equally, with every other answer the user fills at its longest; the
// room is what the page holds at the readable size beyond what it shows with
// those answers empty. Measured on the report's own layout (fonts, widths,
// line breaks), so a text that fits here fits on the page.
class TEspacioRespuestas {
public:
    // The smallest size a page's text may be set at, against the size it
    // was designed at (the questions' 11 points come down to 9 at most:
    // small print, still read without effort on paper).
    static constexpr double kEscalaLegible = 9.0 / 11.0;

    // reporte: prepared, with the values of the run. libres: the variables
    // (as their brackets name them) whose free text is measured; fijas: the
    // other variables the user fills, each with the longest value it may
    // take. sPrefijo: what the report prints before a typed text.
    TEspacioRespuestas(const rpt::TReporte& reporte, std::vector<QString> libres,
                       std::map<QString, QString> fijas, QString sPrefijo);

    struct TMedida {
        double dOcupaPt = 0;  // height the text adds to its page, at design size
        double dCabePt = 0;   // the answer's share of the page's room
        // About how many more characters fit (negative: how many are too many).
        int nCaracteresLibres = 0;
        bool Cabe() const { return dOcupaPt <= dCabePt + 0.01; }
    };
    // How sTexto fits as the answer of sVariable; none when sVariable is no
    // free-text variable the report shows.
    std::optional<TMedida> Mide(const QString& sVariable, const QString& sTexto) const;

private:
    struct TLugar {
        int nPagina = 0;
        std::size_t nObjeto = 0;
        double dBasePt = 0;     // the text's height with every free answer empty
        double dCabePt = 0;     // this answer's share of the room
        double dRenglonPt = 0;  // what one more line of the answer takes
        double dAnchoPt = 0;    // the width of a line
        double dLetraPt = 0;    // the width of an average upper-case letter
    };
    double Alto(const TLugar& lugar, const QString& sVariable, const QString& sTexto,
                double* pUltimaLineaPt = nullptr) const;

    const rpt::TReporte& F_Reporte;
    std::map<QString, QString> F_Fijas;
    QString F_sPrefijo;
    std::map<QString, TLugar> F_Lugares;
};
