#include "questionnaire/LeeEdicion.h"

#include <toml++/toml.h>

#include <algorithm>
#include <map>
#include <set>
#include <span>

#include "platform/archivos/LeeArchivo.h"
#include "questionnaire/ConsultaPropia.h"
#include "questionnaire/PlantillaEdicion.h"

namespace fs = std::filesystem;

std::string TProblemaEdicion::Texto() const {
    return sArchivo.string() + (nLinea > 0 ? ":" + std::to_string(nLinea) : std::string()) + ": " +
           sMensaje;
}

namespace {

// The words an edition writes, with what each means; the lists are the
// vocabulary the guide documents, in its order.
template <class T>
struct TPalabra {
    const char* sPalabra;
    T valor;
};

constexpr TPalabra<TCalculoNorvex> kCalculos[] = {
    {"EXISTE", cnExiste},
    {"USUARIOS", cnUsuarios},
    {"OPERACIONES", cnOperaciones},
    {"MONTO", cnMonto},
    {"PROMEDIO", cnPromedio},
    {"CLIENTE_MAS_FRECUENTE", cnClienteFrecuente},
    {"DIVISA_MAS_FRECUENTE", cnDivisaFrecuente},
    {"ACTIVIDAD_MAS_FRECUENTE", cnActividadFrecuente},
};
constexpr TPalabra<TNegocio> kNegocios[] = {
    {"DOLARES", neDolares},
    {"OTRAS_DIVISAS", neOtrasDivisas},
    {"DOCUMENTOS", neDocumentos},
    {"TODAS", neTodas},
};
constexpr TPalabra<bool> kOperaciones[] = {{"COMPRA", false}, {"VENTA", true}};
constexpr TPalabra<TCategoria> kCategorias[] = {
    {"TODAS", caSinFiltro},
    {"PERSONA_FISICA", caPersonaFisica},
    {"PERSONA_MORAL", caPersonaMoral},
    {"CENTRO_CAMBIARIO", caCentroCambiario},
    {"ENTIDAD_FINANCIERA", caEntidadFinanciera},
    {"CASA_DE_CAMBIO", caCasaCambio},
    {"INSTITUCION_DE_CREDITO", caInstCredito},
    {"PEP", caPEP},
    {"CC_Y_EF", caCCyEF},
};
constexpr TPalabra<TNacionalidad> kNacionalidades[] = {
    {"TODAS", naTodas}, {"NACIONAL", naNacional}, {"EXTRANJERA", naExtranjera}};
constexpr TPalabra<TCalculoRespuesta> kEvidencias[] = {
    {"EXISTE", crExiste},
    {"CONTEO", crConteo},
    {"SUMA", crSuma},
    {"PROMEDIO", crPromedio},
    {"MAS_FRECUENTE", crMasFrecuente},
};
constexpr TPalabra<TTipoRespuestaCC> kTiposCentro[] = {
    {"MONTO", trMonto},   {"FECHA", trFecha},   {"SI_NO", trSiNo},
    {"CONTEO", trConteo}, {"OPCION", trOpcion}, {"TEXTO", trTexto},
};

template <class T>
std::string Lista(std::span<const TPalabra<T>> palabras) {
    std::string s;
    for (std::size_t i = 0; i < palabras.size(); ++i)
        s += std::string(i == 0                     ? ""
                         : i + 1 == palabras.size() ? " o "
                                                    : ", ") +
             palabras[i].sPalabra;
    return s;
}

// Reads the values of one TOML file, naming each problem by its line.
class TLectorToml {
public:
    TLectorToml(fs::path sArchivo, std::vector<TProblemaEdicion>& problemas)
        : F_sArchivo(std::move(sArchivo)), F_Problemas(problemas) {}

    const fs::path& Archivo() const { return F_sArchivo; }
    std::size_t NumProblemas() const { return F_Problemas.size(); }

    void Problema(int nLinea, std::string sMensaje) {
        F_Problemas.push_back({F_sArchivo, nLinea, std::move(sMensaje)});
    }

    // The file read and parsed; none when it cannot be.
    std::optional<toml::table> Abre() {
        std::string sError;
        const auto sTexto =
            archivos::LeeArchivoRegular(F_sArchivo, kMaxBytesArchivoEdicion, sError);
        if (!sTexto) {
            F_Problemas.push_back({F_sArchivo, 0, sError});
            return std::nullopt;
        }
        F_sTexto = *sTexto;
        try {
            return toml::parse(F_sTexto, F_sArchivo.string());
        } catch (const toml::parse_error& e) {
            Problema(static_cast<int>(e.source().begin.line),
                     "no es TOML válido (el lector dice: " + std::string(e.description()) + ").");
            return std::nullopt;
        }
    }

    static int Linea(const toml::node& n) { return static_cast<int>(n.source().begin.line); }

    // A key outside those allowed is most likely a misspelt one.
    void SoloClaves(const toml::table& t, std::initializer_list<const char*> permitidas,
                    const std::string& sDonde) {
        for (auto&& [clave, valor] : t) {
            const auto s = clave.str();
            if (std::none_of(permitidas.begin(), permitidas.end(),
                             [&](const char* p) { return s == p; }))
                Problema(Linea(valor),
                         "«" + std::string(s) + "» no es un campo de " + sDonde + ".");
        }
    }

    std::optional<std::string> Texto(const toml::table& t, const char* sClave, int nLineaTabla,
                                     bool bObligatorio = true) {
        const toml::node* n = t.get(sClave);
        if (!n) {
            if (bObligatorio)
                Problema(nLineaTabla, std::string("falta «") + sClave + "».");
            return std::nullopt;
        }
        if (!n->is_string()) {
            Problema(Linea(*n), std::string("«") + sClave + "» va entre comillas.");
            return std::nullopt;
        }
        const std::string& s = n->as_string()->get();
        if (s.find_first_not_of(" \t\r\n") == std::string::npos) {
            Problema(Linea(*n), std::string("«") + sClave + "» está vacío.");
            return std::nullopt;
        }
        return s;
    }

    // A text for one line of the report.
    std::optional<std::string> Linea(const toml::table& t, const char* sClave, int nLineaTabla) {
        auto s = Texto(t, sClave, nLineaTabla);
        if (s && s->find_first_of("\r\n") != std::string::npos) {
            Problema(Linea(*t.get(sClave)), std::string("«") + sClave + "» va en una sola línea.");
            return std::nullopt;
        }
        return s;
    }

    std::optional<int64_t> Entero(const toml::table& t, const char* sClave, int nLineaTabla) {
        const toml::node* n = t.get(sClave);
        if (!n) {
            Problema(nLineaTabla, std::string("falta «") + sClave + "».");
            return std::nullopt;
        }
        if (!n->is_integer()) {
            Problema(Linea(*n), std::string("«") + sClave + "» es un número entero, sin comillas.");
            return std::nullopt;
        }
        return n->as_integer()->get();
    }

    std::optional<bool> SiNo(const toml::table& t, const char* sClave) {
        const toml::node* n = t.get(sClave);
        if (!n)
            return std::nullopt;
        if (!n->is_boolean()) {
            Problema(Linea(*n), std::string("«") + sClave + "» es true o false, sin comillas.");
            return std::nullopt;
        }
        return n->as_boolean()->get();
    }

    std::optional<std::chrono::year_month_day> Fecha(const toml::table& t, const char* sClave,
                                                     int nLineaTabla) {
        const toml::node* n = t.get(sClave);
        if (!n) {
            Problema(nLineaTabla, std::string("falta «") + sClave + "».");
            return std::nullopt;
        }
        if (!n->is_date()) {
            Problema(Linea(*n), std::string("«") + sClave +
                                    "» es una fecha año-mes-día sin comillas, por ejemplo "
                                    "2018-01-01.");
            return std::nullopt;
        }
        const toml::date d = n->as_date()->get();
        return std::chrono::year_month_day{std::chrono::year(d.year), std::chrono::month(d.month),
                                           std::chrono::day(d.day)};
    }

    template <class T>
    std::optional<T> Palabra(const toml::table& t, const char* sClave,
                             std::span<const TPalabra<T>> palabras, int nLineaTabla,
                             bool bObligatorio) {
        const toml::node* n = t.get(sClave);
        if (!n) {
            if (bObligatorio)
                Problema(nLineaTabla,
                         std::string("falta «") + sClave + "»: " + Lista(palabras) + ".");
            return std::nullopt;
        }
        const std::string* s = n->is_string() ? &n->as_string()->get() : nullptr;
        for (const TPalabra<T>& p : palabras)
            if (s && *s == p.sPalabra)
                return p.valor;
        Problema(Linea(*n), std::string("«") + sClave + "» no puede ser " +
                                (s ? "«" + *s + "»" : std::string("eso")) + ": es " +
                                Lista(palabras) + ".");
        return std::nullopt;
    }

    // The line where a multi-line text's first line is: a text opened with
    // ''' or """ at the end of its line starts on the next one.
    int PrimeraLineaDeTexto(const toml::node& n) const {
        const int nLinea = Linea(n);
        std::size_t p = 0;
        for (int i = 1; i < nLinea && p != std::string::npos; ++i) {
            p = F_sTexto.find('\n', p);
            if (p != std::string::npos)
                ++p;
        }
        if (p == std::string::npos)
            return nLinea;
        const std::size_t nFin = F_sTexto.find('\n', p);
        const std::string sLinea = F_sTexto.substr(p, nFin == std::string::npos ? nFin : nFin - p);
        const std::size_t nCola = sLinea.find_last_not_of(" \t\r");
        const bool bAbreSolo = nCola != std::string::npos && nCola >= 2 &&
                               (sLinea.compare(nCola - 2, 3, "'''") == 0 ||
                                sLinea.compare(nCola - 2, 3, "\"\"\"") == 0);
        return nLinea + (bAbreSolo ? 1 : 0);
    }

private:
    fs::path F_sArchivo;
    std::vector<TProblemaEdicion>& F_Problemas;
    std::string F_sTexto;
};

bool ClaveValida(const std::string& s) {
    if (s.empty() || s.size() > 40 || s.front() == '.' || s.front() == '-')
        return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '_' || c == '-';
    });
}

void LeeDatosEdicion(TLectorToml& lector, TEdicion& e) {
    const auto raiz = lector.Abre();
    if (!raiz)
        return;
    lector.SoloClaves(*raiz, {"clave", "nombre", "periodo", "pdf"}, kArchivoEdicion);
    if (const auto s = lector.Linea(*raiz, "clave", 1)) {
        if (ClaveValida(*s))
            e.sClave = *s;
        else
            lector.Problema(TLectorToml::Linea(*raiz->get("clave")),
                            "la clave «" + *s +
                                "» lleva solo letras sin acentos, dígitos, «.», «_» y «-» (hasta "
                                "40), y no empieza con «.» ni «-».");
    }
    if (const auto s = lector.Linea(*raiz, "nombre", 1))
        e.sNombre = *s;

    const toml::table* periodo = raiz->get_as<toml::table>("periodo");
    if (!periodo) {
        lector.Problema(raiz->get("periodo") ? TLectorToml::Linea(*raiz->get("periodo")) : 1,
                        "falta la sección [periodo] con inicio y fin.");
    } else {
        const int nLinea = TLectorToml::Linea(*periodo);
        lector.SoloClaves(*periodo, {"inicio", "fin"}, "[periodo]");
        const auto inicio = lector.Fecha(*periodo, "inicio", nLinea);
        const auto fin = lector.Fecha(*periodo, "fin", nLinea);
        if (inicio && fin) {
            if (*fin < *inicio)
                lector.Problema(TLectorToml::Linea(*periodo->get("fin")),
                                "el periodo termina (" + FechaIso(*fin) + ") antes de empezar (" +
                                    FechaIso(*inicio) + ").");
            else if (inicio->year() < std::chrono::year(1900) ||
                     fin->year() > std::chrono::year(2199))
                lector.Problema(TLectorToml::Linea(*periodo->get("inicio")),
                                "el periodo va de " + FechaIso(*inicio) + " a " + FechaIso(*fin) +
                                    ": no es un periodo de operaciones del Norvex.");
            else {
                e.inicio = *inicio;
                e.fin = *fin;
            }
        }
    }

    const toml::table* pdf = raiz->get_as<toml::table>("pdf");
    if (!pdf) {
        lector.Problema(raiz->get("pdf") ? TLectorToml::Linea(*raiz->get("pdf")) : 1,
                        "falta la sección [pdf] con archivo, titulo, autor y asunto.");
        return;
    }
    const int nLinea = TLectorToml::Linea(*pdf);
    lector.SoloClaves(*pdf, {"archivo", "titulo", "autor", "asunto"}, "[pdf]");
    if (const auto s = lector.Linea(*pdf, "archivo", nLinea)) {
        if (s->find_first_of("/\\") != std::string::npos || s->front() == '.')
            lector.Problema(TLectorToml::Linea(*pdf->get("archivo")),
                            "«archivo» es solo un nombre de archivo, sin carpetas.");
        else
            e.pdf.sArchivo = *s;
    }
    if (const auto s = lector.Linea(*pdf, "titulo", nLinea))
        e.pdf.sTitulo = *s;
    if (const auto s = lector.Linea(*pdf, "autor", nLinea))
        e.pdf.sAutor = *s;
    if (const auto s = lector.Linea(*pdf, "asunto", nLinea))
        e.pdf.sAsunto = *s;
}

// Which parameters each calculation reads, and the combinations the
// vocabulary can compute as written.
void RevisaCalculo(TLectorToml& lector, const toml::table& t, const TCalculoPregunta& c,
                   int nLinea) {
    const bool bFiltra =
        c.nCalculo == cnUsuarios || c.nCalculo == cnOperaciones || c.nCalculo == cnMonto;
    auto noAplica = [&](const char* sClave, const std::string& sPorque) {
        if (const toml::node* n = t.get(sClave))
            lector.Problema(TLectorToml::Linea(*n),
                            std::string("«") + sClave + "» no aplica: " + sPorque);
    };
    const std::string sCalculo = kCalculos[c.nCalculo].sPalabra;
    if (!bFiltra && c.nCalculo != cnClienteFrecuente) {
        for (const char* s : {"categoria", "nacionalidad", "sin_pep"})
            noAplica(s, sCalculo + " no distingue categorías de usuarios.");
    }
    if (c.nNegocio == neTodas) {
        noAplica("operacion", "con negocio TODAS cuentan compras y ventas.");
        if (c.nCalculo == cnMonto || c.nCalculo == cnPromedio || c.nCalculo == cnDivisaFrecuente)
            lector.Problema(TLectorToml::Linea(*t.get("negocio")),
                            sCalculo +
                                " no se calcula con negocio TODAS: sus operaciones no "
                                "tienen un monto en dólares ni un nombre de divisa.");
    } else if (!t.get("operacion")) {
        lector.Problema(nLinea, "falta «operacion»: COMPRA o VENTA.");
    }
    if (c.nCalculo == cnDivisaFrecuente && c.nNegocio != neDocumentos && c.nNegocio != neTodas)
        lector.Problema(TLectorToml::Linea(*t.get("negocio")),
                        "DIVISA_MAS_FRECUENTE se calcula sobre DOCUMENTOS: solo sus operaciones "
                        "llevan el nombre de la divisa.");
    if (bFiltra && c.nCategoria == caSinFiltro && (c.nNacionalidad != naTodas || c.bSinPEP))
        lector.Problema(
            TLectorToml::Linea(*t.get(t.get("sin_pep") && c.bSinPEP ? "sin_pep" : "nacionalidad")),
            "con categoria TODAS no se filtra por nacionalidad ni se dejan fuera los "
            "PEPs: cuentan todos los usuarios.");
    if (c.nCalculo == cnClienteFrecuente) {
        const bool bBancos = c.nCategoria == caInstCredito && c.nNacionalidad == naNacional;
        const bool bTodos = c.nCategoria == caSinFiltro && c.nNacionalidad == naTodas;
        if ((!bBancos && !bTodos) || c.bSinPEP)
            lector.Problema(
                nLinea,
                "CLIENTE_MAS_FRECUENTE busca entre todos los clientes (categoria TODAS) o entre "
                "las instituciones de crédito nacionales (categoria INSTITUCION_DE_CREDITO, "
                "nacionalidad NACIONAL), sin dejar fuera a los PEPs.");
    }
}

// The reader's check of a statement's placeholders, with harmless values.
void RevisaMarcasConsulta(TLectorToml& lector, const TPreguntaEdicion& p) {
    TFalloConsulta fallo;
    const TContextoConsulta prueba{"1", "1", "01/01/2000", "01/02/2000", {"X"}};
    if (ExpandeConsulta(p.sConsulta, prueba, fallo))
        return;
    const int nLinea =
        p.nLineaConsulta +
        static_cast<int>(
            std::count(p.sConsulta.begin(),
                       p.sConsulta.begin() + static_cast<std::ptrdiff_t>(fallo.nPosicion), '\n'));
    lector.Problema(nLinea, "en la consulta de la pregunta " + std::to_string(p.nNumero) + ": " +
                                fallo.sMensaje);
}

void LeePregunta(TLectorToml& lector, const toml::table& t, TPreguntaEdicion& p) {
    const int nLinea = p.nLinea;
    const std::size_t nAntes = lector.NumProblemas();
    lector.SoloClaves(
        t,
        {"numero", "texto", "calculo", "negocio", "operacion", "categoria", "nacionalidad",
         "sin_pep", "consulta", "evidencia", "centro", "moneda", "opciones"},
        "una pregunta");
    if (const auto n = lector.Entero(t, "numero", nLinea)) {
        if (*n < 1 || *n > 9999)
            lector.Problema(TLectorToml::Linea(*t.get("numero")),
                            "«numero» va de 1 a 9999, y es " + std::to_string(*n) + ".");
        else
            p.nNumero = static_cast<int>(*n);
    }
    if (const auto s = lector.Linea(t, "texto", nLinea))
        p.sTexto = *s;

    const int nFormas =
        (t.get("calculo") ? 1 : 0) + (t.get("consulta") ? 1 : 0) + (t.get("centro") ? 1 : 0);
    if (nFormas != 1) {
        lector.Problema(nLinea,
                        "una pregunta se responde de una sola forma: con «calculo» (del "
                        "Norvex), con «consulta» (SQL propia) o con «centro» (la "
                        "responde el centro cambiario).");
        return;
    }
    auto soloPara = [&](std::initializer_list<const char*> claves, const std::string& sForma) {
        for (const char* s : claves)
            if (const toml::node* n = t.get(s))
                lector.Problema(
                    TLectorToml::Linea(*n),
                    std::string("«") + s + "» no aplica a una pregunta " + sForma + ".");
    };
    if (t.get("calculo")) {
        p.eForma = fpCalculo;
        soloPara({"evidencia", "moneda", "opciones"}, "con calculo");
        TCalculoPregunta& c = p.calculo;
        const auto calculo = lector.Palabra<TCalculoNorvex>(t, "calculo", kCalculos, nLinea, true);
        const auto negocio = lector.Palabra<TNegocio>(t, "negocio", kNegocios, nLinea, true);
        const auto venta = lector.Palabra<bool>(t, "operacion", kOperaciones, nLinea, false);
        const auto cat = lector.Palabra<TCategoria>(t, "categoria", kCategorias, nLinea, false);
        const auto nac =
            lector.Palabra<TNacionalidad>(t, "nacionalidad", kNacionalidades, nLinea, false);
        const auto sinPEP = lector.SiNo(t, "sin_pep");
        if (lector.NumProblemas() != nAntes)
            return;
        c = {*calculo,
             *negocio,
             venta.value_or(false),
             cat.value_or(caSinFiltro),
             nac.value_or(naTodas),
             sinPEP.value_or(false)};
        RevisaCalculo(lector, t, c, nLinea);
    } else if (t.get("consulta")) {
        p.eForma = fpConsulta;
        soloPara(
            {"negocio", "operacion", "categoria", "nacionalidad", "sin_pep", "moneda", "opciones"},
            "con consulta");
        if (const auto s = lector.Texto(t, "consulta", nLinea)) {
            p.sConsulta = *s;
            p.nLineaConsulta = lector.PrimeraLineaDeTexto(*t.get("consulta"));
            RevisaMarcasConsulta(lector, p);
        }
        p.evidencia = lector.Palabra<TCalculoRespuesta>(t, "evidencia", kEvidencias, nLinea, false);
    } else {
        p.eForma = fpCentro;
        soloPara({"negocio", "operacion", "categoria", "nacionalidad", "sin_pep", "evidencia"},
                 "del centro");
        const auto tipo = lector.Palabra<TTipoRespuestaCC>(t, "centro", kTiposCentro, nLinea, true);
        if (!tipo)
            return;
        p.centro.tipo = *tipo;
        if (*tipo == trMonto) {
            if (const auto s = lector.Linea(t, "moneda", nLinea))
                p.centro.sMoneda = *s;
        } else {
            soloPara({"moneda"}, "del centro que no pide un monto");
        }
        const toml::node* opciones = t.get("opciones");
        if (*tipo != trOpcion) {
            soloPara({"opciones"}, "del centro que no pide una opción");
        } else if (!opciones || !opciones->is_array() || opciones->as_array()->size() < 2) {
            lector.Problema(opciones ? TLectorToml::Linea(*opciones) : nLinea,
                            "una pregunta OPCION lleva «opciones», una lista de dos o más "
                            "respuestas entre comillas.");
        } else {
            for (const toml::node& o : *opciones->as_array()) {
                const std::string* s = o.is_string() ? &o.as_string()->get() : nullptr;
                const bool bLlana =
                    s && !s->empty() && std::all_of(s->begin(), s->end(), [](char c) {
                        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                               c == '.' || c == '-';
                    });
                if (bLlana) {
                    p.centro.opciones.push_back(*s);
                } else {
                    lector.Problema(TLectorToml::Linea(o),
                                    "cada opción va entre comillas, en mayúsculas y sin acentos, "
                                    "como se guarda la respuesta (por ejemplo \"INVERSION\").");
                    break;
                }
            }
        }
    }
}

// The questions in file order; preguntas gets them by number when the
// numbering is whole (1 to N, each once, in order).
void LeePreguntas(TLectorToml& lector, TEdicion& e) {
    const auto raiz = lector.Abre();
    if (!raiz)
        return;
    lector.SoloClaves(*raiz, {"pregunta"}, kArchivoPreguntas);
    const toml::array* lista = raiz->get_as<toml::array>("pregunta");
    if (!lista || lista->empty() || !lista->is_array_of_tables()) {
        lector.Problema(1, "no hay preguntas: cada una empieza con [[pregunta]].");
        return;
    }
    std::vector<TPreguntaEdicion> leidas;
    std::map<int, int> lineaDe;  // question number -> its line
    bool bNumeracion = true;
    for (const toml::node& nodo : *lista) {
        const toml::table& t = *nodo.as_table();
        TPreguntaEdicion p;
        p.nLinea = TLectorToml::Linea(t);
        LeePregunta(lector, t, p);
        if (p.nNumero == 0) {
            bNumeracion = false;
            continue;
        }
        if (const auto it = lineaDe.find(p.nNumero); it != lineaDe.end()) {
            lector.Problema(p.nLinea, "la pregunta " + std::to_string(p.nNumero) +
                                          " está repetida: ya está en la línea " +
                                          std::to_string(it->second) + ".");
            bNumeracion = false;
            continue;
        }
        if (!leidas.empty() && p.nNumero < leidas.back().nNumero) {
            lector.Problema(p.nLinea, "la pregunta " + std::to_string(p.nNumero) +
                                          " está después de la " +
                                          std::to_string(leidas.back().nNumero) +
                                          ": las preguntas van en orden.");
            bNumeracion = false;
        }
        lineaDe[p.nNumero] = p.nLinea;
        leidas.push_back(std::move(p));
    }
    if (!bNumeracion)
        return;
    int nEsperada = 1;
    for (const TPreguntaEdicion& p : leidas) {
        if (p.nNumero != nEsperada) {
            lector.Problema(p.nLinea, p.nNumero == nEsperada + 1
                                          ? "falta la pregunta " + std::to_string(nEsperada) +
                                                " (antes de la " + std::to_string(p.nNumero) + ")."
                                          : "faltan las preguntas " + std::to_string(nEsperada) +
                                                " a " + std::to_string(p.nNumero - 1) +
                                                " (antes de la " + std::to_string(p.nNumero) +
                                                ").");
            bNumeracion = false;
        }
        nEsperada = p.nNumero + 1;
    }
    if (bNumeracion)
        e.preguntas = std::move(leidas);
}

}  // namespace

TLecturaEdicion LeeEdicion(const fs::path& sCarpeta) {
    TLecturaEdicion r;
    auto e = std::make_shared<TEdicion>();
    e->sCarpeta = sCarpeta;
    std::error_code ec;
    if (!fs::is_directory(sCarpeta, ec)) {
        r.problemas.push_back({sCarpeta, 0, "no es una carpeta de edición."});
        return r;
    }
    TLectorToml datos(sCarpeta / kArchivoEdicion, r.problemas);
    LeeDatosEdicion(datos, *e);
    TLectorToml preguntas(sCarpeta / kArchivoPreguntas, r.problemas);
    LeePreguntas(preguntas, *e);
    if (!r.problemas.empty())
        return r;

    const fs::path sReporte = sCarpeta / kArchivoReporte;
    std::string sError;
    const auto sJson = archivos::LeeArchivoRegular(sReporte, kMaxBytesArchivoEdicion, sError);
    if (!sJson) {
        r.problemas.push_back({sReporte, 0, sError});
        return r;
    }
    ExpandePlantilla(*sJson, sReporte, *e, r.problemas);
    if (r.problemas.empty())
        r.edicion = std::move(e);
    return r;
}
