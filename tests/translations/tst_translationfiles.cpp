// The translation files that ship: every text of the program translated,
// nothing left over, and each translation fit to replace its text.

#include "TsCheck.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList kShippedFiles = QStringLiteral(QUILLMERE_TRANSLATION_FILES).split(u'|', Qt::SkipEmptyParts);

QByteArray tsFile(const QByteArray &messages)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"de_DE\">\n"
           "<context>\n<name>Ctx</name>\n" + messages + "</context>\n</TS>\n";
}

QByteArray message(const QByteArray &source, const QByteArray &translation, const QByteArray &attributes = {})
{
    return "<message><source>" + source + "</source><translation" + attributes + ">" + translation
         + "</translation></message>\n";
}

QStringList describe(const QList<TsProblem> &problems)
{
    QStringList lines;
    for (const TsProblem &problem : problems)
        lines.append(problem.describe());
    return lines;
}

} // namespace

class TranslationFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void findsProblems_data();
    void findsProblems();
    void shippedFilesComplete_data();
    void shippedFilesComplete();
    void shippedFilesCoverSources_data();
    void shippedFilesCoverSources();
};

void TranslationFilesTest::findsProblems_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("kinds");

    QTest::newRow("translated") << tsFile(message("Exit", "Beenden")) << QList<int>{};
    QTest::newRow("unfinished") << tsFile(message("Exit", "", " type=\"unfinished\"")) << QList<int>{TsProblem::Unfinished};
    QTest::newRow("unfinished with a draft")
        << tsFile(message("Exit", "Beenden", " type=\"unfinished\"")) << QList<int>{TsProblem::Unfinished};
    QTest::newRow("empty") << tsFile(message("Exit", "")) << QList<int>{TsProblem::Unfinished};
    QTest::newRow("vanished") << tsFile(message("Exit", "Beenden", " type=\"vanished\"")) << QList<int>{TsProblem::Leftover};
    QTest::newRow("obsolete") << tsFile(message("Exit", "Beenden", " type=\"obsolete\"")) << QList<int>{TsProblem::Leftover};
    QTest::newRow("placeholder lost") << tsFile(message("The drive %1 is not ready.", "Das Laufwerk ist nicht bereit."))
                                      << QList<int>{TsProblem::Placeholders};
    QTest::newRow("placeholder renumbered") << tsFile(message("%1 (%2)", "%1 (%3)")) << QList<int>{TsProblem::Placeholders};
    QTest::newRow("placeholders reordered") << tsFile(message("%1 of %2", "%2: %1")) << QList<int>{};
    QTest::newRow("line break lost") << tsFile(message("Done.\n", "Fertig.")) << QList<int>{TsProblem::LineEnd};
    QTest::newRow("blank lost") << tsFile(message("write error: ", "Schreibfehler:")) << QList<int>{TsProblem::LineEnd};
    QTest::newRow("blank kept") << tsFile(message("write error: ", "Schreibfehler: ")) << QList<int>{};
    QTest::newRow("plural forms")
        << tsFile("<message numerus=\"yes\"><source>%n files</source><translation>"
                  "<numerusform>%n Datei</numerusform><numerusform>%n Dateien</numerusform>"
                  "</translation></message>\n")
        << QList<int>{};
    QTest::newRow("plural form without count")
        << tsFile("<message numerus=\"yes\"><source>%n files</source><translation>"
                  "<numerusform>%n Datei</numerusform><numerusform>Dateien</numerusform>"
                  "</translation></message>\n")
        << QList<int>{TsProblem::Placeholders};
    QTest::newRow("two problems, file order")
        << tsFile(message("A %1", "B") + message("Exit", "Beenden") + message("Help", "", " type=\"unfinished\""))
        << QList<int>{TsProblem::Placeholders, TsProblem::Unfinished};
    QTest::newRow("not a translation file") << QByteArray("<html></html>") << QList<int>{TsProblem::Unreadable};
    QTest::newRow("cut short") << tsFile(message("Exit", "Beenden")).left(120) << QList<int>{TsProblem::Unreadable};
}

void TranslationFilesTest::findsProblems()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, kinds);

    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const QList<TsProblem> problems = CheckTranslationFile(buffer);
    QList<int> found;
    for (const TsProblem &problem : problems)
        found.append(problem.kind);
    QCOMPARE(found, kinds);
}

void TranslationFilesTest::shippedFilesComplete_data()
{
    QTest::addColumn<QString>("path");
    QVERIFY(!kShippedFiles.isEmpty());
    for (const QString &path : kShippedFiles)
        QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
}

void TranslationFilesTest::shippedFilesComplete()
{
    QFETCH(QString, path);

    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QStringList problems = describe(CheckTranslationFile(file));
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

void TranslationFilesTest::shippedFilesCoverSources_data()
{
    shippedFilesComplete_data();
}

void TranslationFilesTest::shippedFilesCoverSources()
{
    QFETCH(QString, path);

    // The file brought up to date with today's sources, in a copy: a text
    // added or changed since shows up unfinished, a removed one as leftover.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString copy = folder.filePath(QFileInfo(path).fileName());
    QVERIFY(QFile::copy(path, copy));
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

    QStringList arguments = QStringLiteral(QUILLMERE_LUPDATE_OPTIONS).split(u'|', Qt::SkipEmptyParts);
    arguments << QStringLiteral(QUILLMERE_SOURCE_FOLDER) << QStringLiteral("-ts") << copy;
    QProcess lupdate;
    lupdate.start(QStringLiteral(QUILLMERE_LUPDATE), arguments);
    QVERIFY2(lupdate.waitForFinished(60000), qPrintable(lupdate.errorString()));
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAllStandardError().constData());

    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList problems = describe(CheckTranslationFile(file));
    QVERIFY2(problems.isEmpty(),
             qPrintable(QStringLiteral("%1 is behind the sources; build the target update_translations and "
                                       "translate what it marks unfinished:\n%2")
                            .arg(QFileInfo(path).fileName(), problems.join(u'\n'))));
}

QTEST_GUILESS_MAIN(TranslationFilesTest)
#include "tst_translationfiles.moc"
