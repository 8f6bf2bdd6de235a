#include "cli/ProgramText.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

#include "data/platform/WidePath.h"
#endif

namespace morvi::cli {

Utf8Arguments::Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) m_texts.push_back(NarrowToUtf8(wide[i]));
        ::LocalFree(wide);
    }
    ::SetConsoleOutputCP(CP_UTF8);
#endif
    if (m_texts.empty())
        for (int i = 0; i < argc; ++i) m_texts.emplace_back(argv[i]);
    for (std::string& text : m_texts) m_pointers.push_back(text.data());
}

Language CommandLineLanguage() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return CommandLineLanguageOfLocale(value);
    }
#ifdef _WIN32
    switch (PRIMARYLANGID(::GetUserDefaultUILanguage())) {
    case LANG_VIETNAMESE: return Language::Vietnamese;
    case LANG_CHINESE: return Language::Chinese;
    default: break;
    }
#endif
    return Language::Original;
}

}  // namespace morvi::cli
