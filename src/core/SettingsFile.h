#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

// One settings file in the INI format QSettings reads and writes, kept in
// memory between calls so that a write costs one rewrite of the file and no
// re-reading. The copy in memory is trusted only while the file on disk is
// the one it was read from (same device, inode, size and modification time);
// a file changed by anyone else is read again before the next read or write,
// so their changes are never written over.
//
// Files this program writes are edited in place: only the line of the key
// that changes is replaced, everything else stays byte for byte. A file with
// anything the fast reader does not fully understand (continued lines,
// comments after values, escaped keys, typed values, repeated keys) is read
// and written through QSettings instead, slower but exact.
class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    // The stored text, or nothing when the key is not stored. A value the
    // file holds as a list reads as its items joined by ", ".
    std::optional<QString> value(const QString &section, const QString &key);

    // Stores the value; true when it is on disk (or already was: a value
    // that would not change leaves the file untouched).
    bool setValue(const QString &section, const QString &key, const QString &value);

    const QString &path() const { return m_path; }

    // Identity of a file on disk; two equal stamps mean the same content.
    struct Stamp
    {
        bool exists = false;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        quint64 device = 0;
        quint64 inode = 0;
        bool operator==(const Stamp &) const = default;
    };

private:
    struct Entry
    {
        qsizetype lineStart = 0; // first byte of the key
        qsizetype lineEnd = 0;   // one past the value, before the line break
        QString value;
        bool plainText = true; // not a list
    };

    bool refresh();
    bool load();
    bool parse();
    bool writeBytes(const QByteArray &bytes);
    bool setValueThroughQSettings(const QString &section, const QString &key, const QString &value);
    std::optional<QString> valueThroughQSettings(const QString &section, const QString &key) const;

    QString m_path;
    Stamp m_stamp;
    qint64 m_lookedAtNs = 0; // when m_bytes were last known to be the file's
    bool m_loaded = false;
    bool m_general = false; // needs QSettings
    QByteArray m_bytes;
    QHash<QString, Entry> m_entries;          // "section/key"
    QHash<QString, qsizetype> m_sectionEnds; // where a new key of a section goes
};
