// What rules read of the files themselves, in a folder large enough for the
// reads to run on a second thread: numbering in order of modified time or
// size follows the files whatever thread read them, statuses read while the
// folder was listed stand for the right files, and a plan stopped halfway
// leaves nothing behind that a later plan could trip over.

#include "RuleBuilders.h"
#include "TempFolder.h"
#include "core/FolderHandle.h"
#include "rename/RunTypes.h"
#include "rename/rules/FileFacts.h"
#include "rename/rules/RulePlan.h"
#include "rename/rules/RulePlanCache.h"
#include "rename/rules/StatusPrefetch.h"

#include <QDateTime>
#include <QFile>
#include <QtTest>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

using namespace RuleBuilders;

// Past the count from which the statuses are read on two threads.
constexpr int kLargeFolder = 9000;

// A folder of files f00000, f00001, ... whose modified times and sizes each
// run in an order of their own, neither that of the names.
struct FactsFolder
{
    TempFolder folder;
    QStringList names;
    std::vector<qint64> modifiedMs;
    std::vector<qint64> sizes;

    bool make(int count)
    {
        for (int k = 0; k < count; ++k) {
            const QString name = QStringLiteral("f%1").arg(k, 5, 10, QLatin1Char('0'));
            const qint64 seconds = 1000000000 + qint64((k * 7919) % count) * 10;
            const int size = (k * 37) % 101;
            QFile file(folder.filePath(name));
            // Written out before the time is set, which the write would undo.
            if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(size, 'x')) != size || !file.flush()
                || !file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds), QFileDevice::FileModificationTime))
                return false;
            names.append(name);
            modifiedMs.push_back(seconds * 1000);
            sizes.push_back(size);
        }
        return true;
    }

    // The 1-based place of each file when sorted by key, ties in list order.
    std::vector<int> ranksBy(const std::vector<qint64> &key) const
    {
        std::vector<int> order(key.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[size_t(a)] < key[size_t(b)]; });
        std::vector<int> rank(key.size());
        for (size_t place = 0; place < order.size(); ++place)
            rank[size_t(order[place])] = int(place) + 1;
        return rank;
    }
};

RenameRule numberAtEnd(R::Order order)
{
    return with(number(R::Place::End), [order](R &rule) { rule.order = order; });
}

// Each file's new name when the rules upper-case "f" and number at the end.
QStringList expectedNames(const FactsFolder &files, const std::vector<int> &rank, const QString &prefix)
{
    QStringList names;
    for (qsizetype k = 0; k < files.names.size(); ++k)
        names.append(prefix + files.names.at(k).mid(1) + QString::number(rank[size_t(k)]));
    return names;
}

} // namespace

class TestFileFacts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void numbersFollowTheFiles_data();
    void numbersFollowTheFiles();
    void prefetchedStatusesStandForTheirFiles_data();
    void prefetchedStatusesStandForTheirFiles();
    void aStoppedPlanLeavesTheCacheWhole();
    void aPrefetchLetGoUnfinishedEnds();

private:
    FactsFolder m_large;
};

void TestFileFacts::initTestCase()
{
    QVERIFY(m_large.make(kLargeFolder));
}

void TestFileFacts::numbersFollowTheFiles_data()
{
    QTest::addColumn<int>("order");
    QTest::addColumn<bool>("rulesBefore");
    // Rules before the numbering are applied while the statuses are read.
    QTest::newRow("modified, numbering alone") << int(R::Order::Modified) << false;
    QTest::newRow("modified, after name rules") << int(R::Order::Modified) << true;
    QTest::newRow("size, after name rules") << int(R::Order::Size) << true;
}

void TestFileFacts::numbersFollowTheFiles()
{
    QFETCH(int, order);
    QFETCH(bool, rulesBefore);
    const FolderHandle folder(m_large.folder.path());
    const QList<RenameEntry> entries = selectAll(m_large.names);
    const RuleList list = rulesBefore
        ? rules({replace(QStringLiteral("^f"), QStringLiteral("g")), caseRule(R::CaseForm::Upper), numberAtEnd(R::Order(order))})
        : rules({numberAtEnd(R::Order(order))});
    const RulePlan plan = RulePlan::make(folder, entries, list, true, int(entries.size()));
    QVERIFY2(!plan.isRefused(), qPrintable(plan.refusal()));
    const auto &key = R::Order(order) == R::Order::Size ? m_large.sizes : m_large.modifiedMs;
    QCOMPARE(*plan.names(), expectedNames(m_large, m_large.ranksBy(key), rulesBefore ? "G" : "f"));
}

void TestFileFacts::prefetchedStatusesStandForTheirFiles_data()
{
    QTest::addColumn<int>("count");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("some batches and a part") << 2500;
}

void TestFileFacts::prefetchedStatusesStandForTheirFiles()
{
    QFETCH(int, count);
    const FolderHandle folder(m_large.folder.path());
    // Handed over in an order of their own, as a folder lists them, with a
    // name no file has among them.
    std::vector<int> handed(static_cast<size_t>(count));
    std::iota(handed.begin(), handed.end(), 0);
    std::shuffle(handed.begin(), handed.end(), std::mt19937(count));
    auto prefetch = std::make_unique<StatusPrefetch>(folder);
    for (int k : handed)
        prefetch->add(m_large.names.at(k).toUtf8().constData(), size_t(m_large.names.at(k).size()));
    prefetch->add("gone", 4);

    // The entries in list order, each pointed at its place in that order;
    // the name no file has is the last entry.
    QStringList names = m_large.names.mid(0, count);
    names.append(QStringLiteral("gone"));
    std::vector<quint32> placeOf(size_t(names.size()));
    for (int place = 0; place < count; ++place)
        placeOf[size_t(handed[size_t(place)])] = quint32(place);
    placeOf.back() = quint32(count);
    const QList<RenameEntry> entries = selectAll(names);
    FileFacts facts(folder, entries);
    facts.adoptStatuses(std::move(prefetch), std::move(placeOf));
    for (int k = 0; k < count; ++k) {
        QCOMPARE(facts.modifiedMs(k), m_large.modifiedMs[size_t(k)]);
        QCOMPARE(facts.size(k), m_large.sizes[size_t(k)]);
    }
    QCOMPARE(facts.modifiedMs(count), 0);
    QCOMPARE(facts.size(count), 0);
}

void TestFileFacts::aStoppedPlanLeavesTheCacheWhole()
{
    const FolderHandle folder(m_large.folder.path());
    const QList<RenameEntry> entries = selectAll(m_large.names);
    const RuleList list = rules({caseRule(R::CaseForm::Upper), numberAtEnd(R::Order::Modified)});
    const QStringList expected = expectedNames(m_large, m_large.ranksBy(m_large.modifiedMs), "F");

    // Stopped while the name rules are applied and the statuses still read.
    RulePlanCache cache(folder, entries);
    int asked = 0;
    const RulePlan stopped =
        RulePlan::make(cache, list, true, int(entries.size()), [&asked] { return ++asked > 1; });
    QVERIFY(stopped.isStopped());
    QVERIFY(!stopped.names());
    const RulePlan whole = RulePlan::make(cache, list, true, int(entries.size()));
    QVERIFY(!whole.isStopped());
    QCOMPARE(*whole.names(), expected);

    // A cache given up halfway, as a preview superseded by the next keystroke.
    {
        RulePlanCache dropped(folder, entries);
        QVERIFY(RulePlan::make(dropped, list, true, int(entries.size()), [] { return true; }).isStopped());
    }
}

void TestFileFacts::aPrefetchLetGoUnfinishedEnds()
{
    const FolderHandle folder(m_large.folder.path());
    {
        StatusPrefetch prefetch(folder);
        for (const QString &name : std::as_const(m_large.names))
            prefetch.add(name.toUtf8().constData(), size_t(name.size()));
        // The listing failed: the prefetch goes without finish().
    }
    StatusPrefetch again(folder);
    again.add("f00001", 6);
    again.finish();
    QCOMPARE(again.count(), 1);
    QCOMPARE(again.status(0).size, m_large.sizes[1]);
}

QTEST_GUILESS_MAIN(TestFileFacts)
#include "tst_filefacts.moc"
