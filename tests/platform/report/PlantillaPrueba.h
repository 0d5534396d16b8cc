#pragma once

#include <QByteArray>

// A two-page template: a bold and an underlined variable, an unknown bracketed
// name, and a footer with the page number and the total.
inline QByteArray PlantillaPrueba() {
    return R"({
 "variables": [[" Cuestionario", null], ["NombreCC", null], ["preg_1", null]],
 "paginas": [
  {"margenes": [10, 10, 10, 10],
   "encabezado": {"alto": 100, "objetos": [{"rect": [1, 1, 150, 90], "texto": {
     "fuente": "Times New Roman", "puntos": 11, "espacioDespues": 10, "interlineado": 1.15,
     "parrafos": [
      {"alinea": "centro", "trozos": [{"texto": "Empresa: "}, {"texto": "[NombreCC]", "negrita": true}]},
      {"trozos": [{"texto": "[preg_1]", "subrayado": true}, {"texto": " fin"}]},
      {"trozos": [{"texto": "[desconocida] y [Page#]"}]}]}}]},
   "pie": {"alto": 6, "objetos": [{"rect": [0, 0, 195, 5], "texto": {"puntos": 10,
     "parrafos": [{"alinea": "derecha", "trozos": [{"texto": "Página [Page#] de [TotalPages#]"}]}]}}]}},
  {"papel": [215.9, 279.4], "orientacion": "horizontal",
   "encabezado": {"alto": 50, "objetos": [{"rect": [0, 0, 100, 40], "texto": {
     "parrafos": [{"trozos": [{"texto": "Segunda [NOMBRECC]"}]}]}}]},
   "pie": {"alto": 6, "objetos": [{"rect": [0, 0, 195, 5], "texto": {
     "parrafos": [{"trozos": [{"texto": "Página [Page#] de [TotalPages#]"}]}]}}]}}
 ]})";
}
