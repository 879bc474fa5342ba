#include "PasswordVault.h"

#include <QCoreApplication>
#include <QDebug>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace PasswordVault {

namespace {

const QString s_service = QStringLiteral("Pictarium Uploader");

// Jobs run one after the other: behind one that never finished, every later one would wait too.
// A job that failed only after a long wait (an unanswered call, a dismissed prompt) counts
// the same, so that a list of profiles does not wait, or prompt, once per profile.
bool s_blStuck = false;
constexpr qint64 SlowFailureMs = 10000;

bool reachable()
{
    // No address, no session bus: a bus socket that could be found some other way
    // ($XDG_RUNTIME_DIR/bus) is not asked.
    if (s_blStuck || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    const QCoreApplication* pApp = QCoreApplication::instance();
    return pApp && QThread::currentThread() == pApp->thread();
}

// Starts the job and waits for it; the job is deleted here, or by itself when it finishes late.
Outcome finish(QKeychain::Job* pJob, QString* pstrText = nullptr)
{
    pJob->setAutoDelete(false);
    QElapsedTimer timer;
    timer.start();
    bool blFinished = false;
    QEventLoop loop;
    QObject::connect(pJob, &QKeychain::Job::finished, &loop, [&blFinished, &loop] {
        blFinished = true;
        loop.quit();
    });
    QTimer::singleShot(JobLimitMs, &loop, &QEventLoop::quit);
    pJob->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!blFinished) {
        qDebug("%s:%d keyring job still running after %d ms; keyring not used any more", "PasswordVault", __LINE__,
               JobLimitMs);
        s_blStuck = true;
        pJob->setAutoDelete(true);
        return Outcome::Unavailable;
    }
    Outcome outcome = Outcome::Done;
    if (pJob->error() == QKeychain::EntryNotFound) {
        outcome = Outcome::NotFound;
    } else if (pJob->error() != QKeychain::NoError) {
        qDebug("%s:%d keyring unavailable: %s", "PasswordVault", __LINE__, qPrintable(pJob->errorString()));
        outcome = Outcome::Unavailable;
        if (timer.elapsed() > SlowFailureMs)
            s_blStuck = true;
    } else if (pstrText) {
        *pstrText = static_cast<QKeychain::ReadPasswordJob*>(pJob)->textData();
    }
    delete pJob;
    return outcome;
}

} // namespace

bool enabled()
{
    return qEnvironmentVariable("PICTARIUM_KEYRING").compare(QLatin1String("off"), Qt::CaseInsensitive) != 0;
}

Outcome read(const QString& strProfile, QString* pstrPassword)
{
    if (!reachable())
        return Outcome::Unavailable;
    auto* pJob = new QKeychain::ReadPasswordJob(s_service);
    pJob->setKey(strProfile);
    QString strText;
    const Outcome outcome = finish(pJob, &strText);
    if (outcome == Outcome::Done)
        *pstrPassword = strText;
    return outcome;
}

Outcome write(const QString& strProfile, const QString& strPassword)
{
    if (!enabled() || !reachable())
        return Outcome::Unavailable;
    auto* pJob = new QKeychain::WritePasswordJob(s_service);
    pJob->setKey(strProfile);
    pJob->setTextData(strPassword);
    const Outcome outcome = finish(pJob);
    return outcome == Outcome::Done ? outcome : Outcome::Unavailable;
}

Outcome remove(const QString& strProfile)
{
    if (!reachable())
        return Outcome::Unavailable;
    auto* pJob = new QKeychain::DeletePasswordJob(s_service);
    pJob->setKey(strProfile);
    const Outcome outcome = finish(pJob);
    return outcome == Outcome::NotFound ? Outcome::Done : outcome;
}

} // namespace PasswordVault
