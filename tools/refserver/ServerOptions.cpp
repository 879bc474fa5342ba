#include "ServerOptions.h"

#include <QHostAddress>

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// "LEFT=RIGHT" split at the last "=".
bool splitAssignment(const QString& strValue, QString& strLeft, QString& strRight)
{
    const qsizetype iPos = strValue.lastIndexOf(QLatin1Char('='));
    if (iPos <= 0 || iPos == strValue.size() - 1)
        return false;
    strLeft = strValue.left(iPos);
    strRight = strValue.mid(iPos + 1);
    return true;
}

bool toNumber(const QString& strValue, qint64 iMin, qint64 iMax, qint64& iOut)
{
    bool blOk = false;
    iOut = strValue.toLongLong(&blOk);
    return blOk && iOut >= iMin && iOut <= iMax;
}

// "TEXT=N" values with N from iMin to iMax, into rules of {text, number}.
template <typename Rule>
bool readNumberRules(const QStringList& lstValues, qint64 iMin, qint64 iMax, const QString& strWants,
                     QList<Rule>& lstRules, QString& strError)
{
    for (const QString& strValue : lstValues) {
        QString strText;
        QString strNumber;
        qint64 iNumber = 0;
        if (!splitAssignment(strValue, strText, strNumber) || !toNumber(strNumber, iMin, iMax, iNumber)) {
            strError = strWants + QLatin1String(": ") + strValue;
            return false;
        }
        lstRules.append({strText, int(iNumber)});
    }
    return true;
}

// The values of a PATH option, each starting with "/".
bool readPaths(const QCommandLineParser& parser, const QCommandLineOption& option, QStringList& lstPaths,
               QString& strError)
{
    lstPaths = parser.values(option);
    for (const QString& strPath : std::as_const(lstPaths)) {
        if (!strPath.startsWith(QLatin1Char('/'))) {
            strError =
                QStringLiteral("--%1 wants a PATH starting with /: %2").arg(option.names().constFirst(), strPath);
            return false;
        }
    }
    return true;
}

QString normaliseAlbum(const QString& strAlbum)
{
    return strAlbum.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

bool readBool(const QJsonObject& object, const char* pszKey, bool& blOut, QString& strError)
{
    const QJsonValue value = object.value(QLatin1String(pszKey));
    if (value.isUndefined())
        return true;
    if (!value.isBool()) {
        strError = QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(pszKey));
        return false;
    }
    blOut = value.toBool();
    return true;
}

bool readAccount(const QJsonValue& value, Account& account, QString& strError)
{
    if (!value.isObject()) {
        strError = QStringLiteral("every account must be an object");
        return false;
    }
    const QJsonObject object = value.toObject();
    const QJsonValue name = object.value(QLatin1String("name"));
    if (!name.isString() || name.toString().isEmpty()) {
        strError = QStringLiteral("every account needs a non-empty \"name\"");
        return false;
    }
    account.strName = name.toString();
    const QJsonValue password = object.value(QLatin1String("password"));
    if (!password.isUndefined() && !password.isString()) {
        strError = QStringLiteral("\"password\" of %1 must be text").arg(account.strName);
        return false;
    }
    account.strPassword = password.toString();
    if (!readBool(object, "admin", account.blAdmin, strError) ||
        !readBool(object, "disabled", account.blDisabled, strError) ||
        !readBool(object, "photo_user", account.blPhotoUser, strError) ||
        !readBool(object, "login_privilege", account.blLoginPrivilege, strError) ||
        !readBool(object, "personal_enabled", account.blPersonalEnabled, strError))
        return false;
    const QJsonValue forbidden = object.value(QLatin1String("forbidden_albums"));
    if (forbidden.isUndefined())
        return true;
    if (!forbidden.isArray()) {
        strError = QStringLiteral("\"forbidden_albums\" of %1 must be a list").arg(account.strName);
        return false;
    }
    for (const QJsonValue& album : forbidden.toArray()) {
        if (!album.isString()) {
            strError = QStringLiteral("\"forbidden_albums\" of %1 must hold text").arg(account.strName);
            return false;
        }
        account.lstForbiddenAlbums.append(normaliseAlbum(album.toString()));
    }
    return true;
}

bool parseDiscovery(const QCommandLineParser& parser, DiscoveryOptions& discovery, QString& strError)
{
    discovery.blEnabled = parser.isSet(QStringLiteral("discovery"));
    discovery.strBind = parser.value(QStringLiteral("discovery"));
    struct NumberOption
    {
        const char* pszName;
        qint64 iMin;
        qint64 iMax;
        int* piValue;
    };
    int iPort = discovery.iPort;
    const NumberOption numbers[] = {
        {"discovery-port", 1, 65535, &iPort},
        {"discovery-status", -2147483647, 2147483647, &discovery.iStatus},
        {"discovery-build", -2147483647, 2147483647, &discovery.iBuild},
        {"discovery-http-port", 0, 65535, &discovery.iHttpPort},
        {"discovery-service-flag", -2147483647, 2147483647, &discovery.iServiceFlag},
        {"discovery-type", 0, 255, &discovery.iType},
        {"discovery-noise", 0, 100000, &discovery.iNoise},
    };
    for (const NumberOption& option : numbers) {
        const QString strName = QString::fromLatin1(option.pszName);
        if (!parser.isSet(strName))
            continue;
        qint64 iNumber = 0;
        if (!toNumber(parser.value(strName), option.iMin, option.iMax, iNumber)) {
            strError = QStringLiteral("--%1 wants a number from %2 to %3").arg(strName).arg(option.iMin).arg(option.iMax);
            return false;
        }
        *option.piValue = int(iNumber);
    }
    discovery.iPort = quint16(iPort);
    if (parser.isSet(QStringLiteral("discovery-name")))
        discovery.strName = parser.value(QStringLiteral("discovery-name"));
    if (parser.isSet(QStringLiteral("discovery-mac")))
        discovery.strMac = parser.value(QStringLiteral("discovery-mac"));
    discovery.strAddress = parser.value(QStringLiteral("discovery-ip"));
    if (parser.isSet(QStringLiteral("discovery-caps"))) {
        discovery.lstCapabilities.clear();
        const QStringList lstBits = parser.value(QStringLiteral("discovery-caps")).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString& strBit : lstBits) {
            qint64 iBit = 0;
            if (!toNumber(strBit.trimmed(), 0, 127, iBit)) {
                strError = QStringLiteral("--discovery-caps wants bit numbers from 0 to 127");
                return false;
            }
            discovery.lstCapabilities.append(int(iBit));
        }
    }
    if (!discovery.strAddress.isEmpty() &&
        QHostAddress(discovery.strAddress).protocol() != QAbstractSocket::IPv4Protocol) {
        strError = QStringLiteral("--discovery-ip wants an IPv4 address");
        return false;
    }
    return true;
}

} // namespace

QString ServerOptions::usage()
{
    return QStringLiteral(
        "Usage: pictarium-refserver --root DIR [--port N] [--listen ADDR] [--https] [--cert FILE --key FILE]\n"
        "                           [--accounts FILE] [--journal FILE] [fault options]\n"
        "Fault options:\n"
        "  --html-on PATH               answer PATH with an HTML error page (repeatable)\n"
        "  --status-on PATH=CODE        answer PATH with HTTP status CODE (repeatable)\n"
        "  --drop-after BYTES:COUNT     drop the next COUNT connections after BYTES body bytes (repeatable)\n"
        "  --session-lost-after N       session_lost for every file upload after N stored files\n"
        "  --delay-ms N                 delay every reply by N ms\n"
        "  --fail-upload REGEX=ERRMSG   fail file uploads whose \"album/name\" matches REGEX (repeatable)\n"
        "  --close-immediately PATH     close the connection without a reply (repeatable)\n"
        "  --hang-on PATH               read requests to PATH whole, then never answer (repeatable)\n"
        "  --hang-after-store N         store the N-th source file, then never answer that request\n"
        "  --pause-body NAME=MS         stop reading the body of every PUT file upload named NAME (X-ORIG-FNAME\n"
        "                               as sent or percent-decoded) for MS ms once its first bytes are in\n"
        "                               (repeatable; the first rule naming it counts; empty bodies never wait)\n"
        "  --endless-reply PATH         answer PATH with 200 and an endless chunked body of x (repeatable)\n"
        "  --oversized-reply PATH       answer PATH with 200, Content-Length 2147483648 and that many bytes of x,\n"
        "                               unless the client closes first (repeatable)\n"
        "                               Both read and handle the request first (an upload is stored as usual)\n"
        "                               and replace its answer, but not a hang; --endless-reply wins over\n"
        "                               --oversized-reply. The connection ends with the body.\n"
        "Discovery (answers UDP queries; run it only inside a network namespace of its own):\n"
        "  --listen ADDR                serve HTTP on ADDR instead of 127.0.0.1\n"
        "  --discovery ADDR             listen for queries on ADDR (IPv4) at the discovery port\n"
        "  --discovery-port N           discovery port, also where answers go (default 9999)\n"
        "  --discovery-name TEXT        server name in the answer (default Kestrabox)\n"
        "  --discovery-mac TEXT         MAC address text in the answer\n"
        "  --discovery-ip ADDR          address announced in the answer (default: ADDR of --discovery)\n"
        "  --discovery-status N         status in the answer (default 1: photo application ready)\n"
        "  --discovery-build N          build number in the answer (default 200)\n"
        "  --discovery-http-port N      HTTP port in the answer (default: the port this server listens on)\n"
        "  --discovery-service-flag N   service flag in the answer (default 0)\n"
        "  --discovery-caps BITS        capability bits, comma-separated (default 3; empty for none)\n"
        "  --discovery-type N           packet type of the answer (default 2)\n"
        "  --discovery-noise N          send N malformed datagrams before the first answer\n"
        "The first line on stdout is the base URL; the server stops on SIGTERM or SIGINT.\n");
}

bool ServerOptions::parse(const QStringList& lstArguments, ServerOptions& options, QString& strError, bool& blHelp)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption root(QStringLiteral("root"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("N"));
    const QCommandLineOption https(QStringLiteral("https"));
    const QCommandLineOption cert(QStringLiteral("cert"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption key(QStringLiteral("key"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption accounts(QStringLiteral("accounts"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption journal(QStringLiteral("journal"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption htmlOn(QStringLiteral("html-on"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption statusOn(QStringLiteral("status-on"), QString(), QStringLiteral("PATH=CODE"));
    const QCommandLineOption dropAfter(QStringLiteral("drop-after"), QString(), QStringLiteral("BYTES:COUNT"));
    const QCommandLineOption sessionLost(QStringLiteral("session-lost-after"), QString(), QStringLiteral("N"));
    const QCommandLineOption delay(QStringLiteral("delay-ms"), QString(), QStringLiteral("N"));
    const QCommandLineOption failUpload(QStringLiteral("fail-upload"), QString(), QStringLiteral("REGEX=ERRMSG"));
    const QCommandLineOption closeNow(QStringLiteral("close-immediately"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption hangOn(QStringLiteral("hang-on"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption hangAfterStore(QStringLiteral("hang-after-store"), QString(), QStringLiteral("N"));
    const QCommandLineOption pauseBody(QStringLiteral("pause-body"), QString(), QStringLiteral("NAME=MS"));
    const QCommandLineOption endlessReply(QStringLiteral("endless-reply"), QString(), QStringLiteral("PATH"));
    const QCommandLineOption oversizedReply(QStringLiteral("oversized-reply"), QString(), QStringLiteral("PATH"));
    parser.addOptions({help, root, port, https, cert, key, accounts, journal, htmlOn, statusOn, dropAfter, sessionLost,
                       delay, failUpload, closeNow, hangOn, hangAfterStore});
    parser.addOptions({pauseBody, endlessReply, oversizedReply});
    const QCommandLineOption listen(QStringLiteral("listen"), QString(), QStringLiteral("ADDR"));
    parser.addOption(listen);
    const QCommandLineOption discovery(QStringLiteral("discovery"), QString(), QStringLiteral("ADDR"));
    const QCommandLineOption discoveryPort(QStringLiteral("discovery-port"), QString(), QStringLiteral("N"));
    const QCommandLineOption discoveryName(QStringLiteral("discovery-name"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption discoveryMac(QStringLiteral("discovery-mac"), QString(), QStringLiteral("TEXT"));
    const QCommandLineOption discoveryIp(QStringLiteral("discovery-ip"), QString(), QStringLiteral("ADDR"));
    const QCommandLineOption discoveryCaps(QStringLiteral("discovery-caps"), QString(), QStringLiteral("BITS"));
    const QCommandLineOption discoveryStatus(QStringLiteral("discovery-status"), QString(), QStringLiteral("N"));
    const QCommandLineOption discoveryBuild(QStringLiteral("discovery-build"), QString(), QStringLiteral("N"));
    const QCommandLineOption discoveryHttpPort(QStringLiteral("discovery-http-port"), QString(), QStringLiteral("N"));
    const QCommandLineOption discoveryFlag(QStringLiteral("discovery-service-flag"), QString(), QStringLiteral("N"));
    const QCommandLineOption discoveryType(QStringLiteral("discovery-type"), QString(), QStringLiteral("N"));
    const QCommandLineOption discoveryNoise(QStringLiteral("discovery-noise"), QString(), QStringLiteral("N"));
    parser.addOptions({discovery, discoveryPort, discoveryName, discoveryMac, discoveryIp, discoveryCaps,
                       discoveryStatus, discoveryBuild, discoveryHttpPort, discoveryFlag, discoveryType,
                       discoveryNoise});

    blHelp = false;
    if (!parser.parse(lstArguments)) {
        strError = parser.errorText();
        return false;
    }
    if (parser.isSet(help)) {
        blHelp = true;
        return true;
    }
    if (!parser.positionalArguments().isEmpty()) {
        strError = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().constFirst());
        return false;
    }
    for (const QCommandLineOption& single :
         {root, port, cert, key, accounts, journal, sessionLost, delay, hangAfterStore}) {
        if (parser.values(single).size() > 1) {
            strError = QStringLiteral("--%1 given more than once").arg(single.names().constFirst());
            return false;
        }
    }

    options.strRoot = parser.value(root);
    if (options.strRoot.isEmpty()) {
        strError = QStringLiteral("--root is required");
        return false;
    }
    qint64 iNumber = 0;
    if (parser.isSet(port)) {
        if (!toNumber(parser.value(port), 0, 65535, iNumber)) {
            strError = QStringLiteral("--port must be 0 to 65535");
            return false;
        }
        options.iPort = quint16(iNumber);
    }
    options.strCertFile = parser.value(cert);
    options.strKeyFile = parser.value(key);
    if (parser.isSet(cert) != parser.isSet(key)) {
        strError = QStringLiteral("--cert and --key go together");
        return false;
    }
    options.blHttps = parser.isSet(https) || parser.isSet(cert);
    options.strAccountsFile = parser.value(accounts);
    options.strJournalFile = parser.value(journal);
    if (parser.isSet(listen)) {
        // Other than loopback only inside a network namespace of one's own.
        options.strListen = parser.value(listen);
        if (QHostAddress(options.strListen).protocol() != QAbstractSocket::IPv4Protocol) {
            strError = QStringLiteral("--listen wants an IPv4 address");
            return false;
        }
    }

    options.lstHtmlOn = parser.values(htmlOn);
    if (!readNumberRules(parser.values(statusOn), 100, 599,
                         QStringLiteral("--status-on wants PATH=CODE with CODE 100 to 599"), options.lstStatusOn,
                         strError))
        return false;
    for (const QString& strValue : parser.values(dropAfter)) {
        const QStringList lstParts = strValue.split(QLatin1Char(':'));
        qint64 iCount = 0;
        if (lstParts.size() != 2 || !toNumber(lstParts.at(0), 0, Q_INT64_C(1) << 50, iNumber) ||
            !toNumber(lstParts.at(1), 1, 1000000, iCount)) {
            strError = QStringLiteral("--drop-after wants BYTES:COUNT with COUNT of at least 1: %1").arg(strValue);
            return false;
        }
        options.lstDropAfter.append({iNumber, int(iCount)});
    }
    if (parser.isSet(sessionLost)) {
        if (!toNumber(parser.value(sessionLost), 0, 1000000000, iNumber)) {
            strError = QStringLiteral("--session-lost-after wants a count");
            return false;
        }
        options.iSessionLostAfter = int(iNumber);
    }
    if (parser.isSet(delay)) {
        if (!toNumber(parser.value(delay), 0, 3600000, iNumber)) {
            strError = QStringLiteral("--delay-ms wants 0 to 3600000");
            return false;
        }
        options.iDelayMs = int(iNumber);
    }
    for (const QString& strValue : parser.values(failUpload)) {
        QString strRegex;
        QString strMessage;
        if (!splitAssignment(strValue, strRegex, strMessage)) {
            strError = QStringLiteral("--fail-upload wants REGEX=ERRMSG: %1").arg(strValue);
            return false;
        }
        FailUploadRule rule{QRegularExpression(strRegex), strMessage};
        if (!rule.regex.isValid()) {
            strError =
                QStringLiteral("--fail-upload: bad regular expression %1: %2").arg(strRegex, rule.regex.errorString());
            return false;
        }
        options.lstFailUpload.append(rule);
    }
    options.lstCloseImmediately = parser.values(closeNow);
    options.lstHangOn = parser.values(hangOn);
    if (parser.isSet(hangAfterStore)) {
        if (!toNumber(parser.value(hangAfterStore), 1, 1000000000, iNumber)) {
            strError = QStringLiteral("--hang-after-store wants a count of at least 1");
            return false;
        }
        options.iHangAfterStore = int(iNumber);
    }
    if (!readNumberRules(parser.values(pauseBody), 1, 3600000,
                         QStringLiteral("--pause-body wants NAME=MS with MS 1 to 3600000"), options.lstPauseBody,
                         strError) ||
        !readPaths(parser, endlessReply, options.lstEndlessReply, strError) ||
        !readPaths(parser, oversizedReply, options.lstOversizedReply, strError))
        return false;
    return parseDiscovery(parser, options.discovery, strError);
}

bool ServerState::load(const QString& strFile, ServerState& state, QString& strError)
{
    state = ServerState();
    Account admin;
    admin.strName = QStringLiteral("admin");
    admin.strPassword = QStringLiteral("admin");
    admin.blAdmin = true;
    if (strFile.isEmpty()) {
        state.lstAccounts.append(admin);
        return true;
    }

    QFile file(strFile);
    if (!file.open(QIODevice::ReadOnly)) {
        strError = QStringLiteral("cannot read the accounts file %1: %2").arg(strFile, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        strError = QStringLiteral("the accounts file %1 is not a JSON object").arg(strFile);
        if (parseError.error != QJsonParseError::NoError)
            strError += QStringLiteral(" (%1 at offset %2)").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }
    const QJsonObject top = document.object();
    if (!readBool(top, "photo_installed", state.blPhotoInstalled, strError) ||
        !readBool(top, "photo_running", state.blPhotoRunning, strError) ||
        !readBool(top, "photo_root", state.blPhotoRoot, strError)) {
        strError = strFile + QLatin1String(": ") + strError;
        return false;
    }
    const QJsonValue disabled = top.value(QLatin1String("service_disabled"));
    if (disabled.isString() &&
        (disabled.toString() == QLatin1String("redirect") || disabled.toString() == QLatin1String("html"))) {
        state.strServiceDisabled = disabled.toString();
    } else if (!disabled.isUndefined() && !disabled.isNull()) {
        strError = strFile + QLatin1String(": \"service_disabled\" must be null, \"redirect\" or \"html\"");
        return false;
    }

    const QJsonValue accounts = top.value(QLatin1String("accounts"));
    if (accounts.isUndefined()) {
        state.lstAccounts.append(admin);
        return true;
    }
    if (!accounts.isArray()) {
        strError = strFile + QLatin1String(": \"accounts\" must be a list");
        return false;
    }
    for (const QJsonValue& value : accounts.toArray()) {
        Account account;
        if (!readAccount(value, account, strError)) {
            strError = strFile + QLatin1String(": ") + strError;
            return false;
        }
        if (state.findAccount(account.strName) >= 0) {
            strError = strFile + QLatin1String(": account listed twice: ") + account.strName;
            return false;
        }
        state.lstAccounts.append(account);
    }
    return true;
}

int ServerState::findAccount(const QString& strName) const
{
    for (qsizetype i = 0; i < lstAccounts.size(); ++i) {
        if (lstAccounts.at(i).strName.compare(strName, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}
