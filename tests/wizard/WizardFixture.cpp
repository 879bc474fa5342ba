#include "WizardFixture.h"

#include "AppIdentity.h"
#include "VelmLocale.h"
#include "store/ProfileStore.h"
#include "store/VelmDatabase.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

bool WizardFixture::start(const QStringList& lstServerArgs, bool blSavePassword)
{
    env = std::make_unique<TestEnvironment>();
    prompt.shown.clear();
    prompt.textAnswers.clear();
    prompt.questionAnswers.clear();
    VelmLocale::fillMessageTable();
    if (!AppIdentity::ensureDataFolder() || !VelmDatabase::open())
        return false;
    VelmDatabase::ensureTable(VelmDatabase::ServerProfiles);
    const QString strRoot = env->root() + QLatin1String("/server");
    QDir().mkpath(strRoot + QLatin1String("/photo/2013"));
    server = std::make_unique<RefServerProcess>(strRoot);
    server->setAccounts(QJsonObject{{"accounts", QJsonArray{QJsonObject{{"name", "ann"}, {"password", "pw"}}}}});
    if (!server->start(lstServerArgs))
        return false;
    nam = std::make_unique<QNetworkAccessManager>();

    ServerProfile stored;
    ProfileStore::fillRecord(stored, QStringLiteral("home"), server->host(), server->port(), false,
                             QStringLiteral("ann"), blSavePassword ? QStringLiteral("pw") : QString(), blSavePassword,
                             QString(), false, true, true, false, QString(), QString(), {});
    ProfileStore::insertProfile(stored);
    ScriptedPrompt quiet;
    if (!ProfileStore::loadProfile(QStringLiteral("home"), profile, quiet))
        return false;
    profile.daterename = false;
    return true;
}

void WizardFixture::stop()
{
    nam.reset();
    server.reset();
    VelmDatabase::close();
    env.reset();
}

QString WizardFixture::makeFile(const QString& strRelative, const QByteArray& baData)
{
    const QString strPath = env->root() + QLatin1String("/local/") + strRelative;
    TestFiles::writeBytes(strPath, baData.isNull() ? jpegBytes() : baData);
    return strPath;
}

QString WizardFixture::serverFile(const QString& strRelative) const
{
    return server->root() + QLatin1String("/photo/") + strRelative;
}

QStringList WizardFixture::shownTexts() const
{
    QStringList lstTexts;
    for (const ScriptedPrompt::Shown& item : prompt.shown)
        lstTexts.append(item.kind + QLatin1Char('|') + item.text);
    return lstTexts;
}

QByteArray WizardFixture::jpegBytes()
{
    static QByteArray s_baJpeg;
    if (s_baJpeg.isEmpty()) {
        QTemporaryDir dir;
        const QString strPath = dir.path() + QLatin1String("/j.jpg");
        QProcess::execute(QStringLiteral("convert"), {"-size", "32x24", "gradient:blue-white", strPath});
        s_baJpeg = TestFiles::readBytes(strPath);
    }
    return s_baJpeg;
}
