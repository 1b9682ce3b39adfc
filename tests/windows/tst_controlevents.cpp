#include "windows/ControlEvents.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>

// Each row drives a control one way and states which events must have run.
class TestControlEvents : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkBoxClick_data();
    void checkBoxClick();
    void textBoxChange_data();
    void textBoxChange();
    void comboEvents_data();
    void comboEvents();
    void typedItemTextSelectsNothingOnLeaving();
    void keyUpOncePerRelease();
    void checkValues_data();
    void checkValues();
};

void TestControlEvents::checkBoxClick_data()
{
    QTest::addColumn<int>("initial");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("value");

    QTest::newRow("user click ticks") << 0 << "user" << 1 << 1;
    QTest::newRow("user click clears") << 1 << "user" << 1 << 0;
    QTest::newRow("code ticks") << 0 << "set1" << 1 << 1;
    QTest::newRow("code sets the same value") << 1 << "set1" << 0 << 1;
    QTest::newRow("code greys") << 0 << "set2" << 1 << 2;
    QTest::newRow("user clicks a greyed box") << 2 << "user" << 1 << 1;
    QTest::newRow("refused value") << 1 << "set5" << 0 << 1;
}

void TestControlEvents::checkBoxClick()
{
    QFETCH(int, initial);
    QFETCH(QString, action);
    QFETCH(int, clicks);
    QFETCH(int, value);

    QCheckBox box(QStringLiteral("box"));
    box.resize(120, 24);
    QVERIFY(ControlEvents::setCheckValue(&box, initial));
    int count = 0;
    ControlEvents::onClick(&box, [&] { ++count; });

    if (action == QLatin1String("user"))
        QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    else
        ControlEvents::setCheckValue(&box, action.mid(3).toInt());

    QCOMPARE(count, clicks);
    QCOMPARE(ControlEvents::checkValue(&box), value);

    // Whatever came before, a user's clicks only tick and clear.
    const int before = ControlEvents::checkValue(&box);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
    QCOMPARE(count, clicks + 2);
    QCOMPARE(ControlEvents::checkValue(&box), before == 1 ? 1 : 0);
}

void TestControlEvents::textBoxChange_data()
{
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("setText");
    QTest::addColumn<int>("changes");

    QTest::newRow("typing runs once per key") << "" << "abc" << QString() << 3;
    QTest::newRow("code sets new text") << "a" << QString() << "b" << 1;
    QTest::newRow("code sets the same text") << "a" << QString() << "a" << 0;
}

void TestControlEvents::textBoxChange()
{
    QFETCH(QString, initial);
    QFETCH(QString, typed);
    QFETCH(QString, setText);
    QFETCH(int, changes);

    QLineEdit edit(initial);
    int count = 0;
    ControlEvents::onChange(&edit, [&] { ++count; });
    if (!typed.isEmpty())
        QTest::keyClicks(&edit, typed);
    if (!setText.isNull())
        edit.setText(setText);
    QCOMPARE(count, changes);
}

void TestControlEvents::comboEvents_data()
{
    QTest::addColumn<int>("initialIndex");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");

    // Items: jpg, gif, txt. Before each row the box shows "Choose" unless an
    // index is given.
    QTest::newRow("user picks with the keyboard") << -1 << "keyDown" << "" << 0 << 1 << 0 << "jpg";
    QTest::newRow("user picks from the list") << -1 << "popup" << "txt" << 0 << 1 << 2 << "txt";
    QTest::newRow("code selects an item") << -1 << "index" << "1" << 0 << 1 << 1 << "gif";
    QTest::newRow("code selects the selected item") << 1 << "index" << "1" << 0 << 0 << 1 << "gif";
    QTest::newRow("typing into an empty box") << -1 << "type" << "png" << 3 << 0 << -1 << "Choosepng";
    QTest::newRow("typing after a pick clears the pick") << 0 << "type" << "x" << 1 << 0 << -1 << "jpgx";
    QTest::newRow("typing an item's text picks nothing") << -1 << "replace" << "gif" << 4 << 0 << -1 << "gif";
    QTest::newRow("no completion while typing") << -1 << "replace" << "j" << 2 << 0 << -1 << "j";
    QTest::newRow("code sets text") << -1 << "text" << "bmp" << 1 << 0 << -1 << "bmp";
    QTest::newRow("code sets text over a pick") << 2 << "text" << "bmp" << 1 << 0 << -1 << "bmp";
    QTest::newRow("Enter adds no item") << -1 << "typeEnter" << "png" << 3 << 0 << -1 << "Choosepng";
}

void TestControlEvents::comboEvents()
{
    QFETCH(int, initialIndex);
    QFETCH(QString, action);
    QFETCH(QString, argument);
    QFETCH(int, changes);
    QFETCH(int, clicks);
    QFETCH(int, index);
    QFETCH(QString, text);

    QComboBox combo;
    combo.setEditable(true);
    combo.addItems({QStringLiteral("jpg"), QStringLiteral("gif"), QStringLiteral("txt")});
    combo.setCurrentIndex(-1);
    combo.setEditText(QStringLiteral("Choose"));
    int changeCount = 0;
    int clickCount = 0;
    ControlEvents::onChange(&combo, [&] { ++changeCount; });
    ControlEvents::onItemClick(&combo, [&] { ++clickCount; });
    if (initialIndex >= 0) {
        combo.setCurrentIndex(initialIndex);
        changeCount = clickCount = 0;
    }
    combo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&combo));

    QLineEdit *edit = combo.lineEdit();
    if (action == QLatin1String("keyDown")) {
        QTest::keyClick(&combo, Qt::Key_Down);
    } else if (action == QLatin1String("popup")) {
        combo.showPopup();
        QAbstractItemView *view = combo.view();
        QTRY_VERIFY(view->isVisible());
        const QModelIndex item = view->model()->index(combo.findText(argument), 0);
        view->setCurrentIndex(item);
        QTest::keyClick(view, Qt::Key_Return);
        QTRY_VERIFY(!view->isVisible());
    } else if (action == QLatin1String("index")) {
        combo.setCurrentIndex(argument.toInt());
    } else if (action == QLatin1String("type") || action == QLatin1String("typeEnter")) {
        edit->setFocus();
        edit->end(false);
        QTest::keyClicks(edit, argument);
        if (action == QLatin1String("typeEnter"))
            QTest::keyClick(edit, Qt::Key_Return);
    } else if (action == QLatin1String("replace")) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, argument);
    } else if (action == QLatin1String("text")) {
        combo.setEditText(argument);
    }

    QCOMPARE(changeCount, changes);
    QCOMPARE(clickCount, clicks);
    QCOMPARE(combo.currentIndex(), index);
    QCOMPARE(combo.currentText(), text);
    QCOMPARE(combo.count(), 3);
}

void TestControlEvents::typedItemTextSelectsNothingOnLeaving()
{
    QWidget window;
    auto *combo = new QComboBox(&window);
    combo->setEditable(true);
    combo->addItems({QStringLiteral("jpg"), QStringLiteral("gif")});
    combo->setCurrentIndex(-1);
    auto *other = new QLineEdit(&window);
    other->move(0, 40);
    int clicks = 0;
    ControlEvents::onItemClick(combo, [&] { ++clicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    combo->lineEdit()->setFocus();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("gif"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
    QTRY_VERIFY(other->hasFocus() || !combo->lineEdit()->hasFocus());

    QCOMPARE(clicks, 0);
    QCOMPARE(combo->currentIndex(), -1);
    QCOMPARE(combo->currentText(), QStringLiteral("gif"));
}

void TestControlEvents::keyUpOncePerRelease()
{
    QLineEdit edit;
    QStringList seen;
    ControlEvents::onKeyUp(&edit, [&](int key, Qt::KeyboardModifiers) {
        seen << QString::number(key) + QLatin1Char(':') + edit.text();
    });

    QTest::keyPress(&edit, Qt::Key_4);
    QVERIFY(seen.isEmpty()); // not on the press
    QTest::keyRelease(&edit, Qt::Key_4);
    QTest::keyClick(&edit, Qt::Key_2);
    // A held key repeats its press and release; the repeats do not count.
    QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_2, Qt::NoModifier, QStringLiteral("2"), true);
    QCoreApplication::sendEvent(&edit, &repeat);

    QCOMPARE(seen, QStringList({QString::number(Qt::Key_4) + QStringLiteral(":4"),
                                QString::number(Qt::Key_2) + QStringLiteral(":42")}));
}

void TestControlEvents::checkValues_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("readBack");

    QTest::newRow("0") << 0 << true << 0;
    QTest::newRow("1") << 1 << true << 1;
    QTest::newRow("2") << 2 << true << 2;
    QTest::newRow("3") << 3 << false << 1;
    QTest::newRow("-1") << -1 << false << 1;
}

void TestControlEvents::checkValues()
{
    QFETCH(int, value);
    QFETCH(bool, accepted);
    QFETCH(int, readBack);

    QCheckBox box;
    box.setChecked(true);
    QCOMPARE(ControlEvents::setCheckValue(&box, value), accepted);
    QCOMPARE(ControlEvents::checkValue(&box), readBack);
}

QTEST_MAIN(TestControlEvents)
#include "tst_controlevents.moc"
