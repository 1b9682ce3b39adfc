// Runs the built quillmere-rename on temporary folders and checks what it
// prints, what it answers and what it leaves on disk.

#include "core/ProductInfo.h"

#include "CliProcess.h"
#include "TempFolder.h"

#include <QProcess>
#include <QtTest>

namespace {

using Outcome = CliOutcome;

Outcome runCli(const QStringList &arguments)
{
    return RunCli(arguments, 60000);
}

// "{dir}" in the arguments stands for the folder of the test.
QStringList withFolder(QStringList arguments, const QString &folder)
{
    for (QString &argument : arguments)
        argument.replace(QStringLiteral("{dir}"), folder);
    return arguments;
}

QStringList numberedNames(const QString &pattern, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(pattern.arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

} // namespace

class TestCliEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void renames_data();
    void renames();
    void refuses_data();
    void refuses();
    void printsVersion();
};

void TestCliEndToEnd::renames_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("out");
    // Each stderr line starts with the program's name, the file's name and
    // ": "; the reason is the engine's wording and not fixed here.
    QTest::addColumn<QStringList>("leftInPlace");
    // Files that already have their new name: named by the dry run only.
    QTest::addColumn<QStringList>("unchanged");

    QTest::newRow("name, all, zero fill")
        << QStringList{"b.jpg", "a.jpg", "README", "C.png"} << QStringList{"--text", "Photo", "--all", "{dir}"} << 0
        << QStringList{"a.jpg -> Photo001.jpg", "b.jpg -> Photo002.jpg", "C.png -> Photo003.png",
                       "README -> Photo004"}
        << QStringList{} << QStringList{};
    QTest::newRow("both, start and no pad")
        << QStringList{"x.txt", "y.doc"}
        << QStringList{"--type", "both", "--text", "F", "--ext", "md", "--start", "007", "--no-pad", "--all", "{dir}"}
        << 0 << QStringList{"x.txt -> F007.md", "y.doc -> F8.md"} << QStringList{} << QStringList{};

    // Zero fill follows the files listed under the filter, not the selection.
    const QStringList many = numberedNames(QStringLiteral("t%1.txt"), 120) + QStringList{"p.jpg", "q.jpg"};
    QTest::newRow("filter: width from the filtered list")
        << many << QStringList{"--filter", "jpg", "--text", "P", "--all", "{dir}"} << 0
        << QStringList{"p.jpg -> P001.jpg", "q.jpg -> P002.jpg"} << QStringList{} << QStringList{};
    QTest::newRow("no filter: width from the whole list")
        << many << QStringList{"--text", "P", "{dir}", "q.jpg", "p.jpg"} << 0
        << QStringList{"p.jpg -> P0001.jpg", "q.jpg -> P0002.jpg"} << QStringList{} << QStringList{};

    QTest::newRow("keep existing")
        << QStringList{"a.txt", "b.txt", "Photo001.txt"} << QStringList{"--text", "Photo", "{dir}", "a.txt", "b.txt"}
        << 0 << QStringList{"a.txt -> Photo001_.txt", "b.txt -> Photo002.txt"} << QStringList{} << QStringList{};
    QTest::newRow("overwrite")
        << QStringList{"a.txt", "b.txt", "Photo001.txt"}
        << QStringList{"--overwrite", "--text", "Photo", "{dir}", "a.txt", "b.txt"} << 0
        << QStringList{"a.txt -> Photo001.txt", "b.txt -> Photo002.txt"} << QStringList{} << QStringList{};
    QTest::newRow("prefix leaves the number alone")
        << QStringList{"a.txt", "b.txt"} << QStringList{"--type", "prefix", "--text", "old_", "--all", "{dir}"} << 0
        << QStringList{"a.txt -> old_a.txt", "b.txt -> old_b.txt"} << QStringList{} << QStringList{};

    // Running the same command again must not fail a script.
    QTest::newRow("already named so")
        << QStringList{"a.txt", "b.jpg"} << QStringList{"--type", "ext", "--ext", "txt", "--all", "{dir}"} << 0
        << QStringList{"b.jpg -> b.txt"} << QStringList{} << QStringList{"a.txt"};
    QTest::newRow("all already named so")
        << QStringList{"Photo001.jpg", "Photo002.jpg"} << QStringList{"--text", "Photo", "--all", "{dir}"} << 0
        << QStringList{} << QStringList{} << QStringList{"Photo001.jpg", "Photo002.jpg"};
    const QString longName = QString(250, u'b') + QStringLiteral(".txt");
    QTest::newRow("some left in place")
        << QStringList{"a.txt", longName} << QStringList{"--type", "prefix", "--text", "pre_", "--all", "{dir}"} << 1
        << QStringList{"a.txt -> pre_a.txt"} << QStringList{longName} << QStringList{};
    QTest::newRow("name leaving the folder")
        << QStringList{"a.txt"} << QStringList{"--text", "../x", "--all", "{dir}"} << 1 << QStringList{}
        << QStringList{"a.txt"} << QStringList{};
    QTest::newRow("ext: the number is not used")
        << QStringList{"a.txt"} << QStringList{"--type", "ext", "--ext", "md", "--start", "x", "--all", "{dir}"} << 0
        << QStringList{"a.txt -> a.md"} << QStringList{} << QStringList{};
    QTest::newRow("empty list, nothing to do")
        << QStringList{"a.txt"} << QStringList{"--filter", "jpg", "--text", "n", "--all", "{dir}"} << 0
        << QStringList{} << QStringList{} << QStringList{};
}

void TestCliEndToEnd::renames()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, out);
    QFETCH(QStringList, leftInPlace);
    QFETCH(QStringList, unchanged);

    TempFolder folder;
    QVERIFY(folder.writeNamed(files));
    const QMap<QString, QByteArray> before = folder.contents();
    const QStringList args = withFolder(arguments, folder.path());

    // A dry run announces exactly what the real run then does, and touches
    // nothing.
    const Outcome dry = runCli(QStringList{"--dry-run"} + args);
    QCOMPARE(dry.exitCode, exitCode);
    QStringList dryOut = out;
    for (const QString &name : std::as_const(unchanged))
        dryOut.append(name + QStringLiteral(": unchanged"));
    QCOMPARE(dry.out, dryOut);
    QCOMPARE(dry.err.size(), leftInPlace.size());
    QCOMPARE(folder.contents(), before);

    const Outcome real = runCli(args);
    QCOMPARE(real.exitCode, exitCode);
    QCOMPARE(real.out, out);
    QCOMPARE(real.err, dry.err);
    for (qsizetype i = 0; i < leftInPlace.size(); ++i)
        QVERIFY2(real.err.at(i).startsWith(QStringLiteral("quillmere-rename: ") + leftInPlace.at(i) + QStringLiteral(": ")),
                 qPrintable(real.err.at(i)));

    // Every renamed file holds its old content under its new name; files
    // left in place are untouched; nothing else changed but replaced files.
    QMap<QString, QByteArray> expected = before;
    for (const QString &line : std::as_const(out)) {
        const QStringList parts = line.split(QStringLiteral(" -> "));
        QCOMPARE(parts.size(), 2);
        expected.remove(parts.at(0));
        expected.insert(parts.at(1), before.value(parts.at(0)));
    }
    QCOMPARE(folder.contents(), expected);
}

void TestCliEndToEnd::refuses_data()
{
    QTest::addColumn<QStringList>("arguments");
    // The first line of stderr after "quillmere-rename: ", or its start when
    // it ends in "*".
    QTest::addColumn<QString>("message");
    // Whether it is a usage error, which points to --help on a second line.
    QTest::addColumn<bool>("usage");

    QTest::newRow("no name") << QStringList{"--all", "{dir}"} << "You must enter a file name." << true;
    QTest::newRow("one space") << QStringList{"--text", " ", "--all", "{dir}"} << "You must enter a file name." << true;
    QTest::newRow("both without ext")
        << QStringList{"--type", "both", "--text", "X", "--all", "{dir}"} << "You must enter a file extension." << true;
    QTest::newRow("both: name checked first")
        << QStringList{"--type", "both", "--all", "{dir}"} << "You must enter a file name." << true;
    QTest::newRow("ext without ext") << QStringList{"--type", "ext", "--all", "{dir}"}
                                     << "You must enter a file extension." << true;
    QTest::newRow("no start number") << QStringList{"--text", "n", "--start", "", "--all", "{dir}"}
                                     << "You must choose a starting number to increment filenames." << true;
    // The window's number box puts "1" back for anything else; here a typo
    // must not rename the first file and leave the others.
    QTest::newRow("start is no number") << QStringList{"--text", "n", "--start", "l0", "--all", "{dir}"}
                                        << "the starting number \"l0\" is no whole number" << true;
    QTest::newRow("start past the range")
        << QStringList{"--type", "both", "--text", "n", "--ext", "x", "--start", "2147483648", "--all", "{dir}"}
        << "the starting number \"2147483648\" is no whole number" << true;
    QTest::newRow("prefix") << QStringList{"--type", "prefix", "--all", "{dir}"} << "You must enter prefix." << true;
    QTest::newRow("suffix") << QStringList{"--type", "suffix", "--text", " ", "--all", "{dir}"}
                            << "You must enter suffix." << true;
    QTest::newRow("name not listed") << QStringList{"--text", "n", "{dir}", "a.txt", "nope.txt"} << "nope.txt: *" << false;
    QTest::newRow("name hidden by the filter")
        << QStringList{"--filter", "jpg", "--text", "n", "{dir}", "a.txt"} << "a.txt: *" << false;
    QTest::newRow("missing folder") << QStringList{"--text", "n", "--all", "{dir}/nope"} << "*" << false;
    QTest::newRow("unknown type") << QStringList{"--type", "rename", "--all", "{dir}"} << "*" << true;
    QTest::newRow("no folder") << QStringList{"--text", "n"} << "*" << true;
}

void TestCliEndToEnd::refuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QFETCH(bool, usage);

    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.txt", "b.txt"}));
    const QMap<QString, QByteArray> before = folder.contents();

    const Outcome outcome = runCli(withFolder(arguments, folder.path()));
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.out, QStringList{});
    QCOMPARE(outcome.err.size(), usage ? 2 : 1);
    const QString prefixed = QStringLiteral("quillmere-rename: ") + message;
    if (message.endsWith(u'*'))
        QVERIFY2(outcome.err.constFirst().startsWith(prefixed.chopped(1)), qPrintable(outcome.err.constFirst()));
    else
        QCOMPARE(outcome.err.constFirst(), prefixed);
    if (usage)
        QCOMPARE(outcome.err.at(1), QStringLiteral("Try 'quillmere-rename --help' for more information."));
    QCOMPARE(folder.contents(), before);
}

void TestCliEndToEnd::printsVersion()
{
    const Outcome outcome = runCli({"--version"});
    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out.size(), 1);
    QVERIFY2(outcome.out.constFirst().endsWith(u' ' + VersionText(ReadVersionRecord())),
             qPrintable(outcome.out.constFirst()));
}

QTEST_GUILESS_MAIN(TestCliEndToEnd)
#include "tst_cli_end_to_end.moc"
