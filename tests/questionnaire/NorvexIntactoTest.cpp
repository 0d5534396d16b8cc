// The Norvex file is the centre's only copy of its business: a whole round
// of statements leaves it byte for byte as it was, with nothing written
// beside it; and when Norvex rewrites it between two statements the next one
// reads the new contents (or says the file is damaged), never stale rows.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

#include "BDNorvexPrueba.h"
#include "CuestPrueba.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "platform/ado/TADOQuery.h"
#include "tools/norvexgen/GeneradorNorvex.h"

namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Every entry below a folder with its size, time and permissions (and the
// bytes of the database itself, compared apart).
std::map<std::string, std::string> Estado(const fs::path& dir) {
    std::map<std::string, std::string> estado;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const auto st = e.symlink_status();
        estado[e.path().lexically_relative(dir).string()] =
            std::to_string(e.is_regular_file() ? e.file_size() : 0) + " " +
            std::to_string(e.last_write_time().time_since_epoch().count()) + " " +
            std::to_string(static_cast<int>(st.permissions()));
    }
    return estado;
}

TEST(NorvexIntacto, UnaCorridaCompletaNoCambiaNiCreaNada) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir.ruta(), {.nLineas = 600, .nSemilla = 7});
    const fs::path mdb = dir / "DataBase/Norvex.mdb";
    const std::string sAntes = Bytes(mdb);
    const auto estadoAntes = Estado(dir.ruta());
    {
        TGrabaCajas cajas;
        ado::TADOConnection conexion;
        conexion.SetConnectionString(CadenaNorvex(mdb.string()));
        conexion.SetConnected(true);
        TTablaPEPs peps;
        TCuestPrueba q(18.91, 1, &conexion);
        q.UsuariosConectados();
        q.ValidaAcceso("ADMIN", "x", true);
        q.GetEmpresa();
        ASSERT_TRUE(q.DetectaPEPs(peps));
        for (std::size_t i = 0; i < peps.Cuenta(); ++i) peps.MarcaPEP(i, true);
        ASSERT_TRUE(q.GeneraReporte(peps));
        EXPECT_TRUE(cajas.textos().empty());
        // While it is still open, too: nothing is written beside it.
        EXPECT_EQ(Estado(dir.ruta()), estadoAntes);
    }
    EXPECT_EQ(Estado(dir.ruta()), estadoAntes);
    EXPECT_TRUE(Bytes(mdb) == sAntes) << "Norvex.mdb changed";
}

class NorvexCambiaTest : public ::testing::Test {
protected:
    int64_t Cuenta() {
        ado::TADOQuery q(&conexion_);
        q.SQLAdd("SELECT COUNT(*) AS N FROM tMovtos");
        q.Open();
        return q.FieldByName("N").AsInteger();
    }
    // Norvex may write the file in place or put a finished copy in its place.
    void Reemplaza(const TBDNorvex& bd, bool bEnSuLugar) {
        const fs::path nuevo = dir_ / "nuevo.mdb";
        bd.Escribe(nuevo.string());
        if (bEnSuLugar) {
            // Written in place, only the time tells; it ticks every few
            // milliseconds, while Norvex's writes are seconds apart.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::ofstream(ruta_, std::ios::binary | std::ios::trunc) << Bytes(nuevo);
            fs::remove(nuevo);
        } else {
            fs::rename(nuevo, ruta_);
        }
    }

    TDirTemporal dir_;
    fs::path ruta_ = dir_ / "Norvex.mdb";
    ado::TADOConnection conexion_;
};

TBDNorvex ConOperaciones(int n) {
    TBDNorvex bd;
    bd.clientes = {{"C1", std::string("ANA"), std::monostate{}, std::monostate{}}};
    for (int i = 1; i <= n; ++i)
        bd.ops.push_back({"C", i, Fecha(2017, 3, i), 1, 18.5, 10.0 * i, "C1"});
    return bd;
}

TEST_F(NorvexCambiaTest, LaSiguienteConsultaVeElArchivoNuevo) {
    for (const bool bEnSuLugar : {false, true}) {
        SCOPED_TRACE(bEnSuLugar ? "escrito en su lugar" : "copia puesta en su lugar");
        TGrabaCajas cajas;
        ConOperaciones(2).Escribe(ruta_.string());
        conexion_.SetConnectionString(CadenaNorvex(ruta_.string()));
        conexion_.SetConnected(true);
        EXPECT_EQ(Cuenta(), 2);
        Reemplaza(ConOperaciones(5), bEnSuLugar);
        EXPECT_EQ(Cuenta(), 5);
        Reemplaza(ConOperaciones(1), bEnSuLugar);
        EXPECT_EQ(Cuenta(), 1);
        EXPECT_TRUE(cajas.textos().empty());
        conexion_.SetConnected(false);
    }
}

// A copy caught half-written is a damaged file for that statement: one
// BD-101 box, no answer made of old rows; once complete, reading resumes.
TEST_F(NorvexCambiaTest, UnaCopiaAMedioEscribirEsUnArchivoDanado) {
    TGrabaCajas cajas;
    TBDNorvex bd = ConOperaciones(3);
    bd.emps = {{"ADMIN", std::string("Secreto"), 0}};
    bd.Escribe(ruta_.string());
    conexion_.SetConnectionString(CadenaNorvex(ruta_.string()));
    conexion_.SetConnected(true);
    TNorvexBD norvex(&conexion_);
    EXPECT_TRUE(norvex.ValidaAcceso("ADMIN", "Secreto", true));
    const std::string sCompleto = Bytes(ruta_);
    std::ofstream(ruta_, std::ios::binary | std::ios::trunc) << sCompleto.substr(0, 4096 * 3);
    EXPECT_FALSE(norvex.ValidaAcceso("ADMIN", "Secreto", true));
    ASSERT_EQ(cajas.textos().size(), 1u);
    EXPECT_EQ(cajas.textos()[0].rfind("Error #BD-101.", 0), 0u) << cajas.textos()[0];
    EXPECT_NE(cajas.textos()[0].find("incompleto o dañado"), std::string::npos)
        << cajas.textos()[0];
    std::ofstream(ruta_, std::ios::binary | std::ios::trunc) << sCompleto;
    EXPECT_TRUE(norvex.ValidaAcceso("ADMIN", "Secreto", true));
    EXPECT_EQ(cajas.textos().size(), 1u);
}

}  // namespace
