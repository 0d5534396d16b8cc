#pragma once

namespace rpt {

// Makes the fonts that report templates name available: "Times New Roman"
// resolves to its metric twin Liberation Serif, and Tahoma is loaded from the
// Wine font file when it is installed (bold text is its regular face
// emboldened). Safe to call many times; needs the
// application object.
void RegistraFuentesReporte();

}  // namespace rpt
