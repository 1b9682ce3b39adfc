#include "skin/SkinStyleSheet.h"

#include "core/ControlKinds.h"

#include "skin/SkinDescription.h"

#include <QStringList>

namespace {

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QString gradientCss(const QList<QColor> &stops)
{
    if (stops.size() != 2)
        return QString();
    if (stops.at(0) == stops.at(1))
        return CssColor(stops.at(0));
    return QStringLiteral("qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2)")
        .arg(CssColor(stops.at(0)), CssColor(stops.at(1)));
}

QString urlCss(const QString &path)
{
    return QStringLiteral("url(%1)").arg(path);
}

// Element values with the skin's own fallbacks, so that a description may
// leave out any element or value.
class Look
{
public:
    explicit Look(const SkinDescription &skin)
        : m_skin(skin)
    {
    }

    const SkinElement &element(const char *name) const
    {
        const SkinElement *e = m_skin.element(QLatin1String(name));
        return e ? *e : m_empty;
    }

    QColor color(const char *name, const char *key, const QColor &fallback) const
    {
        return element(name).color(QLatin1String(key), fallback);
    }

    QList<QColor> gradient(const char *name, const char *key, const QList<QColor> &fallback) const
    {
        const QList<QColor> g = element(name).gradient(QLatin1String(key));
        return g.isEmpty() ? fallback : g;
    }

    int number(const char *name, const char *key, int fallback) const
    {
        return element(name).number(QLatin1String(key), fallback);
    }

    QString image(const char *name, const char *key) const
    {
        return element(name).imagePath(QLatin1String(key));
    }

    QColor accent() const { return QColor::fromHsv(m_skin.hue, 200, 208); }
    QColor back() const { return m_skin.backColor; }
    QColor fore() const { return m_skin.foreColor; }
    QColor panel() const { return m_skin.panelColor; }
    QColor disabledText() const { return mix(m_skin.foreColor, m_skin.backColor, 0.55); }
    QColor border() const { return mix(accent(), m_skin.foreColor, 0.3); }

    // Colours several elements share: the Edit element's border and
    // selection, and the Form element's text colour when greyed.
    QColor editBorder() const { return color("Edit", "border", border()); }
    QColor selection() const { return color("Edit", "selection", accent()); }
    QColor selectionText() const { return color("Edit", "selectionText", Qt::white); }
    QColor formDisabledText() const { return color("Form", "disabledTextColor", disabledText()); }

    QList<QColor> formBackground() const
    {
        return gradient("Form", "background", {mix(panel(), Qt::white, 0.5), panel()});
    }

private:
    const SkinDescription &m_skin;
    SkinElement m_empty;
};

void appendRule(QStringList &sheet, const QString &selector, const QStringList &declarations)
{
    QStringList lines;
    for (const QString &d : declarations) {
        if (!d.isEmpty())
            lines.append(QStringLiteral("    ") + d + QLatin1Char(';'));
    }
    if (!lines.isEmpty())
        sheet.append(selector + QStringLiteral(" {\n") + lines.join(QLatin1Char('\n')) + QStringLiteral("\n}"));
}

QString decl(const char *property, const QString &value)
{
    return value.isEmpty() ? QString() : QLatin1String(property) + QStringLiteral(": ") + value;
}

void indicatorRules(QStringList &sheet, const Look &look, const char *element, const QString &widget)
{
    const QString indicator = widget + QStringLiteral("::indicator");
    appendRule(sheet, indicator, {QStringLiteral("width: 13px"), QStringLiteral("height: 13px")});
    const struct {
        const char *state;
        const char *key;
    } states[] = {
        {":unchecked", "normal"},
        {":unchecked:hover", "highlightedNormal"},
        {":checked", "selected"},
        {":checked:hover", "highlightedSelected"},
        {":indeterminate", "mixed"},
        {":unchecked:disabled", "greyedNormal"},
        {":checked:disabled", "greyedSelected"},
        {":indeterminate:disabled", "greyedSelected"},
    };
    for (const auto &s : states) {
        const QString path = look.image(element, s.key);
        if (!path.isEmpty())
            appendRule(sheet, indicator + QLatin1String(s.state), {decl("image", urlCss(path))});
    }
}

void scrollBarRules(QStringList &sheet, const Look &look, bool vertical)
{
    const char *element = vertical ? "VScrollBar" : "HScrollBar";
    const QString bar = vertical ? QStringLiteral("QScrollBar:vertical") : QStringLiteral("QScrollBar:horizontal");
    const QString orient = vertical ? QStringLiteral(":vertical") : QStringLiteral(":horizontal");
    const int thickness = look.number(element, "thickness", 14);
    const int slice = look.number(element, "slice", 5);
    const QColor track = look.color(element, "track", mix(look.back(), look.accent(), 0.12));
    const QColor trackBorder = look.color(element, "border", mix(track, look.fore(), 0.15));

    appendRule(sheet, bar,
               {decl("background", CssColor(track)),
                vertical ? QStringLiteral("width: %1px").arg(thickness) : QStringLiteral("height: %1px").arg(thickness),
                QStringLiteral("margin: 0px"),
                vertical ? decl("border-left", QStringLiteral("1px solid ") + CssColor(trackBorder))
                         : decl("border-top", QStringLiteral("1px solid ") + CssColor(trackBorder))});

    const QString sliceText = vertical ? QStringLiteral("%1 2 %1 2").arg(slice) : QStringLiteral("2 %1 2 %1").arg(slice);
    const QString widthText = vertical ? QStringLiteral("%1px 2px %1px 2px").arg(slice)
                                       : QStringLiteral("2px %1px 2px %1px").arg(slice);
    const QString normal = look.image(element, "normal");
    const QString active = look.image(element, "active");
    const QString handle = QStringLiteral("QScrollBar::handle") + orient;
    const QString minLength = vertical ? QStringLiteral("min-height: 24px") : QStringLiteral("min-width: 24px");
    if (!normal.isEmpty()) {
        appendRule(sheet, handle,
                   {decl("border-image", urlCss(normal) + QLatin1Char(' ') + sliceText + QStringLiteral(" stretch stretch")),
                    decl("border-width", widthText), minLength});
    } else {
        appendRule(sheet, handle,
                   {decl("background", CssColor(mix(look.accent(), Qt::white, 0.35))),
                    QStringLiteral("border-radius: 4px"), QStringLiteral("margin: 2px"), minLength});
    }
    if (!active.isEmpty()) {
        appendRule(sheet, handle + QStringLiteral(":hover, ") + handle + QStringLiteral(":pressed"),
                   {decl("border-image", urlCss(active) + QLatin1Char(' ') + sliceText + QStringLiteral(" stretch stretch"))});
    }
    // The track alone moves the view; the small arrow buttons are left out.
    appendRule(sheet, QStringLiteral("QScrollBar::add-line%1, QScrollBar::sub-line%1").arg(orient),
               {QStringLiteral("border: none"), QStringLiteral("background: none"),
                vertical ? QStringLiteral("height: 0px") : QStringLiteral("width: 0px")});
    appendRule(sheet, QStringLiteral("QScrollBar::add-page%1, QScrollBar::sub-page%1").arg(orient),
               {QStringLiteral("background: none")});
}

// The rules of the window style sheet, one element of the skin each. The
// colours several elements share come from Look.

void windowRules(QStringList &sheet, const Look &look)
{
    // Window background: only the skinned window itself, not every widget.
    appendRule(sheet, QStringLiteral("*[%1=\"true\"]").arg(QLatin1String(ControlKinds::SkinWindowProperty)),
               {decl("background", gradientCss(look.formBackground())),
                decl("color", CssColor(look.color("Form", "textColor", look.fore())))});
}

void labelRules(QStringList &sheet, const Look &look)
{
    // A plain label under a skinned twin keeps its caption but lets the twin
    // draw it, so the text is not drawn twice.
    const QColor labelText = look.color("Label", "textColor", look.fore());
    const QColor labelDisabled = look.color("Label", "disabledTextColor", look.formDisabledText());
    appendRule(sheet, QStringLiteral("QLabel"), {decl("color", CssColor(labelText))});
    appendRule(sheet, QStringLiteral("QLabel:disabled"), {decl("color", CssColor(labelDisabled))});
    appendRule(sheet, QStringLiteral("SkinLabel"),
               {decl("color", CssColor(labelText)), QStringLiteral("background: transparent"),
                decl("qproperty-textShadowColor", CssColor(look.color("Label", "shadowColor", QColor(0, 0, 0, 0))))});
    appendRule(sheet, QStringLiteral("SkinLabel:disabled"), {decl("color", CssColor(labelDisabled))});
    appendRule(sheet, QStringLiteral("QLabel[%1=\"true\"]").arg(QLatin1String(ControlKinds::SkinTwinnedProperty)),
               {QStringLiteral("color: transparent")});
}

void frameRules(QStringList &sheet, const Look &look)
{
    const QColor frameBorder = look.color("Frame", "border", look.editBorder());
    const int frameRadius = look.number("Frame", "radius", 5);
    appendRule(sheet, QStringLiteral("QGroupBox"),
               {decl("background", CssColor(look.color("Frame", "background", QColor(255, 255, 255, 80)))),
                decl("border", QStringLiteral("1px solid ") + CssColor(frameBorder)),
                QStringLiteral("border-radius: %1px").arg(frameRadius), QStringLiteral("margin-top: 8px"),
                decl("color", CssColor(look.color("Frame", "captionColor", look.fore())))});
    appendRule(sheet, QStringLiteral("QGroupBox::title"),
               {QStringLiteral("subcontrol-origin: margin"), QStringLiteral("subcontrol-position: top left"),
                QStringLiteral("left: 10px"), QStringLiteral("padding: 0px 5px"),
                decl("background", gradientCss(look.gradient("Frame", "captionBackground", {})))});
}

void buttonRules(QStringList &sheet, const Look &look)
{
    const QColor accent = look.accent();
    const QColor back = look.back();
    const int radius = look.number("Button", "radius", 4);
    const QColor buttonBorder = look.color("Button", "border", look.editBorder());
    appendRule(sheet, QStringLiteral("QPushButton"),
               {decl("background", gradientCss(look.gradient("Button", "normal", {Qt::white, back}))),
                decl("color", CssColor(look.color("Button", "textColor", look.fore()))),
                decl("border", QStringLiteral("1px solid ") + CssColor(buttonBorder)),
                QStringLiteral("border-radius: %1px").arg(radius), QStringLiteral("padding: 3px 8px"),
                QStringLiteral("min-height: 16px")});
    appendRule(sheet, QStringLiteral("QPushButton:hover"),
               {decl("background", gradientCss(look.gradient("Button", "highlighted", {}))),
                decl("border-color", CssColor(look.color("Button", "highlightedBorder", accent)))});
    appendRule(sheet, QStringLiteral("QPushButton:focus, QPushButton:default"),
               {decl("border-color", CssColor(look.color("Button", "focusBorder", accent)))});
    appendRule(sheet, QStringLiteral("QPushButton:pressed, QPushButton:checked"),
               {decl("background", gradientCss(look.gradient("Button", "pressed", {}))),
                decl("border-color", CssColor(look.color("Button", "pressedBorder", buttonBorder.darker(125))))});
    appendRule(sheet, QStringLiteral("QPushButton:disabled"),
               {decl("background", gradientCss(look.gradient("Button", "disabled", {}))),
                decl("color", CssColor(look.color("Button", "disabledTextColor", look.formDisabledText()))),
                decl("border-color", CssColor(look.color("Button", "disabledBorder", mix(buttonBorder, back, 0.5))))});
}

void checkAndRadioRules(QStringList &sheet, const Look &look)
{
    for (const auto &[element, widget] :
         {std::pair{"Check Box", QStringLiteral("QCheckBox")}, std::pair{"Radio Button", QStringLiteral("QRadioButton")}}) {
        appendRule(sheet, widget,
                   {decl("color", CssColor(look.color(element, "textColor", look.fore()))), QStringLiteral("spacing: 6px"),
                    QStringLiteral("background: transparent")});
        appendRule(sheet, widget + QStringLiteral(":disabled"),
                   {decl("color", CssColor(look.color(element, "disabledTextColor", look.formDisabledText())))});
        indicatorRules(sheet, look, element, widget);
    }
}

// Text, combo and list controls.
void editorRules(QStringList &sheet, const Look &look)
{
    const QColor fore = look.fore();
    const QColor back = look.back();
    const QColor border = look.editBorder();
    const QColor selection = look.selection();
    const QColor disabledText = look.formDisabledText();
    const QColor disabledBack = look.color("Edit", "disabledBackground", mix(back, look.panel(), 0.6));
    const int editRadius = look.number("Edit", "radius", 2);
    const QString editors = QStringLiteral("QLineEdit, QComboBox, QAbstractItemView, QTextEdit, QPlainTextEdit, QAbstractSpinBox");
    appendRule(sheet, editors,
               {decl("background", CssColor(back)), decl("color", CssColor(fore)),
                decl("border", QStringLiteral("1px solid ") + CssColor(border)),
                QStringLiteral("border-radius: %1px").arg(editRadius),
                decl("selection-background-color", CssColor(selection)),
                decl("selection-color", CssColor(look.selectionText()))});
    appendRule(sheet, QStringLiteral("QLineEdit, QComboBox"), {QStringLiteral("padding: 1px 4px")});
    appendRule(sheet, QStringLiteral("QLineEdit:focus, QComboBox:focus, QAbstractItemView:focus, QTextEdit:focus, QAbstractSpinBox:focus"),
               {decl("border-color", CssColor(look.color("Edit", "focusBorder", look.accent())))});
    appendRule(sheet, QStringLiteral("QLineEdit:disabled, QComboBox:disabled, QAbstractItemView:disabled, QAbstractSpinBox:disabled"),
               {decl("background", CssColor(disabledBack)), decl("color", CssColor(disabledText))});
    appendRule(sheet, QStringLiteral("QComboBox::drop-down"),
               {QStringLiteral("subcontrol-origin: padding"), QStringLiteral("subcontrol-position: top right"),
                QStringLiteral("width: 16px"), decl("border-left", QStringLiteral("1px solid ") + CssColor(border)),
                decl("background", gradientCss(look.gradient("Edit", "dropDown", look.gradient("Button", "normal", {}))))});
    const QString arrow = look.image("Edit", "dropDownArrow");
    if (!arrow.isEmpty())
        appendRule(sheet, QStringLiteral("QComboBox::down-arrow"), {decl("image", urlCss(arrow))});
    appendRule(sheet, QStringLiteral("QComboBox QAbstractItemView"),
               {decl("border", QStringLiteral("1px solid ") + CssColor(border)), QStringLiteral("border-radius: 0px")});
    appendRule(sheet, QStringLiteral("QAbstractItemView::item:hover"),
               {decl("background", CssColor(mix(back, selection, 0.18))), decl("color", CssColor(fore))});
    appendRule(sheet, QStringLiteral("QAbstractItemView::item:selected"),
               {decl("background", CssColor(selection)), decl("color", CssColor(look.selectionText()))});
    appendRule(sheet, QStringLiteral("QHeaderView::section"),
               {decl("background", gradientCss(look.gradient("Button", "normal", {}))), decl("color", CssColor(fore)),
                decl("border", QStringLiteral("1px solid ") + CssColor(border)), QStringLiteral("padding: 2px 4px")});
}

QString kindSelector(QLatin1StringView kind)
{
    return QStringLiteral("*[%1=\"%2\"]").arg(QLatin1String(ControlKinds::KindProperty), kind);
}

void pictureBoxRules(QStringList &sheet, const Look &look)
{
    // Picture boxes take the skin's panel colour unless coloured otherwise.
    appendRule(sheet, kindSelector(ControlKinds::PictureBox), {decl("background-color", CssColor(look.panel()))});
}

void menuRules(QStringList &sheet, const Look &look)
{
    const QColor border = look.editBorder();
    appendRule(sheet, QStringLiteral("QMenuBar"),
               {decl("background", gradientCss(look.gradient("Menu", "bar", look.gradient("Button", "normal", {})))),
                decl("color", CssColor(look.color("Menu", "textColor", look.fore()))),
                decl("border-bottom", QStringLiteral("1px solid ") + CssColor(look.color("Menu", "border", border)))});
    appendRule(sheet, QStringLiteral("QMenuBar::item"), {QStringLiteral("padding: 3px 9px"), QStringLiteral("background: transparent")});
    appendRule(sheet, QStringLiteral("QMenuBar::item:selected, QMenuBar::item:pressed, QMenu::item:selected"),
               {decl("background", CssColor(look.color("Menu", "selection", look.selection()))),
                decl("color", CssColor(look.color("Menu", "selectionText", look.selectionText())))});
    appendRule(sheet, QStringLiteral("QMenu"),
               {decl("background", CssColor(look.color("Menu", "background", look.back()))),
                decl("color", CssColor(look.color("Menu", "textColor", look.fore()))),
                decl("border", QStringLiteral("1px solid ") + CssColor(look.color("Menu", "border", border)))});
    appendRule(sheet, QStringLiteral("QMenu::item"), {QStringLiteral("padding: 4px 24px 4px 20px")});
    appendRule(sheet, QStringLiteral("QMenu::item:disabled"), {decl("color", CssColor(look.formDisabledText()))});
}

void progressRules(QStringList &sheet, const Look &look)
{
    const QColor accent = look.accent();
    appendRule(sheet, QStringLiteral("QProgressBar"),
               {decl("background", CssColor(look.color("Progress", "background", look.back()))),
                decl("color", CssColor(look.color("Progress", "textColor", look.fore()))),
                decl("border", QStringLiteral("1px solid ") + CssColor(look.color("Progress", "border", look.editBorder()))),
                QStringLiteral("border-radius: 3px"), QStringLiteral("text-align: center")});
    appendRule(sheet, QStringLiteral("QProgressBar::chunk"),
               {decl("background", gradientCss(look.gradient("Progress", "chunk", {mix(accent, Qt::white, 0.4), accent}))),
                QStringLiteral("border-radius: 2px")});
}

void toolTipRules(QStringList &sheet, const Look &look)
{
    appendRule(sheet, QStringLiteral("QToolTip"),
               {decl("background", CssColor(look.back())), decl("color", CssColor(look.fore())),
                decl("border", QStringLiteral("1px solid ") + CssColor(look.editBorder()))});
}

} // namespace

QString CssColor(const QColor &color)
{
    if (color.alpha() == 255)
        return color.name(QColor::HexRgb);
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

QPalette SkinPalette(const SkinDescription &skin)
{
    const Look look(skin);
    const QList<QColor> form = look.formBackground();
    const QList<QColor> button = look.gradient("Button", "normal", {Qt::white, look.back()});
    const QColor selection = look.color("Edit", "selection", look.accent());
    const QColor selectionText = look.color("Edit", "selectionText", Qt::white);
    const QColor disabledText = look.color("Form", "disabledTextColor", look.disabledText());

    QPalette palette;
    palette.setColor(QPalette::Window, mix(form.at(0), form.at(1), 0.5));
    palette.setColor(QPalette::WindowText, look.color("Form", "textColor", look.fore()));
    palette.setColor(QPalette::Base, look.back());
    palette.setColor(QPalette::AlternateBase, mix(look.back(), look.accent(), 0.06));
    palette.setColor(QPalette::Text, look.fore());
    palette.setColor(QPalette::PlaceholderText, disabledText);
    palette.setColor(QPalette::Button, mix(button.at(0), button.at(1), 0.5));
    palette.setColor(QPalette::ButtonText, look.color("Button", "textColor", look.fore()));
    palette.setColor(QPalette::Highlight, selection);
    palette.setColor(QPalette::HighlightedText, selectionText);
    palette.setColor(QPalette::ToolTipBase, look.back());
    palette.setColor(QPalette::ToolTipText, look.fore());
    palette.setColor(QPalette::Link, look.accent());
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}

QString SkinWindowStyleSheet(const SkinDescription &skin)
{
    const Look look(skin);
    QStringList sheet;
    windowRules(sheet, look);
    labelRules(sheet, look);
    frameRules(sheet, look);
    buttonRules(sheet, look);
    checkAndRadioRules(sheet, look);
    editorRules(sheet, look);
    pictureBoxRules(sheet, look);
    scrollBarRules(sheet, look, true);
    scrollBarRules(sheet, look, false);
    menuRules(sheet, look);
    progressRules(sheet, look);
    toolTipRules(sheet, look);
    return sheet.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString SkinControlStyleSheet(const QString &controlKind, const QColor &back, const QColor &fore)
{
    // The rule selects the control by its kind, so it reaches the control
    // itself and none of its inner widgets.
    const QString self = QStringLiteral("*[%1=\"%2\"]").arg(QLatin1String(ControlKinds::KindProperty), controlKind);
    QStringList sheet;
    if (controlKind == ControlKinds::CommandButton && back.isValid()) {
        appendRule(sheet, self, {decl("background", CssColor(back))});
        appendRule(sheet, self + QStringLiteral(":hover"), {decl("background", CssColor(back.lighter(106)))});
        appendRule(sheet, self + QStringLiteral(":pressed"), {decl("background", CssColor(back.darker(112)))});
    } else if (controlKind == ControlKinds::PictureBox && back.isValid()) {
        appendRule(sheet, self, {decl("background-color", CssColor(back))});
    } else if (back.isValid() || fore.isValid()) {
        appendRule(sheet, self,
                   {back.isValid() ? decl("background", CssColor(back)) : QString(),
                    fore.isValid() ? decl("color", CssColor(fore)) : QString()});
    }
    return sheet.join(QLatin1Char('\n'));
}
