#pragma once

// Only for tests that link the widgets.

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

// Picks an item the way a user does: from the open list, with Return.
inline void PickItem(QComboBox *combo, int index)
{
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
}
