// The Jet dialect's results, one table of statements per behaviour, over a
// small file whose names differ only by letter case and accents.
#include <gtest/gtest.h>

#include "ArchivoFalso.h"
#include "platform/jet/EErrorJet.h"

using jet::TTipoColumna;

namespace {

std::shared_ptr<TArchivoFalso> Datos() {
    auto a = std::make_shared<TArchivoFalso>();
    const jet::TValor N = std::monostate{};
    a->Tabla("tCliente",
             {{"ClaveCliente", TTipoColumna::tcTexto, 20},
              {"Nombre", TTipoColumna::tcTexto, 100},
              {"ApellidoPaterno", TTipoColumna::tcTexto, 50},
              {"PersonaMoral", TTipoColumna::tcBooleano, 1},
              {"NumEmp", TTipoColumna::tcEnteroLargo, 4}},
             {{std::string("C1"), std::string("Juan"), std::string("Pérez"), false, int64_t{1}},
              {std::string("C2"), std::string("JUAN"), std::string("PÉREZ"), false, int64_t{1}},
              {std::string("C3"), std::string("acme sa"), N, true, int64_t{1}},
              {std::string("C4"), std::string("PUBLICO EN GENERAL"), N, false, int64_t{1}},
              {std::string("C5"), std::string("Zoë"), std::string("perez"), false, int64_t{2}}});
    a->Tabla(
        "tMov",
        {{"Id", TTipoColumna::tcEnteroLargo, 4},
         {"Tipo", TTipoColumna::tcTexto, 1},
         {"Fecha", TTipoColumna::tcFechaHora, 8},
         {"Cantidad", TTipoColumna::tcDoble, 8},
         {"Cot", TTipoColumna::tcMoneda, 8},
         {"ClaveCliente", TTipoColumna::tcTexto, 20}},
        {{int64_t{1}, std::string("C"), Fecha(2017, 12, 31), 100.5, jet::TMoneda{185000},
          std::string("C1")},
         {int64_t{2}, std::string("V"), Fecha(2017, 12, 31, 10, 0), 7.0, jet::TMoneda{10000},
          std::string("C2")},
         {int64_t{3}, std::string("C"), Fecha(2017, 1, 1), 2.5, jet::TMoneda{0}, std::string("C3")},
         {int64_t{4}, std::string("V"), Fecha(2016, 12, 31, 23, 59), N, N, std::string("C9")},
         {int64_t{5}, std::string("X"), Fecha(2018, 1, 1), 1.0, N, std::string("C1")}});
    a->Tabla("tVacia", {{"Monto", TTipoColumna::tcDoble, 8}}, {});
    a->Tabla("tImportes", {{"Importe", TTipoColumna::tcMoneda, 8}},
             {{jet::TMoneda{600}}, {jet::TMoneda{22400}}, {jet::TMoneda{2000}}});
    a->Tabla("tEmpresa", {{"Empresa", TTipoColumna::tcTexto, 100}}, {{std::string("CC")}});
    a->Tabla("Tabla Rara",
             {{"Total Ops", TTipoColumna::tcEnteroLargo, 4}, {"Select", TTipoColumna::tcTexto, 5}},
             {{int64_t{5}, std::string("x")}});
    return a;
}

struct Caso {
    const char* sSql;
    const char* sEsperado;
};
std::ostream& operator<<(std::ostream& o, const Caso& c) {
    return o << c.sSql;
}

class Conformidad : public ::testing::TestWithParam<Caso> {};

TEST_P(Conformidad, GivesJetsRows) {
    auto motor = MotorSobre(Datos());
    EXPECT_EQ(Texto(motor->Ejecuta(GetParam().sSql)), GetParam().sEsperado)
        << motor->Traduce(GetParam().sSql);
}

// 1. Text compares without letter case, with accents, wherever Jet compares.
INSTANTIATE_TEST_SUITE_P(
    TextoSinMayusculas, Conformidad,
    ::testing::Values(
        Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre = 'juan'", "2"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE ApellidoPaterno = 'Perez'", "1"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre < 'b'", "1"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre >= 'JUAN' AND Nombre <= 'juan'", "2"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre IN ('JUAN', 'Acme SA')", "3"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre BETWEEN 'A' AND 'B'", "1"},
        Caso{"SELECT COUNT(1) FROM tCliente AS a, tCliente AS b WHERE a.Nombre = b.Nombre", "7"},
        Caso{"SELECT COUNT(1) FROM (SELECT DISTINCT Nombre FROM tCliente WHERE NumEmp = 1)", "3"},
        Caso{"SELECT COUNT(1) FROM (SELECT DISTINCT Nombre & '' AS X FROM tCliente)", "4"},
        Caso{"SELECT COUNT(1) AS N FROM (SELECT Nombre + ' ' + ApellidoPaterno AS Cliente FROM "
             "tCliente WHERE NumEmp = 1 AND PersonaMoral = 0) GROUP BY Cliente",
             "1; 2"},
        Caso{"SELECT COUNT(1) FROM (SELECT Nombre FROM tCliente WHERE ClaveCliente = 'C1' UNION "
             "SELECT UCASE(Nombre) FROM tCliente WHERE ClaveCliente = 'C1')",
             "1"},
        Caso{
            "SELECT Nombre FROM tCliente WHERE NumEmp = 1 AND ClaveCliente <> 'C2' ORDER BY Nombre",
            "acme sa; Juan; PUBLICO EN GENERAL"},
        Caso{"SELECT LCASE(Nombre) AS X FROM tCliente WHERE NumEmp = 1 AND ClaveCliente <> 'C2' "
             "ORDER BY UCASE(Nombre) DESC",
             "publico en general; juan; acme sa"},
        Caso{"SELECT MIN(Nombre), MAX(Nombre), MIN(Nombre & '') FROM tCliente",
             "acme sa,Zoë,acme sa"}));

// 2. LIKE: ANSI wildcards, case-insensitive, whole text.
INSTANTIATE_TEST_SUITE_P(
    Like, Conformidad,
    ::testing::Values(Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE '%publico%'", "1"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE 'j_an'", "2"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE 'Jua'", "0"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE '[jz]%'", "3"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE '[!j]%'", "3"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE '[a-c]%'", "1"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre NOT LIKE '%A%'", "1"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE Nombre LIKE 'J*'", "0"},
                      Caso{"SELECT COUNT(1) FROM tCliente WHERE ApellidoPaterno LIKE '%É%'", "2"},
                      Caso{"SELECT 'a%b' LIKE 'a[%]b', NULL LIKE '%' FROM tEmpresa", "-1,NULL"}));

// 3 and 4. Operators.
INSTANTIATE_TEST_SUITE_P(
    Operadores, Conformidad,
    ::testing::Values(
        Caso{"SELECT 'a' + 'b', 1 + 2, 'a' + NULL, 'a' & NULL, NULL & NULL, '1' + 2, 'n' & 1.5 "
             "FROM tEmpresa",
             "ab,3,NULL,a,NULL,3,n1.5"},
        Caso{"SELECT 7/2, 7\\2, 7 MOD 3, -7 MOD 3, 2^10, 7.5\\2, 2 + 3 * 4 - -1 FROM tEmpresa",
             "3.5,3,1,-1,1024,4,15"},
        Caso{"SELECT Id / 2, Id \\ 2 FROM tMov WHERE Id = 1", "0.5,0"},
        Caso{"SELECT Cantidad * Cot FROM tMov WHERE Id = 1", "1859.25"}));

// 5. Jet Booleans: -1/0 as values, yes/no columns as Booleans.
INSTANTIATE_TEST_SUITE_P(
    Booleanos, Conformidad,
    ::testing::Values(
        Caso{"SELECT 1 = 1, 1 = 2, NOT (1 = 1), ISNULL(NULL), ISNULL(1), True, False, Yes, No "
             "FROM tEmpresa",
             "-1,0,0,-1,0,-1,0,-1,0"},
        Caso{"SELECT IIF(NULL, 'v', 'f'), IIF(1 = 1, 'v', 'f'), IIF(ISNULL(NULL), 1, 2), (1 = 1) "
             "AND (2 = 2), -1 = (1 < 2) FROM tEmpresa",
             "f,v,1,-1,-1"},
        Caso{"SELECT PersonaMoral, PersonaMoral + 0, NOT PersonaMoral, IIF(PersonaMoral, 1, 2) "
             "FROM tCliente WHERE ClaveCliente = 'C3'",
             "True,-1,0,1"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE PersonaMoral = -1 OR PersonaMoral = True", "1"},
        Caso{"SELECT PersonaMoral AS EsPM FROM (SELECT * FROM tCliente) AS t WHERE ClaveCliente = "
             "'C1'",
             "False"}));

// 6. Nulls and aggregates.
INSTANTIATE_TEST_SUITE_P(
    Nulos, Conformidad,
    ::testing::Values(
        Caso{"SELECT SUM(Monto), AVG(Monto), MIN(Monto), MAX(Monto), COUNT(1), COUNT(*), "
             "COUNT(Monto), FIRST(Monto) FROM tVacia",
             "NULL,NULL,NULL,NULL,0,0,0,NULL"},
        Caso{"SELECT COUNT(1), COUNT(Cantidad), SUM(Cantidad), MAX(Cot), FIRST(Id), LAST(Id) FROM "
             "tMov",
             "5,4,111,$18.5,1,5"},
        Caso{"SELECT COUNT(1) FROM tMov WHERE Cantidad = NULL OR Cantidad <> NULL", "0"},
        // 0.06 + 2.24 + 0.2 is 2.5 exactly in currency, a hair above it in doubles.
        Caso{"SELECT ROUND(SUM(Importe)), ROUND(SUM(CDBL(Importe))), SUM(Importe) FROM tImportes",
             "2,3,$2.5"},
        Caso{"SELECT ROUND(SUM(X)) FROM (SELECT Importe AS X FROM tImportes WHERE Importe < 1 "
             "UNION ALL SELECT Importe FROM tImportes WHERE Importe > 1)",
             "2"},
        Caso{"SELECT NULL = NULL, NULL + 1, 1 < NULL FROM tEmpresa", "NULL,NULL,NULL"},
        Caso{"SELECT COUNT(1) FROM tMov WHERE Cantidad IS NULL", "1"},
        Caso{"SELECT MAX(Fecha), Fecha + 1, Fecha - #12/31/2016#, X, SUM(Cot) FROM tMov, (SELECT "
             "MIN(Fecha) AS X FROM tMov) AS d WHERE Id = 3 GROUP BY Fecha, X",
             "2017-01-01 00:00:00,2017-01-02 00:00:00,1,2016-12-31 23:59:00,$0"},
        Caso{"SELECT Tipo, SUM(Cantidad) FROM tMov WHERE Tipo = 'V' GROUP BY Tipo", "V,7"},
        Caso{"SELECT Tipo FROM tMov WHERE Tipo = 'Q' GROUP BY Tipo", ""},
        Caso{"SELECT m.Tipo & '-' & UCASE(Tipo), ROUND(SUM(Cantidad) / COUNT(1), 1), 7 FROM tMov m "
             "GROUP BY Tipo HAVING MAX(m.Id) > 4 AND Tipo <> 'Q' ORDER BY COUNT(1), m.Tipo",
             "X-X,1,7"}));

// 7. Functions.
INSTANTIATE_TEST_SUITE_P(
    Funciones, Conformidad,
    ::testing::Values(
        Caso{"SELECT UCASE('dólar'), LCASE('ÁRBOL Ñ'), UCASE(NULL) FROM tEmpresa",
             "DÓLAR,árbol ñ,NULL"},
        Caso{"SELECT STR(5), STR(-5), STR(2.5), STR(0), STR(COUNT(1)) FROM tEmpresa",
             " 5,-5, 2.5, 0, 1"},
        Caso{"SELECT ROUND(2.5), ROUND(3.5), ROUND(-2.5), ROUND(12.345, 2), ROUND(0.125, 2), "
             "ROUND(7), ROUND(NULL) FROM tEmpresa",
             "2,4,-2,12.35,0.12,7,NULL"},
        Caso{"SELECT INT(-2.5), FIX(-2.5), INT(2.5), ABS(-3), ABS(-1.5), SGN(-4) FROM tEmpresa",
             "-3,-2,2,3,1.5,-1"},
        Caso{"SELECT LEN('dólar'), LEFT('abcdef', 2), RIGHT('abcdef', 2), MID('abcdef', 2, 3), "
             "MID('abc', 5), MID('dólar', 2) FROM tEmpresa",
             "5,ab,ef,bcd,,ólar"},
        Caso{"SELECT '[' & TRIM('  a  ') & ']', '[' & LTRIM('  a  ') & ']', '[' & RTRIM('  a  ') & "
             "']' FROM tEmpresa",
             "[a],[a  ],[  a]"},
        Caso{"SELECT INSTR('abcABC', 'C'), INSTR(4, 'abcABC', 'c'), INSTR(1, 'abcABC', 'C', 0), "
             "INSTR('abc', 'z') FROM tEmpresa",
             "3,6,6,0"},
        Caso{
            "SELECT CSTR(12345.0), CSTR(0.1 + 0.2), CLNG(2.5), CLNG(3.5), CINT(-2.5), CDBL('1.5'), "
            "VAL(' 1 2abc'), VAL('x') FROM tEmpresa",
            "12345,0.3,2,4,-2,1.5,12,0"},
        Caso{"SELECT YEAR(#12/31/2017#), MONTH(#12/31/2017#), DAY(#12/31/2017#), "
             "YEAR(Fecha), DATESERIAL(2017, 13, 1), DATESERIAL(2017, 3, 0) FROM tMov WHERE Id = 3",
             "2017,12,31,2017,2018-01-01 00:00:00,2017-02-28 00:00:00"},
        Caso{"SELECT NZ(NULL, 5), NZ(3, 5), NZ(NULL) & 'x' FROM tEmpresa", "5,3,x"}));

// 8 and 9. Literals and names.
INSTANTIATE_TEST_SUITE_P(
    LiteralesYNombres, Conformidad,
    ::testing::Values(
        Caso{"SELECT 'it''s', \"say \"\"hi\"\"\", #12/31/2017#, #2017-12-31 10:30:00#, "
             "#1/2/2017 6:00 PM#, 1.5, 1e3, .5 FROM tEmpresa",
             "it's,say \"hi\",2017-12-31 00:00:00,2017-12-31 10:30:00,2017-01-02 "
             "18:00:00,1.5,1000,0.5"},
        Caso{"SELECT #2017/12/31#, #31/12/2017#, #2/29/2016#, #12/31/99# FROM tEmpresa",
             "2017-12-31 00:00:00,2017-12-31 00:00:00,2016-02-29 00:00:00,1999-12-31 00:00:00"},
        Caso{"SELECT [Total Ops], [Select], t.[Total Ops] * 2 AS [Doble Total] FROM [Tabla Rara] t",
             "5,x,10"},
        Caso{"select nombre from TCLIENTE c where c.CLAVECLIENTE = 'C1'", "Juan"},
        Caso{"SELECT c.ClaveCliente, m.Id FROM tCliente c INNER JOIN tMov AS m ON c.ClaveCliente = "
             "m.ClaveCliente WHERE m.Tipo = 'C' ORDER BY m.Id",
             "C1,1; C3,3"},
        Caso{"SELECT COUNT(1) FROM tCliente c LEFT JOIN tMov m ON c.ClaveCliente = m.ClaveCliente "
             "WHERE m.Id IS NULL",
             "2"},
        Caso{"SELECT m.Id FROM tCliente c RIGHT JOIN tMov m ON c.ClaveCliente = m.ClaveCliente "
             "WHERE c.ClaveCliente IS NULL",
             "4"},
        Caso{"SELECT COUNT(1) FROM (tCliente INNER JOIN tMov ON tCliente.ClaveCliente = "
             "tMov.ClaveCliente) INNER JOIN tEmpresa ON tEmpresa.Empresa = 'cc'",
             "4"},
        Caso{"SELECT tMov.*, 1 AS Uno FROM tMov WHERE Id = 3",
             "3,C,2017-01-01 00:00:00,2.5,$0,C3,1"},
        Caso{"SELECT * FROM (SELECT * FROM (SELECT Id, Tipo FROM tMov WHERE Id = 2))", "2,V"},
        Caso{"SELECT COUNT(1) FROM tCliente WHERE ClaveCliente IN (SELECT LCASE(ClaveCliente) FROM "
             "tMov)",
             "3"},
        Caso{"SELECT c.ClaveCliente FROM tCliente c WHERE NOT EXISTS (SELECT 1 FROM tMov m WHERE "
             "m.ClaveCliente = c.ClaveCliente) ORDER BY 1 + 0, c.ClaveCliente",
             "C4; C5"},
        Caso{
            "SELECT c.ClaveCliente FROM tCliente c WHERE EXISTS (SELECT TOP 1 m.Id FROM tMov m "
            "WHERE m.ClaveCliente = c.ClaveCliente AND m.Tipo = 'C' ORDER BY m.Id UNION ALL SELECT "
            "Id FROM (SELECT Id FROM tMov WHERE Id = 3) WHERE c.ClaveCliente = 'C2') ORDER BY "
            "c.ClaveCliente",
            "C1; C2; C3"},
        Caso{"SELECT Tipo, (SELECT MAX(Id) FROM tMov) AS M FROM tMov GROUP BY Tipo HAVING "
             "COUNT(1) > 1 ORDER BY Tipo",
             "C,5; V,5"}));

// 10. TOP with ties, per-branch TOP/ORDER BY, UNION ALL in branch order.
INSTANTIATE_TEST_SUITE_P(
    TopYUnion, Conformidad,
    ::testing::Values(
        Caso{"SELECT TOP 1 Tipo, COUNT(1) FROM tMov GROUP BY Tipo ORDER BY COUNT(1) DESC",
             "C,2; V,2"},
        Caso{"SELECT TOP 2 Id FROM tMov ORDER BY Fecha DESC", "5; 2"},
        Caso{"SELECT TOP 3 Tipo FROM tMov ORDER BY Tipo", "C; C; V; V"},
        Caso{"SELECT TOP 50 PERCENT Id FROM tMov ORDER BY Id", "1; 2; 3"},
        Caso{"SELECT TOP 2 Id FROM tMov", "1; 2"},
        Caso{"SELECT DISTINCT TOP 2 Tipo FROM tMov ORDER BY Tipo DESC", "X; V"},
        Caso{"SELECT 'b' AS X FROM tEmpresa UNION ALL SELECT 'a' FROM tEmpresa UNION ALL SELECT "
             "'c' FROM tEmpresa",
             "b; a; c"},
        Caso{"SELECT TOP 1 UCASE(Tipo) + ' (** Total Ops.: ' + STR(COUNT(1)) + ' **) ' AS XResul "
             "FROM tMov WHERE Tipo = 'V' GROUP BY Tipo ORDER BY COUNT(1) DESC UNION ALL SELECT "
             "'ZZZSINRESULT' AS XResul FROM tEmpresa",
             "V (** Total Ops.:  2 **) ; ZZZSINRESULT"},
        Caso{"SELECT TOP 2 Id FROM tMov ORDER BY Id DESC UNION ALL SELECT TOP 1 Id FROM tMov "
             "ORDER BY Id",
             "5; 4; 1"},
        Caso{
            "SELECT Id FROM tMov WHERE Id < 3 UNION ALL SELECT Id FROM tMov WHERE Id >= 3 ORDER BY "
            "Id DESC",
            "5; 4; 3; 2; 1"},
        Caso{"SELECT IIF(XResul = 'ZZZSINRESULT' OR ISNULL(XResul), '0', XResul) AS Resultado FROM "
             "(SELECT SUM(Monto) AS XResul FROM tVacia UNION ALL SELECT 'ZZZSINRESULT' AS XResul "
             "FROM tEmpresa)",
             "0; 0"},
        Caso{"SELECT COUNT(1) FROM (SELECT Tipo FROM tMov WHERE Id = 1 UNION SELECT 'c' FROM "
             "tEmpresa)",
             "1"}));

// 11. Dates compare as day serials.
INSTANTIATE_TEST_SUITE_P(
    Fechas, Conformidad,
    ::testing::Values(
        Caso{
            "SELECT Id FROM tMov WHERE Fecha >= #01/01/2017# AND Fecha <= #12/31/2017# ORDER BY Id",
            "1; 3"},
        Caso{"SELECT Id, Fecha FROM tMov WHERE Fecha < #2017-01-01# ", "4,2016-12-31 23:59:00"},
        Caso{"SELECT COUNT(1) FROM tMov WHERE Fecha BETWEEN #12/31/2017# AND #12/31/2017 23:59:59#",
             "2"}));

// 13. Failures: a kind and a Spanish message that names the culprit.
struct CasoError {
    const char* sSql;
    const char* sClase;
    const char* sMensaje;
};
std::ostream& operator<<(std::ostream& o, const CasoError& c) {
    return o << c.sSql;
}

class Errores : public ::testing::TestWithParam<CasoError> {};

TEST_P(Errores, FailWithKindAndCulprit) {
    auto motor = MotorSobre(Datos());
    try {
        motor->Ejecuta(GetParam().sSql);
        FAIL() << "no failure";
    } catch (const jet::EErrorJet& e) {
        EXPECT_EQ(e.Clase(), GetParam().sClase);
        EXPECT_EQ(e.Mensaje(), GetParam().sMensaje);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Motor, Errores,
    ::testing::Values(
        CasoError{"SELECT * FROM tMovto", "ETablaNoEncontrada",
                  "No se encuentra la tabla o consulta 'tMovto'."},
        CasoError{"SELECT * FROM (SELECT * FROM tMov) AS t, tCte", "ETablaNoEncontrada",
                  "No se encuentra la tabla o consulta 'tCte'."},
        CasoError{"SELECT Importe FROM tMov", "EParametroSinValor",
                  "No se ha especificado un valor para el parámetro 'Importe': no hay ninguna "
                  "columna con ese nombre."},
        CasoError{"SELECT t.Id FROM tMov AS x", "EParametroSinValor",
                  "No se ha especificado un valor para el parámetro 't.Id': no hay ninguna columna "
                  "con ese nombre."},
        CasoError{"SELECT 'abc' + 1 FROM tEmpresa", "ETiposNoCoinciden",
                  "No coinciden los tipos de datos en la expresión: 'abc'."},
        CasoError{"SELECT Id / (Id - 1) FROM tMov", "EDivisionPorCero", "División por cero."},
        CasoError{"SELECT 5 MOD 0 FROM tMov", "EDivisionPorCero", "División por cero."},
        CasoError{"SELECT Id FROM tMov WHERE", "ESintaxis",
                  "Error de sintaxis en la instrucción SQL cerca de 'fin de la instrucción'."},
        CasoError{"SELECT Id FROM tMov WHERE Tipo = 'C", "ESintaxis",
                  "Error de sintaxis en la instrucción SQL cerca de ''C'."},
        CasoError{"SELECT Id FROM tMov ORDER Id", "ESintaxis",
                  "Error de sintaxis en la instrucción SQL cerca de 'Id'."},
        CasoError{"SELECT Id FROM tMov; DELETE FROM tMov", "ESintaxis",
                  "Se encontraron caracteres después del final de la instrucción SQL."},
        CasoError{"SELEC Id FROM tMov", "ESintaxis",
                  "Instrucción SQL no válida; se esperaba 'DELETE', 'INSERT', 'PROCEDURE', "
                  "'SELECT' o 'UPDATE'."},
        CasoError{"TRUNCATE TABLE tMov", "ESintaxis",
                  "Instrucción SQL no válida; se esperaba 'DELETE', 'INSERT', 'PROCEDURE', "
                  "'SELECT' o 'UPDATE'."},
        CasoError{"DELETE FROM tMov", "ESoloLectura",
                  "La base de datos Norvex está abierta en modo de solo lectura: no se permite la "
                  "instrucción DELETE."},
        CasoError{"update tMov SET Id = 1", "ESoloLectura",
                  "La base de datos Norvex está abierta en modo de solo lectura: no se permite la "
                  "instrucción UPDATE."},
        CasoError{"SELECT * INTO tCopia FROM tMov", "ESoloLectura",
                  "La base de datos Norvex está abierta en modo de solo lectura: no se permite la "
                  "instrucción SELECT INTO."},
        CasoError{"SELECT Id FROM tMov WHERE Fecha < #02/29/2017#", "ESintaxis",
                  "Error de sintaxis en la instrucción SQL cerca de '#02/29/2017#'."},
        CasoError{"SELECT Tipo, COUNT(1) FROM tMov", "EAgregado",
                  "Intentó ejecutar una consulta que no incluye la expresión especificada 'Tipo' "
                  "como parte de una función de agregado."},
        CasoError{"SELECT Tipo & 'x', ClaveCliente FROM tMov m GROUP BY m.Tipo", "EAgregado",
                  "Intentó ejecutar una consulta que no incluye la expresión especificada "
                  "'ClaveCliente' como parte de una función de agregado."},
        CasoError{"SELECT Tipo FROM tMov GROUP BY Tipo ORDER BY Id", "EAgregado",
                  "Intentó ejecutar una consulta que no incluye la expresión especificada 'Id' "
                  "como parte de una función de agregado."},
        CasoError{"SELECT * FROM tMov GROUP BY Tipo", "EAgregado",
                  "Intentó ejecutar una consulta que no incluye la expresión especificada '*' "
                  "como parte de una función de agregado."},
        CasoError{"SELECT Foo(Id) FROM tMov", "EFuncionNoDefinida",
                  "Función 'FOO' no definida en la expresión."},
        CasoError{"SELECT Id FROM tMov UNION ALL SELECT Id, Tipo FROM tMov", "ESintaxis",
                  "El número de columnas de las consultas de la unión no coincide."}));

// 12. A statement of 64 KB made of thousands of OR-ed conditions, as ticked
// PEPs compose it, in WHERE and inside IIF.
TEST(StatementSize, ThousandsOfOrsRun) {
    auto motor = MotorSobre(Datos());
    std::string lista;
    for (int i = 0; i < 4000; ++i)
        lista += (i ? " or " : "") + std::string("ClaveCliente = 'K") + std::to_string(i) + "' ";
    lista += " or ClaveCliente = 'C3' ";
    const std::string sql = "SELECT ClaveCliente, IIF( ( " + lista +
                            "), -1, 0 ) AS EsPEP FROM tCliente WHERE (" + lista +
                            ") OR Nombre = 'Zoë'" + " ORDER BY ClaveCliente";
    ASSERT_GT(sql.size(), 64u * 1024u);
    EXPECT_EQ(Texto(motor->Ejecuta(sql)), "C3,-1; C5,0");
    std::string enLista = "SELECT COUNT(1) FROM tCliente WHERE ClaveCliente IN (";
    for (int i = 0; i < 6000; ++i) enLista += "'K" + std::to_string(i) + "', ";
    EXPECT_EQ(Texto(motor->Ejecuta(enLista + "'c1')")), "1");
}

// Derived tables nested far deeper than the questionnaire nests them.
TEST(StatementSize, DeepNestingRuns) {
    auto motor = MotorSobre(Datos());
    std::string sql = "SELECT TOP 1 Id, Tipo FROM tMov WHERE Id >= 2 ORDER BY Id";
    for (int i = 0; i < 60; ++i)
        sql = (i % 2 ? "SELECT * FROM (" : "SELECT t.* FROM (") + sql + (i % 2 ? ")" : ") AS t");
    EXPECT_EQ(Texto(motor->Ejecuta(sql)), "2,V");
}

}  // namespace
