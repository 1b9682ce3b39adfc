#include "core/SettingKeys.h"
#include "core/SettingsStore.h"
#include "windows/Form8.h"
#include "windows/HelpLocation.h"
#include "rtf/RtfDocumentLoader.h"
#include "rtf/RtfReader.h"
#include "rename/NameComposition.h"
#include "windows/WindowOpeners.h"

#include "TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QAccessible>
#include <QTest>
#include <QTextBrowser>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <memory>

namespace {

const QString kAbsent = QStringLiteral("<nothing stored>");

QString storedShowHelp()
{
    return ReadOption(SettingKeys::ShowHelp, kAbsent);
}

const QByteArray kHelpDocument = R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0\b Quillmere help\b0\par Text.\par})";

// The help document is read in the background; the window shows it once
// its loader is done and gone.
bool documentRead(Form8 *window)
{
    return !window->findChild<RtfDocumentLoader *>();
}

int visibleHelpWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<Form8 *>(widget) && widget->isVisible())
            ++count;
    }
    return count;
}

} // namespace

// Receives the links the help window passes to the desktop.
class LinkRecorder : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

class TestForm8 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void helpFilePath_data();
    void helpFilePath();
    void helpDocumentSitsBesideTheProgram();
    void shippedHelpCoversTheProgram_data();
    void shippedHelpCoversTheProgram();
    void shippedHelpTellsTheZeroFill_data();
    void shippedHelpTellsTheZeroFill();

    void showHelpOnLoad_data();
    void showHelpOnLoad();
    void clickingStoresTheChoice_data();
    void clickingStoresTheChoice();

    void helpFoundByAnySpellingIsShown_data();
    void helpFoundByAnySpellingIsShown();
    void missingHelpFileShowsNothing_data();
    void missingHelpFileShowsNothing();
    void opensAboveOtherWindowsWithTheDocument();
    void longDocumentOpensAtItsTop();
    void screenReadersReadTheDocument();
    void unreadableDocumentStillOpensTheWindow();
    void windowOpensBeforeItsDocumentIsRead();
    void hostileDocumentsOpenAndShowTheirStart_data();
    void hostileDocumentsOpenAndShowTheirStart();
    void closingWhileReadingEndsTheRead();
    void secondOpeningBringsTheSameWindowForward();
    void closingUnloadsAndNextOpeningLoadsAnew();

    void links_data();
    void links();

private:
    void writeHelp(const QByteArray &content = kHelpDocument);

    std::unique_ptr<TempFolder> m_settings;
    std::unique_ptr<TempFolder> m_program;
    LinkRecorder m_links;
};

void TestForm8::init()
{
    m_settings = std::make_unique<TempFolder>();
    m_program = std::make_unique<TempFolder>();
    SetSettingsFolderForTesting(m_settings->path());
    SetProgramFolderForTesting(m_program->path());
    m_links.opened.clear();
    for (const char *scheme : {"http", "https", "mailto", "file", "ftp"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &m_links, "open");
}

void TestForm8::cleanup()
{
    if (Form8 *window = CurrentHelpWindow())
        window->close();
    QTRY_VERIFY(!CurrentHelpWindow());
    for (const char *scheme : {"http", "https", "mailto", "file", "ftp"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    SetProgramFolderForTesting(std::nullopt);
}

void TestForm8::writeHelp(const QByteArray &content)
{
    QVERIFY(m_program->write(QStringLiteral("Help.rtf"), content));
}

void TestForm8::helpFilePath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("expected");

    QTest::newRow("program folder") << "/opt/quillmere" << "/opt/quillmere/Help.rtf";
    QTest::newRow("trailing separator") << "/opt/quillmere/" << "/opt/quillmere/Help.rtf";
    QTest::newRow("root of the file system") << "/" << "/Help.rtf";
    QTest::newRow("blanks in the folder") << "/home/a b/Quill mere" << "/home/a b/Quill mere/Help.rtf";
}

void TestForm8::helpFilePath()
{
    QFETCH(QString, folder);
    SetProgramFolderForTesting(folder);
    QTEST(HelpFilePath(), "expected");
}

void TestForm8::helpDocumentSitsBesideTheProgram()
{
    // Without a test folder the document is looked for beside the running
    // executable; the build puts the shipped one there, and it is RTF.
    SetProgramFolderForTesting(std::nullopt);
    QCOMPARE(HelpFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Help.rtf"));
    QFile file(HelpFilePath());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(HelpFilePath()));
    QTextDocument document;
    QVERIFY(ReadRtfDocument(file.readAll(), document));
    QVERIFY(document.toPlainText().contains(QStringLiteral("Quillmere")));
}

void TestForm8::shippedHelpCoversTheProgram_data()
{
    QTest::addColumn<QString>("term");

    for (const char *option : {"--type", "--text", "--ext", "--start", "--pad", "--no-pad", "--keep-existing",
                               "--overwrite", "--filter", "--all", "--dry-run", "--null", "--undo", "--help",
                               "--version"})
        QTest::newRow(option) << QString::fromLatin1(option);
    for (const char *type : {"Change both file name and extension", "Change only the file name",
                             "Change only the extension", "Add A Prefix", "Add A Suffix"})
        QTest::newRow(type) << QString::fromLatin1(type);
    // Every rule option of quillmere-rename, the tokens of templates, and
    // the way to the Rules window.
    for (const char *option : {"--find", "--replace", "--literal", "--ignore-case", "--nth", "--remove-first",
                               "--remove-last", "--remove-between", "--scope", "--case", "--number", "--step",
                               "--width", "--sort", "--reverse", "--insert", "--at", "--template", "--clean",
                               "--preset", "--save-preset", "--list-presets"})
        QTest::newRow(option) << QString::fromLatin1(option);
    for (const char *token : {"{name}", "{ext}", "{n}", "{parent}", "{mtime:FORMAT}", "{taken:FORMAT}"})
        QTest::newRow(token) << QString::fromLatin1(token);
    QTest::newRow("rules section") << u"Renaming rules"_qs;
    QTest::newRow("presets folder") << u"quillmere/presets"_qs;
    QTest::newRow("rules window") << u"File \u203a Rules... (Ctrl+Shift+R)"_qs;
    QTest::newRow("exit status") << u"Exit status"_qs;
    QTest::newRow("show at startup") << u"Show at Startup"_qs;
    QTest::newRow("last section") << u"Good to know"_qs;
}

void TestForm8::shippedHelpCoversTheProgram()
{
    QFETCH(QString, term);
    SetProgramFolderForTesting(std::nullopt);
    QFile file(HelpFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument document;
    QVERIFY(ReadRtfDocument(file.readAll(), document));
    QVERIFY2(document.toPlainText().contains(term), qPrintable(term));
}

void TestForm8::shippedHelpTellsTheZeroFill_data()
{
    QTest::addColumn<QString>("files"); // the table's row, as the help writes it
    QTest::addColumn<int>("count");     // a number of files in that row

    QTest::newRow("fewer than 100") << "fewer than 100" << 99;
    QTest::newRow("hundreds") << "100 to 999" << 100;
    QTest::newRow("thousands") << "1 000 to 9 999" << 9999;
    QTest::newRow("ten thousands") << "10 000 to 99 999" << 10000;
    QTest::newRow("hundred thousands") << "100 000 to 999 999" << 100000;
}

// The table says what the program does: its row for `count` files holds
// the width and the number 7 as the program fills them.
void TestForm8::shippedHelpTellsTheZeroFill()
{
    QFETCH(QString, files);
    QFETCH(int, count);
    SetProgramFolderForTesting(std::nullopt);
    QFile file(HelpFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument document;
    QVERIFY(ReadRtfDocument(file.readAll(), document));
    const QString text = document.toPlainText();
    const QString row = QStringLiteral("%1\n%2\n%3").arg(files).arg(ZeroFillWidth(count)).arg(PadNumber(QStringLiteral("7"), count));
    QVERIFY2(text.contains(row), qPrintable(row));
    QVERIFY(!text.contains(QStringLiteral("no fill")));
}

void TestForm8::showHelpOnLoad_data()
{
    QTest::addColumn<QString>("stored"); // kAbsent: nothing stored
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("storedAfter");

    const int checked = Qt::Checked;
    // The box starts ticked: a value that leaves it ticked stores nothing.
    QTest::newRow("nothing stored") << kAbsent << checked << kAbsent;
    QTest::newRow("1") << "1" << checked << "1";
    QTest::newRow("0 unticks and is stored again") << "0" << int(Qt::Unchecked) << "0";
    QTest::newRow("2 greys") << "2" << int(Qt::PartiallyChecked) << "2";
    QTest::newRow("blanks around 0") << " 0 " << int(Qt::Unchecked) << "0";
    QTest::newRow("signed 1 changes nothing") << "+1" << checked << "+1";
    QTest::newRow("3 is no state") << "3" << checked << "3";
    QTest::newRow("-1 is no state") << "-1" << checked << "-1";
    QTest::newRow("not a number") << "yes" << checked << "yes";
    QTest::newRow("empty text") << "" << checked << "";
    QTest::newRow("beyond 32 bits") << "4294967296" << checked << "4294967296";
}

void TestForm8::showHelpOnLoad()
{
    QFETCH(QString, stored);
    QFETCH(int, state);
    QFETCH(QString, storedAfter);

    writeHelp();
    if (stored != kAbsent)
        QVERIFY(WriteOption(SettingKeys::ShowHelp, stored));

    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QCOMPARE(int(window->Check1->checkState()), state);
    QCOMPARE(storedShowHelp(), storedAfter);
}

void TestForm8::clickingStoresTheChoice_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("storedAfter");

    QTest::newRow("untick") << kAbsent << 1 << int(Qt::Unchecked) << "0";
    QTest::newRow("untick and tick again") << kAbsent << 2 << int(Qt::Checked) << "1";
    QTest::newRow("tick when stored off") << "0" << 1 << int(Qt::Checked) << "1";
    // A greyed box becomes an ordinary one at the user's first click.
    QTest::newRow("greyed then clicked") << "2" << 1 << int(Qt::Checked) << "1";
    QTest::newRow("greyed then clicked twice") << "2" << 2 << int(Qt::Unchecked) << "0";
    QTest::newRow("greyed then clicked three times") << "2" << 3 << int(Qt::Checked) << "1";
}

void TestForm8::clickingStoresTheChoice()
{
    QFETCH(QString, stored);
    QFETCH(int, clicks);

    writeHelp();
    if (stored != kAbsent)
        QVERIFY(WriteOption(SettingKeys::ShowHelp, stored));
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));

    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(window->Check1, Qt::LeftButton, {}, QPoint(8, window->Check1->height() / 2));
    QTEST(int(window->Check1->checkState()), "state");
    QTEST(storedShowHelp(), "storedAfter");
}

void TestForm8::missingHelpFileShowsNothing_data()
{
    QTest::addColumn<QString>("folderEntry"); // what is there instead; empty: nothing
    QTest::addColumn<QString>("stored");

    QTest::newRow("no file, nothing stored") << QString() << kAbsent;
    QTest::newRow("no file, help on") << QString() << "1";
    QTest::newRow("no file, help off") << QString() << "0";
    QTest::newRow("a folder of that name") << "Help.rtf" << "1";
    QTest::newRow("only another document") << "Readme.rtf" << "1";
}

void TestForm8::missingHelpFileShowsNothing()
{
    QFETCH(QString, folderEntry);
    QFETCH(QString, stored);

    if (folderEntry == QLatin1String("Help.rtf"))
        QVERIFY(m_program->makeFolder(folderEntry));
    else if (!folderEntry.isEmpty())
        QVERIFY(m_program->write(folderEntry, kHelpDocument));
    if (stored != kAbsent)
        QVERIFY(WriteOption(SettingKeys::ShowHelp, stored));

    // At start-up and from the menu alike, every opening shows nothing and
    // leaves the stored choice alone.
    for (int opening = 0; opening < 2; ++opening) {
        QCOMPARE(OpenHelpWindow(WindowSkin{}), nullptr);
        QCOMPARE(CurrentHelpWindow(), nullptr);
        QCOMPARE(visibleHelpWindows(), 0);
        QCOMPARE(storedShowHelp(), stored);
    }
    QCoreApplication::processEvents();
    QCOMPARE(visibleHelpWindows(), 0);
}

void TestForm8::helpFoundByAnySpellingIsShown_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("as named") << "Help.rtf";
    QTest::newRow("lower case") << "help.rtf";
    QTest::newRow("upper case") << "HELP.RTF";
}

void TestForm8::helpFoundByAnySpellingIsShown()
{
    QFETCH(QString, fileName);
    QVERIFY(m_program->write(fileName, kHelpDocument));

    // The file that was found is the file that is read: never an empty window.
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QTRY_COMPARE(window->rtf1->document()->toPlainText(), QStringLiteral("Quillmere help\nText."));
}

void TestForm8::opensAboveOtherWindowsWithTheDocument()
{
    writeHelp();
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(visibleHelpWindows(), 1);
    QCOMPARE(window->windowTitle(), QStringLiteral("Readme/Help"));
    QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(!window->parentWidget());
    QTRY_VERIFY(documentRead(window));
    QCOMPARE(window->rtf1->document()->toPlainText(), QStringLiteral("Quillmere help\nText."));
    QVERIFY(window->rtf1->isReadOnly());
    QCOMPARE(window->Check1->text(), QStringLiteral("Show at Startup"));
}

void TestForm8::screenReadersReadTheDocument()
{
    writeHelp();
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(documentRead(window));

    QAccessibleInterface *windowIface = QAccessible::queryAccessibleInterface(window);
    QVERIFY(windowIface);
    QCOMPARE(windowIface->role(), QAccessible::Dialog);
    QCOMPARE(windowIface->text(QAccessible::Name), QStringLiteral("Readme/Help"));

    // A document, named, whose text a reader reads out piece by piece.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(window->rtf1);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Document);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Help text"));
    QVERIFY(iface->state().readOnly);
    QAccessibleTextInterface *text = iface->textInterface();
    QVERIFY(text);
    QCOMPARE(text->characterCount(), int(QStringLiteral("Quillmere help\nText.").size()));
    QCOMPARE(text->text(0, text->characterCount()), QStringLiteral("Quillmere help\nText."));
    int start = -1;
    int end = -1;
    QCOMPARE(text->textAtOffset(16, QAccessible::WordBoundary, &start, &end), QStringLiteral("Text"));
    QCOMPARE(start, 15);
    text->setSelection(0, 0, 9);
    QCOMPARE(window->rtf1->textCursor().selectedText(), QStringLiteral("Quillmere"));
    QCOMPARE(text->selectionCount(), 1);
}

void TestForm8::longDocumentOpensAtItsTop()
{
    QByteArray rtf = R"({\rtf1 First line\par)";
    for (int i = 0; i < 300; ++i)
        rtf += "Line " + QByteArray::number(i) + "\\par\n";
    writeHelp(rtf + "Last line}");
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(documentRead(window));
    QScrollBar *bar = window->rtf1->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(window->rtf1->textCursor().position(), 0);
}

void TestForm8::unreadableDocumentStillOpensTheWindow()
{
    writeHelp("This is not rich text.");
    QVERIFY(WriteOption(SettingKeys::ShowHelp, QStringLiteral("0")));
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QTRY_VERIFY(documentRead(window));
    QVERIFY(window->rtf1->document()->isEmpty());
    // The remaining load steps still ran.
    QVERIFY(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(window->Check1->checkState(), Qt::Unchecked);
}

void TestForm8::windowOpensBeforeItsDocumentIsRead()
{
    // The reading happens away from the windows: when the opening returns the
    // window is up with its check box set, and the text follows.
    writeHelp();
    QVERIFY(WriteOption(SettingKeys::ShowHelp, QStringLiteral("0")));
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->Check1->checkState(), Qt::Unchecked);
    QVERIFY(!documentRead(window));
    QVERIFY(window->rtf1->document()->isEmpty());
    QTRY_VERIFY(documentRead(window));
    QCOMPARE(window->rtf1->document()->toPlainText(), QStringLiteral("Quillmere help\nText."));
    QCOMPARE(window->rtf1->textCursor().position(), 0);
}

void TestForm8::hostileDocumentsOpenAndShowTheirStart_data()
{
    QTest::addColumn<QByteArray>("piece");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("start");

    QTest::newRow("paragraphs") << QByteArray("p\\par ") << 120000 << u"p\np"_qs;
    QTest::newRow("tabs and line breaks") << QByteArray("\\tab\\line ") << 150000 << u"\t\u2028\t"_qs;
    QTest::newRow("cells of one row") << QByteArray("\\trowd\\cellx900\\pard\\intbl x\\cell ") << 20000 << u"\nx"_qs;
    QTest::newRow("rows") << QByteArray("\\trowd\\cellx900\\cellx1800\\pard\\intbl a\\cell b\\cell\\row\n") << 6000
                          << u"\na\nb\na"_qs;
}

void TestForm8::hostileDocumentsOpenAndShowTheirStart()
{
    QFETCH(QByteArray, piece);
    QFETCH(int, times);
    QFETCH(QString, start);

    QByteArray rtf = "{\\rtf1 ";
    rtf.reserve(piece.size() * times + 16);
    for (int i = 0; i < times; ++i)
        rtf += piece;
    writeHelp(rtf + "}");

    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY_WITH_TIMEOUT(documentRead(window), 60000);
    QStringList blocks;
    for (QTextBlock block = window->rtf1->document()->begin(); block.isValid() && blocks.size() < 8;
         block = block.next())
        blocks.append(block.text());
    QVERIFY2(blocks.join(u'\n').startsWith(start), qPrintable(blocks.join(u'|').left(80)));
    // The window still answers.
    QTest::mouseClick(window->Check1, Qt::LeftButton, {}, QPoint(8, window->Check1->height() / 2));
    QCOMPARE(storedShowHelp(), QStringLiteral("0"));
}

void TestForm8::closingWhileReadingEndsTheRead()
{
    QByteArray rtf = "{\\rtf1 ";
    for (int i = 0; i < 200000; ++i)
        rtf += "line\\par ";
    writeHelp(rtf + "}");

    QPointer<Form8> window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(!documentRead(window));
    window->close();
    QTRY_VERIFY(!window);
    QCOMPARE(CurrentHelpWindow(), nullptr);

    // The next opening reads the document afresh.
    writeHelp(kHelpDocument);
    Form8 *next = OpenHelpWindow(WindowSkin{});
    QVERIFY(next);
    QTRY_VERIFY(documentRead(next));
    QCOMPARE(next->rtf1->document()->toPlainText(), QStringLiteral("Quillmere help\nText."));
}

void TestForm8::secondOpeningBringsTheSameWindowForward()
{
    writeHelp();
    Form8 *first = OpenHelpWindow(WindowSkin{});
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QTRY_VERIFY(documentRead(first));

    // Neither the document nor the stored choice is read again.
    writeHelp(R"({\rtf1 Changed.})");
    QVERIFY(WriteOption(SettingKeys::ShowHelp, QStringLiteral("0")));
    first->showMinimized();
    QCOMPARE(OpenHelpWindow(WindowSkin{}), first);
    QVERIFY(documentRead(first));
    QCOMPARE(visibleHelpWindows(), 1);
    QVERIFY(!first->isMinimized());
    QCOMPARE(first->rtf1->document()->toPlainText(), QStringLiteral("Quillmere help\nText."));
    QCOMPARE(first->Check1->checkState(), Qt::Checked);
}

void TestForm8::closingUnloadsAndNextOpeningLoadsAnew()
{
    writeHelp();
    QPointer<Form8> first = OpenHelpWindow(WindowSkin{});
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    first->close();
    QTRY_VERIFY(!first);
    QCOMPARE(CurrentHelpWindow(), nullptr);

    writeHelp(R"({\rtf1 Changed.})");
    QVERIFY(WriteOption(SettingKeys::ShowHelp, QStringLiteral("0")));
    Form8 *second = OpenHelpWindow(WindowSkin{});
    QVERIFY(second);
    QTRY_VERIFY(documentRead(second));
    QCOMPARE(second->rtf1->document()->toPlainText(), QStringLiteral("Changed."));
    QCOMPARE(second->Check1->checkState(), Qt::Unchecked);

    // The document going away while closed means no window at the next opening.
    second->close();
    QTRY_VERIFY(!CurrentHelpWindow());
    QVERIFY(QFile::remove(m_program->filePath(QStringLiteral("Help.rtf"))));
    QCOMPARE(OpenHelpWindow(WindowSkin{}), nullptr);
}

void TestForm8::links_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<bool>("opensOutside");
    QTest::addColumn<bool>("scrolls");

    QTest::newRow("web address") << QByteArray("https://quillmere.example/help") << true << false;
    QTest::newRow("plain web address") << QByteArray("http://quillmere.example") << true << false;
    QTest::newRow("mail address") << QByteArray("mailto:help@quillmere.example") << true << false;
    QTest::newRow("local file") << QByteArray("file:///etc/passwd") << false << false;
    QTest::newRow("other scheme") << QByteArray("ftp://quillmere.example/x") << false << false;
    QTest::newRow("place in the document") << QByteArray("#options") << false << true;
}

void TestForm8::links()
{
    QFETCH(QByteArray, target);
    QFETCH(bool, opensOutside);

    QFETCH(bool, scrolls);

    QByteArray filler;
    for (int i = 0; i < 200; ++i)
        filler += "Line\\par\n";
    writeHelp(R"({\rtf1 Top\par {\field{\*\fldinst HYPERLINK ")" + target + R"("}{\fldrslt Link}}\par)" + filler
              + R"({\*\bkmkstart options}Options\par})");
    Form8 *window = OpenHelpWindow(WindowSkin{});
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTRY_VERIFY(documentRead(window));
    QSignalSpy clicked(window->rtf1, &QTextBrowser::anchorClicked);

    // Click the middle of the link's first letter.
    QTextCursor onLink = window->rtf1->document()->find(QStringLiteral("Link"));
    QVERIFY(!onLink.isNull());
    onLink.setPosition(onLink.selectionStart());
    const QRect before = window->rtf1->cursorRect(onLink);
    onLink.movePosition(QTextCursor::NextCharacter);
    const QRect after = window->rtf1->cursorRect(onLink);
    const QPoint point((before.left() + after.left()) / 2, before.center().y());
    QTest::mouseClick(window->rtf1->viewport(), Qt::LeftButton, {}, point);

    QTRY_COMPARE(clicked.size(), 1);
    const QUrl url = QUrl::fromEncoded(target);
    QCOMPARE(clicked.first().first().toUrl(), url);
    QCOMPARE(m_links.opened, opensOutside ? QList<QUrl>{url} : QList<QUrl>{});
    if (scrolls)
        QTRY_VERIFY(window->rtf1->verticalScrollBar()->value() > 0);
    else
        QCOMPARE(window->rtf1->verticalScrollBar()->value(), 0);
    // The document stays on show whatever was clicked.
    QVERIFY(window->rtf1->document()->toPlainText().contains(QStringLiteral("Link")));
}

QTEST_MAIN(TestForm8)
#include "tst_form8.moc"
