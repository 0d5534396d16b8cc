#include "tools/cuestionario-kova/OpcionesLotes.h"

#include <QString>
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "app/TipoCambio.h"
#include "questionnaire/CatalogoEdiciones.h"
#include "questionnaire/EleccionEdicion.h"

namespace fs = std::filesystem;

const char* const sUsoLotes =
    "uso: cuestionario-kova --carpeta DIR [--carpeta DIR]... --usuario U --contrasena P\n"
    "       [--tipo-cambio T] [--edicion CLAVE|CARPETA]\n"
    "       [--listar-peps] [--pep CLAVE]... [--respuestas ARCHIVO.csv] [--pdf ARCHIVO.pdf]\n"
    "       [--consultas ARCHIVO.csv] [--respuestas-cc ARCHIVO.csv] [--evidencia CARPETA]\n"
    "       [--depurar]\n"
    "     cuestionario-kova --ediciones\n"
    "     cuestionario-kova --validar-edicion CARPETA";

namespace {

// Blanks and control characters at both ends, as the window trims its fields.
std::string Recorta(const std::string& s) {
    auto esBlanco = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    size_t i = 0, j = s.size();
    while (i < j && esBlanco(s[i])) ++i;
    while (j > i && esBlanco(s[j - 1])) --j;
    return s.substr(i, j - i);
}

std::string Mayusculas(const std::string& s) {
    return QString::fromStdString(s).toUpper().toStdString();
}

// The window's rate field holds only digits and points; any other text is no
// rate there, so it is none here either.
double LeeTipoCambio(const std::string& sTexto) {
    if (sTexto.find_first_not_of("0123456789.") != std::string::npos)
        return 0;
    return TextoATipoCambio(QString::fromStdString(sTexto));
}

bool Dentro(const fs::path& sRuta, const fs::path& sDir) {
    auto r = sRuta.begin();
    for (auto d = sDir.begin(); d != sDir.end(); ++d, ++r) {
        if (d->empty())
            continue;
        if (r == sRuta.end() || *r != *d)
            return false;
    }
    return true;
}

// A branch counted twice would count its operations twice.
bool RevisaCarpetas(const TOpcionesLotes& op, std::string& sError) {
    std::error_code ec;
    std::vector<fs::path> vistas{fs::weakly_canonical(fs::absolute(op.sCarpeta, ec), ec)};
    for (const fs::path& s : op.sucursales) {
        const fs::path sRuta = fs::weakly_canonical(fs::absolute(s, ec), ec);
        if (std::find(vistas.begin(), vistas.end(), sRuta) != vistas.end()) {
            sError = "La carpeta " + s.string() + " está dos veces.";
            return false;
        }
        vistas.push_back(sRuta);
    }
    return true;
}

// An output goes to an existing folder, never into a Norvex folder, and no
// two outputs share a file.
bool RevisaSalidas(const TOpcionesLotes& op, std::string& sError) {
    std::error_code ec;
    std::vector<fs::path> norvex{fs::weakly_canonical(op.sCarpeta, ec)};
    for (const fs::path& s : op.sucursales) norvex.push_back(fs::weakly_canonical(s, ec));
    std::vector<fs::path> vistas;
    for (const auto* salida : {&op.sRespuestas, &op.sPdf, &op.sConsultas, &op.sEvidencia}) {
        if (!*salida)
            continue;
        const fs::path sRuta = fs::weakly_canonical(fs::absolute(**salida, ec), ec);
        if (sRuta.filename().empty() || !fs::is_directory(sRuta.parent_path(), ec)) {
            sError = "No existe la carpeta de " + (*salida)->string() + ".";
            return false;
        }
        // The PDF is written through Qt, which reads a name as UTF-8: any
        // other bytes would name a different file than the one given.
        if (salida == &op.sPdf &&
            QString::fromStdString(sRuta.string()).toStdString() != sRuta.string()) {
            sError = "El nombre del PDF no es texto UTF-8 válido: " + (*salida)->string() + ".";
            return false;
        }
        for (const fs::path& sNorvex : norvex)
            if (!sNorvex.empty() && Dentro(sRuta, sNorvex)) {
                sError = "No se escribe en la carpeta del Norvex: " + (*salida)->string() + ".";
                return false;
            }
        // The evidence folder takes its place whole: it exists empty or not at
        // all, and no other output goes inside it.
        if (salida == &op.sEvidencia && fs::exists(sRuta, ec) &&
            (!fs::is_directory(sRuta, ec) || !fs::is_empty(sRuta, ec))) {
            sError =
                "La carpeta de evidencia ya existe y no está vacía: " + (*salida)->string() + ".";
            return false;
        }
        for (const fs::path& v : vistas)
            if (v == sRuta || (salida == &op.sEvidencia && Dentro(v, sRuta))) {
                sError = "Dos salidas con el mismo archivo: " + (*salida)->string() + ".";
                return false;
            }
        vistas.push_back(sRuta);
    }
    return true;
}

// The centre's answers, read before anything is opened so that a bad file
// stops the run with no output written.
bool LeeRespuestasCC(TOpcionesLotes& op, std::string& sError) {
    std::error_code ec;
    std::ifstream archivo(*op.sRespuestasCC, std::ios::binary);
    const std::string sDatos((std::istreambuf_iterator<char>(archivo)),
                             std::istreambuf_iterator<char>());
    if (!archivo.is_open() || archivo.bad() || fs::is_directory(*op.sRespuestasCC, ec)) {
        sError = "No fue posible leer " + op.sRespuestasCC->string() + ".";
        return false;
    }
    QString sMotivo;
    auto respuestas = TRespuestasCC::ImportaCsv(QByteArray::fromStdString(sDatos), sMotivo,
                                                PreguntasCCDe(*op.edicion));
    if (!respuestas) {
        sError = op.sRespuestasCC->string() + ": " + sMotivo.toStdString();
        return false;
    }
    op.respuestasCC = std::make_shared<const TRespuestasCC>(std::move(*respuestas));
    return true;
}

// The edition of the run, every problem on a line of its own.
bool EligeEdicionLotes(TOpcionesLotes& op, std::string& sError) {
    if (!op.sEdicion) {
        try {
            op.edicion = EdicionPredeterminada();
            return true;
        } catch (const std::exception& e) {
            sError = e.what();
            return false;
        }
    }
    const TLecturaEdicion l = EligeEdicion(*op.sEdicion);
    if (l.edicion) {
        op.edicion = l.edicion;
        return true;
    }
    sError = "La edición " + *op.sEdicion + " no se puede usar:";
    for (const TProblemaEdicion& p : l.problemas) sError += "\n" + p.Texto();
    return false;
}

}  // namespace

std::optional<TOpcionesLotes> LeeOpcionesLotes(const std::vector<std::string>& args,
                                               std::string& sError) {
    TOpcionesLotes op;
    std::map<std::string, std::string> valores;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--ayuda" || a == "-h" || a == "--help") {
            op.bAyuda = true;
            return op;
        }
        if (a == "--listar-peps") {
            op.bListarPEPs = true;
            continue;
        }
        if (a == "--ediciones") {
            op.bListarEdiciones = true;
            continue;
        }
        if (a == "--depurar") {
            op.bDepurar = true;
            continue;
        }
        static const char* const conValor[] = {"--carpeta",     "--usuario",   "--contrasena",
                                               "--tipo-cambio", "--pep",       "--respuestas",
                                               "--pdf",         "--consultas", "--respuestas-cc",
                                               "--evidencia",   "--edicion",   "--validar-edicion"};
        if (std::find(std::begin(conValor), std::end(conValor), a) == std::end(conValor)) {
            sError = "Opción desconocida: " + a;
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            sError = "Falta el valor de " + a;
            return std::nullopt;
        }
        const std::string& v = args[++i];
        if (a == "--pep")
            op.clavesPEP.push_back(v);
        else if (a == "--carpeta" && valores.count(a))
            op.sucursales.emplace_back(v);
        else if (!valores.emplace(a, v).second) {
            sError = "Opción repetida: " + a;
            return std::nullopt;
        }
    }
    // The actions on editions stand alone.
    const bool bValidar = valores.count("--validar-edicion") > 0;
    if (op.bListarEdiciones || bValidar) {
        const std::size_t nOtras = valores.size() - (bValidar ? 1 : 0) + op.clavesPEP.size() +
                                   op.sucursales.size() + (op.bListarPEPs ? 1 : 0) +
                                   (op.bListarEdiciones && bValidar ? 1 : 0);
        if (nOtras > 0) {
            sError = std::string(op.bListarEdiciones ? "--ediciones" : "--validar-edicion") +
                     " no se combina con otras opciones.";
            return std::nullopt;
        }
        if (bValidar)
            op.sValidarEdicion = fs::path(valores["--validar-edicion"]);
        return op;
    }
    for (const char* s : {"--carpeta", "--usuario", "--contrasena"})
        if (!valores.count(s)) {
            sError = sUsoLotes;
            return std::nullopt;
        }
    op.sCarpeta = valores["--carpeta"];
    op.sUsuario = Mayusculas(valores["--usuario"]);
    op.sPassw = Mayusculas(valores["--contrasena"]);
    auto ruta = [&](const char* s) -> std::optional<fs::path> {
        if (!valores.count(s))
            return std::nullopt;
        return fs::path(valores[s]);
    };
    op.sRespuestas = ruta("--respuestas");
    op.sPdf = ruta("--pdf");
    op.sConsultas = ruta("--consultas");
    op.sRespuestasCC = ruta("--respuestas-cc");
    op.sEvidencia = ruta("--evidencia");
    if (op.sEvidencia && !op.sEvidencia->has_filename())  // "DIR/" names DIR
        op.sEvidencia = op.sEvidencia->parent_path();
    const bool bSalidas = op.sRespuestas || op.sPdf || op.sConsultas || op.sEvidencia;
    if (op.bListarPEPs && (bSalidas || !op.clavesPEP.empty())) {
        sError = "--listar-peps no se combina con --pep ni con archivos de salida.";
        return std::nullopt;
    }
    // The centre's answers only go into the answers file and the PDF.
    if (op.sRespuestasCC && !op.sRespuestas && !op.sPdf) {
        sError = "--respuestas-cc sirve con --respuestas o --pdf.";
        return std::nullopt;
    }
    if (!op.bListarPEPs && !bSalidas) {
        sError =
            "Indique qué hacer: --listar-peps, --respuestas, --pdf, --consultas o --evidencia.";
        return std::nullopt;
    }
    op.sTipoCambio = valores.count("--tipo-cambio") ? valores["--tipo-cambio"] : "18.91";
    if (valores.count("--edicion"))
        op.sEdicion = valores["--edicion"];
    return op;
}

bool ValidaOpcionesLotes(TOpcionesLotes& op, std::string& sError) {
    if (!EligeEdicionLotes(op, sError) || !RevisaCarpetas(op, sError) || !RevisaSalidas(op, sError))
        return false;

    // The window's field checks, in its order: the user before the rate.
    if (Recorta(op.sUsuario).empty()) {
        sError = "Por favor, escriba su usuario (Administrador).";
        return false;
    }
    const std::string sCambio = Recorta(op.sTipoCambio);
    if (sCambio.empty()) {
        sError = "Por favor, escriba el tipo de cambio.";
        return false;
    }
    op.dTCambio = LeeTipoCambio(sCambio);
    if (op.dTCambio <= 0) {
        sError = "El tipo de cambio debe ser diferente a cero.";
        return false;
    }
    return !op.sRespuestasCC || LeeRespuestasCC(op, sError);
}
