#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/jet/Csv.h"

namespace {

using Campos = std::vector<std::string>;

// What is written reads back as it was, whatever the fields hold; a field is
// quoted only when it must be.
TEST(Csv, WhatIsWrittenReadsBack) {
    const std::vector<Campos> filas = {{"a", "", "1,5"},
                                       {"dijo \"no\"", "línea\r\notra", "fin\n"},
                                       {"\"", ",", "\r"},
                                       {"ñandú", " con blancos ", "x"}};
    std::string sTexto;
    for (const auto& f : filas) sTexto += jet::FilaCsv(f);
    EXPECT_EQ(jet::FilaCsv({"a", "", "1,5"}), "a,,\"1,5\"\r\n");
    EXPECT_EQ(jet::FilaCsv({"dijo \"no\""}), "\"dijo \"\"no\"\"\"\r\n");
    std::string sError;
    const auto leidos = jet::LeeCsv(sTexto, sError);
    ASSERT_TRUE(leidos) << sError;
    ASSERT_EQ(leidos->size(), filas.size());
    for (size_t i = 0; i < filas.size(); ++i) EXPECT_EQ((*leidos)[i].campos, filas[i]);
    // A record starts on the line an editor shows it on.
    EXPECT_EQ((*leidos)[0].nLinea, 1);
    EXPECT_EQ((*leidos)[1].nLinea, 2);
    EXPECT_EQ((*leidos)[2].nLinea, 5);
}

TEST(Csv, LineEndsAndBlankLines) {
    std::string sError;
    const auto leidos = jet::LeeCsv("a,b\n\r\nc\rd,\"\"\r\n", sError);
    ASSERT_TRUE(leidos) << sError;
    ASSERT_EQ(leidos->size(), 3u);
    EXPECT_EQ((*leidos)[0].campos, (Campos{"a", "b"}));
    EXPECT_EQ((*leidos)[1].campos, (Campos{"c"}));
    EXPECT_EQ((*leidos)[1].nLinea, 3);
    EXPECT_EQ((*leidos)[2].campos, (Campos{"d", ""}));
}

TEST(Csv, MalformedTextNamesItsLine) {
    const struct {
        const char* sTexto;
        const char* sError;
    } casos[] = {
        {"a\n\"b\nc", "Línea 2: unas comillas abren un campo y no lo cierran."},
        {"a\n\"b\"c\n", "Línea 2: hay texto después de las comillas que cierran un campo."},
        {"a\n\"x\ny\"\nb\"c\n", "Línea 4: comillas dentro de un campo sin comillas."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.sTexto);
        std::string sError;
        EXPECT_FALSE(jet::LeeCsv(c.sTexto, sError));
        EXPECT_EQ(sError, c.sError);
    }
}

}  // namespace
