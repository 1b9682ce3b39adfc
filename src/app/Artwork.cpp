#include "app/Artwork.h"

#include "core/ProductInfo.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QPixmap render(const QByteArray &svg, int width, int height, qreal devicePixelRatio)
{
    QSvgRenderer renderer(svg);
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(qRound(width * ratio), qRound(height * ratio));
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

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The record's texts end up inside XML; a company name with "&" or "<" must
// not break the picture.
QByteArray xmlText(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

QPixmap SplashPicture(const VersionRecord &record, int width, int height, qreal devicePixelRatio)
{
    QByteArray svg = readResource(QStringLiteral(":/quillmere/app/splash.svg"));
    svg.replace("{PRODUCT}", xmlText(record.productName));
    svg.replace("{VERSION}", xmlText(VersionText(record)));
    svg.replace("{COMPANY}", xmlText(record.companyName));
    return render(svg, width, height, devicePixelRatio);
}

QPixmap RenameNowPicture(int size, qreal devicePixelRatio)
{
    return render(readResource(QStringLiteral(":/quillmere/app/rename-now.svg")), size, size, devicePixelRatio);
}
