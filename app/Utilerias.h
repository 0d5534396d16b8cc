#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/IIUtilerias.h"
#include "errors/InterfacedPadre.h"

// The program's own location, pauses that keep the window responsive, jobs
// under the wait cursor and the narrow (Windows-1252) form of a text.
class TUtilerias : public TInterfacedPadre, public IUtilerias {
public:
    // The system's millisecond tick counter: 32 bits, unsigned, wrapping.
    using TContadorMs = std::function<uint32_t()>;

    // Both arguments exist for tests: an empty counter is the real clock and an
    // empty path is the running executable.
    explicit TUtilerias(TContadorMs Contador = {}, std::string sRutaExe = {});

    std::string DameDirProg() override;
    std::string DameNomExeProg() override;
    std::string DameRutaCompProg() override;
    void MuestraForm(std::shared_ptr<IMjVentana> sFormulario) override;
    void ProcesayEspera(const TProcedimiento& Proc) override;
    void ProcesayEspera(const TProcedimiento& Proc, QAbstractButton* bnBoton) override;
    void HazPausa(uint32_t nSegs) override;
    std::string StringToPAnsiChar(const std::string& sStringVar) override;

    // The wait cursor of a job and the normal one, kept as a single override
    // so that nested settings never pile up.
    static void CursorEspera();
    static void CursorNormal();

private:
    TContadorMs F_Contador;
    std::string F_sRutaExe;
};
