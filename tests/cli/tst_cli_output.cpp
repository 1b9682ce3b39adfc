// Runs the built quillmere-rename with arguments and output set up as no
// QProcess could: bytes that are not valid text, a terminal, a full disk, a
// reader that went away.

#include "cli/NameQuoting.h"

#include "RawProcess.h"
#include "TempFolder.h"

#include <QFile>
#include <QtTest>

namespace {

const QByteArray kProgram = QByteArrayLiteral(QUILLMERE_RENAME_EXE);
const QByteArray kTryHelp = QByteArrayLiteral("Try 'quillmere-rename --help' for more information.\n");

QByteArray bytesOf(const QString &path)
{
    return QFile::encodeName(path);
}

// "{dir}" stands for the test's folder, as bytes.
QList<QByteArray> withFolder(QList<QByteArray> arguments, const QByteArray &folder)
{
    for (QByteArray &argument : arguments)
        argument.replace("{dir}", folder);
    return arguments;
}

// Sets the locale variables for the programs a test starts, and puts the
// test's own back when it ends.
class LocaleEnvironment
{
public:
    explicit LocaleEnvironment(const QList<QByteArray> &assignments)
    {
        for (const char *name : kNames) {
            m_saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            qunsetenv(name);
        }
        for (const QByteArray &assignment : assignments) {
            const qsizetype equals = assignment.indexOf('=');
            qputenv(assignment.left(equals).constData(), assignment.mid(equals + 1));
        }
    }
    ~LocaleEnvironment()
    {
        for (const Saved &saved : std::as_const(m_saved)) {
            if (saved.set)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }

private:
    static constexpr const char *kNames[] = {"LANG", "LC_ALL", "LC_MESSAGES", "LANGUAGE"};
    struct Saved
    {
        const char *name;
        QByteArray value;
        bool set;
    };
    QList<Saved> m_saved;
};

// A name that would take over a terminal: retitle it, ring, clear the screen.
const QString kEvilName = QStringLiteral("evil\x1b]0;pwned\a\x1b[2J.jpg");

} // namespace

class TestCliOutput : public QObject
{
    Q_OBJECT

private slots:
    void refusesUndecodableArguments_data();
    void refusesUndecodableArguments();
    void acceptsNonAsciiText();
    void quotesNames_data();
    void quotesNames();
    void escapesNamesOnTerminal_data();
    void escapesNamesOnTerminal();
    void nullSeparatedRecords();
    void failedWrite_data();
    void failedWrite();
    void followsGnuConventions_data();
    void followsGnuConventions();
    void speaksTheUsersLanguage_data();
    void speaksTheUsersLanguage();
    void helpNamesProgramAndStatuses_data();
    void helpNamesProgramAndStatuses();
};

void TestCliOutput::refusesUndecodableArguments_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<QByteArray>("named"); // the argument the message names

    // Texts to put into names must be text; a folder or file named with
    // such bytes is taken as it is (tst_cli_rawnames). U+FFFD, what "\xff"
    // would turn into, is the name of a real folder and file here.
    QTest::newRow("--text") << QList<QByteArray>{"--text", "\xff", "--all", "{dir}"} << QByteArray("--text");
    QTest::newRow("--text=") << QList<QByteArray>{"--text=P\xff", "--all", "{dir}"} << QByteArray("--text");
    QTest::newRow("--ext") << QList<QByteArray>{"--type", "ext", "--ext", "j\xffg", "--all", "{dir}"}
                           << QByteArray("--ext");
    QTest::newRow("--filter") << QList<QByteArray>{"--filter", "\xff", "--text", "P", "--all", "{dir}"}
                              << QByteArray("--filter");
    // A truncated sequence and an overlong encoding are no text either.
    QTest::newRow("truncated sequence") << QList<QByteArray>{"--text", "P\xc3", "--all", "{dir}"}
                                        << QByteArray("--text");
    QTest::newRow("overlong slash") << QList<QByteArray>{"--text", "P\xc0\xaf", "--all", "{dir}"}
                                    << QByteArray("--text");
}

void TestCliOutput::refusesUndecodableArguments()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(QByteArray, named);

    TempFolder folder;
    const QString replacement(QChar(0xfffd));
    QVERIFY(folder.writeNamed({"a.jpg", replacement + QStringLiteral(".jpg")}));
    QVERIFY(folder.write(replacement + QStringLiteral("/b.jpg"), "b"));
    const QMap<QString, QByteArray> before = folder.contents();
    const QStringList innerBefore = QDir(folder.filePath(replacement)).entryList(QDir::Files);

    const RawRun run = RunRaw(kProgram, withFolder(arguments, bytesOf(folder.path())), RawRun::Output::Pipes);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith("quillmere-rename: the " + named + " argument "), run.err.constData());
    QCOMPARE(run.err.count('\n'), 1);
    QCOMPARE(folder.contents(), before);
    QCOMPARE(QDir(folder.filePath(replacement)).entryList(QDir::Files), innerBefore);
}

void TestCliOutput::acceptsNonAsciiText()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("é.jpg"), QStringLiteral("b.jpg")}));
    const RawRun real = RunRaw(kProgram, withFolder({"--text", "Ä\xe2\x82\xac", "{dir}", "é.jpg"}, bytesOf(folder.path())),
                               RawRun::Output::Pipes);
    QCOMPARE(real.err, QByteArray());
    QCOMPARE(real.exitCode, 0);
    QCOMPARE(real.out, QByteArray("é.jpg -> Ä€001.jpg\n"));
    QVERIFY(folder.exists(QStringLiteral("Ä€001.jpg")));
}

void TestCliOutput::quotesNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("quoted");

    // What `ls --quoting-style=shell-escape` prints for each name.
    QTest::newRow("plain") << "plain.jpg" << QByteArray("plain.jpg");
    QTest::newRow("harmless punctuation") << "a%b+c,d-e:f@g]h{i}" << QByteArray("a%b+c,d-e:f@g]h{i}");
    QTest::newRow("space") << "a b.jpg" << QByteArray("'a b.jpg'");
    QTest::newRow("shell characters") << "a$b*c" << QByteArray("'a$b*c'");
    QTest::newRow("hash and tilde first") << "#a" << QByteArray("'#a'");
    QTest::newRow("hash and tilde later") << "a#b~" << QByteArray("a#b~");
    QTest::newRow("lone brace") << "{" << QByteArray("'{'");
    QTest::newRow("single quote") << "it's.jpg" << QByteArray("\"it's.jpg\"");
    QTest::newRow("single quote and dollar") << "a'b$c" << QByteArray("'a'\\''b$c'");
    QTest::newRow("escape sequences") << kEvilName << QByteArray("'evil'$'\\033'']0;pwned'$'\\a\\033''[2J.jpg'");
    QTest::newRow("newline") << "new\nline" << QByteArray("'new'$'\\n''line'");
    QTest::newRow("quote and newline") << "it's\nx" << QByteArray("'it'\\''s'$'\\n''x'");
    QTest::newRow("control first") << "\rx" << QByteArray("''$'\\r''x'");
    QTest::newRow("control last") << "del\x7f" << QByteArray("'del'$'\\177'");
    QTest::newRow("letters for b f v t") << "b\bf\fv\vt\t" << QByteArray("'b'$'\\b''f'$'\\f''v'$'\\v''t'$'\\t'");
    QTest::newRow("other C0") << "x\x01y\x1f" << QByteArray("'x'$'\\001''y'$'\\037'");
    QTest::newRow("C1 control") << QStringLiteral("c1\u009bx") << QByteArray("'c1'$'\\302\\233''x'");
    QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QByteArray("'a'$'\\342\\200\\250''b'");
    QTest::newRow("letters of other scripts") << QStringLiteral("é€日.jpg") << QString(QStringLiteral("é€日.jpg")).toUtf8();
    QTest::newRow("empty") << "" << QByteArray("''");
}

void TestCliOutput::quotesNames()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, quoted);
    QCOMPARE(QuoteNameForTerminal(name), quoted);
}

void TestCliOutput::escapesNamesOnTerminal_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<bool>("renames");
    QTest::addColumn<bool>("namesShown"); // the files' names are printed

    QTest::newRow("renamed lines") << QList<QByteArray>{"--text", "P", "--all", "."} << true << true;
    QTest::newRow("dry run") << QList<QByteArray>{"--dry-run", "--text", "P", "--all", "."} << false << true;
    QTest::newRow("unchanged lines") << QList<QByteArray>{"--dry-run", "--type", "ext", "--ext", "jpg", "--all", "."}
                                     << false << true;
    QTest::newRow("error lines") << QList<QByteArray>{"--text", "../x", "--all", "."} << false << true;
    QTest::newRow("null records") << QList<QByteArray>{"--null", "--text", "P", "--all", "."} << true << true;
    // Texts quoted inside messages are escaped too.
    QTest::newRow("argument in a message")
        << QList<QByteArray>{"--text", "P", "--start", "evil\x1b]0;pwned\a\x1b[2J", "--all", "."} << false << false;
}

void TestCliOutput::escapesNamesOnTerminal()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(bool, renames);
    QFETCH(bool, namesShown);

    const QString splitName = QStringLiteral("two\nlines.jpg");
    for (const RawRun::Output output : {RawRun::Output::Terminal, RawRun::Output::Pipes}) {
        TempFolder folder;
        QVERIFY(folder.writeNamed({kEvilName, splitName}));
        const RawRun run = RunRaw(kProgram, arguments, output, bytesOf(folder.path()));
        const QByteArray seen = run.out + run.err;
        QVERIFY2(seen.contains("evil"), seen.constData());
        if (output == RawRun::Output::Terminal) {
            // Nothing the terminal would act on, and each name on its line.
            QVERIFY2(!seen.contains('\x1b'), seen.constData());
            QVERIFY2(!seen.contains('\a'), seen.constData());
            if (namesShown) {
                QVERIFY2(seen.contains(QuoteNameForTerminal(kEvilName)), seen.constData());
                QVERIFY2(seen.contains(QuoteNameForTerminal(splitName)), seen.constData());
                QVERIFY(!seen.contains("two\nlines"));
            }
        } else {
            // Scripts get the names as they are.
            QVERIFY2(seen.contains("evil\x1b]0;pwned\a"), seen.constData());
            if (namesShown)
                QVERIFY(seen.contains("two\nlines"));
        }
        QCOMPARE(folder.exists(kEvilName), !renames);
    }
}

void TestCliOutput::nullSeparatedRecords()
{
    TempFolder folder;
    const QStringList names{QStringLiteral("a\nb.jpg"), QStringLiteral("c -> d.jpg"), QStringLiteral("e.jpg")};
    QVERIFY(folder.writeNamed(names));
    const QMap<QString, QByteArray> before = folder.contents();

    const RawRun run = RunRaw(kProgram, withFolder({"--null", "--text", "P", "--all", "{dir}"}, bytesOf(folder.path())),
                              RawRun::Output::Pipes);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY(run.out.endsWith('\0'));
    const QList<QByteArray> fields = run.out.chopped(1).split('\0');
    QCOMPARE(fields.size(), 6);
    // Every record names a file that was there and the name it has now.
    for (qsizetype i = 0; i < fields.size(); i += 2) {
        const QString oldName = QString::fromUtf8(fields.at(i));
        const QString newName = QString::fromUtf8(fields.at(i + 1));
        QVERIFY2(before.contains(oldName), fields.at(i).constData());
        QCOMPARE(folder.read(newName), before.value(oldName));
    }
}

void TestCliOutput::failedWrite_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<int>("output");
    QTest::addColumn<bool>("renames"); // whether the files are renamed all the same

    for (const auto &[label, output] : {std::pair{"full disk", RawRun::Output::FullDisk},
                                        std::pair{"closed pipe", RawRun::Output::ClosedPipe}}) {
        QTest::addRow("%s: help", label) << QList<QByteArray>{"--help"} << int(output) << false;
        QTest::addRow("%s: version", label) << QList<QByteArray>{"--version"} << int(output) << false;
        QTest::addRow("%s: rename", label) << QList<QByteArray>{"--text", "P", "--all", "{dir}"} << int(output) << true;
        QTest::addRow("%s: dry run", label) << QList<QByteArray>{"--dry-run", "--text", "P", "--all", "{dir}"}
                                            << int(output) << false;
    }
}

void TestCliOutput::failedWrite()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(int, output);
    QFETCH(bool, renames);

    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.jpg", "b.jpg"}));
    const RawRun run = RunRaw(kProgram, withFolder(arguments, bytesOf(folder.path())), RawRun::Output(output));
    QCOMPARE(run.signal, 0);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.startsWith("quillmere-rename: write error: "), run.err.constData());
    QCOMPARE(folder.exists(QStringLiteral("P001.jpg")), renames);
    QCOMPARE(folder.files().size(), 2);
}

void TestCliOutput::followsGnuConventions_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<QByteArray>("message"); // the first line after "quillmere-rename: "

    // Options of Qt's own are not ours; nor single-dash long options.
    QTest::newRow("Qt platform") << QList<QByteArray>{"-platform", "offscreen", "--text", "P", "--all", "{dir}"}
                                 << QByteArray("unrecognized option '-platform' (long options start with \"--\")");
    QTest::newRow("Qt platform, long") << QList<QByteArray>{"--platform", "offscreen", "--text", "P", "--all", "{dir}"}
                                       << QByteArray("unrecognized option '--platform'");
    QTest::newRow("Qt style") << QList<QByteArray>{"-style=fusion", "--text", "P", "--all", "{dir}"}
                              << QByteArray("unrecognized option '-style=fusion' (long options start with \"--\")");
    QTest::newRow("Qt debugger") << QList<QByteArray>{"-qmljsdebugger=port:1", "--text", "P", "--all", "{dir}"}
                                 << QByteArray("unrecognized option '-qmljsdebugger=port:1' (long options start with \"--\")");
    QTest::newRow("Qt help-all") << QList<QByteArray>{"--help-all"} << QByteArray("unrecognized option '--help-all'");
    QTest::newRow("single-dash all") << QList<QByteArray>{"--text", "P", "-all", "{dir}"}
                                     << QByteArray("unrecognized option '-all' (long options start with \"--\")");
    QTest::newRow("single-dash text") << QList<QByteArray>{"-text", "P", "--all", "{dir}"}
                                      << QByteArray("unrecognized option '-text' (long options start with \"--\")");
    QTest::newRow("short v") << QList<QByteArray>{"-v"} << QByteArray("invalid option -- 'v'");
    QTest::newRow("value missing") << QList<QByteArray>{"--all", "{dir}", "--text"}
                                   << QByteArray("option '--text' requires an argument");
    QTest::newRow("value not allowed") << QList<QByteArray>{"--text", "P", "--all=yes", "{dir}"}
                                       << QByteArray("option '--all' doesn't allow an argument");
    QTest::newRow("missing name") << QList<QByteArray>{"--all", "{dir}"} << QByteArray("You must enter a file name.");
}

void TestCliOutput::followsGnuConventions()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(QByteArray, message);

    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.jpg"}));
    const RawRun run = RunRaw(kProgram, withFolder(arguments, bytesOf(folder.path())), RawRun::Output::Pipes);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, "quillmere-rename: " + message + '\n' + kTryHelp);
    QCOMPARE(folder.files(), QStringList{"a.jpg"});
}

void TestCliOutput::speaksTheUsersLanguage_data()
{
    QTest::addColumn<QList<QByteArray>>("environment");
    QTest::addColumn<QList<QByteArray>>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("outStart");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<QString>("subfolder"); // made beside a.jpg when not empty

    const QByteArray germanTry = "\xc2\xbbquillmere-rename --help\xc2\xab liefert weitere Informationen.\n";
    const QByteArray unknownGerman = "quillmere-rename: nicht erkannte Option \xc2\xbb--bogus\xc2\xab\n" + germanTry;
    const QByteArray unknownEnglish = "quillmere-rename: unrecognized option '--bogus'\n" + kTryHelp;
    const QList<QByteArray> bogus{"--bogus"};

    QTest::newRow("LANG German") << QList<QByteArray>{"LANG=de_DE.UTF-8"} << bogus << 2 << QByteArray()
                                 << unknownGerman << QString();
    QTest::newRow("Austrian German") << QList<QByteArray>{"LANG=de_AT.UTF-8"} << bogus << 2 << QByteArray()
                                     << unknownGerman << QString();
    QTest::newRow("LC_MESSAGES over LANG") << QList<QByteArray>{"LANG=en_US.UTF-8", "LC_MESSAGES=de_DE.UTF-8"}
                                           << bogus << 2 << QByteArray() << unknownGerman << QString();
    QTest::newRow("LC_ALL C over LANG") << QList<QByteArray>{"LANG=de_DE.UTF-8", "LC_ALL=C"} << bogus << 2
                                        << QByteArray() << unknownEnglish << QString();
    QTest::newRow("no translation") << QList<QByteArray>{"LANG=fr_FR.UTF-8"} << bogus << 2 << QByteArray()
                                    << unknownEnglish << QString();
    QTest::newRow("French before German")
        << QList<QByteArray>{"LANG=fr_FR.UTF-8", "LANGUAGE=fr:de"} << bogus << 2 << QByteArray() << unknownGerman
        << QString();
    QTest::newRow("help") << QList<QByteArray>{"LANG=de_DE.UTF-8"} << QList<QByteArray>{"--help"} << 0
                          << QByteArray("Aufruf: quillmere-rename [OPTION]... ORDNER NAME...\n") << QByteArray()
                          << QString();
    // The placeholder is refused whatever the language, with a German message.
    QTest::newRow("refusal")
        << QList<QByteArray>{"LANG=de_DE.UTF-8"} << QList<QByteArray>{"--type=ext", "--all", "{dir}"} << 2
        << QByteArray()
        << "quillmere-rename: Sie m\xc3\xbcssen eine Dateierweiterung eingeben.\n" + germanTry << QString();
    QTest::newRow("folder message")
        << QList<QByteArray>{"LANG=de_DE.UTF-8"} << QList<QByteArray>{"--text=P", "--all", "{dir}/none"} << 2
        << QByteArray() << QByteArray("quillmere-rename: {dir}/none: der Ordner kann nicht gelesen werden: "
                                    "Die Datei oder das Verzeichnis konnte nicht gefunden werden\n")
        << QString();
    // The report on standard output is for scripts: the same in every language.
    QTest::newRow("report")
        << QList<QByteArray>{"LANG=de_DE.UTF-8"}
        << QList<QByteArray>{"--dry-run", "--type=ext", "--ext=jpg", "--all", "{dir}"} << 0
        << QByteArray("a.jpg: unchanged\n") << QByteArray() << QString();
    // What the run says of a file it leaves in place is German too.
    QTest::newRow("left in place")
        << QList<QByteArray>{"LANG=de_DE.UTF-8"}
        << QList<QByteArray>{"--overwrite", "--text=P", "--all", "{dir}"} << 1
        << QByteArray()
        << QByteArray("quillmere-rename: a.jpg: ein Ordner oder anderer Eintrag, der keine Datei ist, "
                      "tr\xc3\xa4gt den neuen Namen\n")
        << "P001.jpg";
}

void TestCliOutput::speaksTheUsersLanguage()
{
    QFETCH(QList<QByteArray>, environment);
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, outStart);
    QFETCH(QByteArray, err);
    QFETCH(QString, subfolder);

    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.jpg"}));
    if (!subfolder.isEmpty())
        QVERIFY(folder.makeFolder(subfolder));
    RawRun run;
    {
        const LocaleEnvironment locale(environment);
        run = RunRaw(kProgram, withFolder(arguments, bytesOf(folder.path())), RawRun::Output::Pipes);
    }
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.startsWith(outStart), run.out.constData());
    QCOMPARE(run.err, err.replace("{dir}", bytesOf(folder.path())));
    QCOMPARE(folder.files(), QStringList{"a.jpg"});
}

void TestCliOutput::helpNamesProgramAndStatuses_data()
{
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<int>("output");

    QTest::newRow("--help, pipe") << QByteArray("--help") << int(RawRun::Output::Pipes);
    QTest::newRow("-h, pipe") << QByteArray("-h") << int(RawRun::Output::Pipes);
    // On a terminal the help keeps its line breaks: only names are escaped.
    QTest::newRow("--help, terminal") << QByteArray("--help") << int(RawRun::Output::Terminal);
}

void TestCliOutput::helpNamesProgramAndStatuses()
{
    QFETCH(QByteArray, option);
    QFETCH(int, output);

    // Started by its full path, it still calls itself by its name.
    RawRun run = RunRaw(kProgram, {option}, RawRun::Output(output));
    // The terminal turns each line break into a carriage return and one.
    run.out.replace("\r\n", "\n");
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QVERIFY2(run.out.startsWith("Usage: quillmere-rename [OPTION]... FOLDER NAME...\n"), run.out.constData());
    QVERIFY2(!run.out.contains("\\n"), run.out.constData());
    QVERIFY(!run.out.contains(kProgram));
    const qsizetype statuses = run.out.indexOf("\nExit status:\n");
    QVERIFY(statuses > 0);
    const QByteArray tail = run.out.mid(statuses);
    for (const char *status : {"\n 0  ", "\n 1  ", "\n 2  "})
        QVERIFY2(tail.contains(status), status);
}

QTEST_GUILESS_MAIN(TestCliOutput)
#include "tst_cli_output.moc"
