#include "platform/jet/LecturaSolapada.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace jet {

namespace {

// Rows travel in batches, so that the threads meet once per batch, not per
// row; a few batches in flight bound the memory the reader can run ahead with.
constexpr size_t kFilasPorLote = 512;
constexpr size_t kLotesEnVuelo = 4;

using TLote = std::vector<std::vector<TValor>>;

struct TCanal {
    std::mutex m;
    std::condition_variable cambio;
    std::deque<TLote> lotes;
    bool bFin = false;        // the reader is done (or failed)
    bool bCancelado = false;  // the consumer failed: the reader stops
    std::exception_ptr fallo;
};

// Thrown inside the reader's callback to leave LeeFilas early.
struct TCancelacion {};

}  // namespace

void TLecturaSolapada::LeeFilas(const TArchivoAccess& archivo, const std::string& sTabla,
                                const TFila& fila) {
    LeeFilas([&](const TFila& f) { archivo.LeeFilas(sTabla, f); }, fila);
}

void TLecturaSolapada::LeeFilas(const std::function<void(const TFila&)>& lee, const TFila& fila) {
    TCanal c;
    auto entrega = [&c](TLote& lote) {
        std::unique_lock l(c.m);
        c.cambio.wait(l, [&] { return c.bCancelado || c.lotes.size() < kLotesEnVuelo; });
        if (c.bCancelado)
            throw TCancelacion{};
        c.lotes.push_back(std::move(lote));
        c.cambio.notify_all();
    };
    std::thread lector([&] {
        std::exception_ptr fallo;
        try {
            TLote lote;
            lote.reserve(kFilasPorLote);
            lee([&](const std::vector<TValor>& f) {
                lote.push_back(f);
                if (lote.size() == kFilasPorLote) {
                    entrega(lote);
                    lote = TLote();
                    lote.reserve(kFilasPorLote);
                }
            });
            if (!lote.empty())
                entrega(lote);
        } catch (const TCancelacion&) {
        } catch (...) {
            // Whatever it is, the caller's thread throws it as it came.
            fallo = std::current_exception();
        }
        std::lock_guard l(c.m);
        c.bFin = true;
        c.fallo = fallo;
        c.cambio.notify_all();
    });
    try {
        for (;;) {
            TLote lote;
            {
                std::unique_lock l(c.m);
                c.cambio.wait(l, [&] { return !c.lotes.empty() || c.bFin; });
                if (c.lotes.empty())
                    break;
                lote = std::move(c.lotes.front());
                c.lotes.pop_front();
                c.cambio.notify_all();
            }
            for (const auto& f : lote) fila(f);
        }
    } catch (...) {
        // The reader stops and is joined, whatever the caller's failure.
        {
            std::lock_guard l(c.m);
            c.bCancelado = true;
            c.cambio.notify_all();
        }
        lector.join();
        throw;
    }
    lector.join();
    if (c.fallo)
        std::rethrow_exception(c.fallo);
}

}  // namespace jet
