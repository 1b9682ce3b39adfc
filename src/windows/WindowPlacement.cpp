#include "windows/WindowPlacement.h"

#include "core/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), window->size());
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

void BringForward(QWidget *window)
{
    if (!window)
        return;
    if (window->isMinimized())
        window->showNormal();
    else if (!window->isVisible())
        window->show();
    window->raise();
    window->activateWindow();
}

namespace {

const QString kGeometryKey = QStringLiteral("Geometry");

} // namespace

void RestoreWindowPlacement(QWidget *window, const QString &appName, const QString &section)
{
    const QByteArray stored =
        QByteArray::fromBase64(ReadSetting(appName, section, kGeometryKey, QString()).toLatin1());
    // restoreGeometry also brings a window back onto a screen that is
    // smaller now, or gone.
    if (stored.isEmpty() || !window->restoreGeometry(stored))
        CentreOnScreen(window);
}

void StoreWindowPlacement(const QWidget *window, const QString &appName, const QString &section)
{
    WriteSetting(appName, section, kGeometryKey, QString::fromLatin1(window->saveGeometry().toBase64()));
}
