#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace rpt {

// One entry of a report's variable list. A name that begins with a blank is a
// category heading; the variables after it, up to the next heading, belong to it.
struct TEntradaVariable {
    QString sNombre;
    std::optional<QString> sValor;  // no value: the variable shows as nothing
};

// The ordered variable list of a report, with lookups that ignore letter case
// (names come from templates and callers written in whatever case).
class TVariablesReporte {
public:
    void Agrega(const QString& sNombre, std::optional<QString> sValor = std::nullopt);
    void Limpia() { F_Entradas.clear(); }

    // Sets a variable of a category: replaces it in place wherever it is, or adds
    // it as the category's last entry. A missing category sets nothing.
    void AsignaVariable(const QString& sCategoria, const QString& sVariable, const QString& sValor);

    // The stored value (an expression) of a variable; nullopt if it is not declared.
    std::optional<std::optional<QString>> DameValor(const QString& sVariable) const;
    // What the report shows for the variable, or nullopt if it is not declared.
    std::optional<QString> DameTexto(const QString& sVariable) const;

    const std::vector<TEntradaVariable>& DameEntradas() const { return F_Entradas; }

    // The text an expression shows. Values are text, so the engine's evaluation is
    // small: a text with CR LF is shown as it is, a text between single quotes
    // without them, anything else as it stands. Nothing here fails or cuts a text.
    static QString Evalua(const std::optional<QString>& sValor);

private:
    static bool EsCategoria(const TEntradaVariable& e) { return e.sNombre.startsWith(u' '); }
    int BuscaVariable(const QString& sVariable) const;

    std::vector<TEntradaVariable> F_Entradas;
};

}  // namespace rpt
