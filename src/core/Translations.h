#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <memory>

class QCoreApplication;
class QTranslator;

// Where the program's compiled message files (quillmere_<language>.qm) are
// looked for, in order: "translations" beside the program, where the build
// tree has them, then the installed data folder reached from the program's
// folder, so that an installed tree can be moved as a whole.
QStringList ProgramTranslationFolders(const QString &programFolder);

// The first message file for `locale`'s languages, in the user's order of
// preference, found under the name `baseName` in one of `folders`; null when
// none fits (English, the C locale, a language without a translation).
std::unique_ptr<QTranslator> LoadTranslation(const QLocale &locale, const QString &baseName,
                                             const QStringList &folders);

// What InstallTranslations put in place.
struct InstalledTranslations
{
    QString programFile; // the program's message file, empty when the texts stay English
    QString qtFile;      // Qt's own (standard buttons and dialogs), empty when none
};

// Installs on `app` the program's translation for `locale` and Qt's own, when
// there are any. The texts written in the source are English and are what
// the program shows without a translation.
InstalledTranslations InstallTranslations(QCoreApplication &app, const QLocale &locale = QLocale::system());
