#pragma once

class QNetworkAccessManager;
struct ServerProfile;

// Logs the profile in through the program's own login and waits for the outcome.
// The session cookie stays in the manager's cookie jar.
bool logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile);
