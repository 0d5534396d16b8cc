// The access gate on its own, as a job runs it: what it tells the user at
// each closing, when it creates the question set, and that later runs reuse
// the registered connection.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TDirTemporal.h"
#include "app/CompuertaAcceso.h"
#include "data/ColectorConxs.h"
#include "questionnaire/RepCuestANDU2017.h"
#include "tests/questionnaire/Grabadores.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

struct TAvisosGrabados : IAvisosCompuerta {
    std::vector<std::string> textos;  // "C:" box, "E:" status, "K:" credentials
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

    TCompuertaAcceso::TCierre Pasa(const std::filesystem::path& dir, const std::string& sUsuario,
                                   const std::string& sPassw, TCompuertaAcceso::TPuerta& Puerta) {
        TCompuertaAcceso compuerta(dir, colector_, avisos_);
        return compuerta.Pasa(
            sUsuario, sPassw, 19.5,
            [this](ado::TADOConnection* Conector, int nNumEmp, double dTCambio) {
                ++nCreados_;
                return std::make_shared<TRepCuestANDU2017>(
                    Conector,
                    [](const std::string&) { return std::make_shared<TReportesGrabador>(); },
                    std::make_shared<TMensajeroGrabador>(), dTCambio, nNumEmp);
            },
            Puerta);
    }

    static TDirTemporal* dir_;
    TColectorConxs colector_;
    std::shared_ptr<TAvisosGrabados> avisos_ = std::make_shared<TAvisosGrabados>();
    int nCreados_ = 0;
};
TDirTemporal* CompuertaAccesoTest::dir_ = nullptr;

TEST_F(CompuertaAccesoTest, AbreYReusaLaConexionRegistrada) {
    TCompuertaAcceso::TPuerta a, b;
    ASSERT_EQ(Pasa(dir_->ruta(), "ADMIN", "NORVEX", a), TCompuertaAcceso::ciAbierta);
    EXPECT_TRUE(a.Cuestionario && a.Conector);
    EXPECT_EQ(a.nNumEmp, 1);
    EXPECT_EQ(a.dTCambio, 19.5);
    a = {};  // the job lets its question set go; the connection stays
    ASSERT_EQ(Pasa(dir_->ruta(), "ADMIN", "NORVEX", b), TCompuertaAcceso::ciAbierta);
    ado::TADOConnection* registrada = nullptr;
    ASSERT_TRUE(colector_.DameAccessConex("BDPrincipal", registrada));
    EXPECT_EQ(b.Conector, registrada);
    EXPECT_EQ(avisos_->textos,
              (std::vector<std::string>{"E:Conectando con la BD...", "E:Conectando con la BD..."}));
    EXPECT_EQ(nCreados_, 2);
}

// Each closing speaks once, with its own text; the question set exists only
// once the company is known.
TEST_F(CompuertaAccesoTest, Cierres) {
    TCompuertaAcceso::TPuerta p;
    TDirTemporal vacio;
    EXPECT_EQ(Pasa(vacio.ruta(), "ADMIN", "NORVEX", p), TCompuertaAcceso::ciSinBD);
    EXPECT_EQ(avisos_->textos,
              std::vector<std::string>{
                  "C:Error: Este programa debe encontrarse en la carpeta del Norvex."});
    EXPECT_FALSE(colector_.Conectado("BDPrincipal"));

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
    EXPECT_EQ(nCreados_, 0);
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
