#pragma once

#include <QPixmap>
#include <QString>

struct VersionRecord;

// Pictures drawn from the program's own outlines (resources/app).

// The start-up picture, width x height logical pixels, with the product
// name, version and company of the record written into it.
QPixmap SplashPicture(const VersionRecord &record, int width, int height, qreal devicePixelRatio);

// The picture of the "Rename Now" button, size x size logical pixels.
QPixmap RenameNowPicture(int size, qreal devicePixelRatio);
