// remove-profile: a profile and its upload history go.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "store/ProfileStore.h"

#include <QCommandLineParser>

namespace Cli {

int removeProfile(const QCommandLineParser& parser, QNetworkAccessManager*)
{
    const QString strName = parser.positionalArguments().value(1);
    bool blRead = false;
    const QStringList lstNames = ProfileStore::shortcutOrder(&blRead);
    if (!blRead)
        return fail(databaseError(false));
    if (!lstNames.contains(strName))
        return fail(QStringLiteral("No profile named [%1].").arg(strName));
    if (!ProfileStore::deleteProfile(strName))
        return fail(QStringLiteral("Profile [%1] was not removed: %2").arg(strName, databaseError(true)));
    out(QStringLiteral("Profile [%1] removed.").arg(safe(strName)));
    return ExitOk;
}

} // namespace Cli
