#include "tools/cuestionario-kova/SalidasLotes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// Writers report a full disk in their own words, or in none ("Unknown
// error"): a write that failed where no space is left says so, in the words
// the user needs. Called before the failed temporary file is removed, while
// the disk is still as the writer left it.
bool DiscoLleno(const fs::path& sTemporal, int nErrno) {
    struct statvfs datos {};
    return nErrno == ENOSPC ||
           (statvfs(sTemporal.parent_path().c_str(), &datos) == 0 && datos.f_bavail == 0);
}

std::string TxDiscoLleno(const fs::path& sDestino) {
    return "El disco está lleno: no fue posible escribir " + sDestino.string() +
           ". Libere espacio y vuelva a intentarlo.";
}

}  // namespace

TSalidasLotes::~TSalidasLotes() {
    std::error_code ec;
    for (const TPendiente& p : F_Pendientes) fs::remove_all(p.sTemporal, ec);
}

bool TSalidasLotes::Prepara(const fs::path& sDestino, const TEscritor& Escribe,
                            std::string& sError) {
    // Hidden and unique in the target's own folder, so the final rename never
    // crosses file systems.
    std::error_code ec;
    const fs::path sAbsoluto = fs::absolute(sDestino, ec);
    std::string sPlantilla =
        (sAbsoluto.parent_path() / ("." + sAbsoluto.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(sPlantilla.data());
    if (fd < 0) {
        sError = errno == ENOSPC ? TxDiscoLleno(sDestino)
                                 : "No fue posible escribir " + sDestino.string() + ".";
        return false;
    }
    // mkstemp makes it private; the finished file gets the usual permissions.
    const mode_t nMascara = umask(0);
    umask(nMascara);
    fchmod(fd, 0666 & ~nMascara);
    close(fd);
    F_Pendientes.push_back({sPlantilla, sAbsoluto});
    errno = 0;
    if (!Escribe(sPlantilla, sError)) {
        if (DiscoLleno(sPlantilla, errno))
            sError = TxDiscoLleno(sDestino);
        else if (sError.empty())
            sError = "No fue posible escribir " + sDestino.string() + ".";
        return false;
    }
    return true;
}

bool TSalidasLotes::PreparaCarpeta(const fs::path& sDestino, const TEscritor& Escribe,
                                   std::string& sError) {
    std::error_code ec;
    const fs::path sAbsoluto = fs::absolute(sDestino, ec);
    std::string sPlantilla =
        (sAbsoluto.parent_path() / ("." + sAbsoluto.filename().string() + ".XXXXXX")).string();
    if (!mkdtemp(sPlantilla.data())) {
        sError = errno == ENOSPC ? TxDiscoLleno(sDestino)
                                 : "No fue posible escribir la carpeta " + sDestino.string() + ".";
        return false;
    }
    // mkdtemp makes it private; the finished folder gets the usual permissions.
    const mode_t nMascara = umask(0);
    umask(nMascara);
    chmod(sPlantilla.c_str(), 0777 & ~nMascara);
    F_Pendientes.push_back({sPlantilla, sAbsoluto});
    errno = 0;
    if (!Escribe(sPlantilla, sError)) {
        if (DiscoLleno(fs::path(sPlantilla) / "", errno))
            sError = TxDiscoLleno(sDestino);
        else if (sError.empty())
            sError = "No fue posible escribir la carpeta " + sDestino.string() + ".";
        return false;
    }
    return true;
}

bool TSalidasLotes::PreparaTexto(const fs::path& sDestino, const std::string& sContenido,
                                 std::string& sError) {
    return Prepara(
        sDestino,
        [&](const fs::path& sTemporal, std::string&) {
            std::ofstream archivo(sTemporal, std::ios::binary | std::ios::trunc);
            archivo << sContenido;
            archivo.close();
            return archivo.good();
        },
        sError);
}

bool TSalidasLotes::Confirma(std::string& sError) {
    while (!F_Pendientes.empty()) {
        const TPendiente& p = F_Pendientes.front();
        std::error_code ec;
        fs::rename(p.sTemporal, p.sDestino, ec);
        if (ec) {
            sError = "No fue posible escribir " + p.sDestino.string() + ": " + ec.message();
            return false;
        }
        F_Pendientes.erase(F_Pendientes.begin());
    }
    return true;
}
