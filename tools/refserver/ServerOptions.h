#pragma once

#include "DiscoveryResponder.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Closes the connection after iBytes body bytes, for the next iRemaining requests whose body is longer.
struct DropRule
{
    qint64 iBytes = 0;
    int iRemaining = 0;
};

struct StatusRule
{
    QString strPath;
    int iStatus = 500;
};

struct FailUploadRule
{
    QRegularExpression regex;
    QString strErrMsg;
};

// File uploads whose X-ORIG-FNAME is strName: their body is not read for iMs once it has begun.
struct PauseBodyRule
{
    QString strName;
    int iMs = 0;
};

struct ServerOptions
{
    QString strRoot;
    quint16 iPort = 0;
    QString strListen = QStringLiteral("127.0.0.1"); // IPv4 address the HTTP side listens on
    bool blHttps = false;
    QString strCertFile;
    QString strKeyFile;
    QString strAccountsFile;
    QString strJournalFile;

    QStringList lstHtmlOn;
    QList<StatusRule> lstStatusOn;
    QList<DropRule> lstDropAfter;
    int iSessionLostAfter = -1; // -1: never
    int iDelayMs = 0;
    QList<FailUploadRule> lstFailUpload;
    QStringList lstCloseImmediately;
    QStringList lstHangOn;      // read the whole request, then never answer
    int iHangAfterStore = -1;   // the N-th stored source file gets no answer; -1: never
    QList<PauseBodyRule> lstPauseBody;
    QStringList lstEndlessReply;   // answered with an endless chunked body
    QStringList lstOversizedReply; // answered with Content-Length 2147483648 and that many bytes
    DiscoveryOptions discovery;

    // False with a message on a bad command line; blHelp when --help was asked for.
    static bool parse(const QStringList& lstArguments, ServerOptions& options, QString& strError, bool& blHelp);
    static QString usage();
};

struct Account
{
    QString strName;
    QString strPassword;
    bool blAdmin = false;
    bool blDisabled = false;
    bool blPhotoUser = true;
    bool blLoginPrivilege = true;
    bool blPersonalEnabled = false;
    QStringList lstForbiddenAlbums; // normalised album paths; "" is the photo root
};

// What the accounts file describes: the state of the web application and its users.
struct ServerState
{
    bool blPhotoInstalled = true;
    bool blPhotoRunning = true;
    bool blPhotoRoot = true;
    QString strServiceDisabled; // "", "redirect" or "html"
    QList<Account> lstAccounts;

    // Without a file: defaults and the single account admin/admin.
    static bool load(const QString& strFile, ServerState& state, QString& strError);
    // Index of the account, names compared without regard to case; -1 when unknown.
    int findAccount(const QString& strName) const;
};
