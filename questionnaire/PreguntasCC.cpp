#include "questionnaire/PreguntasCC.h"

#include <algorithm>

const std::vector<TPreguntaCC>& DamePreguntasCC() {
    static const QStringList kTiposCuenta = {QStringLiteral("CHEQUES"), QStringLiteral("INVERSION"),
                                             QStringLiteral("OTRA")};
    auto monto = [](int n, const char* s) {
        return TPreguntaCC{n, QString::fromUtf8(s), trMonto, QStringLiteral("pesos"), {}};
    };
    auto de = [](int n, const char* s, TTipoRespuestaCC t) {
        return TPreguntaCC{n, QString::fromUtf8(s), t, {}, {}};
    };
    auto opcion = [](int n, const char* s, const QStringList& o) {
        return TPreguntaCC{n, QString::fromUtf8(s), trOpcion, {}, o};
    };
    static const std::vector<TPreguntaCC> kPreguntas = {
        monto(1,
              "¿Cuál es el capital social del Centro Cambiario a la fecha? (en pesos, sin "
              "centavos)"),
        monto(3,
              "¿Cuál fue el total de activos al cierre del ejercicio anterior? (en pesos, sin "
              "centavos)"),
        de(4, "¿En qué entidad federativa se ubica la oficina matriz del Centro Cambiario?",
           trTexto),
        de(5, "¿El Centro Cambiario cuenta con sucursales?", trSiNo),
        de(6, "¿Cuántas sucursales tiene el Centro Cambiario? (sin contar la oficina matriz)",
           trConteo),
        de(7, "¿En qué entidades federativas se ubican sus sucursales?", trTexto),
        de(8, "¿Cuántos empleados tiene el Centro Cambiario?", trConteo),
        de(9, "¿El Centro Cambiario pertenece a algún grupo comercial o económico?", trSiNo),
        de(10, "¿Cuál es el nombre del grupo comercial o económico al que pertenece?", trTexto),
        de(11, "¿Actualmente el Centro Cambiario se encuentra operando con el público?", trSiNo),
        de(12, "¿Desde qué fecha opera con el público? (dd/mm/aaaa)", trFecha),
        de(13,
           "¿Cuál es el nivel de riesgo que el Centro Cambiario se asignó conforme a su enfoque "
           "basado en riesgo?",
           trTexto),
        de(14, "¿El Centro Cambiario tiene cuenta bancaria en alguna entidad financiera mexicana?",
           trSiNo),
        de(15, "¿Con qué entidad financiera nacional opera principalmente?", trTexto),
        de(16, "¿Alguna institución financiera mexicana le ha cancelado recientemente su cuenta?",
           trSiNo),
        de(17, "¿Qué institución financiera mexicana le canceló la cuenta?", trTexto),
        de(18, "¿Cuál fue el motivo de la cancelación?", trTexto),
        de(19, "¿Cuál fue la fecha de apertura de la cuenta? (dd/mm/aaaa)", trFecha),
        de(20, "¿Cuál fue la fecha de cancelación de la cuenta? (dd/mm/aaaa)", trFecha),
        opcion(21, "¿Qué tipo de cuenta era? (cheques, inversión u otra)", kTiposCuenta),
        de(22, "¿Cuál era el número de la cuenta?", trTexto),
        de(23, "¿En qué moneda estaba denominada la cuenta?", trTexto),
        de(24,
           "¿El Centro Cambiario tiene cuenta bancaria en alguna entidad financiera extranjera?",
           trSiNo),
        de(25, "¿Con qué entidad financiera extranjera opera principalmente?", trTexto),
        de(26, "¿Alguna institución financiera extranjera le ha cancelado recientemente su cuenta?",
           trSiNo),
        de(27, "¿Qué institución financiera extranjera le canceló la cuenta?", trTexto),
        de(28, "¿Cuál fue el motivo de la cancelación?", trTexto),
        de(29, "¿Cuál fue la fecha de apertura de la cuenta? (dd/mm/aaaa)", trFecha),
        de(30, "¿Cuál fue la fecha de cancelación de la cuenta? (dd/mm/aaaa)", trFecha),
        opcion(31, "¿Qué tipo de cuenta era? (cheques, inversión u otra)", kTiposCuenta),
        de(32, "¿En qué moneda estaba denominada la cuenta?", trTexto),
        de(192,
           "¿Contrató los servicios de alguna empresa para el traslado nacional de valores "
           "durante 2017?",
           trSiNo),
        de(193,
           "¿Cuál es la denominación o razón social de las empresas de traslado nacional de "
           "valores?",
           trTexto),
        de(194,
           "¿Contrató los servicios de alguna empresa para el traslado internacional de valores "
           "durante 2017?",
           trSiNo),
        de(195,
           "¿Cuál es la denominación o razón social de las empresas de traslado internacional de "
           "valores?",
           trTexto),
    };
    return kPreguntas;
}

const TPreguntaCC* DamePreguntaCC(int nNumero) {
    const auto& p = DamePreguntasCC();
    auto it = std::find_if(p.begin(), p.end(),
                           [nNumero](const TPreguntaCC& q) { return q.nNumero == nNumero; });
    return it == p.end() ? nullptr : &*it;
}
