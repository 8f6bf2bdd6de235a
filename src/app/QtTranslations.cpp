#include "app/QtTranslations.h"

#include <memory>
#include <string>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace morvi {
namespace {

struct Installed {
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Installed& Translators() {
    static Installed installed;
    return installed;
}

void Remove(std::unique_ptr<QTranslator>& translator) {
    if (translator) QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

}  // namespace

bool InstallTranslators(Language language) {
    Installed& installed = Translators();
    Remove(installed.program);
    Remove(installed.qt);
    if (language == Language::Original) return true;
    const QString code = QString::fromLatin1(LanguageCode(language).data(), LanguageCode(language).size());
    auto program = std::make_unique<QTranslator>();
    // Built by qt_add_translations into the program's resources.
    const bool loaded = program->load(QStringLiteral(":/i18n/morvinpc_") + code);
    if (loaded) {
        QCoreApplication::installTranslator(program.get());
        installed.program = std::move(program);
    }
    // Qt's own strings, where the system has Qt's translation of the language.
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        installed.qt = std::move(qt);
    }
    return loaded;
}

}  // namespace morvi
