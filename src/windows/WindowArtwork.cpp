#include "windows/WindowArtwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

QPixmap draw(QSvgRenderer &renderer, const QSize &size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(qRound(size.width() * ratio), qRound(size.height() * ratio));
    pixmap.fill(Qt::transparent);
    if (renderer.isValid()) {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        renderer.render(&painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QPixmap PictureFromOutline(const QString &resource, const QSize &size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(resource);
    return draw(renderer, size, devicePixelRatio);
}

QPixmap PictureFromOutline(const QByteArray &outline, const QSize &size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(outline);
    return draw(renderer, size, devicePixelRatio);
}

QIcon IconFromOutline(const QString &resource, const QList<int> &sizes)
{
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    QIcon icon;
    // Each size is drawn from the outline, so small icons stay sharp instead
    // of being shrunk from a large bitmap.
    for (const int size : sizes)
        icon.addPixmap(draw(renderer, {size, size}, 1.0));
    return icon;
}

QIcon HelpWindowIcon()
{
    return IconFromOutline(QStringLiteral(":/quillmere/windows/help-window.svg"), {24, 48});
}

QIcon AboutWindowIcon()
{
    return IconFromOutline(QStringLiteral(":/quillmere/windows/about-window.svg"), {24, 48});
}

BannerPicture::BannerPicture(QWidget *parent)
    : QWidget(parent), m_renderer(new QSvgRenderer(QStringLiteral(":/quillmere/windows/banner.svg"), this))
{
    m_renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
}

bool BannerPicture::hasPicture() const
{
    return m_renderer->isValid();
}

void BannerPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The back colour shows where the picture does not reach.
    painter.fillRect(rect(), palette().color(backgroundRole()));
    if (m_renderer->isValid()) {
        painter.setRenderHint(QPainter::Antialiasing);
        m_renderer->render(&painter, QRectF(rect()));
    }
}
