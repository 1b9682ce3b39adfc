#include "core/SettingsStore.h"

#include "core/ProductInfo.h"
#include "core/SettingKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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

QString fullKey(const QString &section, const QString &key)
{
    return section.isEmpty() ? key : section + QLatin1Char('/') + key;
}

// What the file on disk is; a different stamp means someone wrote it.
struct Stamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const Stamp &) const = default;
};

Stamp stampOf(const QString &path)
{
    Stamp stamp;
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.size = st.st_size;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.size = info.size();
    stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1'000'000;
#endif
    stamp.exists = true;
    return stamp;
}

// QSettings writes the new file through QSaveFile, whose commit forces the
// file's data to the device before it renames the file into place; the
// rename itself is only durable once the folder is forced too.
void syncFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

struct StoredValue
{
    QString text;
    bool plainText = true; // a hand-edited file may hold a list or a typed value
};

// The values of one settings file as QSettings last read them, and the
// file's stamp from just before that reading: a file changed since is read
// again before the next read or write.
class StoredFile
{
public:
    explicit StoredFile(QString path)
        : m_path(std::move(path))
    {
    }

    std::optional<StoredValue> value(const QString &name)
    {
        refresh();
        const auto found = m_values.constFind(name);
        if (found == m_values.cend())
            return std::nullopt;
        return *found;
    }

    bool setValue(const QString &name, const QString &text)
    {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        refresh();
        const auto found = m_values.constFind(name);
        if (found != m_values.cend() && found->plainText && found->text == text)
            return true;
        if (m_stamp.exists && !QFileInfo(m_path).isWritable())
            return false;

        QSettings settings(m_path, QSettings::IniFormat);
        const QVariant earlier = settings.value(name);
        settings.setValue(name, text);
        settings.sync();
        // A format error only says that some line was not understood; the
        // file is written all the same, as QSettings writes it.
        if (settings.status() == QSettings::AccessError) {
            // QSettings keeps a change it could not write and would write it
            // with a later one; the failed value must not come back.
            if (earlier.isValid())
                settings.setValue(name, earlier);
            else
                settings.remove(name);
            m_loaded = false;
            return false;
        }
        syncFolder(m_path);
        load(settings);
        return true;
    }

private:
    void refresh()
    {
        const Stamp now = stampOf(m_path);
        if (m_loaded && now == m_stamp)
            return;
        // The stamp is taken before reading: a change made while reading
        // shows as a newer stamp next time and is read then.
        QSettings settings(m_path, QSettings::IniFormat);
        m_stamp = now;
        readAll(settings);
    }

    void load(QSettings &settings)
    {
        m_stamp = stampOf(m_path);
        readAll(settings);
    }

    void readAll(QSettings &settings)
    {
        m_values.clear();
        const QStringList keys = settings.allKeys();
        for (const QString &key : keys) {
            const QVariant value = settings.value(key);
            if (!value.isValid())
                continue;
            // A hand-edited file may hold an unquoted list; it reads as the
            // text it was.
            const bool isList = value.metaType().id() == QMetaType::QStringList;
            m_values.insert(key, StoredValue{isList ? value.toStringList().join(QLatin1String(", ")) : value.toString(),
                                             value.metaType().id() == QMetaType::QString});
        }
        m_loaded = true;
    }

    QString m_path;
    Stamp m_stamp;
    bool m_loaded = false;
    QHash<QString, StoredValue> m_values;
};

// Windows and the run may read settings from different threads.
QMutex &storeLock()
{
    static QMutex lock;
    return lock;
}

// Only a handful of files are ever used (one per application name); the
// bound keeps tests that use many folders from piling them up.
StoredFile &fileAt(const QString &path)
{
    static QHash<QString, std::shared_ptr<StoredFile>> files;
    const auto found = files.constFind(path);
    if (found != files.cend())
        return **found;
    if (files.size() >= 8)
        files.clear();
    return *files.insert(path, std::make_shared<StoredFile>(path)).value();
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
    const QMutexLocker locker(&storeLock());
    testFolder() = folder;
}

QString ReadSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue)
{
    if (!usableAddress(section, key))
        return defaultValue;
    const QMutexLocker locker(&storeLock());
    const std::optional<StoredValue> found = fileAt(SettingsFilePath(appName)).value(fullKey(section, key));
    return found ? found->text : defaultValue;
}

bool WriteSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value)
{
    if (!usableAddress(section, key))
        return false;
    const QMutexLocker locker(&storeLock());
    return fileAt(SettingsFilePath(appName)).setValue(fullKey(section, key), value);
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
