#pragma once

#include <signal.h>

#include <filesystem>
#include <string>

// Where an export is written: a new file or folder next to the target that
// takes the target's place only when the export is whole, so a failure or
// an interruption never leaves a partial output. While it lives, Ctrl-C,
// SIGTERM and SIGHUP only ask the export to stop (Comprueba), so the
// temporary output is removed on the way out and the failure reported. Every failure is an
// EErrorJet of kind EExportacion.
class TDestinoExportacion {
public:
    // Refuses an existing target unless bSobrescribir, and a target that is
    // the Access file or holds it: the export must never replace it.
    TDestinoExportacion(const std::string& sDestino, const std::string& sArchivoAccess,
                        bool bSobrescribir, bool bCarpeta);
    // The temporary output, if not put in place, is removed.
    ~TDestinoExportacion();
    TDestinoExportacion(const TDestinoExportacion&) = delete;
    TDestinoExportacion& operator=(const TDestinoExportacion&) = delete;

    const std::filesystem::path& Temporal() const { return temporal_; }
    // Throws if a signal asked the export to stop; cheap, called per row.
    void Comprueba() const;
    // Puts the finished output in the target's place.
    void Confirma();

private:
    std::filesystem::path destino_;
    std::filesystem::path temporal_;
    bool bCarpeta_;
    bool bConfirmado_ = false;
    struct sigaction anteriores_[3] = {};
};
