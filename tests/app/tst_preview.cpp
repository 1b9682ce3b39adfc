#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "rename/PreviewComputer.h"
#include "rename/PreviewModel.h"
#include "selection/DirListBox.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "windows/PreviewWindow.h"

#include "PickItem.h"
#include "TempFolder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QAccessible>
#include <QDir>
#include <QIcon>
#include <QTest>
#include <QTableView>

#include <functional>
#include <memory>

using Action = std::function<void(Form1 *)>;
Q_DECLARE_METATYPE(Action)

namespace {

struct Window
{
    std::unique_ptr<Form1> form;
    QStringList messages;
    int ends = 0;
};

std::unique_ptr<Window> makeWindow()
{
    auto w = std::make_unique<Window>();
    w->form = std::make_unique<Form1>(LoadProductInfo());
    Window *raw = w.get();
    w->form->setMessagePresenter([raw](const QString &, const QString &text) { raw->messages << text; });
    w->form->setProgramEnd([raw] { ++raw->ends; });
    w->form->setHelpWindowOpener([] {});
    return w;
}

QStringList keysOf(const QString &section)
{
    QSettings settings(SettingsFilePath(LoadProductInfo().productName), QSettings::IniFormat);
    settings.beginGroup(section);
    return settings.childKeys();
}

QString previewSetting(const QString &key)
{
    return ReadSetting(LoadProductInfo().productName, PreviewWindow::kSection, key, QStringLiteral("<none>"));
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Column `column` of every row the preview shows.
QStringList shownColumn(const PreviewWindow *preview, int column)
{
    QStringList values;
    const QAbstractItemModel *model = preview->list->model();
    for (int row = 0; row < model->rowCount(); ++row)
        values.append(model->index(row, column).data().toString());
    return values;
}

// The preview shows the result of the newest input it was given.
bool upToDate(const PreviewWindow *preview)
{
    return preview->computer()->inputGeneration() > 0
        && preview->shownGeneration() == preview->computer()->inputGeneration();
}

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void fileMenuDispatchesByItem_data();
    void fileMenuDispatchesByItem();
    void previewFollowsTheWindow_data();
    void previewFollowsTheWindow();
    void previewAgreesWithRenameNow();
    void openStateAndPlaceAreRemembered();
    void screenReadersKnowTheWindow();
    void whatIsNotSimplyRenamedStandsOut();
    void previewFollowsTheFolderOnDisk();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
};

void TestPreview::initTestCase()
{
    LoadProductInfo();
}

void TestPreview::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
}

void TestPreview::cleanup()
{
    delete PreviewWindow::current();
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

// A menu item's text as shown, without its mnemonic marker.
static QString shownText(const QAction *action)
{
    return QString(action->text()).remove(u'&');
}

void TestPreview::fileMenuDispatchesByItem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("ends");
    QTest::addColumn<bool>("previewOpen");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("Rename Now") << QStringLiteral("Rename Now") << 0 << false
                                << QStringList{QStringLiteral("You must enter a file name.")};
    QTest::newRow("Preview") << QStringLiteral("Preview") << 0 << true << QStringList{};
    QTest::newRow("Exit") << QStringLiteral("Exit") << 1 << false << QStringList{};
}

void TestPreview::fileMenuDispatchesByItem()
{
    QFETCH(QString, text);
    QFETCH(int, ends);
    QFETCH(bool, previewOpen);
    QFETCH(QStringList, messages);

    auto w = makeWindow();
    Form1 *f = w->form.get();
    QStringList shown;
    for (const QAction *action : f->mnuFile->actions())
        shown.append(shownText(action));
    QCOMPARE(shown, (QStringList{QStringLiteral("Rename Now"), QStringLiteral("Preview"), QStringLiteral("Rules..."),
                                 QStringLiteral("Undo Last Rename"), QStringLiteral("Exit")}));
    // The items keep their indexes; the new one takes the next free index.
    QCOMPARE(shownText(f->mnuFileItem.at(0)), QStringLiteral("Rename Now"));
    QCOMPARE(shownText(f->mnuFileItem.at(1)), QStringLiteral("Exit"));
    QCOMPARE(shownText(f->mnuFileItem.at(2)), QStringLiteral("Preview"));

    for (QAction *action : f->mnuFile->actions()) {
        if (shownText(action) == text)
            action->trigger();
    }
    QCOMPARE(w->ends, ends);
    QCOMPARE(PreviewWindow::current() != nullptr, previewOpen);
    QCOMPARE(w->messages, messages);
}

void TestPreview::previewFollowsTheWindow_data()
{
    QTest::addColumn<Action>("action");
    QTest::addColumn<QStringList>("newNames"); // as the preview shows them
    QTest::addColumn<QString>("refusal");

    const auto name = [](Form1 *f) { typeInto(f->Text1, QStringLiteral("Photo")); };

    QTest::newRow("typing the name")
        << Action(name)
        << QStringList{QStringLiteral("Photo001.jpg"), QStringLiteral("Photo002.jpg"), QStringLiteral("Photo003.png"),
                       QStringLiteral("Photo004.png")}
        << QString();
    QTest::newRow("starting number") << Action([=](Form1 *f) {
        name(f);
        typeInto(f->Text2, QStringLiteral("7"));
    }) << QStringList{QStringLiteral("Photo007.jpg"), QStringLiteral("Photo008.jpg"), QStringLiteral("Photo009.png"),
                      QStringLiteral("Photo010.png")}
                                     << QString();
    QTest::newRow("zero fill off") << Action([=](Form1 *f) {
        name(f);
        f->Check2->click();
    }) << QStringList{QStringLiteral("Photo1.jpg"), QStringLiteral("Photo2.jpg"), QStringLiteral("Photo3.png"),
                      QStringLiteral("Photo4.png")}
                                   << QString();
    QTest::newRow("keeping existing files") << Action([](Form1 *f) {
        typeInto(f->Text1, QStringLiteral("Photo"));
        f->Check2->click();
        f->Check4->click();
    }) << QStringList{QStringLiteral("Photo1.jpg"), QStringLiteral("Photo2.jpg"), QStringLiteral("Photo3_.png"),
                      QStringLiteral("Photo4.png")}
                                            << QString();
    QTest::newRow("type and extension") << Action([](Form1 *f) {
        PickItem(f->Combo3, 2);
        typeInto(f->Combo1->lineEdit(), QStringLiteral("txt"));
    }) << QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt"),
                      QStringLiteral("Photo3.txt")}
                                        << QString();
    QTest::newRow("filter") << Action([=](Form1 *f) {
        name(f);
        typeInto(f->Combo2->lineEdit(), QStringLiteral("png"));
        f->Check1->click();
        f->Command4->click();
    }) << QStringList{QStringLiteral("Photo001.png"), QStringLiteral("Photo002.png")}
                            << QString();
    QTest::newRow("selection") << Action([=](Form1 *f) {
        name(f);
        const QRect second = f->File1->visualRect(f->File1->model()->index(1, 0));
        QTest::mouseClick(f->File1->viewport(), Qt::LeftButton, {}, second.center());
    }) << QStringList{QStringLiteral("Photo001.jpg")}
                               << QString();
    QTest::newRow("folder") << Action([=](Form1 *f) {
        name(f);
        f->Dir1->setPath(QDir::tempPath());
    }) << QStringList{}
                            << QString();
    QTest::newRow("refused") << Action([](Form1 *f) { typeInto(f->Text1, QStringLiteral(" ")); }) << QStringList{}
                             << QStringLiteral("You must enter a file name.");
    QTest::newRow("only files not simply renamed") << Action([](Form1 *f) {
        typeInto(f->Text1, QStringLiteral("Photo"));
        f->Check2->click();
        f->Check4->click();
        PreviewWindow::current()->problemsOnly->click();
    }) << QStringList{QStringLiteral("Photo3_.png")}
                                                   << QString();
}

void TestPreview::previewFollowsTheWindow()
{
    QFETCH(Action, action);
    QFETCH(QStringList, newNames);
    QFETCH(QString, refusal);

    TempFolder folder;
    const QStringList files{QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.png"),
                            QStringLiteral("Photo3.png")};
    QVERIFY(folder.writeNamed(files));
    auto w = makeWindow();
    Form1 *f = w->form.get();
    f->Dir1->setPath(folder.path());
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    f->mnuFileItem.at(2)->trigger();
    PreviewWindow *preview = PreviewWindow::current();
    QVERIFY(preview);
    preview->computer()->setDelay(20);
    QTRY_VERIFY(upToDate(preview));
    // Nothing selected yet, and no name: the request is refused.
    QCOMPARE(preview->pages->currentWidget(), preview->refusal);
    QCOMPARE(preview->refusal->text(), QStringLiteral("You must enter a file name."));

    f->Command4->click();
    action(f);

    QTRY_VERIFY(upToDate(preview));
    if (refusal.isEmpty()) {
        QCOMPARE(preview->pages->currentWidget(), preview->list);
        QCOMPARE(shownColumn(preview, PreviewModel::NewName), newNames);
        QVERIFY(preview->summary->text().startsWith(QStringLiteral("Renamed: ")));
        QVERIFY(preview->summary->isEnabled());
    } else {
        QCOMPARE(preview->pages->currentWidget(), preview->refusal);
        QCOMPARE(preview->refusal->text(), refusal);
    }
    // Nothing was renamed on the way.
    QStringList sorted = files;
    sorted.sort();
    QCOMPARE(folder.files(), sorted);
}

void TestPreview::previewAgreesWithRenameNow()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("P2.jpg"),
                               QStringLiteral("x.txt")}));
    auto w = makeWindow();
    Form1 *f = w->form.get();
    f->Dir1->setPath(folder.path());
    f->Check2->click(); // no zero fill
    f->show();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    f->mnuFileItem.at(2)->trigger();
    PreviewWindow *preview = PreviewWindow::current();
    preview->computer()->setDelay(10);
    // a.jpg, b.jpg and x.txt; P2.jpg stays unselected and is replaced.
    const QModelIndex p2 = f->File1->model()->index(2, 0);
    QCOMPARE(p2.data().toString(), QStringLiteral("P2.jpg"));
    f->Command4->click();
    f->File1->selectionModel()->select(p2, QItemSelectionModel::Deselect);
    typeInto(f->Text1, QStringLiteral("P"));
    QTRY_VERIFY(upToDate(preview));
    const QStringList current = shownColumn(preview, PreviewModel::CurrentName);
    const QStringList planned = shownColumn(preview, PreviewModel::NewName);
    QCOMPARE(planned, (QStringList{QStringLiteral("P1.jpg"), QStringLiteral("P2.jpg"), QStringLiteral("P3.txt")}));
    QCOMPARE(shownColumn(preview, PreviewModel::Outcome),
             (QStringList{QStringLiteral("renamed"), QStringLiteral("replaces an existing file"),
                          QStringLiteral("renamed")}));

    f->Command1->click();
    QTRY_VERIFY(!f->isRunning());
    QVERIFY(w->messages.isEmpty());
    QMap<QString, QByteArray> expected;
    for (qsizetype i = 0; i < current.size(); ++i)
        expected.insert(planned.at(i), current.at(i).toUtf8());
    QCOMPARE(folder.contents(), expected);
    // After the run the preview shows the folder as it is now.
    QTRY_VERIFY(upToDate(preview));
    QCOMPARE(preview->pages->currentWidget(), preview->list);
    QCOMPARE(shownColumn(preview, PreviewModel::NewName), QStringList{}); // the re-read list has no selection
}

void TestPreview::openStateAndPlaceAreRemembered()
{
    const QRect place(40, 50, 520, 310);
    {
        auto w = makeWindow();
        w->form->Form_Load();
        QVERIFY(!PreviewWindow::current());
        QCOMPARE(previewSetting(PreviewWindow::kOpenKey), QStringLiteral("<none>"));

        w->form->mnuFileItem.at(2)->trigger();
        PreviewWindow *preview = PreviewWindow::current();
        QVERIFY(preview);
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        QCOMPARE(previewSetting(PreviewWindow::kOpenKey), QStringLiteral("1"));
        preview->setGeometry(place);
        QTRY_COMPARE(preview->geometry(), place);
        // Written once the window is at rest.
        QTRY_VERIFY(previewSetting(PreviewWindow::kGeometryKey) != QLatin1String("<none>"));
        // The program ends with the window open: no close event reaches it.
        delete preview;
    }
    QCOMPARE(keysOf(PreviewWindow::kSection), (QStringList{PreviewWindow::kGeometryKey, PreviewWindow::kOpenKey}));
    QVERIFY(!keysOf(QStringLiteral("Settings")).contains(PreviewWindow::kOpenKey));
    QVERIFY(!keysOf(QStringLiteral("Settings")).contains(PreviewWindow::kGeometryKey));

    {
        auto w = makeWindow();
        w->form->Form_Load();
        PreviewWindow *preview = PreviewWindow::current();
        QVERIFY2(preview, "open at the last end, open again at the start");
        QVERIFY(QTest::qWaitForWindowExposed(preview));
        QCOMPARE(preview->geometry().size(), place.size());
        QVERIFY(preview->close());
        QCOMPARE(previewSetting(PreviewWindow::kOpenKey), QStringLiteral("0"));
        QVERIFY(!PreviewWindow::current() || !PreviewWindow::current()->isVisible());
    }
    QTRY_VERIFY(!PreviewWindow::current());
    {
        auto w = makeWindow();
        w->form->Form_Load();
        QVERIFY2(!PreviewWindow::current(), "closed by the user, not opened at the start");
    }
}

void TestPreview::screenReadersKnowTheWindow()
{
    PreviewWindow *preview = PreviewWindow::open(LoadProductInfo(), {});
    QVERIFY(QTest::qWaitForWindowExposed(preview));

    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(preview);
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Preview"));
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(preview->list);
    QVERIFY(table);
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Files and their new names"));
}

// A window on `folder` with every file selected for "N" + number, no zero
// fill, and its preview open and up to date.
PreviewWindow *openPreviewOn(Form1 *f, const QString &folder)
{
    f->Dir1->setPath(folder);
    f->Check2->click(); // no zero fill
    f->show();
    if (!QTest::qWaitForWindowExposed(f))
        return nullptr;
    f->mnuFileItem.at(Form1::PreviewItem)->trigger();
    PreviewWindow *preview = PreviewWindow::current();
    preview->computer()->setDelay(10);
    f->Command4->click();
    typeInto(f->Text1, QStringLiteral("N"));
    return preview;
}

void TestPreview::whatIsNotSimplyRenamedStandsOut()
{
    TempFolder folder;
    // a.jpg -> N1.jpg; b.jpg -> N2.jpg is taken by a folder: left in place;
    // N3.jpg keeps its name.
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("N3.jpg")}));
    QVERIFY(folder.makeFolder(QStringLiteral("N2.jpg")));
    auto w = makeWindow();
    Form1 *f = w->form.get();
    PreviewWindow *preview = openPreviewOn(f, folder.path());
    QVERIFY(preview);
    QTRY_VERIFY(upToDate(preview));

    const QAbstractItemModel *shown = preview->list->model();
    QCOMPARE(shown->rowCount(), 3);
    QList<PreviewOutcome> outcomes;
    for (int row = 0; row < shown->rowCount(); ++row) {
        const QModelIndex outcome = shown->index(row, PreviewModel::Outcome);
        outcomes << PreviewOutcome(outcome.data(PreviewModel::OutcomeRole).toInt());
        const bool plain = outcomes.last() == PreviewOutcome::Renamed;
        // A colour on the whole row, a sign before what will happen.
        QCOMPARE(shown->index(row, PreviewModel::CurrentName).data(Qt::ForegroundRole).isValid(), !plain);
        QCOMPARE(outcome.data(Qt::ForegroundRole).isValid(), !plain);
        QCOMPARE(outcome.data(Qt::DecorationRole).value<QIcon>().isNull(), plain);
        QVERIFY(!shown->index(row, PreviewModel::NewName).data(Qt::DecorationRole).isValid());
    }
    QCOMPARE(outcomes, (QList<PreviewOutcome>{PreviewOutcome::Renamed, PreviewOutcome::LeftInPlace,
                                               PreviewOutcome::Unchanged}));
    // Not renamed and merely unchanged do not look alike.
    QVERIFY(shown->index(1, 0).data(Qt::ForegroundRole) != shown->index(2, 0).data(Qt::ForegroundRole));
}

void TestPreview::previewFollowsTheFolderOnDisk()
{
    TempFolder folder;
    QVERIFY(folder.makeFolder(QStringLiteral("photos")));
    QVERIFY(folder.writeNamed({QStringLiteral("photos/a.jpg"), QStringLiteral("photos/b.jpg")}));
    auto w = makeWindow();
    Form1 *f = w->form.get();
    PreviewWindow *preview = openPreviewOn(f, folder.filePath(QStringLiteral("photos")));
    QVERIFY(preview);
    QTRY_VERIFY(upToDate(preview));
    QCOMPARE(shownColumn(preview, PreviewModel::Outcome), (QStringList{"renamed", "renamed"}));
    const quint64 before = preview->shownGeneration();

    // Deleted behind the window's back: nothing will be renamed now, and the
    // preview says so without being asked.
    QVERIFY(QDir(folder.filePath(QStringLiteral("photos"))).removeRecursively());
    QTRY_VERIFY(preview->shownGeneration() > before && upToDate(preview));
    const QStringList outcomes = shownColumn(preview, PreviewModel::Outcome);
    QVERIFY2(!outcomes.contains(QStringLiteral("renamed")), qPrintable(outcomes.join(u'|')));
    QVERIFY2(preview->summary->text().startsWith(QStringLiteral("Renamed: 0 ")), qPrintable(preview->summary->text()));
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
