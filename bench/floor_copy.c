/* The floor a whole kxgen run is measured against: a static program that
 * writes the very folders and files kxgen writes, by copying a tree kxgen
 * wrote earlier with nothing but plain system calls. No program that writes
 * those bytes can start, read and write in much less.
 *
 *   kx_floor_copy FROM TO      (TO must not exist yet)
 *
 * Built a second time as kx_floor_copy_converter: linked against the shared
 * C library as kxgen is, and taking the user's locale and opening the code
 * page 936 converter (one character converted) before it copies. What that
 * build costs above the static one no change inside kxgen can take away.
 */
#include <dirent.h>
#ifdef KX_FLOOR_WITH_CONVERTER
#include <iconv.h>
#include <locale.h>
#endif
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int Fail(const char* what, const char* path) {
    perror(path);
    fprintf(stderr, "kx_floor_copy: cannot %s\n", what);
    return 1;
}

/* The files here are a few tens of kilobytes: one buffer takes the largest. */
static char buffer[1 << 20];

static int CopyFile(const char* from, const char* to) {
    const int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) return Fail("read", from);
    ssize_t got = 0, total = 0;
    while ((got = read(in, buffer + total, sizeof buffer - (size_t)total)) > 0) total += got;
    close(in);
    if (got < 0 || total == (ssize_t)sizeof buffer) return Fail("read the whole of", from);
    const int out = open(to, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0) return Fail("create", to);
    for (ssize_t done = 0; done < total;) {
        const ssize_t put = write(out, buffer + done, (size_t)(total - done));
        if (put <= 0) return Fail("write", to);
        done += put;
    }
    return close(out) == 0 ? 0 : Fail("close", to);
}

static int CopyTree(const char* from, const char* to) {
    if (mkdir(to, 0755) != 0) return Fail("make", to);
    DIR* dir = opendir(from);
    if (!dir) return Fail("list", from);
    int failed = 0;
    const struct dirent* entry;
    while (!failed && (entry = readdir(dir)) != NULL) {
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0) continue;
        char source[PATH_MAX], target[PATH_MAX];
        snprintf(source, sizeof source, "%s/%s", from, entry->d_name);
        snprintf(target, sizeof target, "%s/%s", to, entry->d_name);
        failed = entry->d_type == DT_DIR ? CopyTree(source, target) : CopyFile(source, target);
    }
    closedir(dir);
    return failed;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: kx_floor_copy FROM TO\n");
        return 2;
    }
#ifdef KX_FLOOR_WITH_CONVERTER
    setlocale(LC_CTYPE, "");
    const iconv_t converter = iconv_open("WCHAR_T", "CP936");
    if (converter == (iconv_t)-1) return Fail("open the converter", "CP936");
    char gbk[] = "\xD6\xD0", *in = gbk, out[8], *at = out;
    size_t inLeft = 2, outLeft = sizeof out;
    if (iconv(converter, &in, &inLeft, &at, &outLeft) == (size_t)-1) return Fail("convert", "CP936");
    iconv_close(converter);
#endif
    return CopyTree(argv[1], argv[2]);
}
