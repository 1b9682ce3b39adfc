// The rules preview kept up to date off the window's thread: the rows shown
// first against the whole preview, newer input superseding older work, and
// the facts kept between changes of the rules dropped when the files change.

#include "PreviewOutcomeName.h"
#include "TempFolder.h"

#include "rename/rules/RulesPreviewComputer.h"

#include <QDateTime>
#include <QFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QtTest>

#include <atomic>

Q_DECLARE_METATYPE(RuleList)

namespace {

using R = RenameRule;

template<typename Change>
RenameRule ruleOf(R::Kind kind, Change change)
{
    RenameRule rule;
    rule.kind = kind;
    change(rule);
    return rule;
}

RenameRule replacing(const QString &find, const QString &with)
{
    return ruleOf(R::Kind::Replace, [&](R &r) {
        r.find = find;
        r.replacement = with;
    });
}

RenameRule numbering(R::Order order, qint64 start = 1)
{
    return ruleOf(R::Kind::Number, [&](R &r) {
        r.place = R::Place::End;
        r.order = order;
        r.start = start;
        r.widthMode = R::Width::None;
    });
}

RuleList listOf(std::initializer_list<RenameRule> rules)
{
    RuleList list;
    for (const RenameRule &rule : rules)
        list.append(rule);
    return list;
}


// "old>new:outcome" per row.
QStringList rowsOf(const QList<PreviewRow> &rows)
{
    QStringList text;
    for (const PreviewRow &row : rows)
        text.append(row.currentName + u'>' + row.newName + u':' + QLatin1String(PreviewOutcomeName(row.outcome)));
    return text;
}

bool sameRow(const PreviewRow &a, const PreviewRow &b)
{
    return a.currentName == b.currentName && a.newName == b.newName && a.outcome == b.outcome
        && a.reason == b.reason && a.note == b.note;
}

bool setModified(const QString &path, qint64 secondsSinceEpoch)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite)
        && file.setFileTime(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch), QFileDevice::FileModificationTime);
}

// Files "name" or "name@seconds" (its modified time); "*" before either
// selects it.
QList<RenameEntry> makeFiles(const TempFolder &folder, const QStringList &layout)
{
    QList<RenameEntry> entries;
    for (QString item : layout) {
        const bool selected = item.startsWith(u'*');
        if (selected)
            item.remove(0, 1);
        const QString name = item.section(u'@', 0, 0);
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(name.toUtf8()) < 0)
            return {};
        file.close();
        if (item.contains(u'@') && !setModified(folder.filePath(name), item.section(u'@', 1).toLongLong()))
            return {};
        entries.append({name, selected});
    }
    return entries;
}

// What a window's view of the preview gets.
struct Received
{
    struct Visible
    {
        qsizetype first = 0;
        QList<PreviewRow> rows;
        quint64 generation = 0;
    };
    QList<Visible> visible;
    QList<RenamePreview> previews;
    QList<quint64> previewGenerations;

    void listen(RulesPreviewComputer &computer)
    {
        QObject::connect(&computer, &RulesPreviewComputer::visibleRowsReady, &computer,
                         [this](qsizetype first, const QList<PreviewRow> &rows, quint64 generation) {
                             visible.append({first, rows, generation});
                         });
        QObject::connect(&computer, &RulesPreviewComputer::previewReady, &computer,
                         [this](const RenamePreview &preview, quint64 generation) {
                             previews.append(preview);
                             previewGenerations.append(generation);
                         });
    }
};

} // namespace

class TestRulesPreview : public QObject
{
    Q_OBJECT

private slots:
    void visibleRowsAgreeWithWholePreview_data();
    void visibleRowsAgreeWithWholePreview();
    void newerInputSupersedesOlderWork_data();
    void newerInputSupersedesOlderWork();
    void changedFilesAreReadAgain_data();
    void changedFilesAreReadAgain();
};

void TestRulesPreview::visibleRowsAgreeWithWholePreview_data()
{
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<RuleList>("rules");
    QTest::addColumn<bool>("keepExisting");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("count");
    // The whole preview, in list order; empty when refused.
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("refusalHolds");

    const RenameRule title = ruleOf(R::Kind::Case, [](R &r) { r.caseForm = R::CaseForm::Title; });
    QTest::newRow("expression and title case, a file left out")
        << QStringList{"*img_1 beach.jpg", "notes.txt", "*img_2 city.jpg", "*other.jpg"}
        << listOf({replacing(QStringLiteral("^img_(\\d+) "), QStringLiteral("shot $1 ")), title}) << true << 0 << 3
        << QStringList{"img_1 beach.jpg>Shot 1 Beach.jpg:renamed", "img_2 city.jpg>Shot 2 City.jpg:renamed",
                       "other.jpg>Other.jpg:renamed"}
        << QString();
    // Modified times run against the list: numbers follow the times.
    QTest::newRow("numbered by modified time, rows from the middle")
        << QStringList{"*a@2000000300", "*b@2000000100", "*c@2000000200", "*d@2000000000"}
        << listOf({numbering(R::Order::Modified)}) << true << 1 << 2
        << QStringList{"a>a4:renamed", "b>b2:renamed", "c>c3:renamed", "d>d1:renamed"} << QString();
    // The visible rows cannot see that "x.txt" is taken by a file further down.
    QTest::newRow("a clash gets \"_\"")
        << QStringList{"*x1.txt", "*x2.txt", "*y.txt"} << listOf({replacing(QStringLiteral("\\d"), QString())}) << true
        << 0 << 3 << QStringList{"x1.txt>x.txt:renamed", "x2.txt>x_.txt:variant", "y.txt>y.txt:unchanged"}
        << QString();
    QTest::newRow("a name that would leave the folder")
        << QStringList{"*a.txt", "*b.txt"} << listOf({replacing(QStringLiteral("^a$"), QStringLiteral("../a"))})
        << true << 0 << 5 << QStringList{"a.txt>../a.txt:left", "b.txt>b.txt:unchanged"} << QString();
    // Run order is b, a (a waits for b's name): the rows stay in list order.
    QTest::newRow("a renumbering chain in list order")
        << QStringList{"*f1", "*f2", "*g"} << listOf({replacing(QStringLiteral("\\d$"), QString()), numbering(R::Order::List, 2)})
        << true << 0 << 2 << QStringList{"f1>f2:renamed", "f2>f3:renamed", "g>g4:renamed"} << QString();
    QTest::newRow("an expression that does not compile")
        << QStringList{"*a", "*b"} << listOf({replacing(QStringLiteral("(a"), QString())}) << true << 0 << 2
        << QStringList() << QStringLiteral("rule 1");
    QTest::newRow("two files under one name, replacing")
        << QStringList{"*x1", "*x2"} << listOf({replacing(QStringLiteral("\\d"), QString())}) << false << 0 << 2
        << QStringList() << QStringLiteral("\"x1\" and \"x2\"");
}

void TestRulesPreview::visibleRowsAgreeWithWholePreview()
{
    QFETCH(QStringList, layout);
    QFETCH(RuleList, rules);
    QFETCH(bool, keepExisting);
    QFETCH(int, first);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    QFETCH(QString, refusalHolds);
    TempFolder folder;
    const QList<RenameEntry> entries = makeFiles(folder, layout);
    QCOMPARE(entries.size(), layout.size());
    const RulesPreviewInput input{folder.path(), entries, rules, keepExisting};

    RulesPreviewComputer computer;
    Received received;
    received.listen(computer);
    computer.setSource([&] { return input; });
    computer.setVisibleRows(first, count);
    computer.inputChanged();
    QTRY_COMPARE(received.previews.size(), 1);
    QCOMPARE(received.visible.size(), 1);
    QCOMPARE(received.visible.at(0).generation, received.previewGenerations.at(0));

    const RenamePreview &whole = received.previews.at(0);
    QVERIFY2(refusalHolds.isEmpty() ? !whole.isRefused() : whole.refusal.contains(refusalHolds),
             qPrintable(whole.refusal));
    QCOMPARE(rowsOf(whole.rows), expected);
    const RenamePreview alone = ComputeRulesPreview(input);
    QCOMPARE(alone.refusal, whole.refusal);
    QCOMPARE(rowsOf(alone.rows), expected);
    QCOMPARE(alone.problemRows, whole.problemRows);

    const QList<PreviewRow> &shown = received.visible.at(0).rows;
    QCOMPARE(received.visible.at(0).first, qsizetype(first));
    if (whole.isRefused() && refusalHolds.startsWith(QLatin1String("rule"))) {
        QVERIFY(shown.isEmpty());
        return;
    }
    // A refusal across files is the whole preview's to find.
    const QList<PreviewRow> &truth = whole.isRefused() ? ComputeRulesPreview({folder.path(), entries, rules, true}).rows
                                                       : whole.rows;
    QCOMPARE(shown.size(), qMin<qsizetype>(count, truth.size() - first));
    for (qsizetype k = 0; k < shown.size(); ++k) {
        const PreviewRow &row = truth.at(first + k);
        if (row.outcome == PreviewOutcome::FreeVariant || row.outcome == PreviewOutcome::Replaces) {
            QCOMPARE(shown.at(k).currentName, row.currentName);
            QCOMPARE(PreviewOutcomeName(shown.at(k).outcome), "renamed");
        } else {
            QVERIFY2(sameRow(shown.at(k), row), qPrintable(rowsOf({shown.at(k)}).join(QString()) + QLatin1String(" vs ")
                                                           + rowsOf({row}).join(QString())));
        }
    }
}

void TestRulesPreview::newerInputSupersedesOlderWork_data()
{
    // Which call of the pace of the first input's whole preview waits for
    // the second input: before the plan, within it, within the dry run.
    // The plan holds what is kept of the files, so the newer input's rows
    // shown first wait for its next stretch; the dry run does not.
    QTest::addColumn<int>("blockedCall");
    QTest::addColumn<bool>("visibleWhileBlocked");
    QTest::newRow("before the plan") << 1 << true;
    QTest::newRow("in the plan") << 2 << false;
    QTest::newRow("in the dry run") << 5 << true;
}

void TestRulesPreview::newerInputSupersedesOlderWork()
{
    QFETCH(int, blockedCall);
    QFETCH(bool, visibleWhileBlocked);
    TempFolder folder;
    QStringList layout;
    for (int k = 0; k < 20; ++k)
        layout.append(QStringLiteral("*file%1").arg(k));
    const QList<RenameEntry> entries = makeFiles(folder, layout);
    QCOMPARE(entries.size(), layout.size());
    RulesPreviewInput input{folder.path(), entries, listOf({replacing(QStringLiteral("file"), QStringLiteral("one"))}),
                            true};

    RulesPreviewComputer computer;
    Received received;
    received.listen(computer);
    computer.setSource([&] { return input; });
    computer.setDelay(0);
    QSemaphore reached;
    QSemaphore gate;
    std::atomic<int> calls{0};
    computer.setPace([&](quint64 generation) {
        if (generation == 1 && ++calls == blockedCall) {
            reached.release();
            gate.acquire();
        }
    });
    // A failed check must not leave the work waiting: the computer waits
    // for it when it goes.
    const auto opened = qScopeGuard([&] { gate.release(1000); });
    computer.inputChanged();
    QTRY_COMPARE(reached.available(), 1);
    // Typing goes on while the first input's work waits.
    computer.setVisibleRows(0, 4);
    for (const char *text : {"two", "three"}) {
        input.rules.rules()[0].replacement = QString::fromLatin1(text);
        computer.inputChanged();
    }
    if (visibleWhileBlocked)
        QTRY_COMPARE(received.visible.size(), 1);
    QVERIFY(received.previews.isEmpty());
    gate.release();
    QTRY_COMPARE(received.previews.size(), 1);
    QCOMPARE(received.visible.size(), 1);
    QTRY_VERIFY(!computer.isComputing());
    QCOMPARE(received.previewGenerations, QList<quint64>{3});
    QCOMPARE(received.visible.at(0).generation, quint64(3));
    QCOMPARE(received.visible.at(0).rows.at(0).newName, QStringLiteral("three0"));
    QCOMPARE(received.previews.at(0).rows.size(), entries.size());
    for (const PreviewRow &row : received.previews.at(0).rows)
        QVERIFY2(row.newName.startsWith(QLatin1String("three")), qPrintable(row.newName));
    // The first input's work stopped where it waited, and went no further.
    QCOMPARE(calls.load(), blockedCall);
    QVERIFY(computer.abandonedWork() >= 1);
}

void TestRulesPreview::changedFilesAreReadAgain_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("madeAfresh");
    // Before: a1 (oldest), b2, c3.
    QTest::newRow("a file's time touched") << QStringLiteral("touch") << QStringList{"a3", "b1", "c2"} << false;
    QTest::newRow("a file left out of the list") << QStringLiteral("deselect") << QStringList{"a1", "c2"} << true;
    QTest::newRow("a file added to the folder") << QStringLiteral("add") << QStringList{"a1", "b2", "c3"} << true;
}

void TestRulesPreview::changedFilesAreReadAgain()
{
    QFETCH(QString, change);
    QFETCH(QStringList, expected);
    QFETCH(bool, madeAfresh);
    TempFolder folder;
    const QList<RenameEntry> entries = makeFiles(folder, {"*a@2000000000", "*b@2000000100", "*c@2000000200"});
    QCOMPARE(entries.size(), 3);
    RulesPreviewInput input{folder.path(), entries, listOf({numbering(R::Order::Modified)}), true};

    RulesPreviewComputer computer;
    Received received;
    received.listen(computer);
    computer.setSource([&] { return input; });
    computer.setVisibleRows(0, 3);
    computer.inputChanged();
    QTRY_COMPARE(received.previews.size(), 1);
    QCOMPARE(rowsOf(received.previews.at(0).rows), (QStringList{"a>a1:renamed", "b>b2:renamed", "c>c3:renamed"}));
    QCOMPARE(computer.cachesMade(), quint64(1));

    if (change == QLatin1String("touch")) {
        QVERIFY(setModified(folder.filePath(QStringLiteral("a")), 2000000300));
    } else if (change == QLatin1String("deselect")) {
        input.entries[1].selected = false;
    } else {
        // The folder's change time must move on: the clock it is read from
        // ticks every few milliseconds.
        const QDateTime before = QFileInfo(folder.path()).lastModified();
        QTRY_VERIFY(before.msecsTo(QDateTime::currentDateTime()) > 20);
        QVERIFY(folder.write(QStringLiteral("new")));
    }
    // Two changes of the rules after the files changed: the second one's
    // rows shown first come from what the first read again.
    for (qint64 start : {2, 1}) {
        input.rules.rules()[0].start = start;
        computer.inputChanged();
        const qsizetype seen = received.previews.size();
        QTRY_COMPARE(received.previews.size(), seen + 1);
    }
    const RenamePreview &whole = received.previews.last();
    QStringList names;
    for (const PreviewRow &row : whole.rows)
        names.append(row.newName);
    QCOMPARE(names, expected);
    QCOMPARE(rowsOf(whole.rows), rowsOf(ComputeRulesPreview(input).rows));
    const QList<PreviewRow> &shown = received.visible.last().rows;
    QCOMPARE(received.visible.last().generation, received.previewGenerations.last());
    QCOMPARE(rowsOf(shown), rowsOf(whole.rows));
    QCOMPARE(computer.cachesMade(), quint64(madeAfresh ? 2 : 1));
}

QTEST_GUILESS_MAIN(TestRulesPreview)
#include "tst_rulespreview.moc"
