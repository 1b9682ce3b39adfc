#include "windows/OnTop.h"

#include <QWidget>

void SetAlwaysOnTop(QWidget *window, bool onTop)
{
    if (!window)
        return;
    window = window->window();
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) {
        if (onTop && window->isVisible())
            window->raise();
        return;
    }
    const bool wasVisible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (wasVisible) {
        window->setGeometry(geometry);
        window->show();
    }
}
