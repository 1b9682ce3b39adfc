// Whatever happens to a move in the middle of a long run (a file appearing
// under its name, a refusal, a file system blind to letter case, the folder
// swapped, a stop), no file's content is lost, every selected file is
// reported once, and every rename is reported to the target. A run that
// makes its moves in batches makes exactly the moves, in exactly the order,
// and reports exactly what the same run does one file at a time.

#include "rename/RenameRun.h"

#include "DetachedRunTarget.h"
#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <algorithm>

namespace {

struct Fault
{
    enum Kind { None, Intrude, Fail, CaseBlind, Swap, Stop };
    Kind kind = None;
    int at = 0; // the move (or, for Stop, the selected file) it comes before, from 1
};

// The system's moves, logged, with the chosen fault.
class FaultyOperations : public RenameFileOperations
{
public:
    FaultyOperations(Fault fault, QString swapIn, QString swapOut)
        : m_fault(fault)
        , m_swapIn(std::move(swapIn))
        , m_swapOut(std::move(swapOut))
    {
    }

    Outcome renameFile(const FolderHandle &folder, const QString &from, const QString &to, Mode mode,
                       QString *error) override
    {
        ++m_calls;
        log.append(from + QStringLiteral(" -> ") + to
                   + (mode == Mode::Replace ? QStringLiteral(" (replacing)") : QString()));
        const bool now = m_calls == m_fault.at;
        if (now && m_fault.kind == Fault::Intrude) {
            QFile file(folder.path() + u'/' + to);
            if (file.open(QIODevice::NewOnly))
                file.write("intruder");
        }
        if (now && m_fault.kind == Fault::Fail) {
            *error = QStringLiteral("refused by the test");
            return Outcome::Failed;
        }
        if (now && m_fault.kind == Fault::Swap) {
            // The folder's path now leads to another folder with the same names.
            QDir().rename(folder.path(), m_swapOut);
            QDir().rename(m_swapIn, folder.path());
        }
        if (m_fault.kind == Fault::CaseBlind) {
            // A file system that keeps letter case but does not tell it apart.
            const QStringList present = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
            const bool taken = std::any_of(present.cbegin(), present.cend(), [&](const QString &name) {
                return name.compare(to, Qt::CaseInsensitive) == 0;
            });
            if (taken && mode == Mode::NoReplace)
                return Outcome::TargetExists;
            if (from.compare(to, Qt::CaseInsensitive) == 0)
                return Outcome::Done;
        }
        return SystemFileOperations().renameFile(folder, from, to, mode, error);
    }

    QStringList log;

private:
    Fault m_fault;
    QString m_swapIn;
    QString m_swapOut;
    int m_calls = 0;
};

class StoppableTarget : public DetachedRunTarget
{
public:
    int stopAt = 0; // the selected file the stop comes before, from 1; 0: none
    bool stopRequested() override { return stopAt > 0 && ++m_asked >= stopAt; }

private:
    int m_asked = 0;
};

// Every entry of a folder: a file by its content, a link by where it points.
QStringList stateOf(const QString &path)
{
    const QString folderPrefix = path + u'/';
    QStringList state;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink()) {
            state.append(entry.fileName() + QStringLiteral(" -> ") + entry.symLinkTarget().remove(folderPrefix));
            continue;
        }
        QFile file(entry.filePath());
        state.append(entry.fileName() + QStringLiteral(": ")
                     + QString::fromUtf8(file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable"));
    }
    return state;
}

QStringList contentsOf(const QStringList &state)
{
    QStringList contents;
    for (const QString &entry : state) {
        if (!entry.contains(QStringLiteral(" -> ")))
            contents.append(entry.mid(entry.indexOf(QStringLiteral(": ")) + 2));
    }
    contents.sort();
    return contents;
}

QStringList reportOf(const RenameReport &report)
{
    QStringList lines;
    for (const RenamedFile &file : report.renamed)
        lines.append(QStringLiteral("%1: %2 -> %3 way %4")
                         .arg(file.entry)
                         .arg(file.oldName, file.newName)
                         .arg(int(file.way)));
    for (const LeftInPlaceFile &file : report.leftInPlace)
        lines.append(QStringLiteral("%1: %2 stays as %3 (%4, %5), not %6")
                         .arg(file.entry)
                         .arg(file.name, file.currentName)
                         .arg(int(file.reason))
                         .arg(file.message, file.newName));
    if (report.stopped)
        lines.append(QStringLiteral("stopped"));
    return lines;
}

QStringList numbered(const QString &pattern, int first, int last)
{
    QStringList names;
    for (int i = first; i <= last; ++i)
        names.append(pattern.arg(i, 4, 10, QLatin1Char('0')));
    return names;
}

RenameRequest renameRequest(RenamingType type, const QString &text, const QString &extension, bool keepExisting)
{
    RenameRequest request;
    request.type = type;
    request.newText = text;
    request.newExtension = extension;
    request.numberText = QStringLiteral("1");
    request.keepExisting = keepExisting;
    request.pad = true; // four digits, as the names the rows start from
    request.entryCount = 200;
    return request;
}

struct RunResult
{
    QStringList moves;
    QStringList folder;
    QStringList swappedOut; // the folder the run started in, when it was swapped
    QStringList report;
    QStringList reported;   // the renames as the target got them
    QString number;
    QStringList contentsBefore;
};

RunResult runOnce(bool batched, const QStringList &files, const QStringList &others, const QStringList &links,
                  const RenameRequest &request, Fault fault)
{
    TempFolder root;
    const QString work = root.filePath(QStringLiteral("work"));
    const QString swapIn = root.filePath(QStringLiteral("other"));
    const QString swapOut = root.filePath(QStringLiteral("swapped-out"));
    QDir().mkpath(work);
    QDir().mkpath(swapIn);
    for (const QString &name : files + others) {
        QFile file(work + u'/' + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(name.toUtf8());
        QFile twin(swapIn + u'/' + name);
        if (fault.kind == Fault::Swap && twin.open(QIODevice::WriteOnly))
            twin.write("other " + name.toUtf8());
    }
    // "link=target": a link among the selected files.
    QList<RenameEntry> entries;
    for (const QString &link : links) {
        const QStringList parts = link.split(u'=');
        QFile::link(parts.at(1), work + u'/' + parts.at(0));
    }
    for (const QString &name : files)
        entries.append({name, true});
    for (const QString &link : links)
        entries.append({link.section(u'=', 0, 0), true});
    for (const QString &name : others)
        entries.append({name, false});

    RunResult result;
    result.contentsBefore = contentsOf(stateOf(work));
    FaultyOperations operations(fault, swapIn, swapOut);
    StoppableTarget target;
    target.number = request.numberText;
    if (fault.kind == Fault::Stop)
        target.stopAt = fault.at;
    const RenameReport report = RunRename(FolderHandle(work), entries, request, target,
                                          {.fileOperations = &operations, .batchedMoves = batched});
    result.moves = operations.log;
    result.folder = stateOf(work);
    if (QFileInfo::exists(swapOut))
        result.swappedOut = stateOf(swapOut);
    result.report = reportOf(report);
    for (const RenamedFile &file : std::as_const(target.renamedAsDone))
        result.reported.append(file.oldName + QStringLiteral(" -> ") + file.newName);
    result.number = target.number;
    return result;
}

} // namespace

class MoveFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void nothingLost_data();
    void nothingLost();
};

void MoveFaultsTest::nothingLost_data()
{
    QTest::addColumn<QStringList>("files"); // selected, in list order
    QTest::addColumn<QStringList>("others"); // in the folder, not selected
    QTest::addColumn<QStringList>("links");  // selected links, "name=target"
    QTest::addColumn<RenameRequest>("request");
    QTest::addColumn<int>("faultKind");
    QTest::addColumn<int>("faultAt");
    QTest::addColumn<bool>("batched");

    // Faults at the first move, the last, and in between; in batches of 64,
    // at a batch's first and last move and in a batch waiting its turn.
    const int count = 200;
    const QStringList images = numbered(QStringLiteral("img%1.JPG"), 1, count);
    // Renumbered, each new name is the name the file before it had: a chain
    // that only works where earlier moves count as made.
    const QStringList chain = numbered(QStringLiteral("p%1.JPG"), 2, count + 1);
    // Each new name is held by a file whose turn is still to come.
    const QStringList held = numbered(QStringLiteral("p%1.JPG"), 0, count - 1);
    const QStringList none;
    // Batched, each run is compared with the same run one file at a time.
    for (const bool batched : {false, true}) {
        for (const bool keep : {true, false}) {
            const QByteArray modeText = QByteArray(keep ? "keep" : "overwrite") + (batched ? ", batched" : "");
            const char *mode = modeText.constData();
            const RenameRequest prefix = renameRequest(AddPrefix, QStringLiteral("X_"), QString(), keep);
            const RenameRequest renumber = renameRequest(NameOnly, QStringLiteral("p"), QString(), keep);
            const RenameRequest lower = renameRequest(ExtensionOnly, QString(), QStringLiteral("jpg"), keep);
            const auto row = [&](const QByteArray &name, const QStringList &files, const QStringList &others,
                                 const QStringList &links, const RenameRequest &request, Fault fault) {
                QTest::addRow("%s: %s", mode, name.constData())
                    << files << others << links << request << int(fault.kind) << fault.at << batched;
            };

            row("prefix", images, none, none, prefix, {});
            row("renumber onto the names just freed", chain, none, none, renumber, {});
            row("renumber onto names still held", held, none, none, renumber, {});
            row("renumber among files of the folder", images,
                {"p0005.JPG", "P0040.jpg", "p0041.JPG", "p0070.JPG", "p0200.JPG"}, none, renumber, {});
            row("links among the files", images, none,
                {"link1.JPG=img003.JPG", "link2.JPG=X_link2.JPG", "link3.JPG=p001.JPG"}, prefix, {});
            const QString longName = QString(250, QLatin1Char('n')) + QStringLiteral(".JPG");
            row("a name that grows too long", images.mid(0, 100) + QStringList{longName} + images.mid(100), none,
                none, prefix, {});
            for (const int at : {1, 5, 64, 65, 130, count}) {
                const QByteArray n = QByteArray::number(at);
                row("a file appears before move " + n, images, none, none, prefix, {Fault::Intrude, at});
                row("renumbering, a file appears before move " + n, chain, none, none, renumber,
                    {Fault::Intrude, at});
                row("move " + n + " fails", images, none, none, prefix, {Fault::Fail, at});
                row("renumbering, move " + n + " fails", chain, none, none, renumber, {Fault::Fail, at});
                row("folder swapped before move " + n, images, none, none, prefix, {Fault::Swap, at});
                row("stopped before file " + n, images, none, none, renumber, {Fault::Stop, at});
            }
            // Files left in place after the number ran out, behind a
            // failed move still to be reported.
            RenameRequest toLastNumber = renumber;
            toLastNumber.numberText = QStringLiteral("2147483600");
            row("number runs out, move 40 fails", images, none, none, toLastNumber, {Fault::Fail, 40});
            row("case only, case counts", images, none, none, lower, {});
            row("case only, case blind", images, none, none, lower, {Fault::CaseBlind, 0});
            row("case only, case blind, names taken", images, {"IMG010.jpg", "img150.jpg"}, none, lower,
                {Fault::CaseBlind, 0});
            row("case only, move 100 fails", images, none, none, lower, {Fault::Fail, 100});
        }
    }
}

void MoveFaultsTest::nothingLost()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, others);
    QFETCH(QStringList, links);
    QFETCH(RenameRequest, request);
    QFETCH(int, faultKind);
    QFETCH(int, faultAt);
    const Fault fault{Fault::Kind(faultKind), faultAt};

    QFETCH(bool, batched);

    const RunResult run = runOnce(batched, files, others, links, request, fault);
    if (batched) {
        const RunResult oneByOne = runOnce(false, files, others, links, request, fault);
        QCOMPARE(run.moves, oneByOne.moves);
        QCOMPARE(run.folder, oneByOne.folder);
        QCOMPARE(run.swappedOut, oneByOne.swappedOut);
        QCOMPARE(run.report, oneByOne.report);
        QCOMPARE(run.reported, oneByOne.reported);
        QCOMPARE(run.number, oneByOne.number);
    }

    const QStringList where = fault.kind == Fault::Swap ? run.swappedOut : run.folder;
    QStringList contentsAfter = contentsOf(where);
    contentsAfter.removeAll(QStringLiteral("intruder"));
    // A file replaced on purpose is in the trash, not here.
    const qsizetype replaced = std::count_if(run.report.cbegin(), run.report.cend(), [](const QString &line) {
        return line.endsWith(QStringLiteral(" way %1").arg(int(RenamedFile::Way::ReplacedExisting)));
    });
    QCOMPARE(contentsAfter.size() + replaced, run.contentsBefore.size());
    for (const QString &content : std::as_const(contentsAfter))
        QVERIFY2(run.contentsBefore.contains(content), qPrintable(content));
    QCOMPARE(run.report.size() - (run.report.contains(QStringLiteral("stopped")) ? 1 : 0),
             files.size() + links.size());
    const qsizetype renamedLines = std::count_if(run.report.cbegin(), run.report.cend(),
                                                 [](const QString &line) { return line.contains(QStringLiteral(" way ")); });
    QCOMPARE(run.reported.size(), renamedLines);
    QVERIFY(!run.moves.isEmpty() || (fault.kind == Fault::Stop && fault.at == 1));
}

QTEST_GUILESS_MAIN(MoveFaultsTest)
#include "tst_movefaults.moc"
