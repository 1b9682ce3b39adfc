#include "core/ProductInfo.h"
#include "core/SettingKeys.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

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
    void unwritableStoreReportsFailure();
    void storeBlockedByFolderReportsFailure();
    void malformedAddressNeverWrites();
    void optionsUseProductNameAndSection();

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
    QSettings fresh(SettingsFilePath(QStringLiteral("Quillmere")), QSettings::IniFormat);
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

void TestSettingsStore::unwritableStoreReportsFailure()
{
    QVERIFY(WriteOption(QStringLiteral("Text1"), QStringLiteral("kept")));
    const QString path = SettingsFilePath(QStringLiteral("Quillmere"));
    const QString folder = QFileInfo(path).absolutePath();
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (QFileInfo(path).isWritable()) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QSKIP("running with privileges that ignore file permissions");
    }
    QVERIFY(!WriteOption(QStringLiteral("Text1"), QStringLiteral("lost")));
    QCOMPARE(ReadOption(QStringLiteral("Text1")), QStringLiteral("kept"));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestSettingsStore::storeBlockedByFolderReportsFailure()
{
    // Works even with privileges that ignore permissions: a folder stands
    // where the store's file should be, so nothing can be written.
    const QString path = SettingsFilePath(QStringLiteral("Quillmere"));
    QVERIFY(QDir().mkpath(path));
    QVERIFY(!WriteOption(QStringLiteral("Text1"), QStringLiteral("lost")));
    QCOMPARE(ReadOption(QStringLiteral("Text1")), QString());
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

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
