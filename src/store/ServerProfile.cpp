#include "ServerProfile.h"

#include "store/ServerAddress.h"

void ServerProfile::updateBaseUrl()
{
    baseUrl = ServerAddress::baseUrl(https, hostaddr, port, personal, usrname);
}
