#pragma once

// The small file the engine's conformance cases run on: names that differ
// only by letter case and accents, Nulls, currency, dates and a table with
// a name that needs brackets.
#include <memory>

#include "ArchivoFalso.h"

inline std::shared_ptr<TArchivoFalso> Datos() {
    auto a = std::make_shared<TArchivoFalso>();
    const jet::TValor N = std::monostate{};
    a->Tabla("tCliente",
             {{"ClaveCliente", jet::TTipoColumna::tcTexto, 20},
              {"Nombre", jet::TTipoColumna::tcTexto, 100},
              {"ApellidoPaterno", jet::TTipoColumna::tcTexto, 50},
              {"PersonaMoral", jet::TTipoColumna::tcBooleano, 1},
              {"NumEmp", jet::TTipoColumna::tcEnteroLargo, 4}},
             {{std::string("C1"), std::string("Juan"), std::string("Pérez"), false, int64_t{1}},
              {std::string("C2"), std::string("JUAN"), std::string("PÉREZ"), false, int64_t{1}},
              {std::string("C3"), std::string("acme sa"), N, true, int64_t{1}},
              {std::string("C4"), std::string("PUBLICO EN GENERAL"), N, false, int64_t{1}},
              {std::string("C5"), std::string("Zoë"), std::string("perez"), false, int64_t{2}}});
    a->Tabla(
        "tMov",
        {{"Id", jet::TTipoColumna::tcEnteroLargo, 4},
         {"Tipo", jet::TTipoColumna::tcTexto, 1},
         {"Fecha", jet::TTipoColumna::tcFechaHora, 8},
         {"Cantidad", jet::TTipoColumna::tcDoble, 8},
         {"Cot", jet::TTipoColumna::tcMoneda, 8},
         {"ClaveCliente", jet::TTipoColumna::tcTexto, 20}},
        {{int64_t{1}, std::string("C"), Fecha(2017, 12, 31), 100.5, jet::TMoneda{185000},
          std::string("C1")},
         {int64_t{2}, std::string("V"), Fecha(2017, 12, 31, 10, 0), 7.0, jet::TMoneda{10000},
          std::string("C2")},
         {int64_t{3}, std::string("C"), Fecha(2017, 1, 1), 2.5, jet::TMoneda{0}, std::string("C3")},
         {int64_t{4}, std::string("V"), Fecha(2016, 12, 31, 23, 59), N, N, std::string("C9")},
         {int64_t{5}, std::string("X"), Fecha(2018, 1, 1), 1.0, N, std::string("C1")}});
    a->Tabla("tVacia", {{"Monto", jet::TTipoColumna::tcDoble, 8}}, {});
    a->Tabla("tImportes", {{"Importe", jet::TTipoColumna::tcMoneda, 8}},
             {{jet::TMoneda{600}}, {jet::TMoneda{22400}}, {jet::TMoneda{2000}}});
    a->Tabla("tEmpresa", {{"Empresa", jet::TTipoColumna::tcTexto, 100}}, {{std::string("CC")}});
    a->Tabla("Tabla Rara",
             {{"Total Ops", jet::TTipoColumna::tcEnteroLargo, 4},
              {"Select", jet::TTipoColumna::tcTexto, 5}},
             {{int64_t{5}, std::string("x")}});
    return a;
}

// Names whose table order is neither Jet's order nor byte order: letter case,
// accents and a repeated name.
inline std::shared_ptr<TArchivoFalso> DatosNombres() {
    auto a = std::make_shared<TArchivoFalso>();
    a->Tabla("tCliente",
             {{"Clave", jet::TTipoColumna::tcTexto, 20},
              {"Nombre", jet::TTipoColumna::tcTexto, 100},
              {"Grupo", jet::TTipoColumna::tcEnteroLargo, 4}},
             {{std::string("K3"), std::string("Zoë"), int64_t{2}},
              {std::string("K1"), std::string("acme"), int64_t{1}},
              {std::string("K2"), std::string("Juan"), int64_t{2}},
              {std::string("K5"), std::string("Éric"), int64_t{1}},
              {std::string("K4"), std::string("Eric"), int64_t{1}},
              {std::string("K6"), std::string("Juan"), int64_t{2}}});
    return a;
}
