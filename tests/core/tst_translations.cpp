#include "core/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

const QString kBuiltFolder = QStringLiteral(QUILLMERE_TRANSLATION_FOLDER);

const char kContext[] = "RenameRequest";
const char kMessage[] = "You must enter a file name.";
const QString kGerman = QStringLiteral("Sie müssen einen Dateinamen eingeben.");

QString translated(const QTranslator *translator)
{
    return translator ? translator->translate(kContext, kMessage) : QString();
}

void removeInstalledTranslators()
{
    const QList<QTranslator *> translators = QCoreApplication::instance()->findChildren<QTranslator *>();
    for (QTranslator *translator : translators) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { removeInstalledTranslators(); }

    void languageOfLocale_data();
    void languageOfLocale();
    void foldersInOrder_data();
    void foldersInOrder();
    void installsBesideProgram_data();
    void installsBesideProgram();
};

void TranslationsTest::languageOfLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected"); // empty: no translation, the English text stays

    QTest::newRow("German, Germany") << QLocale(QStringLiteral("de_DE")) << kGerman;
    QTest::newRow("German, Austria") << QLocale(QStringLiteral("de_AT")) << kGerman;
    QTest::newRow("German, Switzerland") << QLocale(QStringLiteral("de_CH")) << kGerman;
    QTest::newRow("German") << QLocale(QLocale::German) << kGerman;
    QTest::newRow("English") << QLocale(QStringLiteral("en_US")) << QString();
    QTest::newRow("British English") << QLocale(QStringLiteral("en_GB")) << QString();
    QTest::newRow("French") << QLocale(QStringLiteral("fr_FR")) << QString();
    QTest::newRow("C") << QLocale::c() << QString();
}

void TranslationsTest::languageOfLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);

    const std::unique_ptr<QTranslator> translator = LoadTranslation(locale, QStringLiteral("quillmere"), {kBuiltFolder});
    QCOMPARE(translator != nullptr, !expected.isEmpty());
    QCOMPARE(translated(translator.get()), expected);
}

void TranslationsTest::foldersInOrder_data()
{
    QTest::addColumn<QStringList>("folders"); // "{empty}", "{broken}" and "{built}" stand for test folders
    QTest::addColumn<bool>("found");

    QTest::newRow("built") << QStringList{"{built}"} << true;
    QTest::newRow("none") << QStringList{} << false;
    QTest::newRow("missing folder first") << QStringList{"{missing}", "{built}"} << true;
    QTest::newRow("empty folder first") << QStringList{"{empty}", "{built}"} << true;
    // A damaged file does not end the search, nor is it taken.
    QTest::newRow("broken file first") << QStringList{"{broken}", "{built}"} << true;
    QTest::newRow("broken file only") << QStringList{"{broken}"} << false;
}

void TranslationsTest::foldersInOrder()
{
    QFETCH(QStringList, folders);
    QFETCH(bool, found);

    QTemporaryDir empty;
    QTemporaryDir broken;
    QVERIFY(empty.isValid() && broken.isValid());
    QFile damaged(broken.filePath(QStringLiteral("quillmere_de.qm")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    QVERIFY(damaged.write("not a message file") > 0);
    damaged.close();
    for (QString &folder : folders) {
        folder.replace(QStringLiteral("{built}"), kBuiltFolder)
            .replace(QStringLiteral("{empty}"), empty.path())
            .replace(QStringLiteral("{broken}"), broken.path())
            .replace(QStringLiteral("{missing}"), empty.filePath(QStringLiteral("missing")));
    }

    const std::unique_ptr<QTranslator> translator =
        LoadTranslation(QLocale(QStringLiteral("de_DE")), QStringLiteral("quillmere"), folders);
    QCOMPARE(translator != nullptr, found);
    QCOMPARE(translated(translator.get()), found ? kGerman : QString());
    if (found)
        QCOMPARE(QFileInfo(translator->filePath()).absolutePath(), QFileInfo(kBuiltFolder).absoluteFilePath());
}

void TranslationsTest::installsBesideProgram_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("cancel"); // Qt's own standard button

    QTest::newRow("German") << QLocale(QStringLiteral("de_DE")) << kGerman << QStringLiteral("Abbrechen");
    QTest::newRow("English") << QLocale(QStringLiteral("en_US")) << QString::fromLatin1(kMessage)
                             << QStringLiteral("Cancel");
    QTest::newRow("C") << QLocale::c() << QString::fromLatin1(kMessage) << QStringLiteral("Cancel");
    // Without the program's own texts Qt's stay English too: no mixed window.
    QTest::newRow("French") << QLocale(QStringLiteral("fr_FR")) << QString::fromLatin1(kMessage)
                            << QStringLiteral("Cancel");
}

void TranslationsTest::installsBesideProgram()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, message);
    QFETCH(QString, cancel);

    // The test runs from the folder of the programs, so it finds the
    // translations where they do.
    const InstalledTranslations installed = InstallTranslations(*QCoreApplication::instance(), locale);
    QCOMPARE(QCoreApplication::translate(kContext, kMessage), message);
    QCOMPARE(installed.programFile.isEmpty(), message == QString::fromLatin1(kMessage));
    if (!installed.programFile.isEmpty()) {
        QCOMPARE(QFileInfo(installed.programFile).absolutePath(),
                 QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("translations")));
    }

    const bool qtTranslated = QFile::exists(
        QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(QStringLiteral("qtbase_de.qm")));
    if (cancel != QLatin1String("Cancel") && !qtTranslated)
        QSKIP("Qt's own German translation is not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    QCOMPARE(installed.qtFile.isEmpty(), cancel == QLatin1String("Cancel"));
}

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
