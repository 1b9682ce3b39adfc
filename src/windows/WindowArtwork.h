#pragma once

#include <QIcon>
#include <QPixmap>
#include <QWidget>

class QSvgRenderer;

// An SVG outline (file or resource path, or the outline's text) drawn at
// `size` logical pixels for a screen of the given density. Transparent where
// the outline draws nothing, and wholly so when it cannot be read.
QPixmap PictureFromOutline(const QString &resource, const QSize &size, qreal devicePixelRatio = 1.0);
QPixmap PictureFromOutline(const QByteArray &outline, const QSize &size, qreal devicePixelRatio = 1.0);

// An icon drawn from an SVG outline at each of the given sizes; empty when
// the outline cannot be read.
QIcon IconFromOutline(const QString &resource, const QList<int> &sizes);

// The help and About windows' own icons, drawn from their outlines
// (resources/about) at 24 x 24 and at twice that for dense screens.
QIcon HelpWindowIcon();
QIcon AboutWindowIcon();

// The About window's banner: the outline drawn to fill the control at any
// size and pixel density.
class BannerPicture : public QWidget
{
public:
    explicit BannerPicture(QWidget *parent = nullptr);

    // False when the outline could not be read; the control then shows only
    // its back colour.
    bool hasPicture() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *m_renderer; // a child of the control
};
