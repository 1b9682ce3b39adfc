// The three list models driven through real changes of a real folder, each
// watched by QAbstractItemModelTester in fatal mode: a model that breaks
// Qt's model contract (wrong row counts, changes not announced, indexes
// that outlive their rows) ends the test at the faulty step.

#include "core/FolderHandle.h"
#include "selection/DriveListModel.h"
#include "selection/FileListModel.h"
#include "selection/FolderListModel.h"

#include "TempFolder.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

#include <fcntl.h>
#include <unistd.h>

namespace {

QStringList rowTexts(const QAbstractItemModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows.append(model.index(row, 0).data().toString());
    return rows;
}

// Counts every way a model can notify its views that rows changed.
struct ChangeSpy
{
    explicit ChangeSpy(QAbstractItemModel *model)
        : reset(model, &QAbstractItemModel::modelReset)
        , inserted(model, &QAbstractItemModel::rowsInserted)
        , removed(model, &QAbstractItemModel::rowsRemoved)
        , changed(model, &QAbstractItemModel::dataChanged)
    {
    }
    qsizetype count() const { return reset.size() + inserted.size() + removed.size() + changed.size(); }

    QSignalSpy reset;
    QSignalSpy inserted;
    QSignalSpy removed;
    QSignalSpy changed;
};

// A folder tree every case starts from: /a (with /a/inner), /b, /Cc, a
// hidden folder and some files.
struct Tree
{
    TempFolder folder;
    Tree()
    {
        folder.makeFolder(QStringLiteral("a/inner"));
        folder.makeFolder(QStringLiteral("b"));
        folder.makeFolder(QStringLiteral("Cc"));
        folder.makeFolder(QStringLiteral(".hidden"));
        folder.writeNamed({QStringLiteral("one.jpg"), QStringLiteral("two.JPG"), QStringLiteral("three.png"),
                           QStringLiteral("a/inside.jpg")});
    }
    QString path(const QString &name = {}) const { return name.isEmpty() ? folder.path() : folder.filePath(name); }
};

using FolderStep = std::function<bool(FolderListModel &, Tree &)>;
using FileStep = std::function<bool(FileListModel &, Tree &)>;

} // namespace

Q_DECLARE_METATYPE(FolderStep)
Q_DECLARE_METATYPE(FileStep)

class TestListModels : public QObject
{
    Q_OBJECT

private slots:
    void folderModel_data();
    void folderModel();
    void fileModel_data();
    void fileModel();
    void driveModel();
};

void TestListModels::folderModel_data()
{
    QTest::addColumn<FolderStep>("step");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("current");    // relative to the tree
    QTest::addColumn<QStringList>("below");  // the rows after the current one

    QTest::newRow("stay") << FolderStep([](FolderListModel &m, Tree &) { return m.refresh(); }) << true
                          << QString() << QStringList{"a", "b", "Cc"};
    QTest::newRow("into a subfolder")
        << FolderStep([](FolderListModel &m, Tree &) { return m.setPath(QStringLiteral("a")); }) << true
        << QStringLiteral("a") << QStringList{"inner"};
    QTest::newRow("into an empty folder")
        << FolderStep([](FolderListModel &m, Tree &) { return m.setPath(QStringLiteral("a/inner")); }) << true
        << QStringLiteral("a/inner") << QStringList{};
    QTest::newRow("open the first subfolder")
        << FolderStep([](FolderListModel &m, Tree &) { return m.open(m.currentRow() + 1); }) << true
        << QStringLiteral("a") << QStringList{"inner"};
    QTest::newRow("subfolder added, refresh")
        << FolderStep([](FolderListModel &m, Tree &t) {
               return t.folder.makeFolder(QStringLiteral("ab")) && m.refresh();
           })
        << true << QString() << QStringList{"a", "ab", "b", "Cc"};
    QTest::newRow("subfolders removed, refresh")
        << FolderStep([](FolderListModel &m, Tree &t) {
               return QDir(t.path(QStringLiteral("b"))).removeRecursively()
                   && QDir(t.path(QStringLiteral("Cc"))).removeRecursively() && m.refresh();
           })
        << true << QString() << QStringList{"a"};
    QTest::newRow("open a subfolder that has gone")
        << FolderStep([](FolderListModel &m, Tree &t) {
               const int row = m.currentRow() + 2; // "b"
               return QDir(t.path(QStringLiteral("b"))).removeRecursively() && m.open(row);
           })
        << false << QString() << QStringList{"a", "Cc"};
    QTest::newRow("folder that does not exist")
        << FolderStep([](FolderListModel &m, Tree &) { return m.setPath(QStringLiteral("nowhere")); }) << false
        << QString() << QStringList{"a", "b", "Cc"};
}

void TestListModels::folderModel()
{
    QFETCH(FolderStep, step);
    QFETCH(bool, succeeds);
    QFETCH(QString, current);
    QFETCH(QStringList, below);

    Tree tree;
    QVERIFY(tree.folder.isValid());
    FolderListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QVERIFY(model.setPath(tree.path()));
    ChangeSpy spy(&model);
    const QStringList before = rowTexts(model);

    QCOMPARE(step(model, tree), succeeds);

    QCOMPARE(model.path(), QDir::cleanPath(tree.path(current)));
    QCOMPARE(model.index(model.currentRow(), 0).data(FolderListModel::KindRole).toInt(),
             int(FolderListModel::Current));
    QCOMPARE(rowTexts(model).mid(model.currentRow() + 1), below);
    if (rowTexts(model) != before)
        QVERIFY2(spy.count() > 0, "the rows changed without a word to the views");
}

void TestListModels::fileModel_data()
{
    QTest::addColumn<FileStep>("step");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("another folder")
        << FileStep([](FileListModel &m, Tree &t) { return m.setPath(t.path(QStringLiteral("a"))); }) << true
        << QStringList{"inside.jpg"};
    QTest::newRow("filter on an extension")
        << FileStep([](FileListModel &m, Tree &) { return m.setPattern(QStringLiteral("*.jpg")); }) << true
        << QStringList{"one.jpg", "two.JPG"};
    QTest::newRow("filter matching nothing")
        << FileStep([](FileListModel &m, Tree &) { return m.setPattern(QStringLiteral("*.gif")); }) << true
        << QStringList{};
    QTest::newRow("file added, refresh")
        << FileStep([](FileListModel &m, Tree &t) { return t.folder.write(QStringLiteral("four.txt")) && m.refresh(); })
        << true << QStringList{"four.txt", "one.jpg", "three.png", "two.JPG"};
    QTest::newRow("files removed, refresh")
        << FileStep([](FileListModel &m, Tree &t) {
               return QFile::remove(t.path(QStringLiteral("one.jpg")))
                   && QFile::remove(t.path(QStringLiteral("two.JPG"))) && m.refresh();
           })
        << true << QStringList{"three.png"};
    QTest::newRow("folder removed, refresh")
        << FileStep([](FileListModel &m, Tree &t) {
               return QDir(t.path()).removeRecursively() && m.refresh();
           })
        << false << QStringList{};
    QTest::newRow("name that is not text: shown with its byte escaped, named by its own bytes")
        << FileStep([](FileListModel &m, Tree &t) {
               const QByteArray raw = QFile::encodeName(t.path()) + "/bad\xff.jpg";
               const int fd = ::open(raw.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
               return fd >= 0 && ::close(fd) == 0 && m.refresh()
                   && m.fileNames().contains(FolderHandle::decodeName("bad\xff.jpg"));
           })
        << true << QStringList{"bad\\377.jpg", "one.jpg", "three.png", "two.JPG"};
    QTest::newRow("select all, then another folder")
        << FileStep([](FileListModel &m, Tree &t) {
               m.selectAll();
               return m.selectedCount() == 3 && m.setPath(t.path(QStringLiteral("a")));
           })
        << true << QStringList{"inside.jpg"};
}

void TestListModels::fileModel()
{
    QFETCH(FileStep, step);
    QFETCH(bool, succeeds);
    QFETCH(QStringList, rows);

    Tree tree;
    QVERIFY(tree.folder.isValid());
    FileListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QVERIFY(model.setPath(tree.path()));
    ChangeSpy spy(&model);
    const QStringList before = rowTexts(model);

    QCOMPARE(step(model, tree), succeeds);

    QStringList sorted = rowTexts(model);
    sorted.sort(Qt::CaseInsensitive);
    QCOMPARE(sorted, rows);
    QCOMPARE(model.count(), rows.size());
    // Every re-fill leaves nothing selected, so no selection points past the end.
    QCOMPARE(model.selectedCount(), 0);
    if (rowTexts(model) != before)
        QVERIFY2(spy.count() > 0, "the rows changed without a word to the views");
}

void TestListModels::driveModel()
{
    QList<MountedVolume> volumes{{"/", "ext4", true}, {"/media/stick", "vfat", true}};
    DriveListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setVolumeSource([&volumes] { return volumes; });
    QCOMPARE(rowTexts(model).size(), 2);

    const struct
    {
        const char *what;
        std::function<void()> change;
        int rows;
    } steps[] = {
        {"choose the stick", [&] { QVERIFY(model.setDrive(QStringLiteral("/media/stick"))); }, 2},
        {"a card arrives", [&] { volumes.append({"/media/card", "vfat", true}); model.refreshDrives(); }, 3},
        {"the chosen stick is pulled", [&] { volumes.removeAt(1); model.refreshDrives(); }, 3},
        {"a system mount appears", [&] { volumes.append({"/proc", "proc", true}); model.refreshDrives(); }, 3},
        {"the stick is back", [&] { volumes.insert(1, {"/media/stick", "vfat", true}); model.refreshDrives(); }, 3},
        {"choose the card", [&] { QVERIFY(model.setDrive(QStringLiteral("/media/card"))); }, 3},
        {"all but the root gone", [&] { volumes = {{"/", "ext4", true}}; model.refreshDrives(); }, 2},
    };
    for (const auto &step : steps) {
        step.change();
        QVERIFY2(model.rowCount() == step.rows, step.what);
        QVERIFY2(model.currentRow() >= 0 && model.currentRow() < model.rowCount(), step.what);
        QVERIFY2(model.index(model.currentRow(), 0).data().toString() == model.drive(), step.what);
    }
    QCOMPARE(model.drive(), QStringLiteral("/media/card"));
    QVERIFY(!model.isReady(QStringLiteral("/media/card")));
}

QTEST_GUILESS_MAIN(TestListModels)
#include "tst_listmodels.moc"
