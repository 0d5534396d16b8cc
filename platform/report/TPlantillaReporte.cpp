#include "platform/report/TPlantillaReporte.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace rpt {

namespace {

struct EPlantilla : std::runtime_error {
    using std::runtime_error::runtime_error;
};

QJsonArray Numeros(const QJsonValue& v, int nCuantos, const char* sQue) {
    QJsonArray a = v.toArray();
    if (a.size() != nCuantos)
        throw EPlantilla(sQue);
    for (const auto& x : a)
        if (!x.isDouble())
            throw EPlantilla(sQue);
    return a;
}

Qt::Alignment LeeAlineacion(const QString& s) {
    if (s.isEmpty() || s == u"izquierda")
        return Qt::AlignLeft;
    if (s == u"centro")
        return Qt::AlignHCenter;
    if (s == u"derecha")
        return Qt::AlignRight;
    if (s == u"justificado")
        return Qt::AlignJustify;
    throw EPlantilla("alineación desconocida: " + s.toStdString());
}

TTextoEnriquecido LeeTexto(const QJsonObject& o) {
    TTextoEnriquecido t;
    t.sFuente = o.value("fuente").toString(t.sFuente);
    t.dPuntos = o.value("puntos").toDouble(t.dPuntos);
    if (o.contains("color")) {
        t.color = QColor(o.value("color").toString());
        if (!t.color.isValid())
            throw EPlantilla("color no válido");
    }
    t.dEspacioDespues = o.value("espacioDespues").toDouble(0);
    t.dInterlineado = o.value("interlineado").toDouble(1);
    for (const auto& vp : o.value("parrafos").toArray()) {
        QJsonObject op = vp.toObject();
        TParrafo p;
        p.alineacion = LeeAlineacion(op.value("alinea").toString());
        for (const auto& vt : op.value("trozos").toArray()) {
            QJsonObject ot = vt.toObject();
            p.trozos.push_back({ot.value("texto").toString(), ot.value("negrita").toBool(),
                                ot.value("subrayado").toBool()});
        }
        t.parrafos.push_back(std::move(p));
    }
    return t;
}

TBanda LeeBanda(const QJsonObject& o) {
    TBanda b;
    b.dAltoMm = o.value("alto").toDouble();
    for (const auto& vo : o.value("objetos").toArray()) {
        QJsonObject oo = vo.toObject();
        TObjetoTexto obj;
        QJsonArray r = Numeros(oo.value("rect"), 4, "rect de objeto");
        obj.rectMm = QRectF(r[0].toDouble(), r[1].toDouble(), r[2].toDouble(), r[3].toDouble());
        if (oo.contains("hueco")) {
            QJsonArray h = Numeros(oo.value("hueco"), 4, "hueco de objeto");
            obj.huecoPx =
                QMarginsF(h[0].toDouble(), h[1].toDouble(), h[2].toDouble(), h[3].toDouble());
        }
        obj.texto = LeeTexto(oo.value("texto").toObject());
        b.objetos.push_back(std::move(obj));
    }
    return b;
}

TPaginaPlantilla LeePagina(const QJsonObject& o) {
    TPaginaPlantilla p;
    if (o.contains("papel")) {
        QJsonArray a = Numeros(o.value("papel"), 2, "papel");
        p.papelMm = QSizeF(a[0].toDouble(), a[1].toDouble());
    }
    p.bHorizontal = o.value("orientacion").toString() == u"horizontal";
    if (o.contains("margenes")) {
        QJsonArray m = Numeros(o.value("margenes"), 4, "márgenes");
        p.margenesMm =
            QMarginsF(m[0].toDouble(), m[1].toDouble(), m[2].toDouble(), m[3].toDouble());
    }
    p.encabezado = LeeBanda(o.value("encabezado").toObject());
    p.pie = LeeBanda(o.value("pie").toObject());
    return p;
}

}  // namespace

std::optional<TPlantillaReporte> TPlantillaReporte::Lee(const QByteArray& datos, QString* sError) {
    QJsonParseError error;
    QJsonDocument doc = QJsonDocument::fromJson(datos, &error);
    try {
        if (doc.isNull())
            throw EPlantilla(error.errorString().toStdString());
        QJsonObject raiz = doc.object();
        TPlantillaReporte t;
        t.sNombre = raiz.value("nombre").toString();
        t.bDosPasadas = raiz.value("dosPasadas").toBool(true);
        for (const auto& v : raiz.value("variables").toArray()) {
            QJsonArray par = v.toArray();
            if (par.isEmpty() || !par[0].isString())
                throw EPlantilla("variable sin nombre");
            std::optional<QString> valor;
            if (par.size() > 1 && !par[1].isNull())
                valor = par[1].toString();
            t.variables.push_back({par[0].toString(), valor});
        }
        for (const auto& v : raiz.value("paginas").toArray())
            t.paginas.push_back(LeePagina(v.toObject()));
        if (t.paginas.empty())
            throw EPlantilla("la plantilla no tiene páginas");
        return t;
    } catch (const EPlantilla& e) {
        if (sError)
            *sError = QString::fromStdString(e.what());
        return std::nullopt;
    }
}

}  // namespace rpt
