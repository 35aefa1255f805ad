#include "AppError.h"

AppError::AppError(const QString &message, const QString &kind)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_kind(kind)
{
}

QString withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() <= QLatin1Char('.'))
        return message;
    return message + QLatin1Char('.');
}
