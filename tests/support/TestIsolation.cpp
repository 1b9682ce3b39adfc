#include "TestIsolation.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Removes a tree without following links and without entering another
// file system mounted inside it (a test that failed half-way may leave one).
int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    ::remove(path);
    return 0;
}

class IsolatedHome
{
public:
    IsolatedHome()
    {
        QByteArray base = qgetenv("TMPDIR");
        if (base.isEmpty() || !QDir::isAbsolutePath(QString::fromLocal8Bit(base)))
            base = "/tmp";
        QByteArray root = base + "/quillmere-test-home-XXXXXX";
        if (!::mkdtemp(root.data())) {
            // Running on with the real folders is exactly what this prevents.
            std::perror("cannot make the test's own home folder");
            std::abort();
        }
        m_root = root;
        m_owner = ::getpid();
        const struct
        {
            const char *variable;
            const char *folder;
        } folders[] = {
            {"XDG_CONFIG_HOME", "/config"},
            {"XDG_DATA_HOME", "/data"},
            {"XDG_CACHE_HOME", "/cache"},
            {"XDG_STATE_HOME", "/state"},
            {"XDG_RUNTIME_DIR", "/runtime"},
        };
        ::setenv("HOME", m_root.constData(), 1);
        for (const auto &folder : folders) {
            const QByteArray path = m_root + folder.folder;
            if (::mkdir(path.constData(), 0700) != 0) {
                std::perror(path.constData());
                std::abort();
            }
            ::setenv(folder.variable, path.constData(), 1);
        }
        QStandardPaths::setTestModeEnabled(true);
    }

    ~IsolatedHome()
    {
        // A child made by fork() that ends through exit() must not take the
        // parent's folder with it.
        if (::getpid() == m_owner)
            ::nftw(m_root.constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
    }

    QString root() const { return QString::fromLocal8Bit(m_root); }

private:
    QByteArray m_root;
    pid_t m_owner = 0;
};

IsolatedHome &isolatedHome()
{
    static IsolatedHome home;
    return home;
}

// Made before main(), before any test code can read the environment.
[[maybe_unused]] const bool isolated = (isolatedHome(), true);

} // namespace

QString IsolatedHomeRoot()
{
    return isolatedHome().root();
}

bool RemoveIsolatedFolder(const QString &path)
{
    const QString root = QFileInfo(IsolatedHomeRoot()).canonicalFilePath();
    const QFileInfo target(path);
    if (!target.exists() && !target.isSymLink())
        return true;
    // The parent is resolved, the entry itself not: a link is removed as a
    // link, never followed.
    const QString where = QFileInfo(target.absolutePath()).canonicalFilePath() + QLatin1Char('/') + target.fileName();
    if (root.isEmpty() || target.fileName().isEmpty() || target.fileName() == QLatin1String("..")
        || !where.startsWith(root + QLatin1Char('/'))) {
        std::fprintf(stderr, "refusing to remove %s: not under the test's own home %s\n", qPrintable(path),
                     qPrintable(root));
        return false;
    }
    if (target.isDir() && !target.isSymLink())
        return QDir(where).removeRecursively();
    return QFile::remove(where);
}
