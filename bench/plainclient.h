#pragma once

// The plain MariaDB client library, as a program without our layers would
// fetch a result: the yardstick of the benches.
#include <mysql.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

struct PlainClient {
    MYSQL *h = mysql_init(nullptr);
    PlainClient(int port, const char *db) {
        if (!mysql_real_connect(h, "127.0.0.1", "root", "kqv7315", db, port, nullptr, 0)) {
            std::fprintf(stderr, "plain connect: %s\n", mysql_error(h));
            std::exit(2);
        }
        mysql_set_character_set(h, "utf8mb4");
    }
    ~PlainClient() { mysql_close(h); }
    // Store the result, walk every row and its lengths; milliseconds.
    double fetchMs(const QByteArray &sql) {
        QElapsedTimer t;
        t.start();
        mysql_real_query(h, sql.constData(), sql.size());
        MYSQL_RES *res = mysql_store_result(h);
        const unsigned nf = mysql_num_fields(res);
        volatile qint64 bytes = 0;
        while (MYSQL_ROW row = mysql_fetch_row(res)) {
            const unsigned long *len = mysql_fetch_lengths(res);
            for (unsigned i = 0; i < nf; ++i)
                if (row[i]) bytes = bytes + qint64(len[i]);
        }
        mysql_free_result(res);
        return t.nsecsElapsed() / 1e6;
    }
};

inline double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace bench
