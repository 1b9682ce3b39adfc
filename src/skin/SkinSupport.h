#pragma once

#include <QObject>
#include <QPointer>

class Skin;

// Skin support for windows the program does not skin itself: between Begin()
// and Finish(), every dialog the program shows (its message boxes, for one)
// is painted with the skin given to SetSkin() before it appears. One instance
// serves the whole run; it is created on first use, after the application
// object.
class SkinSupport : public QObject
{
    Q_OBJECT

public:
    static SkinSupport &instance();

    void SetSkin(Skin *skin);
    void Begin();
    void Finish();

    Skin *skin() const;
    bool isActive() const { return m_active; }
    // How often Finish() was called; a number to check the start-up order.
    int finishCount() const { return m_finishCount; }
    void resetFinishCountForTesting() { m_finishCount = 0; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SkinSupport();

    QPointer<Skin> m_skin;
    bool m_active = false;
    int m_finishCount = 0;
};
