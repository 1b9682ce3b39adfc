// The folder index against a plain model of the same names, over long runs
// of additions and removals among names that collide in every way: same
// name, same name but for case, and the same home slot in a small table.

#include "rename/FolderIndex.h"

#include "core/FolderHandle.h"

#include "TempFolder.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

class TestFolderIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void agreesWithModel_data();
    void agreesWithModel();
    void loadKnowsTheListedFiles();
};

void TestFolderIndex::agreesWithModel_data()
{
    QTest::addColumn<int>("distinctNames");
    QTest::addColumn<int>("steps");

    QTest::newRow("few names, many collisions") << 12 << 20000;
    QTest::newRow("more names than the first table") << 400 << 40000;
}

void TestFolderIndex::agreesWithModel()
{
    QFETCH(int, distinctNames);
    QFETCH(int, steps);

    TempFolder folder;
    const QList<RenameEntry> entries;
    std::vector<FolderIndex::SelectedFile> selected;
    FolderIndex index;
    QVERIFY(index.load(FolderHandle(folder.path()), entries, selected));

    // Names in pairs that differ only in letter case.
    QStringList names;
    for (int i = 0; i < distinctNames; ++i)
        names.append(QStringLiteral("n%1%2").arg(i / 2).arg(i % 2 != 0 ? u'A' : u'a'));
    QHash<QString, int> model; // name -> holder
    QRandomGenerator random(20261208);
    for (int step = 0; step < steps; ++step) {
        const QString &name = names.at(random.bounded(int(names.size())));
        const size_t hash = index.hashOf(name);
        if (random.bounded(2) == 0) {
            const int holder = random.bounded(1000);
            const qsizetype slot = index.add(name, hash, true, holder);
            QCOMPARE(index.holder(slot), holder);
            model.insert(name, holder);
        } else {
            index.remove(name, hash);
            model.remove(name);
        }
        // The name and its case twin after every step, every name now and
        // then: found exactly when the model has it, with its holder, and
        // seen among the names alike.
        QStringList probes = {name, name.right(1) == u'a' ? name.chopped(1) + u'A' : name.chopped(1) + u'a'};
        if (step % 500 == 0)
            probes = names;
        for (const QString &probe : std::as_const(probes)) {
            const size_t probeHash = index.hashOf(probe);
            const qsizetype slot = index.find(probe, probeHash);
            QCOMPARE(slot >= 0, model.contains(probe));
            if (slot >= 0)
                QCOMPARE(index.holder(slot), model.value(probe));
            QStringList alike;
            index.forEachAlike(probe, probeHash, [&](const FolderIndex::Entry &entry) {
                alike.append(entry.name.toString());
                return true;
            });
            alike.sort();
            QStringList expected;
            for (auto it = model.cbegin(); it != model.cend(); ++it) {
                if (it.key().compare(probe, Qt::CaseInsensitive) == 0)
                    expected.append(it.key());
            }
            expected.sort();
            QCOMPARE(alike, expected);
        }
        if (QTest::currentTestFailed())
            return;
    }
}

// The run's own names are held by their entries: present files by the
// entry that lists them first, absent ones not at all, and a name that is
// no file stays in the index for what it is.
void TestFolderIndex::loadKnowsTheListedFiles()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({"a.txt", "b.txt", "other.txt"}));
    QVERIFY(folder.makeFolder(QStringLiteral("dir.txt")));
    const QList<RenameEntry> entries = {
        {QStringLiteral("a.txt"), true},   {QStringLiteral("gone.txt"), true}, {QStringLiteral("a.txt"), true},
        {QStringLiteral("dir.txt"), true}, {QStringLiteral("b.txt"), false},
    };
    std::vector<FolderIndex::SelectedFile> selected;
    FolderIndex index;
    QVERIFY(index.load(FolderHandle(folder.path()), entries, selected));

    QCOMPARE(selected.size(), size_t(5));
    QVERIFY(selected[0].present && !selected[0].listedTwice && selected[0].inode != 0);
    QVERIFY(!selected[1].present && !selected[1].listedTwice);
    QVERIFY(!selected[2].present && selected[2].listedTwice);
    QVERIFY(!selected[3].present);
    QVERIFY(!selected[4].present);

    const auto holderOf = [&](const QString &name) {
        const qsizetype slot = index.find(name, index.hashOf(name));
        return slot < 0 ? -2 : index.holder(slot);
    };
    QCOMPARE(holderOf(QStringLiteral("a.txt")), 0);
    QCOMPARE(holderOf(QStringLiteral("gone.txt")), -2);
    QCOMPARE(holderOf(QStringLiteral("dir.txt")), -1);
    QCOMPARE(holderOf(QStringLiteral("b.txt")), -1);
    QCOMPARE(holderOf(QStringLiteral("other.txt")), -1);
    bool dirIsFile = true;
    index.forEachAlike(QStringLiteral("DIR.TXT"), index.hashOf(QStringLiteral("DIR.TXT")),
                       [&](const FolderIndex::Entry &entry) {
                           dirIsFile = entry.ordinary;
                           return true;
                       });
    QVERIFY(!dirIsFile);
}

QTEST_GUILESS_MAIN(TestFolderIndex)
#include "tst_folderindex.moc"
