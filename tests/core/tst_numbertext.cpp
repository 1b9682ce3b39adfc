#include "core/NumberText.h"

#include <QTest>

class NumberTextTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void NumberTextTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");

    QTest::newRow("digits") << "7" << true << 7;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("negative") << "-5" << true << -5;
    QTest::newRow("plus sign") << "+5" << true << 5;
    QTest::newRow("blanks around") << "  7 " << true << 7;
    QTest::newRow("tab around") << "\t7\t" << true << 7;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("one past largest") << "2147483648" << false << 0;
    QTest::newRow("one past smallest") << "-2147483649" << false << 0;
    QTest::newRow("very long") << "99999999999999999999999" << false << 0;
    QTest::newRow("many leading zeros") << "0000000000000000000042" << true << 42;
    QTest::newRow("fraction down") << "7.4" << true << 7;
    QTest::newRow("fraction up") << "7.6" << true << 8;
    QTest::newRow("half to even, down") << "2.5" << true << 2;
    QTest::newRow("half to even, up") << "3.5" << true << 4;
    QTest::newRow("half and a bit") << "2.5001" << true << 3;
    QTest::newRow("negative half") << "-2.5" << true << -2;
    QTest::newRow("negative half up") << "-3.5" << true << -4;
    QTest::newRow("fraction only") << ".5" << true << 0;
    QTest::newRow("point without fraction") << "5." << true << 5;
    QTest::newRow("rounds into range") << "2147483646.5" << true << 2147483646;
    QTest::newRow("rounds out of range") << "2147483647.5" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("one blank") << " " << false << 0;
    QTest::newRow("two blanks") << "  " << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("point alone") << "." << false << 0;
    QTest::newRow("trailing letter") << "12a" << false << 0;
    QTest::newRow("inner blank") << "1 2" << false << 0;
    QTest::newRow("blank after sign") << "- 5" << false << 0;
    QTest::newRow("two points") << "1.2.3" << false << 0;
    QTest::newRow("exponent") << "1e3" << false << 0;
    QTest::newRow("grouping") << "1,000" << false << 0;
    QTest::newRow("hex") << "0x10" << false << 0;
    QTest::newRow("arabic-indic digits") << QString::fromUtf8("\u0661\u0662") << false << 0;
}

void NumberTextTest::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const std::optional<qint32> result = ParseWholeNumber(text);
    QCOMPARE(result.has_value(), valid);
    if (valid)
        QCOMPARE(*result, value);
}

QTEST_APPLESS_MAIN(NumberTextTest)
#include "tst_numbertext.moc"
