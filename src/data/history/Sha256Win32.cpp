#ifdef _WIN32
#include "data/history/Sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include <stdexcept>

namespace morvi {

std::string Sha256Hex(std::string_view bytes) {
    unsigned char digest[32];
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;
    NTSTATUS status = ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0);
    if (status >= 0) status = ::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0);
    if (status >= 0)
        status = ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                  static_cast<ULONG>(bytes.size()), 0);
    if (status >= 0) status = ::BCryptFinishHash(hash, digest, sizeof digest, 0);
    if (hash) ::BCryptDestroyHash(hash);
    if (algorithm) ::BCryptCloseAlgorithmProvider(algorithm, 0);
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
