#include "rename/PreviewComputer.h"
#include "rename/PreviewModel.h"
#include "rename/RenamePreview.h"

#include "PreviewOutcomeName.h"
#include "TempFolder.h"

#include <QAbstractItemModelTester>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(RenameRequest)

namespace {

RenameRequest request(RenamingType type, const QString &newText, const QString &newExtension,
                      const QString &numberText, bool keepExisting)
{
    RenameRequest r;
    r.type = type;
    r.newText = newText;
    r.newExtension = newExtension;
    r.numberText = numberText;
    r.keepExisting = keepExisting;
    r.entryCount = 200; // zero fill, where asked for, to 4 places
    return r;
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

// "old>new:outcome" per row, in run order.
QStringList rowsOf(const RenamePreview &preview)
{
    QStringList rows;
    for (const PreviewRow &row : preview.rows)
        rows.append(row.currentName + u'>' + row.newName + u':' + QLatin1String(PreviewOutcomeName(row.outcome)));
    return rows;
}

// The report as the same kind of rows, without the preview's merging.
QStringList rowsOf(const RenameReport &report)
{
    QStringList rows;
    for (const RenamedFile &file : report.renamed) {
        const char *way = file.way == RenamedFile::Way::FreeVariant       ? "variant"
                          : file.way == RenamedFile::Way::ReplacedExisting ? "replaces"
                                                                           : "renamed";
        rows.append(file.oldName + u'>' + file.newName + u':' + QLatin1String(way));
    }
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        rows.append(file.name + u'>' + file.newName + u':'
                    + QLatin1String(file.reason == LeftInPlaceReason::SameName ? "unchanged" : "left"));
    }
    for (const QString &name : report.unchanged)
        rows.append(name + u'>' + name + QLatin1String(":unchanged"));
    rows.sort();
    return rows;
}

RenameReport runOn(TempFolder &folder, const QList<RenameEntry> &entries, const RenameRequest &r,
                   RenameFileOperations &operations)
{
    RenameRunTarget target;
    return RunRename(FolderHandle(folder.path()), entries, r, target, {.fileOperations = &operations});
}

RenamePreview previewOf(int rows, int everyProblem)
{
    RenamePreview preview;
    for (int i = 0; i < rows; ++i) {
        const bool problem = everyProblem > 0 && i % everyProblem == 0;
        const auto outcome = problem ? PreviewOutcome::LeftInPlace : PreviewOutcome::Renamed;
        preview.rows.append({QStringLiteral("f%1").arg(i), QStringLiteral("g%1").arg(i), outcome,
                             problem ? QStringLiteral("why %1").arg(i) : QString(), QString()});
        ++preview.counts[size_t(outcome)];
        if (problem)
            preview.problemRows.append(i);
    }
    return preview;
}

} // namespace

class TestRenamePreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void previewMatchesDryAndRealRun_data();
    void previewMatchesDryAndRealRun();
    void refusedRequestGivesMessageOnly_data();
    void refusedRequestGivesMessageOnly();
    void summaryCountsEachKind();
    void modelShowsRowsAndFilters_data();
    void modelShowsRowsAndFilters();
    void burstOfInputsComputesOnce();
    void staleResultIsDropped();
};

void TestRenamePreview::previewMatchesDryAndRealRun_data()
{
    QTest::addColumn<QStringList>("files");   // in the folder; each holds its own name
    QTest::addColumn<QStringList>("entries"); // the list, "*" marks selected
    QTest::addColumn<RenameRequest>("req");
    QTest::addColumn<QStringList>("expected"); // "old>new:outcome" in run order

    const QStringList abc{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.png")};
    const QStringList abcAll{QStringLiteral("*a.jpg"), QStringLiteral("*b.jpg"), QStringLiteral("*c.png")};

    QTest::newRow("name only, free names")
        << abc << abcAll << request(NameOnly, QStringLiteral("Photo"), QString(), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("a.jpg>Photo1.jpg:renamed"), QStringLiteral("b.jpg>Photo2.jpg:renamed"),
                       QStringLiteral("c.png>Photo3.png:renamed")};
    QTest::newRow("taken name gets _ when existing files are kept")
        << QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("Photo1.jpg")}
        << QStringList{QStringLiteral("*a.jpg"), QStringLiteral("*b.jpg"), QStringLiteral("Photo1.jpg")}
        << request(NameOnly, QStringLiteral("Photo"), QString(), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("a.jpg>Photo1_.jpg:variant"), QStringLiteral("b.jpg>Photo2.jpg:renamed")};
    QTest::newRow("taken name is replaced in overwrite mode")
        << QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("Photo1.jpg")}
        << QStringList{QStringLiteral("*a.jpg"), QStringLiteral("*b.jpg"), QStringLiteral("Photo1.jpg")}
        << request(NameOnly, QStringLiteral("Photo"), QString(), QStringLiteral("1"), false)
        << QStringList{QStringLiteral("a.jpg>Photo1.jpg:replaces"), QStringLiteral("b.jpg>Photo2.jpg:renamed")};
    QTest::newRow("unlisted file with the name is replaced too")
        << QStringList{QStringLiteral("a.jpg"), QStringLiteral("Photo1.jpg")} << QStringList{QStringLiteral("*a.jpg")}
        << request(NameOnly, QStringLiteral("Photo"), QString(), QStringLiteral("1"), false)
        << QStringList{QStringLiteral("a.jpg>Photo1.jpg:replaces")};
    QTest::newRow("renumbering chain in overwrite mode replaces nothing")
        << QStringList{QStringLiteral("Photo1.jpg"), QStringLiteral("Photo2.jpg"), QStringLiteral("Photo3.jpg")}
        << QStringList{QStringLiteral("*Photo1.jpg"), QStringLiteral("*Photo2.jpg"), QStringLiteral("*Photo3.jpg")}
        << request(NameOnly, QStringLiteral("Photo"), QString(), QStringLiteral("2"), false)
        << QStringList{QStringLiteral("Photo1.jpg>Photo2.jpg:renamed"), QStringLiteral("Photo2.jpg>Photo3.jpg:renamed"),
                       QStringLiteral("Photo3.jpg>Photo4.jpg:renamed")};
    QTest::newRow("renumbering chain keeping existing files")
        << QStringList{QStringLiteral("Photo1.jpg"), QStringLiteral("Photo2.jpg")}
        << QStringList{QStringLiteral("*Photo1.jpg"), QStringLiteral("*Photo2.jpg")}
        << request(NameOnly, QStringLiteral("Photo"), QString(), QStringLiteral("2"), true)
        << QStringList{QStringLiteral("Photo1.jpg>Photo2_.jpg:variant"), QStringLiteral("Photo2.jpg>Photo3.jpg:renamed")};
    QTest::newRow("both name and extension, zero filled")
        << abc << QStringList{QStringLiteral("a.jpg"), QStringLiteral("*b.jpg"), QStringLiteral("*c.png")}
        << [] {
               RenameRequest r = request(BothNameAndExtension, QStringLiteral("Img"), QStringLiteral("png"),
                                         QStringLiteral("7"), true);
               r.pad = true;
               return r;
           }()
        << QStringList{QStringLiteral("b.jpg>Img0007.png:renamed"), QStringLiteral("c.png>Img0008.png:renamed")};
    QTest::newRow("extension only: own names unchanged")
        << QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.txt"), QStringLiteral("b.jpg")}
        << QStringList{QStringLiteral("*a.jpg"), QStringLiteral("*b.jpg"), QStringLiteral("b.txt")}
        << request(ExtensionOnly, QString(), QStringLiteral("jpg"), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("a.jpg>a.jpg:unchanged"), QStringLiteral("b.jpg>b.jpg:unchanged")};
    QTest::newRow("free variant of a taken name is the file's own")
        << QStringList{QStringLiteral("P1_.jpg"), QStringLiteral("P1.jpg")}
        << QStringList{QStringLiteral("P1.jpg"), QStringLiteral("*P1_.jpg")}
        << request(NameOnly, QStringLiteral("P"), QString(), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("P1_.jpg>P1_.jpg:unchanged")};
    QTest::newRow("extension only to a taken name")
        << QStringList{QStringLiteral("a.jpg"), QStringLiteral("a.txt")}
        << QStringList{QStringLiteral("*a.jpg"), QStringLiteral("a.txt")}
        << request(ExtensionOnly, QString(), QStringLiteral("txt"), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("a.jpg>a_.txt:variant")};
    QTest::newRow("prefix and a name that would leave the folder")
        << abc << abcAll << request(AddPrefix, QStringLiteral("sub/"), QString(), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("a.jpg>sub/a.jpg:left"), QStringLiteral("b.jpg>sub/b.jpg:left"),
                       QStringLiteral("c.png>sub/c.png:left")};
    QTest::newRow("suffix")
        << abc << QStringList{QStringLiteral("*a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("*c.png")}
        << request(AddSuffix, QStringLiteral("_v2"), QString(), QStringLiteral("1"), false)
        << QStringList{QStringLiteral("a.jpg>a_v2.jpg:renamed"), QStringLiteral("c.png>c_v2.png:renamed")};
    QTest::newRow("listed file that is gone")
        << QStringList{QStringLiteral("a.jpg")} << QStringList{QStringLiteral("*a.jpg"), QStringLiteral("*gone.jpg")}
        << request(NameOnly, QStringLiteral("P"), QString(), QStringLiteral("1"), true)
        << QStringList{QStringLiteral("a.jpg>P1.jpg:renamed"), QStringLiteral("gone.jpg>P2.jpg:left")};
    QTest::newRow("number that cannot advance leaves the rest")
        << abc << abcAll << request(NameOnly, QStringLiteral("P"), QString(), QStringLiteral("x"), true)
        << QStringList{QStringLiteral("a.jpg>Px.jpg:renamed"), QStringLiteral("b.jpg>:left"),
                       QStringLiteral("c.png>:left")};
    QTest::newRow("case only")
        << QStringList{QStringLiteral("a.JPG")} << QStringList{QStringLiteral("*a.JPG")}
        << request(ExtensionOnly, QString(), QStringLiteral("jpg"), QStringLiteral("1"), false)
        << QStringList{QStringLiteral("a.JPG>a.jpg:renamed")};
    QTest::newRow("folder holds the new name")
        << QStringList{QStringLiteral("a.jpg"), QStringLiteral("P1.jpg/")} << QStringList{QStringLiteral("*a.jpg")}
        << request(NameOnly, QStringLiteral("P"), QString(), QStringLiteral("1"), false)
        << QStringList{QStringLiteral("a.jpg>P1.jpg:left")};
    QTest::newRow("nothing selected")
        << abc << abc << request(NameOnly, QStringLiteral("P"), QString(), QStringLiteral("1"), false)
        << QStringList{};
}

void TestRenamePreview::previewMatchesDryAndRealRun()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, entries);
    QFETCH(RenameRequest, req);
    QFETCH(QStringList, expected);

    TempFolder folder;
    QVERIFY(folder.isValid());
    for (const QString &name : std::as_const(files)) {
        QVERIFY(name.endsWith(u'/') ? folder.makeFolder(name) : folder.write(name, name.toUtf8()));
    }
    const QList<RenameEntry> list = entriesOf(entries);
    const QMap<QString, QByteArray> before = folder.contents();

    const RenamePreview preview = ComputeRenamePreview(folder.path(), list, req);
    QVERIFY(!preview.isRefused());
    QCOMPARE(rowsOf(preview), expected);
    QCOMPARE(folder.contents(), before); // the preview touches nothing

    std::array<qsizetype, kPreviewOutcomeCount> counts{};
    QList<qsizetype> problems;
    for (qsizetype i = 0; i < preview.rows.size(); ++i) {
        ++counts[size_t(preview.rows.at(i).outcome)];
        if (preview.rows.at(i).outcome != PreviewOutcome::Renamed)
            problems.append(i);
    }
    QCOMPARE(preview.counts, counts);
    QCOMPARE(preview.problemRows, problems);

    const RenameReport dry = runOn(folder, list, req, SimulatedFileOperations());
    const RenameReport real = runOn(folder, list, req, SystemFileOperations());
    QStringList sorted = rowsOf(preview);
    sorted.sort();
    QCOMPARE(rowsOf(dry), sorted);
    QCOMPARE(rowsOf(real), sorted);

    // On disk: each file the preview moves holds the old file's content
    // under its new name; a file it leaves keeps its content and name.
    const QMap<QString, QByteArray> after = folder.contents();
    for (const PreviewRow &row : preview.rows) {
        switch (row.outcome) {
        case PreviewOutcome::Renamed:
        case PreviewOutcome::FreeVariant:
        case PreviewOutcome::Replaces:
            QCOMPARE(after.value(row.newName), row.currentName.toUtf8());
            break;
        case PreviewOutcome::Unchanged:
        case PreviewOutcome::LeftInPlace:
            if (before.contains(row.currentName))
                QCOMPARE(after.value(row.currentName), before.value(row.currentName));
            break;
        }
    }
    // Exactly the replaced files' contents are gone.
    qsizetype replaced = 0;
    for (const QByteArray &content : before)
        replaced += after.values().contains(content) ? 0 : 1;
    QCOMPARE(replaced, preview.count(PreviewOutcome::Replaces));
}

void TestRenamePreview::refusedRequestGivesMessageOnly_data()
{
    QTest::addColumn<RenameRequest>("req");
    QTest::addColumn<QString>("message");

    QTest::newRow("no name") << request(NameOnly, QString(), QString(), QStringLiteral("1"), true)
                             << QStringLiteral("You must enter a file name.");
    QTest::newRow("no extension") << request(ExtensionOnly, QString(), QString(kExtensionPlaceholder),
                                             QStringLiteral("1"), true)
                                  << QStringLiteral("You must enter a file extension.");
    QTest::newRow("no number") << request(BothNameAndExtension, QStringLiteral("P"), QStringLiteral("png"),
                                          QString(), false)
                               << QStringLiteral("You must choose a starting number to increment filenames.");
    QTest::newRow("one blank prefix") << request(AddPrefix, QStringLiteral(" "), QString(), QStringLiteral("1"), true)
                                      << QStringLiteral("You must enter prefix.");
}

void TestRenamePreview::refusedRequestGivesMessageOnly()
{
    QFETCH(RenameRequest, req);
    QFETCH(QString, message);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg")}));
    const RenamePreview preview = ComputeRenamePreview(folder.path(), entriesOf({QStringLiteral("*a.jpg")}), req);
    QVERIFY(preview.isRefused());
    QCOMPARE(preview.refusal, message);
    QVERIFY(preview.rows.isEmpty());
    QCOMPARE(PreviewSummaryText(preview), message);
    QCOMPARE(folder.files(), QStringList{QStringLiteral("a.jpg")});
}

void TestRenamePreview::summaryCountsEachKind()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg"),
                               QStringLiteral("P1.jpg"), QStringLiteral("P3.jpg")}));
    const RenamePreview preview = ComputeRenamePreview(
        folder.path(),
        entriesOf({QStringLiteral("*a.jpg"), QStringLiteral("*b.jpg"), QStringLiteral("*c.jpg"),
                   QStringLiteral("*gone.jpg")}),
        request(NameOnly, QStringLiteral("P"), QString(), QStringLiteral("1"), true));
    QCOMPARE(PreviewSummaryText(preview),
             QStringLiteral("Renamed: 1 \u00b7 Gets \"_\": 2 \u00b7 Replaces an existing file: 0 \u00b7 "
                            "Unchanged: 0 \u00b7 Left in place: 1"));
    QCOMPARE(PreviewOutcomeText(preview.rows.at(3)),
             QStringLiteral("left in place: ") + preview.rows.at(3).reason);
    QVERIFY(!preview.rows.at(3).reason.isEmpty());
}

void TestRenamePreview::modelShowsRowsAndFilters_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("everyProblem"); // every n-th row is a problem; 0: none

    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("no problems") << 5 << 0;
    QTest::newRow("all problems") << 4 << 1;
    QTest::newRow("some problems") << 10 << 3;
}

void TestRenamePreview::modelShowsRowsAndFilters()
{
    QFETCH(int, rows);
    QFETCH(int, everyProblem);

    PreviewModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setPreview(previewOf(3, 0));
    model.setPreview(previewOf(rows, everyProblem));
    QCOMPARE(model.rowCount(), rows);
    QCOMPARE(model.columnCount(), 3);
    for (int i = 0; i < rows; ++i) {
        QCOMPARE(model.index(i, PreviewModel::CurrentName).data().toString(), QStringLiteral("f%1").arg(i));
        QCOMPARE(model.index(i, PreviewModel::NewName).data().toString(), QStringLiteral("g%1").arg(i));
    }

    model.setProblemsOnly(true);
    const qsizetype problems = model.preview().problemRows.size();
    QCOMPARE(model.rowCount(), int(problems));
    for (int i = 0; i < model.rowCount(); ++i) {
        const int source = everyProblem * i;
        QCOMPARE(model.index(i, PreviewModel::CurrentName).data().toString(), QStringLiteral("f%1").arg(source));
        QCOMPARE(model.index(i, PreviewModel::Outcome).data().toString(),
                 QStringLiteral("left in place: why %1").arg(source));
        QCOMPARE(model.index(i, 0).data(PreviewModel::OutcomeRole).toInt(), int(PreviewOutcome::LeftInPlace));
    }
    // A new preview keeps the filter.
    model.setPreview(previewOf(rows * 2, everyProblem));
    QCOMPARE(model.rowCount(), int(model.preview().problemRows.size()));
    model.setProblemsOnly(false);
    QCOMPARE(model.rowCount(), rows * 2);
}

void TestRenamePreview::burstOfInputsComputesOnce()
{
    PreviewComputer computer;
    computer.setDelay(50);
    std::atomic<int> computations = 0;
    computer.setCompute([&computations](const PreviewInput &input) {
        ++computations;
        RenamePreview preview;
        preview.rows.append({input.request.newText, QString(), PreviewOutcome::Renamed, QString(), QString()});
        return preview;
    });
    QSignalSpy ready(&computer, &PreviewComputer::previewReady);

    for (const char *text : {"P", "Ph", "Pho", "Phot", "Photo"}) {
        PreviewInput input;
        input.request.newText = QString::fromLatin1(text);
        computer.setInput(input);
    }
    QVERIFY(ready.wait());
    QCOMPARE(ready.size(), 1);
    QCOMPARE(computations.load(), 1);
    QCOMPARE(ready.at(0).at(0).value<RenamePreview>().rows.at(0).currentName, QStringLiteral("Photo"));
    QCOMPARE(ready.at(0).at(1).value<quint64>(), quint64(5));
}

void TestRenamePreview::staleResultIsDropped()
{
    PreviewComputer computer;
    computer.setDelay(0);
    QSemaphore firstMayEnd;
    // A failing check must not leave the worker waiting.
    const auto release = qScopeGuard([&] { firstMayEnd.release(); });
    std::atomic<int> computations = 0;
    computer.setCompute([&](const PreviewInput &input) {
        if (++computations == 1)
            firstMayEnd.acquire();
        RenamePreview preview;
        preview.rows.append({input.request.newText, QString(), PreviewOutcome::Renamed, QString(), QString()});
        return preview;
    });
    QSignalSpy ready(&computer, &PreviewComputer::previewReady);

    PreviewInput first;
    first.request.newText = QStringLiteral("first");
    computer.setInput(first);
    QTRY_COMPARE(computations.load(), 1);
    PreviewInput second;
    second.request.newText = QStringLiteral("second");
    computer.setInput(second);
    PreviewInput third;
    third.request.newText = QStringLiteral("third");
    computer.setInput(third);
    // The pause is over while the first is still running: nothing new
    // starts beside it.
    QTRY_VERIFY(computer.newerInputWaits());
    QCOMPARE(computations.load(), 1);
    firstMayEnd.release();

    QTRY_COMPARE(ready.size(), 1);
    QCOMPARE(ready.at(0).at(0).value<RenamePreview>().rows.at(0).currentName, QStringLiteral("third"));
    QCOMPARE(ready.at(0).at(1).value<quint64>(), quint64(3));
    QCOMPARE(computer.droppedResults(), quint64(1));
    QCOMPARE(computations.load(), 2);
    // Nothing further arrives.
    QVERIFY(!ready.wait(150));
}

QTEST_GUILESS_MAIN(TestRenamePreview)
#include "tst_renamepreview.moc"
