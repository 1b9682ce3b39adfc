// The one-line summary of each kind and form of rule, as the rule list and
// the command line show it.

#include "rename/rules/RuleSummary.h"

#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(RenameRule)

namespace {

using R = RenameRule;

} // namespace

class RuleSummaryTest : public QObject
{
    Q_OBJECT

private slots:
    void summary_data();
    void summary();
};

void RuleSummaryTest::summary_data()
{
    QTest::addColumn<RenameRule>("rule");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *expected, R::Kind kind, const std::function<void(R &)> &change) {
        RenameRule rule;
        rule.kind = kind;
        change(rule);
        QTest::newRow(expected) << rule << QString::fromUtf8(expected);
    };
    row("Replace \"IMG_(\\d+)\" with \"Trip_$1\", name without extension", R::Kind::Replace, [](R &r) {
        r.find = QStringLiteral("IMG_(\\d+)");
        r.replacement = QStringLiteral("Trip_$1");
    });
    row("Remove \" copy\", first match only, as plain text, ignoring case, whole name", R::Kind::Replace,
        [](R &r) {
            r.find = QStringLiteral(" copy");
            r.occurrence = R::Occurrence::First;
            r.literal = r.ignoreCase = true;
            r.scope = R::Scope::Name;
        });
    row("Replace \"-\" with \"_\", last match only, name without extension", R::Kind::Replace, [](R &r) {
        r.find = QStringLiteral("-");
        r.replacement = QStringLiteral("_");
        r.occurrence = R::Occurrence::Last;
    });
    row("Replace \"a\" with \"b\", match 3 only, extension", R::Kind::Replace, [](R &r) {
        r.find = QStringLiteral("a");
        r.replacement = QStringLiteral("b");
        r.occurrence = R::Occurrence::Nth;
        r.nth = 3;
        r.scope = R::Scope::Extension;
    });
    // A text the user typed is shown as typed, even where it looks like a
    // place for another.
    row("Replace \"%2\" with \"%1\", name without extension", R::Kind::Replace, [](R &r) {
        r.find = QStringLiteral("%2");
        r.replacement = QStringLiteral("%1");
    });
    row("Insert \"%1%2\" at the end, name without extension", R::Kind::Insert,
        [](R &r) { r.text = QStringLiteral("%1%2"); });
    row("Remove the first 4 characters, name without extension", R::Kind::Replace, [](R &r) {
        r.replaceForm = R::ReplaceForm::RemoveFirst;
        r.count = 4;
    });
    row("Remove the last character, whole name", R::Kind::Replace, [](R &r) {
        r.replaceForm = R::ReplaceForm::RemoveLast;
        r.count = 1;
        r.scope = R::Scope::Name;
        r.find = QStringLiteral("unused");
    });
    row("Remove from \"[\" to \"]\", ignoring case, name without extension", R::Kind::Replace, [](R &r) {
        r.replaceForm = R::ReplaceForm::RemoveBetween;
        r.find = QStringLiteral("[");
        r.endMarker = QStringLiteral("]");
        r.ignoreCase = true;
    });
    row("Title case, name without extension", R::Kind::Case, [](R &r) { r.caseForm = R::CaseForm::Title; });
    row("Lower case, extension", R::Kind::Case, [](R &r) { r.scope = R::Scope::Extension; });
    row("Number at the end from 1, step 1, by modified time, name without extension", R::Kind::Number,
        [](R &r) { r.order = R::Order::Modified; });
    row("Number at the start from 100, step -5, 4 digits, by date taken, reversed, whole name", R::Kind::Number,
        [](R &r) {
            r.place = R::Place::Start;
            r.start = 100;
            r.step = -5;
            r.widthMode = R::Width::Fixed;
            r.width = 4;
            r.order = R::Order::Taken;
            r.reverse = true;
            r.scope = R::Scope::Name;
        });
    row("Number after 3 characters from 0, step 2, no leading zeros, in natural order, name without extension",
        R::Kind::Number, [](R &r) {
            r.place = R::Place::Position;
            r.position = 3;
            r.start = 0;
            r.step = 2;
            r.widthMode = R::Width::None;
            r.order = R::Order::Natural;
        });
    row("Number in place of {n} from 1, step 1, in list order, name without extension", R::Kind::Number,
        [](R &r) { r.place = R::Place::Token; });
    row("Insert \"Trip \" at the start, name without extension", R::Kind::Insert, [](R &r) {
        r.text = QStringLiteral("Trip ");
        r.place = R::Place::Start;
    });
    row("Insert \"_v2\" before the extension, whole name", R::Kind::Insert, [](R &r) {
        r.text = QStringLiteral("_v2");
        r.place = R::Place::BeforeExtension;
        r.scope = R::Scope::Name;
    });
    row("Insert \"-\" after 1 character, name without extension", R::Kind::Insert, [](R &r) {
        r.text = QStringLiteral("-");
        r.place = R::Place::Position;
        r.position = 1;
    });
    row("Template \"{parent}_{n}\", name without extension", R::Kind::Insert, [](R &r) {
        r.text = QStringLiteral("{parent}_{n}");
        r.place = R::Place::Whole;
    });
    row("Make names Windows can hold, whole name", R::Kind::CleanUp, [](R &r) { r.scope = R::Scope::Name; });
    row("Spell letters in ASCII, name without extension", R::Kind::CleanUp,
        [](R &r) { r.cleanUp = R::CleanUp::Ascii; });
    row("Spaces to underscores, name without extension", R::Kind::CleanUp,
        [](R &r) { r.cleanUp = R::CleanUp::SpacesToUnderscores; });
    row("Compose Unicode characters (NFC), extension", R::Kind::CleanUp, [](R &r) {
        r.cleanUp = R::CleanUp::Nfc;
        r.scope = R::Scope::Extension;
    });
}

void RuleSummaryTest::summary()
{
    QFETCH(RenameRule, rule);
    QFETCH(QString, expected);

    QCOMPARE(RuleSummary::of(rule), expected);
    // Switched off, a rule is told the same: its row shows the box.
    rule.enabled = !rule.enabled;
    QCOMPARE(RuleSummary::of(rule), expected);
}

QTEST_MAIN(RuleSummaryTest)
#include "tst_rulesummary.moc"
