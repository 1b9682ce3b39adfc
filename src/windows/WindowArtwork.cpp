#include "windows/WindowArtwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon IconFromOutline(const QString &resource, const QList<int> &sizes)
{
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        return {};
    QIcon icon;
    for (const int size : sizes) {
        // Each size is drawn from the outline, so small icons stay sharp
        // instead of being shrunk from a large bitmap.
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
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
    : QWidget(parent), m_renderer(new QSvgRenderer(QStringLiteral(":/quillmere/windows/banner.svg")))
{
    m_renderer->setAspectRatioMode(Qt::IgnoreAspectRatio);
}

BannerPicture::~BannerPicture()
{
    delete m_renderer;
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
