#pragma once

#include <filesystem>

#include "app/Utilerias.h"

// The utilities of a window installed apart from the Norvex folder: the
// folder its jobs read is the one chosen at start, not the program's own.
class TUtileriasCarpeta : public TUtilerias {
public:
    explicit TUtileriasCarpeta(std::filesystem::path sCarpeta);

    // The chosen folder, with its trailing separator like the program's own.
    std::string DameDirProg() override;

private:
    std::filesystem::path F_sCarpeta;
};
