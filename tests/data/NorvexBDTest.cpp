// Norvex access without a database: what the statements say and how a
// failure is reported.
#include <gtest/gtest.h>

#include "TCajaGrabadora.h"
#include "data/NorvexBD.h"

namespace {

class TNorvexPrueba : public TNorvexBD {
public:
    using TNorvexBD::TNorvexBD;
    std::string UltimaSQL() const { return F_qConsultaGen->SQLText(); }
};

// The typed user name is data: its quotes are doubled, so a name built to
// close the literal and add a UNION cannot turn itself into an administrator.
TEST(ValidaAccesoTest, UserNameQuotesAreDoubled) {
    TGrabaCajas cajas;
    TNorvexPrueba bd(nullptr);
    EXPECT_FALSE(bd.ValidaAcceso("' UNION SELECT 'A','B' FROM TEMPS WHERE ''='", "B", true));
    EXPECT_EQ(bd.UltimaSQL(),
              "SELECT ClaveEmp, Password FROM tEmps WHERE ClaveEmp = ''' UNION SELECT ''A'',''B'' "
              "FROM TEMPS WHERE ''''=''' and Nivel = 0");
    bd.ValidaAcceso("ADMIN", "x", false);
    EXPECT_EQ(bd.UltimaSQL(), "SELECT ClaveEmp, Password FROM tEmps WHERE ClaveEmp = 'ADMIN' ");
}

// Whatever cannot be asked is reported once and answered on the safe side.
TEST(NorvexBDTest, WithoutConnection) {
    TGrabaCajas cajas;
    TNorvexPrueba bd(nullptr);
    EXPECT_FALSE(bd.Conectado());
    EXPECT_TRUE(bd.UsuariosConectados());
    EXPECT_EQ(bd.UltimaSQL(), "SELECT COUNT(1) as TotalConectados FROM tCompUsr ");
    const TEmpresa e = bd.GetEmpresa();
    EXPECT_EQ(bd.UltimaSQL(), "SELECT * FROM tEmpresa");
    EXPECT_EQ(e.sRazonSocial + e.sRFC + e.sRegistroKOVA + e.sNumEmpresa + e.sNomComercial, "");
    EXPECT_FALSE(bd.ValidaAcceso("ADMIN", "", true));
    ASSERT_EQ(cajas.textos().size(), 3u);
    for (const std::string& sCaja : cajas.textos()) {
        EXPECT_EQ(sCaja.rfind("Error #BD-101.", 0), 0u) << sCaja;
        EXPECT_NE(sCaja.find("TNorvexPrueba: Llame a Soporte Técnico. "), std::string::npos);
    }
}

}  // namespace
