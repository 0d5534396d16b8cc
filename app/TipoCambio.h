#pragma once

#include <QString>
#include <string>

// The rate text as a number: a decimal number written with "." whatever the
// user's locale (digits may end in it: "18." is 18); any other text reads as
// 0. The same reading everywhere the rate is read, so "18.91" means the same
// rate under every Spanish locale.
double TextoATipoCambio(const QString& sTexto);

// The yearly average of pesos per US dollar lies in this range: every year's
// average since 2008 was between 11 and 22 pesos, and the range leaves room
// on both sides. Its ends are less than ten times apart, so a rate with its
// decimal point one place off (1891, 189.1 or 1.891 for 18.91) always falls
// outside it. A rate outside it is asked about, never refused: the user has
// the last word.
inline constexpr double kTipoCambioMinimo = 10;
inline constexpr double kTipoCambioMaximo = 40;

// True when the rate lies in the range above.
bool TipoCambioVerosimil(double dTCambio);
// What the user reads about a rate outside the range, naming it and the
// range; to be followed by the question of each program.
std::string AvisoTipoCambio(double dTCambio);
