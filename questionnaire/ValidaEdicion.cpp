#include "questionnaire/ValidaEdicion.h"

#include <strings.h>
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cctype>

#include "data/TablasNorvex.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/MotorJet.h"
#include "platform/report/TPlantillaReporte.h"
#include "questionnaire/RepCuestANDU2017.h"
#include "report/TablaPEPs.h"

namespace {

// The question set of the edition with no database behind it, for the
// statements only: company 1, a rate and one client ticked, so that the PEP
// conditions are written out too.
class TCuestSinBase : public TRepCuestANDU2017 {
public:
    explicit TCuestSinBase(std::shared_ptr<const TEdicion> edicion)
        : TRepCuestANDU2017(
              nullptr, [](const std::string&) { return nullptr; }, nullptr, 18.91, 1,
              std::move(edicion)) {
        F_Peps.Agrega(1, "CLAVE", "CLIENTE", true);
        F_vtPEPS = &F_Peps;
    }
    std::string Consulta(int n) {
        std::string s;
        DameConsulta(n, s);
        return s;
    }

private:
    TTablaPEPs F_Peps;
};

bool TieneResultado(const jet::TResultado& r) {
    return std::any_of(r.columnas.begin(), r.columnas.end(), [](const std::string& s) {
        return strcasecmp(s.c_str(), "Resultado") == 0;
    });
}

// The line of an edition's own statement that a failure points at: the
// engine names the table, column or function between quotes, and where the
// statement's text has that name is where to look; otherwise its first line.
int LineaDelFallo(const TPreguntaEdicion& p, const std::string& sMensaje) {
    const auto nIni = sMensaje.find('\'');
    const auto nFin = nIni == std::string::npos ? nIni : sMensaje.find('\'', nIni + 1);
    if (nFin == std::string::npos || nFin == nIni + 1)
        return p.nLineaConsulta;
    auto minus = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    const auto nDonde = minus(p.sConsulta).find(minus(sMensaje.substr(nIni + 1, nFin - nIni - 1)));
    if (nDonde == std::string::npos)
        return p.nLineaConsulta;
    return p.nLineaConsulta + static_cast<int>(std::count(
                                  p.sConsulta.begin(),
                                  p.sConsulta.begin() + static_cast<std::ptrdiff_t>(nDonde), '\n'));
}

}  // namespace

std::vector<TProblemaEdicion> ValidaEdicion(const TEdicion& edicion) {
    std::vector<TProblemaEdicion> problemas;
    const std::filesystem::path sPreguntas = edicion.sCarpeta / kArchivoPreguntas;

    // A copy the question set may hold (it keeps its edition).
    TCuestSinBase cuestionario(std::make_shared<TEdicion>(edicion));
    jet::TMotorJet motor([] { return CreaNorvexVacio(); },
                         [](const std::string&) { return jet::TFirmaArchivo{}; });
    for (const TPreguntaEdicion& p : edicion.preguntas) {
        if (p.eForma == fpCentro)
            continue;
        const int nLinea = p.eForma == fpConsulta ? p.nLineaConsulta : p.nLinea;
        const std::string sDe = "la consulta de la pregunta " + std::to_string(p.nNumero);
        const std::string sConsulta = cuestionario.Consulta(p.nNumero);
        try {
            if (!TieneResultado(motor.Ejecuta(sConsulta))) {
                problemas.push_back({sPreguntas, nLinea,
                                     sDe + " no da una columna «Resultado»: su respuesta es la "
                                           "columna Resultado de la primera fila."});
                continue;
            }
        } catch (const jet::EErrorJet& e) {
            problemas.push_back(
                {sPreguntas, p.eForma == fpConsulta ? LineaDelFallo(p, e.Mensaje()) : nLinea,
                 sDe + " no se puede ejecutar sobre las tablas del Norvex: " + e.Clase() + " - " +
                     e.Mensaje()});
            continue;
        }
        const auto nCalculo = edicion.DameCalculo(p.nNumero);
        if (!nCalculo)
            continue;
        try {
            DameEvidencia(motor, p.nNumero, *nCalculo, sConsulta);
        } catch (const jet::EErrorJet& e) {
            problemas.push_back({sPreguntas, p.eForma == fpConsulta ? p.nLinea : nLinea,
                                 "la evidencia de la pregunta " + std::to_string(p.nNumero) +
                                     " no corresponde a su consulta (" + NombreCalculo(*nCalculo) +
                                     "): " + e.Mensaje()});
        }
    }

    QString sError;
    if (!rpt::TPlantillaReporte::Lee(QByteArray::fromStdString(edicion.sPlantilla), &sError))
        problemas.push_back(
            {edicion.sCarpeta / kArchivoReporte, 0,
             "el motor de reportes no puede usar esta plantilla: " + sError.toStdString()});
    return problemas;
}

TLecturaEdicion RevisaEdicion(const std::filesystem::path& sCarpeta) {
    TLecturaEdicion l = LeeEdicion(sCarpeta);
    if (!l.edicion)
        return l;
    l.problemas = ValidaEdicion(*l.edicion);
    if (!l.problemas.empty())
        l.edicion.reset();
    return l;
}

std::string ResumenEdicion(const TEdicion& e) {
    int nCalculo = 0, nPropia = 0, nCentro = 0;
    for (const TPreguntaEdicion& p : e.preguntas)
        (p.eForma == fpCalculo ? nCalculo : p.eForma == fpConsulta ? nPropia : nCentro) += 1;
    std::string sFormas = std::to_string(nCalculo) + " con cálculo del Norvex";
    if (nPropia)
        sFormas += ", " + std::to_string(nPropia) + " con consulta propia";
    sFormas += ", " + std::to_string(nCentro) + " del centro";
    return "Edición " + e.sClave + " «" + e.sNombre + "», operaciones del " + e.DamePeriodo() +
           ": " + std::to_string(e.DameTotalPreguntas()) + " preguntas (" + sFormas + "), " +
           std::to_string(e.nPaginas) + " páginas.";
}
