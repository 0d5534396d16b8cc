#include "data/Conexion.h"

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "data/Conectores.h"

namespace {

namespace fs = std::filesystem;

ado::TADOConnection& Plataforma(TConexion& conexion) {
    return *dynamic_cast<TConectorADO&>(*conexion.DameObjConector()).DameConector();
}

struct TParametros {
    std::string sUsuario, sPassw, sBDNombre, sUbicacion, sInstancia, sPuerto;
};

std::shared_ptr<TConexion> Descriptor(TTipoMotorBD eMotor, const TParametros& p) {
    auto conexion = std::make_shared<TConexion>(eMotor);
    conexion->SetUsuario(p.sUsuario);
    conexion->SetPassw(p.sPassw);
    conexion->SetBDNombre(p.sBDNombre);
    conexion->SetUbicacion(p.sUbicacion);
    conexion->SetInstancia(p.sInstancia);
    conexion->SetPuerto(p.sPuerto);
    return conexion;
}

TEST(Conexion, ComponeLaCadenaAlPrimerIntentoDeApertura) {
    const std::string sAccess = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
    const std::string sAccessFin = ";Persist Security Info=True;Mode=Share Deny None";
    const std::string sSQL = "Provider=SQLOLEDB.1;Password=";
    struct {
        const char* sCaso;
        TTipoMotorBD eMotor;
        TParametros p;
        std::string sEsperada;
    } casos[] = {
        {"Access sin contraseña",
         tmAccess,
         {"usr", "", "bd", "L", "inst", "1433"},
         sAccess + "L" + sAccessFin},
        {"Access con contraseña de blancos",
         tmAccess,
         {"", "  ", "", "L", "", ""},
         sAccess + "L" + sAccessFin},
        {"Access con contraseña, tal cual",
         tmAccess,
         {"", " quilon ", "", "L", "", ""},
         sAccess + "L" + sAccessFin + ";Jet OLEDB:Database Password= quilon "},
        {"Access solo con usuario", tmAccess, {"usr", "", "", "", "", ""}, sAccess + sAccessFin},
        {"SQL Server con servidor, instancia y puerto",
         tmSQLServer,
         {"sa", "pw", "Norvex", "S", "I", "P"},
         sSQL +
             "pw;Persist Security Info=True;User ID=sa;Initial Catalog=Norvex;Data Source=S\\I,P"},
        {"SQL Server con instancia de blancos y puerto de un blanco",
         tmSQLServer,
         {"sa", "", "", "S", "   ", " "},
         sSQL + ";Persist Security Info=True;User ID=sa;Initial Catalog=;Data Source=S, "},
        {"SQL Server con instancia rodeada de blancos",
         tmSQLServer,
         {"", "", "", "S", " I ", ""},
         sSQL + ";Persist Security Info=True;User ID=;Initial Catalog=;Data Source=S\\ I "},
    };
    for (const auto& c : casos) {
        TGrabaCajas cajas;  // these places do not exist: the opens fail
        auto conexion = Descriptor(c.eMotor, c.p);
        EXPECT_EQ(conexion->GetStrConexion(), "") << c.sCaso;
        conexion->SetConecta(true);
        EXPECT_EQ(conexion->GetStrConexion(), c.sEsperada) << c.sCaso;
        EXPECT_EQ(Plataforma(*conexion).ConnectionString(), c.sEsperada) << c.sCaso;
        EXPECT_FALSE(conexion->GetConecta()) << c.sCaso;
        EXPECT_EQ(cajas.textos().size(), 1u) << c.sCaso;
    }
}

TEST(Conexion, SinCadenaNiParametrosNoIntentaNada) {
    TGrabaCajas cajas;
    for (const TParametros& p : {TParametros{}, TParametros{" ", "\t", " ", "  ", " ", ""}}) {
        auto conexion = Descriptor(tmAccess, p);
        conexion->SetConecta(true);
        EXPECT_FALSE(conexion->GetConecta());
        EXPECT_EQ(conexion->GetStrConexion(), "");
        EXPECT_EQ(Plataforma(*conexion).ConnectionString(), "");
    }
    // A string of blanks is a string: it is tried.
    TConexion conexion(tmAccess);
    conexion.SetStrConexion(" ");
    conexion.SetConecta(true);
    EXPECT_FALSE(conexion.GetConecta());
    EXPECT_EQ(cajas.textos().size(), 1u);
}

TEST(Conexion, LaPrimeraCadenaQuedaParaLasAperturasSiguientes) {
    TGrabaCajas cajas;
    const std::string sRuta = FixtureMdb("jet4-no-password.mdb");
    auto conexion = Descriptor(tmAccess, {"", "", "", sRuta, "", ""});
    conexion->SetConecta(true);
    ASSERT_TRUE(conexion->GetConecta());
    const std::string sPrimera = conexion->GetStrConexion();

    conexion->SetConecta(false);
    EXPECT_FALSE(conexion->GetConecta());
    EXPECT_FALSE(Plataforma(*conexion).Connected());
    conexion->SetUbicacion("/otro/lugar.mdb");
    conexion->SetUsuario("otro");
    conexion->SetConecta(true);
    EXPECT_TRUE(conexion->GetConecta());
    EXPECT_EQ(conexion->GetStrConexion(), sPrimera);
    EXPECT_EQ(conexion->GetUbicacion(), "/otro/lugar.mdb");  // kept, but unused

    // Opening an open descriptor hands the same string over and stays open.
    conexion->SetConecta(true);
    EXPECT_TRUE(conexion->GetConecta());

    // An explicit string makes the parameters irrelevant.
    TConexion explicita(tmAccess);
    explicita.SetUbicacion("/no/existe.mdb");
    explicita.SetStrConexion("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + sRuta);
    explicita.SetConecta(true);
    EXPECT_TRUE(explicita.GetConecta());
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(Conexion, ElDescriptorNoMiraElEstadoVivoDeLaConexion) {
    TGrabaCajas cajas;
    TConexion conexion(tmAccess);
    conexion.SetStrConexion("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
                            FixtureMdb("jet4-no-password.mdb"));
    conexion.SetConecta(true);
    Plataforma(conexion).SetConnected(false);  // lost outside the descriptor
    EXPECT_TRUE(conexion.GetConecta());
    EXPECT_FALSE(conexion.DameObjConector()->GetConecta());

    // Closing one that never opened still closes its connector.
    TConexion nueva(tmSQLServer);
    nueva.SetConecta(false);
    EXPECT_FALSE(nueva.GetConecta());
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(Conectores, ApaganElDialogoDeCredencialesYAccessPideExclusividad) {
    TConectAccess access;
    TConectSQLServer sql;
    EXPECT_FALSE(access.DameConector()->LoginPrompt());
    EXPECT_FALSE(sql.DameConector()->LoginPrompt());
    EXPECT_EQ(access.DameConector()->Mode(), ado::TModoConexion::cmShareExclusive);
    EXPECT_EQ(sql.DameConector()->Mode(), ado::TModoConexion::cmUnknown);
    EXPECT_EQ(access.NombreClase(), "TConectAccess");
    EXPECT_EQ(sql.NombreClase(), "TConectSQLServer");
}

// Every way an Access file can refuse to open: one BD-101 box with the
// connector's class, the kind and the message; the descriptor closed; the
// file as it was.
TEST(Conexion, AperturasFallidasDeArchivosRealesMuestranUnaSolaCaja) {
    TDirTemporal dir;
    const std::string sConClave = FixtureMdb("jet4-password.mdb");
    const std::string sReal = LeeBytes(sConClave);
    const fs::path texto = dir / "texto.mdb", cortado = dir / "cortado.mdb";
    EscribeBytes(texto, "Nombre;Saldo\nPérez;10\n");
    EscribeBytes(cortado, sReal.substr(0, sReal.size() / 3));
    const std::string sNoEsAccess = "' no es una base de datos de Access";

    struct {
        const char* sCaso;
        std::string sRuta, sPassw;
        std::string sFalla;  // kind - message
    } casos[] = {
        {"contraseña equivocada", sConClave, "quilon",
         "EContrasenaInvalida - No es una contraseña válida."},
        {"sin contraseña", sConClave, "",
         "EContrasenaRequerida - El archivo '" + sConClave +
             "' está protegido con una contraseña de base de datos: hay que indicarla para "
             "abrirlo."},
        {"mayúsculas distintas", sConClave, "PASSWORD",
         "EContrasenaInvalida - No es una contraseña válida."},
        {"archivo inexistente", (dir / "Norvex.mdb").string(), "quilon",
         "EArchivoInexistente - No se encontró el archivo '" + (dir / "Norvex.mdb").string() +
             "'."},
        {"texto renombrado", texto.string(), "quilon",
         "EArchivoNoEsAccess - El archivo '" + texto.string() + sNoEsAccess + "."},
        {"copia cortada", cortado.string(), "quilon",
         "EArchivoNoEsAccess - El archivo '" + cortado.string() + sNoEsAccess +
             " válida: está incompleto o dañado."},
    };
    for (const auto& c : casos) {
        const std::string sAntes = LeeBytes(c.sRuta);
        TGrabaCajas cajas;
        auto conexion = Descriptor(tmAccess, {"", c.sPassw, "", c.sRuta, "", ""});
        conexion->SetConecta(true);
        ASSERT_EQ(cajas.textos().size(), 1u) << c.sCaso;
        EXPECT_EQ(cajas.textos()[0], sCajaAccess + c.sFalla) << c.sCaso;
        EXPECT_FALSE(conexion->GetConecta()) << c.sCaso;
        EXPECT_FALSE(Plataforma(*conexion).Connected()) << c.sCaso;
        EXPECT_TRUE(LeeBytes(c.sRuta) == sAntes) << c.sCaso;
    }
}

TEST(Conexion, AbreArchivosRealesJet3YJet4) {
    TGrabaCajas cajas;
    struct {
        const char* sArchivo;
        const char* sPassw;
        int nVersion;
    } casos[] = {{"jet4-password.mdb", "password", 4},
                 {"jet4-no-password.mdb", "quilon", 4},
                 {"jet3-types.mdb", "", 3}};
    for (const auto& c : casos) {
        const std::string sRuta = FixtureMdb(c.sArchivo);
        const std::string sAntes = LeeBytes(sRuta);
        auto conexion = Descriptor(tmAccess, {"", c.sPassw, "", sRuta, "", ""});
        conexion->SetConecta(true);
        ASSERT_TRUE(conexion->GetConecta()) << c.sArchivo;
        EXPECT_EQ(Plataforma(*conexion).Archivo().VersionJet(), c.nVersion);
        conexion->SetConecta(false);
        EXPECT_FALSE(Plataforma(*conexion).Connected());
        EXPECT_TRUE(LeeBytes(sRuta) == sAntes) << c.sArchivo;
    }
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(Conexion, SQLServerNoEstaDisponibleYLoDiceConSuClase) {
    TGrabaCajas cajas;
    auto conexion = Descriptor(tmSQLServer, {"sa", "pw", "Norvex", "servidor", "", "1433"});
    conexion->SetConecta(true);
    EXPECT_FALSE(conexion->GetConecta());
    EXPECT_EQ(cajas.textos(),
              std::vector<std::string>{
                  "Error #BD-101.TConectSQLServer: Llame a Soporte Técnico. "
                  "EProveedorNoDisponible - El proveedor 'SQLOLEDB.1' no está disponible en esta "
                  "plataforma."});
}

}  // namespace
