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
    void nameCodec_data();
    void nameCodec();
    void entries_data();
    void entries();
    void move_data();
    void move();
    void lockIsPerFolder();
};

void FolderReaderTest::nameCodec_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text"); // what the name reads as
    QTest::addColumn<QString>("shown");

    const auto escaped = [](std::initializer_list<char16_t> units) {
        return QString(reinterpret_cast<const QChar *>(std::data(units)), qsizetype(units.size()));
    };
    QTest::newRow("ascii") << QByteArray("a.jpg") << "a.jpg" << "a.jpg";
    QTest::newRow("UTF-8, two to four bytes")
        << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80") << QString::fromUtf8("\u00e9\u20ac\U0001F600")
        << QString::fromUtf8("\u00e9\u20ac\U0001F600");
    QTest::newRow("Latin-1 byte") << QByteArray("bad\xff.jpg") << escaped({u'b', u'a', u'd', 0xdcff, u'.', u'j', u'p', u'g'})
                                  << "bad\\377.jpg";
    QTest::newRow("truncated sequence at the end") << QByteArray("a\xe2\x82") << escaped({u'a', 0xdce2, 0xdc82})
                                                   << "a\\342\\202";
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << escaped({0xdcc0, 0xdcaf}) << "\\300\\257";
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xb3\xbf") << escaped({0xdced, 0xdcb3, 0xdcbf})
                                       << "\\355\\263\\277";
    QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << escaped({0xdcf4, 0xdc90, 0xdc80, 0xdc80})
                                   << "\\364\\220\\200\\200";
    QTest::newRow("stray byte after a four-byte letter")
        << QByteArray("\xf0\x9f\x98\x80\x80") << QString::fromUtf8("\U0001F600") + escaped({0xdc80})
        << QString::fromUtf8("\U0001F600") + QStringLiteral("\\200");
}

void FolderReaderTest::nameCodec()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QFETCH(QString, shown);

    const QString decoded = FolderHandle::decodeName(raw);
    QCOMPARE(decoded, text);
    QCOMPARE(FolderHandle::encodeName(decoded), raw);
    QCOMPARE(FolderHandle::holdsRawBytes(decoded), decoded != QString::fromUtf8(raw));
    QCOMPARE(FolderHandle::displayName(decoded), shown);
    // Text built around the name keeps its bytes.
    QCOMPARE(FolderHandle::encodeName(QStringLiteral("P_") + decoded + QStringLiteral(".gif")), "P_" + raw + ".gif");
}

void FolderReaderTest::entries_data()
{
    QTest::addColumn<QByteArrayList>("raw");
    // "text|kind|link" for each entry, sorted; a byte that is not text
    // shows as "\ooo" (FolderHandle::displayName()).
    QTest::addColumn<QStringList>("seen");

    QTest::newRow("ascii and UTF-8") << QByteArrayList{"a.txt", "caf\xc3\xa9.txt"}
                                     << QStringList{"a.txt|file|", QString::fromUtf8("caf\u00e9.txt|file|")};
    QTest::newRow("invalid byte, beside the replacement character")
        << QByteArrayList{"\xff.txt", "\xef\xbf\xbd.txt"}
        << QStringList{QStringLiteral("\\377.txt|file|"), QString::fromUtf8("\ufffd.txt|file|")};
    QTest::newRow("cut multi-byte letter")
        << QByteArrayList{"caf\xc3.txt"} << QStringList{QStringLiteral("caf\\303.txt|file|")};
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
        // Every name leads back to its entry's bytes.
        QCOMPARE(FolderHandle::encodeName(reader.name()), QByteArray(reader.rawName()));
        const QString item = FolderHandle::displayName(reader.name().toString());
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
    QTest::newRow("invalid name by its text, not the replacement character beside it")
        << QByteArrayList{"\xff", "\xef\xbf\xbd"} << FolderHandle::decodeName("\xff") << FolderHandle::decodeName("x\xff") << false << done
        << QByteArrayList{"x\xff=\xff", "\xef\xbf\xbd=\xef\xbf\xbd"};
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
