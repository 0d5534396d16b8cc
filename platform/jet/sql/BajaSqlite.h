#pragma once

#include "platform/jet/sql/Ast.h"

namespace jet::sql {

// The lowering: the pass after the rewrites that decides what every Jet
// form is in SQLite, so that the printer has nothing left to decide. A bound,
// rewritten tree goes in; the same tree comes out in the forms the printer
// writes as they are (TipoExpr's SQLite forms, Literal values SQLite holds,
// Select::limite):
// - a truth is a SQLite truth where a condition is read (WHERE, HAVING, ON,
//   IIF's test, AND/OR/NOT's operands) and Jet's -1/0 elsewhere (Verdad);
// - comparisons, IN, BETWEEN, GROUP BY, ORDER BY (but the engine's own
//   counters), MIN/MAX and computed result columns compare in the JET
//   collation (Cotejo), so that text compares as Jet compares it;
// - BETWEEN takes its bounds in either order, as Access does;
// - NOT on a number is Jet's bitwise complement (NOT -1 is 0);
// - each function becomes the SQLite call its row of the function table
//   names for the kind of its first argument (currency and Decimal sums
//   exact), IIF a CASE, ISNULL and IsDate of a date a test for Null, Format
//   of a date told so, IsNumeric of a date 0;
// - Jet's operators become jet_* calls, except SQLite's own - and *; a chain
//   longer than kCadenaCorta becomes one jet_cadena call over lists;
// - dates, currency and yes/no literals become the numbers SQLite stores;
// - a derived table or subquery that carries its rows' order outward is
//   written with LIMIT -1 (Select::bLimite), without which SQLite may drop
//   its ORDER BY.
void BajaASqlite(Consulta& consulta);

// x compared in the JET collation, as GROUP BY and ORDER BY compare text.
ExprPtr EnCotejoJet(ExprPtr x);
// The condition that splits the groups of a single SELECT grouping by t in
// two halves (TMitades): t as GROUP BY sorts it (without affinity, in the
// JET collation) Null or at most the value ?1, or above it. t is the first
// GROUP BY term as the lowering left it.
ExprPtr CondicionDeMitad(const Expr& t, bool bMenor);
// That term as the value the sample reads (without affinity).
ExprPtr ClaveDeMitad(const Expr& t);

}  // namespace jet::sql
