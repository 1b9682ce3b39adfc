#include "rtf/RtfDocumentLoader.h"

#include "TempFolder.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QThread>

class TestRtfDocumentLoader : public QObject
{
    Q_OBJECT

private slots:
    void loads_data();
    void loads();
    void destroyedWhileReading();
};

void TestRtfDocumentLoader::loads_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<bool>("hasDocument");
    QTest::addColumn<QString>("text");

    QTest::newRow("document") << QByteArray(R"({\rtf1 One\par Two})") << qint64(1024) << true << u"One\nTwo"_qs;
    QTest::newRow("read up to the limit") << QByteArray(R"({\rtf1 One\par Two})") << qint64(12) << true << u"One"_qs;
    QTest::newRow("not rich text") << QByteArray("plain words") << qint64(1024) << true << QString();
    QTest::newRow("empty file") << QByteArray("") << qint64(1024) << true << QString();
    QTest::newRow("no file") << QByteArray() << qint64(1024) << false << QString();
}

void TestRtfDocumentLoader::loads()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, maxBytes);
    QFETCH(bool, hasDocument);

    TempFolder folder;
    if (!content.isNull())
        QVERIFY(folder.write(QStringLiteral("Help.rtf"), content));

    RtfDocumentLoader loader;
    QSignalSpy finished(&loader, &RtfDocumentLoader::finished);
    loader.load(folder.filePath(QStringLiteral("Help.rtf")), maxBytes);
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.size(), 1);

    std::unique_ptr<QTextDocument> document = loader.takeDocument();
    QCOMPARE(bool(document), hasDocument);
    if (document) {
        // Moved to the thread that asked, ready for a window to own.
        QCOMPARE(document->thread(), QThread::currentThread());
        QCOMPARE(document->parent(), nullptr);
        QTEST(document->toPlainText(), "text");
    }
    QVERIFY(!loader.takeDocument());
}

void TestRtfDocumentLoader::destroyedWhileReading()
{
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i)
        rtf += "line\\par ";
    TempFolder folder;
    QVERIFY(folder.write(QStringLiteral("Help.rtf"), rtf + "}"));

    // The loader goes while its thread reads: the read stops, nothing is
    // delivered afterwards and nothing is left behind.
    QObject receiver;
    int delivered = 0;
    {
        RtfDocumentLoader loader;
        connect(&loader, &RtfDocumentLoader::finished, &receiver, [&] { ++delivered; });
        loader.load(folder.filePath(QStringLiteral("Help.rtf")), 1 << 24);
    }
    QTest::qWait(50);
    QCOMPARE(delivered, 0);

    // A new loader reads the same file in full.
    RtfDocumentLoader again;
    QSignalSpy finished(&again, &RtfDocumentLoader::finished);
    again.load(folder.filePath(QStringLiteral("Help.rtf")), 1 << 24);
    QVERIFY(finished.wait(60000));
    std::unique_ptr<QTextDocument> document = again.takeDocument();
    QVERIFY(document);
    QCOMPARE(document->blockCount(), 100000);
}

QTEST_MAIN(TestRtfDocumentLoader)
#include "tst_rtfdocumentloader.moc"
