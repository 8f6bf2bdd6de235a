#pragma once
// The program works in UTF-8. On Windows, main's narrow arguments come in the system code
// page (Chinese map names and paths would be lost on a non-Chinese system) and the console
// shows output in its own code page; there the arguments are taken from the wide command line
// and the console is switched to UTF-8. Elsewhere the arguments are used as they are.

#include <string>
#include <vector>

#include "texts/Language.h"

namespace morvi::cli {

class Utf8Arguments {
public:
    Utf8Arguments(int argc, char** argv);
    int Count() const { return static_cast<int>(m_pointers.size()); }
    char** Values() { return m_pointers.data(); }

private:
    std::vector<std::string> m_texts;
    std::vector<char*> m_pointers;
};

// The language the command line speaks: the first of LC_ALL, LC_MESSAGES and LANG that is set
// and not empty chooses it, POSIX style ("vi_VN.UTF-8" Vietnamese, "zh_CN" Chinese, anything
// else English); on Windows, with none of them set, the user's interface language does.
// Column names, keys, option and subcommand names stay as they are: they are data formats.
Language CommandLineLanguage();

}  // namespace morvi::cli
