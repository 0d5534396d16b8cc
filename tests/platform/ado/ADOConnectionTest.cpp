#include "platform/ado/TADOConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "FallaJet.h"
#include "platform/ado/TCadenaConexion.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/Latido.h"
#include "platform/jet/MotorJet.h"

namespace {

using ado::TADOConnection;
using ado::TCadenaConexion;

std::string Fixture(const std::string& sNombre) {
    return std::string(KOVA_FIXTURES) + "/mdb/" + sNombre;
}

// The string the Access connector composes for a file and a password.
std::string CadenaAccess(const std::string& sRuta, const std::string& sContrasena) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sRuta +
           ";Persist Security Info=True;Mode=Share Deny None;Jet OLEDB:Database Password=" +
           sContrasena;
}

TEST(CadenaConexion, ClavesSinDistinguirMayusculasYValoresTalCual) {
    const TCadenaConexion cadena(
        "PROVIDER=Microsoft.Jet.OLEDB.4.0; data source =C:\\Norvex\\DataBase\\Norvex.mdb;"
        "Jet OLEDB:Database Password= quilon ;Password=a=b;sin igual;=huerfano;"
        "Mode=Read;mode=Share Deny None;Vacia=;");
    struct {
        const char* sClave;
        const char* sValor;
    } casos[] = {
        {"Provider", "Microsoft.Jet.OLEDB.4.0"},
        {"Data Source", "C:\\Norvex\\DataBase\\Norvex.mdb"},
        {"jet oledb:database password", " quilon "},  // blanks are part of the value
        {"Password", "a=b"},                          // only the first "=" separates
        {"Mode", "Share Deny None"},                  // the last of repeated keys wins
        {"Vacia", ""},
        {"Initial Catalog", ""},  // not in the string
        {"sin igual", ""},
    };
    for (const auto& c : casos) EXPECT_EQ(cadena.Valor(c.sClave), c.sValor) << c.sClave;
    EXPECT_TRUE(cadena.Tiene("VACIA"));
    EXPECT_FALSE(cadena.Tiene("sin igual"));
    EXPECT_FALSE(cadena.Tiene(""));
    EXPECT_FALSE(TCadenaConexion("").Tiene("Provider"));
}

TEST(ADOConnection, AbreCierraYReabreUnArchivoAccess) {
    TADOConnection conexion;
    EXPECT_TRUE(conexion.LoginPrompt());
    EXPECT_EQ(conexion.Mode(), ado::TModoConexion::cmUnknown);
    conexion.SetLoginPrompt(false);
    conexion.SetMode(ado::TModoConexion::cmShareExclusive);
    EXPECT_FALSE(conexion.LoginPrompt());
    EXPECT_EQ(conexion.Mode(), ado::TModoConexion::cmShareExclusive);

    const std::string sRuta = Fixture("jet4-password.mdb");
    conexion.SetConnectionString(CadenaAccess(sRuta, "password"));
    EXPECT_EQ(conexion.ConnectionString(), CadenaAccess(sRuta, "password"));
    EXPECT_FALSE(conexion.Connected());
    conexion.SetConnected(true);
    ASSERT_TRUE(conexion.Connected());
    EXPECT_EQ(conexion.RutaArchivo(), sRuta);
    EXPECT_EQ(conexion.ContrasenaArchivo(), "password");
    EXPECT_EQ(conexion.Archivo().BuscaTabla("Table1")->nFilas, 3);

    // Opening an open connection changes nothing: the same file stays.
    jet::TArchivoAccess* pArchivo = &conexion.Archivo();
    conexion.SetConnected(true);
    EXPECT_EQ(&conexion.Archivo(), pArchivo);

    conexion.SetConnected(false);
    EXPECT_FALSE(conexion.Connected());
    EXPECT_EQ(conexion.RutaArchivo(), "");
    EXPECT_EQ(Falla([&] { conexion.Archivo(); }),
              "EConexionCerrada - La conexión no está abierta.");
    conexion.SetConnected(false);  // closing a closed connection is harmless

    // Keys in any letter case; another file on reopening.
    conexion.SetConnectionString("provider=MICROSOFT.JET.OLEDB.4.0;DATA SOURCE=" +
                                 Fixture("jet3-types.mdb"));
    conexion.SetConnected(true);
    EXPECT_EQ(conexion.Archivo().VersionJet(), 3);
}

TEST(ADOConnection, UnaAperturaFallidaDejaLaConexionCerradaYDiceClaseYMensaje) {
    const std::string sConClave = Fixture("jet4-password.mdb");
    struct {
        std::string sCadena;
        std::string sError;
    } casos[] = {
        {CadenaAccess(sConClave, "quilon"), "EContrasenaInvalida - No es una contraseña válida."},
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sConClave,
         "EContrasenaRequerida - El archivo '" + sConClave +
             "' está protegido con una contraseña de base de datos: hay que indicarla para "
             "abrirlo."},
        {"Provider=SQLOLEDB.1;Password=x;Persist Security Info=True;User ID=sa;Initial "
         "Catalog=Norvex;Data Source=servidor\\SQL,1433",
         "EProveedorNoDisponible - El proveedor 'SQLOLEDB.1' no está disponible en esta "
         "plataforma."},
        {"Data Source=" + sConClave,
         "EProveedorNoDisponible - El proveedor 'MSDASQL' no está disponible en esta plataforma."},
        {CadenaAccess("/no/existe/Norvex.mdb", ""),
         "EArchivoInexistente - No se encontró el archivo '/no/existe/Norvex.mdb'."},
    };
    for (const auto& c : casos) {
        TADOConnection conexion;
        conexion.SetConnectionString(c.sCadena);
        EXPECT_EQ(Falla([&] { conexion.SetConnected(true); }), c.sError) << c.sCadena;
        EXPECT_FALSE(conexion.Connected());
    }
}

// Joining branches (or going back to the file alone) gives the connection a
// new engine; the heartbeat its creator handed in must keep beating in it,
// or the window freezes for the whole report.
TEST(ADOConnection, ElLatidoSigueTrasUnirArchivos) {
    const std::string sRuta = Fixture("jet4-password.mdb");
    const std::vector<std::pair<std::string, std::string>> sinOtros;
    const std::vector<std::pair<std::string, std::string>> otro{{sRuta, "password"}};
    for (const auto* otros : {&sinOtros, &otro}) {
        SCOPED_TRACE(otros->size());
        TADOConnection conexion;
        conexion.SetConnectionString(CadenaAccess(sRuta, "password"));
        conexion.SetConnected(true);
        int nLatidos = 0;
        auto latido =
            std::make_shared<jet::TLatido>([&] { ++nLatidos; }, std::chrono::milliseconds(0));
        conexion.Motor().PonLatido(latido);
        conexion.UneArchivos(*otros, nullptr);
        EXPECT_EQ(conexion.Motor().Latido(), latido);
        // Copying the table beats once per row.
        conexion.Motor().Ejecuta("SELECT COUNT(*) FROM Table1");
        EXPECT_GT(nLatidos, 0);
    }
}

}  // namespace
