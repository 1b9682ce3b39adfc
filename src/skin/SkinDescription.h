#pragma once

#include <QColor>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One element of a skin ("Form", "Button", "Check Box", ...): its name and
// its values as the description gives them.
struct SkinElement
{
    QString name;
    QJsonObject values;
    QString imageFolder;

    // A colour value ("#rrggbb" or "#aarrggbb"), or `fallback` when missing
    // or not a colour.
    QColor color(const QString &key, const QColor &fallback = {}) const;
    // A two-stop gradient given as ["#top", "#bottom"]; a single colour
    // stands for both stops. Empty when missing or malformed.
    QList<QColor> gradient(const QString &key) const;
    int number(const QString &key, int fallback) const;
    // The resource path of an image value, or empty when missing.
    QString imagePath(const QString &key) const;
};

// A skin as the description file holds it: the top-level properties, the
// images the skin ships and its elements.
struct SkinDescription
{
    QString author;
    QString description;
    QString application;
    int hue = 0;
    QColor backColor;
    QColor foreColor;
    QColor panelColor;
    QColor panelTextColor;
    bool applyColors = true;
    bool skinClientArea = true;
    QStringList images; // file names, relative to imageFolder
    QString imageFolder;
    QList<SkinElement> elements;

    // The element with this name, or nullptr.
    const SkinElement *element(const QString &name) const;
};

// Reads a description. Fails, with the reason in `error`, when the text is
// not a JSON object, a required top-level property is missing or malformed,
// an image of the list cannot be read, or an element names an image the list
// does not hold. Image names are looked up in `imageFolder`.
std::optional<SkinDescription> ParseSkinDescription(const QByteArray &json, const QString &imageFolder,
                                                    QString *error = nullptr);

// Reads the description file at `path`; its images lie beside it.
std::optional<SkinDescription> LoadSkinDescription(const QString &path, QString *error = nullptr);
