#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class FolderHandle;
class RunSystemCalls;

// Where the journals of rename runs live: $XDG_STATE_HOME/quillmere, or
// ~/.local/state/quillmere.
QString RunJournalFolder();

// How many journals are kept; older ones are removed when a run starts.
constexpr int kKeptRunJournals = 20;

// The record of one rename run, written so that the run can be taken back
// even when the process dies half-way. Before the first file moves, the
// folder (with its birth time where the file system keeps one) and every
// file the run may move (old name and inode) are on disk;
// as the run goes, each move is added, in batches; a replaced file is noted,
// durably, with its identity and its .trashinfo's, before it goes to the
// trash (where it cannot be noted, or no trash takes it, it is not
// replaced); the last line says the run ended. Fields added since the first
// journals come last on their lines, so journals without them still read;
// journals of earlier versions may also note files replaced for good
// ("lost").
//
// One line per record, fields split by single spaces; names are the file
// system's bytes with '%', blanks and control bytes written as %XX.
class RunJournalWriter
{
public:
    // Its writes and syncs go through calls.
    explicit RunJournalWriter(RunSystemCalls &calls);
    RunJournalWriter();
    ~RunJournalWriter();
    RunJournalWriter(const RunJournalWriter &) = delete;
    RunJournalWriter &operator=(const RunJournalWriter &) = delete;

    // Starts a journal for the folder; nothing is visible to undo until
    // commitPlan().
    bool begin(const FolderHandle &folder, QString *error);
    void addFile(quint64 inode, QStringView oldName);
    // Writes the plan to disk and makes it visible under its final name.
    bool commitPlan(QString *error);

    // A move the run made; written with the next batch.
    void noteMove(QStringView from, QStringView to);
    // Before a replaced file is moved into the trash: on disk when it
    // returns true.
    bool noteTrashed(quint64 inode, QStringView name, const QString &trashFolder, const QString &trashName);
    // The run has ended.
    bool finish();

    bool isOpen() const { return m_fd >= 0; }
    QString path() const { return m_path; }
    // A write or sync failed after the plan was written: nothing more goes
    // in, and what the run did after is missing from the journal.
    bool hasFailed() const { return m_failed; }
    // The system's reason for that failure.
    QString failure() const;

private:
    bool writeBuffer(bool sync);
    void flushIfDue();
    bool writeAll(const char *data, qsizetype size);

    RunSystemCalls &m_calls;
    int m_fd = -1;
    int m_folderFd = -1; // the run's folder, where a replaced file is identified
    QString m_path;
    QString m_partPath;
    QByteArray m_buffer;
    qint64 m_lastSyncMs = 0;
    int m_movesSinceCheck = 0;
    bool m_failed = false;
    int m_planErrno = 0; // why the plan could not be written, once it could not
    int m_failedErrno = 0;
};

// A journal read back.
struct RunJournal
{
    struct File
    {
        quint64 inode = 0;
        QString oldName;
    };
    struct Move
    {
        QString from;
        QString to;
    };
    // A file the run replaced: moved into a trash, or lost.
    struct Replaced
    {
        quint64 inode = 0;
        QString name;
        QString trashFolder; // the trash's folder (holding files/ and info/); empty when lost
        QString trashName;
        bool lost = false;
        QByteArray stamp;     // see EntryIdentity; empty in older journals
        QByteArray trashInfo; // see TrashCan::infoStamp(); empty in older journals
    };

    QString path;
    QString folder;
    quint64 folderDevice = 0;
    quint64 folderInode = 0;
    QByteArray folderStamp; // the folder's birth time; empty where none was kept
    QDateTime started;
    QList<File> files;
    QList<Move> moves;
    QList<Replaced> replaced;
    bool complete = false;
};

// Reads a journal; with headerOnly, only the folder and the start.
std::optional<RunJournal> ReadRunJournal(const QString &path, bool headerOnly = false);
// Whether the journal's run reached its end: its last whole line says so
// (reads only its tail).
bool RunJournalComplete(const QString &path);
// Journals not yet undone, newest first.
QStringList RunJournalFiles();
// Marks a journal as taken back: it is no longer offered for undo.
bool MarkRunJournalUndone(const QString &path);

// The escaping used in journals, for names and paths of any bytes.
QByteArray EscapeJournalField(const QByteArray &bytes);
QByteArray UnescapeJournalField(const QByteArray &field);
