// A run must only ever touch the folder it started in and the files it was
// given: folders swapped under it, a second run on the same folder, links
// that would point at themselves, read-only folders and stopped runs.

#include "rename/RenameRun.h"
#include "rename/RunJournal.h"

#include "DetachedRunTarget.h"
#include "TempFolder.h"
#include "TestIsolation.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <functional>

#include <fcntl.h>
#include <grp.h>
#include <csignal>
#include <sys/resource.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every entry of a folder: a file by the checksum of its content, a link by
// where it points, hidden entries included.
QMap<QString, QString> checksums(const QString &path)
{
    QMap<QString, QString> result;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink()) {
            result.insert(entry.fileName(), QStringLiteral("-> ") + QFile(entry.filePath()).symLinkTarget());
            continue;
        }
        QFile file(entry.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            result.insert(entry.fileName(), QStringLiteral("unreadable"));
            continue;
        }
        result.insert(entry.fileName(),
                      QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()));
    }
    return result;
}

// The contents of the files alone, whatever their names: what no run may
// lose.
QStringList contentsOf(const QMap<QString, QString> &sums)
{
    QStringList values;
    for (const QString &value : sums) {
        if (!value.startsWith(QStringLiteral("-> ")))
            values.append(value);
    }
    values.sort();
    return values;
}

QStringList hiddenNames(const QString &path)
{
    QStringList hidden;
    for (const QString &name : checksums(path).keys()) {
        if (name.startsWith(u'.'))
            hidden.append(name);
    }
    return hidden;
}

bool writeFiles(const QString &folder, const QStringList &names, const QString &tag)
{
    if (!QDir().mkpath(folder))
        return false;
    for (const QString &name : names) {
        QFile file(folder + u'/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write((tag + u':' + name).toUtf8()) <= 0)
            return false;
    }
    return true;
}

QStringList photos(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(QStringLiteral("Photo%1.jpg").arg(i));
    return names;
}

QList<RenameEntry> allSelected(const QStringList &names)
{
    QList<RenameEntry> entries;
    for (const QString &name : names)
        entries.append({name, true});
    return entries;
}

RenameRequest renumbering(const QString &start, bool keepExisting)
{
    RenameRequest request;
    request.type = NameOnly;
    request.newText = QStringLiteral("Photo");
    request.numberText = start;
    request.keepExisting = keepExisting;
    request.entryCount = 5;
    return request;
}

QStringList pairsOf(const RenameReport &report)
{
    QStringList pairs;
    for (const RenamedFile &file : report.renamed)
        pairs.append(file.oldName + QStringLiteral(" -> ") + file.newName);
    for (const LeftInPlaceFile &file : report.leftInPlace)
        pairs.append(file.name + QStringLiteral(" stays: ") + file.currentName);
    return pairs;
}

// The system's renames, with something done to the world just before the
// call of a chosen number (counted from 1).
class HookedOperations : public RenameFileOperations
{
public:
    HookedOperations(int step, std::function<void()> hook)
        : m_step(step)
        , m_hook(std::move(hook))
    {
    }

    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        if (++calls == m_step)
            m_hook();
        moves.append(fromName + QStringLiteral(" -> ") + toName);
        return SystemFileOperations().renameFile(folder, fromName, toName, mode, error);
    }

    int calls = 0;
    QStringList moves;

private:
    int m_step;
    std::function<void()> m_hook;
};

bool replaceLink(const QString &link, const QString &target)
{
    return QFile::remove(link) && QFile::link(target, link);
}

// Runs check with the rights of an ordinary user: as the superuser, in a
// child process that has given up its rights. The check's answer (0 for
// success) comes back as the exit status.
int asOrdinaryUser(const std::function<int()> &check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A folder that does not tell letter case apart, over a real one: a name
// is taken when any entry has it but for case, and a rename onto the file's
// own name in other letters does nothing, as such file systems do.
class CaseBlindOperations : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        moves.append(fromName + QStringLiteral(" -> ") + toName);
        const QStringList present = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        const bool ownName = fromName.compare(toName, Qt::CaseInsensitive) == 0;
        const bool taken = std::any_of(present.cbegin(), present.cend(), [&](const QString &name) {
            return name.compare(toName, Qt::CaseInsensitive) == 0;
        });
        if (taken && mode == Mode::NoReplace)
            return Outcome::TargetExists;
        if (ownName)
            return Outcome::Done;
        return SystemFileOperations().renameFile(folder, fromName, toName, mode, error);
    }

    QStringList moves;
};

class StoppingTarget : public DetachedRunTarget
{
public:
    explicit StoppingTarget(int stopAt)
        : m_stopAt(stopAt)
    {
    }
    bool stopRequested() override { return ++m_asked >= m_stopAt; }

private:
    int m_stopAt;
    int m_asked = 0;
};

} // namespace

class RunSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void folderSwappedMidRun_data();
    void folderSwappedMidRun();
    void secondRunIsRefused_data();
    void secondRunIsRefused();
    void selfLink_data();
    void selfLink();
    void simulatedRunInReadOnlyFolder_data();
    void simulatedRunInReadOnlyFolder();
    void stoppedRun_data();
    void stoppedRun();
    void temporaryNameTellsWhoseFile_data();
    void temporaryNameTellsWhoseFile();
    void caseOnlyChange_data();
    void caseOnlyChange();
    void selectedNameNotAFile_data();
    void selectedNameNotAFile();
    void journalThatCannotBeWritten_data();
    void journalThatCannotBeWritten();
};

void RunSafetyTest::folderSwappedMidRun_data()
{
    QTest::addColumn<bool>("throughLink"); // FOLDER is a link that gets re-pointed
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("keepExisting");

    for (const bool link : {false, true}) {
        for (const int step : {1, 2, 4, 6}) {
            for (const bool keep : {false, true}) {
                QTest::addRow("%s, before move %d, %s", link ? "link re-pointed" : "folder replaced", step,
                              keep ? "keep" : "overwrite")
                    << link << step << keep;
            }
        }
    }
}

void RunSafetyTest::folderSwappedMidRun()
{
    QFETCH(bool, throughLink);
    QFETCH(int, step);
    QFETCH(bool, keepExisting);

    TempFolder root;
    const QString work = root.filePath(QStringLiteral("work"));
    const QString other = root.filePath(QStringLiteral("other"));
    const QString moved = root.filePath(QStringLiteral("moved"));
    const QString reference = root.filePath(QStringLiteral("reference"));
    const QString link = root.filePath(QStringLiteral("link"));
    const QStringList names = photos(6);
    QVERIFY(writeFiles(work, names, QStringLiteral("work")));
    QVERIFY(writeFiles(reference, names, QStringLiteral("work")));
    QVERIFY(writeFiles(other, names + QStringList{QStringLiteral("Photo7.jpg"), QStringLiteral("z.txt")},
                       QStringLiteral("other")));
    QVERIFY(QFile::link(work, link));
    const QMap<QString, QString> otherBefore = checksums(other);

    // The same run undisturbed, for what the swapped one must still do.
    const RenameRequest request = renumbering(QStringLiteral("2"), keepExisting);
    DetachedRunTarget referenceTarget;
    const RenameReport expected = RunRename(FolderHandle(reference), allSelected(names), request, referenceTarget);

    QString otherNow = other; // where the other folder is after the swap
    QString workNow = work;
    HookedOperations operations(step, [&] {
        if (throughLink) {
            QVERIFY(replaceLink(link, other));
        } else {
            QVERIFY(QDir().rename(work, moved));
            QVERIFY(QDir().rename(other, work));
            otherNow = work;
            workNow = moved;
        }
    });
    DetachedRunTarget target;
    const RenameReport report =
        RunRename(FolderHandle(throughLink ? link : work), allSelected(names), request, target,
                  {.fileOperations = &operations});

    QVERIFY(operations.calls >= step);
    QCOMPARE(checksums(otherNow), otherBefore);
    QCOMPARE(checksums(workNow), checksums(reference));
    QCOMPARE(pairsOf(report), pairsOf(expected));
}

void RunSafetyTest::secondRunIsRefused_data()
{
    QTest::addColumn<QString>("secondPath"); // relative to the test's root
    QTest::addColumn<bool>("simulated");
    QTest::addColumn<bool>("refused");

    QTest::newRow("same path") << "work" << false << true;
    QTest::newRow("through a link to the folder") << "link" << false << true;
    QTest::newRow("spelt with a dot") << "work/." << false << true;
    QTest::newRow("simulated run is never refused") << "work" << true << false;
    QTest::newRow("another folder is free") << "other" << false << false;
}

void RunSafetyTest::secondRunIsRefused()
{
    QFETCH(QString, secondPath);
    QFETCH(bool, simulated);
    QFETCH(bool, refused);

    TempFolder root;
    const QString work = root.filePath(QStringLiteral("work"));
    const QStringList names = photos(4);
    QVERIFY(writeFiles(work, names, QStringLiteral("work")));
    QVERIFY(writeFiles(root.filePath(QStringLiteral("other")), names, QStringLiteral("other")));
    QVERIFY(QFile::link(work, root.filePath(QStringLiteral("link"))));
    const QString second = root.filePath(secondPath);

    // The second run starts while the first is between two files.
    RenameReport secondReport;
    DetachedRunTarget secondTarget;
    QMap<QString, QString> beforeSecond;
    QMap<QString, QString> afterSecond;
    HookedOperations operations(2, [&] {
        beforeSecond = checksums(second);
        RenameRequest request = renumbering(QStringLiteral("10"), false);
        request.rememberNumber = true;
        secondReport = RunRename(FolderHandle(second), allSelected(names), request, secondTarget,
                                 {.fileOperations = &(simulated ? SimulatedFileOperations() : SystemFileOperations())});
        afterSecond = checksums(second);
    });
    DetachedRunTarget target;
    const RenameReport first = RunRename(FolderHandle(work), allSelected(names),
                                         renumbering(QStringLiteral("2"), false), target,
                                         {.fileOperations = &operations});

    QCOMPARE(first.refusal, RenameReport::Refusal::None);
    QCOMPARE(first.renamedCount(), names.size());
    QCOMPARE(secondReport.refusal == RenameReport::Refusal::FolderBusy, refused);
    if (refused) {
        QCOMPARE(afterSecond, beforeSecond);
        QVERIFY(secondReport.renamed.isEmpty() && secondReport.leftInPlace.isEmpty());
        QVERIFY(secondReport.refusalMessage.contains(QStringLiteral("Another rename is running")));
        // Not even the window hears of a refused run.
        QCOMPARE(secondTarget.refreshCount, 0);
        QVERIFY(secondTarget.progressHistory.isEmpty());
        QVERIFY(secondTarget.number.isNull());
    } else {
        QCOMPARE(secondTarget.refreshCount, 1);
        QVERIFY(!secondReport.renamed.isEmpty());
    }

    // Once the first run is over the folder is free again.
    DetachedRunTarget third;
    const RenameReport after = RunRename(FolderHandle(work), allSelected(checksums(work).keys()),
                                         renumbering(QStringLiteral("100"), false), third);
    QCOMPARE(after.refusal, RenameReport::Refusal::None);
}

void RunSafetyTest::selfLink_data()
{
    QTest::addColumn<QString>("pointsTo");      // what Photo1.jpg, a link, holds
    QTest::addColumn<QStringList>("order");     // list order of the selected entries
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("keepExisting");

    const QStringList sorted = {"Photo1.jpg", "Photo2.jpg", "Photo3.jpg"};
    const QStringList targetFirst = {"Photo2.jpg", "Photo1.jpg", "Photo3.jpg"};
    QTest::newRow("overwrite, target set aside") << "Photo2.jpg" << sorted << "2" << false;
    QTest::newRow("overwrite, target spelt ./") << "./Photo2.jpg" << sorted << "2" << false;
    QTest::newRow("overwrite, target through the parent") << "../work/Photo2.jpg" << sorted << "2" << false;
    QTest::newRow("overwrite, target renamed first") << "Photo2.jpg" << targetFirst << "1" << false;
    QTest::newRow("keep, target renamed first") << "Photo2.jpg" << targetFirst << "1" << true;
    QTest::newRow("keep, target set aside") << "Photo2.jpg" << sorted << "2" << true;
}

void RunSafetyTest::selfLink()
{
    QFETCH(QString, pointsTo);
    QFETCH(QStringList, order);
    QFETCH(QString, start);
    QFETCH(bool, keepExisting);

    TempFolder root;
    const QString work = root.filePath(QStringLiteral("work"));
    QVERIFY(writeFiles(work, {QStringLiteral("Photo2.jpg"), QStringLiteral("Photo3.jpg")}, QStringLiteral("work")));
    QVERIFY(QFile::link(pointsTo, work + QStringLiteral("/Photo1.jpg")));
    const QStringList contentsBefore = contentsOf(checksums(work));

    DetachedRunTarget target;
    RunRename(FolderHandle(work), allSelected(order), renumbering(start, keepExisting), target);

    // No link is left pointing at itself, and every content is still there.
    const QFileInfoList entries = QDir(work).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (!entry.isSymLink())
            continue;
        char text[4096];
        const ssize_t length = ::readlink(QFile::encodeName(entry.filePath()).constData(), text, sizeof text);
        QVERIFY(length > 0);
        const QString pointed = QDir::cleanPath(work + u'/' + QString::fromUtf8(text, length));
        QVERIFY2(pointed != QDir::cleanPath(entry.filePath()), qPrintable(entry.fileName() + " points at itself"));
    }
    QCOMPARE(contentsOf(checksums(work)), contentsBefore);
}

void RunSafetyTest::simulatedRunInReadOnlyFolder_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("attributes"); // the file system's own flags, as chattr sets them
    QTest::addColumn<int>("renamed");

    QTest::newRow("read-only") << 0555 << 0 << 0;
    QTest::newRow("no entering") << 0666 << 0 << 0;
    QTest::newRow("writable") << 0777 << 0 << 3;
    QTest::newRow("immutable") << 0777 << int(FS_IMMUTABLE_FL) << 0;
    QTest::newRow("append-only") << 0777 << int(FS_APPEND_FL) << 0;
}

void RunSafetyTest::simulatedRunInReadOnlyFolder()
{
    QFETCH(int, mode);
    QFETCH(int, attributes);
    QFETCH(int, renamed);

    TempFolder root;
    const QString work = root.filePath(QStringLiteral("work"));
    const QStringList names = {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")};
    QVERIFY(writeFiles(work, names, QStringLiteral("work")));
    const QMap<QString, QString> before = checksums(work);
    QCOMPARE(::chmod(QFile::encodeName(root.path()).constData(), 0755), 0);
    const QByteArray encoded = QFile::encodeName(work);
    QCOMPARE(::chmod(encoded.constData(), mode_t(mode)), 0);
    const auto setAttributes = [&](int wanted) {
        const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        bool set = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = (flags & ~(FS_IMMUTABLE_FL | FS_APPEND_FL)) | wanted;
        set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return set;
    };
    if (attributes != 0 && !setAttributes(attributes))
        QSKIP("the file system or the rights do not allow these attributes here");

    // Each check has its own answer, so that a child process can tell
    // which one failed.
    const int failed = asOrdinaryUser([&]() -> int {
        DetachedRunTarget target;
        RenameRequest request = renumbering(QStringLiteral("1"), false);
        request.rememberNumber = true;
        const RenameReport report = RunRename(FolderHandle(work), allSelected(names), request, target,
                                              {.fileOperations = &SimulatedFileOperations()});
        if (report.renamedCount() != renamed)
            return 1;
        if (report.leftInPlace.size() != names.size() - renamed)
            return 2;
        for (const LeftInPlaceFile &file : report.leftInPlace) {
            // A folder that cannot be entered cannot be read either: its
            // files are not found.
            const LeftInPlaceReason expected =
                mode & 0100 ? LeftInPlaceReason::FolderNotWritable : LeftInPlaceReason::NotInFolder;
            if (file.reason != expected)
                return 3;
            if (expected == LeftInPlaceReason::FolderNotWritable
                && !file.message.contains(QStringLiteral("the folder cannot be written: ")))
                return 4;
        }
        // The number goes on as in a real run, which would try every file.
        return target.number == QStringLiteral("4") ? 0 : 5;
    });
    if (attributes != 0)
        setAttributes(0);
    ::chmod(encoded.constData(), 0755);

    QCOMPARE(failed, 0);
    QCOMPARE(checksums(work), before);
}

void RunSafetyTest::stoppedRun_data()
{
    QTest::addColumn<int>("stopAt"); // the selected file before which the stop comes, from 1
    QTest::addColumn<bool>("keepExisting");

    for (const int at : {1, 2, 3, 17, 30, 31}) {
        QTest::addRow("overwrite, before file %d", at) << at << false;
        QTest::addRow("keep, before file %d", at) << at << true;
    }
}

void RunSafetyTest::stoppedRun()
{
    QFETCH(int, stopAt);
    QFETCH(bool, keepExisting);

    // Renumbering onto the files' own names sets files aside; stopped
    // halfway, none may stay hidden.
    TempFolder folder;
    const QStringList names = photos(30);
    QVERIFY(writeFiles(folder.path(), names, QStringLiteral("work")));
    const QMap<QString, QString> before = checksums(folder.path());

    StoppingTarget target(stopAt);
    const RenameReport report = RunRename(FolderHandle(folder.path()), allSelected(names),
                                          renumbering(QStringLiteral("2"), keepExisting), target);

    QVERIFY(hiddenNames(folder.path()).isEmpty());
    QCOMPARE(contentsOf(checksums(folder.path())), contentsOf(before));
    QCOMPARE(report.stopped, stopAt <= names.size());
    const qsizetype handled = qMin<qsizetype>(stopAt - 1, names.size());
    QCOMPARE(report.renamed.size() + report.leftInPlace.size(), names.size());
    qsizetype stopped = 0;
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        if (file.reason == LeftInPlaceReason::Stopped)
            ++stopped;
        // Where the report says a file is, its content is.
        QCOMPARE(checksums(folder.path()).value(file.currentName), before.value(file.name));
    }
    QCOMPARE(stopped, names.size() - handled);
    for (const RenamedFile &file : report.renamed)
        QCOMPARE(checksums(folder.path()).value(file.newName), before.value(file.oldName));
    // Every rename was reported as it happened.
    QCOMPARE(target.renamedAsDone.size(), report.renamed.size());
}

void RunSafetyTest::temporaryNameTellsWhoseFile_data()
{
    QTest::addColumn<QString>("base"); // the files are base1.jpg, base2.jpg

    QTest::newRow("short name") << "Photo";
    QTest::newRow("name at the length limit") << QString(240, QLatin1Char('p'));
    QTest::newRow("long name of two-byte letters") << QString(120, QChar(0x00e9));
}

void RunSafetyTest::temporaryNameTellsWhoseFile()
{
    QFETCH(QString, base);

    TempFolder folder;
    const QStringList names = {base + QStringLiteral("1.jpg"), base + QStringLiteral("2.jpg")};
    QVERIFY(writeFiles(folder.path(), names, QStringLiteral("work")));
    HookedOperations operations(0, [] {});
    RenameRequest request = renumbering(QStringLiteral("2"), false);
    request.newText = base;
    DetachedRunTarget target;

    const RenameReport report = RunRename(FolderHandle(folder.path()), allSelected(names), request, target,
                                          {.fileOperations = &operations});

    QCOMPARE(report.renamedCount(), 2);
    const QStringList aside = operations.moves.filter(QStringLiteral(" -> .quillmere-"));
    QCOMPARE(aside.size(), 1);
    const QString temporary = aside.first().section(QStringLiteral(" -> "), 1);
    QVERIFY(QFile::encodeName(temporary).size() <= 255);
    // As much of the name as fits, whole characters only.
    const QString tail = temporary.section(u'-', 3);
    QVERIFY2(tail.size() >= 8 && names.at(1).startsWith(tail), qPrintable(temporary));
    QVERIFY(!tail.back().isHighSurrogate());
}

void RunSafetyTest::caseOnlyChange_data()
{
    QTest::addColumn<bool>("caseBlind");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<QStringList>("others"); // files of the folder not selected
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("moves");

    const QStringList none;
    QTest::newRow("case counts: one move a file") << false << true << none << QStringList{"a.jpg", "b.jpg"} << 2;
    QTest::newRow("case counts, overwriting: one move a file")
        << false << false << none << QStringList{"a.jpg", "b.jpg"} << 2;
    QTest::newRow("case blind: over a temporary name")
        << true << true << none << QStringList{"a.jpg", "b.jpg"} << 6;
    QTest::newRow("case blind, overwriting: over a temporary name")
        << true << false << none << QStringList{"a.jpg", "b.jpg"} << 6;
    QTest::newRow("case counts, another file has the name: a free variant")
        << false << true << QStringList{"a.jpg"} << QStringList{"a.jpg", "a_.jpg", "b.jpg"} << 2;
}

// Only the letter case of the extension changes. Where the file system
// tells case apart, each file moves once; where it does not, each goes over
// a temporary name; either way every file keeps its content.
void RunSafetyTest::caseOnlyChange()
{
    QFETCH(bool, caseBlind);
    QFETCH(bool, keepExisting);
    QFETCH(QStringList, others);
    QFETCH(QStringList, after);
    QFETCH(int, moves);

    TempFolder folder;
    const QStringList selected = {QStringLiteral("a.JPG"), QStringLiteral("b.JPG")};
    QVERIFY(writeFiles(folder.path(), selected + others, QStringLiteral("case")));
    const QStringList contentsBefore = contentsOf(checksums(folder.path()));
    RenameRequest request;
    request.type = ExtensionOnly;
    request.newExtension = QStringLiteral("jpg");
    request.keepExisting = keepExisting;
    request.entryCount = 2;
    DetachedRunTarget target;
    CaseBlindOperations blind;
    HookedOperations plain(0, [] {});
    RenameFileOperations &operations = caseBlind ? static_cast<RenameFileOperations &>(blind) : plain;

    const RenameReport report = RunRename(FolderHandle(folder.path()), allSelected(selected), request, target,
                                          {.fileOperations = &operations});

    QCOMPARE(report.renamedCount(), 2);
    QVERIFY(report.leftInPlace.isEmpty());
    QCOMPARE(folder.files(), after);
    QCOMPARE(contentsOf(checksums(folder.path())), contentsBefore);
    QCOMPARE((caseBlind ? blind.moves : plain.moves).size(), moves);
}

void RunSafetyTest::selectedNameNotAFile_data()
{
    QTest::addColumn<QString>("folderHas"); // under the name a.txt: "file", "folder" or "nothing"
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("reasons");

    QTest::newRow("listed twice, the file there")
        << "file" << QStringList{"a.txt", "a.txt"} << QStringList{"X_a.txt"}
        << QStringList{"the file is listed more than once"};
    QTest::newRow("listed twice, the file gone")
        << "nothing" << QStringList{"a.txt", "a.txt"} << QStringList{}
        << QStringList{"it is no longer in the folder", "it is no longer in the folder"};
    QTest::newRow("a folder has the name")
        << "folder" << QStringList{"a.txt"} << QStringList{} << QStringList{"it is no longer in the folder"};
    QTest::newRow("gone, among files that are there")
        << "nothing" << QStringList{"b.txt", "a.txt", "c.txt"} << QStringList{"X_b.txt", "X_c.txt"}
        << QStringList{"it is no longer in the folder"};
}

// Names of the list the folder does not hold as files are left alone, and
// so is whatever the folder holds under them.
void RunSafetyTest::selectedNameNotAFile()
{
    QFETCH(QString, folderHas);
    QFETCH(QStringList, entries);
    QFETCH(QStringList, after);
    QFETCH(QStringList, reasons);

    TempFolder folder;
    QStringList present = entries.filter(QRegularExpression(QStringLiteral("^[bc]")));
    if (folderHas == QLatin1String("file"))
        present.append(QStringLiteral("a.txt"));
    QVERIFY(writeFiles(folder.path(), present, QStringLiteral("there")));
    if (folderHas == QLatin1String("folder"))
        QVERIFY(folder.makeFolder(QStringLiteral("a.txt")));
    RenameRequest request;
    request.type = AddPrefix;
    request.newText = QStringLiteral("X_");
    request.entryCount = int(entries.size());
    DetachedRunTarget target;

    const RenameReport report = RunRename(FolderHandle(folder.path()), allSelected(entries), request, target);

    QCOMPARE(folder.files(), after);
    QCOMPARE(report.renamedCount(), after.size());
    QStringList messages;
    for (const LeftInPlaceFile &file : report.leftInPlace)
        messages.append(file.message);
    QCOMPARE(messages, reasons);
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("a.txt"))).isDir(), folderHas == QLatin1String("folder"));
}

void RunSafetyTest::journalThatCannotBeWritten_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<qint64>("sizeLimit"); // how large a file may grow; 0: a file where the journal folder goes
    QTest::addColumn<bool>("allowNoUndo");

    for (const bool allow : {false, true}) {
        const char *how = allow ? "allowed without undo" : "refused";
        QTest::addRow("no journal folder, %s", how) << 50 << qint64(0) << allow;
        QTest::addRow("plan cut short by the disk, %s", how) << 20000 << qint64(256 * 1024) << allow;
    }
}

// A run whose journal cannot be written is refused before any file moves,
// unless the request allows it to go ahead without; then it says so. No
// journal is left that claims a run it could not undo.
void RunSafetyTest::journalThatCannotBeWritten()
{
    QFETCH(int, files);
    QFETCH(qint64, sizeLimit);
    QFETCH(bool, allowNoUndo);

    TempFolder folder;
    QStringList names;
    for (int i = 0; i < files; ++i)
        names.append(QStringLiteral("a-rather-long-name-so-that-the-plan-grows-%1.jpg").arg(i));
    QVERIFY(writeFiles(folder.path(), names, QStringLiteral("plan")));
    const QMap<QString, QString> before = checksums(folder.path());
    const QString journals = RunJournalFolder();
    QVERIFY(RemoveIsolatedFolder(journals));
    if (sizeLimit == 0) {
        QVERIFY(QDir().mkpath(QFileInfo(journals).path()));
        QFile blocker(journals);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    }

    // The size limit holds for the child alone; beyond it a write fails
    // with EFBIG, as on a full disk.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        if (sizeLimit > 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {rlim_t(sizeLimit), rlim_t(sizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        RenameRequest request;
        request.type = AddPrefix;
        request.newText = QStringLiteral("X_");
        request.entryCount = files;
        request.allowNoUndo = allowNoUndo;
        DetachedRunTarget target;
        const RenameReport report = RunRename(FolderHandle(folder.path()), allSelected(names), request, target);
        const bool noJournal = report.journalPath.isEmpty();
        if (!allowNoUndo) {
            const bool refused = report.refusal == RenameReport::Refusal::NoJournal
                && report.refusalMessage.contains(QStringLiteral("Nothing was renamed"))
                && report.renamedCount() == 0 && report.leftInPlace.isEmpty() && target.refreshCount == 0;
            ::_exit(refused && noJournal ? 0 : 1);
        }
        const bool reported = noJournal && !report.journalProblem.isEmpty();
        ::_exit(report.refusal == RenameReport::Refusal::None && report.renamedCount() == files && reported ? 0 : 2);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);

    if (allowNoUndo) {
        const QStringList after = folder.files();
        QCOMPARE(after.filter(QRegularExpression(QStringLiteral("^X_"))).size(), names.size());
        QCOMPARE(contentsOf(checksums(folder.path())), contentsOf(before));
    } else {
        QCOMPARE(checksums(folder.path()), before);
    }
    if (sizeLimit > 0)
        QCOMPARE(QDir(journals).entryList(QDir::Files | QDir::Hidden), QStringList());
    else
        QVERIFY(QFile::remove(journals));
}

QTEST_GUILESS_MAIN(RunSafetyTest)
#include "tst_runsafety.moc"
