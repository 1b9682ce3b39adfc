#include "cli/CliOptions.h"

#include <QtTest>

using Action = CliParseResult::Action;

class TestCliOptions : public QObject
{
    Q_OBJECT

private slots:
    void readsRequest_data();
    void readsRequest();
    void refusesArguments_data();
    void refusesArguments();
    void refusesUndecodable_data();
    void refusesUndecodable();
    void selectsEntries_data();
    void selectsEntries();
};

namespace {

QStringList args(const QStringList &rest)
{
    return QStringList{QStringLiteral("quillmere-rename")} + rest;
}

} // namespace

void TestCliOptions::readsRequest_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QString>("numberText");
    QTest::addColumn<bool>("pad");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("dryRun");

    const QString placeholder = QString(kExtensionPlaceholder);
    QTest::newRow("defaults") << args({"dir", "a.jpg"}) << int(NameOnly) << "" << placeholder << "1" << true
                              << true << "*.*" << false << QStringList{"a.jpg"} << false;
    QTest::newRow("both, everything set")
        << args({"--type", "both", "--text", "Photo", "--ext", "png", "--start", "007", "--no-pad", "--overwrite",
                 "--filter", "jpg", "--all", "--dry-run", "dir"})
        << int(BothNameAndExtension) << "Photo" << "png" << "007" << false << false << "*.jpg" << true
        << QStringList{} << true;
    QTest::newRow("ext type, '=' form") << args({"--type=ext", "--ext=zip", "dir", "x", "y"}) << int(ExtensionOnly)
                                        << "" << "zip" << "1" << true << true << "*.*" << false
                                        << QStringList{"x", "y"} << false;
    QTest::newRow("prefix, explicit pad and keep")
        << args({"--type", "prefix", "--text", "old_", "--pad", "--keep-existing", "dir", "a"}) << int(AddPrefix)
        << "old_" << placeholder << "1" << true << true << "*.*" << false << QStringList{"a"} << false;
    QTest::newRow("suffix, texts kept as typed")
        << args({"--type", "suffix", "--text", "  ", "--start", "", "dir", "a"}) << int(AddSuffix) << "  "
        << placeholder << "" << true << true << "*.*" << false << QStringList{"a"} << false;
    QTest::newRow("empty filter: files without extension")
        << args({"--filter", "", "--text", "n", "dir", "README"}) << int(NameOnly) << "n" << placeholder << "1"
        << true << true << "*." << false << QStringList{"README"} << false;
    QTest::newRow("empty ext is an extension") << args({"--type", "ext", "--ext", "", "dir", "a"})
                                               << int(ExtensionOnly) << "" << "" << "1" << true << true << "*.*"
                                               << false << QStringList{"a"} << false;
    QTest::newRow("value that starts with a dash")
        << args({"--text", "-x", "dir", "a"}) << int(NameOnly) << "-x" << placeholder << "1" << true << true << "*.*"
        << false << QStringList{"a"} << false;
    QTest::newRow("value holding '='") << args({"--text=a=b", "dir", "a"}) << int(NameOnly) << "a=b" << placeholder
                                       << "1" << true << true << "*.*" << false << QStringList{"a"} << false;
    QTest::newRow("options after operands")
        << args({"dir", "a", "--text", "n", "b", "--dry-run"}) << int(NameOnly) << "n" << placeholder << "1" << true
        << true << "*.*" << false << QStringList{"a", "b"} << true;
    QTest::newRow("lone dash is a name") << args({"--text", "n", "dir", "-"}) << int(NameOnly) << "n" << placeholder
                                         << "1" << true << true << "*.*" << false << QStringList{"-"} << false;
    QTest::newRow("names after --") << args({"--text", "n", "dir", "--", "--all"}) << int(NameOnly) << "n"
                                    << placeholder << "1" << true << true << "*.*" << false
                                    << QStringList{"--all"} << false;
}

void TestCliOptions::readsRequest()
{
    QFETCH(QStringList, arguments);

    const CliParseResult result = ParseCliArguments(arguments);
    QCOMPARE(result.action, Action::Run);
    const CliCommand &command = result.command;
    QCOMPARE(command.folder, QStringLiteral("dir"));
    QTEST(int(command.request.type), "type");
    QTEST(command.request.newText, "newText");
    QTEST(command.request.newExtension, "newExtension");
    QTEST(command.request.numberText, "numberText");
    QTEST(command.request.pad, "pad");
    QTEST(command.request.keepExisting, "keepExisting");
    QTEST(command.pattern, "pattern");
    QTEST(command.selectAll, "selectAll");
    QTEST(command.names, "names");
    QTEST(command.dryRun, "dryRun");
    QCOMPARE(command.request.filterOn, command.pattern != QLatin1String("*.*"));
}

void TestCliOptions::refusesArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("no folder") << args({"--all"}) << "FOLDER";
    QTest::newRow("nothing chosen") << args({"dir"}) << "--all";
    QTest::newRow("all and names") << args({"--all", "dir", "a"}) << "not both";
    QTest::newRow("unknown type") << args({"--type", "rename", "--all", "dir"}) << "rename";
    QTest::newRow("type is case-sensitive") << args({"--type", "Name", "--all", "dir"}) << "Name";
    QTest::newRow("unknown option") << args({"--colour", "--all", "dir"}) << "colour";
    QTest::newRow("value missing") << args({"--all", "dir", "--text"}) << "text";
    QTest::newRow("pad both ways") << args({"--pad", "--no-pad", "--all", "dir"}) << "--no-pad";
    QTest::newRow("keep and overwrite") << args({"--keep-existing", "--overwrite", "--all", "dir"}) << "--overwrite";
    QTest::newRow("text twice") << args({"--text", "a", "--text", "b", "--all", "dir"}) << "--text";
    QTest::newRow("single-dash long option") << args({"-all", "dir"}) << "'-all'";
    QTest::newRow("unknown short option") << args({"-x", "--all", "dir"}) << "'x'";
    QTest::newRow("flag with a value") << args({"--dry-run=no", "--all", "dir"}) << "--dry-run";
    QTest::newRow("Qt's help-all") << args({"--help-all"}) << "--help-all";
    QTest::newRow("filter twice") << args({"--filter", "a", "--filter", "b", "--all", "dir"}) << "--filter";
}

void TestCliOptions::refusesArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, messagePart);

    const CliParseResult result = ParseCliArguments(arguments);
    QCOMPARE(result.action, Action::BadArguments);
    QVERIFY2(result.text.contains(messagePart), qPrintable(result.text));
}

void TestCliOptions::refusesUndecodable_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<qsizetype>("undecodable"); // index into arguments
    QTest::addColumn<QString>("role");          // named in the refusal, or empty when accepted

    // The folder and the names are taken with their bytes as they are.
    QTest::newRow("folder") << args({"--all", "d"}) << qsizetype(2) << "";
    QTest::newRow("name") << args({"d", "a", "b"}) << qsizetype(3) << "";
    QTest::newRow("name after --") << args({"d", "--", "a"}) << qsizetype(3) << "";
    QTest::newRow("folder after --") << args({"--all", "--", "d"}) << qsizetype(3) << "";
    QTest::newRow("separate value") << args({"--text", "t", "--all", "d"}) << qsizetype(2) << "--text";
    QTest::newRow("joined value") << args({"--ext=e", "--all", "d"}) << qsizetype(1) << "--ext";
    QTest::newRow("filter") << args({"--filter", "f", "--all", "d"}) << qsizetype(2) << "--filter";
    QTest::newRow("option name") << args({"--te", "--all", "d"}) << qsizetype(1) << "unrecognized";
    // The program's own name is never used.
    QTest::newRow("program name") << args({"--text", "t", "--all", "d"}) << qsizetype(0) << "";
}

void TestCliOptions::refusesUndecodable()
{
    QFETCH(QStringList, arguments);
    QFETCH(qsizetype, undecodable);
    QFETCH(QString, role);

    const CliParseResult result = ParseCliArguments(arguments, {undecodable});
    if (role.isEmpty()) {
        QCOMPARE(result.action, Action::Run);
        return;
    }
    QCOMPARE(result.action, Action::BadArguments);
    QVERIFY2(result.text.contains(role), qPrintable(result.text));
}

void TestCliOptions::selectsEntries_data()
{
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QList<bool>>("selected");
    QTest::addColumn<QStringList>("missing");

    const QStringList listed{"A.txt", "a.txt", "b.jpg"};
    QTest::newRow("all") << listed << QStringList{} << true << QList<bool>{true, true, true} << QStringList{};
    QTest::newRow("some, in any order") << listed << QStringList{"b.jpg", "A.txt"} << false
                                        << QList<bool>{true, false, true} << QStringList{};
    QTest::newRow("exact case only") << listed << QStringList{"a.txt"} << false << QList<bool>{false, true, false}
                                     << QStringList{};
    QTest::newRow("twice is once") << listed << QStringList{"b.jpg", "b.jpg"} << false
                                   << QList<bool>{false, false, true} << QStringList{};
    QTest::newRow("not listed") << listed << QStringList{"B.JPG", "c.txt", "c.txt", "a.txt"} << false
                                << QList<bool>{false, true, false} << QStringList{"B.JPG", "c.txt"};
    QTest::newRow("path is not a name") << listed << QStringList{"./a.txt"} << false
                                        << QList<bool>{false, false, false} << QStringList{"./a.txt"};
    QTest::newRow("empty list") << QStringList{} << QStringList{"a.txt"} << false << QList<bool>{}
                                << QStringList{"a.txt"};
}

void TestCliOptions::selectsEntries()
{
    QFETCH(QStringList, listed);
    QFETCH(QStringList, names);
    QFETCH(bool, selectAll);
    QFETCH(QList<bool>, selected);

    QStringList missing;
    const QList<RenameEntry> entries = SelectCliEntries(listed, names, selectAll, &missing);
    QCOMPARE(entries.size(), listed.size());
    QList<bool> actual;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).name, listed.at(i));
        actual.append(entries.at(i).selected);
    }
    QCOMPARE(actual, selected);
    QTEST(missing, "missing");
}

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
