// The command-line renamer as users run it, a whole process from exec to
// exit, against floor_rename (one read of the folder, one renameat per file)
// and two renamers Linux users already have: perl rename ("file-rename",
// Debian package rename) and mmv (Debian package mmv). A peer that is not
// installed is skipped with a note.
//
//   ./build/bin/cli_bench [--sizes=100000,300000] [--reps=5] [--jobs=rules,...] [--quillmere=PATH]
//
// For each size, job and repetition every tool renames a freshly made folder
// of N empty files named like IMG_000001.JPG on tmpfs (/dev/shm, or
// $QUILLMERE_BENCH_DIR); the tools take turns, starting with a different one
// each repetition. Wall time is from fork to reaping the child; peak memory
// is the child's ru_maxrss. After every run the folder must hold exactly the
// N expected names, or the run is counted invalid and left out: a tool that
// did not do the job must not look fast. The run journal of quillmere-rename
// goes to a scratch XDG_STATE_HOME beside the folder, emptied before each run.

#include "ScratchFolder.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// rules: four renaming rules in one run (an expression with a group, Title
// case, numbering in order of modified time, names Windows can hold).
enum class Job { Prefix, Renumber, LowerExt, Rules };
constexpr Job kJobs[] = {Job::Prefix, Job::Renumber, Job::LowerExt, Job::Rules};

const char *jobName(Job job)
{
    switch (job) {
    case Job::Prefix: return "prefix";
    case Job::Renumber: return "renumber";
    case Job::LowerExt: return "lowerext";
    case Job::Rules: return "rules";
    }
    return "";
}

struct Tool
{
    std::string name;
    std::string path; // empty: not installed
};
// OursDry: quillmere-rename -n, for the rules job alone.
enum ToolIndex { Floor, Ours, Perl, Mmv, OursDry, ToolCount };

struct Cell
{
    std::vector<double> ms;
    long peakKb = 0;
    int invalid = 0;
    bool skipped = false;
    std::string firstProblem;
    double median() const
    {
        if (ms.empty())
            return -1;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        const size_t mid = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
    }
};

std::string exeFolder()
{
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return ".";
    std::string path(buffer, size_t(length));
    return path.substr(0, path.rfind('/'));
}

bool isExecutable(const std::string &path)
{
    return !path.empty() && access(path.c_str(), X_OK) == 0;
}

std::string findInPath(const char *name)
{
    const char *path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string candidate = dirs.substr(start, end - start) + '/' + name;
        if (isExecutable(candidate))
            return candidate;
        start = end + 1;
    }
    return {};
}

// "rename" is perl's on Debian only when the rename package provides it;
// util-linux has a rename of its own with other arguments.
std::string findPerlRename()
{
    if (std::string path = findInPath("file-rename"); !path.empty())
        return path;
    const std::string path = findInPath("rename");
    if (path.empty())
        return {};
    FILE *pipe = popen((path + " --version 2>&1").c_str(), "r");
    char line[256] = {};
    const bool perl = pipe && fgets(line, sizeof line, pipe) && strstr(line, "File::Rename");
    if (pipe)
        pclose(pipe);
    return perl ? path : std::string();
}

// Removes every entry of a folder without holding its names: on tmpfs
// entries removed while reading are not skipped, but a second pass makes
// sure of it elsewhere.
void emptyFolder(const std::string &dir)
{
    for (bool removed = true; removed;) {
        removed = false;
        DIR *d = opendir(dir.c_str());
        if (!d)
            return;
        while (dirent *entry = readdir(d)) {
            if (!strcmp(entry->d_name, ".") || !strcmp(entry->d_name, ".."))
                continue;
            // The state folder holds the journals in a folder of their own.
            if (entry->d_type == DT_DIR) {
                emptyFolder(dir + "/" + entry->d_name);
                if (unlinkat(dirfd(d), entry->d_name, AT_REMOVEDIR) == 0)
                    removed = true;
            } else if (unlinkat(dirfd(d), entry->d_name, 0) == 0) {
                removed = true;
            }
        }
        closedir(d);
    }
}

std::string sourceName(int i)
{
    char name[32];
    snprintf(name, sizeof name, "IMG_%06d.JPG", i);
    return name;
}

void makeFolder(const std::string &dir, int files)
{
    mkdir(dir.c_str(), 0755);
    emptyFolder(dir);
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 1; i <= files; ++i) {
        const int file = openat(fd, sourceName(i).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (file < 0) {
            perror("openat");
            exit(2);
        }
        close(file);
    }
    close(fd);
}

bool allDigits(const char *from, const char *to)
{
    return from < to && std::all_of(from, to, [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the folder holds exactly `files` regular files, every one with the
// name the job gives. Numbers of the renumbering job must lie in 1..files,
// so N distinct names are exactly the numbers 1..N whatever the width.
std::string checkFolder(const std::string &dir, Job job, int files, bool untouched = false)
{
    DIR *d = opendir(dir.c_str());
    if (!d)
        return "folder unreadable";
    int total = 0, matching = 0;
    while (dirent *entry = readdir(d)) {
        const char *name = entry->d_name;
        if (!strcmp(name, ".") || !strcmp(name, ".."))
            continue;
        ++total;
        const size_t length = strlen(name);
        bool ok = false;
        if (untouched) {
            matching += length == 14 && !strncmp(name, "IMG_", 4) && allDigits(name + 4, name + 10)
                && !strcmp(name + 10, ".JPG");
            continue;
        }
        switch (job) {
        case Job::Prefix:
            ok = length == 16 && !strncmp(name, "X_IMG_", 6) && allDigits(name + 6, name + 12)
                && !strcmp(name + 12, ".JPG");
            break;
        case Job::Renumber:
            ok = length > 9 && !strncmp(name, "Photo", 5) && allDigits(name + 5, name + length - 4)
                && !strcmp(name + length - 4, ".jpg") && length - 9 < 10
                && atol(name + 5) >= 1 && atol(name + 5) <= files;
            break;
        case Job::LowerExt:
            ok = length == 14 && !strncmp(name, "IMG_", 4) && allDigits(name + 4, name + 10)
                && !strcmp(name + 10, ".jpg");
            break;
        case Job::Rules:
            // "Shot 000042 0000042.JPG": the number is the file's place in
            // order of modified time, which is the order the files were made.
            ok = length == 23 && !strncmp(name, "Shot ", 5) && allDigits(name + 5, name + 11) && name[11] == ' '
                && allDigits(name + 12, name + 19) && !strcmp(name + 19, ".JPG")
                && atol(name + 5) == atol(name + 12);
            break;
        }
        matching += ok;
    }
    closedir(d);
    if (total == files && matching == files)
        return {};
    return std::to_string(matching) + " of " + std::to_string(total) + " names as expected, "
        + std::to_string(files) + " wanted";
}

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct RunResult
{
    double ms = 0;
    long maxRssKb = 0;
    int status = -1;
};

// Runs argv as a whole process in `cwd`, stdin from `input` (or /dev/null),
// stdout to /dev/null, stderr to `errLog`.
RunResult runProcess(const std::vector<std::string> &args, const std::string &cwd, const std::string &input,
                     const std::string &errLog)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);

    RunResult result;
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int in = open(input.empty() ? "/dev/null" : input.c_str(), O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        const int err = open(errLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0
            || (!cwd.empty() && chdir(cwd.c_str()) != 0))
            _exit(127);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    rusage usage{};
    int status = 0;
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.ms = nowMs() - start;
    result.maxRssKb = usage.ru_maxrss;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string firstLine(const std::string &path)
{
    FILE *file = fopen(path.c_str(), "r");
    char line[200] = {};
    if (file) {
        if (!fgets(line, sizeof line, file))
            line[0] = 0;
        fclose(file);
    }
    std::string text = line;
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::vector<std::string> rulesCommand(const std::string &path, const std::string &dir, bool dry)
{
    std::vector<std::string> command = {path, "-f", "^img_(\\d+)$", "-i", "-r", "shot $1 ", "--case", "title",
                                        "--number", "end", "--sort", "mtime", "--width", "7", "--clean", "windows", "--all", dir};
    if (dry)
        command.insert(command.begin() + 1, "-n");
    return command;
}

// The command line of one tool for one job, or empty when the tool has no
// way to do it. Perl rename and mmv work on names relative to the folder,
// so they run inside it.
std::vector<std::string> commandFor(int tool, const Tool &t, Job job, int files, const std::string &dir)
{
    const int width = int(std::to_string(files).size());
    switch (tool) {
    case Floor:
        return {t.path, jobName(job), dir};
    case Ours:
        switch (job) {
        case Job::Prefix: return {t.path, "--type=prefix", "--text=X_", "--all", dir};
        case Job::Renumber: return {t.path, "--type=both", "--text=Photo", "--ext=jpg", "--all", dir};
        case Job::LowerExt: return {t.path, "--type=ext", "--ext=jpg", "--filter=JPG", "--all", dir};
        case Job::Rules: return rulesCommand(t.path, dir, false);
        }
        break;
    case OursDry:
        if (job == Job::Rules)
            return rulesCommand(t.path, dir, true);
        return {};
    case Perl:
        switch (job) {
        case Job::Prefix: return {t.path, "-0", "s/^/X_/"};
        case Job::Renumber:
            return {t.path, "-0", "s/.*/sprintf(\"Photo%0" + std::to_string(width) + "d.jpg\", ++$::n)/e"};
        case Job::LowerExt: return {t.path, "-0", "s/\\.JPG$/.jpg/"};
        case Job::Rules: return {t.path, "-0", "s/^IMG_(\\d+)\\.JPG$/sprintf(\"Shot %s %07d.JPG\", $1, $1)/e"};
        }
        break;
    case Mmv:
        switch (job) {
        case Job::Prefix: return {t.path, "*", "X_#1"};
        case Job::Renumber: return {};
        case Job::LowerExt: return {t.path, "*.JPG", "#1.jpg"};
        case Job::Rules: return {};
        }
        break;
    }
    return {};
}

std::string fmt(const char *format, double value)
{
    char text[64];
    snprintf(text, sizeof text, format, value);
    return text;
}

bool argValue(const char *arg, const char *option, std::string *value)
{
    const size_t length = strlen(option);
    if (strncmp(arg, option, length) != 0)
        return false;
    *value = arg + length;
    return true;
}

// One line of the table: text columns to the left, figures to the right,
// widths counted in characters ("—" is three bytes).
void printRow(const std::vector<std::string> &columns)
{
    static const int widths[] = {-9, 7, -12, 10, 8, 10, 8, 6, 7};
    std::string line;
    for (size_t i = 0; i < columns.size(); ++i) {
        const std::string &text = columns[i];
        const int chars = int(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
        const std::string padding(size_t(std::max(0, std::abs(widths[i]) - chars)), ' ');
        if (i)
            line += ' ';
        line += widths[i] < 0 ? text + padding : padding + text;
    }
    puts(line.c_str());
}

} // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0);
    std::vector<int> sizes = {100000, 300000};
    int reps = 5;
    std::vector<bool> jobWanted(std::size(kJobs), true);
    std::vector<Tool> tools(ToolCount);
    tools[Floor] = {"floor", exeFolder() + "/floor_rename"};
    tools[Ours] = {"quillmere", exeFolder() + "/quillmere-rename"};
    tools[Perl] = {"perl rename", findPerlRename()};
    tools[Mmv] = {"mmv", findInPath("mmv")};
    tools[OursDry] = {"quillmere -n", tools[Ours].path};

    for (int i = 1; i < argc; ++i) {
        std::string value;
        if (argValue(argv[i], "--sizes=", &value)) {
            sizes.clear();
            for (char *p = value.data(); *p;) {
                sizes.push_back(int(strtol(p, &p, 10)));
                if (*p == ',')
                    ++p;
                else if (*p)
                    break;
            }
        } else if (argValue(argv[i], "--reps=", &value)) {
            reps = std::max(1, atoi(value.c_str()));
        } else if (argValue(argv[i], "--jobs=", &value)) {
            // Only these jobs, by name: a quicker look at one of them.
            std::fill(jobWanted.begin(), jobWanted.end(), false);
            const std::string wanted = "," + value + ",";
            for (size_t j = 0; j < std::size(kJobs); ++j)
                jobWanted[j] = wanted.find("," + std::string(jobName(kJobs[j])) + ",") != std::string::npos;
        } else if (argValue(argv[i], "--quillmere=", &value)) {
            tools[Ours].path = tools[OursDry].path = value;
        } else {
            fprintf(stderr, "usage: cli_bench [--sizes=N,N...] [--reps=N] [--jobs=NAME,...] [--quillmere=PATH]\n");
            return 2;
        }
    }
    if (sizes.empty() || std::any_of(sizes.begin(), sizes.end(), [](int n) { return n < 1 || n > 999999; })) {
        fprintf(stderr, "cli_bench: sizes must lie between 1 and 999999\n");
        return 2;
    }
    for (int t : {Floor, Ours}) {
        if (!isExecutable(tools[t].path)) {
            fprintf(stderr, "cli_bench: cannot run %s\n", tools[t].path.c_str());
            return 2;
        }
    }
    for (int t : {Perl, Mmv}) {
        if (tools[t].path.empty())
            printf("note: %s is not installed (Debian package %s): skipped\n", tools[t].name.c_str(),
                   t == Perl ? "rename" : "mmv");
    }

    const std::string root = QFile::encodeName(scratchRoot()).toStdString() + "/quillmere-cli-bench-"
        + std::to_string(getpid());
    const std::string dir = root + "/folder", state = root + "/state", names = root + "/names",
                      errLog = root + "/stderr";
    mkdir(root.c_str(), 0755);
    mkdir(state.c_str(), 0755);
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    printf("folder: %s\n", dir.c_str());

    // cells[size][job][tool]
    std::vector<std::vector<std::vector<Cell>>> cells(
        sizes.size(), std::vector<std::vector<Cell>>(std::size(kJobs), std::vector<Cell>(ToolCount)));

    for (size_t s = 0; s < sizes.size(); ++s) {
        const int files = sizes[s];
        if (FILE *list = fopen(names.c_str(), "w")) {
            for (int i = 1; i <= files; ++i)
                fprintf(list, "%s%c", sourceName(i).c_str(), 0);
            fclose(list);
        }
        for (size_t j = 0; j < std::size(kJobs); ++j) {
            const Job job = kJobs[j];
            for (int rep = 0; rep < reps; ++rep) {
                for (int k = 0; k < ToolCount; ++k) {
                    const int tool = (k + rep) % ToolCount;
                    Cell &cell = cells[s][j][tool];
                    const std::vector<std::string> command = commandFor(tool, tools[tool], job, files, dir);
                    if (tools[tool].path.empty() || command.empty() || !jobWanted[j]) {
                        cell.skipped = true;
                        continue;
                    }
                    makeFolder(dir, files);
                    emptyFolder(state);
                    const bool inside = tool == Perl || tool == Mmv;
                    const RunResult run = runProcess(command, inside ? dir : std::string(),
                                                     tool == Perl ? names : std::string(), errLog);
                    std::string problem = checkFolder(dir, job, files, tool == OursDry);
                    if (run.status != 0)
                        problem = "exit status " + std::to_string(run.status) + "; " + problem + " "
                            + firstLine(errLog);
                    if (problem.empty()) {
                        cell.ms.push_back(run.ms);
                        cell.peakKb = std::max(cell.peakKb, run.maxRssKb);
                    } else {
                        ++cell.invalid;
                        if (cell.firstProblem.empty())
                            cell.firstProblem = problem;
                    }
                    fprintf(stderr, "%s %d %s rep %d: %.0f ms %s\n", jobName(job), files,
                            tools[tool].name.c_str(), rep + 1, run.ms, problem.empty() ? "" : "INVALID");
                }
            }
        }
    }
    emptyFolder(dir);
    emptyFolder(state);
    rmdir(dir.c_str());
    rmdir(state.c_str());
    unlink(names.c_str());
    unlink(errLog.c_str());
    rmdir(root.c_str());

    const bool growth = sizes.size() >= 2;
    const size_t first = 0, last = sizes.size() - 1;
    auto growthOf = [&](size_t j, int tool) {
        const Cell &a = cells[first][j][tool], &b = cells[last][j][tool];
        if (!growth || a.ms.empty() || b.ms.empty() || sizes[last] == sizes[first])
            return -1.0;
        return double(b.peakKb - a.peakKb) * 1024 / double(sizes[last] - sizes[first]);
    };

    printRow({"job", "N", "tool", "median ms", "x floor", "ours/peer", "peak MB", "valid", "B/file"});
    for (size_t j = 0; j < std::size(kJobs); ++j) {
        if (!jobWanted[j])
            continue;
        for (size_t s = 0; s < sizes.size(); ++s) {
            const double floorMs = cells[s][j][Floor].median(), oursMs = cells[s][j][Ours].median();
            for (int tool = 0; tool < ToolCount; ++tool) {
                const Cell &cell = cells[s][j][tool];
                const double ms = cell.median();
                std::vector<std::string> row = {jobName(kJobs[j]), std::to_string(sizes[s]), tools[tool].name,
                                                "—", "—", "—", "—", "—", ""};
                if (!cell.skipped) {
                    if (ms >= 0) {
                        row[3] = fmt("%.1f", ms);
                        if (floorMs > 0)
                            row[4] = fmt("%.2f", ms / floorMs);
                        if ((tool == Perl || tool == Mmv) && oursMs > 0)
                            row[5] = fmt("%.2f", oursMs / ms);
                        row[6] = fmt("%.1f", double(cell.peakKb) / 1024);
                    }
                    row[7] = std::to_string(cell.ms.size()) + "/" + std::to_string(cell.ms.size() + cell.invalid);
                    if (s == last && growthOf(j, tool) >= 0)
                        row[8] = fmt("%.0f", growthOf(j, tool));
                }
                printRow(row);
                if (cell.invalid)
                    printf("    INVALID %d run(s), first: %s\n", cell.invalid, cell.firstProblem.c_str());
            }
        }
    }

    printf("\nTargets:\n");
    auto verdict = [](bool met) { return met ? "met" : "NOT MET"; };
    for (size_t j = 0; j < std::size(kJobs); ++j) {
        if (!jobWanted[j])
            continue;
        const char *job = jobName(kJobs[j]);
        const double limit = kJobs[j] == Job::LowerExt || kJobs[j] == Job::Rules ? 1.5 : 1.3;
        bool allValid = true;
        for (size_t s = 0; s < sizes.size(); ++s) {
            const Cell &ours = cells[s][j][Ours], &floor = cells[s][j][Floor], &perl = cells[s][j][Perl];
            // A run that did not do the job fails every target.
            if (ours.ms.empty() || ours.invalid) {
                printf("  %-8s %7d: quillmere had invalid runs: NOT MET\n", job, sizes[s]);
                allValid = false;
                continue;
            }
            if (!floor.ms.empty())
                printf("  %-8s %7d: %.2fx floor (at most %.1fx): %s\n", job, sizes[s],
                       ours.median() / floor.median(), limit, verdict(ours.median() <= limit * floor.median()));
            for (int peer : {Perl, Mmv}) {
                const Cell &cell = cells[s][j][peer];
                if (cell.skipped)
                    continue;
                if (cell.ms.empty())
                    printf("  %-8s %7d: %s did not do the job\n", job, sizes[s], tools[peer].name.c_str());
                else
                    printf("  %-8s %7d: faster than %s (%.2fx): %s\n", job, sizes[s], tools[peer].name.c_str(),
                           ours.median() / cell.median(), verdict(ours.median() < cell.median()));
            }
            if (!perl.ms.empty())
                printf("  %-8s %7d: peak %.1f MB below perl rename's %.1f MB: %s\n", job, sizes[s],
                       double(ours.peakKb) / 1024, double(perl.peakKb) / 1024, verdict(ours.peakKb < perl.peakKb));
        }
        if (growth && allValid && kJobs[j] != Job::Rules)
            printf("  %-8s growth %.0f B/file (at most 150): %s\n", job, growthOf(j, Ours),
                   verdict(growthOf(j, Ours) <= 150));
    }

    // The rules job: the dry run against the floor's real run, what the
    // plan of new names adds per file (the rules run's growth beyond that of
    // renumbering, which lists and renames the same files), and time per
    // file from the smallest size to the largest.
    const size_t rules = std::size(kJobs) - 1, renumber = 1;
    for (size_t s = 0; s < sizes.size() && jobWanted[rules]; ++s) {
        const Cell &dry = cells[s][rules][OursDry], &floor = cells[s][rules][Floor];
        if (dry.ms.empty() || dry.invalid || floor.ms.empty())
            printf("  rules    %7d: dry run had invalid runs: NOT MET\n", sizes[s]);
        else
            printf("  rules    %7d: dry run %.2fx floor (under 0.40x): %s\n", sizes[s], dry.median() / floor.median(),
                   verdict(dry.median() < 0.4 * floor.median()));
    }
    if (growth && jobWanted[rules] && jobWanted[renumber] && growthOf(rules, Ours) >= 0 && growthOf(renumber, Ours) >= 0) {
        const double plan = growthOf(rules, Ours) - growthOf(renumber, Ours);
        printf("  rules    plan memory %.0f B/file (rules %.0f less renumber %.0f; at most 200): %s\n", plan,
               growthOf(rules, Ours), growthOf(renumber, Ours), verdict(plan <= 200));
        const Cell &a = cells[first][rules][Ours], &b = cells[last][rules][Ours];
        const double perFile = (b.median() / sizes[last]) / (a.median() / sizes[first]);
        printf("  rules    time per file at %d against %d: %.2fx (linear: at most 1.25x): %s\n", sizes[last],
               sizes[first], perFile, verdict(perFile <= 1.25));
    }

    return 0;
}
