#include "ServerLogin.h"

#include "ScriptedPrompt.h"
#include "protocol/SecurityConfirm.h"

#include <QEventLoop>
#include <QTimer>

bool logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile)
{
    ScriptedPrompt prompt;
    SecurityConfirm login(&prompt);
    if (!login.prepareLogin(pNam, pProfile, false, false))
        return false;
    bool blOk = false;
    QEventLoop loop;
    QObject::connect(&login, &SecurityConfirm::signalLoginFinish, &loop, [&](bool blSuccess) {
        blOk = blSuccess;
        loop.quit();
    });
    QTimer::singleShot(15000, &loop, &QEventLoop::quit);
    login.launch();
    loop.exec();
    return blOk;
}
