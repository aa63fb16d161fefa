/* Builds a fresh SQLite file from an SQL script: mkdb <script.sql> <target>.
 * Used at build time only, so that the shipped database files are generated
 * from reviewable text instead of being checked in as binaries. */
#include <sqlite3.h>
#include <stdio.h>
#include <stdlib.h>

static char *readAll(const char *path)
{
    FILE *f = fopen(path, "rb");
    if (!f)
        return NULL;
    fseek(f, 0, SEEK_END);
    long size = ftell(f);
    fseek(f, 0, SEEK_SET);
    char *text = malloc((size_t)size + 1);
    if (text && fread(text, 1, (size_t)size, f) != (size_t)size) {
        free(text);
        text = NULL;
    }
    if (text)
        text[size] = '\0';
    fclose(f);
    return text;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: mkdb script.sql target\n");
        return 2;
    }
    char *sql = readAll(argv[1]);
    if (!sql) {
        fprintf(stderr, "mkdb: cannot read %s\n", argv[1]);
        return 1;
    }
    remove(argv[2]);
    sqlite3 *db = NULL;
    char *err = NULL;
    int rc = sqlite3_open(argv[2], &db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql, NULL, NULL, &err);
    if (rc != SQLITE_OK)
        fprintf(stderr, "mkdb: %s: %s\n", argv[2], err ? err : sqlite3_errmsg(db));
    sqlite3_free(err);
    sqlite3_close(db);
    free(sql);
    if (rc != SQLITE_OK)
        remove(argv[2]);
    return rc == SQLITE_OK ? 0 : 1;
}
