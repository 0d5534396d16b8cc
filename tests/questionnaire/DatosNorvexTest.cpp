// Norvex access, PEP detection and answer evaluation over real Access files.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "BDNorvexPrueba.h"
#include "CuestPrueba.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "data/ColectorConxs.h"

namespace {

class DatosNorvexTest : public ::testing::Test {
protected:
    // Writes the database and opens the program's connection to it.
    ado::TADOConnection& Abre(const TBDNorvex& bd) {
        const std::string sRuta = (dir_ / ("Norvex" + std::to_string(++nBD_) + ".mdb")).string();
        bd.Escribe(sRuta);
        conexiones_.push_back(std::make_unique<ado::TADOConnection>());
        conexiones_.back()->SetConnectionString(CadenaNorvex(sRuta));
        conexiones_.back()->SetConnected(true);
        return *conexiones_.back();
    }

    TDirTemporal dir_;
    int nBD_ = 0;
    std::vector<std::unique_ptr<ado::TADOConnection>> conexiones_;
};

TEST_F(DatosNorvexTest, ConnectedUsers) {
    TGrabaCajas cajas;
    TBDNorvex vacia, uno, sinTabla;
    uno.usuariosConectados = {"CAJERO1"};
    sinTabla.bSinCompUsr = true;
    EXPECT_FALSE(TNorvexBD(&Abre(vacia)).UsuariosConectados());
    EXPECT_TRUE(TNorvexBD(&Abre(uno)).UsuariosConectados());
    EXPECT_TRUE(cajas.textos().empty());
    TNorvexBD bd(&Abre(sinTabla));
    EXPECT_TRUE(bd.Conectado());
    EXPECT_TRUE(bd.UsuariosConectados());  // cannot tell: as if someone were
    EXPECT_EQ(cajas.textos().size(), 1u);
}

TEST_F(DatosNorvexTest, ValidaAcceso) {
    TGrabaCajas cajas;
    TBDNorvex datos;
    datos.emps = {{"ADMIN", std::string("Secreto"), 0}, {"CAJERO", std::string("caja"), 1},
                  {"SINCLAVE", std::monostate{}, 0},    {"DOBLE", std::string("uno"), 0},
                  {"DOBLE", std::string("dos"), 0},     {"A'B", std::string("x"), 0}};
    TNorvexBD bd(&Abre(datos));
    struct Caso {
        std::string sUsuario, sPassw;
        bool bSoloAdmins, bEsperado;
    };
    const std::vector<Caso> casos = {
        {"ADMIN", "Secreto", true, true},
        {"ADMIN", "secreto", true, false},   // letter case matters
        {"ADMIN", "Secreto ", true, false},  // nothing is trimmed
        {"CAJERO", "caja", true, false},     // not an administrator
        {"CAJERO", "caja", false, true},
        {"SINCLAVE", "", true, true},  // no stored password: any password
        {"SINCLAVE", "cualquiera", true, true},
        {"DOBLE", "uno", true, true},  // only the first row counts
        {"DOBLE", "dos", true, false},
        {"NADIE", "", true, false},
        {"A'B", "x", true, true},  // a quote in a name is just a character
        {"' UNION SELECT 'A','B' FROM TEMPS WHERE ''='", "B", true, false},
        {"' OR ''='", "", false, false},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(bd.ValidaAcceso(c.sUsuario, c.sPassw, c.bSoloAdmins), c.bEsperado)
            << c.sUsuario << " / " << c.sPassw;
    EXPECT_TRUE(cajas.textos().empty());
}

TEST_F(DatosNorvexTest, GetEmpresa) {
    TGrabaCajas cajas;
    TBDNorvex datos, nulos, vacia;
    nulos.empresas = {{std::string("SOLO NOMBRE"), std::monostate{}, std::string("CC-9"),
                       int64_t{12}, std::monostate{}}};
    vacia.empresas.clear();
    const TEmpresa e = TNorvexBD(&Abre(datos)).GetEmpresa();
    EXPECT_EQ(e.sRazonSocial, "CAMBIOS DEL NORTE SA DE CV");
    EXPECT_EQ(e.sRFC, "CNO010101AAA");
    EXPECT_EQ(e.sRegistroKOVA, "CC-0001");
    EXPECT_EQ(e.sNumEmpresa, "1");
    EXPECT_EQ(e.sNomComercial, "CAMBIOS NORTE");
    const TEmpresa n = TNorvexBD(&Abre(nulos)).Empresa();
    EXPECT_EQ(n.sRazonSocial, "SOLO NOMBRE");
    EXPECT_EQ(n.sRFC, "");
    EXPECT_EQ(n.sNumEmpresa, "12");
    EXPECT_EQ(n.sNomComercial, "");
    const TEmpresa v = TNorvexBD(&Abre(vacia)).GetEmpresa();
    EXPECT_EQ(v.sRazonSocial + v.sRFC + v.sRegistroKOVA + v.sNumEmpresa + v.sNomComercial, "");
    EXPECT_TRUE(cajas.textos().empty());
}

TEST_F(DatosNorvexTest, DetectaPEPs) {
    TGrabaCajas cajas;
    TBDNorvex bd;
    const std::string sClaveLarga = "CLAVE-MUY-LARGA-DE-25-CAR";
    const std::string sNombreLargo(120, 'N');
    bd.clientes = {
        {"C1", std::string("  JUAN "), std::string("PEREZ"), std::monostate{}},
        {"C2", std::string("EMPRESA PEP SA"), std::string(""), std::string(""), true},
        {"C3", std::string("FUERA"), std::monostate{}, std::monostate{}},
        {"C4", std::string("ANA"), std::monostate{}, std::string(" LOPEZ ")},
        {"C5", std::string("OTRA EMPRESA"), std::monostate{}, std::monostate{}},
        {sClaveLarga, sNombreLargo, std::monostate{}, std::monostate{}},
        {"C7", std::string("MARIA"), std::monostate{}, std::monostate{}},
        {"C8", std::string("MARIA"), std::monostate{}, std::monostate{}},
    };
    bd.alertas = {
        {"I", Fecha(2017, 1, 1), "Posible PEP", 1, "C1"},
        {"I", Fecha(2017, 3, 1), "PEP otra vez", 1, "C1"},
        {"I", Fecha(2017, 4, 1), "Cliente PEP", 1, "C1"},
        {"I", Fecha(2017, 12, 31), "ES PEP", 1, "C2"},
        // The last day counts whole: any hour of it, not the next midnight.
        {"I", Fecha(2017, 12, 31, 10), "PEP", 1, "C3"},
        {"I", Fecha(2017, 12, 31, 23, 59, 59), "PEP AL CIERRE", 1, "C3"},
        {"I", Fecha(2016, 12, 31, 23, 59, 59), "PEP", 1, "C3"},
        {"I", Fecha(2018, 1, 1), "PEP", 1, "C3"},
        {"R", Fecha(2017, 5, 1), "PEP", 1, "C3"},  // another kind of alert
        {"I", Fecha(2017, 5, 1), "sin coincidencia", 1, "C3"},
        {"I", Fecha(2017, 5, 1), "posible pep", 1, "C4"},  // the engine's LIKE ignores case
        {"I", Fecha(2017, 6, 1), "PEP", 2, "C5"},          // another company
        {"I", Fecha(2017, 6, 1), "PEP", 1, sClaveLarga},
        {"I", Fecha(2017, 6, 1), "PEP", 1, "C7"},
        {"I", Fecha(2017, 6, 1), "PEP", 1, "C8"},
    };
    TCuestPrueba q(20, 1, &Abre(bd));
    TTablaPEPs peps;
    for (int nVuelta = 0; nVuelta < 2; ++nVuelta) {
        ASSERT_TRUE(q.DetectaPEPs(peps));
        std::vector<std::pair<std::string, std::string>> filas;
        for (std::size_t i = 0; i < peps.Cuenta(); ++i) {
            EXPECT_EQ(peps.Fila(i).nIdPEP, static_cast<int>(i) + 1);
            EXPECT_FALSE(peps.Fila(i).bEsPEP);
            filas.push_back({peps.Fila(i).sClaveCliente, peps.Fila(i).sNombre});
        }
        std::sort(filas.begin(), filas.end());
        EXPECT_EQ(filas, (std::vector<std::pair<std::string, std::string>>{
                             {"C1", "JUAN PEREZ"},
                             {"C2", "EMPRESA PEP SA"},
                             {"C3", "FUERA"},
                             {"C4", "ANA LOPEZ"},
                             {"C7", "MARIA"},
                             {"C8", "MARIA"},
                             {sClaveLarga.substr(0, 20), sNombreLargo.substr(0, 100)}}));
        // Each row carries the alerts that listed it, oldest first, so that
        // homonyms (C7, C8) read apart; a second run does not pile them up.
        std::map<std::string, std::string> detalles;
        for (const TFilaPEP& f : peps.Filas()) detalles[f.sClaveCliente] = DameDetallePEP(f);
        EXPECT_EQ(detalles["C1"],
                  "Clave del cliente: C1\nAlerta del 01/01/2017: Posible PEP\nAlerta del "
                  "01/03/2017: PEP otra vez\nAlerta del 01/04/2017: Cliente PEP");
        EXPECT_EQ(detalles["C2"], "Clave del cliente: C2\nAlerta del 31/12/2017: ES PEP");
        EXPECT_EQ(detalles["C3"],
                  "Clave del cliente: C3\nAlerta del 31/12/2017: PEP\nAlerta del 31/12/2017: PEP "
                  "AL CIERRE");
        EXPECT_EQ(detalles["C7"], "Clave del cliente: C7\nAlerta del 01/06/2017: PEP");
        EXPECT_EQ(
            detalles[sClaveLarga.substr(0, 20)],
            "Clave del cliente: " + sClaveLarga.substr(0, 20) + "\nAlerta del 01/06/2017: PEP");
        for (std::size_t i = 0; i < peps.Cuenta(); ++i) peps.MarcaPEP(i, true);
    }
    EXPECT_TRUE(cajas.textos().empty());

    TBDNorvex sinAlertas;
    TCuestPrueba q2(20, 1, &Abre(sinAlertas));
    EXPECT_TRUE(q2.DetectaPEPs(peps));
    EXPECT_TRUE(peps.EstaVacia());
}

// A registry of its own for one test, the program's one put back after.
class TRegistroPrueba {
public:
    TRegistroPrueba() : anterior_(ColectorGlobal) {
        ColectorGlobal = std::make_shared<TColectorConxs>();
    }
    ~TRegistroPrueba() { ColectorGlobal = anterior_; }

private:
    std::shared_ptr<IColectorConxs> anterior_;
};

TEST_F(DatosNorvexTest, OwnConnections) {
    TGrabaCajas cajas;
    TRegistroPrueba registro;
    const std::string sRuta = (dir_ / "Propia.mdb").string();
    TBDNorvex().Escribe(sRuta);
    {
        auto a = std::make_unique<TNorvexBD>(sRuta);
        EXPECT_TRUE(a->Conectado());
        EXPECT_TRUE(ColectorGlobal->Conectado("Norvex"));
        {
            // The same name again: no connection for the second object, and
            // its end leaves the first one's entry alone.
            TNorvexBD b(sRuta);
            EXPECT_FALSE(b.Conectado());
        }
        {
            TNorvexBD prestada(&Abre(TBDNorvex()));  // registers nothing, removes nothing
        }
        EXPECT_TRUE(ColectorGlobal->Conectado("Norvex"));
        EXPECT_FALSE(a->UsuariosConectados());
        TNorvexBD otra(sRuta, "2");
        EXPECT_TRUE(otra.Conectado());
        EXPECT_TRUE(ColectorGlobal->Conectado("Norvex2"));
        EXPECT_EQ(otra.GetEmpresa().sRazonSocial, "CAMBIOS DEL NORTE SA DE CV");
        a.reset();
        EXPECT_FALSE(ColectorGlobal->Conectado("Norvex"));
        EXPECT_FALSE(otra.UsuariosConectados());  // its own connection is untouched
    }
    EXPECT_FALSE(ColectorGlobal->Conectado("Norvex2"));
    EXPECT_TRUE(cajas.textos().empty());

    // A file that cannot be opened: the connector's box, no connection, and
    // every question answered on the safe side after its own box.
    TNorvexBD sinArchivo((dir_ / "NoExiste.mdb").string());
    EXPECT_FALSE(sinArchivo.Conectado());
    EXPECT_EQ(cajas.textos().size(), 1u);
    EXPECT_TRUE(sinArchivo.UsuariosConectados());
    EXPECT_EQ(cajas.textos().size(), 2u);
}

// An edition of hand-written statements over a real database.
class TEdicionSQL : public TRepCuestionarioKOVA {
public:
    TEdicionSQL(ado::TADOConnection* c, std::vector<std::string> textos,
                std::shared_ptr<TMensajeroGrabador> m = std::make_shared<TMensajeroGrabador>(),
                std::shared_ptr<TReportesGrabador> r = std::make_shared<TReportesGrabador>())
        : TRepCuestionarioKOVA(
              c, [r](const std::string&) { return r; }, "Prueba", m,
              static_cast<int>(textos.size()), 1, "01/01/2017", "12/31/2017"),
          mensajero(m),
          reportes(r),
          textos_(std::move(textos)) {}

    std::shared_ptr<TMensajeroGrabador> mensajero;
    std::shared_ptr<TReportesGrabador> reportes;

protected:
    void DameConsulta(int n, std::string& s) override { s = textos_.at(n - 1); }

private:
    std::vector<std::string> textos_;
};

TEST_F(DatosNorvexTest, AnswersFromTheFirstRow) {
    TGrabaCajas cajas;
    TBDNorvex bd;
    bd.empresas.push_back(
        {std::string("SEGUNDA"), std::monostate{}, std::monostate{}, int64_t{2}, std::monostate{}});
    TEdicionSQL ed(&Abre(bd), {"SELECT 12 AS Resultado FROM tEmpresa",
                               "SELECT Empresa AS Resultado FROM tEmpresa",
                               "SELECT ROUND(12345.4) AS Resultado FROM tEmpresa",
                               "SELECT NULL AS Resultado FROM tEmpresa", "SELECT 1 AS Resultado"});
    TTablaPEPs peps;
    EXPECT_FALSE(ed.GeneraReporte(peps));
    const auto& v = ed.reportes->variables;
    EXPECT_EQ(v.at("Cuestionario.preg_1"), "Respuesta: 12");
    EXPECT_EQ(v.at("Cuestionario.preg_2"), "Respuesta: CAMBIOS DEL NORTE SA DE CV");
    EXPECT_EQ(v.at("Cuestionario.preg_3"), "Respuesta: 12345");
    // A null has no text: the question fails, and a box names it.
    EXPECT_EQ(v.at("Cuestionario.preg_4"), "** E R R O R **");
    EXPECT_EQ(v.count("Cuestionario.preg_5"), 0u);
    EXPECT_EQ(ed.mensajero->textos.back(), "E:Error...");
    EXPECT_EQ(cajas.textos(),
              std::vector<std::string>{"La pregunta 4 no tiene respuesta: su consulta devolvió un "
                                       "valor nulo."});
    EXPECT_EQ(ed.reportes->nVistas, 0);
}

}  // namespace
