#pragma once
// The MySQL client library, loaded at run time. Only the entry points the
// program calls are resolved; the header supplies the types and constants.
#include <mysql.h>
#include <QString>

namespace qv::db {

struct MySqlApi {
    MYSQL *(*init)(MYSQL *) = nullptr;
    int (*options)(MYSQL *, enum mysql_option, const void *) = nullptr;
    MYSQL *(*real_connect)(MYSQL *, const char *, const char *, const char *, const char *, unsigned int, const char *,
                           unsigned long) = nullptr;
    int (*select_db)(MYSQL *, const char *) = nullptr;
    int (*real_query)(MYSQL *, const char *, unsigned long) = nullptr;
    MYSQL_RES *(*use_result)(MYSQL *) = nullptr;
    MYSQL_ROW (*fetch_row)(MYSQL_RES *) = nullptr;
    unsigned long *(*fetch_lengths)(MYSQL_RES *) = nullptr;
    MYSQL_FIELD *(*fetch_field)(MYSQL_RES *) = nullptr;
    unsigned int (*num_fields)(MYSQL_RES *) = nullptr;
    void (*free_result)(MYSQL_RES *) = nullptr;
    const char *(*error)(MYSQL *) = nullptr;
    unsigned int (*errno_)(MYSQL *) = nullptr;
    unsigned long (*real_escape_string)(MYSQL *, char *, const char *, unsigned long) = nullptr;
    my_ulonglong (*insert_id)(MYSQL *) = nullptr;
    my_ulonglong (*affected_rows)(MYSQL *) = nullptr;
    void (*close)(MYSQL *) = nullptr;
    int (*ping)(MYSQL *) = nullptr;
    // Optional: not every client library has it (nullptr then).
    my_socket (*get_socket)(MYSQL *) = nullptr;

    // Loads the library once; later calls answer from the first attempt.
    static bool load(QString *whyNot = nullptr);
    static bool isLoaded();
    static const MySqlApi &get();
};

} // namespace qv::db
