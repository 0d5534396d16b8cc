#include "LectorMdbReader.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace {

std::string Citado(const std::string& s) {
    std::string r = "'";
    for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return r + "'";
}

}  // namespace

nlohmann::json LeeConMdbReader(const std::string& sRuta, const std::string& sContrasena,
                               bool bSistema) {
    const std::string sDir = KOVA_NPM_DIR;
    if (!std::filesystem::exists(sDir + "/node_modules/mdb-reader/package.json"))
        throw std::runtime_error("mdb-reader no está instalado en " + sDir +
                                 " (npm install --prefix " + sDir + " mdb-reader@3)");
    const std::string sOrden = "node " + Citado(sDir + "/lee_mdb_reader.mjs") + " " +
                               Citado(sRuta) + " " + Citado(sContrasena) +
                               (bSistema ? " sistema" : "") + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> tubo(popen(sOrden.c_str(), "r"), pclose);
    if (!tubo)
        throw std::runtime_error("no se pudo ejecutar node");
    std::string sSalida;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, tubo.get())) > 0) sSalida.append(buf, n);
    const int nEstado = pclose(tubo.release());
    if (nEstado != 0)
        throw std::runtime_error("mdb-reader falló: " + sSalida);
    return nlohmann::json::parse(sSalida);
}
