#include "rename/FileExists.h"

#include "TempFolder.h"

#include <QFile>
#include <QTest>

#include <sys/stat.h>

class FileExistsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void namePart_data();
    void namePart();
    void probe_data();
    void probe();

private:
    TempFolder m_folder;
};

void FileExistsTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(m_folder.write(QStringLiteral("beach.jpg"), "sand"));
    QVERIFY(m_folder.write(QStringLiteral(".hidden"), "h"));
    QVERIFY(m_folder.write(QStringLiteral("back\\slash.txt"), "b"));
    QVERIFY(m_folder.write(QString::fromUtf8("\u00e9t\u00e9.txt"), "summer"));
    QVERIFY(m_folder.write(QString::fromUtf8("stra\u00dfe.txt"), "street"));
    QVERIFY(m_folder.write(QStringLiteral("sub/inner.txt"), "i"));
    QVERIFY(m_folder.makeFolder(QStringLiteral("Folder.JPG")));
    QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("beach.jpg")), m_folder.filePath(QStringLiteral("link.jpg"))));
    QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("gone.jpg")), m_folder.filePath(QStringLiteral("dangling.jpg"))));
    QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("sub")), m_folder.filePath(QStringLiteral("dirlink"))));
    QCOMPARE(::mkfifo(QFile::encodeName(m_folder.filePath(QStringLiteral("pipe.jpg"))).constData(), 0600), 0);
}

void FileExistsTest::namePart_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("empty") << "" << "";
    QTest::newRow("bare name") << "beach.jpg" << "beach.jpg";
    QTest::newRow("full path") << "/home/user/beach.jpg" << "beach.jpg";
    QTest::newRow("trailing separator") << "/home/user/" << "";
    QTest::newRow("backslash is ordinary") << "/home/a\\b.jpg" << "a\\b.jpg";
    QTest::newRow("double separator") << "/home//b.jpg" << "b.jpg";
}

void FileExistsTest::namePart()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(FileNamePart(path), name);
}

void FileExistsTest::probe_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("exists");

    QTest::newRow("exact name") << "beach.jpg" << true;
    QTest::newRow("upper case") << "BEACH.JPG" << true;
    QTest::newRow("mixed case") << "Beach.Jpg" << true;
    QTest::newRow("missing") << "missing.jpg" << false;
    QTest::newRow("hidden") << ".hidden" << false;
    QTest::newRow("hidden, other case") << ".HIDDEN" << false;
    QTest::newRow("folder") << "sub" << false;
    QTest::newRow("folder, other case") << "folder.jpg" << false;
    QTest::newRow("file in sub-folder") << "sub/inner.txt" << true;
    QTest::newRow("file in sub-folder, other case") << "sub/INNER.TXT" << true;
    QTest::newRow("named pipe") << "pipe.jpg" << false;
    QTest::newRow("named pipe, other case") << "PIPE.JPG" << false;
    QTest::newRow("link to a file") << "link.jpg" << true;
    QTest::newRow("link to a file, other case") << "LINK.JPG" << true;
    QTest::newRow("dangling link") << "dangling.jpg" << false;
    QTest::newRow("link to a folder") << "dirlink" << false;
    QTest::newRow("star pattern") << "*.jpg" << false;
    QTest::newRow("question pattern") << "beac?.jpg" << false;
    QTest::newRow("backslash in name") << "back\\slash.txt" << true;
    QTest::newRow("backslash in name, other case") << "BACK\\SLASH.TXT" << true;
    QTest::newRow("accented, other case") << QString::fromUtf8("\u00c9T\u00c9.TXT") << true;
    QTest::newRow("accented, partly other case") << QString::fromUtf8("\u00e9T\u00c9.txt") << true;
    QTest::newRow("accent differs") << "ete.txt" << false;
    QTest::newRow("sharp s in capitals") << "STRASSE.TXT" << true;
    QTest::newRow("sharp s, longer than ASCII match") << "strasse.txt" << true;
    QTest::newRow("folder that does not exist") << "nowhere/beach.jpg" << false;
    QTest::newRow("path through a file") << "beach.jpg/beach.jpg" << false;
    QTest::newRow("trailing separator") << "sub/" << false;
    QTest::newRow("NUL in name") << QStringLiteral("beach.jpg") + QChar(0) << false;
}

void FileExistsTest::probe()
{
    QFETCH(QString, relative);
    QFETCH(bool, exists);
    QCOMPARE(FileExists(m_folder.filePath(relative)), exists);
}

QTEST_APPLESS_MAIN(FileExistsTest)
#include "tst_fileexists.moc"
