#include "questionnaire/RepCuestionarioKOVA.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/jet/MotorJet.h"
#include "platform/ui/ICajaMensajes.h"
#include "questionnaire/BoolPersist.h"
#include "questionnaire/Edicion.h"
#include "report/TablaPEPs.h"

namespace {

const char* const sCategoria = "Cuestionario";

// Blanks and control characters (every code up to 32) around a name part.
std::string Recorta(const std::string& sTexto) {
    auto esBlanco = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t nIni = 0, nFin = sTexto.size();
    while (nIni < nFin && esBlanco(sTexto[nIni])) ++nIni;
    while (nFin > nIni && esBlanco(sTexto[nFin - 1])) --nFin;
    return sTexto.substr(nIni, nFin - nIni);
}

// Hands the engine the statements to come, and takes them back on every way
// out.
class TAnticipacion {
public:
    TAnticipacion(ado::TADOConnection* conector, std::vector<std::string> consultas)
        : motor_(conector && conector->Connected() && !consultas.empty() ? &conector->Motor()
                                                                         : nullptr) {
        if (motor_)
            motor_->Anticipa(std::move(consultas));
    }
    ~TAnticipacion() {
        if (motor_)
            motor_->Anticipa({});
    }
    TAnticipacion(const TAnticipacion&) = delete;
    TAnticipacion& operator=(const TAnticipacion&) = delete;

private:
    jet::TMotorJet* motor_;
};

// Closes the general query however the reading of its rows ends.
struct TCierraAlSalir {
    ado::TADOQuery& qQuery;
    ~TCierraAlSalir() { qQuery.Close(); }
};

// A day serial (days since 30/12/1899, the time as the fraction) as the
// reviewer reads a date: dd/mm/yyyy.
std::string DiaDeSerial(double dSerial) {
    using namespace std::chrono;
    const sys_days dia =
        sys_days(year(1899) / December / 30) + days(static_cast<int>(std::floor(dSerial)));
    const year_month_day f(dia);
    char s[16];
    std::snprintf(s, sizeof s, "%02u/%02u/%04d", static_cast<unsigned>(f.day()),
                  static_cast<unsigned>(f.month()), static_cast<int>(f.year()));
    return s;
}

}  // namespace

TRepCuestionarioKOVA::TRepCuestionarioKOVA(ado::TADOConnection* Conector,
                                           const TCreaManejadorReportes& elReporte,
                                           const std::string& sNomRep,
                                           std::shared_ptr<IMensajero> Mensajero, int nTotalPreg,
                                           int nNumEmp, const std::string& sFIni,
                                           const std::string& sFFin)
    : TNorvexBD(Conector),
      F_Mensajero(std::move(Mensajero)),
      F_mjReportes(elReporte(sNomRep)),
      F_nTotalPreguntas(nTotalPreg),
      F_sFIni(sFIni),
      F_sFFin(sFFin),
      F_sNumEmp(std::to_string(nNumEmp)) {}

bool TRepCuestionarioKOVA::ObtenRespuesta(const std::string& sConsulta, std::string& sRespuesta) {
    sRespuesta = sTxError;
    F_bResultadoNulo = false;
    if (sConsulta == sTxCCResponde) {
        sRespuesta = sConsulta;
        return true;
    }
    if (sConsulta == sTxError)
        return false;
    if (!PideConsulta(sConsulta, *F_qConsultaGen))
        return false;
    TCierraAlSalir cierra{*F_qConsultaGen};
    if (F_qConsultaGen->IsEmpty())
        return false;
    F_qConsultaGen->First();
    const ado::TCampo resultado = F_qConsultaGen->FieldByName("Resultado");
    // A null has no text: the question stays unanswered rather than "Respuesta: ".
    if (resultado.IsNull()) {
        F_bResultadoNulo = true;
        return false;
    }
    sRespuesta = sTxRespuesta + resultado.AsString();
    return true;
}

bool TRepCuestionarioKOVA::GeneraReporte(TTablaPEPs& vtPEPS) {
    F_vtPEPS = &vtPEPS;
    auto bExito = std::make_shared<TBoolPersist>(true);
    F_Mensajero->MsjTxEspera("Iniciando...", false);
    F_mjReportes->AgregaDatoReporte(sCategoria, "NombreCC", GetEmpresa().sRazonSocial);
    // With an engine to answer them, it learns the statements ahead and
    // answers some of them on the other core while this loop asks the rest in
    // order; leaving the loop (a failure stops it) drops what is left. The
    // list comes from the same DameConsulta, which has no other effect.
    std::vector<std::string> consultas;
    if (F_Conector && F_Conector->Connected())
        for (int i = 1; i <= F_nTotalPreguntas; ++i) {
            std::string sConsulta;
            DameConsulta(i, sConsulta);
            if (sConsulta != sTxCCResponde && sConsulta != sTxError)
                consultas.push_back(sConsulta);
        }
    TAnticipacion anticipacion(F_Conector, std::move(consultas));
    for (int i = 1; i <= F_nTotalPreguntas; ++i) {
        std::string sConsulta, sRespuesta;
        DameConsulta(i, sConsulta);
        bExito->AsignaValor(ObtenRespuesta(sConsulta, sRespuesta));
        F_mjReportes->AgregaDatoReporte(sCategoria, "preg_" + std::to_string(i), sRespuesta);
        if (!bExito->DameValor()) {
            if (F_bResultadoNulo)
                ui::DameCajaMensajes()->MuestraMensaje(
                    "La pregunta " + std::to_string(i) +
                    " no tiene respuesta: su consulta devolvió un valor nulo.");
            F_Mensajero->MsjTxEspera("Error...", false);
            break;
        }
        const int64_t nPorcentaje = int64_t{i} * 100 / F_nTotalPreguntas;
        if (nPorcentaje <= 99)
            F_Mensajero->MsjEnTx("Por favor espere... " + std::to_string(nPorcentaje) + "%");
        else
            F_Mensajero->MsjTxEspera("Por favor espere... 100%", false);
    }
    if (bExito->DameValor()) {
        F_Mensajero->MsjTxEspera("Preparando reporte...", false);
        F_mjReportes->MuestraReporte();
    }
    return bExito->DameValor();
}

bool TRepCuestionarioKOVA::DetectaPEPs(TTablaPEPs& vtPEPS) {
    vtPEPS.Vacia();
    const std::string sConsulta =
        "SELECT DISTINCT tCliente.Nombre, tCliente.ApellidoPaterno,  tCliente.ApellidoMaterno, "
        "tCliente.ClaveCliente FROM tRelevan, tCliente WHERE tRelevan.TipoRelev = 'I' AND "
        "tRelevan.Fecha >= #" +
        F_sFIni + "# AND " + "tRelevan.Fecha < #" + DiaSiguienteSQL(F_sFFin) + "# AND " +
        "tRelevan.Observaciones LIKE '%PEP%' AND " + "tRelevan.NumEmp = " + F_sNumEmp + " AND " +
        "tCliente.ClaveCliente = tRelevan.ClaveCliente";
    if (!PideConsulta(sConsulta, *F_qConsultaGen))
        return false;
    TCierraAlSalir cierra{*F_qConsultaGen};
    if (F_qConsultaGen->IsEmpty())
        return true;
    auto parte = [this](const char* sColumna) {
        const ado::TCampo campo = F_qConsultaGen->FieldByName(sColumna);
        return campo.IsNull() ? std::string() : Recorta(campo.AsString());
    };
    int n = 0;
    for (F_qConsultaGen->First(); !F_qConsultaGen->Eof(); F_qConsultaGen->Next()) {
        ++n;
        std::string sNombre = parte("Nombre");
        for (const char* sApellido : {"ApellidoPaterno", "ApellidoMaterno"}) {
            const std::string sParte = parte(sApellido);
            // One blank between the non-empty parts, none around them.
            if (!sParte.empty())
                sNombre += (sNombre.empty() ? "" : " ") + sParte;
        }
        const ado::TCampo clave = F_qConsultaGen->FieldByName("ClaveCliente");
        vtPEPS.Agrega(n, clave.IsNull() ? std::string() : clave.AsString(), sNombre, false);
    }
    AgregaAlertasPEP(vtPEPS);
    return true;
}

void TRepCuestionarioKOVA::AgregaAlertasPEP(TTablaPEPs& vtPEPS) {
    // The same alerts the candidates came from, joined the same way so each
    // carries the key its row holds; dates and observations let the reviewer
    // tell two clients with the same name apart.
    const std::string sConsulta =
        "SELECT tCliente.ClaveCliente, tRelevan.Fecha, tRelevan.Observaciones FROM tRelevan, "
        "tCliente WHERE tRelevan.TipoRelev = 'I' AND tRelevan.Fecha >= #" +
        F_sFIni + "# AND tRelevan.Fecha < #" + DiaSiguienteSQL(F_sFFin) +
        "# AND tRelevan.Observaciones LIKE '%PEP%' AND tRelevan.NumEmp = " + F_sNumEmp +
        " AND tCliente.ClaveCliente = tRelevan.ClaveCliente ORDER BY tRelevan.Fecha";
    if (!PideConsulta(sConsulta, *F_qConsultaGen))
        return;
    TCierraAlSalir cierra{*F_qConsultaGen};
    if (F_qConsultaGen->IsEmpty())
        return;
    for (F_qConsultaGen->First(); !F_qConsultaGen->Eof(); F_qConsultaGen->Next()) {
        const ado::TCampo clave = F_qConsultaGen->FieldByName("ClaveCliente");
        const ado::TCampo fecha = F_qConsultaGen->FieldByName("Fecha");
        const ado::TCampo obs = F_qConsultaGen->FieldByName("Observaciones");
        if (clave.IsNull())
            continue;
        vtPEPS.AgregaAlerta(clave.AsString(),
                            {fecha.IsNull() ? std::string() : DiaDeSerial(fecha.AsDateTime()),
                             obs.IsNull() ? std::string() : Recorta(obs.AsString())});
    }
}
