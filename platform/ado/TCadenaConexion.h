#pragma once

#include <map>
#include <string>

namespace ado {

// A connection string as OLE DB reads it: "key=value" pairs separated by
// ";". Keys are compared without regard to letter case or surrounding blanks;
// values are kept exactly as written; the last of repeated keys wins; pieces
// without "=" are ignored.
class TCadenaConexion {
public:
    explicit TCadenaConexion(const std::string& sCadena);
    // The value of a key, or "" when the string does not name it.
    std::string Valor(const std::string& sClave) const;
    bool Tiene(const std::string& sClave) const;

private:
    std::map<std::string, std::string> valores_;  // by normalised key
};

}  // namespace ado
