// The Rules window's preset bar, through its dialog seam as a user answers
// the dialogs, and the rule list in use kept from one start to the next.

#include "RulesWindowFixture.h"

#include "core/SettingsStore.h"
#include "windows/PresetBar.h"
#include "windows/RuleListEditor.h"

#include "PickItem.h"
#include "TempFolder.h"
#include "TestIsolation.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString kTrip = u"quillmere-rules 1\n[rule]\nkind = replace\nfind = IMG_(\\d+)\nreplace = trip $1\n"_s;
const QString kLower = u"quillmere-rules 1\n[rule]\nkind = case\ncase = lower\n"_s;
// Line 3 is no rule line.
const QString kDamaged = u"quillmere-rules 1\n[rule]\nthis is not a setting\n"_s;
const QString kNewer = u"quillmere-rules 9\n[rule]\nkind = replace\n"_s;

// What the dialogs answer, and what they were asked to say.
struct Answers
{
    QStringList names; // for each "name of the preset" question, in turn
    bool confirm = true;
    QString openPath;
    QString savePath;
    QStringList messages;
    QStringList questions;
};

PresetDialogs answering(Answers *answers)
{
    PresetDialogs dialogs;
    dialogs.askName = [answers](QWidget *, const QString &) {
        return answers->names.isEmpty() ? QString() : answers->names.takeFirst();
    };
    dialogs.confirm = [answers](QWidget *, const QString &question) {
        answers->questions.append(question);
        return answers->confirm;
    };
    dialogs.openFile = [answers](QWidget *) { return answers->openPath; };
    dialogs.saveFile = [answers](QWidget *, const QString &) { return answers->savePath; };
    dialogs.message = [answers](QWidget *, const QString &text) { answers->messages.append(text); };
    return dialogs;
}

QString presetText(const QString &name)
{
    QFile file(PresetFile::pathOf(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

struct Scene
{
    RulesWindow *rules;
    Answers *answers;
    TempFolder *outside; // a folder outside the presets, for import and export
};

using Steps = std::function<void(const Scene &)>;

void click(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class TestRulesPresets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void presetBar_data();
    void presetBar();
    void ruleListComesBack_data();
    void ruleListComesBack();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
};

void TestRulesPresets::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
    QVERIFY(RemoveIsolatedFolder(PresetFile::folder()));
    QVERIFY(RemoveIsolatedFolder(RulesWindow::rulesInUsePath()));
}

void TestRulesPresets::cleanup()
{
    delete RulesWindow::current();
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

void TestRulesPresets::presetBar_data()
{
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QStringList>("presets");   // saved afterwards
    QTest::addColumn<QString>("chosen");        // the preset the bar shows
    QTest::addColumn<QString>("rulesShown");    // the editor's list, as preset text
    QTest::addColumn<QString>("messageHas");    // empty: no message

    const auto setRules = [](const Scene &s, const QString &text) { s.rules->editor->setRules(rulesOf(text)); };
    const auto saveAs = [](const Scene &s, const QString &name) {
        s.answers->names = {name};
        click(s.rules->presetBar->saveAs);
    };
    const auto writeOutside = [](const Scene &s, const QString &name, const QString &text) {
        QVERIFY(s.outside->write(name, text.toUtf8()));
        s.answers->openPath = s.outside->filePath(name);
    };

    QTest::newRow("save as") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"trip"_s);
    }) << QStringList{u"trip"_s} << u"trip"_s << kTrip << QString();
    QTest::newRow("save over the chosen preset") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"trip"_s);
        setRules(s, kLower);
        click(s.rules->presetBar->save);
    }) << QStringList{u"trip"_s} << u"trip"_s << kLower << QString();
    QTest::newRow("save with none chosen asks a name") << Steps([=](const Scene &s) {
        setRules(s, kLower);
        s.answers->names = {u"lower"_s};
        click(s.rules->presetBar->save);
    }) << QStringList{u"lower"_s} << u"lower"_s << kLower << QString();
    QTest::newRow("save as a name taken, not replaced") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"trip"_s);
        setRules(s, kLower);
        saveAs(s, u"lower"_s);
        s.answers->confirm = false;
        saveAs(s, u"trip"_s);
        QCOMPARE(s.answers->questions.size(), 1);
        QCOMPARE(rulesOf(presetText(u"trip"_s)), rulesOf(kTrip));
    }) << QStringList{u"lower"_s, u"trip"_s} << u"lower"_s << kLower << QString();
    QTest::newRow("a name that leads out") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"../escape"_s);
        QVERIFY(!QFile::exists(PresetFile::folder() + u"/../escape.rules"_s));
    }) << QStringList{} << QString() << kTrip << u"../escape"_s;
    QTest::newRow("delete") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"trip"_s);
        click(s.rules->presetBar->remove);
    }) << QStringList{} << QString() << kTrip << QString();
    QTest::newRow("delete, declined") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"trip"_s);
        s.answers->confirm = false;
        click(s.rules->presetBar->remove);
    }) << QStringList{u"trip"_s} << u"trip"_s << kTrip << QString();
    QTest::newRow("import") << Steps([=](const Scene &s) {
        setRules(s, kLower);
        writeOutside(s, u"holiday.rules"_s, kTrip);
        click(s.rules->presetBar->importButton);
    }) << QStringList{u"holiday"_s} << u"holiday"_s << kTrip << QString();
    QTest::newRow("import a damaged file") << Steps([=](const Scene &s) {
        setRules(s, kLower);
        writeOutside(s, u"bad.rules"_s, kDamaged);
        click(s.rules->presetBar->importButton);
    }) << QStringList{} << QString() << kLower << u"line 3"_s;
    QTest::newRow("import a newer version") << Steps([=](const Scene &s) {
        setRules(s, kLower);
        writeOutside(s, u"new.rules"_s, kNewer);
        click(s.rules->presetBar->importButton);
    }) << QStringList{} << QString() << kLower << u"line 1"_s;
    QTest::newRow("export") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        s.answers->savePath = s.outside->filePath(u"out.rules"_s);
        click(s.rules->presetBar->exportButton);
        QCOMPARE(rulesOf(QString::fromUtf8(s.outside->read(u"out.rules"_s))), rulesOf(kTrip));
    }) << QStringList{} << QString() << kTrip << QString();
    QTest::newRow("choose a preset") << Steps([=](const Scene &s) {
        setRules(s, kTrip);
        saveAs(s, u"a trip"_s);
        setRules(s, kLower);
        saveAs(s, u"b lower"_s);
        PickItem(s.rules->presetBar->presets, 0);
    }) << QStringList{u"a trip"_s, u"b lower"_s} << u"a trip"_s << kTrip << QString();
    QTest::newRow("choose a damaged preset") << Steps([=](const Scene &s) {
        setRules(s, kLower);
        saveAs(s, u"b lower"_s);
        QFile damaged(PresetFile::pathOf(u"a damaged"_s));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(kDamaged.toUtf8());
        damaged.close();
        s.rules->presetBar->showChosen(u"b lower"_s);
        PickItem(s.rules->presetBar->presets, 0);
    }) << QStringList{u"a damaged"_s, u"b lower"_s} << u"b lower"_s << kLower << u"line 3"_s;
}

void TestRulesPresets::presetBar()
{
    QFETCH(Steps, steps);
    QFETCH(QStringList, presets);
    QFETCH(QString, chosen);
    QFETCH(QString, rulesShown);
    QFETCH(QString, messageHas);

    TempFolder folder;
    QVERIFY(folder.writeNamed({u"IMG_0001.jpg"_s}));
    TempFolder outside;
    auto w = makeMainWindow();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    Answers answers;
    rules->presetBar->setDialogs(answering(&answers));

    steps({rules, &answers, &outside});
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(PresetFile::names(), presets);
    QCOMPARE(rules->presetBar->chosen(), chosen);
    QCOMPARE(rules->editor->rules(), rulesOf(rulesShown));
    if (messageHas.isEmpty()) {
        QCOMPARE(answers.messages, QStringList());
    } else {
        QCOMPARE(answers.messages.size(), 1);
        QVERIFY2(answers.messages.constFirst().contains(messageHas), qPrintable(answers.messages.constFirst()));
    }
    // A preset saved holds the rules it was saved with.
    if (!chosen.isEmpty() && messageHas.isEmpty())
        QCOMPARE(rulesOf(presetText(chosen)), rulesOf(rulesShown));
}

void TestRulesPresets::ruleListComesBack_data()
{
    QTest::addColumn<QString>("stored"); // written over the stored list before the restart; empty: as left
    QTest::addColumn<QString>("rulesShown");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("as left") << QString() << kTrip << u"trip"_s;
    QTest::newRow("damaged stored list") << kDamaged << QString() << u"trip"_s;
    QTest::newRow("not a preset at all") << u"\x01\x02 binary"_s << QString() << u"trip"_s;
}

void TestRulesPresets::ruleListComesBack()
{
    QFETCH(QString, stored);
    QFETCH(QString, rulesShown);
    QFETCH(QString, chosen);

    TempFolder folder;
    QVERIFY(folder.writeNamed({u"IMG_0001.jpg"_s}));
    {
        auto w = makeMainWindow();
        RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
        QVERIFY(rules);
        Answers answers;
        rules->presetBar->setDialogs(answering(&answers));
        rules->editor->setRules(rulesOf(kTrip));
        answers.names = {u"trip"_s};
        click(rules->presetBar->saveAs);
        rules->close();
        QTRY_VERIFY(!RulesWindow::current());
    }
    if (!stored.isEmpty()) {
        QFile file(RulesWindow::rulesInUsePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(stored.toUtf8());
    }

    auto w = makeMainWindow();
    RulesWindow *rules = openRulesOn(w->form.get(), folder.path());
    QVERIFY(rules);
    QCOMPARE(rules->editor->rules(), rulesOf(rulesShown));
    QCOMPARE(rules->presetBar->chosen(), chosen);
    QTRY_VERIFY(previewUpToDate(rules));
}

QTEST_MAIN(TestRulesPresets)
#include "tst_rulespresets.moc"
