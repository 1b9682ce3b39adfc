#include "rename/ChangedSpan.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestChangedSpan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void spanOfTheChange_data();
    void spanOfTheChange();
};

void TestChangedSpan::spanOfTheChange_data()
{
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QString>("highlighted"); // the new name's span, as text
    QTest::addColumn<qsizetype>("start");

    QTest::newRow("same name") << u"a.jpg"_s << u"a.jpg"_s << u""_s << qsizetype(5);
    QTest::newRow("middle replaced") << u"IMG_0012.jpg"_s << u"Photo 12.jpg"_s << u"Photo "_s << qsizetype(0);
    QTest::newRow("number in the middle")
        << u"trip-003-beach.png"_s << u"trip-017-beach.png"_s << u"17"_s << qsizetype(6);
    QTest::newRow("prefix added") << u"a.jpg"_s << u"new a.jpg"_s << u"new "_s << qsizetype(0);
    QTest::newRow("suffix before extension") << u"a.jpg"_s << u"a_1.jpg"_s << u"_1"_s << qsizetype(1);
    QTest::newRow("only removed") << u"a copy.jpg"_s << u"a.jpg"_s << u""_s << qsizetype(1);
    // The shared ending may not eat into the shared beginning.
    QTest::newRow("repeated letters grow") << u"aa"_s << u"aaa"_s << u"a"_s << qsizetype(2);
    QTest::newRow("repeated letters shrink") << u"aaa"_s << u"aa"_s << u""_s << qsizetype(2);
    QTest::newRow("from empty") << u""_s << u"x"_s << u"x"_s << qsizetype(0);
    QTest::newRow("to empty") << u"x"_s << u""_s << u""_s << qsizetype(0);
    QTest::newRow("case only") << u"Photo.JPG"_s << u"photo.jpg"_s << u"photo.jpg"_s << qsizetype(0);
    // Two emoji that share their high surrogate are two characters: the
    // span takes the whole pair.
    QTest::newRow("surrogate pair at the start")
        << QString::fromUtf8("\xF0\x9F\x98\x80.txt") << QString::fromUtf8("\xF0\x9F\x98\x81.txt")
        << QString::fromUtf8("\xF0\x9F\x98\x81") << qsizetype(0);
    // U+1F600 and U+1F200 share their low surrogate: the ending must not
    // keep a lone low half.
    QTest::newRow("surrogate pair at the end")
        << QString::fromUtf8("a\xF0\x9F\x98\x80") << QString::fromUtf8("a\xF0\x9F\x88\x80")
        << QString::fromUtf8("\xF0\x9F\x88\x80") << qsizetype(1);
    QTest::newRow("lone low surrogate kept in the ending")
        << QStringView(u"x\xDC80").toString() << QStringView(u"y\xDC80").toString() << u"y"_s << qsizetype(0);
    // An undecodable byte stands as a lone surrogate; it is one character.
    QTest::newRow("lone surrogate") << QStringView(u"x\xDC80y").toString() << QStringView(u"x\xDC81y").toString()
                                    << QStringView(u"\xDC81").toString() << qsizetype(1);
}

void TestChangedSpan::spanOfTheChange()
{
    QFETCH(QString, oldName);
    QFETCH(QString, newName);
    QFETCH(QString, highlighted);
    QFETCH(qsizetype, start);

    const ChangedSpan span = FindChangedSpan(oldName, newName);
    QCOMPARE(span.start, start);
    QCOMPARE(newName.mid(span.start, span.length), highlighted);
    QVERIFY(span.start + span.length <= newName.size());
    // What is left either side is shared by both names.
    QVERIFY(oldName.startsWith(newName.left(span.start)));
    QVERIFY(oldName.endsWith(newName.mid(span.start + span.length)));
    QVERIFY(span.start + (newName.size() - span.start - span.length) <= oldName.size());
}

QTEST_GUILESS_MAIN(TestChangedSpan)
#include "tst_changedspan.moc"
