// The batch program's outputs all in place or none: a move that fails midway
// takes out what the run had already moved and puts back what it replaced.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TDirTemporal.h"
#include "tests/tools/ProgramaLotes.h"
#include "tools/cuestionario-kova/SalidasLotes.h"

namespace fs = std::filesystem;

TEST(SalidasLotes, UnaQueNoSePuedeMoverDeshaceLasDemas) {
    for (const bool bHabiaAntes : {true, false}) {
        TDirTemporal dir;
        // What cannot be replaced by a file: a folder with something inside.
        fs::create_directories(dir / "ocupada" / "algo");
        if (bHabiaAntes) {
            std::ofstream(dir / "r.csv", std::ios::binary) << "antes";
            fs::create_directory(dir / "ev");
        }
        const auto antes = Foto(dir.ruta());
        std::string sError;
        {
            TSalidasLotes salidas;
            ASSERT_TRUE(salidas.PreparaTexto(dir / "r.csv", "nuevo", sError));
            ASSERT_TRUE(salidas.PreparaCarpeta(
                dir / "ev",
                [](const fs::path& sTemporal, std::string&) {
                    std::ofstream(sTemporal / "indice.csv") << "i";
                    return true;
                },
                sError));
            ASSERT_TRUE(salidas.PreparaTexto(dir / "ocupada", "x", sError));
            EXPECT_FALSE(salidas.Confirma(sError));
            EXPECT_TRUE(sError.starts_with("No fue posible escribir " + (dir / "ocupada").string()))
                << sError;
        }
        EXPECT_EQ(Foto(dir.ruta()), antes) << (bHabiaAntes ? "con" : "sin") << " salidas de antes";
    }
}
