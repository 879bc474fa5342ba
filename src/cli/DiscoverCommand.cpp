// discover: one search round for servers on the local network.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "findhost/FindHostUtils.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cstdio>

namespace Cli {

namespace {

// A fixed-size text field of a found server, up to its terminator.
QString fieldText(const char* pszField, size_t iSize, bool blUtf8)
{
    const int iLength = int(qstrnlen(pszField, uint(iSize)));
    return blUtf8 ? QString::fromUtf8(pszField, iLength) : QString::fromLatin1(pszField, iLength);
}

// Why a found server is not offered; empty when it is.
QString notOfferedReason(const NASINFO& info)
{
    switch (FoundServers::verdict(info)) {
    case FoundServers::Verdict::Offered:
        return QString();
    case FoundServers::Verdict::Unsupported:
        return QStringLiteral("not supported");
    case FoundServers::Verdict::Unreachable:
        return QStringLiteral("not reachable");
    default:
        return QStringLiteral("not ready");
    }
}

} // namespace

// One search round of iSeconds; Ctrl-C, SIGTERM and SIGHUP end it early.
int discover(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    int iSeconds = 6;
    if (parser.isSet(QStringLiteral("seconds"))) {
        bool blNumber = false;
        iSeconds = parser.value(QStringLiteral("seconds")).toInt(&blNumber);
        if (!blNumber || iSeconds < 1 || iSeconds > 600)
            return usage(QStringLiteral("--seconds takes a whole number from 1 to 600."));
    }
    std::fprintf(stderr, "Searching the local network for servers (%d s)...\n", iSeconds);
    std::fflush(stderr);
    FoundServerList list;
    StopSignals* pStop = StopSignals::install();
    {
        FindHostUtils finder(pNam, &list, iSeconds);
        QEventLoop loop;
        QObject::connect(&finder, &FindHostUtils::signalFindNasFinished, &loop, &QEventLoop::quit);
        QObject::connect(pStop, &StopSignals::signalStop, &loop, &QEventLoop::quit);
        finder.refresh();
        if (pStop->count() == 0)
            loop.exec();
        QObject::disconnect(pStop, nullptr, &loop, nullptr);
    }
    if (pStop->count() > 0)
        return cancelled();

    QJsonArray array;
    QJsonArray kept;
    for (const auto& entry : list) {
        const NASINFO& info = *entry.second;
        const QString strName = fieldText(info.serverName, sizeof(info.serverName), true);
        const QString strMac = fieldText(info.macAddress, sizeof(info.macAddress), false);
        const QString strAddress = FoundServers::dotted(info.ipAddress);
        const int iPort = FoundServers::httpPort(info);
        QString strStatus = FoundServers::statusWord(info.status);
        if (strStatus.isEmpty())
            strStatus = QString::number(info.status);
        const QString strReason = notOfferedReason(info);
        array.append(QJsonObject{{"name", strName},
                                 {"address", strAddress},
                                 {"mac", strMac},
                                 {"http_port", iPort},
                                 {"status", strStatus},
                                 {"build", info.buildNumber},
                                 {"reachable", info.reachable == 1},
                                 {"offered", strReason.isEmpty()},
                                 {"reason", strReason}});
        kept.append(QJsonObject{{"name", strName}, {"address", strAddress}, {"http_port", iPort}, {"mac", strMac}});
        if (!parser.isSet(QStringLiteral("json")))
            out(QStringList{safe(strName), strAddress, QString::number(iPort), safe(strStatus),
                            strReason.isEmpty() ? QStringLiteral("offered") : strReason}
                    .join(QLatin1Char('\t')));
    }
    if (parser.isSet(QStringLiteral("json")))
        out(jsonLine(QJsonDocument(array)));

    // The last search replaces what an earlier one kept.
    QSaveFile file(foundServersPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(kept).toJson()) < 0 || !file.commit())
        fail(QStringLiteral("The list was not kept for add-profile --host: %1").arg(file.errorString()), ExitFailed);
    if (list.empty())
        return fail(QStringLiteral("No server answered within %1 s. Check that the server is on and on the same "
                                   "network, and that no firewall blocks UDP port %2.")
                        .arg(iSeconds)
                        .arg(fhost::kDiscoveryPort),
                    ExitFailed);
    return ExitOk;
}

} // namespace Cli
