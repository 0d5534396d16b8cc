#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"

namespace ado {

class TADOConnection;

// A field value of the current row, possibly null.
class TCampo {
public:
    explicit TCampo(jet::TValor valor) : valor_(std::move(valor)) {}
    bool IsNull() const { return jet::EsNulo(valor_); }
    const jet::TValor& Valor() const { return valor_; }
    // Text unchanged; integers in decimal; other numbers in the shortest
    // general form with at most 15 significant digits, the locale's decimal
    // separator and no trailing zeros; Booleans "True"/"False". Null is "".
    std::string AsString() const;
    int64_t AsInteger() const;
    double AsFloat() const;
    bool AsBoolean() const;
    double AsDateTime() const;  // day serial
    // The bytes of a Binary or OLE Object value (a text gives its UTF-8
    // bytes, null none); other values throw.
    std::string AsBytes() const;
    // The files of an Attachment value, with their bytes (null: none);
    // other values throw.
    std::vector<jet::TAdjunto> AsAdjuntos() const;

private:
    jet::TValor valor_;
};

// The platform query object, bound to a borrowed connection: it runs the
// Access SQL dialect with Jet's results. Failures are jet::EErrorJet.
class TADOQuery {
public:
    explicit TADOQuery(TADOConnection* conexion = nullptr);
    ~TADOQuery();
    TADOQuery(const TADOQuery&) = delete;
    TADOQuery& operator=(const TADOQuery&) = delete;

    void SetConnection(TADOConnection* conexion);
    TADOConnection* Connection() const;

    void SQLClear();
    void SQLAdd(const std::string& sTexto);  // the statement as a whole
    const std::string& SQLText() const;

    void Open();     // a row-returning statement; the first row is current
    void ExecSQL();  // a statement that returns no rows
    void Close();
    bool Active() const;

    bool IsEmpty() const;
    void First();
    void Next();
    bool Eof() const;

    int FieldCount() const;
    std::string FieldName(int nIndice) const;
    TCampo Field(int nIndice) const;
    // By column name, letter case ignored; an unknown name throws.
    TCampo FieldByName(const std::string& sNombre) const;

private:
    struct TDatos;
    std::unique_ptr<TDatos> d_;
};

}  // namespace ado
