#include "data/ColectorConxs.h"

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "platform/ado/TADOConnection.h"

namespace {

namespace fs = std::filesystem;

const std::string sJet = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

// A connection object pointer that no registry hands out.
ado::TADOConnection* Centinela() {
    static ado::TADOConnection centinela;
    return &centinela;
}

TEST(ColectorConxs, CreaBDPrincUnaSolaVezConLaContrasenaDeNorvex) {
    TGrabaCajas cajas;
    TColectorConxs colector;
    // This file has no password, so it opens with Norvex's.
    const std::string sRuta = FixtureMdb("jet4-no-password.mdb");
    colector.CreaBDPrinc(sRuta, "", false);
    EXPECT_FALSE(colector.Conectado("BDPrincipal"));
    EXPECT_TRUE(colector.Conecta("BDPrincipal"));

    ado::TADOConnection* conector = nullptr;
    ASSERT_TRUE(colector.DameAccessConex("BDPrincipal", conector));
    ASSERT_NE(conector, nullptr);
    EXPECT_TRUE(conector->Connected());
    EXPECT_EQ(conector->ConnectionString(),
              sJet + sRuta +
                  ";Persist Security Info=True;Mode=Share Deny None;Jet OLEDB:Database "
                  "Password=quilon");

    colector.CreaBDPrinc("/otra/ruta/Norvex.mdb", "", true);
    ado::TADOConnection* otro = nullptr;
    ASSERT_TRUE(colector.DameAccessConex("BDPrincipal", otro));
    EXPECT_EQ(otro, conector);
    EXPECT_EQ(otro->RutaArchivo(), sRuta);

    // Letter case makes another name.
    EXPECT_FALSE(colector.Conectado("bdprincipal"));
    EXPECT_FALSE(colector.Conecta("BDPRINCIPAL"));
    ado::TADOConnection* nada = Centinela();
    EXPECT_FALSE(colector.DameAccessConex("bdPrincipal", nada));
    EXPECT_EQ(nada, Centinela());
    EXPECT_FALSE(colector.Conecta(" BDPrincipal"));
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(ColectorConxs, UnaBDPrincipalConOtraContrasenaFallaConUnaCaja) {
    TGrabaCajas cajas;
    TColectorConxs colector;
    const std::string sRuta = FixtureMdb("jet4-password.mdb");
    colector.CreaBDPrinc(sRuta, "", false);
    EXPECT_TRUE(cajas.textos().empty());
    EXPECT_FALSE(colector.Conecta("BDPrincipal"));
    EXPECT_EQ(cajas.textos(),
              std::vector<std::string>{sCajaAccess +
                                       "EContrasenaInvalida - No es una contraseña válida."});
    EXPECT_FALSE(colector.Conectado("BDPrincipal"));
    // Still registered, still closed: the platform object is handed out closed.
    ado::TADOConnection* conector = nullptr;
    ASSERT_TRUE(colector.DameAccessConex("BDPrincipal", conector));
    EXPECT_FALSE(conector->Connected());
}

TEST(ColectorConxs, UnNombreOcupadoNoSeRegistraPeroLaAperturaSeIntentaAntes) {
    TGrabaCajas cajas;
    TColectorConxs colector;
    const std::string sRuta = FixtureMdb("jet4-no-password.mdb");
    ASSERT_TRUE(colector.NuevaConexion("Norvex", sJet + sRuta, tmAccess, true));
    ado::TADOConnection* primero = nullptr;
    ASSERT_TRUE(colector.DameAccessConex("Norvex", primero));

    const std::string sMala = sJet + FixtureMdb("jet4-password.mdb");
    EXPECT_FALSE(colector.NuevaConexion("Norvex", sMala, tmAccess, true));
    EXPECT_FALSE(colector.NuevaConexion("Norvex", "", "x", "", FixtureMdb("jet4-password.mdb"), "",
                                        "", tmAccess, true));
    // Both duplicates tried to open before being dropped: one box each.
    EXPECT_EQ(cajas.textos().size(), 2u);
    EXPECT_FALSE(colector.NuevaConexion("Norvex", sMala, tmSQLServer, false));
    EXPECT_EQ(cajas.textos().size(), 2u);

    ado::TADOConnection* despues = nullptr;
    ASSERT_TRUE(colector.DameAccessConex("Norvex", despues));
    EXPECT_EQ(despues, primero);
    EXPECT_TRUE(colector.Conectado("Norvex"));
    EXPECT_EQ(despues->ConnectionString(), sJet + sRuta);

    // A failed open during registration leaves it registered and closed.
    EXPECT_TRUE(colector.NuevaConexion("Mala", sMala, tmAccess, true));
    EXPECT_EQ(cajas.textos().size(), 3u);
    EXPECT_FALSE(colector.Conectado("Mala"));
}

TEST(ColectorConxs, ConectaNoReintentaLoQueYaCuentaComoAbierto) {
    TGrabaCajas cajas;
    TDirTemporal dir;
    const fs::path copia = dir / "Norvex.mdb";
    fs::copy_file(FixtureMdb("jet4-no-password.mdb"), copia);
    TColectorConxs colector;
    ASSERT_TRUE(colector.NuevaConexion("N", "", "", "", copia.string(), "", "", tmAccess, true));
    fs::remove(copia);  // a new open attempt would now fail with a box
    EXPECT_TRUE(colector.Conecta("N"));
    EXPECT_TRUE(cajas.textos().empty());

    colector.Desconecta("N");
    EXPECT_FALSE(colector.Conectado("N"));
    EXPECT_FALSE(colector.Conecta("N"));
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_EQ(cajas.textos()[0], sCajaAccess + "EArchivoInexistente - No se encontró el archivo '" +
                                     copia.string() + "'.");
    colector.Desconecta("no registrada");  // nothing happens
}

TEST(ColectorConxs, EntregaLaConexionSoloDelMotorPedido) {
    TGrabaCajas cajas;
    TColectorConxs colector;
    ASSERT_TRUE(colector.NuevaConexion("SQL", "sa", "pw", "Norvex", "servidor", "", "", tmSQLServer,
                                       false));
    ASSERT_TRUE(
        colector.NuevaConexion("MDB", sJet + FixtureMdb("jet3-types.mdb"), tmAccess, false));

    ado::TADOConnection* conector = Centinela();
    EXPECT_FALSE(colector.DameAccessConex("SQL", conector));
    EXPECT_FALSE(colector.DameSQLConex("MDB", conector));
    EXPECT_FALSE(colector.DameSQLConex("Otra", conector));
    EXPECT_EQ(conector, Centinela());

    ASSERT_TRUE(colector.DameSQLConex("SQL", conector));
    EXPECT_NE(conector, Centinela());
    EXPECT_FALSE(conector->Connected());  // handed out, not opened
    ASSERT_TRUE(colector.DameAccessConex("MDB", conector));
    EXPECT_FALSE(conector->Connected());
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(ColectorConxs, EliminaConexionesSalvoLaExceptuada) {
    TGrabaCajas cajas;
    TColectorConxs colector;
    const std::string sCadena = sJet + FixtureMdb("jet4-no-password.mdb");
    for (const char* sNombre : {"A", "B", "BDPrincipal"})
        ASSERT_TRUE(colector.NuevaConexion(sNombre, sCadena, tmAccess, true));

    colector.EliminaConex("no registrada");
    colector.EliminaConex("A");
    EXPECT_FALSE(colector.Conectado("A"));
    EXPECT_FALSE(colector.Conecta("A"));
    EXPECT_TRUE(colector.NuevaConexion("A", sCadena, tmAccess, false));  // the name is free again

    colector.EliminaConexiones("BDPrincipal");
    EXPECT_FALSE(colector.Conecta("A"));
    EXPECT_FALSE(colector.Conecta("B"));
    EXPECT_TRUE(colector.Conectado("BDPrincipal"));

    colector.EliminaConexiones("no registrada");
    EXPECT_FALSE(colector.Conectado("BDPrincipal"));
    ado::TADOConnection* conector = nullptr;
    EXPECT_FALSE(colector.DameAccessConex("BDPrincipal", conector));
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(ColectorConxs, ColectorGlobalEmpiezaVacioYSePuedeFijar) {
    EXPECT_EQ(ColectorGlobal, nullptr);
    ColectorGlobal = std::make_shared<TColectorConxs>();
    ColectorGlobal->CreaBDPrinc(FixtureMdb("jet4-no-password.mdb"), "", true);
    EXPECT_TRUE(ColectorGlobal->Conectado("BDPrincipal"));
    ColectorGlobal.reset();
}

}  // namespace
