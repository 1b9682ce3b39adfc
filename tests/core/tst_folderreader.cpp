// What the file-system layer makes of a folder's entries: names the file
// system holds in bytes that are not valid UTF-8, entry kinds through links,
// and moves that must never replace what they are not asked to.

#include "core/FolderHandle.h"
#include "core/FolderReader.h"

#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates an entry from raw bytes: "name" a file holding its name,
// "name/" a folder, "name->target" a symbolic link.
bool makeRaw(const QString &folder, const QByteArray &entry)
{
    const QByteArray base = QFile::encodeName(folder) + '/';
    const qsizetype arrow = entry.indexOf("->");
    if (arrow >= 0)
        return ::symlink(entry.mid(arrow + 2).constData(), (base + entry.left(arrow)).constData()) == 0;
    if (entry.endsWith('/'))
        return ::mkdir((base + entry.chopped(1)).constData(), 0755) == 0;
    const int fd = ::open((base + entry).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, entry.constData(), size_t(entry.size())) == entry.size();
    ::close(fd);
    return written;
}

QString kindName(FolderHandle::Kind kind)
{
    switch (kind) {
    case FolderHandle::Kind::Missing: return QStringLiteral("missing");
    case FolderHandle::Kind::File: return QStringLiteral("file");
    case FolderHandle::Kind::Folder: return QStringLiteral("folder");
    case FolderHandle::Kind::Other: return QStringLiteral("other");
    }
    return {};
}

QByteArray readRaw(const FolderHandle &folder, const QByteArray &name)
{
    const int fd = ::openat(folder.descriptor(), name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    char buffer[256];
    const ssize_t length = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return length > 0 ? QByteArray(buffer, length) : QByteArray();
}

} // namespace

class FolderReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void entries_data();
    void entries();
    void move_data();
    void move();
    void lockIsPerFolder();
};

void FolderReaderTest::entries_data()
{
    QTest::addColumn<QByteArrayList>("raw");
    // "text|kind|link" for each entry, sorted; "?" ends a name that does
    // not survive the trip to text and back.
    QTest::addColumn<QStringList>("seen");

    QTest::newRow("ascii and UTF-8") << QByteArrayList{"a.txt", "caf\xc3\xa9.txt"}
                                     << QStringList{"a.txt|file|", QString::fromUtf8("caf\u00e9.txt|file|")};
    QTest::newRow("invalid byte does not round-trip")
        << QByteArrayList{"\xff.txt", "\xef\xbf\xbd.txt"}
        << QStringList{QString::fromUtf8("\ufffd.txt?|file|"), QString::fromUtf8("\ufffd.txt|file|")};
    QTest::newRow("cut multi-byte letter")
        << QByteArrayList{"caf\xc3.txt"} << QStringList{QString::fromUtf8("caf\ufffd.txt?|file|")};
    QTest::newRow("kinds through links")
        << QByteArrayList{"sub/", "f", "lf->f", "ld->sub", "dangling->nowhere"}
        << QStringList{"dangling|missing|link", "f|file|", "ld|folder|link", "lf|file|link", "sub|folder|"};
    QTest::newRow("hidden entries are read too") << QByteArrayList{".h", "v"} << QStringList{".h|file|", "v|file|"};
}

void FolderReaderTest::entries()
{
    QFETCH(QByteArrayList, raw);
    QFETCH(QStringList, seen);

    TempFolder folder;
    for (const QByteArray &entry : std::as_const(raw))
        QVERIFY2(makeRaw(folder.path(), entry), entry.constData());

    const FolderHandle handle(folder.path());
    QVERIFY(handle.isOpen());
    FolderReader reader(handle);
    QVERIFY(reader.isOpen());
    QStringList found;
    while (reader.next()) {
        QString item = reader.name().toString();
        if (!reader.roundTrips())
            item += u'?';
        found.append(item + u'|' + kindName(reader.kind()) + u'|' + (reader.isLink() ? QStringLiteral("link") : QString()));
    }
    QVERIFY(!reader.failed());
    found.sort();
    QCOMPARE(found, seen);
}

void FolderReaderTest::move_data()
{
    QTest::addColumn<QByteArrayList>("raw");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("replace");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QByteArrayList>("after"); // "name=content" or "name->target"

    const int done = int(MoveOutcome::Done);
    const int exists = int(MoveOutcome::TargetExists);
    const int failed = int(MoveOutcome::Failed);
    QTest::newRow("free name") << QByteArrayList{"a"} << "a" << "b" << false << done << QByteArrayList{"b=a"};
    QTest::newRow("taken, no replace") << QByteArrayList{"a", "b"} << "a" << "b" << false << exists
                                       << QByteArrayList{"a=a", "b=b"};
    QTest::newRow("taken by a folder, no replace") << QByteArrayList{"a", "b/"} << "a" << "b" << false << exists
                                                   << QByteArrayList{"a=a", "b/"};
    QTest::newRow("taken, replace") << QByteArrayList{"a", "b"} << "a" << "b" << true << done << QByteArrayList{"b=a"};
    QTest::newRow("link onto its own file") << QByteArrayList{"b", "a->b"} << "a" << "b" << true << failed
                                            << QByteArrayList{"a->b", "b=b"};
    QTest::newRow("link onto the name it points at, now free")
        << QByteArrayList{"c", "a->b"} << "a" << "b" << true << failed << QByteArrayList{"a->b", "c=c"};
    QTest::newRow("link onto another file") << QByteArrayList{"b", "c", "a->c"} << "a" << "b" << true << done
                                            << QByteArrayList{"b->c", "c=c"};
    QTest::newRow("UTF-8 name, not the invalid one beside it")
        << QByteArrayList{"\xff", "\xef\xbf\xbd"} << QString(QChar(0xfffd)) << "x" << false << done
        << QByteArrayList{"x=\xef\xbf\xbd", "\xff=\xff"};
    QTest::newRow("missing source") << QByteArrayList{"a"} << "zz" << "b" << false << failed << QByteArrayList{"a=a"};
}

void FolderReaderTest::move()
{
    QFETCH(QByteArrayList, raw);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, replace);
    QFETCH(int, outcome);
    QFETCH(QByteArrayList, after);

    TempFolder folder;
    for (const QByteArray &entry : std::as_const(raw))
        QVERIFY(makeRaw(folder.path(), entry));
    const FolderHandle handle(folder.path());
    QString error;

    QCOMPARE(int(handle.move(from, to, replace ? MoveMode::Replace : MoveMode::NoReplace, &error)), outcome);
    QCOMPARE(error.isEmpty(), outcome != int(MoveOutcome::Failed));

    QByteArrayList seen;
    FolderReader reader(handle);
    while (reader.next()) {
        const QByteArray name = reader.rawName();
        char target[256];
        const ssize_t length = ::readlinkat(handle.descriptor(), name.constData(), target, sizeof target);
        if (length >= 0)
            seen.append(name + "->" + QByteArray(target, length));
        else if (reader.kind() == FolderHandle::Kind::Folder)
            seen.append(name + '/');
        else
            seen.append(name + '=' + readRaw(handle, name));
    }
    std::sort(seen.begin(), seen.end());
    QCOMPARE(seen, after);
}

void FolderReaderTest::lockIsPerFolder()
{
    TempFolder root;
    QVERIFY(root.makeFolder(QStringLiteral("a")));
    QVERIFY(root.makeFolder(QStringLiteral("b")));
    QVERIFY(QFile::link(root.filePath(QStringLiteral("a")), root.filePath(QStringLiteral("link"))));

    FolderHandle first(root.filePath(QStringLiteral("a")));
    QCOMPARE(first.tryLock(), FolderHandle::LockResult::Locked);
    // Locking again through the same handle changes nothing.
    QCOMPARE(first.tryLock(), FolderHandle::LockResult::Locked);
    QCOMPARE(FolderHandle(root.filePath(QStringLiteral("link"))).tryLock(), FolderHandle::LockResult::Busy);
    QCOMPARE(FolderHandle(root.filePath(QStringLiteral("a/../a"))).tryLock(), FolderHandle::LockResult::Busy);
    QCOMPARE(FolderHandle(root.filePath(QStringLiteral("b"))).tryLock(), FolderHandle::LockResult::Locked);
    first = FolderHandle();
    // Closing the handle lets go, as the end of a process does.
    QCOMPARE(FolderHandle(root.filePath(QStringLiteral("link"))).tryLock(), FolderHandle::LockResult::Locked);
}

QTEST_GUILESS_MAIN(FolderReaderTest)
#include "tst_folderreader.moc"
