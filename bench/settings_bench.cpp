// Typing into the main window's New Name box (Text1) with the program's own
// settings file (its twelve keys). Every keystroke stores Text1, and the
// store must be on disk before the key's handler returns, so a keystroke
// costs one rewrite of the file and no more.
//
// Prints, per keystroke: the mean, median and slowest time from key press to
// handler done, for the window, and for the same writes done the plain
// QSettings way (read, parse, merge, write the whole file) as the reference.
// Also: the time the window takes to load with this file, and that a write of
// an unchanged value leaves the file alone.
//
//   settings_bench [keystrokes]      default 40
//
// The scratch folder is on tmpfs where there is one (see ScratchFolder.h);
// set QUILLMERE_BENCH_DIR to a folder on a real disk to include the cost of
// forcing the file to the device.

#include "app/Form1.h"
#include "core/ProductInfo.h"
#include "core/SettingsStore.h"

#include "ScratchFolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

QByteArray ordinarySettingsFile()
{
    return "[Settings]\nCheck1=0\nCheck2=1\nCheck3=0\nCheck4=1\nCombo1=\nCombo2=\nCombo3=\n"
           "Dir=/home/user/Pictures/Holiday 2026\nDrive=/\nText1=\nText2=1\nshowHelp=1\n";
}

// This thread's processor time; on a busy machine it is the steadier
// measure, wall time the one a user feels.
qint64 cpuNanoseconds()
{
#if defined(Q_OS_UNIX)
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
#else
    return 0;
#endif
}

class StepTimer
{
public:
    StepTimer() { restart(); }
    void restart()
    {
        m_cpu = cpuNanoseconds();
        m_wall.restart();
    }
    double wallMs() const { return double(m_wall.nsecsElapsed()) / 1e6; }
    double cpuMs() const { return double(cpuNanoseconds() - m_cpu) / 1e6; }

private:
    QElapsedTimer m_wall;
    qint64 m_cpu = 0;
};

struct Figures
{
    double meanMs = 0;
    double medianMs = 0;
    double maxMs = 0;
};

Figures figuresOf(std::vector<double> ms)
{
    Figures f;
    if (ms.empty())
        return f;
    double sum = 0;
    for (double m : ms)
        sum += m;
    f.meanMs = sum / double(ms.size());
    std::sort(ms.begin(), ms.end());
    f.medianMs = ms[ms.size() / 2];
    f.maxMs = ms.back();
    return f;
}

void print(const char *what, const char *kind, const Figures &f)
{
    std::printf("%-40s %-4s mean %9.2f ms  median %9.2f ms  slowest %9.2f ms\n", what, kind, f.meanMs, f.medianMs,
                f.maxMs);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(1, atoi(argv[1])) : 40;

    QTemporaryDir scratch(scratchRoot() + QStringLiteral("/quillmere-settings-bench-XXXXXX"));
    if (!scratch.isValid())
        qFatal("cannot make a scratch folder in %s", qPrintable(scratchRoot()));
    SetSettingsFolderForTesting(scratch.path());
    const QString path = SettingsFilePath(QStringLiteral("Quillmere"));
    const QByteArray initial = ordinarySettingsFile();
    const auto reset = [&] {
        QFile::remove(path);
        QFile file(path);
        if (!(QFileInfo(path).dir().mkpath(QStringLiteral(".")) && file.open(QIODevice::WriteOnly)
              && file.write(initial) == initial.size()))
            qFatal("cannot write %s", qPrintable(path));
    };
    reset();
    std::printf("Settings file %s: %lld bytes\n", qPrintable(path), qint64(initial.size()));

    StepTimer timer;
    Form1 form(LoadProductInfo());
    form.setMessagePresenter([](const QString &, const QString &) {});
    form.show();
    form.Form_Load(); // as the splash does at start-up: every option read back
    QCoreApplication::processEvents();
    std::printf("%-45s %9.2f ms wall %9.2f ms cpu\n", "window load with this file", timer.wallMs(), timer.cpuMs());

    // Typing into Text1, one key at a time, each timed until its handler
    // (which stores the text) has returned.
    const QString typed = QStringLiteral("Holiday photos from the mountains 2026");
    form.Text1->setFocus();
    form.Text1->clear();
    std::vector<double> windowWall;
    std::vector<double> windowCpu;
    for (int i = 0; i < keystrokes; ++i) {
        const QChar c = typed[i % typed.size()];
        timer.restart();
        QTest::keyClick(form.Text1, c.toLatin1());
        windowWall.push_back(timer.wallMs());
        windowCpu.push_back(timer.cpuMs());
    }
    const QString expected = form.Text1->text();
    QSettings check(path, QSettings::IniFormat);
    const bool stored = check.value(QStringLiteral("Settings/Text1")).toString() == expected
        && check.value(QStringLiteral("Settings/Dir")).toString() == QStringLiteral("/home/user/Pictures/Holiday 2026");
    print("keystroke in Text1 (window)", "wall", figuresOf(windowWall));
    print("", "cpu", figuresOf(windowCpu));

    // The same number of stores made the plain QSettings way, as before.
    std::vector<double> plainWall;
    std::vector<double> plainCpu;
    QString text;
    for (int i = 0; i < keystrokes; ++i) {
        text += typed[i % typed.size()];
        timer.restart();
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Settings/Text1"), text);
        settings.sync();
        plainWall.push_back(timer.wallMs());
        plainCpu.push_back(timer.cpuMs());
    }
    print("the same store through QSettings alone", "wall", figuresOf(plainWall));
    print("", "cpu", figuresOf(plainCpu));

    // Storing what is already stored touches nothing.
    // The file was last written by QSettings, so the first call reads it
    // afresh; the second finds the value already there.
    timer.restart();
    ReadOption(QStringLiteral("Text1"));
    std::printf("%-45s %9.2f ms wall %9.2f ms cpu\n", "reading the file again after another writer", timer.wallMs(),
                timer.cpuMs());
    const QDateTime before = QFileInfo(path).lastModified();
    timer.restart();
    WriteOption(QStringLiteral("Text1"), text);
    const double unchangedMs = timer.wallMs();
    const bool untouched = QFileInfo(path).lastModified() == before;
    std::printf("%-45s %9.2f ms wall, file %s\n", "store of an unchanged value", unchangedMs,
                untouched ? "untouched" : "REWRITTEN");
    std::printf("%-45s %s\n", "every typed character on disk", stored ? "yes" : "NO");
    return stored && untouched ? 0 : 1;
}
