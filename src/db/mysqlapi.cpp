#include "db/mysqlapi.h"

#include <QLibrary>
#include <QStringList>

namespace qv::db {

namespace {
MySqlApi g_api;
bool g_tried = false;
bool g_loaded = false;
QString g_error;

template <typename F>
bool resolve(QLibrary &lib, const char *name, F &target, QStringList &missing)
{
    target = reinterpret_cast<F>(lib.resolve(name));
    if (!target)
        missing << QString::fromLatin1(name);
    return target != nullptr;
}
} // namespace

bool MySqlApi::load(QString *whyNot)
{
    if (!g_tried) {
        g_tried = true;
        static QLibrary lib;
        const char *names[] = {"libmariadb.so.3", "libmariadb.so", "libmysqlclient.so.21"};
        QStringList tried;
        bool opened = false;
        for (const char *name : names) {
            lib.setFileName(QString::fromLatin1(name));
            if (lib.load()) {
                opened = true;
                break;
            }
            tried << lib.errorString();
        }
        if (!opened) {
            g_error = QStringLiteral("Не найдена клиентская библиотека MySQL (libmariadb.so.3, libmariadb.so, "
                                     "libmysqlclient.so.21).\n")
                      + tried.join(QLatin1Char('\n'));
        } else {
            QStringList missing;
            MySqlApi a;
            resolve(lib, "mysql_init", a.init, missing);
            resolve(lib, "mysql_options", a.options, missing);
            resolve(lib, "mysql_real_connect", a.real_connect, missing);
            resolve(lib, "mysql_select_db", a.select_db, missing);
            resolve(lib, "mysql_real_query", a.real_query, missing);
            resolve(lib, "mysql_use_result", a.use_result, missing);
            resolve(lib, "mysql_fetch_row", a.fetch_row, missing);
            resolve(lib, "mysql_fetch_lengths", a.fetch_lengths, missing);
            resolve(lib, "mysql_fetch_field", a.fetch_field, missing);
            resolve(lib, "mysql_num_fields", a.num_fields, missing);
            resolve(lib, "mysql_free_result", a.free_result, missing);
            resolve(lib, "mysql_error", a.error, missing);
            resolve(lib, "mysql_errno", a.errno_, missing);
            resolve(lib, "mysql_real_escape_string", a.real_escape_string, missing);
            resolve(lib, "mysql_insert_id", a.insert_id, missing);
            resolve(lib, "mysql_affected_rows", a.affected_rows, missing);
            resolve(lib, "mysql_close", a.close, missing);
            resolve(lib, "mysql_ping", a.ping, missing);
            a.get_socket = reinterpret_cast<decltype(a.get_socket)>(lib.resolve("mysql_get_socket"));
            if (missing.isEmpty()) {
                g_api = a;
                g_loaded = true;
            } else {
                g_error = QStringLiteral("В клиентской библиотеке MySQL нет функций: ") + missing.join(QStringLiteral(", "));
            }
        }
    }
    if (!g_loaded && whyNot)
        *whyNot = g_error;
    return g_loaded;
}

bool MySqlApi::isLoaded() { return g_loaded; }

const MySqlApi &MySqlApi::get() { return g_api; }

} // namespace qv::db
