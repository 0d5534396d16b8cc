#include "platform/jet/AvisosLibmdb.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string_view>

namespace jet {

namespace {

thread_local int nEnLibmdb = 0;
thread_local bool bInicioLinea = true;  // of libmdb's text, for the prefix
std::atomic<bool> bMostrar{false};

void EscribeTodo(const char* p, size_t n) {
    while (n > 0) {
        const ssize_t r = ::write(STDERR_FILENO, p, n);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return;  // nowhere to write: as stderr itself would lose it
        p += r;
        n -= static_cast<size_t>(r);
    }
}

ssize_t Escribe(void*, const char* p, size_t n) {
    if (nEnLibmdb == 0) {
        EscribeTodo(p, n);
    } else if (bMostrar.load(std::memory_order_relaxed)) {
        // One prefix per line, however libmdb cuts its writes.
        const std::string_view s(p, n);
        size_t i = 0;
        while (i < s.size()) {
            if (bInicioLinea)
                EscribeTodo("libmdb: ", 8);
            const size_t fin = s.find('\n', i);
            const size_t hasta = fin == std::string_view::npos ? s.size() : fin + 1;
            EscribeTodo(p + i, hasta - i);
            bInicioLinea = fin != std::string_view::npos;
            i = hasta;
        }
    }
    return static_cast<ssize_t>(n);
}

// Before main, while no other thread can be looking at stderr. The GNU C
// library documents stdin, stdout and stderr as variables a program may set.
struct TDesvia {
    TDesvia() {
        cookie_io_functions_t funciones{};
        funciones.write = Escribe;
        if (FILE* f = fopencookie(nullptr, "w", funciones)) {
            std::setvbuf(f, nullptr, _IONBF, 0);  // as stderr: nothing waits in a buffer
            stderr = f;
        }
    }
} gDesvia;

}  // namespace

void MuestraAvisosLibmdb(bool b) {
    bMostrar.store(b, std::memory_order_relaxed);
}

TEnLibmdb::TEnLibmdb() {
    ++nEnLibmdb;
}
TEnLibmdb::~TEnLibmdb() {
    --nEnLibmdb;
}

TFueraDeLibmdb::TFueraDeLibmdb() : nGuardado_(nEnLibmdb) {
    nEnLibmdb = 0;
}
TFueraDeLibmdb::~TFueraDeLibmdb() {
    nEnLibmdb = nGuardado_;
}

}  // namespace jet
