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
        DevuelvePermisos(ruta_);
        std::filesystem::remove_all(ruta_, ec);
    }
    TDirTemporal(const TDirTemporal&) = delete;
    TDirTemporal& operator=(const TDirTemporal&) = delete;

    const std::filesystem::path& ruta() const { return ruta_; }
    std::filesystem::path operator/(const std::string& nombre) const { return ruta_ / nombre; }

private:
    // A test may have taken the rights away from a folder inside; they come
    // back to the owner first, or the removal could not look into it.
    static void DevuelvePermisos(const std::filesystem::path& dir) {
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
        for (fs::directory_iterator it(dir, ec), fin; !ec && it != fin; it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec))
                DevuelvePermisos(it->path());
    }

    std::filesystem::path ruta_;
};
