#pragma once

#include <string>
#include <vector>

#include "platform/jet/sql/Ast.h"

// The evidence of an answer: the rows its aggregate reads, after that
// aggregate's own joins and WHERE. It is taken from the answer's own tree, so
// the rows shown can never drift from the number they explain.
namespace jet::sql {

// A column the evidence should carry when the rows have it: its name in the
// aggregate's source and the name it gets in the evidence.
struct TColumnaEvidencia {
    std::string sOrigen;
    std::string sNombre;
    // The same on every row of a group (a client's name beside its key):
    // a grouped source may then give it as the group's MAX.
    bool bFijaEnGrupo = false;
};

// What the answer's aggregate does, read from the bound tree.
struct TFormaAgregado {
    bool bSuma = false;    // a SUM in its result columns
    bool bCuenta = false;  // a COUNT in its result columns
    bool bAgrupa = false;  // GROUP BY: a ranking of values
    // The column the calculation reads: the grouped one, else the summed
    // one; empty when it only counts rows. Spelled as its source spells it.
    std::string sColumna;
};

// The first SELECT that aggregates, going down from the statement through
// single derived tables and the first branch of each union (later branches
// only supply defaults); none when the statement has no such SELECT.
Select* BuscaAgregado(Consulta& c);

// The shape of the aggregate of a bound tree. Throws when there is none.
TFormaAgregado DameFormaAgregado(Consulta& enlazada);

// Turns c, freshly parsed and not yet bound, into the statement of its
// evidence: its aggregate SELECT without grouping, ranking or aggregate,
// projecting the wanted columns its source has (and always the column the
// calculation reads). enlazada is the same text, already bound: it tells
// which columns each source has. When the source is a UNION ALL of
// grouped rows (one per user), the wanted columns every branch can supply
// are added to every branch, which keeps its rows one for one: a grouped
// branch gives its grouped columns, and the group's MAX of those fixed in a
// group.
void ReescribeEvidencia(Consulta& c, Consulta& enlazada,
                        const std::vector<TColumnaEvidencia>& deseadas);

}  // namespace jet::sql
