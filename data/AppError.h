#pragma once

#include <QString>
#include <stdexcept>

// The one kind of error this program raises. A command that meets it stops at
// that point; the handler edge (Messages::guarded) shows it and the program goes on.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &message, const QString &kind = QStringLiteral("AppError"));

    QString message() const { return m_message; }
    // A short class name shown only by the start-up "Application Error" box.
    QString kind() const { return m_kind; }

private:
    QString m_message;
    QString m_kind;
};

// The text an error box shows: a full stop is appended unless the message
// already ends in one or in a character that sorts before it, such as ")" or "!".
QString withFullStop(const QString &message);
