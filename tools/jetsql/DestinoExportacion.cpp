#include "tools/jetsql/DestinoExportacion.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/jet/ErroresJet.h"

namespace fs = std::filesystem;

namespace {

const int senales[] = {SIGINT, SIGTERM, SIGHUP};
volatile sig_atomic_t gnSenal = 0;

void AlPedirFin(int nSenal) {
    gnSenal = nSenal;
}

[[noreturn]] void Falla(const std::string& sMensaje) {
    throw jet::ErrorJet(jet::TErrorJet::Exportacion, {sMensaje});
}

// Whether a is b or lies inside it.
bool Contiene(const fs::path& b, const fs::path& a) {
    std::error_code ec;
    for (fs::path p = a; !p.empty(); p = p.parent_path()) {
        if (fs::equivalent(p, b, ec))
            return true;
        if (p == p.parent_path())
            break;
    }
    return false;
}

}  // namespace

TDestinoExportacion::TDestinoExportacion(const std::string& sDestino,
                                         const std::string& sArchivoAccess, bool bSobrescribir,
                                         bool bCarpeta)
    : destino_(fs::absolute(sDestino)), bCarpeta_(bCarpeta) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(destino_, ec))) {
        if (!bSobrescribir)
            Falla("Ya existe '" + sDestino + "'; --sobrescribir lo reemplaza.");
        if (Contiene(destino_, fs::absolute(sArchivoAccess)))
            Falla("La exportación reemplazaría el propio archivo de Access '" + sArchivoAccess +
                  "'.");
        if (fs::is_directory(destino_, ec) != bCarpeta)
            Falla("'" + sDestino + "' ya existe y no es " +
                  (bCarpeta ? "una carpeta." : "un archivo."));
    }
    std::string sPlantilla = destino_.string() + ".tmp-XXXXXX";
    const bool bCreado = bCarpeta ? mkdtemp(sPlantilla.data()) != nullptr : [&] {
        const int fd = mkstemp(sPlantilla.data());
        return fd >= 0 && close(fd) == 0;
    }();
    if (!bCreado)
        Falla("No se puede escribir junto a '" + sDestino + "'.");
    temporal_ = sPlantilla;
    gnSenal = 0;
    struct sigaction sa = {};
    sa.sa_handler = AlPedirFin;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; ++i) sigaction(senales[i], &sa, &anteriores_[i]);
}

TDestinoExportacion::~TDestinoExportacion() {
    for (int i = 0; i < 3; ++i) sigaction(senales[i], &anteriores_[i], nullptr);
    if (!bConfirmado_) {
        std::error_code ec;
        fs::remove_all(temporal_, ec);
    }
    gnSenal = 0;
}

void TDestinoExportacion::Comprueba() const {
    if (gnSenal)
        Falla("Exportación interrumpida; no queda nada escrito.");
}

void TDestinoExportacion::Confirma() {
    std::error_code ec;
    if (!bCarpeta_) {
        // On disk before it takes the target's name.
        const int fd = open(temporal_.c_str(), O_RDONLY);
        if (fd < 0 || fsync(fd) != 0) {
            if (fd >= 0)
                close(fd);
            Falla("No se pudo guardar '" + destino_.string() + "'.");
        }
        close(fd);
        fs::rename(temporal_, destino_, ec);
    } else if (fs::exists(destino_, ec)) {
        // A folder cannot replace a folder in one step: the old one steps
        // aside first and goes only once the new one is in place.
        const fs::path anterior = temporal_.string() + ".anterior";
        fs::rename(destino_, anterior, ec);
        if (!ec)
            fs::rename(temporal_, destino_, ec);
        if (ec) {
            std::error_code ec2;
            fs::rename(anterior, destino_, ec2);
        } else {
            fs::remove_all(anterior, ec);
            ec.clear();
        }
    } else {
        fs::rename(temporal_, destino_, ec);
    }
    if (ec)
        Falla("No se pudo poner la exportación en '" + destino_.string() + "': " + ec.message());
    bConfirmado_ = true;
}
