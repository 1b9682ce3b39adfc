#include "rtf/RtfReader.h"

#include <QTest>
#include <QTextDocument>

#include <algorithm>
#include <ctime>

namespace {

QByteArray document(const QByteArray &head, const QByteArray &piece, const QByteArray &tail, qsizetype bytes)
{
    QByteArray rtf = head;
    rtf.reserve(bytes + piece.size() + tail.size());
    while (rtf.size() < bytes)
        rtf += piece;
    return rtf + tail;
}

struct Reading
{
    double seconds = 0;
    int characters = 0;
};

// The best of a few reads, in processor time of this program, so that other
// programs on the machine do not count.
Reading timeReading(const QByteArray &rtf)
{
    Reading best{1e30, 0};
    for (int round = 0; round < 3; ++round) {
        const std::clock_t start = std::clock();
        QTextDocument target;
        ReadRtfDocument(rtf, target);
        const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
        best.seconds = std::min(best.seconds, seconds);
        best.characters = target.characterCount();
    }
    return best;
}

} // namespace

// Reading time must grow in step with the document: four times the input in
// well under eight times the time. Ratios measured within one run hold on
// slow and fast machines alike.
class TestRtfGrowth : public QObject
{
    Q_OBJECT

private slots:
    void growsLinearly_data();
    void growsLinearly();
};

void TestRtfGrowth::growsLinearly_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("whole"); // all of the larger document's text reaches it

    QTest::newRow("short formatted runs") << QByteArray("{\\rtf1 ") << QByteArray("word {\\b bold} ") << QByteArray("}") << true;
    QTest::newRow("runs in many fonts and colours")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}{\\colortbl;\\red9\\green0\\blue0;}")
        << QByteArray("{\\f1\\cf1 \\'cf} {\\i x}{\\ul y} ") << QByteArray("}") << true;
    QTest::newRow("paragraphs") << QByteArray("{\\rtf1 ") << QByteArray("\\qc ab\\par ") << QByteArray("}") << true;
    QTest::newRow("table of many rows")
        << QByteArray("{\\rtf1 ")
        << QByteArray("\\trowd\\clcbpat1\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\n") << QByteArray("}") << true;
    QTest::newRow("one row of many cells")
        << QByteArray("{\\rtf1\\trowd\\cellx1000\\pard\\intbl ") << QByteArray("x\\cell ") << QByteArray("\\row}")
        << false; // the cells beyond the row's columns share its last one, whose text is capped
    QTest::newRow("links and bookmarks")
        << QByteArray("{\\rtf1 ")
        << QByteArray("{\\*\\bkmkstart b}{\\field{\\*\\fldinst HYPERLINK \"h\"}{\\fldrslt l}} ") << QByteArray("}") << true;
}

void TestRtfGrowth::growsLinearly()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, piece);
    QFETCH(QByteArray, tail);
    QFETCH(bool, whole);

    const Reading small = timeReading(document(head, piece, tail, 50 * 1024));
    const Reading large = timeReading(document(head, piece, tail, 200 * 1024));
    const double ratio = large.seconds / std::max(small.seconds, 1e-6);
    qInfo("%s: 50 KB %.1f ms, 200 KB %.1f ms, ratio %.2f", QTest::currentDataTag(), small.seconds * 1e3,
          large.seconds * 1e3, ratio);
    // The larger document was read whole: its time is not cut short by a cap.
    if (whole)
        QVERIFY2(large.characters > small.characters * 3, qPrintable(QString::number(large.characters)));
    QVERIFY2(ratio < 8, qPrintable(QString::number(ratio)));
}

QTEST_MAIN(TestRtfGrowth)
#include "tst_rtfgrowth.moc"
