// The command line renames in a folder right after listing it, and its run
// takes what the listing's read showed instead of reading the folder again.
// Here that run is compared with one that reads the folder itself, on two
// copies of the same folder, over the entries a listing leaves out but a new
// name may meet: hidden files, other patterns, folders, links of every kind.

#include "core/FolderContent.h"
#include "core/FolderHandle.h"
#include "rename/RenameRun.h"
#include "selection/FileListing.h"

#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestListedRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameAsReadingAgain_data();
    void sameAsReadingAgain();
    void listedContentDescribesTheFolder();
};

namespace {

// One folder's make-up, built the same way twice.
bool fillFolder(TempFolder &folder)
{
    return folder.writeNamed({"a.jpg", "B.JPG", "c.jpg", "d.txt", ".x_a.jpg", "x_B.txt", "X_C.JPG", "e.jpg"})
        && folder.makeFolder(QStringLiteral("x_d.jpg")) && folder.makeFolder(QStringLiteral("sub"))
        && ::symlink("a.jpg", QFile::encodeName(folder.filePath(QStringLiteral("link.jpg"))).constData()) == 0
        && ::symlink("sub", QFile::encodeName(folder.filePath(QStringLiteral("x_e.jpg"))).constData()) == 0
        && ::symlink("nowhere", QFile::encodeName(folder.filePath(QStringLiteral("dangling.jpg"))).constData()) == 0;
}

struct Outcome
{
    QStringList renamed;
    QStringList left;
    QStringList unchanged;
    QMap<QString, QByteArray> files;
    QStringList entries;
};

Outcome runIn(const QString &path, const QString &pattern, const RenameRequest &request, bool fromListing)
{
    const FolderHandle folder(path);
    bool readable = false;
    QString text;
    FolderContent content;
    const QStringList listed = ListFolderFiles(folder, pattern, &readable, &text, fromListing ? &content : nullptr);
    QList<RenameEntry> entries;
    for (const QString &name : listed)
        entries.append({name, true});
    RenameRunTarget target;
    const RenameReport report =
        RunRename(folder, entries, request, target,
                  {.fileOperations = &SystemFileOperations(), .listedContent = fromListing ? &content : nullptr});

    Outcome outcome;
    for (const RenamedFile &file : report.renamed)
        outcome.renamed << file.oldName + QStringLiteral(" -> ") + file.newName;
    for (const LeftInPlaceFile &file : report.leftInPlace)
        outcome.left << file.name + QStringLiteral(": ") + QString::number(int(file.reason));
    outcome.unchanged = report.unchanged;
    outcome.files = FolderChecksums(path);
    outcome.entries = QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return outcome;
}

} // namespace

void TestListedRun::sameAsReadingAgain_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("keepExisting");

    QTest::newRow("prefix meets hidden, folder, link, other case") << "*.*" << int(AddPrefix) << "x_" << ""
                                                                    << true;
    QTest::newRow("prefix replacing") << "*.*" << int(AddPrefix) << "x_" << "" << false;
    QTest::newRow("one pattern, names the pattern leaves out") << "*.jpg" << int(AddPrefix) << "x_" << "" << true;
    QTest::newRow("renumber onto listed names") << "*.*" << int(BothNameAndExtension) << "" << "jpg" << true;
    QTest::newRow("renumber replacing listed names") << "*.*" << int(BothNameAndExtension) << "" << "jpg"
                                                     << false;
    QTest::newRow("extension, case only") << "*.JPG" << int(ExtensionOnly) << "" << "jpg" << true;
}

void TestListedRun::sameAsReadingAgain()
{
    QFETCH(QString, pattern);
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, extension);
    QFETCH(bool, keepExisting);

    RenameRequest request;
    request.type = RenamingType(type);
    request.newText = text;
    request.newExtension = extension;
    request.numberText = QStringLiteral("1");
    request.keepExisting = keepExisting;

    TempFolder listedFolder;
    TempFolder readFolder;
    QVERIFY(fillFolder(listedFolder));
    QVERIFY(fillFolder(readFolder));
    if (type == int(BothNameAndExtension)) {
        // Numbered names some files of the folder have already.
        QVERIFY(listedFolder.writeNamed({"2.jpg", ".3.jpg"}) && readFolder.writeNamed({"2.jpg", ".3.jpg"}));
    }

    const Outcome fromListing = runIn(listedFolder.path(), pattern, request, true);
    const Outcome fromReading = runIn(readFolder.path(), pattern, request, false);
    QVERIFY(!fromListing.renamed.isEmpty());
    QCOMPARE(fromListing.renamed, fromReading.renamed);
    QCOMPARE(fromListing.left, fromReading.left);
    QCOMPARE(fromListing.unchanged, fromReading.unchanged);
    QCOMPARE(fromListing.files, fromReading.files);
    QCOMPARE(fromListing.entries, fromReading.entries);
}

// Each listed name comes with its own file's inode and link flag in list
// order, and every entry left out is there with what it is.
void TestListedRun::listedContentDescribesTheFolder()
{
    TempFolder folder;
    QVERIFY(fillFolder(folder));
    bool readable = false;
    QString text;
    FolderContent content;
    const QStringList listed = ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.jpg"), &readable,
                                               &text, &content);
    QVERIFY(readable);
    QCOMPARE(listed, QStringList({"a.jpg", "B.JPG", "c.jpg", "e.jpg", "link.jpg", "X_C.JPG"}));
    QCOMPARE(content.listed.size(), size_t(listed.size()));
    for (qsizetype i = 0; i < listed.size(); ++i) {
        struct stat st;
        QCOMPARE(::lstat(QFile::encodeName(folder.filePath(listed.at(i))).constData(), &st), 0);
        QCOMPARE(content.listed[size_t(i)].inode, quint64(st.st_ino));
        QCOMPARE(content.listed[size_t(i)].link, listed.at(i) == QLatin1String("link.jpg"));
    }

    QMap<QString, QPair<bool, bool>> others; // name -> ordinary, link
    for (const FolderContent::OtherEntry &entry : content.others())
        others.insert(content.nameOf(entry).toString(), {entry.ordinary, entry.link});
    const QMap<QString, QPair<bool, bool>> expected = {
        {".x_a.jpg", {true, false}}, {"d.txt", {true, false}},   {"x_B.txt", {true, false}},
        {"x_d.jpg", {false, false}}, {"sub", {false, false}},    {"x_e.jpg", {false, true}},
        {"dangling.jpg", {false, true}},
    };
    QCOMPARE(others, expected);
}

QTEST_GUILESS_MAIN(TestListedRun)
#include "tst_listedrun.moc"
