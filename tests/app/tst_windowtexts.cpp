// The texts of every window as a user meets them, built once for English
// and once for German (the test's environment sets LANG): each window's
// keyboard letters are its own, and no caption is cut off.

#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "windows/Form8.h"
#include "windows/PreviewWindow.h"
#include "windows/RulesWindow.h"
#include "windows/frmAbout.h"
#include "skin/Skin.h"
#include "skin/SkinAccessibility.h"

#include "PickItem.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The letter Alt reaches a caption by, lower-cased; null when it has none.
QChar keyboardLetter(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toLower();
        ++i; // "&&" is a plain ampersand
    }
    return QChar();
}

// The captions that share one Alt space in `window`: labels that lead to a
// control, buttons and check boxes, and a main window's menu titles.
QStringList windowCaptions(const QWidget *window)
{
    QStringList captions;
    // A skinned label's twin repeats its caption; only the label counts. A
    // caption out of sight (a page of the rule editor behind the one shown)
    // answers no key: the pages share their letters.
    for (const QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy() && !IsSkinTwin(label) && label->isVisibleTo(window))
            captions.append(label->text());
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        if (button->isVisibleTo(window))
            captions.append(button->text());
    for (const QMenu *menu : window->findChildren<QMenu *>())
        if (menu->parentWidget() && !menu->parentWidget()->inherits("QMenu"))
            captions.append(menu->title());
    return captions;
}

// Where two captions share a letter, what they are; empty when none do.
QString clashes(const QStringList &captions)
{
    QHash<QChar, QString> taken;
    QStringList found;
    for (const QString &caption : captions) {
        const QChar letter = keyboardLetter(caption);
        if (letter.isNull())
            continue;
        if (taken.contains(letter))
            found.append(QStringLiteral("\"%1\" and \"%2\" share Alt+%3").arg(taken.value(letter), caption, letter));
        taken.insert(letter, caption);
    }
    return found.join(u'\n');
}

// Every caption in `window` that does not fit the room it is given.
QStringList clippedCaptions(const QWidget *window)
{
    QStringList clipped;
    const auto check = [&clipped](const QWidget *widget, const QString &text, const QSize &needed) {
        if (!widget->isVisibleTo(widget->window()) || text.isEmpty())
            return;
        if (needed.width() > widget->width() || needed.height() > widget->height())
            clipped.append(QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                               .arg(widget->objectName(), text)
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(widget->width())
                               .arg(widget->height()));
    };
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->pixmap().isNull() || label->text().isEmpty())
            continue;
        // A label that wraps needs its height at its width, not one long line.
        QSize needed = label->sizeHint();
        if (label->wordWrap())
            needed = {qMin(needed.width(), label->width()), label->heightForWidth(label->width())};
        check(label, label->text(), needed);
    }
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        // Only what the button paints: a push button's frame may overlap.
        QSize needed = button->sizeHint();
        if (qobject_cast<const QPushButton *>(button))
            needed.setHeight(qMin(needed.height(), button->height()));
        check(button, button->text(), needed);
    }
    return clipped;
}

} // namespace

class WindowTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void keyboardLettersAreUnique_data();
    void keyboardLettersAreUnique();
    void noCaptionIsClipped_data();
    void noCaptionIsClipped();

private:
    std::unique_ptr<QWidget> openWindow(const QString &window, int type);

    std::unique_ptr<QTemporaryDir> m_settings;
    Skin m_skin;
};

void WindowTextsTest::initTestCase()
{
    const InstalledTranslations installed = InstallTranslations(*qApp);
    // German where the locale asks for it, the texts as written otherwise.
    const bool german = QLocale().language() == QLocale::German;
    QCOMPARE(installed.programFile.endsWith(QLatin1String("quillmere_de.qm")), german);
}

void WindowTextsTest::init()
{
    m_settings = std::make_unique<QTemporaryDir>();
    QVERIFY(m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
}

void WindowTextsTest::cleanup()
{
    delete PreviewWindow::current();
    SetSettingsFolderForTesting(QString());
    m_settings.reset();
}

// A window as the program shows it, skinned, on screen; the main window
// with renaming type `type` picked.
std::unique_ptr<QWidget> WindowTextsTest::openWindow(const QString &window, int type)
{
    const WindowSkin skin{true, &m_skin};
    std::unique_ptr<QWidget> shown;
    if (window == QLatin1String("main")) {
        auto form = std::make_unique<Form1>(LoadProductInfo(), skin);
        form->setHelpWindowOpener([] {});
        form->setProgramEnd([] {});
        form->Form_Load();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            return nullptr;
        if (type >= 0)
            PickItem(form->Combo3, type);
        shown = std::move(form);
    } else if (window == QLatin1String("help")) {
        auto help = std::make_unique<Form8>(skin);
        help->Form_Load();
        shown = std::move(help);
    } else if (window == QLatin1String("about")) {
        auto about = std::make_unique<frmAbout>(LoadProductInfo(), skin);
        about->Form_Load();
        shown = std::move(about);
    } else if (window == QLatin1String("preview")) {
        shown = std::make_unique<PreviewWindow>(LoadProductInfo(), skin);
    } else if (window == QLatin1String("rules")) {
        shown = std::make_unique<RulesWindow>(LoadProductInfo(), skin);
    }
    if (shown && !shown->isVisible()) {
        shown->show();
        if (!QTest::qWaitForWindowExposed(shown.get()))
            return nullptr;
    }
    return shown;
}

void WindowTextsTest::keyboardLettersAreUnique_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("type"); // the renaming type picked; the name label's caption follows it
    QTest::addColumn<QString>("menu"); // a menu of the main window; empty for the window itself

    // The window's controls and the menu bar's titles share one Alt space;
    // each menu has its own.
    for (int type : {-1, 0, 1, 3, 4})
        QTest::addRow("main window, type %d", type) << "main" << type << "";
    QTest::newRow("File menu") << "main" << -1 << "mnuFile";
    QTest::newRow("Help menu") << "main" << -1 << "mnuHelp";
    QTest::newRow("About menu") << "main" << -1 << "mnuAbout";
    QTest::newRow("help window") << "help" << -1 << "";
    QTest::newRow("About window") << "about" << -1 << "";
    QTest::newRow("Preview window") << "preview" << -1 << "";
    QTest::newRow("Rules window") << "rules" << -1 << "";
}

void WindowTextsTest::keyboardLettersAreUnique()
{
    QFETCH(QString, window);
    QFETCH(int, type);
    QFETCH(QString, menu);

    const std::unique_ptr<QWidget> shown = openWindow(window, type);
    QVERIFY(shown);
    QStringList captions;
    if (menu.isEmpty()) {
        captions = windowCaptions(shown.get());
    } else {
        const auto *found = shown->findChild<QMenu *>(menu);
        QVERIFY(found);
        for (const QAction *action : found->actions())
            if (!action->isSeparator())
                captions.append(action->text());
    }
    const QString clash = clashes(captions);
    QVERIFY2(clash.isEmpty(), qPrintable(clash));
}

void WindowTextsTest::noCaptionIsClipped_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("type");

    for (int type : {-1, 0, 1, 3, 4})
        QTest::addRow("main window, type %d", type) << "main" << type;
    QTest::newRow("help window") << "help" << -1;
    QTest::newRow("About window") << "about" << -1;
    QTest::newRow("Preview window") << "preview" << -1;
    QTest::newRow("Rules window") << "rules" << -1;
}

void WindowTextsTest::noCaptionIsClipped()
{
    QFETCH(QString, window);
    QFETCH(int, type);

    const std::unique_ptr<QWidget> shown = openWindow(window, type);
    QVERIFY(shown);
    const QStringList clipped = clippedCaptions(shown.get());
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(u'\n')));
}

QTEST_MAIN(WindowTextsTest)
#include "tst_windowtexts.moc"
