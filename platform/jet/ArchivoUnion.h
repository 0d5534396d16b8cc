#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/jet/ArchivoPorPartes.h"
#include "platform/jet/TArchivoAccess.h"

namespace jet {

// How the rows of several Access files become the rows of one: what each
// file's row turns into, or whether it stays out. The rules know the data;
// the union only knows files and tables.
//
// Threads: Prepara and Reprepara are called on the thread that opens the
// union or opens its parts again (the engine's), never while rows are read;
// Adapta on the thread that reads the rows (the snapshot's reader,
// TLecturaSolapada), one row at a time. TArchivoUnion enforces both: a
// second read at once, or a new preparation during a read, is a fault of
// the program (std::logic_error), never a race. What Adapta learns and
// another thread may want meanwhile (a window's heartbeat runs while rows
// are read) the rules hand out under a lock of their own.
class IReglasUnion {
public:
    virtual ~IReglasUnion() = default;
    // Called once the files are open and before any row is handed out: the
    // rules may read whatever catalogues they need to decide.
    virtual void Prepara(const std::vector<const TArchivoAccess*>& partes) = 0;
    // Row of the part nParte's table (columns as the union's table has them);
    // false leaves it out. On the reading thread.
    virtual bool Adapta(size_t nParte, const TTabla& tabla, std::vector<TValor>& fila) = 0;
    // The files of the parts `cambiadas` were opened again (partes holds
    // every part, those among them): the rules read again what Prepara read
    // and answer the parts whose rows must be read again, the changed ones
    // among them, because they now adapt otherwise. What Adapta learnt from
    // those parts' rows is forgotten; what it learnt from the others stays,
    // as their rows stay. By default every part, as after Prepara.
    virtual std::set<size_t> Reprepara(const std::vector<const TArchivoAccess*>& partes,
                                       const std::set<size_t>& cambiadas);
};

// Several Access files read as one, each through its own reader and read
// only: the tables are the first file's, and a table's rows are those of
// every file in order, each passed through the rules. A column the union's
// table has and a file's table lacks reads as Null; columns are matched by
// name. The path is every file's path (separated by a NUL character), so
// that FirmaEnDisco tells a change in any of them.
//
// Given a way to open a part's file again, the union tells the snapshot
// which files changed and reopens only those (IArchivoPorPartes): the
// snapshot then reads again only their rows, and those of the parts whose
// rows the rules say now adapt otherwise. The tables stay the first file's:
// when a change of that file changes them, every part is read again.
class TArchivoUnion : public TArchivoAccess, public IArchivoPorPartes {
public:
    using TAbreParte = std::function<std::unique_ptr<TArchivoAccess>(size_t nParte)>;
    using TFirmaEnDisco = std::function<TFirmaArchivo(const std::string&)>;

    // abreParte: opens a part's file anew (none: a change reloads every part).
    // firmaEnDisco: a part's signature on disk, from its path.
    TArchivoUnion(std::vector<std::unique_ptr<TArchivoAccess>> partes,
                  std::shared_ptr<IReglasUnion> reglas, TAbreParte abreParte = nullptr,
                  TFirmaEnDisco firmaEnDisco = &TArchivoAccess::FirmaEnDisco);

    const std::string& Ruta() const override { return sRuta_; }
    int VersionJet() const override { return partes_.front()->VersionJet(); }
    TFirmaArchivo Firma() const override;
    std::vector<std::string> DameNombresTablas() const override;
    const TTabla* BuscaTabla(const std::string& sNombre) const override;
    void LeeFilas(const std::string& sTabla,
                  const std::function<void(const std::vector<TValor>&)>& fila) const override;

    size_t NumeroPartes() const override { return partes_.size(); }
    std::set<size_t> PartesCambiadas() const override;
    std::set<size_t> ReabrePartes(const std::set<size_t>& cambiadas) override;
    void LeeFilasParte(size_t nParte, const std::string& sTabla,
                       const std::function<void(const std::vector<TValor>&)>& fila) const override;

    // The paths of Ruta() as one string, and its on-disk signature.
    static std::string UneRutas(const std::vector<std::string>& rutas);
    static TFirmaArchivo FirmaEnDisco(const std::string& sRutas);
    // The same, with each file's signature taken by firmaParte.
    static TFirmaArchivo FirmaEnDiscoPorPartes(const std::string& sRutas,
                                               const TFirmaEnDisco& firmaParte);

private:
    std::vector<std::unique_ptr<TArchivoAccess>> partes_;
    std::shared_ptr<IReglasUnion> reglas_;
    TAbreParte abreParte_;
    TFirmaEnDisco firmaEnDisco_;
    std::string sRuta_;
    // Rows being read (0 or 1): the rules adapt one row at a time and are
    // never prepared again meanwhile.
    mutable std::atomic<int> nLecturas_{0};

    std::vector<const TArchivoAccess*> Vistas() const;
};

}  // namespace jet
