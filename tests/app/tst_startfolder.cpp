// The window program's command line: what it accepts, and the folder or
// files it opens after the main window's load step.

#include "app/Form1.h"
#include "app/StartArguments.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"
#include "selection/DirListBox.h"
#include "selection/DriveListBox.h"
#include "selection/FileListBox.h"
#include "selection/FileListModel.h"
#include "selection/FileSelectionPanel.h"
#include "selection/FolderListModel.h"

#include "TempFolder.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

#include <memory>

#include <unistd.h>

namespace {

using Action = StartArguments::Action;

// Every stored option, so a test can see that nothing changed at all.
QMap<QString, QString> storedOptions()
{
    QSettings settings(SettingsFilePath(LoadProductInfo().productName), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Settings"));
    QMap<QString, QString> values;
    const QStringList keys = settings.childKeys();
    for (const QString &key : keys)
        values.insert(key, settings.value(key).toString());
    return values;
}

QStringList selectedNames(const FileListBox *list)
{
    QStringList names;
    const FileListModel *model = list->fileModel();
    for (int row = 0; row < model->count(); ++row) {
        if (model->isSelected(row))
            names.append(model->fileName(row));
    }
    return names;
}

QStringList inFolder(const QString &folder, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names)
        paths.append(name.isEmpty() ? folder : folder + u'/' + name);
    return paths;
}

} // namespace

class TestStartFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void parse_data();
    void parse();
    void resolve_data();
    void resolve();
    void opensAsIfPicked_data();
    void opensAsIfPicked();
    void unusablePathChangesNothing_data();
    void unusablePathChangesNothing();
    void sameMessageAsAFolderOpenedByHand();

private:
    // A main window over m_tree with a second drive "usb", loaded; options
    // stored beforehand come back first.
    void loadWindow();

    std::unique_ptr<TempFolder> m_tree;
    std::unique_ptr<TempFolder> m_settings;
    std::unique_ptr<Form1> m_form;
    QStringList m_messages;
    QStringList m_writes;
};

void TestStartFolder::initTestCase()
{
    LoadProductInfo();
}

void TestStartFolder::init()
{
    m_tree = std::make_unique<TempFolder>(TempFolder::OnUserVolume);
    m_settings = std::make_unique<TempFolder>();
    QVERIFY(m_tree->isValid() && m_settings->isValid());
    SetSettingsFolderForTesting(m_settings->path());
    QVERIFY(m_tree->writeNamed({"main/a.txt", "main/B.txt", "main/c.jpg", "main/.hidden", "other/o.txt",
                                "usb/u1.txt", "usb/photos/p1.jpg", "usb/photos/p2.jpg"}));
    m_messages.clear();
    m_writes.clear();
}

void TestStartFolder::cleanup()
{
    m_form.reset();
    SetSettingsFolderForTesting(QString());
    m_tree.reset();
    m_settings.reset();
}

void TestStartFolder::loadWindow()
{
    m_form = std::make_unique<Form1>(LoadProductInfo());
    m_form->setMessagePresenter([this](const QString &, const QString &text) { m_messages.append(text); });
    m_form->setProgramEnd([] {});
    m_form->setHelpWindowOpener([] {});
    const QString root = m_tree->path();
    m_form->Drive1->setVolumeSource([root] {
        return QList<MountedVolume>{{"/", "ext4", true}, {root + "/usb", "vfat", true}};
    });
    m_form->Form_Load();
    // From here on the panel's writes are recorded as well as stored.
    m_form->selectionPanel()->setOptionWriter([this](const QString &key, const QString &value) {
        m_writes.append(key + u'=' + value);
        return WriteOption(key, value);
    });
}

void TestStartFolder::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QStringList>("paths"); // relative to /work/here
    QTest::addColumn<QString>("text");

    const int run = int(Action::Run), help = int(Action::ShowHelp), version = int(Action::ShowVersion),
              bad = int(Action::BadArguments);
    QTest::newRow("nothing") << QStringList{} << run << QStringList{} << "";
    QTest::newRow("relative folder") << QStringList{"photos"} << run << QStringList{"/work/here/photos"} << "";
    QTest::newRow("cleaned") << QStringList{"/a/./b/../c/"} << run << QStringList{"/a/c"} << "";
    QTest::newRow("several") << QStringList{"x.jpg", "/y/z.jpg"} << run
                             << QStringList{"/work/here/x.jpg", "/y/z.jpg"} << "";
    QTest::newRow("lone dash is a name") << QStringList{"-"} << run << QStringList{"/work/here/-"} << "";
    QTest::newRow("after --") << QStringList{"--", "-style", "--help"} << run
                              << QStringList{"/work/here/-style", "/work/here/--help"} << "";
    QTest::newRow("--help") << QStringList{"--help"} << help << QStringList{} << "Usage: quillmere [FOLDER | FILE...]";
    QTest::newRow("-h after a folder") << QStringList{"photos", "-h"} << help << QStringList{} << "-V, --version";
    QTest::newRow("--version") << QStringList{"--version"} << version << QStringList{} << "quillmere (";
    QTest::newRow("bundled, first wins") << QStringList{"-Vh"} << version << QStringList{} << "quillmere (";
    QTest::newRow("toolkit option") << QStringList{"-platform", "xcb"} << bad << QStringList{}
                                    << "invalid option -- 'p'";
    QTest::newRow("unknown long") << QStringList{"--dry-run"} << bad << QStringList{}
                                  << "unrecognized option '--dry-run'";
    QTest::newRow("long with value") << QStringList{"--help=all"} << bad << QStringList{}
                                     << "unrecognized option '--help=all'";
    QTest::newRow("empty name") << QStringList{""} << bad << QStringList{} << "an empty name is no folder";
}

void TestStartFolder::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QStringList, paths);
    QFETCH(QString, text);

    arguments.prepend(QStringLiteral("/usr/bin/quillmere"));
    const StartArguments start = ParseStartArguments(arguments, QStringLiteral("/work/here"));
    QCOMPARE(int(start.action), action);
    QCOMPARE(start.paths, paths);
    if (text.isEmpty())
        QCOMPARE(start.text, QString());
    else
        QVERIFY2(start.text.contains(text), qPrintable(start.text));
    if (start.action == Action::ShowVersion)
        QCOMPARE(start.text, QStringLiteral("quillmere (Quillmere) %1\n").arg(VersionText(ReadVersionRecord())));
    // Help and version are whole lines, ready to print.
    if (action == int(Action::ShowHelp) || action == int(Action::ShowVersion))
        QVERIFY(start.text.endsWith(u'\n'));
}

void TestStartFolder::resolve_data()
{
    QTest::addColumn<QStringList>("paths"); // inside the tree; "" is the tree itself
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("ignored");

    QTest::newRow("folder") << QStringList{"main"} << "main" << QStringList{} << QStringList{};
    QTest::newRow("file") << QStringList{"main/B.txt"} << "main" << QStringList{"B.txt"} << QStringList{};
    QTest::newRow("hidden file") << QStringList{"main/.hidden"} << "main" << QStringList{".hidden"} << QStringList{};
    QTest::newRow("missing stays the folder") << QStringList{"main/nothing"} << "main/nothing" << QStringList{}
                                              << QStringList{};
    QTest::newRow("files of one folder") << QStringList{"main/c.jpg", "main/a.txt", "main/c.jpg"} << "main"
                                         << QStringList{"c.jpg", "a.txt"} << QStringList{};
    QTest::newRow("folder then its file") << QStringList{"main", "main/a.txt"} << "main" << QStringList{"a.txt"}
                                          << QStringList{};
    QTest::newRow("other folder left out") << QStringList{"main/a.txt", "other/o.txt", "usb", "main/none.txt"}
                                           << "main" << QStringList{"a.txt"}
                                           << QStringList{"other/o.txt", "usb", "main/none.txt"};
}

void TestStartFolder::resolve()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, folder);
    QFETCH(QStringList, names);
    QFETCH(QStringList, ignored);

    const QString root = m_tree->path();
    QStringList ignoredNow;
    const StartPlace place = ResolveStartPlace(inFolder(root, paths), &ignoredNow);
    QCOMPARE(place.folder, root + u'/' + folder);
    QCOMPARE(place.names, names);
    QCOMPARE(ignoredNow, inFolder(root, ignored));
    QCOMPARE(ResolveStartPlace({}).folder, QString());
}

void TestStartFolder::opensAsIfPicked_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("filter"); // stored filter extension, "" for none
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("writes"); // "{t}" is the tree

    QTest::newRow("folder on the same drive")
        << QStringList{"main"} << "" << "main" << QStringList{"a.txt", "B.txt", "c.jpg"} << QStringList{}
        << QStringList{"Dir={t}/main"};
    // Drive first: the drive's folder is stored on the way, as a user's
    // pick of the drive stores it.
    QTest::newRow("folder on another drive")
        << QStringList{"usb/photos"} << "" << "usb/photos" << QStringList{"p1.jpg", "p2.jpg"} << QStringList{}
        << QStringList{"Dir={t}/usb", "Drive={t}/usb", "Dir={t}/usb/photos"};
    QTest::newRow("mount point itself")
        << QStringList{"usb"} << "" << "usb" << QStringList{"u1.txt"} << QStringList{}
        << QStringList{"Dir={t}/usb", "Drive={t}/usb"};
    QTest::newRow("a file") << QStringList{"main/B.txt"} << "" << "main" << QStringList{"a.txt", "B.txt", "c.jpg"}
                            << QStringList{"B.txt"} << QStringList{"Dir={t}/main"};
    QTest::newRow("files of one folder")
        << QStringList{"main/c.jpg", "main/a.txt", "other/o.txt"} << "" << "main"
        << QStringList{"a.txt", "B.txt", "c.jpg"} << QStringList{"a.txt", "c.jpg"} << QStringList{"Dir={t}/main"};
    // The stored filter stays in force: a file it hides is not selected.
    QTest::newRow("file the filter hides")
        << QStringList{"main/a.txt"} << "jpg" << "main" << QStringList{"c.jpg"} << QStringList{}
        << QStringList{"Dir={t}/main"};
    QTest::newRow("hidden file") << QStringList{"main/.hidden"} << "" << "main"
                                 << QStringList{"a.txt", "B.txt", "c.jpg"} << QStringList{}
                                 << QStringList{"Dir={t}/main"};
}

void TestStartFolder::opensAsIfPicked()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, filter);
    QFETCH(QString, folder);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, writes);

    const QString root = m_tree->path();
    WriteOption(QStringLiteral("Dir"), root + QStringLiteral("/other"));
    if (!filter.isEmpty()) {
        WriteOption(QStringLiteral("Check1"), QStringLiteral("1"));
        WriteOption(QStringLiteral("Combo2"), filter);
    }
    loadWindow();
    QCOMPARE(m_form->Dir1->path(), root + QStringLiteral("/other"));

    m_form->openFromCommandLine(inFolder(root, paths));

    const QString expected = root + u'/' + folder;
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(u'\n')));
    QCOMPARE(m_form->Dir1->path(), expected);
    QCOMPARE(m_form->File1->path(), expected);
    QCOMPARE(m_form->File1->fileModel()->fileNames(), listed);
    QCOMPARE(selectedNames(m_form->File1), selected);
    QCOMPARE(m_form->Drive1->drive(), folder.startsWith(QLatin1String("usb")) ? root + QStringLiteral("/usb")
                                                                               : QStringLiteral("/"));
    for (QString &write : writes)
        write.replace(QStringLiteral("{t}"), root);
    QCOMPARE(m_writes, writes);
    QCOMPARE(ReadOption(QStringLiteral("Dir"), QString()), expected);
    if (!selected.isEmpty())
        QCOMPARE(m_form->File1->currentIndex().data().toString(), selected.constFirst());

    // The next start without an argument comes back to the same place.
    m_form.reset();
    m_writes.clear();
    loadWindow();
    QCOMPARE(m_form->Dir1->path(), expected);
    QCOMPARE(m_form->Drive1->drive(), folder.startsWith(QLatin1String("usb")) ? root + QStringLiteral("/usb")
                                                                               : QStringLiteral("/"));
}

void TestStartFolder::unusablePathChangesNothing_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message"); // "{p}" is the path

    QTest::newRow("missing") << "main/nothing" << "The folder {p} cannot be opened: it does not exist.";
    QTest::newRow("missing on another drive") << "usb/nothing"
                                              << "The folder {p} cannot be opened: it does not exist.";
    QTest::newRow("inside a file") << "main/a.txt/x" << "The folder {p} cannot be opened: it does not exist.";
    QTest::newRow("no access") << "locked" << "The folder {p} cannot be opened: access is denied.";
}

void TestStartFolder::unusablePathChangesNothing()
{
    QFETCH(QString, path);
    QFETCH(QString, message);

    const QString root = m_tree->path();
    const QString full = root + u'/' + path;
    if (path == QLatin1String("locked")) {
        QVERIFY(m_tree->makeFolder(path));
        QVERIFY(QFile::setPermissions(full, QFileDevice::Permissions()));
        if (QDir(full).entryList().size() > 0 || ::access(QFile::encodeName(full).constData(), R_OK) == 0) {
            QFile::setPermissions(full, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("this user reads every folder (root)");
        }
    }

    WriteOption(QStringLiteral("Dir"), root + QStringLiteral("/other"));
    loadWindow();
    const QMap<QString, QString> before = storedOptions();
    const QStringList listedBefore = m_form->File1->fileModel()->fileNames();

    m_form->openFromCommandLine({full});

    if (path == QLatin1String("locked"))
        QFile::setPermissions(full, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(m_messages, QStringList{QString(message).replace(QStringLiteral("{p}"), full)});
    QCOMPARE(m_form->Drive1->drive(), QStringLiteral("/"));
    QCOMPARE(m_form->Dir1->path(), root + QStringLiteral("/other"));
    QCOMPARE(m_form->File1->path(), root + QStringLiteral("/other"));
    QCOMPARE(m_form->File1->fileModel()->fileNames(), listedBefore);
    QCOMPARE(m_writes, QStringList());
    QCOMPARE(storedOptions(), before);
}

void TestStartFolder::sameMessageAsAFolderOpenedByHand()
{
    const QString root = m_tree->path();
    QVERIFY(m_tree->makeFolder(QStringLiteral("main/gone")));
    WriteOption(QStringLiteral("Dir"), root + QStringLiteral("/main"));
    loadWindow();
    FolderListModel *folders = m_form->Dir1->folderModel();
    int row = -1;
    for (int i = 0; i < folders->rowCount(); ++i) {
        if (folders->entryPath(i) == root + QStringLiteral("/main/gone"))
            row = i;
    }
    QVERIFY(row >= 0);
    QVERIFY(QDir(root + QStringLiteral("/main/gone")).removeRecursively());

    QVERIFY(!folders->open(row));
    QCOMPARE(m_messages.size(), 1);
    m_form->openFromCommandLine({root + QStringLiteral("/main/gone")});
    QCOMPARE(m_messages.size(), 2);
    QCOMPARE(m_messages.at(1), m_messages.at(0));
}

QTEST_MAIN(TestStartFolder)
#include "tst_startfolder.moc"
