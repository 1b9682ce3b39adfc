#include "rename/RunJournal.h"
#include "rename/RunJournalFormat.h"

#include <QFile>

#include <algorithm>

namespace {

enum class LineKind { Other, Folder, Started, Complete };

QString decodedName(const QByteArray &field)
{
    return QFile::decodeName(UnescapeJournalField(field));
}

// Reads one whole line of a journal into journal; the one place that knows
// the records' fields. Unknown or damaged lines are passed over.
LineKind readLine(QByteArrayView line, RunJournal &journal)
{
    const QList<QByteArray> fields = line.toByteArray().split(' ');
    const QByteArray &kind = fields.at(0);
    const auto stampAt = [&](qsizetype i) {
        return fields.size() > i && fields.at(i) != "-" ? fields.at(i) : QByteArray();
    };
    if (kind == "folder" && (fields.size() == 4 || fields.size() == 5)) {
        journal.folderDevice = fields.at(1).toULongLong();
        journal.folderInode = fields.at(2).toULongLong();
        journal.folder = decodedName(fields.at(3));
        journal.folderStamp = stampAt(4);
        return LineKind::Folder;
    }
    if (kind == "started" && fields.size() >= 2) {
        journal.started = QDateTime::fromString(QString::fromLatin1(fields.at(1)), Qt::ISODateWithMs);
        return LineKind::Started;
    }
    if (kind == "file" && fields.size() == 3) {
        journal.files.append({fields.at(1).toULongLong(), decodedName(fields.at(2))});
    } else if (kind == "move" && fields.size() == 3) {
        journal.moves.append({decodedName(fields.at(1)), decodedName(fields.at(2))});
    } else if (kind == "trash" && (fields.size() == 5 || fields.size() == 7)) {
        journal.replaced.append({fields.at(1).toULongLong(), decodedName(fields.at(2)), decodedName(fields.at(3)),
                                 decodedName(fields.at(4)), false, stampAt(5), UnescapeJournalField(stampAt(6))});
    } else if (kind == "lost" && fields.size() == 3) {
        journal.replaced.append({fields.at(1).toULongLong(), decodedName(fields.at(2)), {}, {}, true, {}, {}});
    } else if (kind == "complete" && fields.size() == 1) {
        journal.complete = true;
        return LineKind::Complete;
    }
    return LineKind::Other;
}

} // namespace

std::optional<RunJournal> ReadRunJournal(const QString &path, bool headerOnly)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = headerOnly ? file.read(8192) : file.readAll();
    if (!data.startsWith(kRunJournalMagic))
        return std::nullopt;
    RunJournal journal;
    journal.path = path;
    qsizetype pos = qsizetype(sizeof kRunJournalMagic - 1);
    bool sawFolder = false;
    while (pos < data.size()) {
        const qsizetype end = data.indexOf('\n', pos);
        if (end < 0)
            break; // a line cut off by the end of the process
        const LineKind kind = readLine(QByteArrayView(data).sliced(pos, end - pos), journal);
        pos = end + 1;
        sawFolder = sawFolder || kind == LineKind::Folder;
        if (headerOnly && kind == LineKind::Started)
            break;
    }
    if (!sawFolder)
        return std::nullopt;
    return journal;
}

bool RunJournalComplete(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The last whole line, read from the tail: a line ends with a newline,
    // and a line cut off by the end of the process does not count.
    const qint64 size = file.size();
    const qint64 tail = std::min<qint64>(size, 64 * 1024);
    if (tail < 2 || !file.seek(size - tail))
        return false;
    const QByteArray data = file.read(tail);
    if (!data.endsWith('\n'))
        return false;
    const qsizetype start = data.lastIndexOf('\n', data.size() - 2) + 1;
    if (start == 0 && tail < size)
        return false; // a last line longer than any the journal writes
    RunJournal journal;
    return readLine(QByteArrayView(data).sliced(start, data.size() - 1 - start), journal) == LineKind::Complete;
}

