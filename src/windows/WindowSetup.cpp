#include "windows/WindowSetup.h"

void SetUpAuxiliaryWindow(QWidget *window, const char *name, const QIcon &icon, const QSize &size)
{
    window->setObjectName(QLatin1String(name));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(icon);
    window->setFixedSize(size);
}
