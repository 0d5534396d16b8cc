#include "app/UtileriasCarpeta.h"

TUtileriasCarpeta::TUtileriasCarpeta(std::filesystem::path sCarpeta)
    : F_sCarpeta(std::move(sCarpeta)) {}

std::string TUtileriasCarpeta::DameDirProg() {
    std::string sDir = F_sCarpeta.string();
    if (sDir.empty() || sDir.back() != '/')
        sDir += '/';
    return sDir;
}
