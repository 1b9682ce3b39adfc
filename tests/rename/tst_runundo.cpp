// Undo takes a run back exactly, file contents and hidden files included,
// and leaves alone what changed since; the journal keeps only recent runs.

#include "rename/RenameRun.h"
#include "rename/RenameUndo.h"
#include "rename/RunJournal.h"

#include "DetachedRunTarget.h"
#include "TempFolder.h"
#include "UndoFixtures.h"
#include "TestIsolation.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace {


// Whether a file made now in folder has a time (birth, else change of
// content) later than msSinceEpoch. File times come from a coarser clock
// than the one a journal's start is read from: a file made a moment after a
// run began may carry a time before it, and pass for one the run saw.
bool fileClockPast(const QString &folder, qint64 msSinceEpoch)
{
    const QString probe = folder + QStringLiteral("/.clock-probe");
    QFile::remove(probe);
    QFile file(probe);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.close();
    struct statx st;
    const bool read = ::statx(AT_FDCWD, QFile::encodeName(probe).constData(), 0, STATX_BTIME | STATX_MTIME, &st) == 0;
    QFile::remove(probe);
    if (!read)
        return false;
    const struct statx_timestamp &time = (st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime;
    return qint64(time.tv_sec) * 1000 + time.tv_nsec / 1000000 > msSinceEpoch;
}

QStringList reasonsOf(const UndoReport &report)
{
    QStringList reasons;
    for (const UndoLeftFile &file : report.left)
        reasons.append(file.oldName + u':' + QString::number(int(file.reason)));
    return reasons;
}

} // namespace

class RunUndoTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void undoGivesBackTheFolder_data();
    void undoGivesBackTheFolder();
    void changedFilesAreLeft_data();
    void changedFilesAreLeft();
    void dryRunChangesNothing();
    void runsAreUndoneNewestFirst();
    void journalRecordsThePlanAndProgress();
    void oldJournalsAreRemoved();
    void journalEscaping_data();
    void journalEscaping();
};

void RunUndoTest::init()
{
    // Each test starts without journals or trash of earlier ones.
    QVERIFY(RemoveIsolatedFolder(RunJournalFolder()));
    QVERIFY(RemoveIsolatedFolder(homeTrash()));
}

void RunUndoTest::undoGivesBackTheFolder_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<int>("trashed"); // files the run replaces

    const QStringList photos = {QStringLiteral("Photo1.jpg"), QStringLiteral("Photo2.jpg"), QStringLiteral("Photo3.jpg"),
                                QStringLiteral("Photo4.jpg"), QStringLiteral("Photo5.jpg")};
    const QStringList mixed = {QStringLiteral("a.jpg"), QStringLiteral("b.png"), QStringLiteral("c"),
                               QStringLiteral(".hidden.txt"), QStringLiteral("d e.jpg")};
    for (const bool keep : {true, false}) {
        const char *mode = keep ? "keep" : "overwrite";
        QTest::addRow("both, %s", mode) << mixed << mixed << int(BothNameAndExtension) << "File" << "dat" << "1" << keep << 0;
        QTest::addRow("name, %s", mode) << mixed << mixed << int(NameOnly) << "File" << "" << "7" << keep << 0;
        QTest::addRow("extension, %s", mode) << mixed << mixed << int(ExtensionOnly) << "" << "zip" << "1" << keep << 0;
        QTest::addRow("prefix, %s", mode) << mixed << mixed << int(AddPrefix) << "old_" << "" << "1" << keep << 0;
        QTest::addRow("suffix, %s", mode) << mixed << mixed << int(AddSuffix) << "_v2" << "" << "1" << keep << 0;
        QTest::addRow("no type chosen, %s", mode) << mixed << mixed << int(NoTypeChosen) << "N" << "" << "1" << keep << 0;
        QTest::addRow("renumbering chain, %s", mode) << photos << photos << int(NameOnly) << "Photo" << "" << "2" << keep << 0;
        QTest::addRow("case only, %s", mode) << QStringList{"photo1.jpg", "photo2.jpg", ".x"}
                                              << QStringList{"photo1.jpg", "photo2.jpg"} << int(NameOnly) << "Photo"
                                              << "" << "1" << keep << 0;
    }
    // An unselected file holds a new name: "_" in one mode, the trash in the
    // other.
    const QStringList taken = {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("New1.jpg"),
                               QStringLiteral(".New2.jpg")};
    QTest::newRow("underscore rule") << taken << QStringList{"a.jpg", "b.jpg"} << int(NameOnly) << "New" << "" << "1"
                                     << true << 0;
    QTest::newRow("replaced file to trash") << taken << QStringList{"a.jpg", "b.jpg"} << int(NameOnly) << "New" << ""
                                            << "1" << false << 1;
    QTest::newRow("hidden file replaced") << taken << QStringList{"a.jpg", "b.jpg"} << int(NameOnly) << ".New" << ""
                                          << "1" << false << 1;
    QTest::newRow("extension over taken names")
        << QStringList{"x.jpg", "x.png", "y.jpg", "y.png"} << QStringList{"x.jpg", "y.jpg"} << int(ExtensionOnly) << ""
        << "png" << "1" << false << 2;
}

void RunUndoTest::undoGivesBackTheFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, selected);
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, extension);
    QFETCH(QString, number);
    QFETCH(bool, keepExisting);
    QFETCH(int, trashed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFiles(dir.path(), files));
    const QMap<QString, QByteArray> before = FolderChecksums(dir.path());

    DetachedRunTarget target;
    const RenameReport report = RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), selected),
                                          requestOf(RenamingType(type), text, extension, number, keepExisting), target);
    QVERIFY2(report.journalProblem.isEmpty(), qPrintable(report.journalProblem));
    QVERIFY(!report.journalPath.isEmpty());
    QVERIFY(report.renamedCount() > 0);
    const QMap<QString, QByteArray> after = FolderChecksums(dir.path());
    QVERIFY(after != before);
    // The folder looks as it always did: replaced files are gone from it,
    // and only they went to the trash.
    QCOMPARE(after.size(), before.size() - trashed);
    QCOMPARE(trashEntries().size(), trashed * 2);
    QVERIFY(HasRecordedRun(dir.path()));

    const UndoReport undo = UndoLastRun(dir.path());
    QCOMPARE(undo.status, UndoReport::Status::Done);
    QVERIFY2(undo.left.isEmpty(), qPrintable(reasonsOf(undo).join(u',')));
    QVERIFY(undo.runWasComplete);
    QCOMPARE(FolderChecksums(dir.path()), before);
    QVERIFY(trashEntries().isEmpty());
    QVERIFY(!HasRecordedRun(dir.path()));
}

void RunUndoTest::changedFilesAreLeft_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QList<int>>("reasons");
    const auto reasons = [](std::initializer_list<UndoLeftReason> list) {
        QList<int> values;
        for (UndoLeftReason reason : list)
            values.append(int(reason));
        return values;
    };
    QTest::newRow("new name taken by another file")
        << "replace" << reasons({UndoLeftReason::NewNameTaken, UndoLeftReason::ReplacedNameTaken});
    QTest::newRow("file gone") << "delete" << reasons({UndoLeftReason::Gone});
    QTest::newRow("old name taken") << "old name"
                                    << reasons({UndoLeftReason::OldNameTaken, UndoLeftReason::ReplacedNameTaken});
    QTest::newRow("renamed away") << "rename" << reasons({UndoLeftReason::Gone});
    QTest::newRow("replaced file taken out of the trash") << "trash emptied"
                                                          << reasons({UndoLeftReason::ReplacedNotInTrash});
    QTest::newRow("replaced file's name taken") << "trash name" << reasons({UndoLeftReason::ReplacedNameTaken});
}

void RunUndoTest::changedFilesAreLeft()
{
    QFETCH(QString, change);
    QFETCH(QList<int>, reasons);

    // a..d become New1..New4 over New2, which goes to the trash.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList names = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "New2.jpg"};
    QVERIFY(writeFiles(dir.path(), names));
    const QMap<QString, QByteArray> before = FolderChecksums(dir.path());
    DetachedRunTarget target;
    const RenameReport report = RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), names.mid(0, 4)),
                                          requestOf(NameOnly, "New", "", "1", false), target);
    QCOMPARE(report.renamedCount(), 4);
    QCOMPARE(trashEntries().size(), 2);
    // What the change makes is made after the run, also by the file times.
    const qint64 afterRun = QDateTime::currentMSecsSinceEpoch();
    QTRY_VERIFY(fileClockPast(dir.path(), afterRun));

    const QString b = dir.filePath("New2.jpg"); // was b.jpg
    QString stays;                              // the name left as the change made it
    if (change == QLatin1String("replace")) {
        QVERIFY(QFile::remove(b));
        QVERIFY(writeFile(b, "someone else's"));
        stays = "New2.jpg";
    } else if (change == QLatin1String("delete")) {
        QVERIFY(QFile::remove(b));
    } else if (change == QLatin1String("old name")) {
        QVERIFY(writeFile(dir.filePath("b.jpg"), "someone else's"));
        stays = "New2.jpg";
    } else if (change == QLatin1String("rename")) {
        QVERIFY(QFile::rename(b, dir.filePath("elsewhere.jpg")));
        stays = "elsewhere.jpg";
    } else if (change == QLatin1String("trash emptied")) {
        const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files/");
        QVERIFY(QFile::remove(trash + "New2.jpg"));
    }
    const QMap<QString, QByteArray> changed = FolderChecksums(dir.path());

    if (change == QLatin1String("trash name")) {
        // After the undo has moved b back, before the trash is looked at:
        // simulated by a file under b's new name that is not the run's.
        QVERIFY(QFile::rename(b, dir.filePath("b.jpg")));
        QVERIFY(writeFile(b, "someone else's"));
    }

    const UndoReport undo = UndoLastRun(dir.path());
    QCOMPARE(undo.status, UndoReport::Status::Done);
    QList<int> left;
    for (const UndoLeftFile &file : undo.left)
        left.append(int(file.reason));
    QCOMPARE(left, reasons);

    // Everything else is back; the changed file is as the change left it.
    const QMap<QString, QByteArray> now = FolderChecksums(dir.path());
    for (const char *name : {"a.jpg", "c.jpg", "d.jpg"})
        QCOMPARE(now.value(name), before.value(name));
    if (!stays.isEmpty())
        QCOMPARE(now.value(stays), changed.value(stays));
    if (change == QLatin1String("old name"))
        QCOMPARE(now.value("b.jpg"), changed.value("b.jpg"));
    const bool replacedBack = change == QLatin1String("delete") || change == QLatin1String("rename");
    if (replacedBack) // its name was free again: the replaced file is back
        QCOMPARE(now.value("New2.jpg"), before.value("New2.jpg"));
    if (reasons.contains(int(UndoLeftReason::ReplacedNameTaken)))
        QCOMPARE(trashEntries().size(), 2); // still in the trash, not lost
    if (change == QLatin1String("trash name"))
        QCOMPARE(now.value("b.jpg"), before.value("b.jpg"));
    // Taken back once: nothing is left to undo.
    QCOMPARE(UndoLastRun(dir.path()).status, UndoReport::Status::NothingToUndo);
}

void RunUndoTest::dryRunChangesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList photos = {"Photo1.jpg", "Photo2.jpg", "Photo3.jpg", "Photo4.jpg", "Photo5.jpg", "New9.jpg"};
    QVERIFY(writeFiles(dir.path(), photos));
    const QMap<QString, QByteArray> before = FolderChecksums(dir.path());
    DetachedRunTarget target;
    RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), photos.mid(0, 5)),
              requestOf(NameOnly, "Photo", "", "2", false), target);
    const QMap<QString, QByteArray> after = FolderChecksums(dir.path());

    const UndoReport dry = UndoLastRun(dir.path(), true);
    QCOMPARE(dry.status, UndoReport::Status::Done);
    QCOMPARE(FolderChecksums(dir.path()), after);
    QVERIFY(!dry.restored.isEmpty());

    const UndoReport real = UndoLastRun(dir.path());
    QCOMPARE(FolderChecksums(dir.path()), before);
    QStringList dryMoves;
    QStringList realMoves;
    for (const UndoneFile &file : dry.restored)
        dryMoves.append(file.from + QStringLiteral(" -> ") + file.to);
    for (const UndoneFile &file : real.restored)
        realMoves.append(file.from + QStringLiteral(" -> ") + file.to);
    QCOMPARE(dryMoves, realMoves);
    QCOMPARE(UndoLastRun(dir.path(), true).status, UndoReport::Status::NothingToUndo);
}

void RunUndoTest::runsAreUndoneNewestFirst()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QStringList names = {"a.jpg", "b.jpg", ".c.jpg"};
    QVERIFY(writeFiles(dir.path(), names));
    const QMap<QString, QByteArray> first = FolderChecksums(dir.path());
    DetachedRunTarget target;
    RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), names), requestOf(AddPrefix, "x_", "", "1", false),
              target);
    const QMap<QString, QByteArray> second = FolderChecksums(dir.path());
    RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), second.keys()), requestOf(NameOnly, "y", "", "1", false),
              target);
    QVERIFY(FolderChecksums(dir.path()) != second);

    QCOMPARE(UndoLastRun(dir.path()).status, UndoReport::Status::Done);
    QCOMPARE(FolderChecksums(dir.path()), second);
    QCOMPARE(UndoLastRun(dir.path()).status, UndoReport::Status::Done);
    QCOMPARE(FolderChecksums(dir.path()), first);
    const UndoReport none = UndoLastRun(dir.path());
    QCOMPARE(none.status, UndoReport::Status::NothingToUndo);
    QVERIFY(!none.message.isEmpty());

    // A run of another folder is never taken for this one's.
    QTemporaryDir other;
    QVERIFY(writeFiles(other.path(), {"z.jpg"}));
    RunRename(FolderHandle(other.path()), entriesOf(other.path(), {"z.jpg"}),
              requestOf(AddPrefix, "x_", "", "1", false), target);
    QCOMPARE(UndoLastRun(dir.path()).status, UndoReport::Status::NothingToUndo);
    QVERIFY(QFile::exists(other.filePath("x_z.jpg")));
}

void RunUndoTest::journalRecordsThePlanAndProgress()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFiles(dir.path(), {"Photo1.jpg", "Photo2.jpg", "other.txt"}));
    DetachedRunTarget target;
    const RenameReport report = RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), {"Photo1.jpg", "Photo2.jpg"}),
                                          requestOf(NameOnly, "Photo", "", "2", false), target);
    const std::optional<RunJournal> journal = ReadRunJournal(report.journalPath);
    QVERIFY(journal);
    QVERIFY(journal->complete);
    QVERIFY(RunJournalComplete(report.journalPath));
    QCOMPARE(QFileInfo(journal->folder).canonicalFilePath(), QFileInfo(dir.path()).canonicalFilePath());
    QCOMPARE(journal->files.size(), 2);
    QCOMPARE(journal->files.at(0).oldName, QStringLiteral("Photo1.jpg"));
    struct stat st;
    QCOMPARE(::stat(QFile::encodeName(dir.filePath("Photo2.jpg")).constData(), &st), 0);
    QCOMPARE(journal->files.at(0).inode, quint64(st.st_ino));
    // Photo2 steps aside for Photo1, then takes Photo3.
    QCOMPARE(journal->moves.size(), 3);
    QVERIFY(journal->moves.at(0).to.startsWith(QStringLiteral(".quillmere-")));
    QCOMPARE(journal->moves.at(1).to, QStringLiteral("Photo2.jpg"));
    QCOMPARE(journal->moves.at(2).to, QStringLiteral("Photo3.jpg"));

    // A simulated run keeps none.
    const RenameReport simulated = RunRename(FolderHandle(dir.path()), entriesOf(dir.path(), {"Photo2.jpg"}),
                                             requestOf(AddPrefix, "x", "", "1", false), target,
                                             {.fileOperations = &SimulatedFileOperations()});
    QVERIFY(simulated.journalPath.isEmpty());
    QCOMPARE(RunJournalFiles().size(), 1);
}

void RunUndoTest::oldJournalsAreRemoved()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeFiles(dir.path(), {"a"}));
    DetachedRunTarget target;
    QString name = QStringLiteral("a");
    QStringList journals;
    for (int i = 0; i < kKeptRunJournals + 3; ++i) {
        const RenameReport report =
            RunRename(FolderHandle(dir.path()), {{name, true}}, requestOf(AddSuffix, "x", "", "1", false), target);
        QCOMPARE(report.renamedCount(), 1);
        name += u'x';
        journals.append(report.journalPath);
    }
    const QStringList kept = RunJournalFiles();
    QCOMPARE(kept.size(), kKeptRunJournals);
    QCOMPARE(kept.constFirst(), journals.constLast());
    QVERIFY(!QFile::exists(journals.constFirst()));
}

void RunUndoTest::journalEscaping_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain") << QByteArray("Photo1.jpg");
    QTest::newRow("blank") << QByteArray("a b");
    QTest::newRow("percent") << QByteArray("100%25");
    QTest::newRow("newline and tab") << QByteArray("a\nb\tc\r");
    QTest::newRow("high bytes") << QByteArray("\xC3\xA9t\xE9\xFF");
    QTest::newRow("empty") << QByteArray();
}

void RunUndoTest::journalEscaping()
{
    QFETCH(QByteArray, bytes);
    const QByteArray escaped = EscapeJournalField(bytes);
    QVERIFY(!escaped.contains(' '));
    QVERIFY(!escaped.contains('\n'));
    QCOMPARE(UnescapeJournalField(escaped), bytes);
}

QTEST_GUILESS_MAIN(RunUndoTest)
#include "tst_runundo.moc"
