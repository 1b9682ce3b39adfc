#include "core/ProductInfo.h"
#include "core/SettingKeys.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

const QString App = QStringLiteral("Quillmere");
const QString Section = QStringLiteral("Settings");

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

bool putContent(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// What the file is on disk: a rewrite shows in the inode (a replacing save)
// or the modification time, even when the content ends up the same.
QString identityOf(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("missing");
    return QStringLiteral("%1:%2:%3.%4").arg(st.st_ino).arg(st.st_size).arg(st.st_mtim.tv_sec).arg(st.st_mtim.tv_nsec);
#else
    const QFileInfo info(path);
    return QStringLiteral("%1:%2").arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
#endif
}

// Pushes the modification time far back, so that any rewrite, however
// quick, moves it.
void ageFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000), QFileDevice::FileModificationTime));
}

bool setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
}

QString qsettingsText(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    return value.toString();
}

QByteArray lineOf(const QByteArray &content, const QByteArray &key)
{
    for (const QByteArray &line : content.split('\n')) {
        if (line.startsWith(key + '='))
            return line;
    }
    return QByteArray("<no line>");
}

} // namespace

// QSettings keeps files it has read and trusts size and time to detect a
// change, so a rewrite of the same size in the same clock tick would be
// answered from its old reading. A copy under a name it has never seen is
// read afresh, which keeps QSettings an honest reference.
// Text1's "aaaa" becomes "bbbb" in the file itself (same inode, same
// size), which then gets the modification time given.
static bool rewriteInPlace(const QString &path, const QDateTime &time)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray content = file.readAll();
    content.replace("aaaa", "bbbb");
    // Flushed before the time is set, or the write would move it.
    return file.seek(0) && file.write(content) == content.size() && file.flush()
        && file.setFileTime(time, QFileDevice::FileModificationTime);
}

static QString uncachedCopy(const QString &path)
{
    static QTemporaryDir folder;
    static int copies = 0;
    const QString copy = folder.filePath(QStringLiteral("copy-%1.ini").arg(++copies));
    QFile::copy(path, copy);
    return copy;
}

static QString uncachedQSettingsValue(const QString &path, const QString &key)
{
    return QSettings(uncachedCopy(path), QSettings::IniFormat).value(key, QStringLiteral("<none>")).toString();
}

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void defaultsWhenNothingStored();
    void roundTrip_data();
    void roundTrip();
    void addressesAreSeparate();
    void writeIsOnDiskBeforeReturn();
    void unwritableStoreReportsFailure_data();
    void unwritableStoreReportsFailure();
    void storeBlockedByFolderReportsFailure();
    void malformedAddressNeverWrites();
    void optionsUseProductNameAndSection();

    void unchangedWriteLeavesFileUntouched_data();
    void unchangedWriteLeavesFileUntouched();
    void writesTheLinesQSettingsWrites_data();
    void writesTheLinesQSettingsWrites();
    void readsWhatQSettingsWrote_data();
    void readsWhatQSettingsWrote();
    void handEditedFilesReadAndWrittenLikeQSettings_data();
    void handEditedFilesReadAndWrittenLikeQSettings();
    void randomValueTextReadLikeQSettings();
    void changeByAnotherWriterIsKept_data();
    void changeByAnotherWriterIsKept();
    void permissionsOfTheFileAreKept();
    void fileOfAnEarlierVersionReadsTheSame_data();
    void fileOfAnEarlierVersionReadsTheSame();

private:
    std::unique_ptr<QTemporaryDir> m_root;
};

void TestSettingsStore::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    SetSettingsFolderForTesting(m_root->path());
}

void TestSettingsStore::cleanup()
{
    SetSettingsFolderForTesting(QString());
    SetVersionRecordForTesting(std::nullopt);
    m_root.reset();
}

void TestSettingsStore::defaultsWhenNothingStored()
{
    for (const SettingKeys::Entry &entry : SettingKeys::All) {
        QCOMPARE(ReadOption(entry.key), QString(entry.defaultValue));
        QCOMPARE(ReadSetting(QStringLiteral("Quillmere"), SettingKeys::Section, entry.key,
                             QStringLiteral("fallback")),
                 QStringLiteral("fallback"));
    }
    QCOMPARE(ReadOption(QStringLiteral("Text2")), QStringLiteral("1"));
    QCOMPARE(ReadOption(QStringLiteral("Check4")), QStringLiteral("1"));
    QCOMPARE(ReadOption(QStringLiteral("showHelp")), QStringLiteral("1"));
}

void TestSettingsStore::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain") << QStringLiteral("Photo");
    QTest::newRow("comma") << QStringLiteral("a,b, c");
    QTest::newRow("quotes") << QStringLiteral("say \"hi\" 'there'");
    QTest::newRow("leading and trailing blanks") << QStringLiteral("  7  ");
    QTest::newRow("one blank") << QStringLiteral(" ");
    QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
    QTest::newRow("double at") << QStringLiteral("@@");
    QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree\r");
    QTest::newRow("tab and backslash") << QStringLiteral("a\tb\\c\\\\d");
    QTest::newRow("semicolon and equals") << QStringLiteral("k=v; x=#y");
    QTest::newRow("non-ascii") << QStringLiteral("Grüße – 写真 – 🙂");
    QTest::newRow("looks like bool") << QStringLiteral("true");
    QTest::newRow("looks like list") << QStringLiteral("\"a\", \"b\"");
    QTest::newRow("brackets") << QStringLiteral("[Settings]");
    QTest::newRow("path") << QStringLiteral("/home/user/My Pictures");
}

void TestSettingsStore::roundTrip()
{
    QFETCH(QString, value);
    QVERIFY(WriteSetting(QStringLiteral("Quillmere"), QStringLiteral("Settings"), QStringLiteral("Text1"), value));
    QCOMPARE(ReadSetting(QStringLiteral("Quillmere"), QStringLiteral("Settings"), QStringLiteral("Text1"),
                         QStringLiteral("<none>")),
             value);
    // An independent reader of the file (as after a restart) sees it too.
    QSettings fresh(uncachedCopy(SettingsFilePath(QStringLiteral("Quillmere"))), QSettings::IniFormat);
    QCOMPARE(fresh.value(QStringLiteral("Settings/Text1")).toString(), value);
}

void TestSettingsStore::addressesAreSeparate()
{
    QVERIFY(WriteSetting(QStringLiteral("AppA"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("a")));
    QVERIFY(WriteSetting(QStringLiteral("AppB"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("b")));
    QVERIFY(WriteSetting(QStringLiteral("AppA"), QStringLiteral("Other"), QStringLiteral("Key"), QStringLiteral("c")));
    QVERIFY(WriteSetting(QStringLiteral("AppA"), QStringLiteral("Settings"), QStringLiteral("key"), QStringLiteral("d")));
    QCOMPARE(ReadSetting(QStringLiteral("AppA"), QStringLiteral("Settings"), QStringLiteral("Key"), {}), QStringLiteral("a"));
    QCOMPARE(ReadSetting(QStringLiteral("AppB"), QStringLiteral("Settings"), QStringLiteral("Key"), {}), QStringLiteral("b"));
    QCOMPARE(ReadSetting(QStringLiteral("AppA"), QStringLiteral("Other"), QStringLiteral("Key"), {}), QStringLiteral("c"));
    QCOMPARE(ReadSetting(QStringLiteral("AppA"), QStringLiteral("Settings"), QStringLiteral("key"), {}), QStringLiteral("d"));
    // A later write replaces the earlier value.
    QVERIFY(WriteSetting(QStringLiteral("AppA"), QStringLiteral("Settings"), QStringLiteral("Key"), QStringLiteral("e")));
    QCOMPARE(ReadSetting(QStringLiteral("AppA"), QStringLiteral("Settings"), QStringLiteral("Key"), {}), QStringLiteral("e"));
}

void TestSettingsStore::writeIsOnDiskBeforeReturn()
{
    QVERIFY(WriteOption(QStringLiteral("Combo2"), QStringLiteral("jpeg-unique-marker")));
    QFile file(SettingsFilePath(QStringLiteral("Quillmere")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray raw = file.readAll();
    QVERIFY2(raw.contains("jpeg-unique-marker"), raw.constData());
    QVERIFY(raw.contains("[Settings]"));
}

void TestSettingsStore::unwritableStoreReportsFailure_data()
{
    QTest::addColumn<bool>("fileWritable");
    QTest::newRow("file and folder read-only") << false;
    // The file could be written in place, but the store replaces it and
    // cannot make a new file beside it.
    QTest::newRow("folder read-only") << true;
}

void TestSettingsStore::unwritableStoreReportsFailure()
{
    QFETCH(bool, fileWritable);
    QVERIFY(WriteOption(QStringLiteral("Text1"), QStringLiteral("kept")));
    const QString path = SettingsFilePath(QStringLiteral("Quillmere"));
    const QString folder = QFileInfo(path).absolutePath();
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | (fileWritable ? QFileDevice::WriteOwner
                                                                              : QFileDevice::Permissions())));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (QFileInfo(folder).isWritable()) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QSKIP("running with privileges that ignore file permissions");
    }
    QVERIFY(!WriteOption(QStringLiteral("Text1"), QStringLiteral("lost")));
    QCOMPARE(ReadOption(QStringLiteral("Text1")), QStringLiteral("kept"));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    // The value that could not be written does not come back with the next
    // write that can.
    QVERIFY(WriteOption(QStringLiteral("Text2"), QStringLiteral("5")));
    QCOMPARE(ReadOption(QStringLiteral("Text1")), QStringLiteral("kept"));
    QCOMPARE(uncachedQSettingsValue(path, QStringLiteral("Settings/Text1")), QStringLiteral("kept"));
}

void TestSettingsStore::storeBlockedByFolderReportsFailure()
{
    // Works even with privileges that ignore permissions: a folder stands
    // where the store's file should be, so nothing can be written.
    const QString path = SettingsFilePath(QStringLiteral("Quillmere"));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(!WriteOption(QStringLiteral("Text1"), QStringLiteral("lost")));
    QCOMPARE(ReadOption(QStringLiteral("Text1")), QString());

    // Once the way is clear, the failed value does not come back with the
    // next write.
    QVERIFY(QDir(path).removeRecursively());
    QVERIFY(WriteOption(QStringLiteral("Text2"), QStringLiteral("5")));
    QCOMPARE(ReadOption(QStringLiteral("Text1")), QString());
    QVERIFY2(!contentOf(path).contains("lost"), contentOf(path).constData());
    QCOMPARE(uncachedQSettingsValue(path, QStringLiteral("Settings/Text2")), QStringLiteral("5"));
}

void TestSettingsStore::malformedAddressNeverWrites()
{
    QVERIFY(!WriteSetting(QStringLiteral("Quillmere"), QStringLiteral("Settings"), QString(), QStringLiteral("x")));
    QVERIFY(!WriteSetting(QStringLiteral("Quillmere"), QStringLiteral("Settings"), QStringLiteral("a/b"), QStringLiteral("x")));
    QCOMPARE(ReadSetting(QStringLiteral("Quillmere"), QStringLiteral("Settings"), QStringLiteral("a/b"), QStringLiteral("d")),
             QStringLiteral("d"));
    // An application name that is not a plain file name stays inside the store's folder.
    QVERIFY(WriteSetting(QStringLiteral("../escape"), QStringLiteral("Settings"), QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(SettingsFilePath(QStringLiteral("../escape")).startsWith(m_root->path() + QLatin1Char('/')));
    QVERIFY(!QFileInfo(SettingsFilePath(QStringLiteral("../escape"))).absoluteFilePath().contains(QLatin1String("/../")));
    QCOMPARE(ReadSetting(QStringLiteral("../escape"), QStringLiteral("Settings"), QStringLiteral("k"), {}), QStringLiteral("v"));
}

void TestSettingsStore::optionsUseProductNameAndSection()
{
    VersionRecord record = ReadVersionRecord();
    record.productName = QStringLiteral("Renamed Product");
    SetVersionRecordForTesting(record);
    QVERIFY(WriteOption(QStringLiteral("Text1"), QStringLiteral("x")));
    QCOMPARE(ReadSetting(QStringLiteral("Renamed Product"), QStringLiteral("Settings"), QStringLiteral("Text1"), {}),
             QStringLiteral("x"));
    QCOMPARE(ReadSetting(QStringLiteral("Quillmere"), QStringLiteral("Settings"), QStringLiteral("Text1"), QStringLiteral("none")),
             QStringLiteral("none"));
}

void TestSettingsStore::unchangedWriteLeavesFileUntouched_data()
{
    QTest::addColumn<bool>("writtenByQSettings");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("check box at every start") << false << QStringLiteral("Check4") << QStringLiteral("1");
    QTest::newRow("empty text") << false << QStringLiteral("Text1") << QString();
    QTest::newRow("blanks and comma") << false << QStringLiteral("Text1") << QStringLiteral(" a, b ");
    QTest::newRow("at sign and escapes") << false << QStringLiteral("Text1") << QStringLiteral("@x\n\t\"\x01" "1");
    QTest::newRow("non-ascii") << false << QStringLiteral("Dir") << QStringLiteral("/home/zoë/写真 🙂");
    QTest::newRow("file from QSettings") << true << QStringLiteral("Check4") << QStringLiteral("1");
    QTest::newRow("file from QSettings, awkward") << true << QStringLiteral("Text1") << QStringLiteral("\"q\"; r = s ");
}

void TestSettingsStore::unchangedWriteLeavesFileUntouched()
{
    QFETCH(bool, writtenByQSettings);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QString path = SettingsFilePath(App);
    if (writtenByQSettings) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(Section + QLatin1Char('/') + key, value);
        settings.setValue(QStringLiteral("Other/Key"), QStringLiteral("kept"));
    } else {
        QVERIFY(WriteSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("5")));
        QVERIFY(WriteSetting(App, Section, key, value));
    }
    ageFile(path);
    const QString identity = identityOf(path);
    const QByteArray content = contentOf(path);

    QVERIFY(WriteSetting(App, Section, key, value));
    QVERIFY(WriteSetting(App, Section, key, value));
    QCOMPARE(identityOf(path), identity);
    QCOMPARE(contentOf(path), content);
    QVERIFY(!QFileInfo::exists(path + QLatin1String(".lock")));
    QCOMPARE(ReadSetting(App, Section, key, QStringLiteral("<none>")), value);

    // A different value is written, and only then.
    QVERIFY(WriteSetting(App, Section, key, value + QLatin1Char('!')));
    QVERIFY(identityOf(path) != identity);
    QCOMPARE(ReadSetting(App, Section, key, QStringLiteral("<none>")), value + QLatin1Char('!'));
}

void TestSettingsStore::writesTheLinesQSettingsWrites_data()
{
    roundTrip_data();
    QTest::newRow("control then digit") << QStringLiteral("\x01" "1a");
    QTest::newRow("nul then digits") << QString(QChar(0)) + QStringLiteral("77");
    QTest::newRow("escape lookalike") << QStringLiteral("a\\x41\\101");
    QTest::newRow("only quotes") << QStringLiteral("\"\"");
    QTest::newRow("trailing tab") << QStringLiteral("x\t");
    QTest::newRow("leading tab") << QStringLiteral("\tx");
    QTest::newRow("lone at") << QStringLiteral("@");
    QTest::newRow("three at") << QStringLiteral("@@@");
    QTest::newRow("delete character") << QStringLiteral("a\x7f" "b");
    QTest::newRow("no-break space") << QStringLiteral("\u00a0x\u00a0");
    QTest::newRow("lone comma") << QStringLiteral(",");
    QTest::newRow("trailing backslash") << QStringLiteral("dir\\");
    QTest::newRow("all escapes") << QStringLiteral("\a\b\f\v\x1b[0m");
}

void TestSettingsStore::writesTheLinesQSettingsWrites()
{
    QFETCH(QString, value);
    const QString path = SettingsFilePath(App);
    const QString reference = m_root->filePath(QStringLiteral("reference.ini"));
    // Write over an earlier, different value and next to other keys, so the
    // edit in place is what is tested.
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Check4"), QStringLiteral("1")));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text1"), QStringLiteral("earlier value")));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("9")));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text1"), value));
    {
        QSettings settings(reference, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/Text1"), value);
    }
    const QByteArray ours = contentOf(path);
    QCOMPARE(lineOf(ours, "Text1"), lineOf(contentOf(reference), "Text1"));
    QSettings fresh(uncachedCopy(path), QSettings::IniFormat);
    QCOMPARE(fresh.value(QStringLiteral("Settings/Text1")).toString(), value);
    QCOMPARE(fresh.value(QStringLiteral("Settings/Text2")).toString(), QStringLiteral("9"));
    QCOMPARE(fresh.value(QStringLiteral("Settings/Check4")).toString(), QStringLiteral("1"));
    QCOMPARE(fresh.status(), QSettings::NoError);

    // The line after the edited one moved; the next edit must still land right.
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("10")));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Check4"), QStringLiteral("0")));
    QSettings after(path, QSettings::IniFormat);
    QCOMPARE(after.value(QStringLiteral("Settings/Text1")).toString(), value);
    QCOMPARE(after.value(QStringLiteral("Settings/Text2")).toString(), QStringLiteral("10"));
    QCOMPARE(after.value(QStringLiteral("Settings/Check4")).toString(), QStringLiteral("0"));
}

void TestSettingsStore::readsWhatQSettingsWrote_data()
{
    writesTheLinesQSettingsWrites_data();
}

void TestSettingsStore::readsWhatQSettingsWrote()
{
    QFETCH(QString, value);
    const QString path = SettingsFilePath(App);
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("A/Text1"), QStringLiteral("other section"));
        settings.setValue(QStringLiteral("Settings/Text1"), value);
        settings.setValue(QStringLiteral("Settings/Text2"), value + value);
    }
    QCOMPARE(ReadSetting(App, Section, QStringLiteral("Text1"), QStringLiteral("<none>")), value);
    QCOMPARE(ReadSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("<none>")), value + value);
    QCOMPARE(ReadSetting(App, QStringLiteral("A"), QStringLiteral("Text1"), {}), QStringLiteral("other section"));
    QCOMPARE(ReadSetting(App, Section, QStringLiteral("Text3"), QStringLiteral("<none>")), QStringLiteral("<none>"));
}

void TestSettingsStore::handEditedFilesReadAndWrittenLikeQSettings_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("blanks around") << QByteArray("  [S]  \n  k  =  v v  \nz=after");
    QTest::newRow("comment lines") << QByteArray("; head\n[S]\n; k=no\nk=v\n");
    QTest::newRow("comment after value") << QByteArray("[S]\nk=v ; c\nz=w\n");
    QTest::newRow("windows line ends") << QByteArray("[S]\r\nk=v\r\nz=w\r\n");
    QTest::newRow("quotes over two lines") << QByteArray("[S]\nk=\"a\nb\"\nz=w\n");
    QTest::newRow("quote left open") << QByteArray("[S]\nk=a\"b\nz=after\n");
    QTest::newRow("continued line") << QByteArray("[S]\nk=a \\\nz=after\n");
    QTest::newRow("repeated key") << QByteArray("[S]\nk=1\nk=2\nz=w\n");
    QTest::newRow("repeated section") << QByteArray("[S]\nk=1\n[T]\nk=t\n[S]\nk=2\nz=w\n");
    QTest::newRow("byte array") << QByteArray("[S]\nk=@ByteArray(xy)\nz=w\n");
    QTest::newRow("invalid") << QByteArray("[S]\nk=@Invalid()\nz=w\n");
    QTest::newRow("variant") << QByteArray("[S]\nk=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nz=w\n");
    QTest::newRow("list") << QByteArray("[S]\nk=a, b ,c\nz=\" x \" , \"y\"\n");
    QTest::newRow("list with empty items") << QByteArray("[S]\nk=,\nz=a,,b,\n");
    QTest::newRow("numeric escapes") << QByteArray("[S]\nk=\\x41\\x4a\\101\\x\\q\nz=\\x263a\\0\n");
    QTest::newRow("escaped blanks kept") << QByteArray("[S]\nk=\\x20a\\x20 \nz=\\ta\\t\n");
    QTest::newRow("quoted parts") << QByteArray("[S]\nk=a\"b\\\"c\"d\nz= \"  q  \" \n");
    QTest::newRow("equals in value") << QByteArray("[S]\nk==x\nz=a=b\n");
    QTest::newRow("line without equals") << QByteArray("[S]\nnoequals\nk=1\n");
    QTest::newRow("general keys") << QByteArray("k=top\n[General]\nz=g\n[S]\nk=1\n");
    QTest::newRow("escaped key") << QByteArray("[S]\n%6B=1\nz=w\n");
    QTest::newRow("key with space") << QByteArray("[S]\nmy key=1\nk=2\n");
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nk=1\n");
    QTest::newRow("utf-8") << QByteArray("[S]\nk=Grüße 🙂\nz=\"é, è\"\n");
    QTest::newRow("no line end") << QByteArray("[S]\nz=w\nk=v");
    QTest::newRow("section without key") << QByteArray("[S]\n[T]\nk=t\n");
    QTest::newRow("empty file") << QByteArray();
}

void TestSettingsStore::handEditedFilesReadAndWrittenLikeQSettings()
{
    QFETCH(QByteArray, content);
    const QString path = SettingsFilePath(App);
    QVERIFY(putContent(path, content));

    QStringList keys;
    QHash<QString, QString> before;
    {
        QSettings settings(path, QSettings::IniFormat);
        keys = settings.allKeys();
        for (const QString &key : std::as_const(keys)) {
            const QVariant value = settings.value(key);
            if (value.isValid())
                before.insert(key, qsettingsText(value));
        }
    }
    keys << QStringLiteral("S/k") << QStringLiteral("S/missing") << QStringLiteral("T/k");
    for (const QString &key : std::as_const(keys)) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;
        QCOMPARE(ReadSetting(App, key.left(slash), key.mid(slash + 1), QStringLiteral("<none>")),
                 before.value(key, QStringLiteral("<none>")));
    }

    // Writing one key changes that key and nothing else QSettings reads.
    for (const QString &newValue : {QStringLiteral("new, \"value\""), QStringLiteral("x")}) {
        QVERIFY(WriteSetting(App, QStringLiteral("S"), QStringLiteral("k"), newValue));
        before.insert(QStringLiteral("S/k"), newValue);
        QSettings settings(uncachedCopy(path), QSettings::IniFormat);
        QCOMPARE(settings.status(), QSettings::NoError);
        QHash<QString, QString> after;
        for (const QString &key : settings.allKeys()) {
            const QVariant value = settings.value(key);
            if (value.isValid())
                after.insert(key, qsettingsText(value));
        }
        QCOMPARE(after, before);
        QCOMPARE(ReadSetting(App, QStringLiteral("S"), QStringLiteral("k"), {}), newValue);
    }
}

void TestSettingsStore::randomValueTextReadLikeQSettings()
{
    // Value text as a person might type it into the file: every character
    // that means something to the format, in random order.
    static const char alphabet[] = {'a', 'b', ' ', ' ', '\t', '"', '"', '\\', '\\', ',', ',', 'x', '1',
                                    'F', '7', '0', 'n', '@', '=', '?', '\''};
    QRandomGenerator random(20261208);
    const QString path = SettingsFilePath(App);
    for (int round = 0; round < 300; ++round) {
        QByteArray content("[S]\n");
        for (int k = 0; k < 5; ++k) {
            QByteArray raw;
            const int length = random.bounded(9);
            for (int i = 0; i < length; ++i)
                raw += alphabet[random.bounded(int(sizeof alphabet))];
            content += "k" + QByteArray::number(k) + '=' + raw + '\n';
        }
        QVERIFY(putContent(path, content));
        // A time of its own for each round: QSettings, which reads the file
        // for the store, knows a changed file by its size and time only.
        QVERIFY(setModified(path, QDateTime::fromSecsSinceEpoch(1000000000 + round)));
        QSettings settings(uncachedCopy(path), QSettings::IniFormat);
        for (int k = 0; k < 5; ++k) {
            const QString key = QStringLiteral("k%1").arg(k);
            const QVariant expected = settings.value(QStringLiteral("S/") + key);
            const QString want = expected.isValid() ? qsettingsText(expected) : QStringLiteral("<none>");
            const QString got = ReadSetting(App, QStringLiteral("S"), key, QStringLiteral("<none>"));
            QVERIFY2(got == want, qPrintable(QStringLiteral("%1 -> ours [%2], QSettings [%3]")
                                                 .arg(QString::fromUtf8(content), got, want)));
        }
    }
}

void TestSettingsStore::changeByAnotherWriterIsKept_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("key added by QSettings") << QStringLiteral("qsettings");
    QTest::newRow("same size, replaced") << QStringLiteral("replace");
    QTest::newRow("edited in place") << QStringLiteral("append");
    QTest::newRow("same size, in place, older time") << QStringLiteral("inplace");
    QTest::newRow("deleted") << QStringLiteral("delete");
}

void TestSettingsStore::changeByAnotherWriterIsKept()
{
    QFETCH(QString, change);
    const QString path = SettingsFilePath(App);
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text1"), QStringLiteral("aaaa")));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("1")));
    QCOMPARE(ReadSetting(App, Section, QStringLiteral("Text1"), {}), QStringLiteral("aaaa"));

    QString otherKey = QStringLiteral("Text1");
    QString otherValue = QStringLiteral("bbbb");
    if (change == QLatin1String("qsettings")) {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/Combo1"), QStringLiteral("jpg"));
        otherKey = QStringLiteral("Combo1");
        otherValue = QStringLiteral("jpg");
    } else if (change == QLatin1String("replace")) {
        QByteArray content = contentOf(path);
        content.replace("aaaa", "bbbb");
        QVERIFY(putContent(path, content));
        // Same size and, on a fast file system, the same clock tick as the
        // store's own write; only a different time shows QSettings the change.
        ageFile(path);
    } else if (change == QLatin1String("append")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("\n[Settings2]\nText1=bbbb\n");
        file.close();
        QVERIFY(WriteSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("2")));
        QCOMPARE(ReadSetting(App, QStringLiteral("Settings2"), QStringLiteral("Text1"), {}), otherValue);
        QCOMPARE(uncachedQSettingsValue(path, QStringLiteral("Settings2/Text1")), otherValue);
        return;
    } else if (change == QLatin1String("inplace")) {
        // Same size, same inode; only the modification time shows the change.
        QVERIFY(rewriteInPlace(path, QDateTime::fromSecsSinceEpoch(1000000000)));
    } else {
        QVERIFY(QFile::remove(path));
        otherValue = QStringLiteral("<none>");
    }

    QCOMPARE(ReadSetting(App, Section, otherKey, QStringLiteral("<none>")), otherValue);
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text2"), QStringLiteral("2")));
    QCOMPARE(ReadSetting(App, Section, otherKey, QStringLiteral("<none>")), otherValue);
    QCOMPARE(uncachedQSettingsValue(path, Section + QLatin1Char('/') + otherKey), otherValue);
    QCOMPARE(uncachedQSettingsValue(path, QStringLiteral("Settings/Text2")), QStringLiteral("2"));
}

void TestSettingsStore::permissionsOfTheFileAreKept()
{
    const QString path = SettingsFilePath(App);
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text1"), QStringLiteral("a")));
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QVERIFY(QFile::setPermissions(path, ownerOnly));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text1"), QStringLiteral("b")));
    QVERIFY(WriteSetting(App, Section, QStringLiteral("Text3"), QStringLiteral("new key")));
    QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser), ownerOnly);
}

void TestSettingsStore::fileOfAnEarlierVersionReadsTheSame_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    // What the file in data/ was written with, by the version of the store
    // that parsed and wrote the format itself.
    QTest::newRow("Drive") << Section << QStringLiteral("Drive") << QStringLiteral("/media/zoë/Fotos 2024");
    QTest::newRow("Dir") << Section << QStringLiteral("Dir") << QStringLiteral("/home/user/My Pictures/写真 🙂");
    QTest::newRow("Text1") << Section << QStringLiteral("Text1") << QStringLiteral("  Holiday, \"best\"; part=1  ");
    QTest::newRow("Text2, written twice") << Section << QStringLiteral("Text2") << QStringLiteral("12");
    QTest::newRow("Check1") << Section << QStringLiteral("Check1") << QStringLiteral("1");
    QTest::newRow("Check2") << Section << QStringLiteral("Check2") << QStringLiteral("0");
    QTest::newRow("Check3") << Section << QStringLiteral("Check3") << QStringLiteral("1");
    QTest::newRow("Check4") << Section << QStringLiteral("Check4") << QStringLiteral("0");
    QTest::newRow("Combo1, at sign") << Section << QStringLiteral("Combo1") << QStringLiteral("@jpg");
    QTest::newRow("Combo2, escapes") << Section << QStringLiteral("Combo2")
                                     << QStringLiteral("line one\nline two\r\n\ttab\\back");
    QTest::newRow("Combo3, nul and controls") << Section << QStringLiteral("Combo3")
                                              << QStringLiteral("nul") + QChar(0) + QStringLiteral("77 \x01" "1 end");
    QTest::newRow("showHelp") << Section << QStringLiteral("showHelp") << QStringLiteral("0");
    QTest::newRow("other section") << QStringLiteral("Other") << QStringLiteral("Key")
                                   << QStringLiteral("kept, as a list?");
}

void TestSettingsStore::fileOfAnEarlierVersionReadsTheSame()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QString path = SettingsFilePath(App);
    const QByteArray earlier = contentOf(QStringLiteral(QUILLMERE_TEST_DATA "/settings-written-earlier.conf"));
    QVERIFY(earlier.startsWith("[Settings]"));
    QVERIFY(putContent(path, earlier));
    ageFile(path);
    const QString identity = identityOf(path);

    QCOMPARE(ReadSetting(App, section, key, QStringLiteral("<none>")), value);
    // Storing what it holds leaves the file as it was.
    QVERIFY(WriteSetting(App, section, key, value));
    QCOMPARE(identityOf(path), identity);

    // A change of this key leaves every other one reading the same.
    QVERIFY(WriteSetting(App, section, key, value + QLatin1String(" changed")));
    QSettings before(uncachedCopy(QStringLiteral(QUILLMERE_TEST_DATA "/settings-written-earlier.conf")),
                     QSettings::IniFormat);
    QSettings after(uncachedCopy(path), QSettings::IniFormat);
    QCOMPARE(after.allKeys(), before.allKeys());
    for (const QString &name : before.allKeys()) {
        const QString expected = name == section + QLatin1Char('/') + key ? value + QLatin1String(" changed")
                                                                         : before.value(name).toString();
        QCOMPARE(after.value(name).toString(), expected);
    }
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
