#include "skin/SkinEngine.h"

#include "core/ControlKinds.h"

#include "skin/Skin.h"
#include "skin/SkinLabel.h"
#include "skin/SkinLabelArray.h"
#include "skin/SkinSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QOperatingSystemVersion>
#include <QWidget>

namespace {

std::optional<bool> &injectedNt6Answer()
{
    static std::optional<bool> answer;
    return answer;
}

// The window's controls in collection order: every tagged widget of the
// window, depth first in creation order, leaving out widgets of other
// windows parented to it.
QList<QWidget *> controlsOf(QWidget *window)
{
    QList<QWidget *> controls;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->window() == window && ControlKinds::hasKind(widget))
            controls.append(widget);
    }
    return controls;
}

// Colours are 32-bit values whose low three bytes are red, green and blue;
// the top byte is ignored, so every colour is opaque.
QColor opaque(QRgb value)
{
    return QColor(qRed(value), qGreen(value), qBlue(value));
}

bool isListKind(const QString &kind)
{
    using namespace ControlKinds;
    for (QLatin1StringView listKind : {TextBox, ComboBox, FileListBox, DirListBox, DriveListBox, ListBox, ListView}) {
        if (kind == listKind)
            return true;
    }
    return false;
}

void setBackColor(QWidget *control, const QString &kind, const QColor &color)
{
    control->setProperty(ControlKinds::BackColorProperty, color);
    QPalette palette = control->palette();
    if (kind == ControlKinds::CommandButton) {
        palette.setColor(QPalette::Button, color);
    } else if (kind == ControlKinds::PictureBox) {
        palette.setColor(QPalette::Window, color);
        control->setAutoFillBackground(true);
    } else {
        palette.setColor(QPalette::Base, color);
        // A combo box that cannot be edited draws its face as a button.
        if (qobject_cast<QComboBox *>(control))
            palette.setColor(QPalette::Button, color);
    }
    control->setPalette(palette);
}

void setForeColor(QWidget *control, const QColor &color)
{
    control->setProperty(ControlKinds::ForeColorProperty, color);
    QPalette palette = control->palette();
    palette.setColor(QPalette::Text, color);
    if (qobject_cast<QComboBox *>(control))
        palette.setColor(QPalette::ButtonText, color);
    control->setPalette(palette);
}

SkinLabelArray *chooseArray(const QLabel *label, const QList<SkinLabelArray *> &arrays, TwinArrayChoice choice)
{
    if (choice == TwinArrayChoice::AlwaysFirst)
        return arrays.value(0);
    for (SkinLabelArray *array : arrays) {
        if (array && array->container() && array->container() == label->parentWidget())
            return array;
    }
    return nullptr;
}

void copyToTwin(const QLabel *label, SkinLabel *twin)
{
    twin->move(twin->x(), label->y());                      // Top
    twin->move(label->x(), twin->y());                      // Left
    twin->resize(twin->width(), label->height());           // Height
    twin->resize(label->width(), twin->height());           // Width
    twin->setFont(label->font());                           // Font
    twin->setText(label->text());                           // Caption
    twin->setVisible(!label->isHidden());                   // Visible
    // So that the twin shows its caption exactly where the label does.
    twin->setAlignment(label->alignment());
    twin->setWordWrap(label->wordWrap());
    twin->setTextFormat(label->textFormat());
    twin->setMargin(label->margin());
    twin->setIndent(label->indent());
    twin->setEnabled(label->isEnabled());
    // A caption with a mnemonic shows it underlined, not as "&".
    twin->setBuddy(label->buddy());
}

} // namespace

void SkinWindow(QWidget *window, const WindowSkin &skin, const QList<SkinLabelArray *> &twinArrays,
                TwinArrayChoice choice)
{
    if (!window || !skin.enabled)
        return;
    if (!twinArrays.isEmpty())
        MakeLabelTwins(window, skin.skin, twinArrays, choice);
    ApplySkinToWindow(window, skin);
}

void ApplySkinToWindow(QWidget *window, const WindowSkin &windowSkin)
{
    if (!window)
        return;
    Skin *skin = windowSkin.skin.data();

    // The four colours are one unit: if any cannot be read, nothing is
    // coloured, and the region and engine steps still run.
    if (skin) {
        const std::optional<QRgb> back = skin->backColor();
        const std::optional<QRgb> text = skin->foreColor();
        const std::optional<QRgb> pictureBack = skin->panelColor();
        const std::optional<QRgb> fourth = skin->panelTextColor();
        if (back && text && pictureBack && fourth)
            ColorControls(window, *back, *text, *pictureBack, *fourth);
    }

    // Before the engine step, so that an outline the engine gives the window
    // replaces the rectangular one.
    if (IsNt6OrLater() && windowSkin.enabled)
        SetRectangularRegion(window);

    if (skin)
        skin->applySkin(window);
}

void ColorControls(QWidget *window, QRgb back, QRgb text, QRgb pictureBack, QRgb fourth)
{
    Q_UNUSED(fourth)
    if (!window)
        return;
    const QColor backColor = opaque(back);
    const QColor textColor = opaque(text);
    const QColor pictureColor = opaque(pictureBack);
    for (QWidget *control : controlsOf(window)) {
        const QString kind = ControlKinds::kindOf(control);
        if (kind == ControlKinds::CommandButton) {
            setBackColor(control, kind, backColor);
        } else if (isListKind(kind)) {
            setBackColor(control, kind, backColor);
            setForeColor(control, textColor);
        } else if (kind == ControlKinds::PictureBox) {
            setBackColor(control, kind, pictureColor);
        }
    }
}

bool IsNt6OrLater()
{
    if (injectedNt6Answer())
        return *injectedNt6Answer();
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    return os.type() == QOperatingSystemVersion::Windows && os.majorVersion() >= 6;
}

void SetNt6OrLaterForTesting(std::optional<bool> answer)
{
    injectedNt6Answer() = answer;
}

void SetRectangularRegion(QWidget *window)
{
    if (window)
        window->clearMask();
}

void FinishSkinSupportOnNt6()
{
    if (IsNt6OrLater())
        SkinSupport::instance().Finish();
}

void MakeLabelTwins(QWidget *window, const Skin *skin, const QList<SkinLabelArray *> &arrays, TwinArrayChoice choice)
{
    // Twins only make sense with a skin to draw them; without one the
    // windows keep their labels as designed.
    if (!window || !skin || !skin->isLoaded())
        return;

    QList<QLabel *> labels;
    for (QWidget *control : controlsOf(window)) {
        if (ControlKinds::kindOf(control) == ControlKinds::Label) {
            if (auto *label = qobject_cast<QLabel *>(control))
                labels.append(label);
        }
    }

    for (QLabel *label : labels) {
        SkinLabelArray *array = chooseArray(label, arrays, choice);
        if (!array || array->upperBound() >= std::numeric_limits<qint16>::max())
            continue;
        SkinLabel *twin = array->load(qint16(array->upperBound() + 1));
        if (!twin)
            continue;
        copyToTwin(label, twin);
        twin->raise();
        twin->follow(label);
        label->setProperty(ControlKinds::SkinTwinnedProperty, true);
    }
}

void LabelCaptionChanged(QLabel *label)
{
    if (!label)
        return;
    const QList<SkinLabel *> skinLabels = label->window()->findChildren<SkinLabel *>();
    for (SkinLabel *twin : skinLabels) {
        if (twin->followedLabel() == label)
            twin->followedCaptionChanged();
    }
}
