#pragma once

#include <QString>
#include <stdexcept>

// What kind of failure an error is. The start-up error box names it, and a
// caller tells its own errors apart from those of what it calls by it.
enum class ErrorKind {
    General,
    Database,         // a table used in a way its state does not allow
    Engine,           // the database engine's or the server's own error
    EngineMissing,    // no database engine at all
    FileOpen,
    FileCreate,
    InputOutput,
    InvalidGraphic,
    InvalidOperation,
    MediaDevice,
    Import,           // a course folder of the Windows program that could not be brought over
    Password,
    Printer,
    TopicTree,
    VariantTypeCast,
};

// The one kind of error this program raises. A command that meets it stops at
// that point; the handler edge (Messages::guarded) shows it and the program goes on.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString &message, ErrorKind kind = ErrorKind::General);

    QString message() const { return m_message; }
    ErrorKind kind() const { return m_kind; }
    // The short class name the start-up "Application Error" box shows for a kind.
    static QString kindName(ErrorKind kind);

private:
    QString m_message;
    ErrorKind m_kind;
};

// The text an error box shows: a full stop is appended unless the message
// already ends in one or in a character that sorts before it, such as ")" or "!".
QString withFullStop(const QString &message);
