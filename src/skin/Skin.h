#pragma once

#include "skin/SkinDescription.h"

#include <QObject>
#include <QPalette>
#include <QRgb>

#include <optional>

class QWidget;

// The skin control: a non-visual object that carries a skin description and
// paints windows with it. The program has one, `skn` on the splash window.
//
// When its description cannot be loaded the control is present but not
// loaded: its colours cannot be read and applySkin() leaves windows as they
// are. Nothing is reported; the reason is kept for diagnostics.
class Skin : public QObject
{
    Q_OBJECT

public:
    // The description the program ships: "Studio Blue".
    static QString builtInDescriptionPath();

    // Loads the built-in description.
    explicit Skin(QObject *parent = nullptr);
    Skin(const QString &descriptionPath, QObject *parent);

    bool load(const QString &descriptionPath);
    bool isLoaded() const { return m_loaded; }
    QString loadError() const { return m_error; }
    const SkinDescription &description() const { return m_description; }

    // The four colours the program reads before skinning a window, as
    // 0xffRRGGBB: back colour of buttons, text and list controls; text colour
    // of text and list controls; back colour of picture boxes; and the panel
    // text colour, which the program reads and does not use. Empty while no
    // description is loaded.
    std::optional<QRgb> backColor() const;
    std::optional<QRgb> foreColor() const;
    std::optional<QRgb> panelColor() const;
    std::optional<QRgb> panelTextColor() const;

    // The object handed to the skin support.
    Skin *object() { return this; }

    // Paints the window and its controls with the skin from now on: the
    // skin's palette when its colours apply, its style sheet when it skins the
    // client area. Controls coloured differently from the skin (see
    // ColorControls) keep their colours. Does nothing while not loaded.
    void applySkin(QWidget *window);

    QPalette palette() const { return m_palette; }
    QString styleSheet() const { return m_styleSheet; }

private:
    void applyControlColors(QWidget *window);

    SkinDescription m_description;
    QPalette m_palette;
    QString m_styleSheet;
    QString m_error;
    bool m_loaded = false;
};
