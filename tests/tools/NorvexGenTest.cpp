// The sample Norvex folder holds what the questionnaire reads, in the types
// it relies on, with every kind of data its answers tell apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <set>

#include "LectorLibmdb.h"
#include "LectorMdbReader.h"
#include "TDirTemporal.h"
#include "platform/jet/EErrorJet.h"
#include "platform/jet/TArchivoAccess.h"
#include "tools/mdbgen/EErrorMdb.h"
#include "tools/norvexgen/GeneradorNorvex.h"

using nlohmann::json;

namespace {

// A value as text, to build keys of several columns.
std::string Clave(const jet::TValor& v) {
    if (auto* s = std::get_if<std::string>(&v))
        return *s;
    if (auto* n = std::get_if<int64_t>(&v))
        return std::to_string(*n);
    if (auto* d = std::get_if<double>(&v))
        return std::to_string(*d);
    if (auto* f = std::get_if<jet::TSimple>(&v))
        return std::to_string(f->fValor);
    if (auto* f = std::get_if<jet::TFecha>(&v))
        return std::to_string(f->dSerial);
    return "?";
}

std::string Contenido(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

// Tables by name, with a way to read a column of a row by its name.
struct TBase {
    std::map<std::string, TTablaLibmdb> tablas;
    explicit TBase(const std::filesystem::path& dir) {
        for (auto& t : LeeConLibmdb((dir / "DataBase" / "Norvex.mdb").string()))
            tablas[t.sNombre] = t;
    }
    const TTablaLibmdb& T(const std::string& s) const { return tablas.at(s); }
    static size_t Col(const TTablaLibmdb& t, const std::string& s) {
        for (size_t i = 0; i < t.columnas.size(); ++i)
            if (t.columnas[i] == s)
                return i;
        throw std::runtime_error("sin columna " + s);
    }
    static std::string Txt(const jet::TValor& v) {
        return jet::EsNulo(v) ? std::string() : std::get<std::string>(v);
    }
};

class NorvexGen : public ::testing::Test {
protected:
    // One 5,000-line folder for the content tests (the default size).
    static void SetUpTestSuite() {
        dir_ = new TDirTemporal;
        norvex::TGeneradorNorvex::Genera(dir_->ruta(), {});
        base_ = new TBase(dir_->ruta());
    }
    static void TearDownTestSuite() {
        delete base_;
        delete dir_;
    }
    static TDirTemporal* dir_;
    static TBase* base_;
};
TDirTemporal* NorvexGen::dir_ = nullptr;
TBase* NorvexGen::base_ = nullptr;

}  // namespace

TEST(NorvexGenSemilla, MismaSemillaMismoArchivo) {
    TDirTemporal a, b, c;
    norvex::TGeneradorNorvex::Genera(a.ruta(), {800, 7});
    norvex::TGeneradorNorvex::Genera(b.ruta(), {800, 7});
    norvex::TGeneradorNorvex::Genera(c.ruta(), {800, 8});
    const std::string sA = Contenido(a / "DataBase/Norvex.mdb");
    EXPECT_GT(sA.size(), 40000u);
    EXPECT_TRUE(sA == Contenido(b / "DataBase/Norvex.mdb"));
    EXPECT_FALSE(sA == Contenido(c / "DataBase/Norvex.mdb"));
}

// Every column the questionnaire names, with the type its SQL relies on
// (libmdb type codes: 1 yes/no, 3 integer, 4 long, 7 double, 8 date, 10 text).
TEST_F(NorvexGen, TablasYColumnasQueLeeElCuestionario) {
    struct TCol {
        const char* sTabla;
        const char* sColumna;
        int nTipo;
    };
    const TCol cols[] = {
        {"tEmps", "ClaveEmp", 10},
        {"tEmps", "Password", 10},
        {"tEmps", "Nivel", 3},
        {"tEmpresa", "Empresa", 10},
        {"tEmpresa", "RFC", 10},
        {"tEmpresa", "RegistroCC", 10},
        {"tEmpresa", "NumEmp", 4},
        {"tEmpresa", "NomComercial", 10},
        {"tRelevan", "TipoRelev", 10},
        {"tRelevan", "Fecha", 8},
        {"tRelevan", "Observaciones", 10},
        {"tRelevan", "NumEmp", 4},
        {"tRelevan", "ClaveCliente", 10},
        {"tCliente", "ClaveCliente", 10},
        {"tCliente", "Nombre", 10},
        {"tCliente", "ApellidoPaterno", 10},
        {"tCliente", "ApellidoMaterno", 10},
        {"tCliente", "PersonaMoral", 1},
        {"tCliente", "Extranjero", 1},
        {"tCliente", "ClaveSector", 4},
        {"tCliente", "NumEmp", 4},
        {"tSector", "ClaveSector", 4},
        {"tSector", "Sector", 10},
        {"tSector", "ClaveActividad", 10},
        {"tDivisas", "NumeroDivisa", 4},
        {"tDivisas", "Simbolo", 10},
        {"tDivisas", "Divisa", 10},
        {"tDivisas", "Pagare", 1},
    };
    for (const TCol& c : cols) {
        const TTablaLibmdb& t = base_->T(c.sTabla);
        EXPECT_EQ(t.tipos[TBase::Col(t, c.sColumna)], c.nTipo) << c.sTabla << "." << c.sColumna;
    }
    const std::pair<const char*, int> ops[] = {
        {"Tipo", 10},         {"Folio", 4},      {"Fecha", 8},
        {"NumeroDivisa", 4},  {"Cotizacion", 7}, {"Cantidad", 7},
        {"ClaveCliente", 10}, {"NumEmp", 4},     {"Cancelado", 1}};
    for (const char* s : {"tMovtos", "tProces"}) {
        const TTablaLibmdb& t = base_->T(s);
        for (const auto& [sCol, nTipo] : ops)
            EXPECT_EQ(t.tipos[TBase::Col(t, sCol)], nTipo) << s << "." << sCol;
        EXPECT_EQ(t.tamanos[TBase::Col(t, "Tipo")], 2) << "Tipo es texto de 1 carácter";
    }
    EXPECT_FALSE(base_->T("tCompUsr").columnas.empty());
}

TEST_F(NorvexGen, UsuariosEmpresaYConfiguracion) {
    const TTablaLibmdb& emps = base_->T("tEmps");
    ASSERT_EQ(emps.filas.size(), 2u);
    const size_t c = TBase::Col(emps, "ClaveEmp"), p = TBase::Col(emps, "Password"),
                 n = TBase::Col(emps, "Nivel");
    EXPECT_EQ(TBase::Txt(emps.filas[0][c]) + "/" + TBase::Txt(emps.filas[0][p]), "ADMIN/NORVEX");
    EXPECT_TRUE(emps.filas[0][n] == jet::TValor(int64_t(0)));
    EXPECT_EQ(TBase::Txt(emps.filas[1][c]) + "/" + TBase::Txt(emps.filas[1][p]), "CAJERO/CAJA");
    EXPECT_TRUE(emps.filas[1][n] == jet::TValor(int64_t(1)));
    EXPECT_TRUE(base_->T("tCompUsr").filas.empty());

    // The first row is the active company, every field filled.
    const TTablaLibmdb& emp = base_->T("tEmpresa");
    ASSERT_EQ(emp.filas.size(), 2u);
    EXPECT_TRUE(emp.filas[0][TBase::Col(emp, "NumEmp")] == jet::TValor(int64_t(1)));
    for (const char* s : {"Empresa", "RFC", "RegistroCC", "NomComercial"})
        EXPECT_FALSE(TBase::Txt(emp.filas[0][TBase::Col(emp, s)]).empty()) << s;

    const std::string sIni = Contenido(dir_->ruta() / "Norvex.INI");
    EXPECT_EQ(sIni.find("[Control]\r\nEmpresaActiva=1\r\n"), 0u) << sIni;
}

// The data give every answer of the questionnaire something to count,
// inside and outside 2017, and every filter something to leave out.
TEST_F(NorvexGen, LosDatosCubrenLoQueDistingueElCuestionario) {
    const double kIni2017 = 42736, kFin2017 = 43100;  // 2017-01-01 and 2017-12-31
    const TTablaLibmdb& cli = base_->T("tCliente");
    const TTablaLibmdb& sec = base_->T("tSector");
    const TTablaLibmdb& div = base_->T("tDivisas");

    std::map<int64_t, std::string> actividad;
    for (const auto& f : sec.filas)
        actividad[std::get<int64_t>(f[TBase::Col(sec, "ClaveSector")])] =
            TBase::Txt(f[TBase::Col(sec, "ClaveActividad")]);
    std::set<std::string> sectores;
    for (const auto& f : sec.filas) sectores.insert(TBase::Txt(f[TBase::Col(sec, "Sector")]));
    EXPECT_TRUE(sectores.count("NO APLICA"));

    const std::set<std::string> kFinancieras = {"9503005", "6999992", "8123094",
                                                "9911018", "8219025", "8100000"};
    std::map<std::string, std::string> claseDe;  // client -> kind seen by the questionnaire
    for (const auto& f : cli.filas) {
        const bool bMoral = std::get<bool>(f[TBase::Col(cli, "PersonaMoral")]);
        const bool bFuera = std::get<bool>(f[TBase::Col(cli, "Extranjero")]);
        const std::string sNombre = TBase::Txt(f[TBase::Col(cli, "Nombre")]);
        const auto it = actividad.find(std::get<int64_t>(f[TBase::Col(cli, "ClaveSector")]));
        std::string s =
            sNombre.find("PUBLICO") != std::string::npos
                ? "publico"
                : std::string(bMoral ? "moral" : "fisica") + (bFuera ? " extranjera" : " nacional");
        if (it == actividad.end())
            s = "sin sector";
        else if (kFinancieras.count(it->second))
            s = "actividad " + it->second;
        claseDe[TBase::Txt(f[TBase::Col(cli, "ClaveCliente")])] = s;
    }

    std::map<int64_t, std::pair<std::string, bool>> divisa;  // number -> symbol, document
    for (const auto& f : div.filas)
        divisa[std::get<int64_t>(f[TBase::Col(div, "NumeroDivisa")])] = {
            TBase::Txt(f[TBase::Col(div, "Simbolo")]),
            std::get<bool>(f[TBase::Col(div, "Pagare")])};

    std::set<std::string> visto;
    std::map<std::string, std::set<std::string>> operaciones;  // key -> tables
    size_t nLineas = 0;
    for (const char* sTabla : {"tMovtos", "tProces"}) {
        const TTablaLibmdb& t = base_->T(sTabla);
        nLineas += t.filas.size();
        for (const auto& f : t.filas) {
            const double dFecha = std::get<jet::TFecha>(f[TBase::Col(t, "Fecha")]).dSerial;
            ASSERT_GE(dFecha, 42005);  // 2015-01-01
            ASSERT_LE(dFecha, 43465);  // 2018-12-31
            const std::string sTipo = TBase::Txt(f[TBase::Col(t, "Tipo")]);
            const bool bCancelado = std::get<bool>(f[TBase::Col(t, "Cancelado")]);
            const int64_t nEmp = std::get<int64_t>(f[TBase::Col(t, "NumEmp")]);
            const std::string sCliente = TBase::Txt(f[TBase::Col(t, "ClaveCliente")]);
            if (bCancelado)
                visto.insert("cancelada");
            if (sTipo != "C" && sTipo != "V")
                visto.insert("otro tipo");
            if (nEmp != 1)
                visto.insert("otra empresa");
            const auto d = divisa.find(std::get<int64_t>(f[TBase::Col(t, "NumeroDivisa")]));
            if (d == divisa.end())
                visto.insert("divisa inexistente");
            if (!claseDe.count(sCliente))
                visto.insert("cliente inexistente");
            if (bCancelado || (sTipo != "C" && sTipo != "V") || nEmp != 1 || dFecha < kIni2017 ||
                dFecha > kFin2017 || d == divisa.end() || !claseDe.count(sCliente))
                continue;
            visto.insert(sTipo + " " + claseDe[sCliente]);
            visto.insert(sTipo + " " + (d->second.second ? "documento " : "efectivo ") +
                         d->second.first);
            std::string sClave = sTipo;
            for (const char* s : {"Folio", "Fecha", "NumeroDivisa", "Cotizacion", "ClaveCliente"})
                sClave += "|" + Clave(f[TBase::Col(t, s)]);
            operaciones[sClave].insert(sTabla);
        }
    }
    EXPECT_EQ(nLineas, 5000u);
    for (const auto& [k, tablas] : operaciones)
        if (tablas.size() == 2)
            visto.insert("operación en ambas tablas");

    const char* esperados[] = {
        "cancelada",           "otro tipo",           "otra empresa",
        "divisa inexistente",  "cliente inexistente", "operación en ambas tablas",
        "C publico",           "V publico",           "C fisica nacional",
        "V fisica nacional",   "C fisica extranjera", "C moral nacional",
        "V moral nacional",    "C moral extranjera",  "C actividad 9503005",
        "C actividad 6999992", "C actividad 8123094", "C actividad 9911018",
        "C actividad 8219025", "C actividad 8100000", "V actividad 8100000",
        "C efectivo USD",      "V efectivo USD",      "C efectivo EUR",
        "V efectivo CAD",      "C efectivo GBP",      "C efectivo JPY",
        "C efectivo CHF",      "C efectivo M.N.",     "C efectivo MXP",
        "C efectivo ",         "C documento USD",     "V documento USD",
        "C documento EUR"};
    for (const char* s : esperados) EXPECT_TRUE(visto.count(s)) << s;
}

TEST_F(NorvexGen, AlertasPepDentroYFueraDe2017) {
    const TTablaLibmdb& rel = base_->T("tRelevan");
    std::set<std::string> visto;
    for (const auto& f : rel.filas) {
        const std::string sTipo = TBase::Txt(f[TBase::Col(rel, "TipoRelev")]);
        const bool bPep =
            TBase::Txt(f[TBase::Col(rel, "Observaciones")]).find("PEP") != std::string::npos;
        const double d = std::get<jet::TFecha>(f[TBase::Col(rel, "Fecha")]).dSerial;
        const int64_t nEmp = std::get<int64_t>(f[TBase::Col(rel, "NumEmp")]);
        const std::string sDonde = d < 42736 ? "antes" : d < 43101 ? "2017" : "después";
        visto.insert(sTipo + (bPep ? " PEP " : " otra ") + sDonde + " empresa " +
                     std::to_string(nEmp));
        if (sTipo == "I" && bPep && d > 43100 && d < 43101)
            visto.insert("último día con hora");
    }
    for (const char* s :
         {"I PEP 2017 empresa 1", "I PEP antes empresa 1", "I PEP después empresa 1",
          "I PEP 2017 empresa 2", "I otra 2017 empresa 1", "R PEP 2017 empresa 1",
          "P PEP 2017 empresa 1", "último día con hora"})
        EXPECT_TRUE(visto.count(s)) << s;
}

TEST(NorvexGenPrograma, ArgumentosYCarpeta) {
    TDirTemporal dir;
    const std::string sPrograma = KOVA_BINARY_DIR "/bin/norvexgen";
    auto corre = [&](const std::string& sArgs) {
        const int r = std::system(("'" + sPrograma + "' " + sArgs + " 2>/dev/null").c_str());
        return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
    };
    EXPECT_EQ(corre(""), 2);
    EXPECT_EQ(corre("--lineas diez '" + (dir / "a").string() + "'"), 2);
    EXPECT_EQ(corre("--lineas -1 '" + (dir / "a").string() + "'"), 2);
    EXPECT_EQ(corre("--otra '" + (dir / "a").string() + "'"), 2);
    EXPECT_EQ(corre("--clientes 73 '" + (dir / "a").string() + "'"), 2);
    EXPECT_EQ(corre("--clientes '" + (dir / "a").string() + "'"), 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
    // Too few clients would leave a company without any to draw operations from.
    EXPECT_THROW(norvex::TGeneradorNorvex::Genera(dir / "a", {100, 1, 73}), mdb::EErrorMdb);
    EXPECT_FALSE(std::filesystem::exists(dir / "a"));
    // Lines and clients as asked; clients one per 25 lines, at least 74, by default.
    const struct {
        const char* sArgs;
        size_t nLineas, nClientes;
    } casos[] = {{"--lineas 120 --semilla 3", 120, 74},
                 {"--lineas 4000", 4000, 174},
                 {"--lineas 120 --clientes 300", 120, 300},
                 {"--clientes 74 --lineas 50", 50, 74}};
    int nCaso = 0;
    for (const auto& c : casos) {
        const auto sub = dir / std::to_string(++nCaso);
        ASSERT_EQ(corre(std::string(c.sArgs) + " '" + sub.string() + "'"), 0) << c.sArgs;
        EXPECT_TRUE(std::filesystem::exists(sub / "Norvex.INI"));
        size_t nLineas = 0, nClientes = 0;
        for (const auto& t : LeeConLibmdb((sub / "DataBase/Norvex.mdb").string())) {
            if (t.sNombre == "tMovtos" || t.sNombre == "tProces")
                nLineas += t.filas.size();
            if (t.sNombre == "tCliente")
                nClientes = t.filas.size();
        }
        EXPECT_EQ(nLineas, c.nLineas) << c.sArgs;
        EXPECT_EQ(nClientes, c.nClientes) << c.sArgs;
    }
}

// The tool opens the folder's database with Norvex's fixed password only.
TEST_F(NorvexGen, SeAbreConLaContrasenaDeNorvex) {
    const std::string sRuta = (dir_->ruta() / "DataBase" / "Norvex.mdb").string();
    const auto archivo = jet::TArchivoAccess::Abre(sRuta, "quilon");
    std::vector<std::string> nombres = archivo->DameNombresTablas();
    std::sort(nombres.begin(), nombres.end());
    EXPECT_EQ(nombres,
              (std::vector<std::string>{"tCliente", "tCompUsr", "tDivisas", "tEmpresa", "tEmps",
                                        "tMovtos", "tProces", "tRelevan", "tSector"}));
    EXPECT_THROW(jet::TArchivoAccess::Abre(sRuta, "QUILON"), jet::EErrorJet);
}

namespace {

// A libmdb value against mdb-reader's JSON of it (dates only as present:
// their texts are checked in the writer's own tests).
bool Igual(const jet::TValor& v, const json& j) {
    if (jet::EsNulo(v))
        return j.is_null();
    if (auto* s = std::get_if<std::string>(&v))
        return j == *s;
    if (auto* n = std::get_if<int64_t>(&v))
        return j == *n;
    if (auto* d = std::get_if<double>(&v))
        return j.is_number() && j.get<double>() == *d;
    if (auto* f = std::get_if<jet::TSimple>(&v))
        return j.is_number() && static_cast<float>(j.get<double>()) == f->fValor;
    if (auto* b = std::get_if<bool>(&v))
        return j == *b;
    if (auto* m = std::get_if<jet::TMoneda>(&v))
        return j.is_string() &&
               std::llround(std::stod(j.get<std::string>()) * 10000) == m->nDiezMilesimos;
    return j.is_string();
}

}  // namespace

// mdb-reader, written by others, sees the same tables, rows and password.
TEST_F(NorvexGen, MdbReaderLeeLoMismo) {
    const json leido =
        LeeConMdbReader((dir_->ruta() / "DataBase" / "Norvex.mdb").string(), "quilon");
    EXPECT_EQ(leido["password"], "quilon");
    EXPECT_EQ(leido["tables"].size(), base_->tablas.size());
    for (const auto& [sNombre, t] : base_->tablas) {
        const json& filas = leido["tables"][sNombre]["rows"];
        ASSERT_EQ(filas.size(), t.filas.size()) << sNombre;
        for (size_t f = 0; f < t.filas.size(); ++f)
            for (size_t c = 0; c < t.columnas.size(); ++c)
                EXPECT_TRUE(Igual(t.filas[f][c], filas[f][c]))
                    << sNombre << " fila " << f << " " << t.columnas[c] << ": " << filas[f][c];
    }
}

// A centre split into branches: every branch a whole Norvex folder with the
// whole catalogues, and the divided tables' rows, put together, exactly the
// unsplit folder's, each operation whole in one branch.
TEST(NorvexGenSucursales, JuntasSonElCentroSinRepartir) {
    TDirTemporal dir;
    norvex::TGeneradorNorvex::Genera(dir / "entero", {900, 5});
    const TBase entero(dir / "entero");
    const std::string sPrograma = KOVA_BINARY_DIR "/bin/norvexgen";
    auto corre = [&](const std::string& sArgs) {
        const int r = std::system(("'" + sPrograma + "' " + sArgs + " 2>/dev/null").c_str());
        return WIFEXITED(r) ? WEXITSTATUS(r) : -1;
    };
    for (const char* s : {"0", "100", "dos"})
        EXPECT_EQ(corre(std::string("--sucursales ") + s + " '" + (dir / "x").string() + "'"), 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "x"));
    ASSERT_EQ(corre("--lineas 900 --semilla 5 --sucursales 3 '" + (dir / "p").string() + "'"), 0);

    auto filas = [](const TTablaLibmdb& t) {
        std::multiset<std::string> f;
        for (const auto& fila : t.filas) {
            std::string s;
            for (const auto& v : fila) s += Clave(v) + "|";
            f.insert(s);
        }
        return f;
    };
    std::map<std::string, std::multiset<std::string>> juntas;
    std::map<std::string, std::set<size_t>> sucursalDeOperacion;
    for (size_t n = 1; n <= 3; ++n) {
        const auto carpeta = norvex::TGeneradorNorvex::CarpetaSucursal(dir / "p", int64_t(n));
        EXPECT_NE(Contenido(carpeta / "Norvex.INI").find(n == 1 ? "Sucursal=MATRIZ" : "SUCURSAL"),
                  std::string::npos);
        const TBase parte(carpeta);
        for (const auto& [sTabla, t] : parte.tablas) {
            const bool bRepartida =
                sTabla == "tMovtos" || sTabla == "tProces" || sTabla == "tRelevan";
            if (!bRepartida) {
                EXPECT_EQ(filas(t), filas(entero.T(sTabla))) << sTabla << " en " << n;
                continue;
            }
            EXPECT_FALSE(t.filas.empty()) << sTabla << " en " << n;
            for (const auto& f : filas(t)) juntas[sTabla].insert(f);
            if (sTabla != "tRelevan")
                for (const auto& fila : t.filas)
                    sucursalDeOperacion[Clave(fila[TBase::Col(t, "NumEmp")]) + "/" +
                                        Clave(fila[TBase::Col(t, "Folio")])]
                        .insert(n);
        }
    }
    for (const char* s : {"tMovtos", "tProces", "tRelevan"})
        EXPECT_EQ(juntas[s], filas(entero.T(s))) << s;
    for (const auto& [sOperacion, sucursales] : sucursalDeOperacion)
        EXPECT_EQ(sucursales.size(), 1u) << sOperacion;
}
