#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CompuertaAcceso.h"

class TUnionNorvex;
namespace ado {
class TADOConnection;
}

// The window's run over several branches: once the head office's gate is
// open, every other branch passes the same gate on its own database (with a
// registry of its own, closed again afterwards), and the head office's
// connection then answers over the union of all the files. With no other
// branch, the connection answers over its own file, as always.
class TUnionSucursales {
public:
    struct TPeticion {
        std::vector<std::filesystem::path> sucursales;  // not the head office
        std::string sUsuario, sPassw;
        double dTCambio = 0;
        int nNumEmp = 0;  // the head office's active company
    };
    // The gate's closure of the first branch refused (ciAbierta when all
    // passed); sRechazada names its folder. Union: the rules joined, when any.
    static TCompuertaAcceso::TCierre Une(ado::TADOConnection& Matriz, const TPeticion& Peticion,
                                         std::shared_ptr<IMensajero> Mensajero,
                                         std::shared_ptr<IAvisosCompuerta> Avisos,
                                         std::filesystem::path& sRechazada,
                                         std::shared_ptr<TUnionNorvex>& Union);
    // A branch's name as its Norvex knows it: the key "Sucursal" of the
    // section [Control] of its Norvex.INI; the folder's own name when it has
    // none. The window and the batch program name branches only so, never by
    // their paths, which mean nothing in the regulator's form.
    static std::string NombreSucursal(const std::filesystem::path& sCarpeta);
    // The names of several branches in their order; two that would read
    // alike are told apart by their folders.
    static std::vector<std::string> NombresSucursales(
        const std::vector<std::filesystem::path>& carpetas);
    // The title page's line naming the consolidated branches (head office
    // first), with the line break that sets it under the company's name;
    // empty for a single folder.
    static std::string LineaTitulo(const std::vector<std::filesystem::path>& carpetas);
    // The names (head office first, as carpetas) of the branches whose
    // alerts name the client, as the batch's PEP list names them: "; " between.
    static std::string SucursalesDe(const TUnionNorvex& Union,
                                    const std::vector<std::filesystem::path>& carpetas,
                                    const std::string& sClaveCliente);
    // The same with the names already read (NombresSucursales).
    static std::string SucursalesDe(const TUnionNorvex& Union,
                                    const std::vector<std::string>& nombres,
                                    const std::string& sClaveCliente);
};
