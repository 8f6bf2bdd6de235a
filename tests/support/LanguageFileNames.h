#pragma once
// A language as it appears in the names of test artefacts (screenshots per language).
#include "texts/Language.h"

namespace morvi::test {

inline const char* LanguageFileName(Language language) {
    switch (language) {
    case Language::Original: return "original";
    case Language::English: return "english";
    case Language::Vietnamese: return "vietnamese";
    case Language::Chinese: return "chinese";
    }
    return "language";
}

}  // namespace morvi::test
