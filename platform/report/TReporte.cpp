#include "platform/report/TReporte.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include "platform/report/TExportadorPDF.h"
#include "platform/report/TFuentesReporte.h"

namespace rpt {

namespace {
// The text format property that names the variable a value came from.
constexpr int kPropiedadVariable = QTextFormat::UserProperty + 17;
}  // namespace

namespace {

// Line breaks of a value stay line breaks of its paragraph, so a multi-line
// value keeps the paragraph's spacing and does not split the object's text.
QString ComoTextoDeLinea(QString s) {
    s.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    s.replace(u'\r', QChar::LineSeparator);
    s.replace(u'\n', QChar::LineSeparator);
    return s;
}

constexpr double kPtPorPx = 72.0 / 96.0;

// Sets every character and the space after every paragraph a little smaller.
void Reduce(QTextDocument& doc, double dFactor) {
    QTextCursor cursor(&doc);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat bloque = b.blockFormat();
        bloque.setBottomMargin(bloque.bottomMargin() * dFactor);
        cursor.setPosition(b.position());
        cursor.setBlockFormat(bloque);
        std::vector<QTextFragment> trozos;
        for (auto it = b.begin(); !it.atEnd(); ++it) trozos.push_back(it.fragment());
        for (const QTextFragment& t : trozos) {
            cursor.setPosition(t.position());
            cursor.setPosition(t.position() + t.length(), QTextCursor::KeepAnchor);
            QTextCharFormat formato = t.charFormat();
            const double dPuntos = formato.fontPointSize() > 0 ? formato.fontPointSize()
                                                               : doc.defaultFont().pointSizeF();
            formato.setFontPointSize(dPuntos * dFactor);
            cursor.setCharFormat(formato);
        }
    }
}

// A text taller than its room (long answers typed by the centre can make a
// page's text so) is set smaller until it fits: it then stays inside its
// frame, clear of the footer, and the report keeps its pages. Its height
// shrinks about as its sizes do, so each step shrinks by the ratio of room to
// height (at least 1 %): the text ends at about the largest size that fits.
// A text that fits is left exactly as designed. Returns the scale applied.
double AjustaAlAlto(TObjetoPreparado& obj) {
    double dEscala = 1;
    for (int i = 0; i < 40; ++i) {
        const double dAltoTexto = obj.documento->size().height();
        if (dAltoTexto <= obj.dDisponiblePt)
            break;
        const double dFactor = std::clamp(obj.dDisponiblePt / dAltoTexto, 0.25, 0.99);
        Reduce(*obj.documento, dFactor);
        dEscala *= dFactor;
    }
    return dEscala;
}

}  // namespace

TReporte::TReporte() = default;
TReporte::~TReporte() = default;

bool TReporte::CargaPlantilla(const QByteArray& datos) {
    QString sError;
    auto plantilla = TPlantillaReporte::Lee(datos, &sError);
    if (!plantilla) {
        F_sError = QStringLiteral("Plantilla de reporte no válida: ") + sError;
        return false;
    }
    F_Plantilla = std::move(*plantilla);
    F_Variables.Limpia();
    for (const auto& e : F_Plantilla.variables) F_Variables.Agrega(e.sNombre, e.sValor);
    F_Paginas.clear();
    return true;
}

bool TReporte::CargaPlantillaDeArchivo(const QString& sRuta) {
    QFile archivo(sRuta);
    if (!archivo.open(QIODevice::ReadOnly)) {
        F_sError = QStringLiteral("No se pudo leer la plantilla de reporte ") + sRuta;
        return false;
    }
    return CargaPlantilla(archivo.readAll());
}

QString TReporte::DameNombreDocumento() const {
    return F_Plantilla.sNombre.isEmpty() ? F_sNombreDocumento : F_Plantilla.sNombre;
}

bool TReporte::Prepara() {
    RegistraFuentesReporte();
    F_Paginas.clear();

    // First pass: lay out every page so the total is known; second pass: put
    // the variables (page numbers and the total among them) into the text.
    for (const TPaginaPlantilla& p : F_Plantilla.paginas) {
        TPaginaPreparada pagina;
        QSizeF tamano = p.DameTamanoMm();
        pagina.tamanoPt = QSizeF(MmAPt(tamano.width()), MmAPt(tamano.height()));
        const QMarginsF& m = p.margenesMm;
        const double dAltoUtil = tamano.height() - m.top() - m.bottom();
        auto coloca = [&](const TBanda& banda, double dArribaMm) {
            for (const TObjetoTexto& o : banda.objetos) {
                TObjetoPreparado obj;
                QRectF r = o.rectMm.translated(m.left(), dArribaMm);
                obj.rectPt =
                    QRectF(MmAPt(r.x()), MmAPt(r.y()), MmAPt(r.width()), MmAPt(r.height()));
                obj.huecoPt = o.huecoPx * kPtPorPx;
                obj.documento = o.texto.CreaDocumento(obj.DameRectTexto().width());
                pagina.objetos.push_back(std::move(obj));
            }
        };
        coloca(p.encabezado, m.top());
        coloca(p.pie, m.top() + dAltoUtil - p.pie.dAltoMm);
        F_Paginas.push_back(std::move(pagina));
    }
    const int nTotal = DameNumPaginas();
    for (int n = 0; n < nTotal; ++n) {
        // The header's text ends where the footer band begins.
        const TPaginaPlantilla& p = F_Plantilla.paginas[n];
        const double dAltoPapel = p.DameTamanoMm().height();
        const double dPieMm = dAltoPapel - p.margenesMm.bottom() - p.pie.dAltoMm;
        const std::size_t nDelEncabezado = p.encabezado.objetos.size();
        auto& objetos = F_Paginas[n].objetos;
        for (std::size_t i = 0; i < objetos.size(); ++i) {
            TObjetoPreparado& obj = objetos[i];
            const QRectF texto = obj.DameRectTexto();
            const double dAbajoPt = i < nDelEncabezado ? MmAPt(dPieMm) : MmAPt(dAltoPapel);
            obj.dDisponiblePt = std::min(texto.height(), dAbajoPt - texto.top());
            SustituyeVariables(*obj.documento, n + 1, nTotal);
            obj.dEscala = AjustaAlAlto(obj);
        }
    }
    return true;
}

const TObjetoTexto& TReporte::ObjetoPlantilla(int n, std::size_t nObjeto) const {
    const TPaginaPlantilla& p = F_Plantilla.paginas.at(static_cast<std::size_t>(n));
    const std::size_t nDelEncabezado = p.encabezado.objetos.size();
    return nObjeto < nDelEncabezado ? p.encabezado.objetos.at(nObjeto)
                                    : p.pie.objetos.at(nObjeto - nDelEncabezado);
}

double TReporte::DameEscalaPagina(int n) const {
    double dEscala = 1;
    for (const TObjetoPreparado& obj : F_Paginas.at(n).objetos)
        dEscala = std::min(dEscala, obj.dEscala);
    return dEscala;
}

int TReporte::PosicionDeVariable(const QTextDocument& documento, const QString& sVariable) {
    for (QTextBlock b = documento.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().property(kPropiedadVariable).toString() == sVariable)
                return it.fragment().position();
    return -1;
}

std::optional<TReporte::TUbicacion> TReporte::UbicaVariable(const QString& sVariable) const {
    for (int n = 0; n < DameNumPaginas(); ++n)
        for (std::size_t i = 0; i < F_Paginas[n].objetos.size(); ++i)
            if (PosicionDeVariable(*F_Paginas[n].objetos[i].documento, sVariable) >= 0)
                return TUbicacion{n, i};
    return std::nullopt;
}

std::unique_ptr<QTextDocument> TReporte::DocumentoDeDiseno(int n, std::size_t nObjeto,
                                                           const TValores& valores) const {
    const TObjetoPreparado& obj = F_Paginas.at(n).objetos.at(nObjeto);
    auto documento = ObjetoPlantilla(n, nObjeto).texto.CreaDocumento(obj.DameRectTexto().width());
    SustituyeVariables(*documento, n + 1, DameNumPaginas(), valores);
    return documento;
}

void TReporte::SustituyeVariables(QTextDocument& doc, int nPagina, int nTotal,
                                  const TValores& valores) const {
    static const QRegularExpression kNombre(QStringLiteral(R"(\[([^\[\]]+)\])"));
    QTextCursor cursor(&doc);
    while (true) {
        cursor = doc.find(kNombre, cursor);
        if (cursor.isNull())
            break;
        const QString sNombre = cursor.selectedText().mid(1).chopped(1);
        std::optional<QString> sTexto;
        if (sNombre.compare(u"Page#", Qt::CaseInsensitive) == 0)
            sTexto = QString::number(nPagina);
        else if (sNombre.compare(u"TotalPages#", Qt::CaseInsensitive) == 0)
            sTexto = QString::number(nTotal);
        else {
            // A value given in place of the report's own comes first.
            if (valores)
                sTexto = valores(sNombre);
            if (!sTexto)
                sTexto = F_Variables.DameTexto(sNombre);
        }
        if (!sTexto)
            continue;  // not a variable: the text stays as written

        // The value takes the character format of the bracketed name itself.
        QTextCursor enNombre(&doc);
        enNombre.setPosition(cursor.selectionStart() + 1);
        QTextCharFormat formato = enNombre.charFormat();
        // The value remembers its variable, so a click on it can name it.
        formato.setProperty(kPropiedadVariable, sNombre);
        cursor.insertText(ComoTextoDeLinea(*sTexto), formato);
        // The search goes on after the value: a value is never read as a name.
    }
}

QString TReporte::DameVariableEn(int n, const QPointF& puntoPt) const {
    if (n < 0 || n >= DameNumPaginas())
        return {};
    for (const TObjetoPreparado& obj : F_Paginas[n].objetos) {
        const QRectF texto = obj.DameRectTexto();
        if (!texto.contains(puntoPt))
            continue;
        const int nPos =
            obj.documento->documentLayout()->hitTest(puntoPt - texto.topLeft(), Qt::ExactHit);
        if (nPos < 0)
            continue;
        QTextCursor cursor(obj.documento.get());
        cursor.setPosition(nPos);
        // The format after the position: the character under the point.
        cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        const QString s = cursor.charFormat().property(kPropiedadVariable).toString();
        if (!s.isEmpty())
            return s;
    }
    return {};
}

QStringList TReporte::DameVariablesPagina(int n) const {
    QStringList variables;
    if (n < 0 || n >= DameNumPaginas())
        return variables;
    for (const TObjetoPreparado& obj : F_Paginas[n].objetos)
        for (QTextBlock b = obj.documento->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QString s =
                    it.fragment().charFormat().property(kPropiedadVariable).toString();
                if (!s.isEmpty() && (variables.isEmpty() || variables.back() != s))
                    variables << s;
            }
    return variables;
}

QString TReporte::DameTextoPagina(int n) const {
    QString s;
    for (const auto& obj : F_Paginas.at(n).objetos) s += obj.documento->toPlainText() + u'\n';
    return s;
}

void TReporte::DibujaPagina(QPainter& pintor, int n, const TCoincidencia* resaltado) const {
    const TPaginaPreparada& pagina = F_Paginas.at(n);
    for (size_t i = 0; i < pagina.objetos.size(); ++i) {
        const TObjetoPreparado& obj = pagina.objetos[i];
        const QRectF texto = obj.DameRectTexto();
        pintor.save();
        pintor.translate(texto.topLeft());
        QAbstractTextDocumentLayout::PaintContext contexto;
        contexto.clip = QRectF(QPointF(0, 0), texto.size());
        pintor.setClipRect(contexto.clip);
        if (resaltado && resaltado->nPagina == n && resaltado->nObjeto == static_cast<int>(i)) {
            QAbstractTextDocumentLayout::Selection sel;
            sel.cursor = QTextCursor(obj.documento.get());
            sel.cursor.setPosition(resaltado->nInicio);
            sel.cursor.setPosition(resaltado->nInicio + resaltado->nLargo, QTextCursor::KeepAnchor);
            sel.format.setBackground(QColor(255, 230, 0));
            contexto.selections.append(sel);
        }
        obj.documento->documentLayout()->draw(&pintor, contexto);
        pintor.restore();
    }
}

TCoincidencia TReporte::Busca(const QString& sTexto, const TCoincidencia& desde) const {
    if (sTexto.isEmpty())
        return {};
    int nPag = desde.EsValida() ? desde.nPagina : 0;
    int nObj = desde.EsValida() ? desde.nObjeto : 0;
    int nPos = desde.EsValida() ? desde.nInicio + 1 : 0;
    for (; nPag < DameNumPaginas(); ++nPag, nObj = 0, nPos = 0) {
        const auto& objetos = F_Paginas[nPag].objetos;
        for (; nObj < static_cast<int>(objetos.size()); ++nObj, nPos = 0) {
            QTextCursor c = objetos[nObj].documento->find(sTexto, nPos);
            if (!c.isNull())
                return {nPag, nObj, c.selectionStart(), c.selectionEnd() - c.selectionStart()};
        }
    }
    return {};
}

QRectF TReporte::DameRectCoincidencia(const TCoincidencia& c) const {
    if (!c.EsValida())
        return {};
    const TObjetoPreparado& obj = F_Paginas.at(c.nPagina).objetos.at(c.nObjeto);
    QTextBlock bloque = obj.documento->findBlock(c.nInicio);
    QTextLayout* layout = bloque.layout();
    QTextLine linea = layout->lineForTextPosition(c.nInicio - bloque.position());
    QRectF r = obj.documento->documentLayout()->blockBoundingRect(bloque);
    double dY = r.top() + (linea.isValid() ? linea.y() : 0);
    double dAlto = linea.isValid() ? linea.height() : r.height();
    return QRectF(obj.DameRectTexto().left(), obj.DameRectTexto().top() + dY,
                  obj.DameRectTexto().width(), dAlto);
}

bool TReporte::ExportaPDF(const QString& sArchivo, const TProgreso& progreso) {
    if (F_Paginas.empty() && !Prepara())
        return false;
    return ::rpt::ExportaPDF(*this, sArchivo, F_OpcionesPDF, progreso, &F_sError);
}

bool TReporte::PintaPaginas(QPagedPaintDevice& dispositivo, int nDesde, int nHasta,
                            bool bPapelDePagina, bool bFondo, const TProgreso& progreso) {
    nDesde = std::max(1, nDesde);
    nHasta = std::min(nHasta, DameNumPaginas());
    if (nDesde > nHasta) {
        F_sError = QStringLiteral("No hay páginas que pintar.");
        return false;
    }
    auto papelDe = [&](int n) { return QPageSize(DamePagina(n - 1).tamanoPt, QPageSize::Point); };
    if (bPapelDePagina)
        dispositivo.setPageSize(papelDe(nDesde));
    QPainter pintor;
    if (!pintor.begin(&dispositivo)) {
        F_sError = QStringLiteral("No fue posible iniciar el documento.");
        return false;
    }
    const double dEscala = dispositivo.logicalDpiX() / 72.0;
    const int nTotal = nHasta - nDesde + 1;
    for (int n = nDesde; n <= nHasta; ++n) {
        if (progreso && !progreso(n - nDesde, nTotal)) {
            pintor.end();
            F_sError = QStringLiteral("Cancelado por el usuario.");
            return false;
        }
        if (n > nDesde) {
            if (bPapelDePagina)
                dispositivo.setPageSize(papelDe(n));
            dispositivo.newPage();
        }
        pintor.save();
        pintor.scale(dEscala, dEscala);
        if (bFondo)
            pintor.fillRect(QRectF(QPointF(0, 0), DamePagina(n - 1).tamanoPt), Qt::white);
        DibujaPagina(pintor, n - 1);
        pintor.restore();
    }
    if (progreso)
        progreso(nTotal, nTotal);
    if (!pintor.end()) {
        F_sError = QStringLiteral("No fue posible completar el documento.");
        return false;
    }
    return true;
}

}  // namespace rpt
