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

// The message as the error box shows it, with a full stop added when it has none: a
// Chinese message takes the Chinese full stop, and its own ！ or ？ already ends it.
inline QString errorBoxText(const QString& message) {
    static const QString kEnds = QStringLiteral(".!?\u3002\uff01\uff1f");
    if (message.isEmpty() || kEnds.contains(message.back()))
        return message;
    const bool chinese = message.front().unicode() >= 0x2e80;
    return message + (chinese ? QChar(0x3002) : QLatin1Char('.'));
}
