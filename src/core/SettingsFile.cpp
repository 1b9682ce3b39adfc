#include "core/SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <utility>

namespace {

using Stamp = SettingsFile::Stamp;

#ifdef Q_OS_UNIX
Stamp stampOf(const struct stat &st)
{
    Stamp stamp;
    stamp.exists = true;
    stamp.size = st.st_size;
#ifdef Q_OS_DARWIN
    stamp.modifiedNs = qint64(st.st_mtimespec.tv_sec) * 1000000000 + st.st_mtimespec.tv_nsec;
#else
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    return stamp;
}
#endif

// File times on some file systems move in steps of up to two seconds.
constexpr qint64 kRacyWindowNs = 2'000'000'000;

// Up to this size the bytes are compared on every look, whatever the stamp.
constexpr qsizetype kAlwaysCompareBytes = 64 * 1024;

qint64 nowNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1'000'000;
}

Stamp stampOfPath(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return stampOf(st);
#else
    const QFileInfo info(path);
    Stamp stamp;
    if (!info.exists())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return stamp;
#endif
}

Stamp stampOfOpenFile(QFileDevice &file, const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::fstat(file.handle(), &st) != 0)
        return {};
    Q_UNUSED(path);
    return stampOf(st);
#else
    Q_UNUSED(file);
    return stampOfPath(path);
#endif
}

// Names the fast path writes and reads without escaping: QSettings keeps
// these characters as they are in section and key names.
bool plainName(QStringView name)
{
    if (name.isEmpty() || name.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0)
        return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (!((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'
              || u == '-' || u == '.'))
            return false;
    }
    return true;
}

bool plainName(QByteArrayView name)
{
    return plainName(QString::fromLatin1(name));
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && (bytes.front() == ' ' || bytes.front() == '\t'))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && (bytes.back() == ' ' || bytes.back() == '\t'))
        bytes.chop(1);
    return bytes;
}

bool isHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

void chopBlanks(QString &text, qsizetype limit)
{
    while (text.size() > limit && (text.back() == QLatin1Char(' ') || text.back() == QLatin1Char('\t')))
        text.chop(1);
}

// Reads the text after "=" the way QSettings does: blanks around unquoted
// parts dropped, backslash escapes, quoted parts kept as they are, unquoted
// commas making a list. False for anything this reader leaves to QSettings:
// a comment after the value, a value continued on the next line, a quote
// left open, and typed values ("@...").
bool readValue(QByteArrayView raw, QString &value, bool &isList)
{
    bool open = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '\\') {
            if (i + 1 == raw.size())
                return false;
            ++i;
        } else if (c == '"') {
            open = !open;
        } else if (c == ';' && !open) {
            return false;
        }
    }
    if (open)
        return false;

    QStringList items;
    QString current;
    bool quoted = false;
    bool inQuotes = false;
    isList = false;
    qsizetype i = 0;
    qsizetype chopLimit = 0;
    auto skipBlanks = [&] {
        while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t'))
            ++i;
        chopLimit = current.size();
    };
    skipBlanks();
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\') {
            const char e = raw[i + 1];
            i += 2;
            switch (e) {
            case 'a': current += QLatin1Char('\a'); break;
            case 'b': current += QLatin1Char('\b'); break;
            case 'f': current += QLatin1Char('\f'); break;
            case 'n': current += QLatin1Char('\n'); break;
            case 'r': current += QLatin1Char('\r'); break;
            case 't': current += QLatin1Char('\t'); break;
            case 'v': current += QLatin1Char('\v'); break;
            case '"':
            case '?':
            case '\'':
            case '\\': current += QLatin1Char(e); break;
            case 'x':
                if (i < raw.size() && isHexDigit(char16_t(uchar(raw[i])))) {
                    char16_t code = 0;
                    while (i < raw.size() && isHexDigit(char16_t(uchar(raw[i])))) {
                        code = char16_t((code << 4) + hexValue(raw[i]));
                        ++i;
                    }
                    current += QChar(code);
                }
                break;
            default:
                if (e >= '0' && e <= '7') {
                    char16_t code = char16_t(e - '0');
                    while (i < raw.size() && raw[i] >= '0' && raw[i] <= '7') {
                        code = char16_t((code << 3) + (raw[i] - '0'));
                        ++i;
                    }
                    current += QChar(code);
                }
                // Any other escaped character is dropped, as QSettings does.
                break;
            }
            chopLimit = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopBlanks(current, chopLimit);
            isList = true;
            items.append(std::exchange(current, QString()));
            quoted = false;
            ++i;
            skipBlanks();
        } else {
            qsizetype j = i + 1;
            while (j < raw.size() && raw[j] != '\\' && raw[j] != '"' && raw[j] != ',')
                ++j;
            current += QString::fromUtf8(raw.sliced(i, j - i));
            i = j;
        }
    }
    if (!quoted)
        chopBlanks(current, chopLimit);

    if (isList) {
        items.append(current);
        for (const QString &item : std::as_const(items)) {
            if (item.startsWith(QLatin1Char('@')))
                return false;
        }
        value = items.join(QLatin1String(", "));
        return true;
    }
    if (current.startsWith(QLatin1Char('@'))) {
        if (current.startsWith(QLatin1String("@@"))) {
            current.remove(0, 1);
        } else if (current.startsWith(QLatin1String("@String(")) && current.endsWith(QLatin1Char(')'))) {
            current = current.sliced(8, current.size() - 9);
        } else {
            return false;
        }
    }
    value = current;
    return true;
}

// The text QSettings writes for a string value, so that QSettings (and any
// earlier version of this program) reads back exactly the same string.
QByteArray valueLine(const QString &key, const QString &text)
{
    // A string with a NUL in it is marked as a string, one starting with "@"
    // gets a second one, so that neither reads as a typed value.
    QString value = text;
    if (text.contains(QChar(0)))
        value = QLatin1String("@String(") + text + QLatin1Char(')');
    else if (text.startsWith(QLatin1Char('@')))
        value = QLatin1Char('@') + text;
    QByteArray out = key.toLatin1();
    out += '=';
    const qsizetype start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char16_t ch = value[i].unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        // A digit right after a numeric escape would be read as part of it.
        if (escapeNextIfDigit && isHexDigit(ch)) {
            out += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case 0: out += "\\0"; escapeNextIfDigit = true; break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (ch <= 0x1F) {
                out += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else if (ch < 0x80) {
                out += char(ch);
            } else {
                qsizetype end = i + 1;
                while (end < value.size() && value[end].unicode() >= 0x80)
                    ++end;
                out += QStringView(value).sliced(i, end - i).toUtf8();
                i = end - 1;
            }
        }
    }
    if (needsQuotes || (out.size() > start && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
    return out;
}

QString fullKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

QString valueText(const QVariant &value)
{
    // A hand-edited file may hold an unquoted list; keep it as the text it was.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

void syncFolder(const QString &path)
{
#ifdef Q_OS_UNIX
    // The rename that put the new file in place is itself only durable once
    // the folder is.
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

} // namespace

SettingsFile::SettingsFile(QString path)
    : m_path(std::move(path))
{
}

bool SettingsFile::refresh()
{
    if (!m_loaded || stampOfPath(m_path) != m_stamp)
        return load();
    // A file's time only moves in clock ticks, so another writer that kept
    // the size and wrote in the same tick as our last look leaves the same
    // stamp; a replacing save can even get the inode just freed. While the
    // file's time is that close to our look, the bytes themselves decide.
    // Some file systems keep times on a clock of their own, far from ours,
    // so a file of ordinary size is always compared: reading it is cheap
    // next to parsing it. Only a large file trusts its stamp.
    const bool racy = m_stamp.modifiedNs + kRacyWindowNs >= m_lookedAtNs;
    if (m_stamp.exists && (racy || m_bytes.size() <= kAlwaysCompareBytes)) {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != m_bytes)
            return load();
        m_lookedAtNs = nowNs();
    }
    return true;
}

bool SettingsFile::load()
{
    m_loaded = false;
    m_general = false;
    m_bytes.clear();
    m_entries.clear();
    m_sectionEnds.clear();

    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (stampOfPath(m_path).exists)
            return false;
        m_stamp = {};
        m_loaded = true;
        return true;
    }
    // The stamp is taken from the open file, before and after reading, so
    // that it belongs to exactly the bytes read.
    const Stamp before = stampOfOpenFile(file, m_path);
    QByteArray bytes = file.readAll();
    const Stamp after = stampOfOpenFile(file, m_path);
    if (file.error() != QFileDevice::NoError || before != after || bytes.size() != after.size)
        return false;
    m_bytes = std::move(bytes);
    m_stamp = after;
    m_lookedAtNs = nowNs();
    m_general = !parse();
    if (m_general) {
        m_entries.clear();
        m_sectionEnds.clear();
    }
    m_loaded = true;
    return true;
}

bool SettingsFile::parse()
{
    const QByteArrayView all(m_bytes);
    if (all.startsWith("\xEF\xBB\xBF"))
        return false;
    QString section;
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype eol = all.indexOf('\n', pos);
        if (eol < 0)
            eol = all.size();
        qsizetype contentEnd = eol;
        if (contentEnd > pos && all[contentEnd - 1] == '\r')
            --contentEnd;
        const qsizetype next = eol < all.size() ? eol + 1 : eol;
        const QByteArrayView line = all.sliced(pos, contentEnd - pos);
        if (line.contains('\r'))
            return false;
        const QByteArrayView text = trimmed(line);
        const qsizetype start = pos + (text.data() - line.data());
        pos = next;

        if (text.isEmpty() || text.front() == ';')
            continue;
        if (text.front() == '[') {
            const qsizetype close = text.indexOf(']');
            if (close < 0 || !trimmed(text.sliced(close + 1)).isEmpty())
                return false;
            const QByteArrayView name = trimmed(text.sliced(1, close - 1));
            if (!plainName(name))
                return false;
            section = QString::fromLatin1(name);
            if (m_sectionEnds.contains(section))
                return false;
            m_sectionEnds.insert(section, next);
            continue;
        }
        const qsizetype equals = text.indexOf('=');
        if (section.isEmpty() || equals < 0)
            return false;
        const QByteArrayView key = trimmed(text.first(equals));
        if (!plainName(key))
            return false;
        const QString name = fullKey(section, QString::fromLatin1(key));
        if (m_entries.contains(name))
            return false;
        Entry entry;
        entry.lineStart = start;
        entry.lineEnd = start + text.size();
        bool isList = false;
        if (!readValue(text.sliced(equals + 1), entry.value, isList))
            return false;
        entry.plainText = !isList;
        m_entries.insert(name, entry);
        m_sectionEnds[section] = next;
    }
    return true;
}

std::optional<QString> SettingsFile::value(const QString &section, const QString &key)
{
    if (!refresh())
        return std::nullopt;
    if (m_general || !plainName(section) || !plainName(key))
        return valueThroughQSettings(section, key);
    const auto found = m_entries.constFind(fullKey(section, key));
    if (found == m_entries.cend())
        return std::nullopt;
    return found->value;
}

bool SettingsFile::setValue(const QString &section, const QString &key, const QString &value)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());

    // The same lock QSettings takes, so that another process writing the
    // file (this program or an older version of it) never interleaves.
    QLockFile lock(m_path + QLatin1String(".lock"));
    if (!lock.tryLock(2000))
        return false;
    if (!refresh())
        return false;
    if (m_stamp.exists && !QFileInfo(m_path).isWritable())
        return false;
    if (m_general || !plainName(section) || !plainName(key))
        return setValueThroughQSettings(section, key, value);

    const QString name = fullKey(section, key);
    const auto found = m_entries.find(name);
    if (found != m_entries.end() && found->plainText && found->value == value)
        return true;

    const QByteArray line = valueLine(key, value);
    if (found != m_entries.end()) {
        // Replace just this line; everything after it moves by the change
        // in length.
        const qsizetype at = found->lineStart;
        const qsizetype oldEnd = found->lineEnd;
        QByteArray bytes;
        bytes.reserve(m_bytes.size() - (oldEnd - at) + line.size());
        bytes.append(QByteArrayView(m_bytes).first(at));
        bytes.append(line);
        bytes.append(QByteArrayView(m_bytes).sliced(oldEnd));
        if (!writeBytes(bytes))
            return false;
        const qsizetype shift = line.size() - (oldEnd - at);
        if (shift != 0) {
            for (Entry &entry : m_entries) {
                if (entry.lineStart > at) {
                    entry.lineStart += shift;
                    entry.lineEnd += shift;
                }
            }
            for (qsizetype &end : m_sectionEnds) {
                if (end > at)
                    end += shift;
            }
        }
        found->lineEnd = at + line.size();
        found->value = value;
        found->plainText = true;
        return true;
    }

    // A new key or section: rare, so the file is simply read again after.
    QByteArray bytes = m_bytes;
    const auto sectionEnd = m_sectionEnds.constFind(section);
    if (sectionEnd != m_sectionEnds.cend()) {
        QByteArray insert = line + '\n';
        if (*sectionEnd > 0 && bytes[*sectionEnd - 1] != '\n')
            insert.prepend('\n');
        bytes.insert(*sectionEnd, insert);
    } else {
        if (!bytes.isEmpty()) {
            if (!bytes.endsWith('\n'))
                bytes += '\n';
            bytes += '\n';
        }
        bytes += '[' + section.toLatin1() + "]\n" + line + '\n';
    }
    if (!writeBytes(bytes))
        return false;
    m_entries.clear();
    m_sectionEnds.clear();
    if (!parse()) {
        // Only a file this reader already understood gets here, so this
        // cannot happen; should it, the next call reads the file afresh.
        m_loaded = false;
    }
    return true;
}

bool SettingsFile::writeBytes(const QByteArray &bytes)
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    const Stamp written = stampOfOpenFile(file, m_path);
    if (!file.commit())
        return false;
    syncFolder(m_path);
    m_bytes = bytes;
    m_stamp = written;
    // Without the stamp of the open file, trust only a fresh look.
    if (!m_stamp.exists)
        m_stamp = stampOfPath(m_path);
    m_lookedAtNs = nowNs();
    return true;
}

namespace {

// QSettings keeps every file it has read in a cache of its own, trusted
// while the file's size and time look the same; a change of the same size
// within one tick of the file system's clock goes unseen. So QSettings only
// ever sees a private copy of the bytes just read, under a name never used
// before.
template<typename Use>
bool withPrivateQSettings(const QByteArray &bytes, Use use)
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return false;
    const QString copy = scratch.filePath(QStringLiteral("settings.ini"));
    QFile file(copy);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    file.close();
    QSettings settings(copy, QSettings::IniFormat);
    return use(settings, copy);
}

} // namespace

std::optional<QString> SettingsFile::valueThroughQSettings(const QString &section, const QString &key) const
{
    std::optional<QString> result;
    withPrivateQSettings(m_bytes, [&](QSettings &settings, const QString &) {
        settings.beginGroup(section);
        const QVariant value = settings.value(key);
        if (value.isValid())
            result = valueText(value);
        return true;
    });
    return result;
}

bool SettingsFile::setValueThroughQSettings(const QString &section, const QString &key, const QString &value)
{
    QByteArray written;
    bool unchanged = false;
    const bool done = withPrivateQSettings(m_bytes, [&](QSettings &settings, const QString &copy) {
        settings.beginGroup(section);
        const QVariant stored = settings.value(key);
        if (stored.metaType().id() == QMetaType::QString && stored.toString() == value) {
            unchanged = true;
            return true;
        }
        settings.setValue(key, value);
        settings.endGroup();
        settings.sync();
        // A format error only says that some line was not understood; the
        // file is written all the same, as QSettings would write it.
        if (settings.status() == QSettings::AccessError)
            return false;
        QFile file(copy);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        written = file.readAll();
        return file.error() == QFileDevice::NoError;
    });
    if (!done)
        return false;
    if (unchanged)
        return true;
    m_loaded = false; // parse the new content on the next look
    return writeBytes(written);
}
