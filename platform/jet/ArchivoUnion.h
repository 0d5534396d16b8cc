#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/jet/TArchivoAccess.h"

namespace jet {

// How the rows of several Access files become the rows of one: what each
// file's row turns into, or whether it stays out. The rules know the data;
// the union only knows files and tables.
class IReglasUnion {
public:
    virtual ~IReglasUnion() = default;
    // Called once the files are open and before any row is handed out: the
    // rules may read whatever catalogues they need to decide.
    virtual void Prepara(const std::vector<const TArchivoAccess*>& partes) = 0;
    // Row of the part nParte's table (columns as the union's table has them);
    // false leaves it out.
    virtual bool Adapta(size_t nParte, const TTabla& tabla, std::vector<TValor>& fila) = 0;
};

// Several Access files read as one, each through its own reader and read
// only: the tables are the first file's, and a table's rows are those of
// every file in order, each passed through the rules. A column the union's
// table has and a file's table lacks reads as Null; columns are matched by
// name. The path is every file's path (separated by a NUL character), so
// that FirmaEnDisco tells a change in any of them.
class TArchivoUnion : public TArchivoAccess {
public:
    TArchivoUnion(std::vector<std::unique_ptr<TArchivoAccess>> partes,
                  std::shared_ptr<IReglasUnion> reglas);

    const std::string& Ruta() const override { return sRuta_; }
    int VersionJet() const override { return partes_.front()->VersionJet(); }
    TFirmaArchivo Firma() const override;
    std::vector<std::string> DameNombresTablas() const override;
    const TTabla* BuscaTabla(const std::string& sNombre) const override;
    void LeeFilas(const std::string& sTabla,
                  const std::function<void(const std::vector<TValor>&)>& fila) const override;

    // The paths of Ruta() as one string, and its on-disk signature.
    static std::string UneRutas(const std::vector<std::string>& rutas);
    static TFirmaArchivo FirmaEnDisco(const std::string& sRutas);

private:
    std::vector<std::unique_ptr<TArchivoAccess>> partes_;
    std::shared_ptr<IReglasUnion> reglas_;
    std::string sRuta_;
};

}  // namespace jet
