// The window program under a German locale (the test's environment sets
// LANG): German captions, menus and messages, while the texts the program
// stores or compares stay English.

#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingKeys.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "selection/DirListBox.h"
#include "windows/Form8.h"
#include "windows/PreviewWindow.h"
#include "rename/PreviewComputer.h"
#include "rename/PreviewModel.h"
#include "windows/frmAbout.h"

#include "PickItem.h"
#include "TempFolder.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A caption as read, without the marker of its keyboard letter.
QString captionOf(const QObject *control)
{
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(control))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        text = button->text();
    else if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        text = frame->title();
    else if (const auto *menu = qobject_cast<const QMenu *>(control))
        text = menu->title();
    else if (const auto *action = qobject_cast<const QAction *>(control))
        text = action->text();
    return text.remove(u'&');
}

// Loads the window with the help window and the program's end kept out.
void load(Form1 &form)
{
    form.setHelpWindowOpener([] {});
    form.setProgramEnd([] {});
    form.Form_Load();
}

// What the next message box said, read and closed with its button while it
// waits for the user.
struct SeenMessage
{
    QString title;
    QString text;
    QString button;
    int boxes = 0;
};

void answerMessageBoxes(SeenMessage *seen, QObject *context)
{
    auto *timer = new QTimer(context);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, context, [seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++seen->boxes;
        seen->title = box->windowTitle();
        seen->text = box->text();
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        seen->button = ok ? ok->text() : QString();
        if (ok)
            ok->click();
        else
            box->reject();
    });
    timer->start();
}

} // namespace

class GermanWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void captions_data();
    void captions();
    void typeBox();
    void placeholdersStayEnglish();
    void refusals_data();
    void refusals();
    void titleAndOtherWindows();
    void previewSpeaksGerman();

private:
    std::unique_ptr<QTemporaryDir> m_settings;
};

void GermanWindowTest::initTestCase()
{
    const InstalledTranslations installed = InstallTranslations(*qApp);
    QVERIFY2(installed.programFile.endsWith(QLatin1String("quillmere_de.qm")), qPrintable(installed.programFile));
}

void GermanWindowTest::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
}

void GermanWindowTest::cleanup()
{
    qDeleteAll(findChildren<QTimer *>());
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

void GermanWindowTest::captions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Command1") << "Command1" << "Jetzt umbenennen";
    QTest::newRow("Frame1") << "Frame1" << "Umbenennungsoptionen";
    QTest::newRow("Label4") << "Label4" << "Umbenennungstyp:";
    QTest::newRow("Label1") << "Label1" << "Neuer Name:";
    QTest::newRow("Label3") << "Label3" << "Startnummer:";
    QTest::newRow("Check1") << "Check1" << "Dateifilter:";
    QTest::newRow("Check2") << "Check2" << "Nummern im Dateinamen mit Nullen auffüllen (Datei001.jpg, Datei002.jpg usw.)";
    QTest::newRow("Check3") << "Check3" << "Zuletzt verwendete Startnummer merken";
    QTest::newRow("Check4") << "Check4"
                            << "Vorhandene Dateien nicht überschreiben, wenn der neue Dateiname schon vergeben ist";
    QTest::newRow("Frame2") << "Frame2" << "Dateiauswahl";
    QTest::newRow("Label6") << "Label6" << "Ordner wählen:";
    QTest::newRow("Label5") << "Label5" << "Wählen Sie die umzubenennenden Dateien:";
    QTest::newRow("Command4") << "Command4" << "Alle auswählen";
    QTest::newRow("mnuFile") << "mnuFile" << "Datei";
    QTest::newRow("mnuHelp") << "mnuHelp" << "Hilfe";
    QTest::newRow("mnuAbout") << "mnuAbout" << "Über";
    QTest::newRow("mnuHelpItem") << "mnuHelpItem" << "Hilfe anzeigen";
    QTest::newRow("mnuAboutItem") << "mnuAboutItem" << "Über dieses Programm";
}

void GermanWindowTest::captions()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);

    Form1 form(LoadProductInfo());
    load(form);
    const QObject *found = form.findChild<QObject *>(control);
    QVERIFY2(found, qPrintable(control));
    QCOMPARE(captionOf(found), caption);
}

void GermanWindowTest::typeBox()
{
    Form1 form(LoadProductInfo());
    load(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.Combo3->currentIndex(), -1);
    QCOMPARE(form.Combo3->currentText(), QStringLiteral("Nur den Dateinamen ändern"));
    QCOMPARE(form.Combo3->count(), 5);
    QCOMPARE(form.Combo3->itemText(0), QStringLiteral("Dateiname und Erweiterung ändern"));
    // The type is stored as the item's place, so it means the same in every language.
    PickItem(form.Combo3, 3);
    QCOMPARE(captionOf(form.Label1), QStringLiteral("Neues Präfix:"));
    QCOMPARE(ReadOption(SettingKeys::Combo3), QStringLiteral("3"));
    const QStringList menuItems{captionOf(form.mnuFileItem.value(0)), captionOf(form.mnuFileItem.value(1))};
    QVERIFY2(menuItems.contains(QStringLiteral("Jetzt umbenennen")), qPrintable(menuItems.join(u'|')));
    QVERIFY2(menuItems.contains(QStringLiteral("Beenden")), qPrintable(menuItems.join(u'|')));
}

void GermanWindowTest::placeholdersStayEnglish()
{
    auto form = std::make_unique<Form1>(LoadProductInfo());
    load(*form);
    QCOMPARE(form->Combo1->currentText(), QString(kExtensionPlaceholder));
    QCOMPARE(form->Combo2->currentText(), QStringLiteral("Choose or Type"));

    // Closing stores the filter box's text, which a start under another
    // language reads back as it is.
    QVERIFY(form->close());
    QCOMPARE(ReadOption(SettingKeys::Combo2), QStringLiteral("Choose or Type"));
}

void GermanWindowTest::refusals_data()
{
    QTest::addColumn<int>("type"); // the item picked, -1 for none
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");

    QTest::newRow("placeholder extension") << 2 << QString() << "Sie müssen eine Dateierweiterung eingeben.";
    QTest::newRow("placeholder, name given") << 0 << "Foto" << "Sie müssen eine Dateierweiterung eingeben.";
    QTest::newRow("no name") << -1 << QString() << "Sie müssen einen Dateinamen eingeben.";
    QTest::newRow("no prefix") << 3 << QString() << "Sie müssen ein Präfix eingeben.";
    QTest::newRow("no suffix") << 4 << " " << "Sie müssen ein Suffix eingeben.";
}

void GermanWindowTest::refusals()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, message);

    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    Form1 form(LoadProductInfo());
    load(form);
    form.Dir1->setPath(folder.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (type >= 0)
        PickItem(form.Combo3, type);
    form.Text1->setText(name);
    QTest::mouseClick(form.Command4, Qt::LeftButton);

    // The message box the user sees, with its own button.
    SeenMessage seen;
    answerMessageBoxes(&seen, this);
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QTRY_VERIFY(!form.isRunning());
    QTRY_COMPARE(seen.boxes, 1);
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.title, Form1::kMessageTitle);
    QCOMPARE(seen.button, QStringLiteral("OK"));
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}));
    QCOMPARE(form.ProgressBar1->value(), form.ProgressBar1->minimum());
}

void GermanWindowTest::titleAndOtherWindows()
{
    Form1 form(LoadProductInfo());
    load(form);
    const ProductInfo info = LoadProductInfo();
    QCOMPARE(form.windowTitle(), QStringLiteral("%1 von %2").arg(info.productName, info.companyName));

    Form8 help;
    help.Form_Load();
    QCOMPARE(help.windowTitle(), QStringLiteral("Liesmich/Hilfe"));
    QCOMPARE(captionOf(help.Check1), QStringLiteral("Beim Start anzeigen"));

    frmAbout about(info, {});
    about.Form_Load();
    QCOMPARE(about.windowTitle(), QStringLiteral("Über %1").arg(info.productName));
    QCOMPARE(captionOf(about.Label3), QStringLiteral("Eigentümer:"));
    QVERIFY2(captionOf(about.Label5).startsWith(QLatin1String("Warnung: Dieses Computerprogramm")),
             qPrintable(captionOf(about.Label5)));
}

void GermanWindowTest::previewSpeaksGerman()
{
    TempFolder folder;
    QVERIFY(folder.writeNamed({QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("N1.jpg")}));
    Form1 form(LoadProductInfo());
    load(form);
    form.Dir1->setPath(folder.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    PickItem(form.Combo3, 1);
    form.Text1->setText(QStringLiteral("N"));
    form.Check2->click(); // no zero fill: a.jpg would become N1.jpg, which is taken
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    form.mnuFileItem.at(Form1::PreviewItem)->trigger();

    PreviewWindow *preview = PreviewWindow::current();
    QVERIFY(preview);
    QTRY_VERIFY(preview->shownGeneration() > 0 && preview->shownGeneration() == preview->computer()->inputGeneration());
    QCOMPARE(preview->windowTitle(), QStringLiteral("Vorschau"));
    const RenamePreview &shown = preview->model()->preview();
    QCOMPARE(shown.rows.size(), 3);
    QCOMPARE(preview->summary->text(),
             QStringLiteral("Umbenannt: %1 · Mit „_“: %2 · Ersetzt eine vorhandene Datei: %3 · Unverändert: %4 · "
                            "An ihrem Platz belassen: %5")
                 .arg(shown.count(PreviewOutcome::Renamed))
                 .arg(shown.count(PreviewOutcome::FreeVariant))
                 .arg(shown.count(PreviewOutcome::Replaces))
                 .arg(shown.count(PreviewOutcome::Unchanged))
                 .arg(shown.count(PreviewOutcome::LeftInPlace)));
    QCOMPARE(preview->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Jetziger Name"));
    delete preview;
}

QTEST_MAIN(GermanWindowTest)
#include "tst_germanwindow.moc"
