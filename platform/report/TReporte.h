#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/report/TOpcionesPDF.h"
#include "platform/report/TPlantillaReporte.h"
#include "platform/report/TVariablesReporte.h"

class QPagedPaintDevice;
class QPainter;
class QWidget;
#include <QTextDocument>

namespace rpt {

// A rich-text object of a prepared page, its variables already replaced.
// Coordinates are points from the paper's top-left corner.
struct TObjetoPreparado {
    QRectF rectPt;
    QMarginsF huecoPt;
    std::unique_ptr<QTextDocument> documento;
    // The height its text may take: its frame's, and on a page's header no
    // lower than where the footer begins.
    double dDisponiblePt = 0;
    // How much smaller than designed its text was set to fit (1: as designed).
    double dEscala = 1;

    QRectF DameRectTexto() const { return rectPt.marginsRemoved(huecoPt); }
};

struct TPaginaPreparada {
    QSizeF tamanoPt;
    std::vector<TObjetoPreparado> objetos;
};

// Where a searched text was found on the prepared pages.
struct TCoincidencia {
    int nPagina = -1;
    int nObjeto = -1;
    int nInicio = 0;
    int nLargo = 0;
    bool EsValida() const { return nPagina >= 0; }
};

// A report object: a template, its variable list, a document name and the
// pages prepared from them. Preparing, painting and exporting need no widgets,
// so batch programs and tests use it as well as the preview.
class TReporte {
public:
    TReporte();
    ~TReporte();
    TReporte(const TReporte&) = delete;
    TReporte& operator=(const TReporte&) = delete;

    // Replaces template and variables; on failure keeps the old ones.
    bool CargaPlantilla(const QByteArray& datos);
    bool CargaPlantillaDeArchivo(const QString& sRuta);

    TVariablesReporte& Variables() { return F_Variables; }
    const TVariablesReporte& Variables() const { return F_Variables; }

    void SetNombreDocumento(const QString& s) { F_sNombreDocumento = s; }
    // The name of print jobs and of the document in the preview: the template's
    // own report name when it has one, otherwise the document name.
    QString DameNombreDocumento() const;

    void SetOpcionesPDF(const TOpcionesPDF& o) { F_OpcionesPDF = o; }
    const TOpcionesPDF& DameOpcionesPDF() const { return F_OpcionesPDF; }

    void LimpiaPaginas() { F_Paginas.clear(); }
    // Discards the pages prepared before and prepares every template page
    // afresh from the current variable values.
    bool Prepara();
    int DameNumPaginas() const { return static_cast<int>(F_Paginas.size()); }
    const TPaginaPreparada& DamePagina(int n) const { return F_Paginas.at(n); }
    QString DameTextoPagina(int n) const;

    // Paints page n (0-based) with the painter in points from the paper's corner.
    void DibujaPagina(QPainter& pintor, int n, const TCoincidencia* resaltado = nullptr) const;
    // The next occurrence of sTexto after 'desde' (letter case ignored).
    TCoincidencia Busca(const QString& sTexto, const TCoincidencia& desde = {}) const;
    QRectF DameRectCoincidencia(const TCoincidencia& c) const;

    // Progress: (pages done, total); returning false cancels.
    using TProgreso = std::function<bool(int, int)>;
    bool ExportaPDF(const QString& sArchivo, const TProgreso& progreso = {});
    // Paints prepared pages nDesde to nHasta (counted from 1), one sheet each,
    // from the paper's corner. With bPapelDePagina every sheet takes its page's
    // paper size (files); otherwise the device keeps its own (printers).
    bool PintaPaginas(QPagedPaintDevice& dispositivo, int nDesde, int nHasta, bool bPapelDePagina,
                      bool bFondo, const TProgreso& progreso = {});

    // The variable whose value is painted at a point of page n (points from
    // the paper's corner), as "Categoria.Nombre"; empty when there is none.
    QString DameVariableEn(int n, const QPointF& puntoPt) const;

    // The smallest scale a prepared page's text was set at to fit (1: every
    // object as designed).
    double DameEscalaPagina(int n) const;
    // Where a variable (named as its brackets name it) is shown: the first
    // prepared page and object that show it.
    struct TUbicacion {
        int nPagina = 0;
        std::size_t nObjeto = 0;
    };
    std::optional<TUbicacion> UbicaVariable(const QString& sVariable) const;
    // A variable's value in a document, for giving some values in place of
    // the report's own; none keeps the report's.
    using TValores = std::function<std::optional<QString>(const QString& sVariable)>;
    // Object nObjeto of prepared page n laid out again at its designed size,
    // never made smaller, with valores before the report's own values: how
    // much room other values would take.
    std::unique_ptr<QTextDocument> DocumentoDeDiseno(int n, std::size_t nObjeto,
                                                     const TValores& valores) const;
    // The position in a prepared document where the value of sVariable
    // begins; -1 when the document does not show it.
    static int PosicionDeVariable(const QTextDocument& documento, const QString& sVariable);
    // What a click on a variable's value in the preview does (nothing when
    // unset): the variable's name and the window to open a dialog over.
    using TAlPulsarVariable = std::function<void(const QString& sVariable, QWidget* padre)>;
    // abre says which variables a click opens something for (the preview
    // shows the hand only over those); none: every variable.
    void SetAlPulsarVariable(TAlPulsarVariable f,
                             std::function<bool(const QString&)> abre = nullptr) {
        F_AlPulsar = std::move(f);
        F_Abre = std::move(abre);
    }
    const TAlPulsarVariable& DameAlPulsarVariable() const { return F_AlPulsar; }
    bool AbreVariable(const QString& sVariable) const {
        return F_AlPulsar && !sVariable.isEmpty() && (!F_Abre || F_Abre(sVariable));
    }
    // The variables whose values page n shows, as "Categoria.Nombre", in
    // the order they appear.
    QStringList DameVariablesPagina(int n) const;

    QString DameError() const { return F_sError; }
    void SetError(const QString& s) { F_sError = s; }

private:
    void SustituyeVariables(QTextDocument& doc, int nPagina, int nTotal,
                            const TValores& valores = nullptr) const;
    // The template's object of page n, header objects first as prepared.
    const TObjetoTexto& ObjetoPlantilla(int n, std::size_t nObjeto) const;

    TPlantillaReporte F_Plantilla;
    TVariablesReporte F_Variables;
    QString F_sNombreDocumento;
    TOpcionesPDF F_OpcionesPDF;
    std::vector<TPaginaPreparada> F_Paginas;
    QString F_sError;
    TAlPulsarVariable F_AlPulsar;
    std::function<bool(const QString&)> F_Abre;
};

// Millimetres to points.
constexpr double MmAPt(double dMm) {
    return dMm * 72.0 / 25.4;
}

}  // namespace rpt
