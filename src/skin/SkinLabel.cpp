#include "skin/SkinLabel.h"

#include "core/ControlKinds.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

SkinLabel::SkinLabel(QWidget *parent)
    : SkinLabel(QString(), parent)
{
}

SkinLabel::SkinLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    ControlKinds::setKind(this, ControlKinds::SkinLabel);
}

void SkinLabel::setTextShadowColor(const QColor &color)
{
    if (m_shadow == color)
        return;
    m_shadow = color;
    update();
}

void SkinLabel::follow(QLabel *label)
{
    if (QObject *old = m_followed.data()) {
        old->removeEventFilter(this);
        disconnect(old, &QObject::destroyed, this, nullptr);
    }
    m_followed = label;
    if (label) {
        label->installEventFilter(this);
        connect(label, &QObject::destroyed, this, [this] {
            m_followed = nullptr;
            hide();
        });
    }
}

QLabel *SkinLabel::followedLabel() const
{
    return qobject_cast<QLabel *>(m_followed.data());
}

void SkinLabel::followedCaptionChanged()
{
    if (const QLabel *label = followedLabel(); label && text() != label->text())
        setText(label->text());
}

bool SkinLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_followed || watched != m_followed.data())
        return QLabel::eventFilter(watched, event);

    // A label on its way out is only a QWidget by now: nothing is read from
    // it, and its destruction hides the twin.
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label)
        return false;
    switch (event->type()) {
    case QEvent::EnabledChange:
        setEnabled(label->isEnabled());
        break;
    case QEvent::ShowToParent:
        show();
        raise();
        break;
    case QEvent::HideToParent:
        hide();
        break;
    case QEvent::Move:
    case QEvent::Resize:
        // The twin sits in the container of its template, which is usually
        // the label's own; only then do the two share coordinates.
        if (parentWidget() == label->parentWidget())
            setGeometry(label->geometry());
        break;
    case QEvent::FontChange:
        setFont(label->font());
        break;
    default:
        break;
    }
    return false;
}

void SkinLabel::paintEvent(QPaintEvent *event)
{
    if (m_shadow.isValid() && m_shadow.alpha() > 0 && !text().isEmpty() && textFormat() != Qt::RichText
        && isEnabled()) {
        // The shadow is the caption drawn one pixel lower in the shadow
        // colour; the ordinary label painting draws the caption over it.
        QPainter painter(this);
        QRect box = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        box.translate(0, 1);
        const int flags = QStyle::visualAlignment(layoutDirection(), alignment())
            | (wordWrap() ? int(Qt::TextWordWrap) : 0);
        painter.setPen(m_shadow);
        painter.drawText(box, flags, text());
    }
    QLabel::paintEvent(event);
}
