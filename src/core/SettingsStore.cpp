#include "core/SettingsStore.h"

#include "core/ProductInfo.h"
#include "core/SettingKeys.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString &testFolder()
{
    static QString folder;
    return folder;
}

// A name that is safe as a single file-name component, whatever the
// version record says the product is called.
QString storeName(const QString &appName)
{
    QString name = appName;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = QStringLiteral("_");
    return name;
}

bool usableAddress(const QString &section, const QString &key)
{
    // QSettings reads "/" as a group separator; such an address would land
    // somewhere else than asked for.
    return !key.isEmpty() && !key.contains(QLatin1Char('/')) && !key.contains(QLatin1Char('\\'))
        && !section.contains(QLatin1Char('/')) && !section.contains(QLatin1Char('\\'));
}

QString valueText(const QVariant &value)
{
    // A hand-edited file may hold an unquoted list; keep it as the text it was.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

} // namespace

QString SettingsFilePath(const QString &appName)
{
    QString root = testFolder();
    if (root.isEmpty())
        root = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString name = storeName(appName);
    return root + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1String(".conf");
}

void SetSettingsFolderForTesting(const QString &folder)
{
    testFolder() = folder;
}

QString ReadSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue)
{
    if (!usableAddress(section, key))
        return defaultValue;
    QSettings settings(SettingsFilePath(appName), QSettings::IniFormat);
    settings.beginGroup(section);
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return defaultValue;
    return valueText(value);
}

bool WriteSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value)
{
    if (!usableAddress(section, key))
        return false;
    const QString path = SettingsFilePath(appName);
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError || !settings.isWritable())
        return false;
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString ReadOption(const QString &key, const QString &defaultValue)
{
    return ReadSetting(ReadVersionRecord().productName, SettingKeys::Section, key, defaultValue);
}

QString ReadOption(const QString &key)
{
    for (const SettingKeys::Entry &entry : SettingKeys::All) {
        if (entry.key == key)
            return ReadOption(key, entry.defaultValue);
    }
    return ReadOption(key, QString());
}

bool WriteOption(const QString &key, const QString &value)
{
    return WriteSetting(ReadVersionRecord().productName, SettingKeys::Section, key, value);
}
