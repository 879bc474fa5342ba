#include "ServerLogin.h"

#include "ScriptedPrompt.h"
#include "protocol/SecurityConfirm.h"

bool logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile)
{
    ScriptedPrompt prompt;
    return SecurityConfirm::logInAndWait(&prompt, pNam, pProfile) == SecurityConfirm::Outcome::Succeeded;
}
