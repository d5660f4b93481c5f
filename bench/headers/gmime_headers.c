/* The same header work as bench_headers, done by GMime 3: each block of the corpus is parsed
 * into a message, then its subject, first sender address and date are read.
 *   bench_gmime_headers DIR PASSES     prints "messages/s <rate>" */
#include <dirent.h>
#include <gmime/gmime.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

typedef struct {
    char *data;
    size_t size;
} Block;

static int by_name(const void *a, const void *b)
{
    return strcmp(*(char *const *)a, *(char *const *)b);
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: bench_gmime_headers DIR PASSES\n");
        return 2;
    }
    const int passes = atoi(argv[2]) > 0 ? atoi(argv[2]) : 1;
    DIR *dir = opendir(argv[1]);
    if (!dir) {
        fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    char **names = NULL;
    size_t count = 0;
    struct dirent *entry;
    while ((entry = readdir(dir))) {
        if (!strstr(entry->d_name, ".txt"))
            continue;
        names = realloc(names, (count + 1) * sizeof *names);
        names[count++] = strdup(entry->d_name);
    }
    closedir(dir);
    qsort(names, count, sizeof *names, by_name);
    Block *blocks = calloc(count ? count : 1, sizeof *blocks);
    for (size_t i = 0; i < count; ++i) {
        char path[4096];
        snprintf(path, sizeof path, "%s/%s", argv[1], names[i]);
        FILE *f = fopen(path, "rb");
        if (!f)
            return 1;
        fseek(f, 0, SEEK_END);
        blocks[i].size = (size_t)ftell(f);
        fseek(f, 0, SEEK_SET);
        blocks[i].data = malloc(blocks[i].size + 1);
        if (fread(blocks[i].data, 1, blocks[i].size, f) != blocks[i].size)
            return 1;
        fclose(f);
    }
    if (count == 0) {
        fprintf(stderr, "no corpus in %s\n", argv[1]);
        return 1;
    }

    g_mime_init();
    long checksum = 0;
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (int p = 0; p < passes; ++p) {
        for (size_t i = 0; i < count; ++i) {
            GMimeStream *stream = g_mime_stream_mem_new_with_buffer(blocks[i].data, blocks[i].size);
            GMimeParser *parser = g_mime_parser_new_with_stream(stream);
            GMimeMessage *message = g_mime_parser_construct_message(parser, NULL);
            if (message) {
                const char *subject = g_mime_message_get_subject(message);
                InternetAddressList *from = g_mime_message_get_from(message);
                if (from && internet_address_list_length(from) > 0) {
                    InternetAddress *a = internet_address_list_get_address(from, 0);
                    if (INTERNET_ADDRESS_IS_MAILBOX(a))
                        checksum += (long)strlen(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(a)));
                }
                GDateTime *date = g_mime_message_get_date(message);
                checksum += (subject ? (long)strlen(subject) : 0) + (date ? 1 : 0);
                g_object_unref(message);
            }
            g_object_unref(parser);
            g_object_unref(stream);
        }
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    const double seconds = (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9;
    printf("messages/s %.0f (checksum %ld)\n", (double)count * passes / seconds, checksum);
    g_mime_shutdown();
    return 0;
}
