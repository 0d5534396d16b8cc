// Where the Norvex file should be there may be anything: a link to nowhere,
// a link loop, a folder, a pipe, a folder the user may not enter. Each is
// one BD-101 box and a closed connection, never a hang or a crash.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Fixtures.h"
#include "TCajaGrabadora.h"
#include "TDirTemporal.h"
#include "data/Conectores.h"
#include "data/Conexion.h"

namespace {

namespace fs = std::filesystem;

// Opens the path as the program does: one BD-101 box naming it and a closed
// connection is right; anything else is described in sFalla.
bool UnaCajaDeAccess(const fs::path& ruta, std::string& sFalla) {
    TGrabaCajas cajas;
    TConexion conexion(tmAccess);
    conexion.SetStrConexion("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ruta.string());
    conexion.SetConecta(true);
    if (conexion.DameObjConector()->GetConecta())
        sFalla = "se conectó";
    else if (cajas.textos().size() != 1)
        sFalla = std::to_string(cajas.textos().size()) + " cajas";
    else if (cajas.textos()[0].rfind(sCajaAccess, 0) != 0 ||
             cajas.textos()[0].find(ruta.string()) == std::string::npos)
        sFalla = cajas.textos()[0];
    return sFalla.empty();
}

void EsperaUnaCaja(const fs::path& ruta, const std::string& sCaso) {
    std::string sFalla;
    EXPECT_TRUE(UnaCajaDeAccess(ruta, sFalla)) << sCaso << ": " << sFalla;
}

// Root reads whatever the permissions say; an ordinary user does not. Runs
// the check in a child that has given up root for the user "nobody".
void EsperaUnaCajaSinPrivilegios(const fs::path& ruta, const std::string& sCaso) {
    if (::geteuid() != 0)
        return EsperaUnaCaja(ruta, sCaso);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::string sFalla;
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::_exit(UnaCajaDeAccess(ruta, sFalla) ? 0 : 1);
    }
    int nEstado = 0;
    ASSERT_EQ(::waitpid(pid, &nEstado, 0), pid);
    ASSERT_TRUE(WIFEXITED(nEstado)) << sCaso;
    if (WEXITSTATUS(nEstado) == 2)
        GTEST_SKIP() << "this machine does not let a process give up root";
    EXPECT_EQ(WEXITSTATUS(nEstado), 0) << sCaso;
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
    // Others may enter the folder itself, so that only the file's and the
    // subfolder's permissions stand in the way.
    fs::permissions(dir.ruta(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    fs::create_directory(dir / "DataBase");
    EscribeBytes(dir / "DataBase/Norvex.mdb", LeeBytes(FixtureMdb("jet4-no-password.mdb")));
    EscribeBytes(dir / "Norvex.mdb", LeeBytes(FixtureMdb("jet4-no-password.mdb")));
    fs::permissions(dir / "DataBase", fs::perms::none);
    fs::permissions(dir / "Norvex.mdb", fs::perms::none);
    EsperaUnaCajaSinPrivilegios(dir / "DataBase/Norvex.mdb", "carpeta sin permiso");
    EsperaUnaCajaSinPrivilegios(dir / "Norvex.mdb", "archivo sin permiso");
}

}  // namespace
