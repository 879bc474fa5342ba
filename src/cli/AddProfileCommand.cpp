// add-profile: a new upload profile, its login tested when the password is to be remembered.

#include "CliSupport.h"
#include "CommandLine.h"
#include "Commands.h"
#include "AppIdentity.h"
#include "TerminalPrompt.h"
#include "VelmLocale.h"
#include "findhost/FindHostUtils.h"
#include "store/CertificatePins.h"
#include "store/ProfileStore.h"

#include <QCommandLineParser>
#include <QFile>
#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace Cli {

namespace {

// A host name or IPv4 address as written: dot-separated labels of letters, digits and
// hyphens. Anything else is refused before a name lookup is ever made.
bool isHostSyntax(const QString& strHost)
{
    static const QRegularExpression s_label(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    if (strHost.isEmpty() || strHost.size() > 253)
        return false;
    const QStringList lstLabels = strHost.split(QLatin1Char('.'));
    for (const QString& strLabel : lstLabels) {
        if (!s_label.match(strLabel).hasMatch())
            return false;
    }
    return true;
}

// The text without the blanks around it; other white space (tabs, line breaks) stays.
QString withoutBlanks(const QString& strText)
{
    qsizetype iStart = 0;
    qsizetype iEnd = strText.size();
    while (iStart < iEnd && strText.at(iStart) == QLatin1Char(' '))
        ++iStart;
    while (iEnd > iStart && strText.at(iEnd - 1) == QLatin1Char(' '))
        --iEnd;
    return strText.mid(iStart, iEnd - iStart);
}

// The server named strName (without regard to case) in the list discover kept: its dotted address
// and HTTP port. Only the file is read: nothing is sent and no name is looked up.
bool keptServer(const QString& strName, QString* pstrAddress, int* piPort)
{
    QFile file(foundServersPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QJsonArray array = QJsonDocument::fromJson(file.read(1 << 20)).array();
    for (const QJsonValue& value : array) {
        const QJsonObject server = value.toObject();
        quint32 iAddress = 0;
        const QString strAddress = server.value(QLatin1String("address")).toString();
        if (server.value(QLatin1String("name")).toString().compare(strName, Qt::CaseInsensitive) != 0 ||
            !HostAddress::parseIPv4(strAddress, &iAddress) || iAddress == 0)
            continue;
        *pstrAddress = strAddress;
        *piPort = server.value(QLatin1String("http_port")).toInt();
        return true;
    }
    return false;
}

} // namespace

int addProfile(const QCommandLineParser& parser, QNetworkAccessManager* pNam)
{
    // A tab or line break around the name is refused with the name, not trimmed away.
    const QString strName = withoutBlanks(parser.value(QStringLiteral("name")));
    QString strHost = parser.value(QStringLiteral("host")).trimmed();
    const QString strAccount = parser.value(QStringLiteral("account")).trimmed();
    const QString strOwner = parser.value(QStringLiteral("personal")).trimmed();
    const bool blPersonal = parser.isSet(QStringLiteral("personal"));
    bool blPort = false;
    int iPort = parser.value(QStringLiteral("port")).toInt(&blPort);
    // A server name that discover listed stands for its address, and its port when --port is left out.
    const QString strServer = strHost;
    quint32 iLiteral = 0;
    int iKeptPort = 0;
    const bool blKept = !strHost.isEmpty() && !(HostAddress::parseIPv4(strHost, &iLiteral) && iLiteral != 0) &&
                        keptServer(strServer, &strHost, &iKeptPort);
    if (blKept && !parser.isSet(QStringLiteral("port"))) {
        iPort = iKeptPort;
        blPort = true;
    }

    if (strName.isEmpty())
        return fail(VelmLocale::message("err_profname_empty") + QLatin1String(" (--name)"));
    const QString strNameProblem = ProfileStore::profileNameProblem(strName);
    if (!strNameProblem.isEmpty())
        return fail(strNameProblem + QLatin1String(" (--name)"));
    bool blRead = false;
    ProfileStore::shortcutOrder(&blRead);
    if (!blRead)
        return fail(QStringLiteral("The profile was not added: ") + databaseError(false));
    if (!blPort || iPort < 1 || iPort > 65535)
        return fail(VelmLocale::message("err_bad_port") + QLatin1String(" (--port)"));
    if (!blKept && (!isHostSyntax(strHost) || QHostInfo::fromName(strHost).addresses().isEmpty()))
        return fail(VelmLocale::message("err_host_addr") + QLatin1String(" (--host)"));
    if (ProfileStore::profileExists(strName))
        return fail(VelmLocale::message("err_profname_duplicate").arg(strName) +
                    QLatin1String(" Choose another --name."));
    if (strAccount.isEmpty())
        return fail(VelmLocale::message("err_usrname_empty") + QLatin1String(" (--account)"));
    if (blPersonal && strOwner.isEmpty())
        return fail(VelmLocale::message("err_personal_empty") + QLatin1String(" (--personal OWNER)"));

    const bool blHttps = parser.isSet(QStringLiteral("https"));
    const QByteArray baFingerprint = CertificatePins::parseFingerprint(parser.value(QStringLiteral("fingerprint")));
    if (parser.isSet(QStringLiteral("fingerprint")) && !blHttps)
        return fail(QStringLiteral("--fingerprint is for servers reached with --https."));
    if (parser.isSet(QStringLiteral("fingerprint")) && baFingerprint.isEmpty())
        return fail(QStringLiteral("The fingerprint must be 64 hexadecimal digits, colons allowed (--fingerprint)."));
    // Trusted before the first connection, the login test included.
    if (!baFingerprint.isEmpty() && !CertificatePins::setPin(strHost, iPort, baFingerprint))
        return fail(QStringLiteral("The fingerprint was not stored: ") + databaseError(true), ExitFailed);

    const bool blRemember = parser.isSet(QStringLiteral("remember-password"));
    ServerProfile profile;
    ProfileStore::fillRecord(profile, strName, strHost, iPort, blHttps, strAccount,
                             QString(), false, strOwner, blPersonal, true, true, true, QStringLiteral("RENAME"),
                             QString(), {1});
    if (blRemember) {
        // The login test asks for the password once and keeps it for the profile.
        QString strPassword;
        if (!prompt().askText(AppIdentity::applicationTitle(), VelmLocale::message("msg_enter_pass").arg(strAccount),
                              true, strPassword))
            return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
        profile.password = strPassword;
        profile.savepass = true;
        if (const int iCode = logIn(pNam, &profile, QStringLiteral("The login test failed; the profile was not added.")))
            return iCode;
    }
    if (!ProfileStore::insertProfile(profile))
        return fail(QStringLiteral("Profile [%1] was not added: %2").arg(strName, databaseError(true)));
    out(QStringLiteral("Profile [%1] added.").arg(safe(strName)));
    if (blKept)
        out(QStringLiteral("Server [%1] is at %2, port %3, as discover found it.")
                .arg(safe(strServer), strHost)
                .arg(iPort));
    return ExitOk;
}

} // namespace Cli
