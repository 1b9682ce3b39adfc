#pragma once

#include <QIcon>
#include <QWidget>

class QSvgRenderer;

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
    ~BannerPicture() override;

    // False when the outline could not be read; the control then shows only
    // its back colour.
    bool hasPicture() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer *m_renderer;
};
