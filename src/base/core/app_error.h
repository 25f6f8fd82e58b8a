#pragma once
// The one error the program raises: a message for the error box. A handler that
// meets it stops there and keeps what it already changed.

#include <QString>

class AppError {
  public:
    explicit AppError(QString message) : m_message(std::move(message)) {}
    const QString& message() const { return m_message; }

    static AppError cannotOpen(const QString& path) {
        return AppError(QStringLiteral("Cannot open file ") + path);
    }
    static AppError cannotCreate(const QString& path) {
        return AppError(QStringLiteral("Cannot create file ") + path);
    }
    static AppError unableToWrite(const QString& path) {
        return AppError(QStringLiteral("Unable to write to ") + path);
    }

  private:
    QString m_message;
};

// The message as the error box shows it: with a full stop added when it has none (a
// Chinese message brings its own).
inline QString errorBoxText(const QString& message) {
    return message.endsWith(QLatin1Char('.')) || message.endsWith(QChar(0x3002))
               ? message
               : message + QLatin1Char('.');
}
