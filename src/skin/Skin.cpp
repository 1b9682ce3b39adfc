#include "skin/Skin.h"

#include "core/ControlKinds.h"

#include "skin/SkinStyleSheet.h"

#include <QWidget>

// The skin's resources live in this static library; they must be registered
// explicitly, as nothing else pulls their initializer into the program.
static void registerSkinResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(skin);
        return true;
    }();
    Q_UNUSED(registered)
}

namespace {

using ControlKinds::OwnerSheetProperty;

std::optional<QRgb> rgbOf(bool loaded, const QColor &color)
{
    if (!loaded || !color.isValid())
        return std::nullopt;
    return color.rgb();
}

// Puts the skin's rules in front of whatever sheet the window's owner gave
// the widget, so the owner's own rules still win where both speak. Applying
// again replaces the skin's part only.
void setSkinSheet(QWidget *widget, const QString &skinSheet)
{
    QVariant owner = widget->property(OwnerSheetProperty);
    if (!owner.isValid()) {
        owner = widget->styleSheet();
        widget->setProperty(OwnerSheetProperty, owner);
    }
    QString ownerSheet = owner.toString().trimmed();
    if (!ownerSheet.isEmpty() && !ownerSheet.contains(QLatin1Char('{')))
        ownerSheet = QStringLiteral("* { ") + ownerSheet + QStringLiteral(" }");
    QString combined = skinSheet;
    if (!ownerSheet.isEmpty())
        combined = skinSheet.isEmpty() ? ownerSheet : skinSheet + QLatin1Char('\n') + ownerSheet;
    if (widget->styleSheet() != combined)
        widget->setStyleSheet(combined);
}

QColor colorProperty(const QWidget *widget, const char *name)
{
    const QVariant value = widget->property(name);
    return value.canConvert<QColor>() ? value.value<QColor>() : QColor();
}

} // namespace

QString Skin::builtInDescriptionPath()
{
    registerSkinResources();
    return QStringLiteral(":/skin/studio-blue/studio-blue.skin.json");
}

Skin::Skin(QObject *parent)
    : Skin(builtInDescriptionPath(), parent)
{
}

Skin::Skin(const QString &descriptionPath, QObject *parent)
    : QObject(parent)
{
    load(descriptionPath);
}

bool Skin::load(const QString &descriptionPath)
{
    QString error;
    std::optional<SkinDescription> description = LoadSkinDescription(descriptionPath, &error);
    if (!description) {
        m_loaded = false;
        m_error = error;
        m_description = SkinDescription();
        m_styleSheet.clear();
        m_palette = QPalette();
        return false;
    }
    m_description = std::move(*description);
    m_palette = SkinPalette(m_description);
    m_styleSheet = SkinWindowStyleSheet(m_description);
    m_error.clear();
    m_loaded = true;
    return true;
}

std::optional<QRgb> Skin::backColor() const
{
    return rgbOf(m_loaded, m_description.backColor);
}

std::optional<QRgb> Skin::foreColor() const
{
    return rgbOf(m_loaded, m_description.foreColor);
}

std::optional<QRgb> Skin::panelColor() const
{
    return rgbOf(m_loaded, m_description.panelColor);
}

std::optional<QRgb> Skin::panelTextColor() const
{
    return rgbOf(m_loaded, m_description.panelTextColor);
}

void Skin::applySkin(QWidget *window)
{
    if (!m_loaded || !window)
        return;
    window->setProperty(ControlKinds::SkinAppliedProperty, true);
    if (m_description.applyColors) {
        // Roles a control set for itself (ColorControls) stay: a widget's own
        // palette settings are not overridden by its parent's.
        window->setPalette(m_palette);
    }
    if (m_description.skinClientArea) {
        window->setProperty(ControlKinds::SkinWindowProperty, true);
        setSkinSheet(window, m_styleSheet);
        applyControlColors(window);
    }
}

void Skin::applyControlColors(QWidget *window)
{
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        const QString kind = ControlKinds::kindOf(widget);
        if (kind.isEmpty() || widget->window() != window)
            continue;
        QColor back = colorProperty(widget, ControlKinds::BackColorProperty);
        QColor fore = colorProperty(widget, ControlKinds::ForeColorProperty);
        if (!back.isValid() && !fore.isValid() && !widget->property(OwnerSheetProperty).isValid())
            continue;
        // Only colours that differ from what the window's sheet already
        // draws need rules of their own.
        const bool picture = kind == ControlKinds::PictureBox;
        if (back.isValid() && back.rgb() == (picture ? m_description.panelColor : m_description.backColor).rgb())
            back = QColor();
        if (fore.isValid() && fore.rgb() == m_description.foreColor.rgb())
            fore = QColor();
        setSkinSheet(widget, SkinControlStyleSheet(kind, back, fore));
    }
}
