#include "data/text/GbkSystemCodec.h"

#include <windows.h>

namespace morvi {

constexpr UINT kCodePage = 936;

bool Cp936Available() { return ::IsValidCodePage(kCodePage) != 0; }

char32_t Cp936DecodeOne(const unsigned char* bytes, size_t length) {
    wchar_t wide[4] = {};
    const int count = ::MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes),
                                            static_cast<int>(length), wide, 4);
    if (count != 1 || (wide[0] >= 0xD800 && wide[0] <= 0xDFFF)) return 0;
    // Only a character the system encodes back to the same bytes is taken: the default
    // character '?' or a best-fit substitute would not survive a save.
    char back[4] = {};
    BOOL usedDefault = FALSE;
    const int backLength =
        ::WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, back, sizeof back, nullptr, &usedDefault);
    if (usedDefault || backLength != static_cast<int>(length)) return 0;
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(back[i]) != bytes[i]) return 0;
    return wide[0];
}

}  // namespace morvi
