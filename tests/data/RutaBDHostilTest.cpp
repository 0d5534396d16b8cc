// Where the Norvex file should be there may be anything: a link to nowhere,
// a link loop, a folder, a pipe, a folder the user may not enter. Each is
// one BD-101 box and a closed connection, never a hang or a crash.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "data/Conectores.h"
#include "data/Conexion.h"

namespace {

namespace fs = std::filesystem;

void EsperaUnaCaja(const fs::path& ruta, const std::string& sCaso) {
    TGrabaCajas cajas;
    TConexion conexion(tmAccess);
    conexion.SetStrConexion("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ruta.string());
    conexion.SetConecta(true);
    EXPECT_FALSE(conexion.DameObjConector()->GetConecta()) << sCaso;
    ASSERT_EQ(cajas.textos().size(), 1u) << sCaso;
    EXPECT_EQ(cajas.textos()[0].rfind(sCajaAccess, 0), 0u) << sCaso << ": " << cajas.textos()[0];
    EXPECT_NE(cajas.textos()[0].find(ruta.string()), std::string::npos) << cajas.textos()[0];
}

TEST(RutaBDHostil, EnlacesCarpetasYTuberias) {
    TDirTemporal dir;
    fs::create_symlink(dir / "no-existe.mdb", dir / "colgado.mdb");
    fs::create_symlink(dir / "bucle2.mdb", dir / "bucle1.mdb");
    fs::create_symlink(dir / "bucle1.mdb", dir / "bucle2.mdb");
    fs::create_directory(dir / "carpeta.mdb");
    ASSERT_EQ(::mkfifo((dir / "tuberia.mdb").c_str(), 0600), 0);
    fs::create_directory_symlink(dir / "no-existe", dir / "DataBase");
    for (const char* s :
         {"colgado.mdb", "bucle1.mdb", "carpeta.mdb", "tuberia.mdb", "DataBase/Norvex.mdb"})
        EsperaUnaCaja(dir / s, s);
}

TEST(RutaBDHostil, CarpetaOArchivoSinPermisoDeLectura) {
    TDirTemporal dir;
    fs::create_directory(dir / "DataBase");
    EscribeBytes(dir / "DataBase/Norvex.mdb", LeeBytes(FixtureMdb("jet4-no-password.mdb")));
    EscribeBytes(dir / "Norvex.mdb", LeeBytes(FixtureMdb("jet4-no-password.mdb")));
    fs::permissions(dir / "DataBase", fs::perms::none);
    fs::permissions(dir / "Norvex.mdb", fs::perms::none);
    if (::access((dir / "Norvex.mdb").c_str(), R_OK) == 0)
        GTEST_SKIP() << "permissions do not bind this user (root)";
    EsperaUnaCaja(dir / "DataBase/Norvex.mdb", "carpeta sin permiso");
    EsperaUnaCaja(dir / "Norvex.mdb", "archivo sin permiso");
}

}  // namespace
