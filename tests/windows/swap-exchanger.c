/* Swaps two names over and over (renameat2 RENAME_EXCHANGE) until killed: a folder and a link
 * trade places while a clean runs. With a third argument it first waits until that file holds
 * the fourth, so the swapping may start only once the scan is done. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1 << 1)
#endif

static int Holds(const char* path, const char* text)
{
    static char buffer[1 << 16];
    FILE* file = fopen(path, "rb");
    if (!file)
        return 0;
    const size_t length = fread(buffer, 1, sizeof buffer - 1, file);
    fclose(file);
    buffer[length] = 0;
    return strstr(buffer, text) != NULL;
}

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 5) {
        fprintf(stderr, "usage: %s NAME1 NAME2 [WAIT-FILE TEXT]\n", argv[0]);
        return 2;
    }
    if (argc == 5) {
        const struct timespec pause = {0, 1000000};
        while (!Holds(argv[3], argv[4]))
            nanosleep(&pause, NULL);
    }
    for (;;)
        if (syscall(SYS_renameat2, AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) != 0) {
            perror("renameat2");
            return 1;
        }
}
