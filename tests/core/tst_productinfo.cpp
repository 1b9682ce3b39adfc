#include "core/ProductInfo.h"

#include <QTest>

class TestProductInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { SetVersionRecordForTesting(std::nullopt); }

    void builtInRecord()
    {
        const VersionRecord record = ReadVersionRecord();
        QCOMPARE(record.productName, QStringLiteral("Quillmere"));
        QCOMPARE(record.major, 2);
        QCOMPARE(record.minor, 1);
        QVERIFY(!record.companyName.isEmpty());
        QVERIFY(!record.comments.isEmpty());
        QVERIFY(!record.comments.contains(QLatin1String("://")));
    }

    void loadFillsRecord()
    {
        SetVersionRecordForTesting(VersionRecord{QStringLiteral("P"), QStringLiteral("C"), QStringLiteral("w.example"), 3, 4});
        const ProductInfo info = LoadProductInfo();
        QCOMPARE(info.productName, QStringLiteral("P"));
        QCOMPARE(info.companyName, QStringLiteral("C"));
        QCOMPARE(info.webAddress, QStringLiteral("w.example"));
    }

    void missingFieldsReadEmpty()
    {
        SetVersionRecordForTesting(VersionRecord{});
        const ProductInfo info = LoadProductInfo();
        QCOMPARE(info.productName, QString());
        QCOMPARE(info.webAddress, QString());
    }

    void versionText_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("2.1") << 2 << 1 << QStringLiteral("2.1");
        QTest::newRow("2.10") << 2 << 10 << QStringLiteral("2.10");
        QTest::newRow("2.0") << 2 << 0 << QStringLiteral("2.0");
        QTest::newRow("10.05 has no leading zero") << 10 << 5 << QStringLiteral("10.5");
    }

    void versionText()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, expected);
        VersionRecord record;
        record.major = major;
        record.minor = minor;
        QCOMPARE(VersionText(record), expected);
    }
};

QTEST_GUILESS_MAIN(TestProductInfo)
#include "tst_productinfo.moc"
