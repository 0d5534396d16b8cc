#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/jet/TArchivoAccess.h"

namespace jet {
class TMotorJet;
class IReglasUnion;
}  // namespace jet

namespace ado {

// Kinds of the failures of the connection object (EErrorJet::Clase()); the
// Access file adds its own (platform/jet/TArchivoAccess.h).

// The provider that opens Access files.
inline constexpr const char* sProveedorJet = "Microsoft.Jet.OLEDB.4.0";

enum class TModoConexion {
    cmUnknown,
    cmRead,
    cmWrite,
    cmReadWrite,
    cmShareDenyRead,
    cmShareDenyWrite,
    cmShareExclusive,
    cmShareDenyNone
};

// The platform connection object. It takes the connection strings of the
// connectors as they are: keys without regard to letter case, values as
// given, unknown keys ignored. The Jet provider opens the Access file named by
// "Data Source" read-only, whatever the mode; other providers fail.
// Failures are jet::EErrorJet.
class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    void SetConnectionString(const std::string& sConexion);
    const std::string& ConnectionString() const;
    void SetLoginPrompt(bool bPide);
    bool LoginPrompt() const;
    void SetMode(TModoConexion eModo);
    TModoConexion Mode() const;

    // true opens with the connection string, false closes.
    void SetConnected(bool bAbierta);
    bool Connected() const;

    // The open Access file and what opened it; throws when closed.
    jet::TArchivoAccess& Archivo();
    const std::string& RutaArchivo() const;
    const std::string& ContrasenaArchivo() const;
    // The SQL engine over the open file, one per connection; throws when closed.
    jet::TMotorJet& Motor();
    // From now until the connection closes, statements run over the union of
    // this file and the others (path, password), read through the rules; the
    // open file itself stays as it is. Throws as opening any of them would.
    // No others and no rules: statements run over the file alone again.
    void UneArchivos(const std::vector<std::pair<std::string, std::string>>& otros,
                     std::shared_ptr<jet::IReglasUnion> reglas);

private:
    struct TDatos;
    std::unique_ptr<TDatos> d_;
};

}  // namespace ado
