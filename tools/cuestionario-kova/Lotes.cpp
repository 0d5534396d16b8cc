#include "tools/cuestionario-kova/Lotes.h"

#include <unistd.h>

#include <iostream>
#include <memory>
#include <set>

#include "app/CompuertaAcceso.h"
#include "app/DatosVentana.h"
#include "app/UnionSucursales.h"
#include "data/ColectorConxs.h"
#include "data/UnionNorvex.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/EErrorJet.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/ManejadorRespuestasCC.h"
#include "report/DataModule.h"
#include "report/TablaPEPs.h"
#include "tools/cuestionario-kova/CsvLotes.h"
#include "tools/cuestionario-kova/EvidenciaLotes.h"
#include "tools/cuestionario-kova/ManejadorLotes.h"
#include "tools/cuestionario-kova/MensajeroLotes.h"
#include "tools/cuestionario-kova/RepCuestLotes.h"
#include "tools/cuestionario-kova/SalidasLotes.h"

namespace {

const char* const sTxFallaReporte = "No fue posible generar el reporte. Llame a Soporte Técnico.";

// Message boxes on standard error, each on a line of its own.
class TCajaLotes : public ui::ICajaMensajes {
public:
    explicit TCajaLotes(std::shared_ptr<TMensajeroLotes> Mensajero)
        : F_Mensajero(std::move(Mensajero)) {}
    void MuestraMensaje(const std::string& sTexto) override {
        F_Mensajero->TerminaLinea();
        std::cerr << sTexto << std::endl;
    }
    // Nobody is there to answer.
    bool PreguntaSiNo(const std::string& sTexto) override {
        MuestraMensaje(sTexto);
        return false;
    }

private:
    std::shared_ptr<TMensajeroLotes> F_Mensajero;
};

// The gate's boxes are the messages; its status texts are progress. Refused
// credentials show the box text only: the status text says the same.
class TAvisosLotes : public IAvisosCompuerta {
public:
    explicit TAvisosLotes(std::shared_ptr<TMensajeroLotes> Mensajero)
        : F_Mensajero(std::move(Mensajero)) {}
    void MuestraSinBD(const std::string& sTexto) override { MuestraCaja(sTexto); }
    void MuestraCaja(const std::string& sTexto) override {
        ui::DameCajaMensajes()->MuestraMensaje(sTexto);
    }
    void MuestraEstado(const std::string& sTexto) override {
        F_Mensajero->MsjTxEspera(sTexto, false);
    }
    void CredencialesRechazadas(const std::string& sCaja, const std::string&) override {
        MuestraCaja(sCaja);
    }

private:
    std::shared_ptr<TMensajeroLotes> F_Mensajero;
};

// The window's data side with the batch program's question set, which also
// yields each statement's text; the last one created stays at hand.
class TDatosLotes : public TDatosVentana {
public:
    using TDatosVentana::TDatosVentana;
    std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(
        int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) override {
        if (!Conector())
            return nullptr;
        Cuestionario = std::make_shared<TRepCuestLotes>(
            Conector(), ElReporte(), std::move(Mensajero), dTCambio, nNumEmp, DameEdicion());
        return Cuestionario;
    }
    ado::TADOConnection* Conexion() const { return Conector(); }
    std::shared_ptr<TRepCuestLotes> Cuestionario;
};

// What the gate of a branch other than the head office leaves for the run.
struct TSucursalAbierta {
    std::string sRuta, sContrasena;
    int64_t nNumEmp = 0;
};

// Every other branch passes the same gate on its own database, each with a
// registry of its own, before anything runs; the connection is closed again
// (only the union reads the file from then on).
bool AbreSucursal(const std::filesystem::path& sCarpeta, const TOpcionesLotes& op,
                  const std::shared_ptr<TMensajeroLotes>& Mensajero, TSucursalAbierta& abierta) {
    auto Colector = std::make_shared<TColectorConxs>();
    auto Datos = std::make_shared<TDatosLotes>(
        [](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
            return std::make_shared<TManejadorLotes>(nullptr, sNomRep);
        },
        Colector);
    Datos->PonEdicion(op.edicion);
    TCompuertaAcceso Compuerta(sCarpeta, Datos, std::make_shared<TAvisosLotes>(Mensajero));
    TCompuertaAcceso::TPuerta Puerta;
    if (Compuerta.Pasa(op.sUsuario, op.sPassw, op.dTCambio, Mensajero, Puerta) !=
        TCompuertaAcceso::ciAbierta) {
        ui::DameCajaMensajes()->MuestraMensaje("La sucursal de la carpeta " + sCarpeta.string() +
                                               " no pasó la revisión de acceso.");
        return false;
    }
    abierta = {Datos->Conexion()->RutaArchivo(), Datos->Conexion()->ContrasenaArchivo(),
               Puerta.nNumEmp};
    return true;
}

// Ticks the candidates with the given keys; the first key that is none of
// them is returned.
std::optional<std::string> MarcaPEPs(TTablaPEPs& vtPEPs, const std::vector<std::string>& claves) {
    for (const std::string& sClave : claves) {
        bool bHallada = false;
        for (std::size_t i = 0; i < vtPEPs.Cuenta(); ++i)
            if (vtPEPs.Fila(i).sClaveCliente == sClave) {
                vtPEPs.MarcaPEP(i, true);
                bHallada = true;
            }
        if (!bHallada)
            return sClave;
    }
    return std::nullopt;
}

// Union: the branches' rules when the run is over several folders, each
// candidate then naming the folders of the branches whose alerts list it.
std::string ListaPEPs(const TTablaPEPs& vtPEPs, const TUnionNorvex* Union,
                      const std::vector<std::filesystem::path>& carpetas) {
    // The fourth column is the window's tooltip for the name, so a reader of
    // either can tell homonyms apart the same way.
    std::vector<std::string> encabezado{"IdPEP", "ClaveCliente", "Nombre", "Detalle"};
    if (Union)
        encabezado.push_back("Sucursales");
    std::string s = FilaCsv(encabezado);
    for (const TFilaPEP& f : vtPEPs.Filas()) {
        std::vector<std::string> campos{std::to_string(f.nIdPEP), f.sClaveCliente, f.sNombre,
                                        DameDetallePEP(f)};
        if (Union)
            campos.push_back(TUnionSucursales::SucursalesDe(*Union, carpetas, f.sClaveCliente));
        s += FilaCsv(campos);
    }
    return s;
}

// The question whose answer stopped the run: the last one it set.
int PreguntaFallida(const TManejadorLotes& manejador) {
    return manejador.Respuestas().empty() ? 0 : manejador.Respuestas().rbegin()->first;
}

}  // namespace

int EjecutaLotes(const TOpcionesLotes& op) {
    auto Mensajero = std::make_shared<TMensajeroLotes>(std::cerr, isatty(STDERR_FILENO) == 1);
    ui::FijaCajaMensajes(std::make_shared<TCajaLotes>(Mensajero));
    struct TRestaura {
        TMensajeroLotes& Mensajero;
        ~TRestaura() {
            Mensajero.TerminaLinea();
            ui::FijaCajaMensajes(nullptr);
        }
    } restaura{*Mensajero};

    // The report object is needed only for the PDF; the answers come from the
    // handler either way.
    std::unique_ptr<TdmMain> dm;
    if (op.sPdf)
        dm = std::make_unique<TdmMain>(*op.edicion);
    std::shared_ptr<TManejadorLotes> Manejador;
    auto Datos = std::make_shared<TDatosLotes>(
        [&](const std::string& sNomRep) -> std::shared_ptr<IManejadorReportes> {
            Manejador = std::make_shared<TManejadorLotes>(dm ? &dm->repGeneral : nullptr, sNomRep);
            if (!op.respuestasCC)
                return Manejador;
            // The centre's answers reach both the answers file and the PDF.
            return std::make_shared<TManejadorRespuestasCC>(
                Manejador,
                [Respuestas = op.respuestasCC](const std::string&) { return Respuestas; });
        });
    Datos->PonEdicion(op.edicion);

    TCompuertaAcceso Compuerta(op.sCarpeta, Datos, std::make_shared<TAvisosLotes>(Mensajero));
    TCompuertaAcceso::TPuerta Puerta;
    if (Compuerta.Pasa(op.sUsuario, op.sPassw, op.dTCambio, Mensajero, Puerta) !=
        TCompuertaAcceso::ciAbierta) {
        if (!op.sucursales.empty())
            ui::DameCajaMensajes()->MuestraMensaje("La sucursal de la carpeta " +
                                                   op.sCarpeta.string() +
                                                   " no pasó la revisión de acceso.");
        return slUsoOCompuerta;
    }
    const std::shared_ptr<TRepCuestLotes> Cuestionario = Datos->Cuestionario;
    std::shared_ptr<TUnionNorvex> Union;
    std::vector<std::filesystem::path> carpetas{op.sCarpeta};
    carpetas.insert(carpetas.end(), op.sucursales.begin(), op.sucursales.end());
    if (!op.sucursales.empty()) {
        std::vector<std::pair<std::string, std::string>> otros;
        std::vector<int64_t> empresas{Puerta.nNumEmp};
        for (const auto& sCarpeta : op.sucursales) {
            TSucursalAbierta abierta;
            if (!AbreSucursal(sCarpeta, op, Mensajero, abierta))
                return slUsoOCompuerta;
            otros.emplace_back(abierta.sRuta, abierta.sContrasena);
            empresas.push_back(abierta.nNumEmp);
        }
        try {
            Union = std::make_shared<TUnionNorvex>(empresas);
            Datos->Conexion()->UneArchivos(otros, Union);
        } catch (const jet::EErrorJet& e) {
            ui::DameCajaMensajes()->MuestraMensaje(e.Clase() + " - " + e.Mensaje());
            return slFallaCuestionario;
        }
        // The title page names what was consolidated, under the head
        // office's company (a value with a line break goes as it is).
        if (dm)
            dm->repGeneral.Variables().AsignaVariable(
                "Cuestionario", "Sucursales",
                QString::fromStdString(TUnionSucursales::LineaTitulo(carpetas)));
    }

    TTablaPEPs vtPEPs;
    if (!Cuestionario->DetectaPEPs(vtPEPs)) {
        ui::DameCajaMensajes()->MuestraMensaje("No fue posible detectar los PEPs.");
        return slFallaCuestionario;
    }
    if (op.bListarPEPs) {
        Mensajero->TerminaLinea();
        std::cout << ListaPEPs(vtPEPs, Union.get(), carpetas) << std::flush;
        return slExito;
    }
    if (const auto sClave = MarcaPEPs(vtPEPs, op.clavesPEP)) {
        ui::DameCajaMensajes()->MuestraMensaje("La clave \"" + *sClave +
                                               "\" no es de ningún posible PEP detectado.");
        return slUsoOCompuerta;
    }

    if (op.sRespuestas || op.sPdf || op.sEvidencia) {
        if (!Cuestionario->GeneraReporte(vtPEPs)) {
            ui::DameCajaMensajes()->MuestraMensaje("No fue posible responder la pregunta " +
                                                   std::to_string(PreguntaFallida(*Manejador)) +
                                                   ".");
            ui::DameCajaMensajes()->MuestraMensaje(sTxFallaReporte);
            return slFallaCuestionario;
        }
    }

    TSalidasLotes Salidas;
    std::string sError;
    bool bBien = true;
    if (op.sRespuestas) {
        std::string s = FilaCsv({"pregunta", "respuesta"});
        for (const auto& [n, sRespuesta] : Manejador->Respuestas())
            s += FilaCsv({std::to_string(n), sRespuesta});
        bBien = Salidas.PreparaTexto(*op.sRespuestas, s, sError);
    }
    if (bBien && op.sConsultas) {
        std::string s = FilaCsv({"pregunta", "consulta"});
        for (int n = 1; n <= Cuestionario->DameTotalPreguntas(); ++n)
            s += FilaCsv({std::to_string(n), Cuestionario->DameTextoPregunta(n, vtPEPs)});
        bBien = Salidas.PreparaTexto(*op.sConsultas, s, sError);
    }
    if (bBien && op.sPdf) {
        bBien = Salidas.Prepara(
            *op.sPdf,
            [&](const std::filesystem::path& sTemporal, std::string& sFalla) {
                if (dm->repGeneral.ExportaPDF(QString::fromStdString(sTemporal.string())))
                    return true;
                sFalla = dm->repGeneral.DameError().toStdString();
                return false;
            },
            sError);
    }
    if (bBien && op.sEvidencia) {
        Mensajero->MsjTxEspera("Escribiendo la evidencia...", false);
        bBien = Salidas.PreparaCarpeta(
            *op.sEvidencia,
            [&](const std::filesystem::path& sTemporal, std::string& sFalla) {
                return EscribeEvidencias(*Cuestionario, vtPEPs, Manejador->Respuestas(), sTemporal,
                                         sFalla);
            },
            sError);
    }
    if (!bBien || !Salidas.Confirma(sError)) {
        ui::DameCajaMensajes()->MuestraMensaje(sError);
        return slFallaCuestionario;
    }
    return slExito;
}
