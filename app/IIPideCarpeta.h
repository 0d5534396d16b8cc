#pragma once

#include <filesystem>
#include <optional>

// Asks the user for a folder. The window uses the desktop's folder dialog;
// tests answer from a script.
class IPideCarpeta {
public:
    virtual ~IPideCarpeta() = default;
    // The folder chosen, starting at sInicial (when empty, the dialog's own
    // choice); none when the user cancelled.
    virtual std::optional<std::filesystem::path> PideCarpeta(
        const std::filesystem::path& sInicial) = 0;
};
