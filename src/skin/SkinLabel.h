#pragma once

#include <QColor>
#include <QLabel>
#include <QPointer>

// The skinned label control. It draws its caption in the skin's label look
// (colour from the skin's style sheet, an optional soft text shadow) and, as
// a windowed control, lies above plain labels of the same container.
//
// A label twin made from a plain label follows that label afterwards: its
// geometry, font, enabled state and visibility through an event filter on the
// label, its caption through followedCaptionChanged() (QLabel sends no event
// when its text changes).
class SkinLabel : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QColor textShadowColor READ textShadowColor WRITE setTextShadowColor)

public:
    explicit SkinLabel(QWidget *parent = nullptr);
    explicit SkinLabel(const QString &caption, QWidget *parent = nullptr);

    QColor textShadowColor() const { return m_shadow; }
    void setTextShadowColor(const QColor &color);

    // Starts following `label`; nullptr stops following. A twin whose label
    // is destroyed hides and follows nothing.
    void follow(QLabel *label);
    QLabel *followedLabel() const;

    // Takes the followed label's current caption.
    void followedCaptionChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Held as a QObject: while the label is being destroyed it is no QLabel
    // any more, yet still sends events through the filter.
    QPointer<QObject> m_followed;
    QColor m_shadow;
};
