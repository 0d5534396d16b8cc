#pragma once

#include <string>

// A connector: one platform connection object behind four operations.
class IConector {
public:
    virtual ~IConector() = default;
    virtual void SetStrConexion(const std::string& sStrConexion) = 0;
    virtual std::string GetStrConexion() = 0;
    virtual void SetConecta(bool bConecta) = 0;
    virtual bool GetConecta() = 0;
};
