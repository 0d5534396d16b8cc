#pragma once

#include <QString>

// The rate text as a number: a decimal number written with the decimal
// separator of the user's locale (digits may end in it: "18." is 18); any
// other text reads as 0. The same reading everywhere the rate is read.
double TextoATipoCambio(const QString& sTexto);
