#pragma once

#include <QString>

// Remembered passwords in the desktop keyring (Secret Service), one entry per profile name.
// Each call waits for its keyring job in a local event loop (user input held back) and gives
// up after JobLimitMs. Unavailable: no session bus, no keyring service, an error, or a job
// that outlived the limit; after such a job, or one that failed only after a long wait, the
// keyring stays unavailable for the rest of the process.
namespace PasswordVault {

enum class Outcome
{
    Done,
    NotFound,
    Unavailable
};

// Long enough for the user to answer a keyring unlock prompt.
inline constexpr int JobLimitMs = 30000;

// False with PICTARIUM_KEYRING=off: no new password goes to the keyring; what it holds can
// still be read and removed, so that it can move back into the database.
bool enabled();

Outcome read(const QString& strProfile, QString* pstrPassword);
// Unavailable when switched off.
Outcome write(const QString& strProfile, const QString& strPassword);
// Done also when there was no entry.
Outcome remove(const QString& strProfile);

} // namespace PasswordVault
