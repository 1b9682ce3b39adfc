#include "rename/RenamingOptions.h"

#include <QTest>

class TestRenamingOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fieldRule_data();
    void fieldRule();
    void startingNumber_data();
    void startingNumber();
};

void TestRenamingOptions::fieldRule_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("newText");
    QTest::addColumn<bool>("number");
    QTest::addColumn<bool>("extension");
    QTest::addColumn<bool>("pad");
    QTest::addColumn<bool>("remember");
    QTest::addColumn<QString>("caption");

    QTest::newRow("both name and extension") << 0 << true << true << true << true << true << "New Name:";
    QTest::newRow("name only") << 1 << true << true << false << true << true << "New Name:";
    QTest::newRow("no type chosen acts as name only") << -1 << true << true << false << true << true << "New Name:";
    QTest::newRow("extension only") << 2 << false << false << true << false << false << "New Name:";
    QTest::newRow("prefix") << 3 << true << false << false << false << false << "New Prefix:";
    QTest::newRow("suffix") << 4 << true << false << false << false << false << "New Suffix:";
}

void TestRenamingOptions::fieldRule()
{
    QFETCH(int, type);
    QFETCH(bool, newText);
    QFETCH(bool, number);
    QFETCH(bool, extension);
    QFETCH(bool, pad);
    QFETCH(bool, remember);
    QFETCH(QString, caption);

    const OptionFieldStates states = FieldStatesFor(static_cast<RenamingType>(type));
    QCOMPARE(states.newTextEnabled, newText);
    QCOMPARE(states.numberEnabled, number);
    QCOMPARE(states.extensionEnabled, extension);
    QCOMPARE(states.padEnabled, pad);
    QCOMPARE(states.rememberEnabled, remember);
    QCOMPARE(states.newTextCaption, caption);
    // The filter stays usable whatever the type.
    QVERIFY(states.filterEnabled);
}

void TestRenamingOptions::startingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<StartingNumberVerdict>("verdict");

    const auto leave = StartingNumberVerdict::LeaveAlone;
    const auto store = StartingNumberVerdict::Store;
    const auto reset = StartingNumberVerdict::Reset;
    QTest::newRow("empty") << "" << leave;
    QTest::newRow("one blank") << " " << leave;
    QTest::newRow("two blanks") << "  " << reset;
    QTest::newRow("12a") << "12a" << reset;
    QTest::newRow("-5") << "-5" << store;
    QTest::newRow("7 with blanks") << " 7 " << store;
    QTest::newRow("leading zeros") << "007" << store;
    QTest::newRow("largest") << "2147483647" << store;
    QTest::newRow("smallest") << "-2147483648" << store;
    QTest::newRow("one past the largest") << "2147483648" << reset;
    QTest::newRow("one below the smallest") << "-2147483649" << reset;
    QTest::newRow("fraction") << "3.5" << store;
    QTest::newRow("sign alone") << "-" << reset;
    QTest::newRow("letters") << "abc" << reset;
}

void TestRenamingOptions::startingNumber()
{
    QFETCH(QString, text);
    QFETCH(StartingNumberVerdict, verdict);
    QCOMPARE(CheckStartingNumber(text), verdict);
}

QTEST_MAIN(TestRenamingOptions)
#include "tst_renamingoptions.moc"
