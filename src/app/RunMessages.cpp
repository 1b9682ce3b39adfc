#include "app/RunMessages.h"

#include "app/Form1.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

// At most this many files are named in the message after a run.
constexpr int kMaxFilesNamed = 12;

// One part of the message: a heading, then the files named one a line, at
// most `room` of them. With reasons, the files are grouped under each
// reason, in the order the reasons first came: a folder that refuses every
// file says so once, not once a file.
void describeFiles(QString &text, const QString &heading, const QList<LeftInPlaceFile> &files, qsizetype &room,
                   bool withReasons)
{
    if (files.isEmpty())
        return;
    if (!text.isEmpty())
        text += QStringLiteral("\n\n");
    text += heading + QLatin1Char('\n');
    QStringList reasons;
    QHash<QString, QList<const LeftInPlaceFile *>> byReason;
    for (const LeftInPlaceFile &file : files) {
        const QString reason = withReasons ? file.message : QString();
        if (!byReason.contains(reason))
            reasons.append(reason);
        byReason[reason].append(&file);
    }
    for (const QString &reason : std::as_const(reasons)) {
        if (room == 0)
            break;
        if (!reason.isEmpty())
            text += QLatin1Char('\n') + reason + QLatin1Char(':');
        for (const LeftInPlaceFile *file : std::as_const(byReason[reason])) {
            if (room == 0)
                break;
            --room;
            text += QLatin1Char('\n') + (reason.isEmpty() ? QString() : QStringLiteral("    ")) + file->name;
            if (!file->currentName.isEmpty() && file->currentName != file->name)
                text += Form1::tr(" (now %1)").arg(file->currentName);
        }
    }
}

} // namespace

QString DescribeLeftInPlace(const QString &folder, const RenameReport &report, bool folderGone)
{
    // Files still in the folder, and files that were gone before their turn
    // came, are listed apart: "still in the folder" would be untrue of these.
    QList<LeftInPlaceFile> stayed;
    QList<LeftInPlaceFile> vanished;
    const QDir dir(folder);
    for (const LeftInPlaceFile &file : report.leftInPlace) {
        const bool gone = !folderGone && file.reason == LeftInPlaceReason::NotInFolder
            && !QFileInfo::exists(dir.filePath(file.name));
        (gone ? vanished : stayed).append(file);
    }

    QString text;
    qsizetype room = kMaxFilesNamed;
    if (folderGone) {
        const qsizetype count = stayed.size();
        describeFiles(text,
                      count == 1 ? Form1::tr("The folder no longer exists; 1 file was not renamed:")
                                 : Form1::tr("The folder no longer exists; %1 files were not renamed:").arg(count),
                      stayed, room, false);
    } else {
        const qsizetype count = stayed.size();
        describeFiles(text,
                      count == 1 ? Form1::tr("1 file was not renamed and is still in the folder:")
                                 : Form1::tr("%1 files were not renamed and are still in the folder:").arg(count),
                      stayed, room, true);
        const qsizetype gone = vanished.size();
        describeFiles(text,
                      gone == 1 ? Form1::tr("1 file was not renamed and is no longer in the folder:")
                                : Form1::tr("%1 files were not renamed and are no longer in the folder:").arg(gone),
                      vanished, room, false);
    }
    const qsizetype unnamed = report.leftInPlace.size() - kMaxFilesNamed;
    if (unnamed > 0)
        text += Form1::tr("\n... and %1 more.").arg(unnamed);
    if (report.renamed.size() == 1)
        text += Form1::tr("\n\n1 other file was renamed.");
    else if (!report.renamed.isEmpty())
        text += Form1::tr("\n\n%1 other files were renamed.").arg(report.renamed.size());
    return text;
}

// The nearest folder at or above `folder` that is there; the root at worst.
QString NearestExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

