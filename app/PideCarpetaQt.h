#pragma once

#include "app/IIPideCarpeta.h"

// The folder dialog of Qt, titled in Spanish, showing folders only.
class TPideCarpetaQt : public IPideCarpeta {
public:
    std::optional<std::filesystem::path> PideCarpeta(
        const std::filesystem::path& sInicial) override;
};
