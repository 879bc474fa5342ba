#include "ServerProfile.h"

#include "protocol/ServerAddress.h"

void ServerProfile::updateBaseUrl()
{
    baseUrl = ServerAddress::baseUrl(https, hostaddr, port, personal, usrname);
}
