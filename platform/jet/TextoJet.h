#pragma once

#include <cstddef>
#include <string>

namespace jet {

// Text as an Access file stores it, turned into UTF-8. Jet 4 keeps UCS-2,
// possibly "compressed" (FF FE, then runs of one-byte characters and two-byte
// characters switched by a zero byte); Jet 3 keeps code page 1252.
// Done here rather than through libmdb's iconv so the result is UTF-8 whatever
// the environment says.
std::string TextoJet4AUtf8(const unsigned char* p, size_t n);
std::string Ucs2AUtf8(const unsigned char* p, size_t n);  // never compressed
std::string TextoJet3AUtf8(const unsigned char* p, size_t n);

}  // namespace jet
