#include "core/SettingsStore.h"

#include "core/ProductInfo.h"
#include "core/SettingKeys.h"
#include "core/SettingsFile.h"

#include <QHash>
#include <QStandardPaths>

#include <memory>

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

// The files read so far, kept parsed so that a write does not read the
// file again. Only a handful of files are ever used (one per application
// name); the bound keeps tests that use many folders from piling them up.
SettingsFile &fileAt(const QString &path)
{
    static QHash<QString, std::shared_ptr<SettingsFile>> files;
    const auto found = files.constFind(path);
    if (found != files.cend())
        return **found;
    if (files.size() >= 8)
        files.clear();
    return *files.insert(path, std::make_shared<SettingsFile>(path)).value();
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
    return fileAt(SettingsFilePath(appName)).value(section, key).value_or(defaultValue);
}

bool WriteSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value)
{
    if (!usableAddress(section, key))
        return false;
    return fileAt(SettingsFilePath(appName)).setValue(section, key, value);
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
