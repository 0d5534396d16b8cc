#include "tools/cuestionario-kova/SalidasLotes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <optional>

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
    // What each move replaced is kept under a hidden name until every output
    // is in place, so a move that fails midway puts back what was there and
    // takes out what this run had already moved: all the outputs or none.
    struct TMovido {
        fs::path sDestino;
        std::optional<fs::path> sAnterior;  // the earlier file, kept aside
        bool bCarpetaVacia = false;         // an empty folder was in its place
    };
    std::vector<TMovido> movidos;
    const auto Deshace = [&] {
        std::error_code ec;
        for (auto m = movidos.rbegin(); m != movidos.rend(); ++m) {
            fs::remove_all(m->sDestino, ec);
            if (m->sAnterior)
                fs::rename(*m->sAnterior, m->sDestino, ec);
            else if (m->bCarpetaVacia)
                fs::create_directory(m->sDestino, ec);
        }
    };
    for (const TPendiente& p : F_Pendientes) {
        TMovido m{p.sDestino, std::nullopt, false};
        std::error_code ec;
        const fs::file_status estado = fs::symlink_status(p.sDestino, ec);
        if (fs::is_regular_file(estado)) {
            std::string sAparte =
                (p.sDestino.parent_path() / ("." + p.sDestino.filename().string() + ".XXXXXX"))
                    .string();
            const int fd = mkstemp(sAparte.data());
            if (fd >= 0) {
                close(fd);
                fs::rename(p.sDestino, sAparte, ec);
            }
            if (fd < 0 || ec) {
                if (fd >= 0)
                    fs::remove(sAparte, ec);
                Deshace();
                sError = "No fue posible reemplazar " + p.sDestino.string() + ".";
                return false;
            }
            m.sAnterior = sAparte;
        } else if (fs::is_directory(estado)) {
            m.bCarpetaVacia = true;
        }
        fs::rename(p.sTemporal, p.sDestino, ec);
        if (ec) {
            const std::string sMotivo = ec.message();
            std::error_code ec2;
            if (m.sAnterior)
                fs::rename(*m.sAnterior, p.sDestino, ec2);
            Deshace();
            sError = "No fue posible escribir " + p.sDestino.string() + ": " + sMotivo;
            return false;
        }
        movidos.push_back(std::move(m));
    }
    std::error_code ec;
    for (const TMovido& m : movidos)
        if (m.sAnterior)
            fs::remove(*m.sAnterior, ec);
    F_Pendientes.clear();
    return true;
}
