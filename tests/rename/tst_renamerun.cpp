#include "rename/RenameRun.h"

#include "DetachedRunTarget.h"
#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RenameRequest)

namespace {

const char *reasonName(LeftInPlaceReason reason)
{
    switch (reason) {
    case LeftInPlaceReason::SameName: return "SameName";
    case LeftInPlaceReason::NotInFolder: return "NotInFolder";
    case LeftInPlaceReason::InvalidName: return "InvalidName";
    case LeftInPlaceReason::LeavesFolder: return "LeavesFolder";
    case LeftInPlaceReason::NoFreeName: return "NoFreeName";
    case LeftInPlaceReason::NumberExhausted: return "NumberExhausted";
    case LeftInPlaceReason::NumberUnreadable: return "NumberUnreadable";
    case LeftInPlaceReason::MoveAsideFailed: return "MoveAsideFailed";
    case LeftInPlaceReason::HeldByNonFile: return "HeldByNonFile";
    case LeftInPlaceReason::SystemError: return "SystemError";
    case LeftInPlaceReason::LinkToNewName: return "LinkToNewName";
    case LeftInPlaceReason::FolderNotWritable: return "FolderNotWritable";
    case LeftInPlaceReason::Stopped: return "Stopped";
    case LeftInPlaceReason::ReplacedNotKept: return "ReplacedNotKept";
    case LeftInPlaceReason::TakenDuringRun: return "TakenDuringRun";
    }
    return "?";
}

RenameRequest request(RenamingType type, const QString &newText, const QString &newExtension,
                      const QString &numberText, bool keepExisting = false)
{
    RenameRequest r;
    r.type = type;
    r.newText = newText;
    r.newExtension = newExtension;
    r.numberText = numberText;
    r.keepExisting = keepExisting;
    r.entryCount = 5;
    return r;
}

// Files are written holding their own name; a trailing "/" makes a folder.
bool populate(TempFolder &folder, const QStringList &names)
{
    for (const QString &name : names) {
        if (name.endsWith(QLatin1Char('/')) ? !folder.makeFolder(name) : !folder.write(name, name.toUtf8()))
            return false;
    }
    return true;
}

// "*name" is a selected entry, "name" an unselected one.
QList<RenameEntry> entriesOf(const QStringList &layout)
{
    QList<RenameEntry> entries;
    for (const QString &item : layout) {
        const bool selected = item.startsWith(QLatin1Char('*'));
        entries.append({selected ? item.mid(1) : item, selected});
    }
    return entries;
}

// "new<old": the file new holds what old held; "name": unchanged.
QMap<QString, QByteArray> expectedContents(const QStringList &layout)
{
    QMap<QString, QByteArray> contents;
    for (const QString &item : layout) {
        const qsizetype arrow = item.indexOf(QLatin1Char('<'));
        contents.insert(item.left(arrow < 0 ? item.size() : arrow), (arrow < 0 ? item : item.mid(arrow + 1)).toUtf8());
    }
    return contents;
}

// A file left in place that still ended under another name (its own was
// taken while it waited) is reported as left, not as renamed.
QStringList expectedRenames(const QStringList &layout, const QStringList &left = {})
{
    QStringList leftNames;
    for (const QString &item : left) {
        if (item.contains(QLatin1Char('@')))
            leftNames.append(item.section(QLatin1Char('='), 0, 0));
    }
    QStringList pairs;
    for (const QString &item : layout) {
        const qsizetype arrow = item.indexOf(QLatin1Char('<'));
        if (arrow >= 0 && !leftNames.contains(item.mid(arrow + 1)))
            pairs.append(item.mid(arrow + 1) + QLatin1String(" -> ") + item.left(arrow));
    }
    pairs.sort();
    return pairs;
}

QStringList renamesOf(const QList<RenamedFile> &renamed)
{
    QStringList pairs;
    for (const RenamedFile &file : renamed)
        pairs.append(file.oldName + QLatin1String(" -> ") + file.newName);
    pairs.sort();
    return pairs;
}

QStringList renamesOf(const RenameReport &report)
{
    return renamesOf(report.renamed);
}

// "name=Reason", with "@current" when the file ended up under another name;
// first "name=Unchanged" for the files that already had their new name.
QStringList leftOf(const RenameReport &report)
{
    QStringList left;
    for (const QString &name : report.unchanged)
        left.append(name + QLatin1String("=Unchanged"));
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        QString item = file.name + u'=' + QLatin1String(reasonName(file.reason));
        if (file.currentName != file.name)
            item += u'@' + file.currentName;
        left.append(item);
    }
    return left;
}

// Real renames, except those whose target file name matches a pattern.
class FailingOperations : public RenameFileOperations
{
public:
    explicit FailingOperations(const QString &pattern)
        : m_pattern(pattern)
    {
    }

    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        if (!m_pattern.pattern().isEmpty() && m_pattern.match(toName).hasMatch()) {
            *error = QStringLiteral("refused by the test");
            return Outcome::Failed;
        }
        return SystemFileOperations().renameFile(folder, fromName, toName, mode, error);
    }

private:
    QRegularExpression m_pattern;
};

// Puts a file under the target name just before the rename: another
// program that was quicker.
class IntruderOperations : public RenameFileOperations
{
public:
    Outcome renameFile(const FolderHandle &folder, const QString &fromName, const QString &toName, Mode mode,
                       QString *error) override
    {
        if (!intruded) {
            intruded = true;
            QFile file(folder.path() + u'/' + toName);
            if (file.open(QIODevice::NewOnly))
                file.write("intruder");
        }
        return SystemFileOperations().renameFile(folder, fromName, toName, mode, error);
    }
    bool intruded = false;
};

// Logs every call, with the folder's files where a step's effect on disk
// matters, so the order of effects can be compared as a whole.
class RecordingTarget : public RenameRunTarget
{
public:
    explicit RecordingTarget(const TempFolder &folder)
        : m_folder(folder)
    {
    }

    QStringList log;

    void setNumberText(const QString &text) override
    {
        log.append(QStringLiteral("number %1 | %2").arg(text, m_folder.files().join(u' ')));
    }
    void setProgressValue(float percent) override { log.append(QStringLiteral("progress %1").arg(percent)); }
    void setFilterText(const QString &text) override { log.append(QStringLiteral("filter ") + text); }
    void refreshLists() override { log.append(QStringLiteral("refresh | ") + m_folder.files().join(u' ')); }
    void fileRenamed(const RenamedFile &file) override
    {
        log.append(QStringLiteral("renamed %1 -> %2 | %3").arg(file.oldName, file.newName, m_folder.files().join(u' ')));
    }
    bool stopRequested() override
    {
        log.append(QStringLiteral("stop?"));
        return false;
    }

private:
    const TempFolder &m_folder;
};

} // namespace

class RenameRunTest : public QObject
{
    Q_OBJECT

private slots:
    void run_data();
    void run();
    void dryRun_data();
    void dryRun();
    void number_data();
    void number();
    void progress_data();
    void progress();
    void filterRule_data();
    void filterRule();
    void orderOfEffects();
    void fileAppearingMeanwhileIsKept();
    void renameKeepsTheFileItself();
    void newNameLinkedToTheFile_data();
    void newNameLinkedToTheFile();
    void symbolicLinkOntoAFile_data();
    void symbolicLinkOntoAFile();
};

void RenameRunTest::run_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<RenameRequest>("request");
    QTest::addColumn<QString>("failOn");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("left");

    const QStringList photos = {"Photo1.jpg", "Photo2.jpg", "Photo3.jpg", "Photo4.jpg", "Photo5.jpg"};
    const QString longBase(250, QLatin1Char('P'));

    QTest::newRow("unselected entries untouched")
        << QStringList{"a.jpg", "b.jpg", "c.png"} << QStringList{"a.jpg", "*b.jpg", "c.png"} << request(NameOnly, "Photo", "", "1") << QString()
        << QStringList{"a.jpg", "Photo1.jpg<b.jpg", "c.png"} << QStringList{};

    // Keeping existing files.
    QTest::newRow("keep: taken name gets an underscore, number goes on")
        << QStringList{"Photo1.jpg", "a.jpg", "b.jpg"} << QStringList{"Photo1.jpg", "*a.jpg", "*b.jpg"}
        << request(NameOnly, "Photo", "", "1", true) << QString()
        << QStringList{"Photo1.jpg", "Photo1_.jpg<a.jpg", "Photo2.jpg<b.jpg"} << QStringList{};
    QTest::newRow("keep: taken in other letter case")
        << QStringList{"PHOTO1.JPG", "a.jpg"} << QStringList{"PHOTO1.JPG", "*a.jpg"}
        << request(NameOnly, "Photo", "", "1", true) << QString()
        << QStringList{"PHOTO1.JPG", "Photo1_.jpg<a.jpg"} << QStringList{};
    QTest::newRow("keep: taken in other case, accented")
        << QStringList{QString::fromUtf8("\u00c9T\u00c91.JPG"), "a.jpg"} << QStringList{"*a.jpg"}
        << request(NameOnly, QString::fromUtf8("\u00e9t\u00e9"), "", "1", true) << QString()
        << QStringList{QString::fromUtf8("\u00c9T\u00c91.JPG"), QString::fromUtf8("\u00e9t\u00e91_.jpg<a.jpg")}
        << QStringList{};
    QTest::newRow("keep: dotless i folds onto a plain name")
        << QStringList{"FILE1.txt", "a.txt"} << QStringList{"*a.txt"}
        << request(NameOnly, QString::fromUtf8("f\u0131le"), "", "1", true) << QString()
        << QStringList{"FILE1.txt", QString::fromUtf8("f\u0131le1_.txt<a.txt")} << QStringList{};
    QTest::newRow("keep: underscores until free")
        << QStringList{"Photo1.jpg", "Photo1_.jpg", "a.jpg"} << QStringList{"*a.jpg"}
        << request(NameOnly, "Photo", "", "1", true) << QString()
        << QStringList{"Photo1.jpg", "Photo1_.jpg", "Photo1__.jpg<a.jpg"} << QStringList{};
    QTest::newRow("keep: every occurrence of the extension")
        << QStringList{"x.jpg", "x.jpg.JPG"} << QStringList{"*x.jpg"}
        << request(ExtensionOnly, "", "jpg.JPG", "1", true) << QString()
        << QStringList{"x.jpg.JPG", "x_.JPG_.JPG<x.jpg"} << QStringList{};
    QTest::newRow("keep: name without a dot")
        << QStringList{"Photo1", "README"} << QStringList{"*README"} << request(NameOnly, "Photo", "", "1", true)
        << QString() << QStringList{"Photo1", "Photo1_<README"} << QStringList{};
    {
        // Far more files than list entries: the folder index grows while read.
        QStringList many;
        for (int i = 0; i < 60; ++i)
            many.append(QStringLiteral("f%1.txt").arg(i));
        QTest::newRow("keep: taken name in a folder larger than the list")
            << many + QStringList{"PHOTO1.JPG", "a.jpg"} << QStringList{"*a.jpg"}
            << request(NameOnly, "Photo", "", "1", true) << QString()
            << many + QStringList{"PHOTO1.JPG", "Photo1_.jpg<a.jpg"} << QStringList{};
    }
    QTest::newRow("keep: hidden file under the new name")
        << QStringList{".x", "x"} << QStringList{"*x"} << request(AddPrefix, ".", "", "1", true) << QString()
        << QStringList{".x", "_.x<x"} << QStringList{};
    QTest::newRow("keep: folder under the new name")
        << QStringList{"Photo1.jpg/", "a.jpg"} << QStringList{"*a.jpg"} << request(NameOnly, "Photo", "", "1", true)
        << QString() << QStringList{"Photo1_.jpg<a.jpg"} << QStringList{};
    QTest::newRow("keep: renumbering avoids every selected file")
        << photos << QStringList{"*Photo1.jpg", "*Photo2.jpg", "*Photo3.jpg", "*Photo4.jpg", "*Photo5.jpg"}
        << request(NameOnly, "Photo", "", "2", true) << QString()
        << QStringList{"Photo2_.jpg<Photo1.jpg", "Photo3_.jpg<Photo2.jpg", "Photo4_.jpg<Photo3.jpg",
                       "Photo5_.jpg<Photo4.jpg", "Photo6.jpg<Photo5.jpg"}
        << QStringList{};
    QTest::newRow("keep: no free variant fits the file system")
        << QStringList{longBase + "1.jpg", "a.jpg"} << QStringList{"*a.jpg"}
        << request(NameOnly, longBase, "", "1", true) << QString() << QStringList{longBase + "1.jpg", "a.jpg"}
        << QStringList{"a.jpg=NoFreeName"};

    // Replacing existing files.
    QTest::newRow("overwrite: unselected file is replaced")
        << QStringList{"Photo1.jpg", "a.jpg"} << QStringList{"Photo1.jpg", "*a.jpg"}
        << request(NameOnly, "Photo", "", "1") << QString() << QStringList{"Photo1.jpg<a.jpg"} << QStringList{};
    QTest::newRow("overwrite: renumbering keeps every file")
        << photos << QStringList{"*Photo1.jpg", "*Photo2.jpg", "*Photo3.jpg", "*Photo4.jpg", "*Photo5.jpg"}
        << request(NameOnly, "Photo", "", "2") << QString()
        << QStringList{"Photo2.jpg<Photo1.jpg", "Photo3.jpg<Photo2.jpg", "Photo4.jpg<Photo3.jpg",
                       "Photo5.jpg<Photo4.jpg", "Photo6.jpg<Photo5.jpg"}
        << QStringList{};
    QTest::newRow("overwrite: same name produced twice")
        << QStringList{"a.gif", "a.png"} << QStringList{"*a.gif", "*a.png"} << request(ExtensionOnly, "", "jpg", "1")
        << QString() << QStringList{"a.jpg<a.gif", "a_.jpg<a.png"} << QStringList{};
    QTest::newRow("overwrite: selected file waits under a produced name")
        << QStringList{"a.gif", "a.jpg", "a.png"} << QStringList{"*a.gif", "*a.jpg", "*a.png"}
        << request(ExtensionOnly, "", "jpg", "1") << QString()
        << QStringList{"a.jpg<a.gif", "a_.jpg<a.jpg", "a__.jpg<a.png"} << QStringList{};
    QTest::newRow("overwrite: selected file that failed is not replaced")
        << QStringList{"a.jpg", "b.jpg"} << QStringList{"*a.jpg", "*b.jpg"} << request(AddSuffix, "x", "", "1")
        << QString("^ax\\.jpg$") << QStringList{"a.jpg", "bx.jpg<b.jpg"} << QStringList{"a.jpg=SystemError"};
    // Letter case counts in neither mode; a file is replaced only under
    // exactly its name, so one in other letter case is not replaced.
    QTest::newRow("overwrite: taken in other letter case")
        << QStringList{"PHOTO1.JPG", "a.jpg"} << QStringList{"PHOTO1.JPG", "*a.jpg"}
        << request(NameOnly, "Photo", "", "1") << QString()
        << QStringList{"PHOTO1.JPG", "Photo1_.jpg<a.jpg"} << QStringList{};
    QTest::newRow("overwrite: other case in the way, its variant taken too")
        << QStringList{"X1.JPG", "X1_.jpg", "a.jpg"} << QStringList{"X1.JPG", "X1_.jpg", "*a.jpg"}
        << request(NameOnly, "X", "", "1") << QString()
        << QStringList{"X1.JPG", "X1__.jpg<a.jpg", "X1_.jpg"} << QStringList{};
    QTest::newRow("overwrite: hidden file in other case is not in the way")
        << QStringList{".P1.JPG", "a.jpg"} << QStringList{"*a.jpg"} << request(NameOnly, ".p", "", "1")
        << QString() << QStringList{".P1.JPG", ".p1.jpg<a.jpg"} << QStringList{};
    QTest::newRow("overwrite: folder under the new name")
        << QStringList{"Photo1.jpg/", "a.jpg"} << QStringList{"*a.jpg"} << request(NameOnly, "Photo", "", "1")
        << QString() << QStringList{"a.jpg"} << QStringList{"a.jpg=HeldByNonFile"};

    // A file never collides with itself.
    QTest::newRow("overwrite: own name left untouched")
        << QStringList{"a.jpg", "b.png"} << QStringList{"*a.jpg", "*b.png"} << request(ExtensionOnly, "", "jpg", "1")
        << QString() << QStringList{"a.jpg", "b.jpg<b.png"} << QStringList{"a.jpg=Unchanged"};
    QTest::newRow("keep: own name left untouched")
        << QStringList{"a.jpg", "b.png"} << QStringList{"*a.jpg", "*b.png"}
        << request(ExtensionOnly, "", "jpg", "1", true) << QString() << QStringList{"a.jpg", "b.jpg<b.png"}
        << QStringList{"a.jpg=Unchanged"};
    QTest::newRow("keep: free variant is its own name")
        << QStringList{"P1.jpg", "P1_.jpg"} << QStringList{"P1.jpg", "*P1_.jpg"}
        << request(NameOnly, "P", "", "1", true) << QString() << QStringList{"P1.jpg", "P1_.jpg"}
        << QStringList{"P1_.jpg=Unchanged"};
    QTest::newRow("overwrite: letter case of its own name")
        << QStringList{"photo.JPG"} << QStringList{"*photo.JPG"} << request(ExtensionOnly, "", "jpg", "1")
        << QString() << QStringList{"photo.jpg<photo.JPG"} << QStringList{};
    QTest::newRow("keep: letter case of its own name")
        << QStringList{"photo.JPG"} << QStringList{"*photo.JPG"} << request(ExtensionOnly, "", "jpg", "1", true)
        << QString() << QStringList{"photo.jpg<photo.JPG"} << QStringList{};
    QTest::newRow("keep: letter case taken by another file")
        << QStringList{"a.JPG", "a.jpg"} << QStringList{"*a.JPG", "a.jpg"} << request(ExtensionOnly, "", "jpg", "1", true)
        << QString() << QStringList{"a.jpg", "a_.jpg<a.JPG"} << QStringList{};

    // Names the folder cannot hold.
    QTest::newRow("prefix climbing out of the folder")
        << QStringList{"a.jpg"} << QStringList{"*a.jpg"} << request(AddPrefix, "../", "", "1") << QString()
        << QStringList{"a.jpg"} << QStringList{"a.jpg=LeavesFolder"};
    QTest::newRow("name into a sub-folder")
        << QStringList{"a.jpg", "sub/"} << QStringList{"*a.jpg"} << request(NameOnly, "sub/x", "", "1") << QString()
        << QStringList{"a.jpg"} << QStringList{"a.jpg=LeavesFolder"};
    QTest::newRow("dot-dot name")
        << QStringList{"README"} << QStringList{"*README"} << request(NameOnly, "..", "", "") << QString()
        << QStringList{"README"} << QStringList{"README=LeavesFolder"};
    QTest::newRow("empty name")
        << QStringList{"README"} << QStringList{"*README"} << request(NameOnly, "", "", "") << QString()
        << QStringList{"README"} << QStringList{"README=InvalidName"};
    QTest::newRow("NUL in name")
        << QStringList{"a.jpg"} << QStringList{"*a.jpg"} << request(AddPrefix, QString(QChar(0)), "", "") << QString()
        << QStringList{"a.jpg"} << QStringList{"a.jpg=InvalidName"};
    QTest::newRow("name too long")
        << QStringList{"a.jpg", "b.jpg"} << QStringList{"*a.jpg", "*b.jpg"}
        << request(AddPrefix, QString(252, QLatin1Char('x')), "", "1") << QString()
        << QStringList{"a.jpg", "b.jpg"} << QStringList{"a.jpg=InvalidName", "b.jpg=InvalidName"};
    QTest::newRow("name just fits")
        << QStringList{"a.jpg"} << QStringList{"*a.jpg"} << request(AddPrefix, QString(250, QLatin1Char('x')), "", "1")
        << QString() << QStringList{QString(250, QLatin1Char('x')) + "a.jpg<a.jpg"} << QStringList{};
    QTest::newRow("backslash is an ordinary character")
        << QStringList{"a.jpg"} << QStringList{"*a.jpg"} << request(AddPrefix, "x\\", "", "1") << QString()
        << QStringList{"x\\a.jpg<a.jpg"} << QStringList{};

    // Entries that are no file of the folder.
    QTest::newRow("missing file still uses a number")
        << QStringList{"b.jpg"} << QStringList{"*ghost.jpg", "*b.jpg"} << request(NameOnly, "Photo", "", "1")
        << QString() << QStringList{"Photo2.jpg<b.jpg"} << QStringList{"ghost.jpg=NotInFolder"};
    QTest::newRow("folder entry is not renamed")
        << QStringList{"dir/", "b.jpg"} << QStringList{"*dir", "*b.jpg"} << request(NameOnly, "Photo", "", "1")
        << QString() << QStringList{"Photo2.jpg<b.jpg"} << QStringList{"dir=NotInFolder"};
    QTest::newRow("entry listed twice")
        << QStringList{"a.jpg"} << QStringList{"*a.jpg", "*a.jpg"} << request(NameOnly, "Photo", "", "1")
        << QString() << QStringList{"Photo1.jpg<a.jpg"} << QStringList{"a.jpg=NotInFolder"};

    // Failures while files wait under a temporary name.
    QTest::newRow("set-aside file whose turn fails")
        << QStringList{"Photo1.jpg", "Photo2.jpg", "Photo3.jpg"}
        << QStringList{"*Photo1.jpg", "*Photo2.jpg", "*Photo3.jpg"} << request(NameOnly, "Photo", "", "2")
        << QString("^Photo4\\.jpg$")
        << QStringList{"Photo2.jpg<Photo1.jpg", "Photo3.jpg<Photo2.jpg", "Photo3_.jpg<Photo3.jpg"}
        << QStringList{"Photo3.jpg=SystemError@Photo3_.jpg"};
    QTest::newRow("file cannot be set aside")
        << QStringList{"Photo1.jpg", "Photo2.jpg", "Photo3.jpg"}
        << QStringList{"*Photo1.jpg", "*Photo2.jpg", "*Photo3.jpg"} << request(NameOnly, "Photo", "", "2")
        << QString("^\\.") << QStringList{"Photo1.jpg", "Photo2.jpg", "Photo4.jpg<Photo3.jpg"}
        << QStringList{"Photo1.jpg=MoveAsideFailed", "Photo2.jpg=MoveAsideFailed"};
    QTest::newRow("letter case change fails halfway")
        << QStringList{"photo.JPG"} << QStringList{"*photo.JPG"} << request(ExtensionOnly, "", "jpg", "1")
        << QString("^photo\\.jpg$") << QStringList{"photo.JPG"} << QStringList{"photo.JPG=SystemError"};
    QTest::newRow("number runs out while a file waits")
        << QStringList{"a.jpg", "b.jpg", "P2147483647.jpg"} << QStringList{"*a.jpg", "*b.jpg", "*P2147483647.jpg"}
        << request(NameOnly, "P", "", "2147483646") << QString()
        << QStringList{"P2147483646.jpg<a.jpg", "P2147483647.jpg<b.jpg", "P2147483647_.jpg<P2147483647.jpg"}
        << QStringList{"P2147483647.jpg=NumberExhausted@P2147483647_.jpg"};
}

void RenameRunTest::run()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, entries);
    QFETCH(RenameRequest, request);
    QFETCH(QString, failOn);
    QFETCH(QStringList, after);
    QFETCH(QStringList, left);

    // Once with the report's list of renamed files, once with only their
    // count: the folder, the target and the files left are the same.
    for (const bool keepList : {true, false}) {
        TempFolder folder;
        QVERIFY(populate(folder, files));
        DetachedRunTarget target;
        target.number = request.numberText;
        FailingOperations operations(failOn);

        const RenameReport report = RunRename(FolderHandle(folder.path()), entriesOf(entries), request, target,
                                              {.fileOperations = &operations, .keepRenamedList = keepList});

        // Compared whole, hidden files included: nothing is lost, nothing
        // stays behind under a temporary name.
        QCOMPARE(folder.contents(), expectedContents(after));
        const QStringList renames = expectedRenames(after, left);
        QCOMPARE(renamesOf(report), keepList ? renames : QStringList());
        QCOMPARE(renamesOf(target.renamedAsDone), renames);
        QCOMPARE(report.renamedCount(), renames.size());
        QCOMPARE(leftOf(report), left);
        for (const QString &name : files) {
            if (name.endsWith(QLatin1Char('/')))
                QVERIFY(QFileInfo(folder.filePath(name)).isDir());
        }
    }
}

void RenameRunTest::dryRun_data()
{
    run_data();
}

void RenameRunTest::dryRun()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, entries);
    QFETCH(RenameRequest, request);
    QFETCH(QString, failOn);

    if (!failOn.isEmpty())
        QSKIP("the real run fails on purpose here");

    TempFolder real;
    TempFolder simulated;
    QVERIFY(populate(real, files));
    QVERIFY(populate(simulated, files));
    const QMap<QString, QByteArray> before = simulated.contents();
    DetachedRunTarget realTarget;
    DetachedRunTarget simulatedTarget;
    realTarget.number = simulatedTarget.number = request.numberText;

    const RenameReport expected = RunRename(FolderHandle(real.path()), entriesOf(entries), request, realTarget);
    const RenameReport report =
        RunRename(FolderHandle(simulated.path()), entriesOf(entries), request, simulatedTarget,
                  {.fileOperations = &SimulatedFileOperations()});

    QCOMPARE(simulated.contents(), before);
    QCOMPARE(renamesOf(report), renamesOf(expected));
    QCOMPARE(leftOf(report), leftOf(expected));
    QCOMPARE(simulatedTarget.number, realTarget.number);
}

void RenameRunTest::number_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("numberAfter");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("remembered") << 1 << "1" << true << QStringList{"P1.jpg<a.jpg", "P2.jpg<b.jpg", "P3.txt<c.txt"}
                                << "4" << QStringList{};
    QTest::newRow("restored") << 1 << "1" << false << QStringList{"P1.jpg<a.jpg", "P2.jpg<b.jpg", "P3.txt<c.txt"}
                              << "1" << QStringList{};
    QTest::newRow("no type counts like name only")
        << -1 << "5" << true << QStringList{"P5.jpg<a.jpg", "P6.jpg<b.jpg", "P7.txt<c.txt"} << "8" << QStringList{};
    QTest::newRow("leading zeros only on the first")
        << 1 << "007" << true << QStringList{"P007.jpg<a.jpg", "P8.jpg<b.jpg", "P9.txt<c.txt"} << "10" << QStringList{};
    QTest::newRow("blanks and fraction")
        << 1 << " 7.5" << true << QStringList{"P 7.5.jpg<a.jpg", "P9.jpg<b.jpg", "P10.txt<c.txt"} << "11"
        << QStringList{};
    QTest::newRow("negative") << 0 << "-1" << true << QStringList{"P-1.png<a.jpg", "P0.png<b.jpg", "P1.png<c.txt"}
                              << "2" << QStringList{};
    QTest::newRow("extension only advances")
        << 2 << "5" << true << QStringList{"a.png<a.jpg", "b.png<b.jpg", "c.png<c.txt"} << "8" << QStringList{};
    QTest::newRow("extension only, no number needed")
        << 2 << "" << true << QStringList{"a.png<a.jpg", "b.png<b.jpg", "c.png<c.txt"} << "" << QStringList{};
    QTest::newRow("extension only, text number")
        << 2 << "x" << true << QStringList{"a.png<a.jpg", "b.png<b.jpg", "c.png<c.txt"} << "x" << QStringList{};
    QTest::newRow("prefix leaves the number")
        << 3 << "5" << true << QStringList{"Pa.jpg<a.jpg", "Pb.jpg<b.jpg", "Pc.txt<c.txt"} << "5" << QStringList{};
    QTest::newRow("suffix leaves the number")
        << 4 << "5" << true << QStringList{"aP.jpg<a.jpg", "bP.jpg<b.jpg", "cP.txt<c.txt"} << "5" << QStringList{};
    QTest::newRow("number runs out")
        << 1 << "2147483646" << true << QStringList{"P2147483646.jpg<a.jpg", "P2147483647.jpg<b.jpg", "c.txt"}
        << "2147483647" << QStringList{"c.txt=NumberExhausted"};
    QTest::newRow("number is no number")
        << 1 << "abc" << true << QStringList{"Pabc.jpg<a.jpg", "b.jpg", "c.txt"} << "abc"
        << QStringList{"b.jpg=NumberUnreadable", "c.txt=NumberUnreadable"};
    QTest::newRow("number runs out, restored")
        << 1 << "2147483647" << false << QStringList{"P2147483647.jpg<a.jpg", "b.jpg", "c.txt"} << "2147483647"
        << QStringList{"b.jpg=NumberExhausted", "c.txt=NumberExhausted"};
}

void RenameRunTest::number()
{
    QFETCH(int, type);
    QFETCH(QString, start);
    QFETCH(bool, remember);
    QFETCH(QStringList, after);
    QFETCH(QString, numberAfter);
    QFETCH(QStringList, left);

    TempFolder folder;
    QVERIFY(populate(folder, {"a.jpg", "b.jpg", "c.txt"}));
    RenameRequest r = request(RenamingType(type), "P", "png", start);
    r.rememberNumber = remember;
    DetachedRunTarget target;
    target.number = start;

    const RenameReport report =
        RunRename(FolderHandle(folder.path()), entriesOf({"*a.jpg", "*b.jpg", "*c.txt"}), r, target);

    QCOMPARE(folder.contents(), expectedContents(after));
    QCOMPARE(target.number, numberAfter);
    QCOMPARE(leftOf(report), left);
}

void RenameRunTest::progress_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<float>>("values");

    QTest::newRow("second of four") << QStringList{"a", "*b", "c", "d"} << QList<float>{25, 50, 75, 100};
    QTest::newRow("nothing selected") << QStringList{"a", "b"} << QList<float>{50, 100};
    QTest::newRow("thirds in single precision")
        << QStringList{"*a", "*b", "*c"} << QList<float>{float(100.0 / 3), float(200.0 / 3), 100};
    QTest::newRow("empty list keeps the bar") << QStringList{} << QList<float>{};
}

void RenameRunTest::progress()
{
    QFETCH(QStringList, entries);
    QFETCH(QList<float>, values);

    TempFolder folder;
    DetachedRunTarget target;
    target.progress = 42;
    RunRename(FolderHandle(folder.path()), entriesOf(entries), request(NameOnly, "P", "", "1"), target);

    QCOMPARE(target.progressHistory, values);
    QCOMPARE(target.progress, values.isEmpty() ? 42.0F : values.last());
}

void RenameRunTest::filterRule_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("filterOn");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QString>("filterAfter");

    const QString placeholder = kExtensionPlaceholder;
    QTest::newRow("both, filter on") << 0 << true << "png" << "png";
    QTest::newRow("extension only, filter on") << 2 << true << "png" << "png";
    QTest::newRow("no type follows the extension box") << -1 << true << placeholder << placeholder;
    QTest::newRow("name only keeps the filter") << 1 << true << "png" << "jpg";
    QTest::newRow("prefix keeps the filter") << 3 << true << "png" << "jpg";
    QTest::newRow("suffix keeps the filter") << 4 << true << "png" << "jpg";
    QTest::newRow("filter off") << 0 << false << "png" << "jpg";
    QTest::newRow("compared exactly") << 0 << true << "JPG" << "JPG";
}

void RenameRunTest::filterRule()
{
    QFETCH(int, type);
    QFETCH(bool, filterOn);
    QFETCH(QString, newExtension);
    QFETCH(QString, filterAfter);

    TempFolder folder;
    RenameRequest r = request(RenamingType(type), "P", newExtension, "1");
    r.filterOn = filterOn;
    r.filterExtension = QStringLiteral("jpg");
    DetachedRunTarget target;
    target.filter = QStringLiteral("jpg");
    target.number = QStringLiteral("1");

    // No entry selected: the end of the run happens all the same.
    RunRename(FolderHandle(folder.path()), entriesOf({"a.jpg"}), r, target);

    QCOMPARE(target.filter, filterAfter);
    QCOMPARE(target.number, QStringLiteral("1"));
    QCOMPARE(target.refreshCount, 1);
}

void RenameRunTest::orderOfEffects()
{
    TempFolder folder;
    QVERIFY(populate(folder, {"a.jpg", "b.jpg", "c.jpg"}));
    RenameRequest r = request(BothNameAndExtension, "P", "png", "1");
    r.filterOn = true;
    r.filterExtension = QStringLiteral("jpg");
    RecordingTarget target(folder);

    RunRename(FolderHandle(folder.path()), entriesOf({"*a.jpg", "b.jpg", "*c.jpg"}), r, target);

    const QStringList expected = {
        "stop?",
        "renamed a.jpg -> P1.png | P1.png b.jpg c.jpg",
        "number 2 | P1.png b.jpg c.jpg",
        "progress 33.3333",
        "progress 66.6667",
        "stop?",
        "renamed c.jpg -> P2.png | P1.png P2.png b.jpg",
        "number 3 | P1.png P2.png b.jpg",
        "progress 100",
        "filter png",
        "number 1 | P1.png P2.png b.jpg",
        "refresh | P1.png P2.png b.jpg",
    };
    QCOMPARE(target.log, expected);
}

void RenameRunTest::fileAppearingMeanwhileIsKept()
{
    TempFolder folder;
    QVERIFY(populate(folder, {"a.jpg"}));
    DetachedRunTarget target;
    target.number = QStringLiteral("1");
    IntruderOperations operations;

    const RenameReport report = RunRename(FolderHandle(folder.path()), entriesOf({"*a.jpg"}),
                                          request(NameOnly, "Photo", "", "1", true), target,
                                          {.fileOperations = &operations});

    QVERIFY(operations.intruded);
    QCOMPARE(folder.contents(), (QMap<QString, QByteArray>{{"Photo1.jpg", "intruder"}, {"Photo1_.jpg", "a.jpg"}}));
    QCOMPARE(renamesOf(report), QStringList{"a.jpg -> Photo1_.jpg"});
}

void RenameRunTest::renameKeepsTheFileItself()
{
    TempFolder folder;
    QVERIFY(populate(folder, {"a.jpg"}));
    const QByteArray oldPath = QFile::encodeName(folder.filePath("a.jpg"));
    QCOMPARE(::chmod(oldPath.constData(), 0604), 0);
    QVERIFY(QFile::link(folder.filePath("a.jpg"), folder.filePath("link")));
    struct stat before;
    QCOMPARE(::stat(oldPath.constData(), &before), 0);
    DetachedRunTarget target;
    target.number = QStringLiteral("1");

    RunRename(FolderHandle(folder.path()), entriesOf({"*a.jpg"}), request(NameOnly, "Photo", "", "1"), target);

    struct stat after;
    QCOMPARE(::stat(QFile::encodeName(folder.filePath("Photo1.jpg")).constData(), &after), 0);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

void RenameRunTest::newNameLinkedToTheFile_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("links"); // "new=existing": a second hard link to a file
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<RenameRequest>("request");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("renamed");

    // Replacing a name that is another link to the same file is no change to
    // rename(2), which then succeeds and keeps the old name.
    QTest::newRow("overwrite: new name is another link")
        << QStringList{"a.jpg"} << QStringList{"Photo1.jpg=a.jpg"} << QStringList{"*a.jpg", "Photo1.jpg"}
        << request(NameOnly, "Photo", "", "1") << QStringList{"Photo1.jpg<a.jpg"}
        << QStringList{"a.jpg -> Photo1.jpg"};
    QTest::newRow("overwrite: other letter case is another link")
        << QStringList{"a.JPG"} << QStringList{"a.jpg=a.JPG"} << QStringList{"*a.JPG", "a.jpg"}
        << request(ExtensionOnly, "", "jpg", "1") << QStringList{"a.jpg<a.JPG"} << QStringList{"a.JPG -> a.jpg"};
    QTest::newRow("overwrite: other files keep their links")
        << QStringList{"a.jpg", "b.jpg"} << QStringList{"Photo1.jpg=a.jpg", "c.jpg=b.jpg"}
        << QStringList{"*a.jpg", "b.jpg", "c.jpg", "Photo1.jpg"} << request(NameOnly, "Photo", "", "1")
        << QStringList{"Photo1.jpg<a.jpg", "b.jpg", "c.jpg<b.jpg"} << QStringList{"a.jpg -> Photo1.jpg"};
    QTest::newRow("keep: new name is another link")
        << QStringList{"a.jpg"} << QStringList{"Photo1.jpg=a.jpg"} << QStringList{"*a.jpg", "Photo1.jpg"}
        << request(NameOnly, "Photo", "", "1", true) << QStringList{"Photo1.jpg<a.jpg", "Photo1_.jpg<a.jpg"}
        << QStringList{"a.jpg -> Photo1_.jpg"};
}

void RenameRunTest::newNameLinkedToTheFile()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, links);
    QFETCH(QStringList, entries);
    QFETCH(RenameRequest, request);
    QFETCH(QStringList, after);
    QFETCH(QStringList, renamed);

    TempFolder folder;
    QVERIFY(populate(folder, files));
    for (const QString &link : std::as_const(links)) {
        const QByteArray target = QFile::encodeName(folder.filePath(link.section(u'=', 1)));
        const QByteArray name = QFile::encodeName(folder.filePath(link.section(u'=', 0, 0)));
        QCOMPARE(::link(target.constData(), name.constData()), 0);
    }
    DetachedRunTarget target;
    target.number = request.numberText;

    const RenameReport report = RunRename(FolderHandle(folder.path()), entriesOf(entries), request, target);

    // Reported as renamed only when the old name is really gone.
    QCOMPARE(folder.contents(), expectedContents(after));
    QCOMPARE(renamesOf(report), renamed);
    QCOMPARE(leftOf(report), QStringList{});
}

void RenameRunTest::symbolicLinkOntoAFile_data()
{
    QTest::addColumn<QString>("linkTarget");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<QStringList>("after");      // name, "->" for a link, "<" for whose content
    QTest::addColumn<QStringList>("left");

    // "a.jpg" is a link; the run names it "b1.jpg", a real file of the folder.
    QTest::newRow("overwrite: link onto the file it points to stays")
        << QStringLiteral("b1.jpg") << false << QStringList{"a.jpg->b1.jpg", "b1.jpg<b1.jpg", "c.jpg<c.jpg"}
        << QStringList{"a.jpg"};
    QTest::newRow("overwrite: link to another file replaces as asked")
        << QStringLiteral("c.jpg") << false << QStringList{"b1.jpg->c.jpg", "c.jpg<c.jpg"} << QStringList{};
    QTest::newRow("keep: link takes a free variant")
        << QStringLiteral("b1.jpg") << true << QStringList{"b1.jpg<b1.jpg", "b1_.jpg->b1.jpg", "c.jpg<c.jpg"}
        << QStringList{};
}

void RenameRunTest::symbolicLinkOntoAFile()
{
    QFETCH(QString, linkTarget);
    QFETCH(bool, keepExisting);
    QFETCH(QStringList, after);
    QFETCH(QStringList, left);

    TempFolder folder;
    QVERIFY(folder.writeNamed({"b1.jpg", "c.jpg"}));
    QVERIFY(QFile::link(linkTarget, folder.filePath("a.jpg")));
    DetachedRunTarget target;
    target.number = QStringLiteral("1");

    const RenameReport report = RunRename(FolderHandle(folder.path()), entriesOf({"*a.jpg", "b1.jpg", "c.jpg"}),
                                          request(NameOnly, "b", "", "1", keepExisting), target);

    QStringList seen;
    for (const QString &name : folder.files()) {
        const QFileInfo info(folder.filePath(name));
        seen.append(info.isSymLink() ? name + QStringLiteral("->") + QFile::symLinkTarget(info.filePath()).section(u'/', -1)
                                     : name + u'<' + QString::fromUtf8(folder.read(name)));
    }
    QCOMPARE(seen, after);
    QStringList leftNames;
    for (const LeftInPlaceFile &file : report.leftInPlace)
        leftNames.append(file.name);
    QCOMPARE(leftNames, left);
}

QTEST_GUILESS_MAIN(RenameRunTest)
#include "tst_renamerun.moc"
