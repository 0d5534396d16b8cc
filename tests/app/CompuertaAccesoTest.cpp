// The access gate on its own, as a job runs it: what it tells the user at
// each closing, when it creates the question set, and that later runs reuse
// the registered connection.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TDirTemporal.h"
#include "app/CompuertaAcceso.h"
#include "app/DatosVentana.h"
#include "data/ColectorConxs.h"
#include "questionnaire/RepCuestANDU2017.h"
#include "tests/questionnaire/Grabadores.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

struct TAvisosGrabados : IAvisosCompuerta {
    std::vector<std::string> textos;  // "C:" box, "E:" status, "K:" credentials
    void MuestraSinBD(const std::string& s) override { textos.push_back("B:" + s); }
    void MuestraCaja(const std::string& s) override { textos.push_back("C:" + s); }
    void MuestraEstado(const std::string& s) override { textos.push_back("E:" + s); }
    void CredencialesRechazadas(const std::string& sCaja, const std::string& sEstado) override {
        textos.push_back("K:" + sCaja + "|" + sEstado);
    }
};

class CompuertaAccesoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TDirTemporal;
        norvex::TGeneradorNorvex::Genera(dir_->ruta(), {50, 1});
    }
    static void TearDownTestSuite() { delete dir_; }

    // The program's data side, counting the question sets it creates.
    struct TDatosContados : TDatosVentana {
        TDatosContados(std::shared_ptr<IColectorConxs> Colector)
            : TDatosVentana(
                  [](const std::string&) { return std::make_shared<TReportesGrabador>(); },
                  std::move(Colector)) {}
        std::shared_ptr<IRepCuestionarioKOVA> CreaCuestionario(
            int nNumEmp, double dTCambio, std::shared_ptr<IMensajero> Mensajero) override {
            ++nCreados;
            return TDatosVentana::CreaCuestionario(nNumEmp, dTCambio, std::move(Mensajero));
        }
        int nCreados = 0;
    };

    TCompuertaAcceso::TCierre Pasa(const std::filesystem::path& dir, const std::string& sUsuario,
                                   const std::string& sPassw, TCompuertaAcceso::TPuerta& Puerta) {
        TCompuertaAcceso compuerta(dir, datos_, avisos_);
        return compuerta.Pasa(sUsuario, sPassw, 19.5, std::make_shared<TMensajeroGrabador>(),
                              Puerta);
    }

    static TDirTemporal* dir_;
    std::shared_ptr<TColectorConxs> colector_ = std::make_shared<TColectorConxs>();
    std::shared_ptr<TDatosContados> datos_ = std::make_shared<TDatosContados>(colector_);
    std::shared_ptr<TAvisosGrabados> avisos_ = std::make_shared<TAvisosGrabados>();
};
TDirTemporal* CompuertaAccesoTest::dir_ = nullptr;

TEST_F(CompuertaAccesoTest, AbreYReusaLaConexionRegistrada) {
    TCompuertaAcceso::TPuerta a, b;
    ASSERT_EQ(Pasa(dir_->ruta(), "ADMIN", "NORVEX", a), TCompuertaAcceso::ciAbierta);
    EXPECT_TRUE(a.Cuestionario);
    EXPECT_EQ(a.nNumEmp, 1);
    EXPECT_EQ(a.dTCambio, 19.5);
    ado::TADOConnection* primera = nullptr;
    ASSERT_TRUE(colector_->DameAccessConex("BDPrincipal", primera));
    a = {};  // the job lets its question set go; the connection stays
    ASSERT_EQ(Pasa(dir_->ruta(), "ADMIN", "NORVEX", b), TCompuertaAcceso::ciAbierta);
    ado::TADOConnection* segunda = nullptr;
    ASSERT_TRUE(colector_->DameAccessConex("BDPrincipal", segunda));
    EXPECT_EQ(primera, segunda);
    EXPECT_EQ(avisos_->textos,
              (std::vector<std::string>{"E:Conectando con la BD...", "E:Conectando con la BD..."}));
    EXPECT_EQ(datos_->nCreados, 2);
}

// Each closing speaks once, with its own text; the question set exists only
// once the company is known.
TEST_F(CompuertaAccesoTest, Cierres) {
    TCompuertaAcceso::TPuerta p;
    TDirTemporal vacio;
    EXPECT_EQ(Pasa(vacio.ruta(), "ADMIN", "NORVEX", p), TCompuertaAcceso::ciSinBD);
    EXPECT_EQ(avisos_->textos,
              std::vector<std::string>{
                  "B:Error: Este programa debe encontrarse en la carpeta del Norvex."});
    EXPECT_FALSE(colector_->Conectado("BDPrincipal"));

    // The same database file, but the folder's settings name no company.
    TDirTemporal sinEmpresa;
    std::filesystem::create_directories(sinEmpresa / "DataBase");
    std::filesystem::copy_file(dir_->ruta() / "DataBase" / "Norvex.mdb",
                               sinEmpresa / "DataBase" / "Norvex.mdb");
    std::ofstream(sinEmpresa / "Norvex.INI") << "[Control]\nEmpresaActiva=0\n";
    avisos_->textos.clear();
    EXPECT_EQ(Pasa(sinEmpresa.ruta(), "ADMIN", "NORVEX", p), TCompuertaAcceso::ciSinEmpresa);
    EXPECT_EQ(
        avisos_->textos,
        (std::vector<std::string>{"E:Conectando con la BD...",
                                  "C:No se pudo extraer el Número de la Empresa predeterminada."}));
    EXPECT_EQ(datos_->nCreados, 0);

    // A company the database does not hold would give a questionnaire of zeros.
    std::ofstream(sinEmpresa / "Norvex.INI") << "[Control]\nEmpresaActiva=99\n";
    avisos_->textos.clear();
    EXPECT_EQ(Pasa(sinEmpresa.ruta(), "ADMIN", "NORVEX", p),
              TCompuertaAcceso::ciEmpresaInexistente);
    EXPECT_EQ(avisos_->textos,
              (std::vector<std::string>{"E:Conectando con la BD...",
                                        "C:La empresa activa de Norvex.INI, la número 99, no está "
                                        "en la base de datos del Norvex."}));
}

TEST_F(CompuertaAccesoTest, CredencialesRechazadasConAmbosTextos) {
    for (const auto& [sUsuario, sPassw] : std::vector<std::pair<std::string, std::string>>{
             {"ADMIN", "norvex"}, {"CAJERO", "CAJA"}, {"ADMIN ", "NORVEX"}, {"NADIE", ""}}) {
        avisos_->textos.clear();
        TCompuertaAcceso::TPuerta p;
        EXPECT_EQ(Pasa(dir_->ruta(), sUsuario, sPassw, p), TCompuertaAcceso::ciCredenciales)
            << sUsuario;
        ASSERT_EQ(avisos_->textos.size(), 2u);
        EXPECT_EQ(avisos_->textos[1],
                  "K:La contraseña es incorrecta o, el usuario no  tiene permisos de "
                  "administrador.|La contraseña es incorrecta o, el usuario no tiene permisos de "
                  "administrador.");
    }
}

}  // namespace
