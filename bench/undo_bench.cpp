// Undo: the time to take back a renumbering of 2,000 and 20,000 files onto
// the same names in other letters, after the run ended and after it was cut
// off half-way, on an exFAT drive mounted through FUSE (case-blind, no inode
// numbers in its listing; needs the superuser, exfatprogs and exfat-fuse)
// and, for reference, in a scratch folder. Undo should grow with the number
// of files: 20,000 files about ten times 2,000.
//
//   undo_bench [FILES...]     (default 2000 20000)

#include "rename/RenameRun.h"
#include "rename/RenameUndo.h"
#include "rename/RunJournal.h"

#include "CaseBlindDrive.h"
#include "ScratchFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

class QuietTarget : public RenameRunTarget
{
public:
    void setNumberText(const QString &) override {}
    void setProgressValue(float) override {}
    void setFilterText(const QString &) override {}
    void refreshLists() override {}
    void fileRenamed(const RenamedFile &) override {}
};

// The journal as a run killed half-way leaves it: the plan and the first
// half of the moves.
bool cutHalfWay(const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    file.close();
    const qsizetype moves = std::count_if(lines.cbegin(), lines.cend(),
                                          [](const QByteArray &line) { return line.startsWith("move "); });
    QByteArray kept;
    qsizetype seen = 0;
    for (const QByteArray &line : lines) {
        if (line == "complete" || (line.startsWith("move ") && seen++ >= moves / 2))
            break;
        kept += line + '\n';
    }
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(kept) == kept.size();
}

// Renames files photo00001.jpg... to PHOTO00002.jpg... and times the undo;
// -1 when the run or the undo did not do the whole job. *runSeconds: the
// run's own time, the same moves the other way.
double timeUndo(const QString &root, int files, bool cutOff, double *runSeconds)
{
    const QString folder = root + QStringLiteral("/undo-bench");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QList<RenameEntry> entries;
    for (int i = 1; i <= files; ++i) {
        const QString name = QStringLiteral("photo%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(name.toUtf8()) < 0) {
            std::printf("cannot make %s: %s\n", qPrintable(name), qPrintable(file.errorString()));
            return -1;
        }
        entries.append({name, true});
    }
    RenameRequest request;
    request.type = NameOnly;
    request.newText = QStringLiteral("PHOTO");
    request.numberText = QStringLiteral("2");
    request.pad = true;
    request.entryCount = 10000; // five digits
    QuietTarget target;
    QElapsedTimer timer;
    timer.start();
    const RenameReport report = RunRename(FolderHandle(folder), entries, request, target);
    *runSeconds = double(timer.nsecsElapsed()) / 1e9;
    if (report.renamedCount() != files || (cutOff && !cutHalfWay(report.journalPath))) {
        std::printf("the run renamed %lld of %d files\n", qint64(report.renamedCount()), files);
        return -1;
    }
    timer.start();
    const UndoReport undo = UndoLastRun(folder);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const bool whole = undo.status == UndoReport::Status::Done && undo.left.isEmpty();
    if (!whole)
        std::printf("undo left %lld files, the first: %s\n", qint64(undo.left.size()),
                    undo.left.isEmpty() ? qPrintable(undo.message) : qPrintable(undo.left.constFirst().message));
    QDir(folder).removeRecursively();
    QDir(root + QStringLiteral("/.Trash-") + QString::number(::getuid())).removeRecursively();
    return whole ? seconds : -1;
}

void measure(const char *where, const QString &root, const QList<int> &sizes)
{
    for (const bool cutOff : {false, true}) {
        double first = 0;
        for (const int files : sizes) {
            double run = 0;
            const double seconds = timeUndo(root, files, cutOff, &run);
            if (seconds < 0) {
                std::printf("%-8s %-16s %6d files: undo did not take the run back whole\n", where,
                            cutOff ? "cut off half-way" : "ended", files);
                continue;
            }
            if (first == 0)
                first = seconds / files;
            std::printf("%-8s %-16s %6d files: undo %8.3f s, %7.1f us a file (%.2fx the first size's); "
                        "the run %8.3f s\n",
                        where, cutOff ? "cut off half-way" : "ended", files, seconds, seconds * 1e6 / files,
                        seconds / files / first, run);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {2000, 20000};
    // Journals and trash beside the scratch folders, not among the user's own.
    const QTemporaryDir home(scratchRoot() + QStringLiteral("/quillmere-bench-home-XXXXXX"));
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.filePath(QStringLiteral("state"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));

    CaseBlindDrive drive;
    QString whyNot;
    if (drive.start(512, &whyNot))
        measure("exFAT", drive.path(), sizes);
    else
        std::printf("exFAT drive skipped: %s\n", qPrintable(whyNot));
    measure("scratch", home.path(), sizes);
    return 0;
}
