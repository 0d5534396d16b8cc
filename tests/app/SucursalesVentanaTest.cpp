// The window's branches: the dialog refuses a folder at once with its
// reason, and a job joins (or no longer joins) the branches' databases.
#include <gtest/gtest.h>

#include <QLabel>
#include <filesystem>
#include <fstream>

#include "TDirTemporal.h"
#include "app/CarpetaNorvex.h"
#include "app/CompuertaAcceso.h"
#include "app/DatosVentana.h"
#include "app/DialogoSucursales.h"
#include "app/UnionSucursales.h"
#include "data/ColectorConxs.h"
#include "data/UnionNorvex.h"
#include "platform/ado/TADOConnection.h"
#include "platform/jet/MotorJet.h"
#include "tests/questionnaire/Grabadores.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

namespace fs = std::filesystem;

struct TAvisosMudos : IAvisosCompuerta {
    std::vector<std::string> cajas;
    void MuestraSinBD(const std::string& s) override { cajas.push_back(s); }
    void MuestraCaja(const std::string& s) override { cajas.push_back(s); }
    void MuestraEstado(const std::string&) override {}
    void CredencialesRechazadas(const std::string& s, const std::string&) override {
        cajas.push_back(s);
    }
};

TEST(DialogoSucursales, CadaCarpetaSeRevisaAlAgregarla) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 40, .nSucursales = 2});
    const fs::path matriz = norvex::TGeneradorNorvex::CarpetaSucursal(dir.ruta(), 1);
    const fs::path sucursal = norvex::TGeneradorNorvex::CarpetaSucursal(dir.ruta(), 2);
    fs::create_directories(dir / "vacia");
    TDialogoSucursales d(matriz, {}, nullptr);
    const struct {
        fs::path sCarpeta;
        bool bAgregada;
        const char* sAviso;
    } casos[] = {
        {dir / "vacia", false, "no tiene la base de datos del Norvex"},
        {dir / "inexistente", false, "no tiene la base de datos del Norvex"},
        {matriz, false, "es la de la matriz"},
        {sucursal, true, ""},
        {sucursal / "DataBase" / "..", false, "ya está en la lista"},
        {sucursal / "DataBase", false, "ya está en la lista"},  // the DataBase folder itself
    };
    for (const auto& c : casos) {
        EXPECT_EQ(d.Agrega(c.sCarpeta), c.bAgregada) << c.sCarpeta;
        EXPECT_TRUE(d.Aviso().contains(QString::fromUtf8(c.sAviso))) << d.Aviso().toStdString();
        if (!c.bAgregada) {
            // Named as the Norvex folder it stands for.
            EXPECT_TRUE(d.Aviso().contains(
                QString::fromStdString(TCarpetaNorvex::CarpetaDeLaBase(c.sCarpeta).string())))
                << d.Aviso().toStdString();
        }
    }
    EXPECT_EQ(d.Sucursales(), std::vector<fs::path>{sucursal});
    // The head office shows first, every folder under its Norvex name.
    EXPECT_EQ(d.Lineas(),
              (QStringList{QString::fromStdString("Matriz: MATRIZ — " + matriz.string()),
                           QString::fromStdString("SUCURSAL 2 — " + sucursal.string())}));
}

// A branch is named as its Norvex names it, whatever the settings file's
// code page; the folder's name when it has none; alike names by folder.
TEST(UnionSucursales, CadaSucursalSeLlamaComoEnSuNorvex) {
    TDirTemporal dir;
    const struct {
        const char* sCarpeta;
        const char* sIni;  // null: no Norvex.INI
        const char* sNombre;
    } casos[] = {
        {"a", "[Control]\r\nEmpresaActiva=1\r\nSucursal=CENTRO\r\n", "CENTRO"},
        {"b", "[control]\nsucursal = \"  PLAZA   NORTE \"\n", "PLAZA NORTE"},
        {"c", "[Control]\nSucursal=PE\xD1\xD3N\n", "PEÑÓN"},  // Windows code page
        {"d", "[Control]\nSucursal=PEÑÓN\n", "PEÑÓN"},
        {"e", "[Control]\nEmpresaActiva=1\n", "e"},
        {"f", "[Otra]\nSucursal=X\n", "f"},
        {"g", "[Control]\nSucursal=\n", "g"},
        {"h", nullptr, "h"},
    };
    for (const auto& c : casos) {
        fs::create_directories(dir / c.sCarpeta);
        if (c.sIni)
            std::ofstream(dir / c.sCarpeta / "Norvex.INI", std::ios::binary) << c.sIni;
        EXPECT_EQ(TUnionSucursales::NombreSucursal(dir / c.sCarpeta), c.sNombre) << c.sCarpeta;
        // The program's folder comes with a closing separator.
        EXPECT_EQ(TUnionSucursales::NombreSucursal((dir / c.sCarpeta) / ""), c.sNombre);
    }
    EXPECT_EQ(TUnionSucursales::LineaTitulo({dir / "a", dir / "e"}),
              "\r\nSucursales consolidadas: CENTRO; e");
    EXPECT_EQ(TUnionSucursales::NombresSucursales({dir / "c", dir / "a", dir / "d"}),
              (std::vector<std::string>{"PEÑÓN (" + (dir / "c").string() + ")", "CENTRO",
                                        "PEÑÓN (" + (dir / "d").string() + ")"}));
}

// A job with branches: a branch that refuses stops it, naming the folder; an
// open union answers for all; a later job without branches for the head
// office alone.
TEST(UnionSucursales, CompuertaDeCadaSucursalYVueltaALaMatriz) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 400, .nSucursales = 2});
    const fs::path matriz = norvex::TGeneradorNorvex::CarpetaSucursal(dir.ruta(), 1);
    const fs::path sucursal = norvex::TGeneradorNorvex::CarpetaSucursal(dir.ruta(), 2);
    auto Datos = std::make_shared<TDatosVentana>(
        [](const std::string&) -> std::shared_ptr<IManejadorReportes> { return nullptr; },
        std::make_shared<TColectorConxs>());
    auto Avisos = std::make_shared<TAvisosMudos>();
    TCompuertaAcceso Compuerta(matriz, Datos, Avisos);
    TCompuertaAcceso::TPuerta Puerta;
    auto Mensajero = std::make_shared<TMensajeroGrabador>();
    ASSERT_EQ(Compuerta.Pasa("ADMIN", "NORVEX", 18.91, Mensajero, Puerta),
              TCompuertaAcceso::ciAbierta);
    ado::TADOConnection& conexion = *Datos->DameConexion();
    auto lineas = [&] {
        return std::get<int64_t>(
            conexion.Motor().Ejecuta("SELECT COUNT(*) FROM tMovtos").filas.at(0).at(0));
    };
    const int64_t nMatriz = lineas();

    fs::path sRechazada;
    std::shared_ptr<TUnionNorvex> Union;
    TUnionSucursales::TPeticion p{{sucursal}, "ADMIN", "NORVEX2", 18.91, Puerta.nNumEmp};
    EXPECT_EQ(TUnionSucursales::Une(conexion, p, Mensajero, Avisos, sRechazada, Union),
              TCompuertaAcceso::ciCredenciales);
    EXPECT_EQ(sRechazada, sucursal);
    EXPECT_EQ(lineas(), nMatriz);

    p.sPassw = "NORVEX";
    ASSERT_EQ(TUnionSucursales::Une(conexion, p, Mensajero, Avisos, sRechazada, Union),
              TCompuertaAcceso::ciAbierta);
    ASSERT_TRUE(Union);
    EXPECT_GT(lineas(), nMatriz);

    p.sucursales.clear();
    ASSERT_EQ(TUnionSucursales::Une(conexion, p, Mensajero, Avisos, sRechazada, Union),
              TCompuertaAcceso::ciAbierta);
    EXPECT_EQ(lineas(), nMatriz);
    EXPECT_EQ(TUnionSucursales::LineaTitulo({matriz}), "");
    EXPECT_EQ(TUnionSucursales::LineaTitulo({matriz, sucursal}),
              "\r\nSucursales consolidadas: MATRIZ; SUCURSAL 2");
}

}  // namespace
