#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The output files of one run, written first to temporary files next to their
// targets and moved into place together at the end: a failed run leaves no
// output behind and an earlier file of the same name untouched.
class TSalidasLotes {
public:
    TSalidasLotes() = default;
    ~TSalidasLotes();  // removes whatever was not moved into place
    TSalidasLotes(const TSalidasLotes&) = delete;
    TSalidasLotes& operator=(const TSalidasLotes&) = delete;

    // Writes a target through a temporary file: Escribe gets its path and
    // returns false (with the reason in sError) when it failed.
    using TEscritor =
        std::function<bool(const std::filesystem::path& sTemporal, std::string& sError)>;
    bool Prepara(const std::filesystem::path& sDestino, const TEscritor& Escribe,
                 std::string& sError);
    bool PreparaTexto(const std::filesystem::path& sDestino, const std::string& sContenido,
                      std::string& sError);
    // A whole folder likewise: Escribe fills a new temporary folder next to
    // sDestino, which then takes the place of sDestino (absent or empty).
    bool PreparaCarpeta(const std::filesystem::path& sDestino, const TEscritor& Escribe,
                        std::string& sError);
    // Moves every prepared file into place; when one cannot be, the ones
    // already moved are taken out again and the files they replaced put back.
    bool Confirma(std::string& sError);

private:
    struct TPendiente {
        std::filesystem::path sTemporal;
        std::filesystem::path sDestino;
    };
    std::vector<TPendiente> F_Pendientes;
};
