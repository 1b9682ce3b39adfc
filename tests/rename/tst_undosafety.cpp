// Undo never moves the wrong file: not into a folder that only took the
// number of the run's folder, not a trash entry that only took the number
// of the replaced file, nothing a damaged journal names outside the folder
// or its trash. The journal of a cut-off run is kept until it is undone, and
// the window finds it by the journal's last line.

#include "rename/RenameRun.h"
#include "rename/RenameUndo.h"
#include "rename/RunJournal.h"

#include "DetachedRunTarget.h"
#include "TempFolder.h"
#include "UndoFixtures.h"
#include "TestIsolation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

quint64 inodeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file directly in each folder, by content: what an undo must not
// change where it has nothing to take back.
QMap<QString, QByteArray> checksumsOf(const QStringList &folders)
{
    QMap<QString, QByteArray> all;
    for (const QString &folder : folders) {
        const QMap<QString, QByteArray> one = FolderChecksums(folder);
        for (auto it = one.cbegin(); it != one.cend(); ++it)
            all.insert(folder + u'/' + it.key(), it.value());
    }
    return all;
}

const QStringList kOverwritten = {"a.jpg", "b.jpg", "New1.jpg"};

// a.jpg and b.jpg of kOverwritten become New1.jpg and New2.jpg in overwrite
// mode; the unselected New1.jpg goes to the trash.
RenameReport overwriteRun(const QString &folder)
{
    DetachedRunTarget target;
    return RunRename(FolderHandle(folder), entriesOf(folder, {"a.jpg", "b.jpg"}),
                     requestOf(NameOnly, "New", "", "1", false), target);
}

// The journal as a run killed just before its end leaves it: without its
// last line, or with a line cut off.
bool cutOff(const QString &journal, const QByteArray &partialLine = {})
{
    QByteArray data = readAll(journal);
    if (!data.endsWith("\ncomplete\n"))
        return false;
    data.chop(qsizetype(sizeof "complete\n" - 1));
    data += partialLine;
    QFile file(journal);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

} // namespace

class UndoSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void folderThatTookTheNumberIsRefused();
    void trashEntryThatTookTheNumberIsLeft();
    void cutOffJournalIsKept();
    void halfRenamedFoundByTheLastLine_data();
    void halfRenamedFoundByTheLastLine();
    void damagedJournalIsRefused_data();
    void damagedJournalIsRefused();
    void olderJournalsStillUndo();
};

void UndoSafetyTest::init()
{
    QVERIFY(RemoveIsolatedFolder(RunJournalFolder()));
    QVERIFY(RemoveIsolatedFolder(homeTrash()));
}

void UndoSafetyTest::folderThatTookTheNumberIsRefused()
{
    // Under the test's home, on the file system of its trash.
    QTemporaryDir parent(QDir::homePath() + QStringLiteral("/undo-XXXXXX"));
    QVERIFY(parent.isValid());
    const QString folder = parent.filePath(QStringLiteral("photos"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFiles(folder, kOverwritten));
    const RenameReport report = overwriteRun(folder);
    QCOMPARE(report.renamedCount(), 2);
    QCOMPARE(trashEntries().size(), 2);

    const quint64 number = inodeOf(folder);
    QVERIFY(QDir(folder).removeRecursively());
    QString taker;
    for (int i = 0; i < 20 && taker.isEmpty(); ++i) {
        const QString candidate = parent.filePath(QStringLiteral("new-%1").arg(i));
        QVERIFY(QDir().mkpath(candidate));
        if (inodeOf(candidate) == number)
            taker = candidate;
    }
    if (taker.isEmpty())
        QSKIP("this file system did not give the deleted folder's number to a new one");
    QVERIFY(writeFile(taker + QStringLiteral("/mine.txt"), "the new folder's own"));
    const QMap<QString, QByteArray> before = FolderChecksums(taker);

    QVERIFY(!HasRecordedRun(taker));
    const UndoReport undo = UndoLastRun(taker);
    QCOMPARE(undo.status, UndoReport::Status::Refused);
    QVERIFY(!undo.message.isEmpty());
    QVERIFY(undo.restored.isEmpty());
    QCOMPARE(FolderChecksums(taker), before);
    QCOMPARE(trashEntries().size(), 2);
}

void UndoSafetyTest::trashEntryThatTookTheNumberIsLeft()
{
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/undo-XXXXXX"));
    QVERIFY(folder.isValid());
    QVERIFY(writeFiles(folder.path(), kOverwritten));
    const RenameReport report = overwriteRun(folder.path());
    QCOMPARE(report.renamedCount(), 2);
    const QString files = homeTrash() + QStringLiteral("/files/");
    const QString info = homeTrash() + QStringLiteral("/info/");
    const quint64 number = inodeOf(files + "New1.jpg");
    QVERIFY(number != 0);

    // The trash is emptied; another file of the same name is trashed and
    // takes the freed number.
    QVERIFY(QFile::remove(files + "New1.jpg"));
    QVERIFY(QFile::remove(info + "New1.jpg.trashinfo"));
    bool taken = false;
    for (int i = 0; i < 20 && !taken; ++i) {
        QVERIFY(writeFile(files + "New1.jpg", "an unrelated file"));
        taken = inodeOf(files + "New1.jpg") == number;
        if (!taken) // kept, so that the next try gets another number
            QVERIFY(QFile::rename(files + "New1.jpg", files + QStringLiteral("other-%1").arg(i)));
    }
    if (!taken)
        QSKIP("this file system did not give the deleted file's number to a new one");
    QVERIFY(writeFile(info + "New1.jpg.trashinfo",
                      "[Trash Info]\nPath=/somewhere/else/New1.jpg\nDeletionDate=2030-01-01T00:00:00\n"));
    const QMap<QString, QByteArray> trashBefore = checksumsOf({files, info});

    const UndoReport undo = UndoLastRun(folder.path());
    QCOMPARE(undo.status, UndoReport::Status::Done);
    QCOMPARE(undo.left.size(), 1);
    QCOMPARE(undo.left.constFirst().reason, UndoLeftReason::ReplacedNotInTrash);
    QCOMPARE(checksumsOf({files, info}), trashBefore);
    const QMap<QString, QByteArray> now = FolderChecksums(folder.path());
    QCOMPARE(now.keys(), QStringList({"a.jpg", "b.jpg"}));
    QCOMPARE(readAll(folder.filePath("a.jpg")), QByteArray("content of a.jpg"));
    QCOMPARE(readAll(folder.filePath("b.jpg")), QByteArray("content of b.jpg"));
}

void UndoSafetyTest::cutOffJournalIsKept()
{
    TempFolder folder;
    QVERIFY(writeFiles(folder.path(), {"a.jpg", "b.jpg", ".c"}));
    const QMap<QString, QByteArray> before = FolderChecksums(folder.path());
    DetachedRunTarget target;
    const RenameReport report = RunRename(FolderHandle(folder.path()),
                                          entriesOf(folder.path(), {"a.jpg", "b.jpg", ".c"}),
                                          requestOf(AddPrefix, "x_", "", "1", true), target);
    QCOMPARE(report.renamedCount(), 3);
    QVERIFY(cutOff(report.journalPath));

    // As many small runs elsewhere as the journals kept, and more.
    TempFolder other;
    QVERIFY(writeFiles(other.path(), {"z"}));
    QString name = QStringLiteral("z");
    for (int i = 0; i < kKeptRunJournals + 2; ++i) {
        QCOMPARE(RunRename(FolderHandle(other.path()), {{name, true}}, requestOf(AddSuffix, "z", "", "1", true), target)
                     .renamedCount(),
                 1);
        name += u'z';
    }
    QVERIFY(QFile::exists(report.journalPath));
    QCOMPARE(RunJournalFiles().size(), kKeptRunJournals);

    const UndoReport undo = UndoLastRun(folder.path());
    QCOMPARE(undo.status, UndoReport::Status::Done);
    QVERIFY(!undo.runWasComplete);
    QCOMPARE(FolderChecksums(folder.path()), before);
}

void UndoSafetyTest::halfRenamedFoundByTheLastLine_data()
{
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QByteArray>("partialLine");
    QTest::addColumn<bool>("found");
    // The last move gives the extension "complete": its line ends as the
    // last line of a finished run does.
    QTest::newRow("cut off after the last move") << true << QByteArray() << true;
    QTest::newRow("cut off inside a line") << true << QByteArray("move b.complete b") << true;
    QTest::newRow("cut off inside the last line") << true << QByteArray("compl") << true;
    QTest::newRow("ended") << false << QByteArray() << false;
}

void UndoSafetyTest::halfRenamedFoundByTheLastLine()
{
    QFETCH(bool, cut);
    QFETCH(QByteArray, partialLine);
    QFETCH(bool, found);

    TempFolder folder;
    QVERIFY(writeFiles(folder.path(), {"a.txt", "b.txt"}));
    DetachedRunTarget target;
    const RenameReport report = RunRename(FolderHandle(folder.path()), entriesOf(folder.path(), {"a.txt", "b.txt"}),
                                          requestOf(ExtensionOnly, "", "complete", "1", true), target);
    QCOMPARE(report.renamedCount(), 2);
    if (cut)
        QVERIFY(cutOff(report.journalPath, partialLine));

    QCOMPARE(RunJournalComplete(report.journalPath), !found);
    const QList<HalfRenamedFolder> half = FindHalfRenamedFolders();
    QCOMPARE(half.size(), found ? 1 : 0);
    if (found)
        QCOMPARE(QFileInfo(half.constFirst().folder).canonicalFilePath(), QFileInfo(folder.path()).canonicalFilePath());
}

void UndoSafetyTest::damagedJournalIsRefused_data()
{
    // Lines of a journal of the folder, which holds x1 and an unrelated
    // file; outside is the folder beside it, holding victim. {x1} and
    // {victim} stand for those files' inode numbers.
    QTest::addColumn<QByteArray>("lines");
    QTest::newRow("old name leads up") << QByteArray("file {x1} ../outside/x\nplanned\nmove ../outside/x x1\n");
    QTest::newRow("old name is a path") << QByteArray("file {x1} {outside}/x\nplanned\nmove {outside}/x x1\n");
    QTest::newRow("moved from a path") << QByteArray("file {victim} x9\nplanned\nmove x9 ../outside/victim\n");
    QTest::newRow("old name is the parent") << QByteArray("file {x1} ..\nplanned\nmove .. x1\n");
    QTest::newRow("trash name leads up") << QByteArray("planned\ntrash {victim} y {trash} {up}\n");
    QTest::newRow("not a trash") << QByteArray("planned\ntrash {victim} y {outsideTrash} victim\n");
}

void UndoSafetyTest::damagedJournalIsRefused()
{
    QFETCH(QByteArray, lines);

    QTemporaryDir parent(QDir::homePath() + QStringLiteral("/undo-XXXXXX"));
    QVERIFY(parent.isValid());
    const QString folder = parent.filePath("folder");
    const QString outside = parent.filePath("outside");
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(outside + "/files") && QDir().mkpath(homeTrash() + "/files"));
    QVERIFY(writeFiles(folder, {"x1", "unrelated"}));
    QVERIFY(writeFile(outside + "/victim", "not the run's"));
    QVERIFY(writeFile(outside + "/files/victim", "not the run's either"));
    const QString victim = lines.contains("{outsideTrash}") ? outside + "/files/victim" : outside + "/victim";
    lines.replace("{x1}", QByteArray::number(inodeOf(folder + "/x1")))
        .replace("{victim}", QByteArray::number(inodeOf(victim)))
        .replace("{outsideTrash}", EscapeJournalField(QFile::encodeName(outside)))
        .replace("{outside}", EscapeJournalField(QFile::encodeName(outside)))
        .replace("{trash}", EscapeJournalField(QFile::encodeName(homeTrash())))
        .replace("{up}", EscapeJournalField(QFile::encodeName(QDir(homeTrash() + "/files").relativeFilePath(victim))));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(folder).constData(), &st), 0);
    const QByteArray journal = "quillmere-journal 1\nfolder " + QByteArray::number(quint64(st.st_dev)) + ' '
        + QByteArray::number(quint64(st.st_ino)) + ' ' + EscapeJournalField(QFile::encodeName(folder)) + "\nstarted "
        + QDateTime::currentDateTimeUtc().addSecs(60).toString(Qt::ISODateWithMs).toLatin1() + " 1\n" + lines
        + "complete\n";
    QVERIFY(QDir().mkpath(RunJournalFolder()));
    QVERIFY(writeFile(RunJournalFolder() + "/run-20300101-000000-000000-1.journal", journal));
    const QMap<QString, QByteArray> before = checksumsOf({folder, outside, outside + "/files"});

    const UndoReport undo = UndoLastRun(folder);
    QCOMPARE(undo.status, UndoReport::Status::Refused);
    QVERIFY2(undo.message.contains(QStringLiteral("damaged")), qPrintable(undo.message));
    QVERIFY(undo.restored.isEmpty());
    QCOMPARE(checksumsOf({folder, outside, outside + "/files"}), before);
}

void UndoSafetyTest::olderJournalsStillUndo()
{
    // A journal as runs wrote it before folders and replaced files were
    // recorded with their birth times and the .trashinfo's.
    QTemporaryDir folder(QDir::homePath() + QStringLiteral("/undo-XXXXXX"));
    QVERIFY(folder.isValid());
    QVERIFY(writeFiles(folder.path(), kOverwritten));
    const QMap<QString, QByteArray> before = FolderChecksums(folder.path());
    const RenameReport report = overwriteRun(folder.path());
    QCOMPARE(report.renamedCount(), 2);
    QList<QByteArray> lines = readAll(report.journalPath).split('\n');
    int shortened = 0;
    for (QByteArray &line : lines) {
        QList<QByteArray> fields = line.split(' ');
        const qsizetype oldSize = line.startsWith("folder ") ? 4 : line.startsWith("trash ") ? 5 : fields.size();
        if (fields.size() > oldSize) {
            line = fields.mid(0, oldSize).join(' ');
            ++shortened;
        }
    }
    QCOMPARE(shortened, 2);
    QVERIFY(writeFile(report.journalPath, lines.join('\n')));

    const UndoReport undo = UndoLastRun(folder.path());
    QCOMPARE(undo.status, UndoReport::Status::Done);
    QVERIFY(undo.left.isEmpty());
    QCOMPARE(FolderChecksums(folder.path()), before);
    QVERIFY(trashEntries().isEmpty());
}

QTEST_GUILESS_MAIN(UndoSafetyTest)
#include "tst_undosafety.moc"
