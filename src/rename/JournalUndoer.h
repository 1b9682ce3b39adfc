#pragma once

#include "core/FolderHandle.h"
#include "rename/RenameUndo.h"
#include "rename/RunJournal.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

struct EntryIdentity;

// Takes one run back: finds each of its files by its identity, moves it
// home in the reverse order of the run, then brings back what it replaced.
// Every look-up is a single stat of a name the journal gives, so the time
// grows with the number of files, not with its square; the folder is listed
// once, and searched by inode only for files a cut-off run moved after its
// journal last reached the disk.
class JournalUndoer
{
public:
    JournalUndoer(const FolderHandle &folder, const RunJournal &journal, bool dryRun, UndoReport &report);

    void run();

private:
    struct FileState
    {
        QString location; // now
        qsizetype lastMove = -1;
        bool home = false;
    };

    void scanFolder();
    void detectCaseBlind(const QSet<QString> &listed);
    QString key(const QString &name) const;
    bool holdsRunFile(const QString &name, quint64 inode) const;
    QStringList namesOf(quint64 inode);
    void leave(const QString &name, const QString &oldName, UndoLeftReason reason, const QString &message);
    void locateFiles();
    void locate(qsizetype f);
    MoveOutcome move(const QString &from, const QString &to, QString *error);
    QString temporaryName();
    void moveFilesHome();
    void relocate(qsizetype f, const QString &to);
    void stepAside(qsizetype f);
    void goHome(qsizetype f);
    bool isRunsReplacedFile(const RunJournal::Replaced &replaced, const EntryIdentity &there) const;
    void restoreReplaced();
    void restoreOne(qsizetype r);

    const FolderHandle &m_folder;
    const RunJournal &m_journal;
    const bool m_dryRun;
    UndoReport &m_report;
    const qint64 m_startedMs;
    bool m_caseBlind = false;
    bool m_inodesRead = false;
    QHash<quint64, QStringList> m_namesOf; // the run's files by inode, filled only when needed
    QSet<QString> m_taken;                 // by key()
    QList<FileState> m_states;
    QHash<QString, qsizetype> m_waitingAt; // files not home yet, by key() of where they are
    int m_temporaries = 0;
};
