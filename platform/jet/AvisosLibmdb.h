#pragma once

namespace jet {

// libmdb writes warnings of its own, in English, to standard error while it
// reads a file ("mdb_read_table: Page 12 is not a valid table definition
// page", "Warning: defaulting to brute force read"...). The reader turns
// every such case into an EErrorJet with a Spanish message; the library's
// text would only stand before it on the user's terminal. So what libmdb
// writes is kept apart: dropped, or shown on standard error with the prefix
// "libmdb: " when the user asked for it (jetsql's and the batch program's
// --depurar).
//
// The C library's stderr is replaced, before main, by a stream that passes
// everything on to file descriptor 2 as it was, except what is written on a
// thread while a TEnLibmdb lives on it. std::cerr does not go through that
// stream and is never touched.

// Shows libmdb's own warnings (true) or drops them (false, the default).
// Any thread, any time.
void MuestraAvisosLibmdb(bool bMostrar);

// While one lives on this thread, what is written to stderr is libmdb's.
// Nest freely; TFueraDeLibmdb undoes it for a stretch (a reader's callback,
// which is the caller's code).
class TEnLibmdb {
public:
    TEnLibmdb();
    ~TEnLibmdb();
    TEnLibmdb(const TEnLibmdb&) = delete;
    TEnLibmdb& operator=(const TEnLibmdb&) = delete;
};

class TFueraDeLibmdb {
public:
    TFueraDeLibmdb();
    ~TFueraDeLibmdb();
    TFueraDeLibmdb(const TFueraDeLibmdb&) = delete;
    TFueraDeLibmdb& operator=(const TFueraDeLibmdb&) = delete;

private:
    int nGuardado_;
};

}  // namespace jet
