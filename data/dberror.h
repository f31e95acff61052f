#pragma once

#include <QString>
#include <stdexcept>

namespace cr {

// Raised by the data layer: the driver's message, its native code and the
// statement that failed. Only the window layer shows it to the operator.
class DbError : public std::runtime_error {
public:
    DbError(const QString &message, const QString &sql = {}, int nativeCode = 0)
        : std::runtime_error(message.toStdString()),
          m_message(message),
          m_sql(sql),
          m_code(nativeCode) {}

    const QString &message() const { return m_message; }
    const QString &sql() const { return m_sql; }
    int nativeCode() const { return m_code; }

private:
    QString m_message;
    QString m_sql;
    int m_code;
};

}  // namespace cr
