#pragma once

#include <stdexcept>
#include <string>

namespace mdb {

// A description or a value that cannot become an Access file, or a failure
// of the file itself. The message says what and where.
class EErrorMdb : public std::runtime_error {
public:
    explicit EErrorMdb(const std::string& sMensaje) : std::runtime_error(sMensaje) {}
};

// The output file itself failed (cannot be created, written or renamed),
// whatever the description said.
class EErrorArchivoMdb : public EErrorMdb {
public:
    explicit EErrorArchivoMdb(const std::string& sMensaje) : EErrorMdb(sMensaje) {}
};

}  // namespace mdb
