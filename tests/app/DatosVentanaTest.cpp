#include <gtest/gtest.h>

#include <fstream>

#include "AplicacionQt.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "app/DatosVentana.h"
#include "data/ColectorConxs.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

TEST(DatosVentanaTest, ConectaLaBaseNorvexUnaSolaVezYLaReusa) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 40, .nSemilla = 7});
    TGrabaCajas cajas;
    auto colector = std::make_shared<TColectorConxs>();
    TDatosVentana datos({}, colector);
    const std::string sRuta = (dir / "DataBase/Norvex.mdb").string();

    EXPECT_TRUE(datos.ConectaBDPrinc(sRuta));
    EXPECT_TRUE(colector->Conectado("BDPrincipal"));
    ado::TADOConnection* primera = nullptr;
    ASSERT_TRUE(colector->DameAccessConex("BDPrincipal", primera));

    // A second job finds the registration and keeps it, whatever path it brings.
    EXPECT_TRUE(datos.ConectaBDPrinc((dir / "otra.mdb").string()));
    ado::TADOConnection* segunda = nullptr;
    ASSERT_TRUE(colector->DameAccessConex("BDPrincipal", segunda));
    EXPECT_EQ(primera, segunda);
    EXPECT_TRUE(cajas.textos().empty());
}

TEST(DatosVentanaTest, UnArchivoQueNoAbreCierraConLaCajaDelConector) {
    TDirTemporal dir;
    std::ofstream(dir / "Norvex.mdb") << "esto no es una base de Access";
    TGrabaCajas cajas;
    TDatosVentana datos({}, std::make_shared<TColectorConxs>());
    EXPECT_FALSE(datos.ConectaBDPrinc((dir / "Norvex.mdb").string()));
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_NE(cajas.textos()[0].find("BD-101"), std::string::npos) << cajas.textos()[0];
}

}  // namespace
