#pragma once

#include "RefServerProcess.h"
#include "ScriptedPrompt.h"
#include "TestEnvironment.h"
#include "store/ServerProfile.h"

#include <QNetworkAccessManager>

#include <memory>

// A private data folder with an open database, a running reference server with the account
// ann/pw, and a stored profile "home" for it.
struct WizardFixture
{
    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<RefServerProcess> server;
    std::unique_ptr<QNetworkAccessManager> nam;
    ServerProfile profile;
    ScriptedPrompt prompt;

    bool start(const QStringList& lstServerArgs = {}, bool blSavePassword = true);
    void stop();
    QString makeFile(const QString& strRelative, const QByteArray& baData = QByteArray());
    QString serverFile(const QString& strRelative) const;
    QStringList shownTexts() const;
    static QByteArray jpegBytes();
};
