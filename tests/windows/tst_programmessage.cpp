#include "windows/OnTop.h"
#include "windows/ProgramMessage.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {

// What the box looked like while it was up.
struct Seen
{
    bool shown = false;
    QWidget *parent = nullptr;
    QWindow *transientParent = nullptr;
    bool onTop = false;
    bool modal = false;
    int width = 0;
    QString title;
    QString text;
};

// Shows the program's message over `owner` and reads the box once it is up,
// then answers it with OK.
Seen showAndRead(QWidget *owner, const QString &title, const QString &text)
{
    Seen seen;
    QTimer::singleShot(0, [&seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.shown = box->isVisible();
        seen.parent = box->parentWidget();
        seen.transientParent = box->windowHandle() ? box->windowHandle()->transientParent() : nullptr;
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        seen.modal = box->isModal();
        seen.width = box->width();
        seen.title = box->windowTitle();
        seen.text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    ShowProgramMessage(owner, title, text);
    return seen;
}

// A title bar in a bold face wants at least the title and room for a close
// box beside it.
int leastWidthFor(const QString &title)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title) + 100;
}

} // namespace

class TestProgramMessage : public QObject
{
    Q_OBJECT

private slots:
    void boxBelongsToItsWindowAboveTheHelpWindow_data()
    {
        QTest::addColumn<bool>("fromChild"); // the owner is a control inside the window
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");

        QTest::newRow("refusal") << false << "Quillmere Full" << "You must enter suffix.";
        QTest::newRow("from a control") << true << "Quillmere Full" << "You must enter prefix.";
        QTest::newRow("long title, short text")
            << false << "Quillmere Full - a title longer than any text in the box" << "OK?";
        QTest::newRow("long text") << false << "Quillmere Full"
                                   << QString(QStringLiteral("a.jpg: the folder no longer exists\n")).repeated(12);
    }

    void boxBelongsToItsWindowAboveTheHelpWindow()
    {
        QFETCH(bool, fromChild);
        QFETCH(QString, title);
        QFETCH(QString, text);

        QWidget window;
        auto *control = new QPushButton(QStringLiteral("x"), &window);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The help window stays above all others.
        QWidget help;
        help.resize(600, 500);
        SetAlwaysOnTop(&help, true);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));

        const Seen seen = showAndRead(fromChild ? static_cast<QWidget *>(control) : &window, title, text);
        QVERIFY(seen.shown);
        QCOMPARE(seen.parent, &window);
        QCOMPARE(seen.transientParent, window.windowHandle());
        QVERIFY(seen.onTop);
        QVERIFY(seen.modal);
        QCOMPARE(seen.title, title);
        QCOMPARE(seen.text, text);
        QVERIFY2(seen.width >= leastWidthFor(title), qPrintable(QString::number(seen.width)));
        QVERIFY(seen.width >= TitleBarWidth(title));
    }
};

QTEST_MAIN(TestProgramMessage)
#include "tst_programmessage.moc"
