#include "PasswordCheck.h"

#include "AppError.h"

#include <QByteArray>

#include <sodium.h>

namespace PasswordCheck {

namespace {

void initLibrary()
{
    // Safe to call again; fails only when no source of randomness exists.
    if (sodium_init() < 0)
        throw AppError(QStringLiteral("The password library cannot be started"), ErrorKind::Password);
}

} // namespace

QString hash(const QString &password)
{
    initLibrary();
    const QByteArray bytes = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, bytes.constData(), static_cast<unsigned long long>(bytes.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw AppError(QStringLiteral("Not enough memory to store the password"), ErrorKind::Password);
    return QString::fromLatin1(out);
}

bool isHash(const QString &stored)
{
    return stored.startsWith(QLatin1String("$argon2id$")) || stored.startsWith(QLatin1String("$argon2i$"))
        || stored.startsWith(QLatin1String("$7$"));
}

bool matches(const QVariant &stored, const QString &typed)
{
    if (stored.isNull())
        return false;
    const QString text = stored.toString();
    if (!isHash(text))
        return text == typed;
    initLibrary();
    const QByteArray storedBytes = text.toLatin1();
    const QByteArray typedBytes = typed.toUtf8();
    return crypto_pwhash_str_verify(storedBytes.constData(), typedBytes.constData(),
                                    static_cast<unsigned long long>(typedBytes.size()))
        == 0;
}

} // namespace PasswordCheck
