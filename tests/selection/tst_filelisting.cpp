#include "selection/FileListing.h"

#include "core/FolderHandle.h"

#include "TempFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

class TestFileListing : public QObject
{
    Q_OBJECT

private slots:
    void matchesPattern_data();
    void matchesPattern();
    void listsUnderFilter_data();
    void listsUnderFilter();
    void order_data();
    void order();
    void sortAgreesWithPlainComparison();
    void sortEdgeCasesAgreeWithPlainComparison_data();
    void sortEdgeCasesAgreeWithPlainComparison();
    void leavesOutHiddenAndSpecialEntries();
    void unreadableFolders_data();
    void unreadableFolders();
    void unreadableFolderByPermission();
    void emptyFolderIsReadable();
    void listsMoreThan32767Files();
};

void TestFileListing::matchesPattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");

    // "*.*" is every file, with or without a dot.
    QTest::newRow("all: plain") << "*.*" << "a.txt" << true;
    QTest::newRow("all: no dot") << "*.*" << "README" << true;
    QTest::newRow("all: two dots") << "*.*" << "archive.tar.gz" << true;
    QTest::newRow("all: trailing dot") << "*.*" << "notes." << true;
    QTest::newRow("star alone") << "*" << "README" << true;

    // "*." plus an extension: that extension only, letters in any case.
    QTest::newRow("ext: same case") << "*.jpg" << "beach.jpg" << true;
    QTest::newRow("ext: upper name") << "*.jpg" << "BEACH.JPG" << true;
    QTest::newRow("ext: upper pattern") << "*.JPG" << "beach.jpg" << true;
    QTest::newRow("ext: longer ext") << "*.jpg" << "beach.jpeg" << false;
    QTest::newRow("ext: not last") << "*.jpg" << "beach.jpg.bak" << false;
    QTest::newRow("ext: no dot") << "*.jpg" << "jpg" << false;
    QTest::newRow("ext: last of two") << "*.gz" << "archive.tar.gz" << true;
    QTest::newRow("ext: first of two") << "*.tar" << "archive.tar.gz" << false;
    QTest::newRow("ext: both") << "*.tar.gz" << "archive.tar.gz" << true;
    QTest::newRow("ext: non-ascii case") << "*.ÄÖ" << "x.äö" << true;
    QTest::newRow("ext: placeholder text") << "*.Choose or Type" << "a.jpg" << false;
    QTest::newRow("ext: semicolon is literal") << "*.jpg;*.png" << "a.jpg" << false;

    // "*." alone: files without an extension.
    QTest::newRow("none: no dot") << "*." << "README" << true;
    QTest::newRow("none: has ext") << "*." << "a.txt" << false;
    QTest::newRow("none: ends in dot") << "*." << "notes." << true;
    QTest::newRow("none: inner dot, ends in dot") << "*." << "a.b." << true;
    QTest::newRow("none: two dots") << "*." << "a.b.c" << false;
    QTest::newRow("prefix, no ext: match") << "ab*." << "ABC" << true;
    QTest::newRow("prefix, no ext: has ext") << "ab*." << "abc.d" << false;
    QTest::newRow("prefix, no ext: other prefix") << "ab*." << "b" << false;

    // "name.*" also covers the bare name.
    QTest::newRow("dotstar: bare") << "photo.*" << "photo" << true;
    QTest::newRow("dotstar: ext") << "photo.*" << "Photo.JPG" << true;
    QTest::newRow("dotstar: two exts") << "photo.*" << "photo.tar.gz" << true;
    QTest::newRow("dotstar: longer base") << "photo.*" << "photos.jpg" << false;

    // General wildcards.
    QTest::newRow("?: one char") << "?.txt" << "a.txt" << true;
    QTest::newRow("?: two chars") << "?.txt" << "ab.txt" << false;
    QTest::newRow("?: none") << "?.txt" << ".txt" << false;
    QTest::newRow("?: surrogate pair is one char") << "?.txt" << QString::fromUtf8("\xF0\x9F\x98\x80.txt") << true;
    QTest::newRow("?: mixed") << "img_??.png" << "IMG_01.PNG" << true;
    QTest::newRow("stars: in order") << "*a*b*" << "xaxbx" << true;
    QTest::newRow("stars: wrong order") << "*a*b*" << "ba" << false;
    QTest::newRow("star: backtrack") << "*ab" << "aab" << true;
    QTest::newRow("star: partial ext") << "*.j*" << "a.jpg" << true;
    QTest::newRow("star: partial ext, other") << "*.j*" << "a.png" << false;
    QTest::newRow("literal: exact") << "Beach.jpg" << "BEACH.JPG" << true;
    QTest::newRow("literal: prefix only") << "Beach" << "Beach.jpg" << false;
    QTest::newRow("empty pattern") << "" << "a" << false;
}

void TestFileListing::matchesPattern()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, expected);
    QCOMPARE(MatchesFilePattern(name, pattern), expected);
}

void TestFileListing::listsUnderFilter_data()
{
    QTest::addColumn<bool>("filterOn");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("off") << false << "txt"
                         << QStringList{"a.JPG", "archive.tar.gz", "b.jpg", "c.txt", "notes.", "README"};
    QTest::newRow("jpg") << true << "jpg" << QStringList{"a.JPG", "b.jpg"};
    QTest::newRow("gz") << true << "gz" << QStringList{"archive.tar.gz"};
    QTest::newRow("empty: no extension") << true << "" << QStringList{"notes.", "README"};
    QTest::newRow("placeholder lists nothing") << true << "Choose or Type" << QStringList{};
}

void TestFileListing::listsUnderFilter()
{
    QFETCH(bool, filterOn);
    QFETCH(QString, extension);
    QFETCH(QStringList, expected);

    TempFolder folder;
    QVERIFY(folder.writeNamed({"README", "a.JPG", "b.jpg", "c.txt", "archive.tar.gz", "notes."}));
    bool ok = false;
    QCOMPARE(ListFolderFiles(FolderHandle(folder.path()), ListPatternForFilter(filterOn, extension), &ok), expected);
    QVERIFY(ok);
}

void TestFileListing::order_data()
{
    QTest::addColumn<QStringList>("created");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("case ignored")
        << QStringList{"b.txt", "C.txt", "a.txt"} << QStringList{"a.txt", "b.txt", "C.txt"};
    // Names equal but for case keep one fixed order, whatever the disk order.
    QTest::newRow("ties, one way")
        << QStringList{"a.txt", "A.txt", "B.txt", "b.txt"} << QStringList{"A.txt", "a.txt", "B.txt", "b.txt"};
    QTest::newRow("ties, other way")
        << QStringList{"b.txt", "B.txt", "A.txt", "a.txt"} << QStringList{"A.txt", "a.txt", "B.txt", "b.txt"};
    QTest::newRow("digits and punctuation before letters")
        << QStringList{"Zed", "_under", "10", "2", "apple"} << QStringList{"10", "2", "_under", "apple", "Zed"};
    QTest::newRow("prefix first")
        << QStringList{"file.txt", "File", "file1.txt"} << QStringList{"File", "file.txt", "file1.txt"};
    QTest::newRow("non-ascii case")
        << QStringList{"Ödem", "öl", "Zebra"} << QStringList{"Zebra", "Ödem", "öl"};
    QTest::newRow("non-ascii tie")
        << QStringList{"äa", "ÄB", "Äa"} << QStringList{"Äa", "äa", "ÄB"};
    // Long names that agree in their first dozen characters.
    QTest::newRow("long shared prefix")
        << QStringList{"IMG_20230615_143522.jpg", "img_20230615_143521.JPG", "IMG_20230615_1435.jpg",
                       "img_20230615_143522.jpg"}
        << QStringList{"IMG_20230615_1435.jpg", "img_20230615_143521.JPG", "IMG_20230615_143522.jpg",
                       "img_20230615_143522.jpg"};
    QTest::newRow("twelve characters and more")
        << QStringList{"ABCDEFGHIJKLm", "abcdefghijkl", "abcdefghijk"}
        << QStringList{"abcdefghijk", "abcdefghijkl", "ABCDEFGHIJKLm"};
    QTest::newRow("non-ascii after the first dozen")
        << QStringList{"abcdefghijklö", "abcdefghijklz", "abcdefghijklÖ", "abcdefghijklo"}
        << QStringList{"abcdefghijklo", "abcdefghijklz", "abcdefghijklÖ", "abcdefghijklö"};
}

void TestFileListing::order()
{
    QFETCH(QStringList, created);
    QFETCH(QStringList, expected);

    TempFolder folder;
    QVERIFY(folder.writeNamed(created));
    QCOMPARE(ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*")), expected);
    // The same names when they all refer to one block of text.
    QString shared;
    bool ok = false;
    QCOMPARE(ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"), &ok, &shared), expected);
    QVERIFY(ok);

    QStringList names = created;
    SortFileNames(names);
    QCOMPARE(names, expected);
}

void TestFileListing::sortAgreesWithPlainComparison()
{
    // Many names from a small alphabet, so that prefixes, case-only
    // differences and non-ASCII letters meet at every position.
    const QString alphabet = QStringLiteral("aAbB_.0ÖöÄ") + QString::fromUtf8("\xF0\x90\x90\x80");
    QRandomGenerator random(20240611);
    QStringList names;
    for (int i = 0; i < 3000; ++i) {
        // Every other name starts with the same dozen letters, in any case.
        QString name;
        if (i % 2 != 0) {
            for (QChar c : QStringLiteral("abcdefghijkl"))
                name += random.bounded(2) != 0 ? c.toUpper() : c;
        }
        const int length = random.bounded(1, 8);
        for (int k = 0; k < length; ++k) {
            const int pick = random.bounded(int(alphabet.size()) - 1);
            name += pick == alphabet.size() - 2 ? alphabet.right(2) : alphabet.mid(pick, 1);
        }
        names.append(name);
    }

    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        const int folded = a.toCaseFolded().compare(b.toCaseFolded());
        return folded != 0 ? folded < 0 : a.compare(b) < 0;
    });
    SortFileNames(names);
    QCOMPARE(names, expected);
}

void TestFileListing::sortEdgeCasesAgreeWithPlainComparison_data()
{
    QTest::addColumn<QStringList>("names");

    // Letters outside ASCII whose folded form is ASCII (KELVIN SIGN, LONG S).
    QTest::newRow("folds to ASCII")
        << QStringList{"k2", QStringLiteral("\u212A1"), "K1", "k1", QStringLiteral("\u017Fa"), "sa", "Sa",
                       QStringLiteral("\u212A")};
    QTest::newRow("ASCII alike in the first sixteen")
        << QStringList{"abcdefghijklmnopB", "ABCDEFGHIJKLMNOPa", "abcdefghijklmnop", "abcdefghijklmnopa",
                       "ABCDEFGHIJKLMNOP", "abcdefghijklmnoq"};
    QTest::newRow("non-ASCII alike beyond the first five")
        << QStringList{QStringLiteral("ÄÖÜäöüÄb"), QStringLiteral("äöüÄÖÜäa"), QStringLiteral("äöüäöüä"),
                       QStringLiteral("ÄÖÜÄÖÜÄ")};
    QTest::newRow("ASCII against non-ASCII late in the name")
        << QStringList{QStringLiteral("abcdefghijklmnoä"), "abcdefghijklmnoz", QStringLiteral("ABCDEFGHIJKLMNOÄ"),
                       "abcdefghijklmnoa", QStringLiteral("abcdefghijklmnoÄx")};
    QTest::newRow("empty and single letters") << QStringList{"b", "", "B", "a", "", "A"};
    QString longName(40000, u'x');
    longName[39999] = u'A';
    QTest::newRow("a name longer than any file name")
        << QStringList{"y", longName, QString(40000, u'x'), "X", QStringLiteral("é")};
}

void TestFileListing::sortEdgeCasesAgreeWithPlainComparison()
{
    QFETCH(QStringList, names);

    QStringList expected = names;
    std::stable_sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        const int folded = a.toCaseFolded().compare(b.toCaseFolded());
        return folded != 0 ? folded < 0 : a.compare(b) < 0;
    });
    SortFileNames(names);
    QCOMPARE(names, expected);
}

void TestFileListing::leavesOutHiddenAndSpecialEntries()
{
#if !defined(Q_OS_UNIX)
    QSKIP("Links, pipes and sockets are set up with POSIX calls");
#else
    TempFolder folder;
    QVERIFY(folder.writeNamed({"plain.txt", ".hidden", ".hidden.txt"}));
    QVERIFY(folder.makeFolder(QStringLiteral("sub.txt")));
    QVERIFY(folder.makeFolder(QStringLiteral("folder")));
    QVERIFY(QFile::link(folder.filePath("plain.txt"), folder.filePath("link-to-file.txt")));
    QVERIFY(QFile::link(folder.filePath("folder"), folder.filePath("link-to-folder")));
    QVERIFY(QFile::link(folder.filePath("missing"), folder.filePath("dangling.txt")));
    QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("pipe")).constData(), 0600), 0);

    const QByteArray socketPath = QFile::encodeName(folder.filePath("sock"));
    sockaddr_un address{};
    QVERIFY(size_t(socketPath.size()) < sizeof(address.sun_path));
    address.sun_family = AF_UNIX;
    memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    const int bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address));
    ::close(fd);
    QCOMPARE(bound, 0);

    bool ok = false;
    QCOMPARE(ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"), &ok),
             (QStringList{"link-to-file.txt", "plain.txt"}));
    QVERIFY(ok);
    QCOMPARE(ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.txt")),
             (QStringList{"link-to-file.txt", "plain.txt"}));
#endif
}

void TestFileListing::unreadableFolders_data()
{
    QTest::addColumn<QString>("relative");

    QTest::newRow("missing") << "no-such-folder";
    QTest::newRow("a file") << "file.txt";
    QTest::newRow("below a file") << "file.txt/x";
}

void TestFileListing::unreadableFolders()
{
    QFETCH(QString, relative);

    TempFolder folder;
    QVERIFY(folder.write(QStringLiteral("file.txt")));
    bool ok = true;
    QCOMPARE(ListFolderFiles(FolderHandle(folder.filePath(relative)), QStringLiteral("*.*"), &ok), QStringList{});
    QVERIFY(!ok);

    ok = true;
    QCOMPARE(ListFolderFiles(FolderHandle(QString()), QStringLiteral("*.*"), &ok), QStringList{});
    QVERIFY(!ok);
}

void TestFileListing::unreadableFolderByPermission()
{
#if !defined(Q_OS_UNIX)
    QSKIP("Permissions are set up with POSIX calls");
#else
    if (::geteuid() == 0)
        QSKIP("Every folder is readable for the superuser");
    TempFolder folder;
    QVERIFY(folder.write(QStringLiteral("locked/a.txt")));
    const QByteArray locked = QFile::encodeName(folder.filePath("locked"));
    QCOMPARE(::chmod(locked.constData(), 0), 0);
    bool ok = true;
    const QStringList names = ListFolderFiles(FolderHandle(folder.filePath("locked")), QStringLiteral("*.*"), &ok);
    ::chmod(locked.constData(), 0700);
    QCOMPARE(names, QStringList{});
    QVERIFY(!ok);
#endif
}

void TestFileListing::emptyFolderIsReadable()
{
    TempFolder folder;
    bool ok = false;
    QCOMPARE(ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.*"), &ok), QStringList{});
    QVERIFY(ok);
}

void TestFileListing::listsMoreThan32767Files()
{
    TempFolder folder;
    const int count = 33000;
    for (int i = 0; i < count; ++i) {
        QFile file(folder.filePath(QStringLiteral("f%1.dat").arg(i, 5, 10, QLatin1Char('0'))));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QStringList names = ListFolderFiles(FolderHandle(folder.path()), QStringLiteral("*.dat"));
    QCOMPARE(names.size(), count);
    QCOMPARE(names.first(), QStringLiteral("f00000.dat"));
    QCOMPARE(names.last(), QStringLiteral("f32999.dat"));
}

QTEST_GUILESS_MAIN(TestFileListing)
#include "tst_filelisting.moc"
