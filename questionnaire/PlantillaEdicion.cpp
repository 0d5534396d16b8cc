#include "questionnaire/PlantillaEdicion.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

namespace {

using json = nlohmann::ordered_json;

const char* const kMarca = "preguntas_desde";

std::string Minusculas(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The line (from 1) of a byte offset of the text.
int LineaDe(const std::string& sTexto, std::size_t nByte) {
    nByte = std::min(nByte, sTexto.size());
    return 1 + static_cast<int>(std::count(
                   sTexto.begin(), sTexto.begin() + static_cast<std::ptrdiff_t>(nByte), '\n'));
}

// The nlohmann tree keeps no positions. What the walk meets in document
// order is found in the text in the same order; its line is where it is.
class TLineas {
public:
    TLineas(const std::string& sTexto, const std::string& sBuscado) : F_sTexto(sTexto) {
        const std::string sDonde = Minusculas(sTexto), sQue = Minusculas(sBuscado);
        for (auto p = sDonde.find(sQue); p != std::string::npos; p = sDonde.find(sQue, p + 1))
            F_Posiciones.push_back(p);
    }
    // The line of the next one met; 0 once the text has no more.
    int Siguiente() {
        if (F_nSiguiente >= F_Posiciones.size())
            return 0;
        return LineaDe(F_sTexto, F_Posiciones[F_nSiguiente++]);
    }

private:
    const std::string& F_sTexto;
    std::vector<std::size_t> F_Posiciones;
    std::size_t F_nSiguiente = 0;
};

struct TMarca {
    int nDesde = 0;
    int nLinea = 0;
    json* parrafos = nullptr;  // the array that holds it
    std::size_t nIndice = 0;
};

class TExpansor {
public:
    TExpansor(const std::string& sJson, const std::filesystem::path& sArchivo, TEdicion& edicion,
              std::vector<TProblemaEdicion>& problemas)
        : F_sArchivo(sArchivo),
          F_Edicion(edicion),
          F_Problemas(problemas),
          F_LineasMarca(sJson, std::string("\"") + kMarca + "\""),
          F_LineasVariable(sJson, "[preg_") {}

    void Recorre(json& nodo) {
        if (nodo.is_object()) {
            for (auto it = nodo.begin(); it != nodo.end(); ++it) {
                if (it.key() == "parrafos" && it.value().is_array())
                    BuscaMarcas(it.value());
                Recorre(it.value());
            }
        } else if (nodo.is_array()) {
            for (json& hijo : nodo) Recorre(hijo);
        } else if (nodo.is_string()) {
            BuscaVariables(nodo.get_ref<const std::string&>());
        }
    }

    void RevisaMarcas() {
        const int nTotal = F_Edicion.DameTotalPreguntas();
        for (std::size_t i = 0; i < F_Marcas.size(); ++i) {
            const TMarca& m = F_Marcas[i];
            const std::string sMarca = "\"preguntas_desde\": " + std::to_string(m.nDesde);
            if (m.nDesde < 1 || m.nDesde > nTotal)
                Problema(m.nLinea, sMarca + " no es una pregunta de la edición (van de la 1 a la " +
                                       std::to_string(nTotal) + ").");
            else if (i > 0 && m.nDesde <= F_Marcas[i - 1].nDesde)
                Problema(m.nLinea, sMarca + " debe ser mayor que el anterior (" +
                                       std::to_string(F_Marcas[i - 1].nDesde) + ", línea " +
                                       std::to_string(F_Marcas[i - 1].nLinea) +
                                       "): las preguntas van en orden por el reporte.");
        }
        for (const auto& [n, nLinea] : F_Variables)
            if (!F_Edicion.DamePregunta(n))
                Problema(nLinea, "el reporte muestra [preg_" + std::to_string(n) +
                                     "] y la edición no tiene la pregunta " + std::to_string(n) +
                                     ".");
    }

    // Every run written out, the last first so that the indexes of the
    // earlier ones stay valid; then the questions left without a place.
    void Expande() {
        if (!F_bBien)
            return;
        std::set<int> colocadas;
        for (const auto& v : F_Variables) colocadas.insert(v.first);
        const int nTotal = F_Edicion.DameTotalPreguntas();
        for (std::size_t i = F_Marcas.size(); i-- > 0;) {
            const TMarca& m = F_Marcas[i];
            const int nHasta = i + 1 < F_Marcas.size() ? F_Marcas[i + 1].nDesde - 1 : nTotal;
            json corrida = json::array();
            for (int n = m.nDesde; n <= nHasta; ++n) {
                colocadas.insert(n);
                const TPreguntaEdicion& p = *F_Edicion.DamePregunta(n);
                corrida.push_back(
                    {{"trozos", json::array({{{"texto", std::to_string(n)}, {"negrita", true}},
                                             {{"texto", "  " + p.sTexto}}})}});
                corrida.push_back(
                    {{"trozos", json::array({{{"texto", "[preg_" + std::to_string(n) + "]"},
                                              {"negrita", true}}})}});
            }
            json& parrafos = *m.parrafos;
            parrafos.erase(parrafos.begin() + static_cast<std::ptrdiff_t>(m.nIndice));
            parrafos.insert(parrafos.begin() + static_cast<std::ptrdiff_t>(m.nIndice),
                            corrida.begin(), corrida.end());
        }
        for (const TPreguntaEdicion& p : F_Edicion.preguntas)
            if (!colocadas.count(p.nNumero)) {
                F_Problemas.push_back(
                    {F_Edicion.sCarpeta / kArchivoPreguntas, p.nLinea,
                     "la pregunta " + std::to_string(p.nNumero) +
                         " no tiene lugar en el reporte: ningún {\"preguntas_desde\": N} de " +
                         kArchivoReporte + " la incluye."});
                F_bBien = false;
            }
    }

    bool Bien() const { return F_bBien; }

private:
    void BuscaMarcas(json& parrafos) {
        for (std::size_t i = 0; i < parrafos.size(); ++i) {
            if (!parrafos[i].is_object() || !parrafos[i].contains(kMarca))
                continue;
            const int nLinea = F_LineasMarca.Siguiente();
            const json& valor = parrafos[i][kMarca];
            if (parrafos[i].size() != 1 || !valor.is_number_integer()) {
                Problema(nLinea, std::string("un párrafo {\"") + kMarca +
                                     "\": N} lleva solo ese número entero.");
                continue;
            }
            F_Marcas.push_back({valor.get<int>(), nLinea, &parrafos, i});
        }
    }

    void BuscaVariables(const std::string& s) {
        const std::string sMinus = Minusculas(s);
        for (auto p = sMinus.find("[preg_"); p != std::string::npos;
             p = sMinus.find("[preg_", p + 1)) {
            const int nLinea = F_LineasVariable.Siguiente();
            std::size_t q = p + 6;
            long long n = 0;
            while (q < s.size() && std::isdigit(static_cast<unsigned char>(s[q])) && n < 1000000)
                n = n * 10 + (s[q++] - '0');
            if (q > p + 6 && q < s.size() && s[q] == ']')
                F_Variables.emplace_back(static_cast<int>(n), nLinea);
        }
    }

    void Problema(int nLinea, std::string sMensaje) {
        F_Problemas.push_back({F_sArchivo, nLinea, std::move(sMensaje)});
        F_bBien = false;
    }

    const std::filesystem::path& F_sArchivo;
    TEdicion& F_Edicion;
    std::vector<TProblemaEdicion>& F_Problemas;
    TLineas F_LineasMarca, F_LineasVariable;
    std::vector<TMarca> F_Marcas;
    std::vector<std::pair<int, int>> F_Variables;  // question shown, its line
    bool F_bBien = true;
};

}  // namespace

void ExpandePlantilla(const std::string& sJson, const std::filesystem::path& sArchivo,
                      TEdicion& edicion, std::vector<TProblemaEdicion>& problemas) {
    json doc;
    try {
        doc = json::parse(sJson);
    } catch (const json::parse_error& e) {
        problemas.push_back({sArchivo, LineaDe(sJson, e.byte > 0 ? e.byte - 1 : 0),
                             "no es JSON válido (el lector dice: " + std::string(e.what()) + ")."});
        return;
    }
    if (!doc.is_object() || !doc.contains("paginas") || !doc["paginas"].is_array() ||
        doc["paginas"].empty()) {
        problemas.push_back(
            {sArchivo, 1, "el reporte necesita \"paginas\", una lista de páginas."});
        return;
    }
    TExpansor expansor(sJson, sArchivo, edicion, problemas);
    expansor.Recorre(doc);
    expansor.RevisaMarcas();
    expansor.Expande();
    if (!expansor.Bien())
        return;
    edicion.nPaginas = static_cast<int>(doc["paginas"].size());
    edicion.sPlantilla = doc.dump();
}
