// quillmere-rename with renaming rules: options in the order given make the
// rules, refusals leave every file where it was, and --undo takes a rules
// run back exactly.

#include "CliProcess.h"
#include "TempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QtTest>

class TestCliRules : public QObject
{
    Q_OBJECT

private slots:
    void renamesByRules_data();
    void renamesByRules();
    void refusedWithNothingRenamed_data();
    void refusedWithNothingRenamed();
    void refusedForOneFile_data();
    void refusedForOneFile();
    void undoRestoresEveryFile();
    void savesListsAndLoadsPresets();
    void removeFormsSurviveAPreset();
    void numbersAWholeFolderByItsFiles_data();
    void numbersAWholeFolderByItsFiles();
};

void TestCliRules::renamesByRules_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("expectedOut");

    QTest::newRow("find and replace, case, number")
        << QStringList{"-f", "IMG_(\\d+) (\\w+)", "-r", "$2 $1", "--case", "title", "--number", "start", "--start",
                       "10", "--step", "-5", "--width", "2"}
        << QStringList{"IMG_0001 beach.JPG -> 10Beach 0001.JPG", "IMG_0002 sea.jpg -> 05Sea 0002.jpg",
                       "notes.txt -> 00Notes.txt"};
    QTest::newRow("no replacement deletes; scope; literal; nth")
        << QStringList{"--find", "IMG_", "--scope", "ext", "--case", "lower", "--scope", "stem", "-f", "0", "--literal",
                       "--nth", "last", "-i"}
        << QStringList{"IMG_0001 beach.JPG -> 001 beach.jpg", "IMG_0002 sea.jpg -> 002 sea.jpg",
                       "notes.txt: unchanged"};
    QTest::newRow("template, insert at, sort reversed, clean-up")
        << QStringList{"--template", "{n} {name}", "--number", "token", "--sort", "name", "--reverse", "--width",
                       "none", "--insert", "!", "--at", "0", "--clean", "spaces", "--clean", "underscores"}
        << QStringList{"IMG_0001 beach.JPG -> !3_IMG_0001_beach.JPG", "IMG_0002 sea.jpg -> !2_IMG_0002_sea.jpg",
                       "notes.txt -> !1_notes.txt"};
    QTest::newRow("remove first, between (markers too), last of the extension")
        << QStringList{"--remove-first", "4", "--remove-between", "0", " ", "--scope", "ext", "--remove-last=1"}
        << QStringList{"IMG_0001 beach.JPG -> beach.JP", "IMG_0002 sea.jpg -> sea.jp", "notes.txt -> s.tx"};
    QTest::newRow("between ignoring case over the whole name; counts past the end")
        << QStringList{"--scope", "name", "--remove-between=img_", " ", "-i", "--remove-first", "0", "--scope", "ext",
                       "--remove-last", "2147483647"}
        << QStringList{"IMG_0001 beach.JPG -> beach", "IMG_0002 sea.jpg -> sea", "notes.txt -> notes"};
}

void TestCliRules::renamesByRules()
{
    QFETCH(QStringList, options);
    QFETCH(QStringList, expectedOut);
    TempFolder folder;
    QVERIFY(folder.writeNamed({"IMG_0001 beach.JPG", "IMG_0002 sea.jpg", "notes.txt"}));
    const auto before = FolderChecksums(folder.path());
    // The dry run tells what the run then does.
    const CliOutcome dry = RunCli(QStringList{"-n", "--all"} + options + QStringList{folder.path()});
    QCOMPARE(dry.err, QStringList());
    QCOMPARE(dry.out, expectedOut);
    QCOMPARE(dry.exitCode, 0);
    QCOMPARE(FolderChecksums(folder.path()), before);
    const CliOutcome real = RunCli(QStringList{"--all"} + options + QStringList{folder.path()});
    QCOMPARE(real.exitCode, 0);
    QStringList renamed = expectedOut.filter(QStringLiteral(" -> "));
    QCOMPARE(real.out, renamed);
    for (const QString &line : std::as_const(renamed)) {
        const QStringList parts = line.split(QStringLiteral(" -> "));
        QCOMPARE(folder.read(parts.at(1)), parts.at(0).toUtf8());
    }
}

void TestCliRules::refusedWithNothingRenamed_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QString>("errorHolds");

    QTest::newRow("expression that does not compile") << QStringList{"-f", "(x", "-r", "y"} << QString()
                                                      << "rule 1 (replace): the expression \"(x\" does not compile";
    QTest::newRow("group that does not exist") << QStringList{"--case", "upper", "-f", "(x)", "-r", "$2"} << QString()
                                               << "rule 2 (replace): the replacement names the group \"2\"";
    QTest::newRow("two files, one name, replacing") << QStringList{"--template", "same", "--overwrite"} << QString()
                                                    << "would both be renamed to";
    QTest::newRow("damaged preset") << QStringList{"--case", "upper"}
                                    << "quillmere-rules 1\n[rule]\nkind = case\ncase = loud\n" << "line 4:";
    QTest::newRow("preset of a newer version") << QStringList{} << "quillmere-rules 7\n" << "line 1: the preset is of version 7";
    QTest::newRow("rules with --type") << QStringList{"--type", "prefix", "--case", "upper"} << QString()
                                       << "renaming rules and option '--type' exclude each other";
    QTest::newRow("--replace without --find") << QStringList{"-r", "x"} << QString() << "option '--replace' must follow '--find'";
    QTest::newRow("bad width") << QStringList{"--number", "end", "--width", "wide"} << QString() << "'wide' is no width";
    QTest::newRow("rules with --undo") << QStringList{"--undo", "--case", "upper"} << QString()
                                       << "renaming rules and option '--undo' exclude each other";
    QTest::newRow("count that is no number") << QStringList{"--remove-first", "two"} << QString()
                                             << "'two' is no count of characters";
    QTest::newRow("negative count") << QStringList{"--remove-last=-2"} << QString() << "'-2' is no count of characters";
    QTest::newRow("count with a unit") << QStringList{"--remove-last", "3c"} << QString() << "'3c' is no count";
    QTest::newRow("closing marker missing") << QStringList{"--case", "upper", "--remove-between", "("} << QString()
                                            << "option '--remove-between' requires two arguments";
    QTest::newRow("both markers missing") << QStringList{"--remove-between"} << QString()
                                          << "option '--remove-between' requires two arguments";
    QTest::newRow("empty marker") << QStringList{"--remove-between", "(", ""} << QString()
                                  << "option '--remove-between' needs two markers that are not empty";
    QTest::newRow("--replace after --remove-first") << QStringList{"--remove-first", "1", "-r", "x"} << QString()
                                                    << "option '--replace' must follow '--find'";
    QTest::newRow("--literal after --remove-between") << QStringList{"--remove-between", "(", ")", "--literal"}
                                                      << QString() << "option '--literal' must follow '--find'";
    QTest::newRow("-i after --remove-last") << QStringList{"--remove-last", "1", "-i"} << QString()
                                            << "option '--ignore-case' must follow '--find' or '--remove-between'";
}

void TestCliRules::refusedWithNothingRenamed()
{
    QFETCH(QStringList, options);
    QFETCH(QString, preset);
    QFETCH(QString, errorHolds);
    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.txt", "b.txt"}));
    TempFolder presets;
    if (!preset.isEmpty()) {
        QVERIFY(presets.write(QStringLiteral("bad.rules"), preset.toUtf8()));
        options << QStringLiteral("--preset") << presets.filePath(QStringLiteral("bad.rules"));
    }
    const auto before = FolderChecksums(folder.path());
    // The folder first: an option missing its value must not take it.
    const CliOutcome outcome = RunCli(QStringList{"--all", folder.path()} + options);
    QCOMPARE(outcome.exitCode, 2);
    QCOMPARE(outcome.out, QStringList());
    QVERIFY2(outcome.err.join(u'\n').contains(errorHolds), qPrintable(outcome.err.join(u'\n')));
    QCOMPARE(FolderChecksums(folder.path()), before);
}

void TestCliRules::refusedForOneFile_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("errorHolds");
    // Only "a.txt" matches: it stays, "b.txt" is renamed all the same.
    QTest::newRow("slash") << QStringList{"-f", "^a$", "-r", "x/y", "-f", "^b$", "-r", "c"}
                           << "a.txt: the new name leaves the folder";
    QTest::newRow("dot-dot") << QStringList{"--scope", "name", "-f", "^a\\.txt$", "-r", "..", "-f", "^b", "-r", "c"}
                             << "a.txt: the new name leaves the folder";
    QTest::newRow("empty") << QStringList{"--scope", "name", "-f", "^a\\.txt$", "-f", "^b", "-r", "c"}
                           << "a.txt: the new name is empty";
    QTest::newRow("over 255 bytes") << QStringList{"-f", "^a$", "-r", QString(128, QChar(0xe9)), "-f", "^b", "-r", "c"}
                                    << "a.txt: the new name is longer than the file system allows";
}

void TestCliRules::refusedForOneFile()
{
    QFETCH(QStringList, options);
    QFETCH(QString, errorHolds);
    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.txt", "b.txt"}));
    const CliOutcome outcome = RunCli(QStringList{"--all"} + options + QStringList{folder.path()});
    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(outcome.out, QStringList{"b.txt -> c.txt"});
    QVERIFY2(outcome.err.join(u'\n').contains(errorHolds), qPrintable(outcome.err.join(u'\n')));
    QCOMPARE(folder.files(), (QStringList{"a.txt", "c.txt"}));
}

void TestCliRules::undoRestoresEveryFile()
{
    TempFolder folder;
    QStringList names;
    for (int k = 4; k <= 13; ++k)
        names << QStringLiteral("file%1.dat").arg(k);
    names << QStringLiteral("Ünïcode name.TXT") << QStringLiteral("other.tar.gz");
    for (const QString &name : std::as_const(names))
        QVERIFY(folder.write(name, name.toUtf8().repeated(3)));
    const auto before = FolderChecksums(folder.path());
    // A renumbering chain, case and a clean-up in one run, replacing.
    const CliOutcome run = RunCli({"--all", "--overwrite", "-f", "^file\\d+$", "-r", "file", "--number", "end",
                                   "--sort", "natural", "--width", "none", "--clean", "ascii", "--case", "upper",
                                   folder.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(folder.exists(QStringLiteral("FILE1.dat")));
    QVERIFY(folder.exists(QStringLiteral("UNICODE NAME12.TXT")));
    QCOMPARE(FolderChecksums(folder.path()).size(), before.size());
    QVERIFY(FolderChecksums(folder.path()) != before);
    const CliOutcome undo = RunCli({"--undo", folder.path()});
    QCOMPARE(undo.exitCode, 0);
    QCOMPARE(undo.out.size(), names.size());
    QCOMPARE(FolderChecksums(folder.path()), before);
}

void TestCliRules::savesListsAndLoadsPresets()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({"a b.txt"}));
    // Saved under the test's own configuration folder.
    const CliOutcome saved = RunCli({"--clean", "underscores", "--case", "upper", "--save-preset", "shout"});
    QCOMPARE(saved.exitCode, 0);
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/quillmere/presets/shout.rules");
    QVERIFY(QFile::exists(file));
    const CliOutcome listed = RunCli({"--list-presets"});
    QCOMPARE(listed.exitCode, 0);
    QVERIFY(listed.out.contains(QStringLiteral("shout")));
    const CliOutcome used = RunCli({"--all", "--preset", "shout", "--insert", "!", folder.path()});
    QCOMPARE(used.out, QStringList{"a b.txt -> A_B!.txt"});
    QVERIFY(QFile::remove(file));
}

void TestCliRules::removeFormsSurviveAPreset()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({"xA [b] c.txt", "yB [Q] d.md"}));
    // Markers with blanks at their ends, and -i, must come back as given.
    const QStringList rules{"--remove-first", "1", "--remove-between", " [q", "] ", "-i", "--scope", "ext",
                            "--remove-last", "1"};
    const QStringList expected{"xA [b] c.txt -> A [b] c.tx", "yB [Q] d.md -> Bd.m"};
    const CliOutcome direct = RunCli(QStringList{"-n", "--all", folder.path()} + rules);
    QCOMPARE(direct.out, expected);
    const CliOutcome saved = RunCli(rules + QStringList{"--save-preset", "removing"});
    QCOMPARE(saved.exitCode, 0);
    const QString file = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/quillmere/presets/removing.rules");
    const CliOutcome used = RunCli({"-n", "--all", folder.path(), "--preset", "removing"});
    QCOMPARE(used.err, QStringList());
    QCOMPARE(used.out, expected);
    QVERIFY(QFile::remove(file));
}

void TestCliRules::numbersAWholeFolderByItsFiles_data()
{
    QTest::addColumn<QString>("sort");
    QTest::newRow("modified") << QStringLiteral("mtime");
    QTest::newRow("size") << QStringLiteral("size");
}

// Every file of a folder numbered by what is read of each while the folder
// is listed: with more files than one batch of those reads, and files the
// list leaves out (hidden, a folder, another extension) among them, each
// number must still be that file's place.
void TestCliRules::numbersAWholeFolderByItsFiles()
{
    QFETCH(QString, sort);
    TempFolder folder;
    constexpr int kCount = 2500;
    std::vector<std::pair<qint64, int>> keyed;
    for (int k = 0; k < kCount; ++k) {
        const qint64 seconds = 1500000000 + qint64((k * 7919) % kCount);
        const int size = (k * 13) % 97;
        QFile file(folder.filePath(QStringLiteral("p%1.txt").arg(k, 4, 10, QLatin1Char('0'))));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, 'x')) == size && file.flush());
        QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds), QFileDevice::FileModificationTime));
        keyed.emplace_back(sort == QLatin1String("size") ? size : seconds, k);
        if (k % 100 == 0) {
            QVERIFY(folder.write(QStringLiteral(".hidden%1.txt").arg(k)));
            QVERIFY(folder.write(QStringLiteral("q%1.jpg").arg(k)));
            QVERIFY(folder.makeFolder(QStringLiteral("sub%1.txt").arg(k)));
        }
    }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList expected;
    for (size_t place = 0; place < keyed.size(); ++place) {
        const QString stem = QStringLiteral("p%1").arg(keyed[place].second, 4, 10, QLatin1Char('0'));
        expected.append(QStringLiteral("%1.txt -> %1-%2.txt").arg(stem).arg(place + 1));
    }
    const CliOutcome dry = RunCli({"-n", "--all", "--filter=txt", "--insert", "-", "--at", "end", "--number", "end",
                                   "--sort", sort, "--width", "none", folder.path()});
    QCOMPARE(dry.err, QStringList());
    QCOMPARE(dry.exitCode, 0);
    QStringList out = dry.out;
    out.sort();
    expected.sort();
    QCOMPARE(out, expected);
}

QTEST_GUILESS_MAIN(TestCliRules)
#include "tst_cli_rules.moc"
