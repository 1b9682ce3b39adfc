// Where the help window finds its document: beside the program (the build
// tree, a program unpacked into one folder), else in the installed data
// folder reached from the program's folder.

#include "windows/HelpLocation.h"

#include "TempFolder.h"

#include <QtTest>

class TestHelpLocation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void lookUp_data();
    void lookUp();
};

void TestHelpLocation::cleanup()
{
    SetProgramFolderForTesting(std::nullopt);
}

void TestHelpLocation::lookUp_data()
{
    QTest::addColumn<QStringList>("present"); // help documents in the tree, relative to the prefix
    QTest::addColumn<QString>("expected");    // relative to the prefix

    const QString bin = QStringLiteral(INSTALL_BINDIR);
    const QString data = QStringLiteral(INSTALL_DATADIR) + QStringLiteral("/quillmere");
    QTest::newRow("installed") << QStringList{data + "/Help.rtf"} << data + "/Help.rtf";
    QTest::newRow("beside wins") << QStringList{bin + "/Help.rtf", data + "/Help.rtf"} << bin + "/Help.rtf";
    QTest::newRow("only beside") << QStringList{bin + "/Help.rtf"} << bin + "/Help.rtf";
    // The window stays hidden then; the path it tried is the one beside.
    QTest::newRow("neither") << QStringList{} << bin + "/Help.rtf";
    QTest::newRow("other program's data") << QStringList{QStringLiteral(INSTALL_DATADIR) + "/other/Help.rtf"}
                                          << bin + "/Help.rtf";
    // A folder of that name is no document.
    QTest::newRow("folder named like it") << QStringList{data + "/Help.rtf/x"} << bin + "/Help.rtf";
    QTest::newRow("folder beside, document installed") << QStringList{bin + "/Help.rtf/x", data + "/Help.rtf"}
                                                       << data + "/Help.rtf";
}

void TestHelpLocation::lookUp()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);

    TempFolder prefix;
    QVERIFY(prefix.makeFolder(QStringLiteral(INSTALL_BINDIR)));
    for (const QString &file : present)
        QVERIFY(prefix.write(file, "{\\rtf1 help}"));
    SetProgramFolderForTesting(prefix.filePath(QStringLiteral(INSTALL_BINDIR)));

    QCOMPARE(InstalledDataFolder(), prefix.filePath(QStringLiteral(INSTALL_DATADIR) + QStringLiteral("/quillmere")));
    QCOMPARE(HelpFilePath(), prefix.filePath(expected));
}

QTEST_MAIN(TestHelpLocation)
#include "tst_helplocation.moc"
