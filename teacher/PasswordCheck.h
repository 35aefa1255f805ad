#pragma once

#include <QString>
#include <QVariant>

// The editing password as the pas table keeps it: a salted, slow hash in
// libsodium's self-describing text form. A course brought over from an older
// copy of the program may still hold the password as plain text; that value
// keeps matching until a new password is stored.
namespace PasswordCheck {

// A new hash of `password` (its UTF-8 bytes), ready to store. Throws AppError
// when the library cannot make one (out of memory).
QString hash(const QString &password);

// Whether `stored` holds one of the hashes hash() makes.
bool isHash(const QString &stored);

// Whether a typed password opens the editing tools. A Null stored value
// matches nothing, not even an empty box.
bool matches(const QVariant &stored, const QString &typed);

} // namespace PasswordCheck
