// The renaming rules under a German locale (the test's environment sets it):
// messages and captions in German, while the texts the rules compare with
// stay the same in every language.

#include "core/Translations.h"
#include "rename/NameComposition.h"
#include "rename/RenamingOptions.h"

#include <QTest>

namespace {

RenameRequest request(RenamingType type, const QString &newText, const QString &newExtension)
{
    RenameRequest r;
    r.type = type;
    r.newText = newText;
    r.newExtension = newExtension;
    r.numberText = QStringLiteral("1");
    return r;
}

} // namespace

class RenamingTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusals_data();
    void refusals();
    void captions_data();
    void captions();
    void typeItems();
};

void RenamingTextsTest::initTestCase()
{
    // The locale the program would see: the environment's, not a chosen one.
    const InstalledTranslations installed = InstallTranslations(*QCoreApplication::instance());
    QVERIFY2(installed.programFile.endsWith(QLatin1String("quillmere_de.qm")), qPrintable(installed.programFile));
}

void RenamingTextsTest::refusals_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("newExtension");
    QTest::addColumn<QString>("message"); // empty: accepted

    const QString placeholder(kExtensionPlaceholder);
    const QString noExtension = QStringLiteral("Sie müssen eine Dateierweiterung eingeben.");
    QTest::newRow("placeholder, extension only") << int(ExtensionOnly) << QString() << placeholder << noExtension;
    QTest::newRow("placeholder, name and extension") << int(BothNameAndExtension) << "Foto" << placeholder
                                                     << noExtension;
    // What a translated placeholder would read is an extension like any other.
    QTest::newRow("German words as extension") << int(ExtensionOnly) << QString()
                                               << "Dateierweiterung wählen oder eingeben" << QString();
    QTest::newRow("no name") << int(NameOnly) << " " << "jpg" << "Sie müssen einen Dateinamen eingeben.";
    QTest::newRow("no prefix") << int(AddPrefix) << "" << "jpg" << "Sie müssen ein Präfix eingeben.";
    QTest::newRow("no suffix") << int(AddSuffix) << "" << "jpg" << "Sie müssen ein Suffix eingeben.";
    QTest::newRow("valid") << int(BothNameAndExtension) << "Foto" << "png" << QString();
}

void RenamingTextsTest::refusals()
{
    QFETCH(int, type);
    QFETCH(QString, newText);
    QFETCH(QString, newExtension);
    QFETCH(QString, message);

    const std::optional<QString> refusal = ValidateRenameRequest(request(RenamingType(type), newText, newExtension));
    QCOMPARE(refusal.value_or(QString()), message);
}

void RenamingTextsTest::captions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("caption");

    QTest::newRow("no type") << int(NoTypeChosen) << "Neuer Name:";
    QTest::newRow("extension only") << int(ExtensionOnly) << "Neuer Name:";
    QTest::newRow("prefix") << int(AddPrefix) << "Neues Präfix:";
    QTest::newRow("suffix") << int(AddSuffix) << "Neues Suffix:";
}

void RenamingTextsTest::captions()
{
    QFETCH(int, type);
    QFETCH(QString, caption);

    QCOMPARE(FieldStatesFor(RenamingType(type)).newTextCaption, caption);
}

void RenamingTextsTest::typeItems()
{
    // Item i still selects type i: only the words change.
    const QStringList expected{QStringLiteral("Dateiname und Erweiterung ändern"),
                               QStringLiteral("Nur den Dateinamen ändern"), QStringLiteral("Nur die Erweiterung ändern"),
                               QStringLiteral("Ein Präfix hinzufügen"), QStringLiteral("Ein Suffix hinzufügen")};
    QCOMPARE(RenamingTypeItems(), expected);
}

QTEST_GUILESS_MAIN(RenamingTextsTest)
#include "tst_renamingtexts.moc"
