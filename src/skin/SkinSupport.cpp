#include "skin/SkinSupport.h"

#include "core/ControlKinds.h"

#include "skin/Skin.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

SkinSupport &SkinSupport::instance()
{
    // Parented to the application so it goes with it; created on first use.
    static QPointer<SkinSupport> support;
    if (!support) {
        support = new SkinSupport;
        support->setParent(QCoreApplication::instance());
    }
    return *support;
}

SkinSupport::SkinSupport() = default;

Skin *SkinSupport::skin() const
{
    return m_skin.data();
}

void SkinSupport::SetSkin(Skin *skin)
{
    m_skin = skin;
}

void SkinSupport::Begin()
{
    if (m_active || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installEventFilter(this);
    m_active = true;
}

void SkinSupport::Finish()
{
    ++m_finishCount;
    if (!m_active)
        return;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_active = false;
}

bool SkinSupport::eventFilter(QObject *watched, QEvent *event)
{
    // A dialog is skinned when it is polished, just before it is first shown,
    // so that its size already follows the skin's look.
    if (event->type() == QEvent::Polish && watched->isWidgetType()) {
        auto *dialog = qobject_cast<QDialog *>(watched);
        if (dialog && dialog->isWindow() && !dialog->property(ControlKinds::SkinAppliedProperty).toBool() && m_skin && m_skin->isLoaded())
            m_skin->applySkin(dialog);
    }
    return QObject::eventFilter(watched, event);
}
