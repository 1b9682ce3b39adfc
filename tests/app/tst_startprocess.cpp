// Starts the built window program itself: its answers on a machine without
// a display, and a folder passed on the command line.

#include "core/ProductInfo.h"
#include "core/SettingsStore.h"

#include "TempFolder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

#include <cerrno>
#include <cstring>

namespace {

// The environment of a terminal with no graphical session at all.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(name));
    return env;
}

} // namespace

class TestStartProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersWithoutDisplay_data();
    void answersWithoutDisplay();
    void failedWriteIsReported_data();
    void failedWriteIsReported();
    void folderFromCommandLineIsShown();
};

void TestStartProcess::answersWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<QString>("language"); // LANG for the program; C.UTF-8 unless given

    const QString version = QStringLiteral("quillmere (%1) %2\n")
                                .arg(ReadVersionRecord().productName, VersionText(ReadVersionRecord()));
    const QString tryHelp = QStringLiteral("Try 'quillmere --help' for more information.\n");
    const QString c = QStringLiteral("C.UTF-8");
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << "" << c;
    QTest::newRow("-V") << QStringList{"-V"} << 0 << version << "" << c;
    QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: quillmere [FOLDER | FILE...]\n" << "" << c;
    QTest::newRow("unknown option") << QStringList{"--bogus", "/tmp"} << 2 << ""
                                    << "quillmere: unrecognized option '--bogus'\n" + tryHelp << c;
    QTest::newRow("toolkit option") << QStringList{"-platform", "offscreen"} << 2 << ""
                                    << "quillmere: invalid option -- 'p'\n" + tryHelp << c;
    // In the user's language, though no window is ever made.
    const QString de = QStringLiteral("de_DE.UTF-8");
    const QString tryHelpDe = QStringLiteral("„quillmere --help“ liefert weitere Informationen.\n");
    QTest::newRow("--help, German") << QStringList{"--help"} << 0 << "Aufruf: quillmere [ORDNER | DATEI...]\n"
                                    << "" << de;
    QTest::newRow("unknown option, German") << QStringList{"--bogus"} << 2 << ""
                                            << "quillmere: unbekannte Option »--bogus«\n" + tryHelpDe << de;
    QTest::newRow("invalid option, German") << QStringList{"-x"} << 2 << ""
                                            << "quillmere: ungültige Option -- »x«\n" + tryHelpDe << de;
    QTest::newRow("--version, German") << QStringList{"--version"} << 0 << version << "" << de;
}

void TestStartProcess::answersWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, language);

    QProcess process;
    QProcessEnvironment env = withoutDisplay();
    for (const char *name : {"LANG", "LC_ALL"})
        env.insert(QString::fromLatin1(name), language);
    for (const char *name : {"LANGUAGE", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUILLMERE_EXE), arguments);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString stdoutText = QString::fromUtf8(process.readAllStandardOutput());
    const QString stderrText = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), exitCode);
    // The help text is long; its first line and its end say enough.
    if (arguments.constFirst() == QLatin1String("--help")) {
        QVERIFY2(stdoutText.startsWith(out), qPrintable(stdoutText));
        QVERIFY(stdoutText.contains(QLatin1String("--version")));
        QVERIFY(stdoutText.endsWith(u'\n'));
    } else {
        QCOMPARE(stdoutText, out);
    }
    QCOMPARE(stderrText, err);
}

void TestStartProcess::failedWriteIsReported_data()
{
    QTest::addColumn<QString>("option");
    QTest::newRow("--help") << "--help";
    QTest::newRow("--version") << "--version";
}

// As GNU tools do: a text that could not be written is said on standard
// error, and the exit status is no success.
void TestStartProcess::failedWriteIsReported()
{
    QFETCH(QString, option);
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("this system has no /dev/full");
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(QUILLMERE_EXE), {option});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             QStringLiteral("quillmere: write error: %1\n").arg(QString::fromLocal8Bit(std::strerror(ENOSPC))));
}

void TestStartProcess::folderFromCommandLineIsShown()
{
    TempFolder home;
    TempFolder place;
    QVERIFY(home.isValid() && place.isValid());
    QVERIFY(place.writeNamed({QStringLiteral("one.txt")}));
    SetSettingsFolderForTesting(home.filePath(QStringLiteral("config")));
    // No help window in the way.
    QVERIFY(WriteOption(QStringLiteral("showHelp"), QStringLiteral("0")));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUILLMERE_EXE), {place.filePath(QStringLiteral("one.txt"))});
    QVERIFY(process.waitForStarted());

    // The folder is stored the moment it is shown, after the splash window.
    QTRY_COMPARE_WITH_TIMEOUT(ReadOption(QStringLiteral("Dir"), QString()), place.path(), 30000);
    QCOMPARE(process.state(), QProcess::Running);
    process.kill();
    process.waitForFinished();
    SetSettingsFolderForTesting(QString());
}

QTEST_MAIN(TestStartProcess)
#include "tst_startprocess.moc"
