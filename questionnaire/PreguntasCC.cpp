#include "questionnaire/PreguntasCC.h"

#include <algorithm>

#include "questionnaire/CatalogoEdiciones.h"
#include "questionnaire/Edicion.h"

const TPreguntaCC* TPreguntasCC::Dame(int nNumero) const {
    auto it = std::find_if(preguntas.begin(), preguntas.end(),
                           [nNumero](const TPreguntaCC& q) { return q.nNumero == nNumero; });
    return it == preguntas.end() ? nullptr : &*it;
}

std::shared_ptr<const TPreguntasCC> PreguntasCCDe(const TEdicion& edicion) {
    auto r = std::make_shared<TPreguntasCC>();
    r->sClave = edicion.sClave;
    r->nTotal = edicion.DameTotalPreguntas();
    for (const TPreguntaEdicion& p : edicion.preguntas) {
        if (p.eForma != fpCentro)
            continue;
        QStringList opciones;
        for (const std::string& s : p.centro.opciones) opciones << QString::fromStdString(s);
        r->preguntas.push_back({p.nNumero, QString::fromStdString(p.sTexto), p.centro.tipo,
                                QString::fromStdString(p.centro.sMoneda), opciones});
    }
    return r;
}

std::shared_ptr<const TPreguntasCC> PreguntasCCPredeterminadas() {
    static const std::shared_ptr<const TPreguntasCC> preguntas =
        PreguntasCCDe(*EdicionPredeterminada());
    return preguntas;
}

const std::vector<TPreguntaCC>& DamePreguntasCC() {
    return PreguntasCCPredeterminadas()->preguntas;
}

const TPreguntaCC* DamePreguntaCC(int nNumero) {
    return PreguntasCCPredeterminadas()->Dame(nNumero);
}
