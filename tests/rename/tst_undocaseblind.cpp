// Undo on a drive that ignores letter case and lists no inode numbers (exFAT
// through FUSE, as memory cards and USB sticks are mounted): a renumbering
// onto the same names in other letters, and a run cut off before its last
// moves reached the journal, are taken back whole.

#include "rename/RenameRun.h"
#include "rename/RenameUndo.h"
#include "rename/RunJournal.h"

#include "CaseBlindDrive.h"
#include "DetachedRunTarget.h"
#include "TempFolder.h"
#include "UndoFixtures.h"
#include "TestIsolation.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QStringList numbered(const QString &pattern, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(pattern.arg(i, 3, 10, QLatin1Char('0')));
    return names;
}

// The journal as a run killed at that point leaves it: the plan and the
// first keptMoves moves on disk, nothing after.
bool cutAfterMoves(const QString &journal, int keptMoves)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    if (!lines.contains("complete"))
        return false;
    QByteArray kept;
    int moves = 0;
    for (const QByteArray &line : lines) {
        if (line == "complete" || (line.startsWith("move ") && moves++ >= keptMoves))
            break;
        kept += line + '\n';
    }
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(kept) == kept.size();
}

} // namespace

class UndoCaseBlindTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void runIsTakenBack_data();
    void runIsTakenBack();

private:
    CaseBlindDrive m_drive;
    QString m_folder;
};

void UndoCaseBlindTest::initTestCase()
{
    QString whyNot;
    if (!m_drive.start(64, &whyNot))
        QSKIP(qPrintable(QStringLiteral("no case-blind drive: ") + whyNot));
    // The drive is what the test is about: it must be what it claims.
    QVERIFY(writeFile(m_drive.path() + QStringLiteral("/Probe"), "x"));
    QVERIFY(QFile::exists(m_drive.path() + QStringLiteral("/PROBE")));
    QVERIFY(QFile::remove(m_drive.path() + QStringLiteral("/Probe")));
}

void UndoCaseBlindTest::init()
{
    QVERIFY(RemoveIsolatedFolder(RunJournalFolder()));
    QVERIFY(RemoveIsolatedFolder(homeTrash()));
    m_folder = m_drive.path() + QStringLiteral("/photos");
    QVERIFY(QDir().mkpath(m_folder));
}

void UndoCaseBlindTest::cleanup()
{
    QDir(m_folder).removeRecursively();
    QDir(m_drive.path() + QStringLiteral("/.Trash-0")).removeRecursively();
}

void UndoCaseBlindTest::cleanupTestCase()
{
    m_drive.stop();
}

void UndoCaseBlindTest::runIsTakenBack_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<int>("keptMoves"); // -1: the run ended

    const QStringList three = numbered(QStringLiteral("photo%1.jpg"), 3);
    QTest::newRow("onto the same names in other letters, keep") << three << "PHOTO" << "2" << true << -1;
    QTest::newRow("onto the same names in other letters, overwrite") << three << "PHOTO" << "2" << false << -1;
    QTest::newRow("letters only") << three << "Photo" << "1" << true << -1;
    const QStringList many = numbered(QStringLiteral("photo%1.jpg"), 120);
    QTest::newRow("cut off before any move was kept") << many << "PHOTO" << "2" << false << 0;
    QTest::newRow("cut off half-way") << many << "PHOTO" << "2" << false << 61;
    QTest::newRow("cut off after its last move") << many << "PHOTO" << "2" << false << 1000000;
    QTest::newRow("cut off, new names") << many << "other" << "1" << true << 40;
}

void UndoCaseBlindTest::runIsTakenBack()
{
    QFETCH(QStringList, files);
    QFETCH(QString, text);
    QFETCH(QString, number);
    QFETCH(bool, keepExisting);
    QFETCH(int, keptMoves);

    QVERIFY(writeFiles(m_folder, files));
    const QMap<QString, QByteArray> before = FolderChecksums(m_folder);
    RenameRequest request = requestOf(NameOnly, text, "", number, keepExisting);
    request.pad = true;
    request.entryCount = 50; // numbers of three digits, as the names have
    DetachedRunTarget target;
    const RenameReport report = RunRename(FolderHandle(m_folder), entriesOf(m_folder, files), request, target);
    QCOMPARE(report.renamedCount(), files.size());
    QVERIFY2(report.journalProblem.isEmpty(), qPrintable(report.journalProblem));
    QVERIFY(FolderChecksums(m_folder) != before);
    if (keptMoves >= 0)
        QVERIFY(cutAfterMoves(report.journalPath, keptMoves));

    const UndoReport undo = UndoLastRun(m_folder);
    QCOMPARE(undo.status, UndoReport::Status::Done);
    QStringList left;
    for (const UndoLeftFile &file : undo.left)
        left.append(file.oldName + QStringLiteral(": ") + file.message);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u'\n')));
    QCOMPARE(undo.runWasComplete, keptMoves < 0);
    QCOMPARE(FolderChecksums(m_folder), before);
}

QTEST_GUILESS_MAIN(UndoCaseBlindTest)
#include "tst_undocaseblind.moc"
