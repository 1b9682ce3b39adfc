#include "app/Form1.h"
#include "app/RenameRunner.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "rename/RunJournal.h"
#include "selection/DirListBox.h"
#include "selection/FileListBox.h"

#include "TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <memory>

// A rename started from the window runs on a worker thread: the window
// answers during it, and closing it, Exit or Esc stop the run at a safe
// point, with every file in one piece under its old or its new name.

namespace {

constexpr int kFiles = 20000;

enum class Stop { Close, Escape, Exit };

QByteArray checksum(const QByteArray &content)
{
    return QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex(); // as FolderChecksums gives it
}

// Which file (by its first name) each name holds after replaying the
// journal's moves from the names the journal started with.
QMap<QString, QString> replayJournal(const RunJournal &journal, const QStringList &names)
{
    QMap<QString, QString> holder;
    for (const QString &name : names)
        holder.insert(name, name);
    for (const RunJournal::Move &move : journal.moves) {
        if (!holder.contains(move.from))
            return {{QStringLiteral("<move from a name nothing had>"), move.from}};
        holder.insert(move.to, holder.take(move.from));
    }
    return holder;
}

} // namespace

class TestRunWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void stopDuringRun_data();
    void stopDuringRun();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
};

void TestRunWindow::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
}

void TestRunWindow::cleanup()
{
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

void TestRunWindow::stopDuringRun_data()
{
    QTest::addColumn<Stop>("stop");
    QTest::addColumn<bool>("windowCloses");
    QTest::addColumn<int>("programEnds");

    QTest::newRow("window closed") << Stop::Close << true << 1;
    QTest::newRow("Esc") << Stop::Escape << false << 0;
    QTest::newRow("File > Exit") << Stop::Exit << false << 1;
}

void TestRunWindow::stopDuringRun()
{
    QFETCH(Stop, stop);
    QFETCH(bool, windowCloses);
    QFETCH(int, programEnds);

    // N1.dat .. N20000.dat, each holding its own name, numbered again from
    // 2: nearly every new name is held by a file still waiting for its
    // turn, which the run sets aside first.
    TempFolder folder;
    QVERIFY(folder.isValid());
    QStringList names;
    QMap<QString, QByteArray> before;
    for (int i = 1; i <= kFiles; ++i) {
        const QString name = QStringLiteral("N%1.dat").arg(i);
        names.append(name);
        QVERIFY(folder.write(name, name.toUtf8()));
        before.insert(name, checksum(name.toUtf8()));
    }

    Form1 form(LoadProductInfo());
    QStringList messages;
    int ends = 0;
    form.setMessagePresenter([&messages](const QString &, const QString &text) { messages << text; });
    form.setProgramEnd([&ends] { ++ends; });
    form.setHelpWindowOpener([] {});
    form.Form_Load();
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(form.Dir1->setPath(folder.path()));
    form.Combo3->setCurrentIndex(int(NameOnly));
    form.Text1->setText(QStringLiteral("N"));
    form.Text2->setText(QStringLiteral("2"));
    if (form.Check2->isChecked())
        form.Check2->click(); // no zero fill
    form.Command4->click();
    QCOMPARE(form.File1->count(), kFiles);

    // The run waits at a third of the way until the stop is asked for, so
    // that it lands in the middle of the run on any machine.
    std::atomic<bool> reached{false};
    QSemaphore goOn;
    form.renameRunner()->setProgressObserver([&reached, &goOn](float percent) {
        if (percent >= 33.0F && !reached.exchange(true))
            goOn.tryAcquire(1, 60000);
    });

    form.Command1->setFocus();
    form.Command1->click();
    QVERIFY(form.isRunning());
    // The input that would change the request is held while the run goes.
    QVERIFY(!form.Frame1->isEnabled());
    QVERIFY(!form.Frame2->isEnabled());
    QVERIFY(!form.Command1->isEnabled());
    QVERIFY(!form.mnuFileItem.at(Form1::RenameNowItem)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(reached.load(), 120000);

    switch (stop) {
    case Stop::Close:
        QVERIFY(!form.close());
        break;
    case Stop::Escape:
        QTest::keyClick(&form, Qt::Key_Escape);
        break;
    case Stop::Exit:
        form.mnuFileItem.at(Form1::ExitItem)->trigger();
        break;
    }
    // The window answered while the run was held, and waits for its end.
    QVERIFY(form.renameRunner()->stopRequested());
    QVERIFY(form.isVisible());
    QCOMPARE(ends, 0);
    goOn.release();

    QTRY_VERIFY_WITH_TIMEOUT(!form.isRunning(), 120000);
    QTRY_COMPARE(form.isVisible(), !windowCloses);
    QCOMPARE(ends, programEnds);
    QVERIFY(form.Frame1->isEnabled());
    QVERIFY(form.Command1->isEnabled());
    // The keyboard is back where it was before the run.
    if (!windowCloses)
        QCOMPARE(QApplication::focusWidget(), form.Command1);

    // The report: stopped, with every file once, some renamed and some not.
    const RenameReport &report = form.renameRunner()->lastReport();
    QVERIFY(report.stopped);
    QCOMPARE(report.refusal, RenameReport::Refusal::None);
    QVERIFY(report.renamedCount() > 0);
    QVERIFY(report.renamedCount() < kFiles);
    QCOMPARE(report.renamedCount() + report.leftInPlace.size() + report.unchanged.size(), qsizetype(kFiles));
    QVERIFY(std::any_of(report.leftInPlace.cbegin(), report.leftInPlace.cend(),
                        [](const LeftInPlaceFile &file) { return file.reason == LeftInPlaceReason::Stopped; }));
    QCOMPARE(messages.size(), 1);

    // Every file's content is in the folder once, under the name the
    // report gives it: nothing lost, nothing left under a name set aside.
    QMap<QString, QByteArray> expected;
    for (const RenamedFile &file : report.renamed)
        expected.insert(file.newName, before.value(file.oldName));
    for (const LeftInPlaceFile &file : report.leftInPlace)
        expected.insert(file.currentName.isEmpty() ? file.name : file.currentName, before.value(file.name));
    for (const QString &name : report.unchanged)
        expected.insert(name, before.value(name));
    QCOMPARE(expected.size(), qsizetype(kFiles));
    const QMap<QString, QByteArray> after = FolderChecksums(folder.path());
    QCOMPARE(after.size(), qsizetype(kFiles));
    QVERIFY(after == expected);

    // The journal is closed and, replayed, leads to the same folder.
    QVERIFY(!report.journalPath.isEmpty());
    QVERIFY(report.journalProblem.isEmpty());
    const std::optional<RunJournal> journal = ReadRunJournal(report.journalPath);
    QVERIFY(journal);
    QVERIFY(journal->complete);
    QMap<QString, QByteArray> replayed;
    const QMap<QString, QString> holders = replayJournal(*journal, names);
    for (auto it = holders.cbegin(); it != holders.cend(); ++it)
        replayed.insert(it.key(), before.value(it.value()));
    QVERIFY(replayed == after);
}

// Every folder a run or a window may write goes to a folder of this
// program's own, whoever runs it and however.
int main(int argc, char **argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
        const QString path = home.filePath(QString::fromLatin1(variable));
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    TestRunWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_runwindow.moc"
