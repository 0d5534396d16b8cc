#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/jet/TArchivoAccess.h"

namespace jet {

// Reads a table's rows on a second thread while the calling thread handles
// the ones already decoded, so that decoding the file and storing the rows use
// both cores. The rows reach `fila` on the calling thread, in the file's order.
// A failure of the reader, or of `fila`, stops both and is rethrown here.
class TLecturaSolapada {
public:
    using TFila = std::function<void(const std::vector<TValor>&)>;
    static void LeeFilas(const TArchivoAccess& archivo, const std::string& sTabla,
                         const TFila& fila);
    // The same over any reader: `lee` hands its rows to the function it gets.
    static void LeeFilas(const std::function<void(const TFila&)>& lee, const TFila& fila);
};

}  // namespace jet
