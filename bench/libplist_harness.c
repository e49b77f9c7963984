/* The libplist 2.2 anchor of bench/compare: the same jobs as ours on the same file, timed the same
 * way. libplist_harness --op parse|write|save --file FILE [--runs K] [--max-ms T] [--memory]
 *   parse  plist_from_memory on the file's bytes (the tree is freed outside the timing)
 *   write  plist_to_xml of the file's tree
 *   save   a read-modify-write of a capture on a copy of the file: read the bytes, parse, append a
 *          record to the first section's array, plist_to_xml, write a temporary file, fsync,
 *          rename it over the file, fsync the folder.
 * Prints one JSON line like lapvane_compare's. */

#define _GNU_SOURCE
#include <plist/plist.h>

#include <errno.h>
#include <fcntl.h>
#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec * 1e3 + (double)t.tv_nsec / 1e6;
}

static void fail(const char* op, const char* what) {
    printf("{\"op\":\"%s\",\"error\":\"%s: %s\"}\n", op, what, errno ? strerror(errno) : "failed");
    exit(1);
}

static char* read_all(const char* path, uint32_t* length) {
    int fd = open(path, O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0) {
        return NULL;
    }
    char* bytes = malloc((size_t)info.st_size + 1);
    size_t done = 0;
    while (bytes && done < (size_t)info.st_size) {
        ssize_t got = read(fd, bytes + done, (size_t)info.st_size - done);
        if (got <= 0) {
            free(bytes);
            bytes = NULL;
            break;
        }
        done += (size_t)got;
    }
    close(fd);
    *length = (uint32_t)done;
    return bytes;
}

static int write_durably(const char* path, const char* folder, const char* bytes, uint32_t length) {
    char temporary[4096];
    snprintf(temporary, sizeof temporary, "%s.libplist", path);
    int fd = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return -1;
    }
    uint32_t done = 0;
    while (done < length) {
        ssize_t put = write(fd, bytes + done, length - done);
        if (put <= 0) {
            close(fd);
            return -1;
        }
        done += (uint32_t)put;
    }
    if (fsync(fd) != 0 || close(fd) != 0 || rename(temporary, path) != 0) {
        return -1;
    }
    int dir = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0 || fsync(dir) != 0) {
        return -1;
    }
    close(dir);
    return 0;
}

static plist_t new_record(void) {
    plist_t record = plist_new_dict();
    plist_t laps = plist_new_array();
    plist_array_append_item(laps, plist_new_real((double)42.5f));
    plist_array_append_item(laps, plist_new_real((double)37.75f));
    plist_array_append_item(laps, plist_new_real((double)31.25f));
    plist_dict_set_item(record, "Last Lap", plist_new_real((double)31.25f));
    plist_dict_set_item(record, "All Laps", laps);
    plist_dict_set_item(record, "Total Time", plist_new_real(111.5));
    plist_dict_set_item(record, "Date", plist_new_date(800000000, 0));
    return record;
}

/* One capture; answers 0 on success. */
static int save(const char* path, const char* folder) {
    uint32_t length = 0;
    char* bytes = read_all(path, &length);
    if (!bytes) {
        return -1;
    }
    plist_t root = NULL;
    plist_from_memory(bytes, length, &root);
    free(bytes);
    if (!root) {
        return -1;
    }
    plist_t sections = plist_dict_get_item(root, "Sections");
    plist_t first = sections ? plist_array_get_item(sections, 0) : NULL;
    char* name = NULL;
    if (first) {
        plist_get_string_val(first, &name);
    }
    if (!name) {
        plist_free(root);
        return -1;
    }
    char key[4096];
    snprintf(key, sizeof key, "Times - %s", name);
    free(name);
    plist_t records = plist_dict_get_item(root, key);
    if (!records) {
        records = plist_new_array();
        plist_dict_set_item(root, key, records);
    }
    plist_array_append_item(records, new_record());
    char* xml = NULL;
    uint32_t xml_length = 0;
    plist_to_xml(root, &xml, &xml_length);
    plist_free(root);
    int status = xml ? write_durably(path, folder, xml, xml_length) : -1;
    plist_to_xml_free(xml);
    return status;
}

static long peak_kb(const char* label) {
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    long kb = 0;
    size_t n = strlen(label);
    while (status && fgets(line, sizeof line, status)) {
        if (strncmp(line, label, n) == 0) {
            kb = strtol(line + n, NULL, 10);
        }
    }
    if (status) {
        fclose(status);
    }
    return kb;
}

static void start_peak(void) {
    malloc_trim(0);
    FILE* clear = fopen("/proc/self/clear_refs", "w");
    if (clear) {
        fputs("5", clear);
        fclose(clear);
    }
}

int main(int argc, char** argv) {
    const char* op = NULL;
    const char* file = NULL;
    int runs = 3;
    double max_ms = 0;
    int memory = 0;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--op") == 0 && i + 1 < argc) {
            op = argv[++i];
        } else if (strcmp(argv[i], "--file") == 0 && i + 1 < argc) {
            file = argv[++i];
        } else if (strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = atoi(argv[++i]);
        } else if (strcmp(argv[i], "--max-ms") == 0 && i + 1 < argc) {
            max_ms = atof(argv[++i]);
        } else if (strcmp(argv[i], "--memory") == 0) {
            memory = 1;
        } else {
            fprintf(stderr, "usage: libplist_harness --op parse|write|save --file FILE [--runs K] "
                            "[--max-ms T] [--memory]\n");
            return 2;
        }
    }
    if (!op || !file || (strcmp(op, "parse") && strcmp(op, "write") && strcmp(op, "save")) || runs < 1) {
        fprintf(stderr, "libplist_harness: give --op parse, write or save and --file\n");
        return 2;
    }

    uint32_t length = 0;
    char* bytes = read_all(file, &length);
    if (!bytes) {
        fail(op, "cannot read the file");
    }
    plist_t tree = NULL;
    char folder[] = "/tmp/lapvane-libplist-XXXXXX";
    char copy[4096];
    if (strcmp(op, "write") == 0) {
        plist_from_memory(bytes, length, &tree);
        if (!tree) {
            fail(op, "cannot parse the file");
        }
    } else if (strcmp(op, "save") == 0) {
        if (!mkdtemp(folder)) {
            fail(op, "cannot make a temporary folder");
        }
        snprintf(copy, sizeof copy, "%s/saved.plist", folder);
        if (write_durably(copy, folder, bytes, length) != 0) {
            fail(op, "cannot copy the file");
        }
    }

    if (memory) {
        runs = 1;
        start_peak();
    }
    long base = memory ? peak_kb("VmRSS:") : 0;
    printf("{\"op\":\"%s\",\"file_bytes\":%u", op, length);
    if (!memory) {
        printf(",\"ms\":[");
    }
    double spent = 0;
    for (int i = 0; i < runs && (max_ms <= 0 || spent < max_ms); ++i) {
        plist_t parsed = NULL;
        char* xml = NULL;
        uint32_t xml_length = 0;
        int status = 0;
        double start = now_ms();
        if (strcmp(op, "parse") == 0) {
            plist_from_memory(bytes, length, &parsed);
            status = parsed ? 0 : -1;
        } else if (strcmp(op, "write") == 0) {
            plist_to_xml(tree, &xml, &xml_length);
            status = xml ? 0 : -1;
        } else {
            status = save(copy, folder);
        }
        double took = now_ms() - start;
        spent += took;
        plist_free(parsed);
        plist_to_xml_free(xml);
        if (status != 0) {
            printf("%s,\"error\":\"the %s failed\"}\n", memory ? "" : "]", op);
            return 1;
        }
        if (!memory) {
            printf("%s%.4f", i ? "," : "", took);
        }
    }
    if (memory) {
        long peak = peak_kb("VmHWM:");
        printf(",\"base_bytes\":%ld,\"peak_bytes\":%ld,\"peak_extra_bytes\":%ld}\n", base * 1024, peak * 1024,
               (peak > base ? peak - base : 0) * 1024);
    } else {
        printf("]}\n");
    }
    if (strcmp(op, "save") == 0) {
        unlink(copy);
        rmdir(folder);
    }
    plist_free(tree);
    free(bytes);
    return 0;
}
