#include "rename/NameComposition.h"

#include <QTest>

namespace {

RenameRequest request(RenamingType type, const QString &newText, const QString &newExtension,
                      const QString &numberText)
{
    RenameRequest r;
    r.type = type;
    r.newText = newText;
    r.newExtension = newExtension;
    r.numberText = numberText;
    return r;
}

} // namespace

class NameCompositionTest : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void split_data();
    void split();
    void pad_data();
    void pad();
    void compose_data();
    void compose();
};

void NameCompositionTest::validate_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QString>("numberText");
    QTest::addColumn<QString>("message"); // empty: accepted

    const QString placeholder = kExtensionPlaceholder;
    const QString name = QStringLiteral("You must enter a file name.");
    const QString extension = QStringLiteral("You must enter a file extension.");
    const QString number = QStringLiteral("You must choose a starting number to increment filenames.");
    const QString prefix = QStringLiteral("You must enter prefix.");
    const QString suffix = QStringLiteral("You must enter suffix.");

    QTest::newRow("name only, complete") << 1 << "Photo" << placeholder << "1" << QString();
    QTest::newRow("name only, empty name") << 1 << "" << "jpg" << "1" << name;
    QTest::newRow("name only, one blank") << 1 << " " << "jpg" << "1" << name;
    QTest::newRow("name only, two blanks pass") << 1 << "  " << "jpg" << "1" << QString();
    QTest::newRow("name only, name before number") << 1 << "" << "jpg" << "" << name;
    QTest::newRow("name only, no number") << 1 << "Photo" << "jpg" << "" << number;
    QTest::newRow("name only, number not checked for digits") << 1 << "Photo" << "jpg" << "abc" << QString();
    QTest::newRow("no type acts as name only") << -1 << " " << placeholder << "" << name;
    QTest::newRow("no type, no number") << -1 << "Photo" << placeholder << "" << number;
    QTest::newRow("both, complete") << 0 << "Photo" << "png" << "1" << QString();
    QTest::newRow("both, name first") << 0 << "" << placeholder << "" << name;
    QTest::newRow("both, extension before number") << 0 << "Photo" << placeholder << "" << extension;
    QTest::newRow("both, no number") << 0 << "Photo" << "png" << "" << number;
    QTest::newRow("both, empty extension passes") << 0 << "Photo" << "" << "1" << QString();
    QTest::newRow("both, placeholder in other case passes") << 0 << "Photo"
                                                             << "choose or type the file extension" << "1" << QString();
    QTest::newRow("extension, placeholder") << 2 << "" << placeholder << "" << extension;
    QTest::newRow("extension, no name or number needed") << 2 << "" << "zip" << "" << QString();
    QTest::newRow("prefix, empty") << 3 << "" << placeholder << "" << prefix;
    QTest::newRow("prefix, one blank") << 3 << " " << "jpg" << "1" << prefix;
    QTest::newRow("prefix, given") << 3 << "old_" << placeholder << "" << QString();
    QTest::newRow("suffix, empty") << 4 << "" << placeholder << "" << suffix;
    QTest::newRow("suffix, one blank") << 4 << " " << "jpg" << "1" << suffix;
    QTest::newRow("suffix, given") << 4 << "_v2" << placeholder << "" << QString();
}

void NameCompositionTest::validate()
{
    QFETCH(int, type);
    QFETCH(QString, newText);
    QFETCH(QString, newExtension);
    QFETCH(QString, numberText);
    QFETCH(QString, message);

    const std::optional<QString> result =
        ValidateRenameRequest(request(RenamingType(type), newText, newExtension, numberText));
    QCOMPARE(result.has_value(), !message.isEmpty());
    if (result)
        QCOMPARE(*result, message);
}

void NameCompositionTest::split_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("extension");

    QTest::newRow("plain") << "beach.jpg" << "beach" << ".jpg";
    QTest::newRow("last dot counts") << "a.b.txt" << "a.b" << ".txt";
    QTest::newRow("no dot") << "README" << "README" << "";
    QTest::newRow("leading dot only") << ".profile" << "" << ".profile";
    QTest::newRow("trailing dot") << "name." << "name" << ".";
    QTest::newRow("empty") << "" << "" << "";
}

void NameCompositionTest::split()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    QFETCH(QString, extension);

    const SplitName parts = SplitExtension(name);
    QCOMPARE(parts.base, base);
    QCOMPARE(parts.extension, extension);
}

void NameCompositionTest::pad_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("entryCount");
    QTest::addColumn<QString>("padded");

    QTest::newRow("no entries") << "7" << 0 << "007";
    QTest::newRow("99 entries") << "7" << 99 << "007";
    QTest::newRow("100 entries") << "7" << 100 << "0007";
    QTest::newRow("999 entries") << "7" << 999 << "0007";
    QTest::newRow("1000 entries") << "7" << 1000 << "00007";
    QTest::newRow("12000 entries") << "7" << 12000 << "000007";
    QTest::newRow("99999 entries") << "7" << 99999 << "000007";
    QTest::newRow("9 entries") << "7" << 9 << "007";
    QTest::newRow("10 entries") << "7" << 10 << "007";
    QTest::newRow("9999 entries") << "7" << 9999 << "00007";
    QTest::newRow("10000 entries") << "7" << 10000 << "000007";
    // The rule goes on past five digits: lists that long are where zero fill
    // matters most for sorting.
    QTest::newRow("100000 entries") << "7" << 100000 << "0000007";
    QTest::newRow("999999 entries") << "7" << 999999 << "0000007";
    QTest::newRow("1000000 entries") << "7" << 1000000 << "00000007";
    QTest::newRow("largest count") << "7" << 2147483647 << "00000000007";
    QTest::newRow("negative count") << "7" << -5 << "007";
    QTest::newRow("longer than width") << "12345" << 5 << "12345";
    QTest::newRow("as long as width") << "123" << 5 << "123";
    QTest::newRow("characters, not digits") << "-5" << 5 << "0-5";
    QTest::newRow("empty text") << "" << 5 << "000";
}

void NameCompositionTest::pad()
{
    QFETCH(QString, number);
    QFETCH(int, entryCount);
    QFETCH(QString, padded);

    QCOMPARE(PadNumber(number, entryCount), padded);
}

void NameCompositionTest::compose_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("pad");
    QTest::addColumn<int>("entryCount");
    QTest::addColumn<QString>("expected");

    QTest::newRow("name only") << 1 << "beach.jpg" << "Photo" << "png" << "7" << false << 40 << "Photo7.jpg";
    QTest::newRow("name only, no extension") << 1 << "README" << "Photo" << "png" << "7" << false << 40 << "Photo7";
    QTest::newRow("name only, padded") << 1 << "beach.jpg" << "Photo" << "" << "7" << true << 5 << "Photo007.jpg";
    QTest::newRow("no type as name only") << -1 << "a.b.txt" << "P" << "png" << "7" << false << 40 << "P7.txt";
    QTest::newRow("number kept as typed") << 1 << "beach.jpg" << "Photo" << "" << "007" << false << 5
                                          << "Photo007.jpg";
    QTest::newRow("both, padded 40") << 0 << "beach.jpg" << "Photo" << "png" << "7" << true << 40 << "Photo007.png";
    QTest::newRow("both, padded 150") << 0 << "beach.jpg" << "Photo" << "png" << "7" << true << 150
                                      << "Photo0007.png";
    QTest::newRow("both, padded 99999") << 0 << "a.jpg" << "P" << "png" << "7" << true << 99999 << "P000007.png";
    QTest::newRow("both, padded 100000") << 0 << "a.jpg" << "P" << "png" << "7" << true << 100000 << "P0000007.png";
    QTest::newRow("name, padded 2000000") << 1 << "a.jpg" << "P" << "" << "42" << true << 2000000 << "P00000042.jpg";
    QTest::newRow("name, padded largest count") << 1 << "a" << "P" << "" << "1" << true << 2147483647
                                                << "P00000000001";
    QTest::newRow("both, dotted extension") << 0 << "beach.jpg" << "Photo" << ".png" << "7" << false << 5
                                            << "Photo7..png";
    QTest::newRow("both, empty extension") << 0 << "beach.jpg" << "Photo" << "" << "7" << false << 5 << "Photo7.";
    QTest::newRow("both, negative padded") << 0 << "x" << "P" << "png" << "-5" << true << 5 << "P0-5.png";
    QTest::newRow("extension") << 2 << "archive.tar.gz" << "ignored" << "zip" << "7" << true << 5
                               << "archive.tar.zip";
    QTest::newRow("extension, no dot") << 2 << "README" << "" << "zip" << "7" << false << 5 << "README.zip";
    QTest::newRow("prefix") << 3 << "beach.jpg" << "old_" << "png" << "7" << true << 5 << "old_beach.jpg";
    QTest::newRow("suffix") << 4 << "beach.jpg" << "_v2" << "png" << "7" << true << 5 << "beach_v2.jpg";
    QTest::newRow("suffix on dot name") << 4 << ".profile" << "_v2" << "" << "7" << false << 5 << "_v2.profile";
    QTest::newRow("nothing trimmed or replaced") << 1 << "a.jpg" << " ../x " << "" << "1" << false << 5
                                                 << " ../x 1.jpg";
}

void NameCompositionTest::compose()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, newText);
    QFETCH(QString, newExtension);
    QFETCH(QString, number);
    QFETCH(bool, pad);
    QFETCH(int, entryCount);
    QFETCH(QString, expected);

    RenameRequest r = request(RenamingType(type), newText, newExtension, QStringLiteral("unused"));
    r.pad = pad;
    r.entryCount = entryCount;
    QCOMPARE(ComposeNewName(name, r, number), expected);
}

QTEST_APPLESS_MAIN(NameCompositionTest)
#include "tst_namecomposition.moc"
