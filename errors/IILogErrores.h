#pragma once

#include <string>

// The error presenter: shows a coded failure to the user, or gives its text.
class ILogErrores {
public:
    virtual ~ILogErrores() = default;
    virtual void MuestraError(const std::string& sClaveErr, const std::string& sNomClase,
                              const std::string& sMsjAdicional) = 0;
    virtual std::string DameErrorMsj(const std::string& sClaveErr,
                                     const std::string& sMsjAdicional,
                                     bool bIncluyeClave) = 0;
};
