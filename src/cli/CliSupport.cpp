#include "CliSupport.h"

#include "AppIdentity.h"
#include "CommandLine.h"
#include "StopSignals.h"
#include "TerminalPrompt.h"
#include "VelmLocale.h"
#include "protocol/SecurityConfirm.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

// Why the database refuses, as far as it tells: the open error, else a read of the profile
// table, else (blWrite) a write to it that changes no row.
QString databaseReason(bool blWrite)
{
    QString strReason = VelmDatabase::lastErrorText().trimmed();
    QSqlQuery query(VelmDatabase::database());
    if (strReason.isEmpty() && !query.exec(QStringLiteral("SELECT count(*) FROM ServerProfiles")))
        strReason = query.lastError().text().trimmed();
    if (strReason.isEmpty() && blWrite &&
        !query.exec(QStringLiteral("UPDATE ServerProfiles SET profname = profname WHERE 0")))
        strReason = query.lastError().text().trimmed();
    return strReason.isEmpty() ? QStringLiteral("no reason given") : strReason;
}

} // namespace

namespace Cli {

TerminalPrompt& prompt()
{
    static TerminalPrompt s_prompt;
    return s_prompt;
}

QString safe(const QString& strText)
{
    return TerminalPrompt::safeText(strText);
}

void out(const QString& strText)
{
    std::fprintf(stdout, "%s\n", strText.toLocal8Bit().constData());
    std::fflush(stdout);
}

int fail(const QString& strText, int iCode)
{
    std::fprintf(stderr, "%s\n", safe(strText).toLocal8Bit().constData());
    std::fflush(stderr);
    return iCode;
}

// One line of JSON. The writer escapes C0 controls only: DEL and C1 controls are escaped here,
// so that the document stays plain and a terminal showing it is not steered.
QString jsonLine(const QJsonDocument& document)
{
    const QString strJson = QString::fromUtf8(document.toJson(QJsonDocument::Compact));
    QString strSafe;
    strSafe.reserve(strJson.size());
    for (const QChar c : strJson) {
        if (c.unicode() >= 0x7f && c.unicode() <= 0x9f)
            strSafe += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            strSafe += c;
    }
    return strSafe;
}

QString databaseError(bool blWrite)
{
    return VelmLocale::message("err_database").arg(databaseReason(blWrite));
}

int cancelled()
{
    return fail(QStringLiteral("Cancelled."), ExitFailed);
}

int logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile, const QString& strFailure)
{
    switch (SecurityConfirm::logInAndWait(&prompt(), pNam, pProfile, StopSignals::install())) {
    case SecurityConfirm::Outcome::Succeeded:
        return ExitOk;
    case SecurityConfirm::Outcome::NoPassword:
        return fail(QStringLiteral("No password: set PICTARIUM_PASSWORD, use --password-fd, or run on a terminal."));
    case SecurityConfirm::Outcome::Cancelled:
        return cancelled();
    case SecurityConfirm::Outcome::CertificateRefused:
        // The prompt has told which certificates.
        return fail(pProfile->profname.isEmpty() || !ProfileStore::profileExists(pProfile->profname)
                        ? QStringLiteral("Nothing was sent. Give the new fingerprint with --fingerprint to trust it.")
                        : QStringLiteral("Nothing was sent. To trust the new certificate: pictarium-cli trust "
                                         "--profile '%1'")
                              .arg(pProfile->profname));
    case SecurityConfirm::Outcome::Failed:
        break;
    }
    return fail(strFailure);
}

QString loginFailedText()
{
    return QStringLiteral("Login failed. Check the profile's server and account, and the password.");
}

int findProfile(const QString& strName, ServerProfile& profile)
{
    if (strName.isEmpty())
        return usage(QStringLiteral("Name a profile with --profile."));
    bool blRead = false;
    const QStringList lstNames = ProfileStore::shortcutOrder(&blRead);
    if (!blRead)
        return fail(databaseError(false));
    if (!lstNames.contains(strName))
        return fail(QStringLiteral("No profile named [%1]. 'pictarium-cli profiles' lists them.").arg(strName));
    if (!ProfileStore::loadProfile(strName, profile, prompt()))
        return ExitUsage;
    return ExitOk;
}

int openProfile(const QString& strName, ServerProfile& profile, QNetworkAccessManager* pNam)
{
    if (const int iCode = findProfile(strName, profile))
        return iCode;
    return logIn(pNam, &profile, loginFailedText());
}

QString foundServersPath()
{
    return AppIdentity::dataFilePath(QStringLiteral("found-servers.json"));
}

} // namespace Cli
