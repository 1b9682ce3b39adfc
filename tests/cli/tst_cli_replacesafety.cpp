// quillmere-rename --overwrite where the file under the new name cannot go
// to a trash, or the journal cannot take its record: the chosen file stays,
// the exit status says so, and every content that was in the folder is
// afterwards in the folder or in a trash. Faults that need a mount or a
// second user are made as the superuser and skipped otherwise.

#include "TempFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTest>

#include <grp.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Every file's content under folders, by checksum, as a sorted list: the
// same content twice counts twice.
QStringList contentsUnder(const QStringList &folders)
{
    QStringList sums;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                sums.append(QString::fromLatin1(
                    QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex()));
        }
    }
    sums.sort();
    return sums;
}

bool containsAll(QStringList have, const QStringList &wanted)
{
    for (const QString &sum : wanted) {
        if (!have.removeOne(sum))
            return false;
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &content, uid_t owner = uid_t(-1))
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        return false;
    file.close();
    return owner == uid_t(-1) || ::chown(QFile::encodeName(path).constData(), owner, owner) == 0;
}

bool makeFolder(const QString &path, mode_t mode, uid_t owner = uid_t(-1))
{
    const QByteArray bytes = QFile::encodeName(path);
    return QDir().mkpath(path) && ::chmod(bytes.constData(), mode) == 0
        && (owner == uid_t(-1) || ::chown(bytes.constData(), owner, owner) == 0);
}

// A tmpfs of its own, unmounted when the test ends however it ends.
class SmallDisk
{
public:
    bool mount(const QString &path, const QByteArray &size)
    {
        if (!QDir().mkpath(path))
            return false;
        const QByteArray options = "size=" + size + ",mode=0755";
        if (::mount("quillmere-test", QFile::encodeName(path).constData(), "tmpfs", 0, options.constData()) != 0)
            return false;
        m_path = path;
        return true;
    }
    ~SmallDisk()
    {
        if (!m_path.isEmpty())
            ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    }

private:
    QString m_path;
};

} // namespace

class TestCliReplaceSafety : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void replacedFileWithoutTrash_data();
    void replacedFileWithoutTrash();
    void longNameGoesToTrash_data();
    void longNameGoesToTrash();
    void journalDiskFillsDuringRun();
    void runWithoutJournal_data();
    void runWithoutJournal();

private:
    // Runs quillmere-rename with its own data and state folders, as the
    // user asUser (the superuser's rights dropped) when that is not -1.
    Outcome run(const QStringList &arguments, uid_t asUser = uid_t(-1));

    std::unique_ptr<TempFolder> m_root;
    QString m_data;
    QString m_state;
};

void TestCliReplaceSafety::init()
{
    m_root = std::make_unique<TempFolder>();
    QVERIFY(m_root->isValid());
    QCOMPARE(::chmod(QFile::encodeName(m_root->path()).constData(), 0755), 0);
    m_data = m_root->filePath(QStringLiteral("data"));
    m_state = m_root->filePath(QStringLiteral("state"));
}

Outcome TestCliReplaceSafety::run(const QStringList &arguments, uid_t asUser)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data);
    environment.insert(QStringLiteral("XDG_STATE_HOME"), m_state);
    environment.insert(QStringLiteral("HOME"), m_root->filePath(QStringLiteral("home")));
    process.setProcessEnvironment(environment);
    if (asUser != uid_t(-1)) {
        process.setChildProcessModifier([asUser] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(asUser) != 0 || ::setuid(asUser) != 0)
                ::_exit(100);
        });
    }
    process.start(QStringLiteral(QUILLMERE_RENAME_EXE), arguments);
    Outcome outcome;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

void TestCliReplaceSafety::replacedFileWithoutTrash_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason"); // what standard error reports about the file left in place

    QTest::newRow("the trash at the top of the mount is another user's")
        << "foreign top trash" << "is not a folder of this user's own";
    QTest::newRow("the top of the mount cannot be written, the user's trash is on another device")
        << "top not writable" << "Permission denied";
    QTest::newRow("sticky folder, the old file is another user's") << "sticky" << "Operation not permitted";
}

// Renames a.jpg onto b.jpg, which no trash can take: b.jpg stays as it was
// and so does a.jpg, and nothing in the journal says b.jpg is gone.
void TestCliReplaceSafety::replacedFileWithoutTrash()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    if (::geteuid() != 0)
        QSKIP("needs the superuser, to mount a file system and to act as a second user");

    const bool onMount = fault != QLatin1String("sticky");
    const uid_t user = fault == QLatin1String("foreign top trash") ? uid_t(-1) : kNobody;
    const uid_t fileOwner = user == uid_t(-1) ? ::geteuid() : user;
    SmallDisk disk;
    const QString mount = m_root->filePath(QStringLiteral("mnt"));
    if (onMount && !disk.mount(mount, "1m"))
        QSKIP("a tmpfs cannot be mounted here");
    const QString work = onMount ? mount + QStringLiteral("/work") : m_root->filePath(QStringLiteral("work"));
    QVERIFY(makeFolder(m_data, 0755, fileOwner));
    QVERIFY(makeFolder(m_state, 0755, fileOwner));
    if (fault == QLatin1String("foreign top trash")) {
        QVERIFY(makeFolder(work, 0755));
        QVERIFY(makeFolder(mount + QStringLiteral("/.Trash-0"), 0700, kNobody));
        QVERIFY(writeFile(work + QStringLiteral("/b1.jpg"), "old b"));
    } else if (fault == QLatin1String("top not writable")) {
        QVERIFY(makeFolder(work, 0755, kNobody));
        QVERIFY(writeFile(work + QStringLiteral("/b1.jpg"), "old b", kNobody));
    } else {
        QVERIFY(makeFolder(work, 01777));
        QVERIFY(writeFile(work + QStringLiteral("/b1.jpg"), "old b", 0));
    }
    QVERIFY(writeFile(work + QStringLiteral("/a.jpg"), "new a", fileOwner));
    const QStringList before = contentsUnder({work});

    const Outcome outcome =
        run({"--overwrite", "--text", "b", "--no-pad", work, "a.jpg"}, user);

    QCOMPARE(outcome.exitCode, 1);
    QCOMPARE(contentsUnder({work}), before);
    QCOMPARE(QDir(work).entryList(QDir::Files), (QStringList{"a.jpg", "b1.jpg"}));
    QVERIFY2(outcome.err.contains(QStringLiteral("a.jpg: the file \"b1.jpg\" that has the new name could not be "
                                                 "put in a trash"))
                 && outcome.err.contains(reason),
             qPrintable(outcome.err));
    QVERIFY(outcome.out.isEmpty());
    // What the journal holds of the run says nothing was lost.
    QDirIterator journals(m_state + QStringLiteral("/quillmere"), {QStringLiteral("run-*")}, QDir::Files);
    QVERIFY(journals.hasNext());
    while (journals.hasNext()) {
        QFile journal(journals.next());
        QVERIFY(journal.open(QIODevice::ReadOnly));
        QVERIFY2(!journal.readAll().contains("\nlost "), qPrintable(journal.fileName()));
    }
}

void TestCliReplaceSafety::longNameGoesToTrash_data()
{
    QTest::addColumn<QString>("text");      // the new name's text; the number 1 follows
    QTest::addColumn<QString>("extension"); // of the renamed file, and so of the new name

    QTest::newRow("246 bytes") << QString(241, u'b') << ".jpg";
    QTest::newRow("251 bytes, no extension") << QString(250, u'b') << "";
    QTest::newRow("255 bytes") << QString(250, u'b') << ".jpg";
    QTest::newRow("254 bytes of two-byte letters, a blank and a percent sign")
        << QStringLiteral("b ") + QString(123, QChar(0x00e9)) + u'%' << ".jpg";
}

// A name with no room left for the trash's own suffixes goes to the trash
// under a shorter name; its .trashinfo keeps the whole path.
void TestCliReplaceSafety::longNameGoesToTrash()
{
    QFETCH(QString, text);
    QFETCH(QString, extension);

    const QString work = m_root->filePath(QStringLiteral("work"));
    const QString oldName = text + u'1' + extension;
    QVERIFY(QFile::encodeName(oldName).size() > 245);
    QVERIFY(QDir().mkpath(work));
    QVERIFY(writeFile(work + u'/' + oldName, "old"));
    QVERIFY(writeFile(work + QStringLiteral("/a") + extension, "new"));
    const QStringList before = contentsUnder({work});
    const QString trash = m_data + QStringLiteral("/Trash");

    const Outcome outcome = run({"--overwrite", "--text", text, "--no-pad", work, "a" + extension});

    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.err));
    QCOMPARE(QDir(work).entryList(QDir::Files), QStringList{oldName});
    QCOMPARE(m_root->read(QStringLiteral("work/") + oldName), QByteArray("new"));
    QCOMPARE(contentsUnder({work, trash + QStringLiteral("/files")}), before);
    const QStringList trashed = QDir(trash + QStringLiteral("/files")).entryList(QDir::Files);
    QCOMPARE(trashed.size(), 1);
    QVERIFY(QFile::encodeName(trashed.first()).size() <= 245);
    QCOMPARE(m_root->read(QStringLiteral("data/Trash/files/") + trashed.first()), QByteArray("old"));
    QFile info(trash + QStringLiteral("/info/") + trashed.first() + QStringLiteral(".trashinfo"));
    QVERIFY(info.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = info.readAll().split('\n');
    QCOMPARE(lines.value(0), QByteArray("[Trash Info]"));
    QVERIFY(lines.value(1).startsWith("Path="));
    QCOMPARE(QFile::decodeName(QByteArray::fromPercentEncoding(lines.value(1).mid(5))),
             QFileInfo(work).absoluteFilePath() + u'/' + oldName);
    QVERIFY(!lines.value(1).contains(' '));
}

// With only a few kilobytes free where the journal is, its records stop
// part way: the files replaced before are in the trash, those after stay.
void TestCliReplaceSafety::journalDiskFillsDuringRun()
{
    if (::geteuid() != 0)
        QSKIP("needs the superuser, to mount a small file system for the journal");
    SmallDisk disk;
    if (!disk.mount(m_state, "64k"))
        QSKIP("a tmpfs cannot be mounted here");
    QVERIFY(QDir().mkpath(m_state + QStringLiteral("/quillmere")));
    struct statvfs space;
    QCOMPARE(::statvfs(QFile::encodeName(m_state).constData(), &space), 0);
    const qint64 free = qint64(space.f_bavail) * qint64(space.f_bsize);
    QVERIFY(free > 12 * 1024);
    QVERIFY(writeFile(m_state + QStringLiteral("/filler"), QByteArray(free - 12 * 1024, 'x')));

    constexpr int kFiles = 200;
    const QString work = m_root->filePath(QStringLiteral("work"));
    QVERIFY(QDir().mkpath(work));
    for (int i = 1; i <= kFiles; ++i) {
        QVERIFY(writeFile(work + QStringLiteral("/a%1.jpg").arg(i, 3, 10, QLatin1Char('0')),
                          "new " + QByteArray::number(i)));
        QVERIFY(writeFile(work + QStringLiteral("/b%1.jpg").arg(i), "old " + QByteArray::number(i)));
    }
    const QStringList before = contentsUnder({work});
    QStringList names;
    for (int i = 1; i <= kFiles; ++i)
        names.append(QStringLiteral("a%1.jpg").arg(i, 3, 10, QLatin1Char('0')));

    const Outcome outcome = run(QStringList{"--overwrite", "--text", "b", "--no-pad", work} + names);

    QCOMPARE(outcome.exitCode, 1);
    QVERIFY(containsAll(contentsUnder({work, m_data + QStringLiteral("/Trash/files")}), before));
    const qsizetype renamed = outcome.out.count(QStringLiteral(" -> "));
    const qsizetype left = outcome.err.count(QStringLiteral("could not be put in a trash"));
    QVERIFY2(renamed > 0 && left > 0 && renamed + left == kFiles, qPrintable(outcome.err.left(2000)));
    QVERIFY2(outcome.err.contains(QStringLiteral("could not be written to its end")),
             qPrintable(outcome.err.right(1000)));
    QVERIFY(!outcome.err.contains(QStringLiteral("no journal is kept")));
    QCOMPARE(QDir(m_data + QStringLiteral("/Trash/files")).entryList(QDir::Files).size(), renamed);
}

void TestCliReplaceSafety::runWithoutJournal_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("noUndo");

    for (const bool noUndo : {false, true}) {
        const char *how = noUndo ? "--no-undo" : "refused";
        QTest::addRow("a file where the journal folder goes, %s", how) << "file" << noUndo;
        QTest::addRow("journal folder not writable, %s", how) << "not writable" << noUndo;
    }
}

// A run that could not be undone does not start, unless asked to; then a
// file it replaces still goes to the trash first.
void TestCliReplaceSafety::runWithoutJournal()
{
    QFETCH(QString, fault);
    QFETCH(bool, noUndo);

    uid_t user = uid_t(-1);
    if (fault == QLatin1String("file")) {
        QVERIFY(writeFile(m_state, "not a folder"));
    } else {
        if (::geteuid() != 0)
            QSKIP("needs the superuser, to act as a second user");
        user = kNobody;
        QVERIFY(makeFolder(m_state + QStringLiteral("/quillmere"), 0755));
        QVERIFY(makeFolder(m_data, 0755, kNobody));
    }
    const QString work = m_root->filePath(QStringLiteral("work"));
    QVERIFY(makeFolder(work, 0755, user));
    QVERIFY(writeFile(work + QStringLiteral("/a.jpg"), "new a", user));
    QVERIFY(writeFile(work + QStringLiteral("/b1.jpg"), "old b", user));
    const QStringList before = contentsUnder({work});

    QStringList arguments{"--overwrite", "--text", "b", "--no-pad", work, "a.jpg"};
    if (noUndo)
        arguments.prepend(QStringLiteral("--no-undo"));
    const Outcome outcome = run(arguments, user);

    if (!noUndo) {
        QCOMPARE(outcome.exitCode, 2);
        QVERIFY(outcome.out.isEmpty());
        QVERIFY2(outcome.err.contains(QStringLiteral("Nothing was renamed")) && outcome.err.contains("--no-undo"),
                 qPrintable(outcome.err));
        QCOMPARE(contentsUnder({work}), before);
        QCOMPARE(QDir(work).entryList(QDir::Files), (QStringList{"a.jpg", "b1.jpg"}));
        return;
    }
    QVERIFY2(outcome.exitCode == 0, qPrintable(outcome.err));
    QCOMPARE(outcome.out, QStringLiteral("a.jpg -> b1.jpg\n"));
    QVERIFY2(outcome.err.contains(QStringLiteral("no journal is kept for this run")), qPrintable(outcome.err));
    QCOMPARE(QDir(work).entryList(QDir::Files), QStringList{"b1.jpg"});
    QCOMPARE(contentsUnder({work, m_data + QStringLiteral("/Trash/files")}), before);
}

QTEST_GUILESS_MAIN(TestCliReplaceSafety)
#include "tst_cli_replacesafety.moc"
