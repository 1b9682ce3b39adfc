/* The least a renamer can do, as the yardstick for cli_bench: read the
 * folder once, then one renameat per regular file relative to the folder's
 * descriptor. No sorting, no checks for taken names, no report.
 *
 *   floor_rename prefix   FOLDER   X_ before each name
 *   floor_rename renumber FOLDER   PhotoNNN.jpg in the order read, zero-filled
 *                                  to the digits of the count
 *   floor_rename lowerext FOLDER   ".JPG" at the end becomes ".jpg"
 *   floor_rename rules    FOLDER   IMG_N.JPG becomes "Shot N M.JPG", M being N
 *                                  zero-filled to 7 digits; each file's status
 *                                  is read, as numbering by modified time needs
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum Job { Prefix, Renumber, LowerExt, Rules };

int main(int argc, char **argv)
{
    enum Job job;
    if (argc == 3 && strcmp(argv[1], "prefix") == 0)
        job = Prefix;
    else if (argc == 3 && strcmp(argv[1], "renumber") == 0)
        job = Renumber;
    else if (argc == 3 && strcmp(argv[1], "lowerext") == 0)
        job = LowerExt;
    else if (argc == 3 && strcmp(argv[1], "rules") == 0)
        job = Rules;
    else {
        fprintf(stderr, "usage: floor_rename prefix|renumber|lowerext|rules FOLDER\n");
        return 2;
    }

    DIR *dir = opendir(argv[2]);
    if (!dir) {
        perror(argv[2]);
        return 2;
    }
    const int fd = dirfd(dir);

    /* All names first, in one growing buffer, so the renames below cannot
     * make readdir see a renamed file twice. */
    char *names = NULL;
    size_t used = 0, capacity = 0, count = 0;
    struct dirent *entry;
    while ((entry = readdir(dir)) != NULL) {
        if (entry->d_type != DT_REG)
            continue;
        const size_t length = strlen(entry->d_name) + 1;
        if (used + length > capacity) {
            capacity = capacity ? capacity * 2 : 1 << 20;
            names = realloc(names, capacity);
            if (!names) {
                perror("realloc");
                return 2;
            }
        }
        memcpy(names + used, entry->d_name, length);
        used += length;
        ++count;
    }

    int width = 1;
    for (size_t c = count; c >= 10; c /= 10)
        ++width;

    char target[4096];
    size_t number = 0, failed = 0;
    for (size_t at = 0; at < used; at += strlen(names + at) + 1) {
        const char *name = names + at;
        const size_t length = strlen(name);
        switch (job) {
        case Prefix:
            snprintf(target, sizeof target, "X_%s", name);
            break;
        case Renumber:
            snprintf(target, sizeof target, "Photo%0*zu.jpg", width, ++number);
            break;
        case LowerExt:
            if (length < 4 || strcmp(name + length - 4, ".JPG") != 0)
                continue;
            memcpy(target, name, length - 4);
            memcpy(target + length - 4, ".jpg", 5);
            break;
        case Rules: {
            struct stat status;
            unsigned long n = 0;
            if (fstatat(fd, name, &status, 0) != 0 || sscanf(name, "IMG_%lu.JPG", &n) != 1)
                continue;
            snprintf(target, sizeof target, "Shot %.6s %07lu.JPG", name + 4, n);
            break;
        }
        }
        if (renameat(fd, name, fd, target) != 0)
            ++failed;
    }
    free(names);
    closedir(dir);
    return failed ? 1 : 0;
}
