#pragma once

// The words of the Norvex vocabulary: what a computed question counts or
// adds up, over which operations, and which users it keeps. Editions name
// them in their data; TRepCuestKOVABasic turns them into Access SQL.

// Which users or operations a count or amount keeps. The values are fixed:
// the question set is written in terms of them.
enum TCategoria {
    caSinFiltro = 0,  // everything; no nationality or PEP condition either
    caPersonaFisica = 1,
    caPersonaMoral = 2,
    caCentroCambiario = 3,
    caEntidadFinanciera = 4,
    caCasaCambio = 5,
    caInstCredito = 6,
    caPEP = 7,
    caCCyEF = 8
};

enum TNacionalidad { naTodas = 0, naNacional = 1, naExtranjera = 2 };

// The kinds of business: each has one source of operations in the period and
// two derived ones (joined with clients, one row per user). neTodas is every
// purchase and sale of the period, in any currency, cash or document.
enum TNegocio { neDolares, neOtrasDivisas, neDocumentos, neTodas };

// What a computed question works out from its sources.
enum TCalculoNorvex {
    cnExiste,             // "SI"/"NO": any operation of the kind in the period
    cnUsuarios,           // count of users of a category
    cnOperaciones,        // count of operations (with a known client) of a category
    cnMonto,              // rounded amount in dollars of a category
    cnPromedio,           // rounded average amount per operation
    cnClienteFrecuente,   // the client with most operations, and how many
    cnDivisaFrecuente,    // the currency with most operations, and how many
    cnActividadFrecuente  // the clients' activity with most operations, and how many
};

// One computed question: its calculation and the sources and filters it reads.
struct TCalculoPregunta {
    TCalculoNorvex nCalculo = cnExiste;
    TNegocio nNegocio = neDolares;
    bool bVenta = false;  // sales instead of purchases (not for neTodas)
    TCategoria nCategoria = caSinFiltro;
    TNacionalidad nNacionalidad = naTodas;
    bool bSinPEP = false;  // the clients ticked as PEPs left out
};
