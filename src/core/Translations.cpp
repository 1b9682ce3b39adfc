#include "core/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

QStringList ProgramTranslationFolders(const QString &programFolder)
{
#ifdef QUILLMERE_TRANSLATIONS_FROM_PROGRAM
    const QString installed = QStringLiteral(QUILLMERE_TRANSLATIONS_FROM_PROGRAM);
#else
    const QString installed = QStringLiteral("../share/quillmere/translations");
#endif
    const QDir program(programFolder);
    return {QDir::cleanPath(program.filePath(QStringLiteral("translations"))),
            QDir::cleanPath(program.filePath(installed))};
}

std::unique_ptr<QTranslator> LoadTranslation(const QLocale &locale, const QString &baseName,
                                             const QStringList &folders)
{
    // The C locale asks for the texts as written; QTranslator would
    // otherwise fall back to a file named without any language.
    if (locale.language() == QLocale::C)
        return nullptr;
    for (const QString &folder : folders) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(locale, baseName, QStringLiteral("_"), folder) && !translator->isEmpty())
            return translator;
    }
    return nullptr;
}

InstalledTranslations InstallTranslations(QCoreApplication &app, const QLocale &locale)
{
    InstalledTranslations installed;
    const auto install = [&app](std::unique_ptr<QTranslator> translator) {
        if (!translator)
            return QString();
        QTranslator *kept = translator.release();
        kept->setParent(&app);
        QCoreApplication::installTranslator(kept);
        return kept->filePath();
    };
    installed.programFile = install(LoadTranslation(
        locale, QStringLiteral("quillmere"), ProgramTranslationFolders(QCoreApplication::applicationDirPath())));
    // Qt's texts follow only when the program itself speaks the language:
    // German buttons under English captions would be worse than either.
    if (!installed.programFile.isEmpty()) {
        installed.qtFile = install(LoadTranslation(locale, QStringLiteral("qtbase"),
                                                   {QLibraryInfo::path(QLibraryInfo::TranslationsPath)}));
    }
    return installed;
}
