#include "AppError.h"

AppError::AppError(const QString &message, ErrorKind kind)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_kind(kind)
{
}

QString AppError::kindName(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::General:
        return QStringLiteral("AppError");
    case ErrorKind::Database:
        return QStringLiteral("EDatabaseError");
    case ErrorKind::Engine:
        return QStringLiteral("EOleException");
    case ErrorKind::EngineMissing:
        return QStringLiteral("EOleSysError");
    case ErrorKind::FileOpen:
        return QStringLiteral("EFOpenError");
    case ErrorKind::FileCreate:
        return QStringLiteral("EFCreateError");
    case ErrorKind::InputOutput:
        return QStringLiteral("EInOutError");
    case ErrorKind::InvalidGraphic:
        return QStringLiteral("EInvalidGraphic");
    case ErrorKind::InvalidOperation:
        return QStringLiteral("EInvalidOp");
    case ErrorKind::MediaDevice:
        return QStringLiteral("EMCIDeviceError");
    case ErrorKind::Import:
        return QStringLiteral("EImportError");
    case ErrorKind::Password:
        return QStringLiteral("EPasswordError");
    case ErrorKind::Printer:
        return QStringLiteral("EPrinter");
    case ErrorKind::TopicTree:
        return QStringLiteral("ETreeViewError");
    case ErrorKind::VariantTypeCast:
        return QStringLiteral("EVariantTypeCastError");
    }
    return QStringLiteral("AppError");
}

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() <= QLatin1Char('.'))
        return message;
    return message + QLatin1Char('.');
}
