#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/jet/TValorJet.h"

namespace jet {

// A file made of parts that are opened and read each on its own (a union of
// several Access files): what the snapshot asks of it to read again only
// what a change touches. A table's rows are those of every part in order.
// A plain file is not one, and a change reloads it whole.
class IArchivoPorPartes {
public:
    virtual ~IArchivoPorPartes() = default;
    virtual size_t NumeroPartes() const = 0;
    // The parts whose file on disk is no longer the one read.
    virtual std::set<size_t> PartesCambiadas() const = 0;
    // Opens those parts' files again and answers the parts whose rows must be
    // read again: the changed ones and those whose rows now read otherwise
    // because of them. Every part when the tables themselves changed (the
    // whole file must be copied again). After a failure, only a copy of the
    // whole file opened anew is sound.
    virtual std::set<size_t> ReabrePartes(const std::set<size_t>& cambiadas) = 0;
    // The rows that one part gives a table of the whole, in the part's order.
    virtual void LeeFilasParte(
        size_t nParte, const std::string& sTabla,
        const std::function<void(const std::vector<TValor>&)>& fila) const = 0;
};

}  // namespace jet
