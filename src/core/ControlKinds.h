#pragma once

#include <QLatin1StringView>
#include <QObject>
#include <QString>
#include <QVariant>

// The kind of each control as the skin tells controls apart, and the names
// of the dynamic properties the windows and the skin share. Spelled once
// here, like the setting keys, so a typo is a compile error and not a
// control the skin silently passes over.
namespace ControlKinds {

// The property that carries a control's kind.
inline constexpr char KindProperty[] = "controlKind";

inline constexpr QLatin1StringView CommandButton{"CommandButton"};
inline constexpr QLatin1StringView Frame{"Frame"};
inline constexpr QLatin1StringView Label{"Label"};
inline constexpr QLatin1StringView SkinLabel{"SkinLabel"};
inline constexpr QLatin1StringView TextBox{"TextBox"};
inline constexpr QLatin1StringView ComboBox{"ComboBox"};
inline constexpr QLatin1StringView CheckBox{"CheckBox"};
inline constexpr QLatin1StringView DriveListBox{"DriveListBox"};
inline constexpr QLatin1StringView DirListBox{"DirListBox"};
inline constexpr QLatin1StringView FileListBox{"FileListBox"};
inline constexpr QLatin1StringView ListBox{"ListBox"};
inline constexpr QLatin1StringView ListView{"ListView"};
inline constexpr QLatin1StringView ProgressBar{"ProgressBar"};
inline constexpr QLatin1StringView PictureBox{"PictureBox"};
inline constexpr QLatin1StringView Image{"Image"};
inline constexpr QLatin1StringView Timer{"Timer"};
inline constexpr QLatin1StringView RichTextBox{"RichTextBox"};

// Colours a control was given apart from the skin's (QColor values).
inline constexpr char BackColorProperty[] = "BackColor";
inline constexpr char ForeColorProperty[] = "ForeColor";
// Set on a window the skin has painted; a dialog so marked is not painted again.
inline constexpr char SkinAppliedProperty[] = "skinApplied";
// Set on the window whose client area the skin draws.
inline constexpr char SkinWindowProperty[] = "skinWindow";
// Set on a plain label whose caption a skinned twin draws.
inline constexpr char SkinTwinnedProperty[] = "skinTwinned";
// The style sheet a control had before the skin added its own rules.
inline constexpr char OwnerSheetProperty[] = "skinOwnerStyleSheet";
// The position of an element in a control array or a menu item list.
inline constexpr char IndexProperty[] = "index";

inline void setKind(QObject *control, QLatin1StringView kind)
{
    control->setProperty(KindProperty, QString(kind));
}

// Empty for an object that is no control of a window.
inline QString kindOf(const QObject *control)
{
    return control->property(KindProperty).toString();
}

inline bool hasKind(const QObject *control)
{
    return control->property(KindProperty).isValid();
}

} // namespace ControlKinds
