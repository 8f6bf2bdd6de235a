#ifdef _WIN32
#include "data/Sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>

namespace morvi {

std::string Sha256Hex(std::string_view bytes) {
    unsigned char digest[32];
    // The pseudo-handle needs no opening or closing (Windows 10 and later).
    const NTSTATUS status = ::BCryptHash(BCRYPT_SHA256_ALG_HANDLE, nullptr, 0,
                                         reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                         static_cast<ULONG>(bytes.size()), digest, sizeof digest);
    if (status < 0) throw std::runtime_error("SHA-256 is not available from BCrypt");
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(64);
    for (unsigned char b : digest) {
        out += kHex[b >> 4];
        out += kHex[b & 0xF];
    }
    return out;
}

}  // namespace morvi
#endif
