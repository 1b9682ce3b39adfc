// The one-line summary of each kind and form of rule, as the rule list and
// the command line show it.

#include "rename/rules/PresetFile.h"
#include "rename/rules/RuleSummary.h"

#include <QtTest>

class RuleSummaryTest : public QObject
{
    Q_OBJECT

private slots:
    void summary_data();
    void summary();
};

void RuleSummaryTest::summary_data()
{
    QTest::addColumn<QString>("rule"); // the rule's lines in a preset
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *rule, const char *expected) {
        QTest::newRow(expected) << QString::fromUtf8(rule) << QString::fromUtf8(expected);
    };
    row("kind = replace\nfind = IMG_(\\d+)\nreplace = Trip_$1",
        "Replace \"IMG_(\\d+)\" with \"Trip_$1\", name without extension");
    row("kind = replace\nfind =  copy\noccurrence = first\nliteral = yes\nignore-case = yes\nscope = name",
        "Remove \" copy\", first match only, as plain text, ignoring case, whole name");
    row("kind = replace\nfind = -\nreplace = _\noccurrence = last",
        "Replace \"-\" with \"_\", last match only, name without extension");
    row("kind = replace\nfind = a\nreplace = b\noccurrence = nth\nnth = 3\nscope = ext",
        "Replace \"a\" with \"b\", match 3 only, extension");
    // A text the user typed is shown as typed, even where it looks like a
    // place for another.
    row("kind = replace\nfind = %2\nreplace = %1", "Replace \"%2\" with \"%1\", name without extension");
    row("kind = insert\ntext = %1%2", "Insert \"%1%2\" at the end, name without extension");
    row("kind = replace\nform = remove-first\ncount = 4", "Remove the first 4 characters, name without extension");
    row("kind = replace\nform = remove-last\ncount = 1\nfind = unused\nscope = name",
        "Remove the last character, whole name");
    row("kind = replace\nform = remove-between\nfind = [\nend-marker = ]\nignore-case = yes",
        "Remove from \"[\" to \"]\", ignoring case, name without extension");
    row("kind = case\ncase = title", "Title case, name without extension");
    row("kind = case\nscope = ext\nenabled = no", "Lower case, extension");
    row("kind = number\norder = mtime", "Number at the end from 1, step 1, by modified time, name without extension");
    row("kind = number\nplace = start\nstart = 100\nstep = -5\nwidth-mode = fixed\nwidth = 4\norder = taken\n"
        "reverse = yes\nscope = name",
        "Number at the start from 100, step -5, 4 digits, by date taken, reversed, whole name");
    row("kind = number\nplace = position\nposition = 3\nstart = 0\nstep = 2\nwidth-mode = none\norder = natural",
        "Number after 3 characters from 0, step 2, no leading zeros, in natural order, name without extension");
    row("kind = number\nplace = token\nwidth-mode = fixed\nwidth = 1\norder = size",
        "Number in place of {n} from 1, step 1, 1 digit, by size, name without extension");
    row("kind = insert\ntext = Trip \nplace = start", "Insert \"Trip \" at the start, name without extension");
    row("kind = insert\ntext = _v2\nplace = before-ext\nscope = name",
        "Insert \"_v2\" before the extension, whole name");
    row("kind = insert\ntext = -\nplace = position\nposition = 1",
        "Insert \"-\" after 1 character, name without extension");
    row("kind = insert\ntext = {parent}_{n}\nplace = whole", "Template \"{parent}_{n}\", name without extension");
    row("kind = clean\nscope = name", "Make names Windows can hold, whole name");
    row("kind = clean\nclean = ascii", "Spell letters in ASCII, name without extension");
    row("kind = clean\nclean = underscores", "Spaces to underscores, name without extension");
    row("kind = clean\nclean = nfc\nscope = ext", "Compose Unicode characters (NFC), extension");
}

void RuleSummaryTest::summary()
{
    QFETCH(QString, rule);
    QFETCH(QString, expected);

    RuleList rules;
    QString error;
    QVERIFY2(PresetFile::parse(QStringLiteral("quillmere-rules 1\n[rule]\n") + rule, QStringLiteral("row"), &rules,
                               &error),
             qPrintable(error));
    QCOMPARE(rules.size(), 1);
    RenameRule read = rules.rules().first();
    QCOMPARE(RuleSummary::of(read), expected);
    // Switched on or off, a rule is told the same: its row shows the box.
    read.enabled = !read.enabled;
    QCOMPARE(RuleSummary::of(read), expected);
}

QTEST_MAIN(RuleSummaryTest)
#include "tst_rulesummary.moc"
