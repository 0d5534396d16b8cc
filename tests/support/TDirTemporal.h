#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

// A fresh temporary folder for one test, removed with everything in it when
// the test ends, so no test leaves files behind.
class TDirTemporal {
public:
    TDirTemporal() {
        std::string plantilla = (std::filesystem::temp_directory_path() / "kova-XXXXXX").string();
        if (!mkdtemp(plantilla.data())) throw std::runtime_error("mkdtemp");
        ruta_ = plantilla;
    }
    ~TDirTemporal() {
        std::error_code ec;
        std::filesystem::permissions(ruta_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(ruta_, ec);
    }
    TDirTemporal(const TDirTemporal&) = delete;
    TDirTemporal& operator=(const TDirTemporal&) = delete;

    const std::filesystem::path& ruta() const { return ruta_; }
    std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

private:
    std::filesystem::path ruta_;
};
