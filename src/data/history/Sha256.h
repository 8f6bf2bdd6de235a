#pragma once
// SHA-256 of a byte string, from the platform's crypto library (OpenSSL's libcrypto on
// Linux, BCrypt on Windows; each in its own source file).

#include <string>
#include <string_view>

namespace morvi {

// Lower-case hexadecimal digest, 64 characters.
std::string Sha256Hex(std::string_view bytes);

}  // namespace morvi
