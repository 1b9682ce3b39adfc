#include "skin/SkinDescription.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

namespace {

// Keys of element values that name images of the skin.
bool isImageKey(const QString &key)
{
    static const QSet<QString> keys = {
        QStringLiteral("normal"),         QStringLiteral("highlighted"),
        QStringLiteral("pressed"),        QStringLiteral("focused"),
        QStringLiteral("disabled"),       QStringLiteral("default"),
        QStringLiteral("selected"),       QStringLiteral("highlightedNormal"),
        QStringLiteral("highlightedSelected"), QStringLiteral("greyedNormal"),
        QStringLiteral("greyedSelected"), QStringLiteral("mixed"),
        QStringLiteral("active"),         QStringLiteral("dropDownArrow"),
    };
    return keys.contains(key);
}

std::optional<QColor> parseColor(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    const QString text = value.toString();
    if (!text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const QColor color = QColor::fromString(text);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

QString joinFolder(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

QColor SkinElement::color(const QString &key, const QColor &fallback) const
{
    return parseColor(values.value(key)).value_or(fallback);
}

QList<QColor> SkinElement::gradient(const QString &key) const
{
    const QJsonValue value = values.value(key);
    if (const auto single = parseColor(value))
        return {*single, *single};
    const QJsonArray stops = value.toArray();
    if (stops.size() != 2)
        return {};
    const auto top = parseColor(stops.at(0));
    const auto bottom = parseColor(stops.at(1));
    if (!top || !bottom)
        return {};
    return {*top, *bottom};
}

int SkinElement::number(const QString &key, int fallback) const
{
    const QJsonValue value = values.value(key);
    return value.isDouble() ? value.toInt(fallback) : fallback;
}

QString SkinElement::imagePath(const QString &key) const
{
    const QString name = values.value(key).toString();
    return name.isEmpty() ? QString() : joinFolder(imageFolder, name);
}

const SkinElement *SkinDescription::element(const QString &name) const
{
    for (const SkinElement &e : elements) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

std::optional<SkinDescription> ParseSkinDescription(const QByteArray &json, const QString &imageFolder,
                                                    QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        fail(error, QStringLiteral("not a JSON object: %1").arg(parseError.errorString()));
        return std::nullopt;
    }
    const QJsonObject root = document.object();

    SkinDescription skin;
    skin.imageFolder = imageFolder;
    skin.author = root.value(QLatin1String("author")).toString();
    skin.description = root.value(QLatin1String("description")).toString();
    skin.application = root.value(QLatin1String("application")).toString();

    const QJsonValue hue = root.value(QLatin1String("hue"));
    if (!hue.isDouble() || hue.toInt(-1) < 0 || hue.toInt(-1) > 359) {
        fail(error, QStringLiteral("hue must be a whole number from 0 to 359"));
        return std::nullopt;
    }
    skin.hue = hue.toInt();

    const struct {
        const char *key;
        QColor *target;
    } colors[] = {
        {"backColor", &skin.backColor},
        {"foreColor", &skin.foreColor},
        {"panelColor", &skin.panelColor},
        {"panelTextColor", &skin.panelTextColor},
    };
    for (const auto &c : colors) {
        const auto value = parseColor(root.value(QLatin1String(c.key)));
        if (!value) {
            fail(error, QStringLiteral("%1 must be a colour such as \"#1a2b3c\"").arg(QLatin1String(c.key)));
            return std::nullopt;
        }
        *c.target = *value;
    }

    const struct {
        const char *key;
        bool *target;
    } switches[] = {
        {"applyColors", &skin.applyColors},
        {"skinClientArea", &skin.skinClientArea},
    };
    for (const auto &s : switches) {
        const QJsonValue value = root.value(QLatin1String(s.key));
        if (!value.isBool()) {
            fail(error, QStringLiteral("%1 must be true or false").arg(QLatin1String(s.key)));
            return std::nullopt;
        }
        *s.target = value.toBool();
    }

    QSet<QString> imageNames;
    for (const QJsonValue &value : root.value(QLatin1String("images")).toArray()) {
        const QString name = value.toString();
        const QString path = joinFolder(imageFolder, name);
        QImageReader reader(path);
        if (name.isEmpty() || !reader.canRead()) {
            fail(error, QStringLiteral("image \"%1\" cannot be read").arg(name));
            return std::nullopt;
        }
        skin.images.append(name);
        imageNames.insert(name);
    }

    for (const QJsonValue &value : root.value(QLatin1String("elements")).toArray()) {
        const QJsonObject object = value.toObject();
        SkinElement element;
        element.name = object.value(QLatin1String("name")).toString();
        if (element.name.isEmpty()) {
            fail(error, QStringLiteral("an element has no name"));
            return std::nullopt;
        }
        element.values = object;
        element.imageFolder = imageFolder;
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            if (isImageKey(it.key()) && it.value().isString() && !imageNames.contains(it.value().toString())) {
                fail(error, QStringLiteral("element \"%1\" uses image \"%2\", which the skin does not ship")
                                .arg(element.name, it.value().toString()));
                return std::nullopt;
            }
        }
        skin.elements.append(element);
    }
    return skin;
}

std::optional<SkinDescription> LoadSkinDescription(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(error, QStringLiteral("cannot open %1").arg(path));
        return std::nullopt;
    }
    return ParseSkinDescription(file.readAll(), QFileInfo(path).path(), error);
}
