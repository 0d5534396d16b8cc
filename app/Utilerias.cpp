#include "app/Utilerias.h"

#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace {

uint32_t ContadorDelSistema() {
    static QElapsedTimer reloj = [] {
        QElapsedTimer r;
        r.start();
        return r;
    }();
    // Truncation to 32 bits is the wrap of the platform counter.
    return static_cast<uint32_t>(reloj.elapsed());
}

const char* const kFalloConversion = "Falló la conversión String a PAnsiChar";

}  // namespace

TUtilerias::TUtilerias(TContadorMs Contador, std::string sRutaExe)
    : F_Contador(Contador ? std::move(Contador) : TContadorMs(ContadorDelSistema)),
      F_sRutaExe(std::move(sRutaExe)) {}

std::string TUtilerias::DameRutaCompProg() {
    if (!F_sRutaExe.empty())
        return F_sRutaExe;
    return QCoreApplication::applicationFilePath().toStdString();
}

std::string TUtilerias::DameDirProg() {
    std::string sDir = std::filesystem::path(DameRutaCompProg()).parent_path().string();
    if (sDir.empty() || sDir.back() != '/')
        sDir += '/';
    return sDir;
}

std::string TUtilerias::DameNomExeProg() {
    return std::filesystem::path(DameRutaCompProg()).filename().string();
}

void TUtilerias::CursorEspera() {
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void TUtilerias::CursorNormal() {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

void TUtilerias::MuestraForm(std::shared_ptr<IMjVentana> sFormulario) {
    CursorEspera();
    sFormulario->Operacion1();
    sFormulario->Operacion3();
    CursorNormal();
}

void TUtilerias::ProcesayEspera(const TProcedimiento& Proc) {
    CursorEspera();
    try {
        Proc();
    } catch (...) {
        CursorNormal();
        throw;
    }
    CursorNormal();
}

void TUtilerias::ProcesayEspera(const TProcedimiento& Proc, QAbstractButton* bnBoton) {
    CursorEspera();
    bnBoton->setEnabled(false);
    QCoreApplication::processEvents();
    auto restaura = [&] {
        CursorNormal();
        bnBoton->setEnabled(true);
    };
    try {
        Proc();
    } catch (...) {
        restaura();
        throw;
    }
    restaura();
}

void TUtilerias::HazPausa(uint32_t nSegs) {
    const uint32_t nInicio = F_Contador();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // Unsigned subtraction keeps the length right across the wrap.
        const uint32_t nPasado = F_Contador() - nInicio;
        if (nPasado >= nSegs)
            return;
        // Give the processor back between passes instead of spinning; short
        // enough that the 50 ms flash timer and repaints stay punctual.
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min<uint32_t>(nSegs - nPasado, 5)));
    }
}

std::string TUtilerias::StringToPAnsiChar(const std::string& sStringVar) {
    if (sStringVar.empty())
        return {};
    const icu::UnicodeString sUnicode = icu::UnicodeString::fromUTF8(sStringVar);

    UErrorCode eError = U_ZERO_ERROR;
    UConverter* cnv = ucnv_open("windows-1252", &eError);
    if (U_FAILURE(eError))
        throw std::runtime_error(kFalloConversion);
    std::unique_ptr<UConverter, decltype(&ucnv_close)> guarda(cnv, ucnv_close);
    // Stop at a character the code page cannot hold rather than writing '?'.
    ucnv_setFromUCallBack(cnv, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &eError);

    std::string sAnsi(static_cast<size_t>(sUnicode.length()) * 2 + 1, '\0');
    const int32_t nLong = ucnv_fromUChars(cnv, sAnsi.data(), static_cast<int32_t>(sAnsi.size()),
                                          sUnicode.getBuffer(), sUnicode.length(), &eError);
    if (U_FAILURE(eError))
        throw std::runtime_error(kFalloConversion);
    sAnsi.resize(static_cast<size_t>(nLong));

    // The way back must give the same text; invalid UTF-8 input fails here.
    icu::UnicodeString sVuelta(sAnsi.data(), static_cast<int32_t>(sAnsi.size()), cnv, eError);
    std::string sUtf8;
    sVuelta.toUTF8String(sUtf8);
    if (U_FAILURE(eError) || sUtf8 != sStringVar)
        throw std::runtime_error(kFalloConversion);
    return sAnsi;  // std::string is zero-terminated and owns its bytes
}
