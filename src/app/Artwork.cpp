#include "app/Artwork.h"

#include "core/ProductInfo.h"
#include "windows/WindowArtwork.h"

#include <QFile>

namespace {

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
    return PictureFromOutline(svg, QSize(width, height), devicePixelRatio);
}

QPixmap RenameNowPicture(int size, qreal devicePixelRatio)
{
    return PictureFromOutline(QStringLiteral(":/quillmere/app/rename-now.svg"), QSize(size, size), devicePixelRatio);
}
