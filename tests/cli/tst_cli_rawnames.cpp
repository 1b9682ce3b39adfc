// Runs the built quillmere-rename over real files whose names are not valid
// UTF-8: each is listed, renamed with its bytes kept, and taken back by
// undo; and asks it about folders it cannot read.

#include "core/FolderHandle.h"

#include "RawProcess.h"
#include "TempFolder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kProgram = QByteArrayLiteral(QUILLMERE_RENAME_EXE);

// The files of every test: name and content, as bytes.
const QMap<QByteArray, QByteArray> kFiles = {
    {"bad\xff.jpg", "first file"},
    {"caf\xc3\xa9\xfe.png", "second file"},
};

bool writeRaw(const QByteArray &folder, const QByteArray &name, const QByteArray &content)
{
    const int fd = ::open((folder + '/' + name).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    return written;
}

// Every entry's name and the checksum of its content.
QMap<QByteArray, QByteArray> checksums(const QByteArray &folder)
{
    QMap<QByteArray, QByteArray> sums;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return sums;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        QByteArray content;
        const int fd = ::open((folder + '/' + name).constData(), O_RDONLY);
        char buffer[256];
        for (ssize_t got; fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0;)
            content.append(buffer, got);
        if (fd >= 0)
            ::close(fd);
        sums.insert(name, QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex());
    }
    ::closedir(dir);
    return sums;
}

QMap<QByteArray, QByteArray> checksumsOf(const QMap<QByteArray, QByteArray> &files)
{
    QMap<QByteArray, QByteArray> sums;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        sums.insert(it.key(), QCryptographicHash::hash(it.value(), QCryptographicHash::Sha256).toHex());
    return sums;
}

} // namespace

class TestCliRawNames : public QObject
{
    Q_OBJECT

private slots:
    void renamesKeepingBytes_data();
    void renamesKeepingBytes();
    void showsBytesOnTerminal();
    void folderErrorsSayWhy_data();
    void folderErrorsSayWhy();
};

void TestCliRawNames::renamesKeepingBytes_data()
{
    QTest::addColumn<QList<QByteArray>>("arguments"); // the folder and names follow
    QTest::addColumn<QByteArrayList>("named");         // no names: --all
    // The renames printed, in list order: old name, new name.
    QTest::addColumn<QByteArrayList>("renames");

    const QByteArray bad = "bad\xff.jpg";
    const QByteArray cafe = "caf\xc3\xa9\xfe.png";
    QTest::newRow("prefix") << QList<QByteArray>{"--type", "prefix", "--text", "X_"} << QByteArrayList{}
                            << QByteArrayList{bad, "X_" + bad, cafe, "X_" + cafe};
    QTest::newRow("suffix") << QList<QByteArray>{"--type", "suffix", "--text", "_s"} << QByteArrayList{}
                            << QByteArrayList{bad, "bad\xff_s.jpg", cafe, "caf\xc3\xa9\xfe_s.png"};
    QTest::newRow("new extension keeps the stem's bytes")
        << QList<QByteArray>{"--type", "ext", "--ext", "gif"} << QByteArrayList{}
        << QByteArrayList{bad, "bad\xff.gif", cafe, "caf\xc3\xa9\xfe.gif"};
    QTest::newRow("numbered, old extension") << QList<QByteArray>{"--type", "name", "--text", "N", "--no-pad"}
                                             << QByteArrayList{} << QByteArrayList{bad, "N1.jpg", cafe, "N2.png"};
    QTest::newRow("numbered, new extension")
        << QList<QByteArray>{"--type", "both", "--text", "N", "--ext", "gif", "--no-pad"} << QByteArrayList{}
        << QByteArrayList{bad, "N1.gif", cafe, "N2.gif"};
    QTest::newRow("named on the command line")
        << QList<QByteArray>{"--type", "prefix", "--text", "X_"} << QByteArrayList{cafe}
        << QByteArrayList{cafe, "X_" + cafe};
}

void TestCliRawNames::renamesKeepingBytes()
{
    QFETCH(QList<QByteArray>, arguments);
    QFETCH(QByteArrayList, named);
    QFETCH(QByteArrayList, renames);

    TempFolder folder;
    const QByteArray path = QFile::encodeName(folder.path());
    for (auto it = kFiles.cbegin(); it != kFiles.cend(); ++it)
        QVERIFY(writeRaw(path, it.key(), it.value()));
    const QMap<QByteArray, QByteArray> before = checksums(path);
    QCOMPARE(before, checksumsOf(kFiles));

    QList<QByteArray> command = arguments;
    if (named.isEmpty())
        command << "--all" << path;
    else
        command << path << named;
    const RawRun run = RunRaw(kProgram, command, RawRun::Output::Pipes);
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(run.err, QByteArray());

    QByteArray expectedOut;
    QMap<QByteArray, QByteArray> expected = before;
    for (qsizetype i = 0; i + 1 < renames.size(); i += 2) {
        expectedOut += renames.at(i) + " -> " + renames.at(i + 1) + '\n';
        expected.insert(renames.at(i + 1), expected.take(renames.at(i)));
    }
    // The names written as the folder holds them, as `ls` writes to a pipe.
    QCOMPARE(run.out, expectedOut);
    QCOMPARE(checksums(path), expected);

    // Undo finds the files under their new names and gives back the old
    // bytes.
    const RawRun undo = RunRaw(kProgram, {"--undo", path}, RawRun::Output::Pipes);
    QVERIFY2(undo.exitCode == 0, undo.err.constData());
    QCOMPARE(checksums(path), before);
}

void TestCliRawNames::showsBytesOnTerminal()
{
    TempFolder folder;
    const QByteArray path = QFile::encodeName(folder.path());
    QVERIFY(writeRaw(path, "bad\xff.jpg", "x"));
    const RawRun run = RunRaw(kProgram, {"--dry-run", "--type", "prefix", "--text", "X", "--all", "."},
                              RawRun::Output::Terminal, path);
    QCOMPARE(run.exitCode, 0);
    // As `ls` shows it on a terminal: the byte as an escape the shell reads
    // back as that byte.
    QVERIFY2(run.out.contains("'bad'$'\\377''.jpg' -> 'Xbad'$'\\377''.jpg'"), run.out.constData());
    QVERIFY(!run.out.contains("\xff"));
}

void TestCliRawNames::folderErrorsSayWhy_data()
{
    QTest::addColumn<QByteArray>("folder"); // in the test's folder
    QTest::addColumn<QByteArray>("reason");

    QTest::newRow("missing") << QByteArray("nowhere") << QByteArray(std::strerror(ENOENT));
    QTest::newRow("a plain file") << QByteArray("plain") << QByteArray(std::strerror(ENOTDIR));
    QTest::newRow("no permission") << QByteArray("closed") << QByteArray(std::strerror(EACCES));
}

void TestCliRawNames::folderErrorsSayWhy()
{
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, reason);

    if (folder == "closed" && ::geteuid() == 0)
        QSKIP("root reads a folder of mode 000");
    TempFolder root;
    const QByteArray path = QFile::encodeName(root.path());
    QVERIFY(writeRaw(path, "plain", "x"));
    QCOMPARE(::mkdir((path + "/closed").constData(), 0), 0);

    const RawRun run = RunRaw(kProgram, {"--text", "P", "--all", path + '/' + folder}, RawRun::Output::Pipes);
    ::chmod((path + "/closed").constData(), 0700);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, "quillmere-rename: " + path + '/' + folder + ": the folder cannot be read: " + reason + '\n');
}

QTEST_GUILESS_MAIN(TestCliRawNames)
#include "tst_cli_rawnames.moc"
