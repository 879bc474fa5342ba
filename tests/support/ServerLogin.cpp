#include "ServerLogin.h"

#include "ScriptedPrompt.h"
#include "upload/FileConverter.h"
#include "upload/FileUploader.h"
#include "upload/UploadQueue.h"
#include "protocol/SecurityConfirm.h"

#include <QEventLoop>
#include <QTimer>

bool logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile)
{
    ScriptedPrompt prompt;
    return SecurityConfirm::logInAndWait(&prompt, pNam, pProfile) == SecurityConfirm::Outcome::Succeeded;
}

bool convertAndUpload(const QList<QMap<int, QString>>& lstJobs, UploadQueue* pQueue, QNetworkAccessManager* pNam,
                      ServerProfile* pProfile)
{
    pQueue->total = int(lstJobs.size());
    FileConverter converter(pQueue, &lstJobs, *pProfile);
    FileUploader uploader(pQueue, pNam, pProfile, RunMode::UploadHandOver, nullptr);
    bool blFinished = false;
    QEventLoop loop;
    QObject::connect(&uploader, &FileUploader::signalUploadFinished, &loop, [&]() {
        blFinished = true;
        loop.quit();
    });
    QTimer::singleShot(300000, &loop, &QEventLoop::quit);
    converter.start();
    uploader.start();
    if (!blFinished)
        loop.exec();
    converter.wait();
    uploader.wait();
    return blFinished;
}
