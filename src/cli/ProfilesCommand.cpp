// profiles: the stored upload profiles.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "store/ProfileStore.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace Cli {

int listProfiles(const QCommandLineParser& parser, QNetworkAccessManager*)
{
    const bool blJson = parser.isSet(QStringLiteral("json"));
    bool blRead = false;
    const QMap<QString, ProfileSummary> mapProfiles = ProfileStore::listProfiles(&blRead);
    if (!blRead)
        return fail(databaseError(false));
    QJsonArray array;
    for (const ProfileSummary& profile : mapProfiles) {
        const QString strUrl = QStringLiteral("%1://%2:%3")
                                   .arg(profile.https ? QStringLiteral("https") : QStringLiteral("http"),
                                        profile.hostaddr, QString::number(profile.port));
        if (!blJson)
            out(safe(profile.profname) + QLatin1Char('\t') + safe(strUrl) + QLatin1Char('\t') + safe(profile.account));
        array.append(QJsonObject{{"name", profile.profname},      {"host", profile.hostaddr},
                                 {"port", profile.port},          {"https", profile.https},
                                 {"account", profile.account},    {"personal", profile.personal},
                                 {"owner", profile.usrname},      {"remember_password", profile.savepass}});
    }
    if (blJson)
        out(jsonLine(QJsonDocument(array)));
    return ExitOk;
}

} // namespace Cli
