#pragma once
// The system's own code page 936 converter on Windows (MultiByteToWideChar and
// WideCharToMultiByte), asked one character at a time while the GBK tables are built.

#include <cstddef>

namespace morvi {

// Whether the system has code page 936 installed.
bool Cp936Available();
// The one BMP code point of a one- or two-byte sequence, 0 when the system rejects it or the
// code point does not convert back to exactly these bytes.
char32_t Cp936DecodeOne(const unsigned char* bytes, size_t length);

}  // namespace morvi
