#include "app/WindowIcon.h"

#include "windows/WindowArtwork.h"

#include <QFile>
#include <QWidget>

QList<int> IconGroupSizes()
{
    return {16, 32, 48, 64, 128};
}

QIcon LoadIconGroup(const QString &name)
{
    // Group names are resource names, not paths: nothing outside the
    // program's own icon folder can be reached through them.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return {};
    const QString source = QStringLiteral(":/quillmere/icons/%1.svg").arg(name);
    if (!QFile::exists(source))
        return {};
    return IconFromOutline(source, IconGroupSizes());
}

void ApplyWindowIcon(QWidget *window, const QString &iconName, bool withOwner)
{
    if (!window)
        return;
    const QIcon icon = LoadIconGroup(iconName);
    if (withOwner) {
        QWidget *top = window->window();
        while (QWidget *owner = top->parentWidget())
            top = owner->window();
        top->setWindowIcon(icon);
    }
    window->window()->setWindowIcon(icon);
}
