#pragma once

#include <QList>
#include <QMap>
#include <QString>

class QNetworkAccessManager;
struct ServerProfile;

// Logs the profile in through the program's own login and waits for the outcome.
// The session cookie stays in the manager's cookie jar.
bool logIn(QNetworkAccessManager* pNam, ServerProfile* pProfile);

class UploadQueue;

// Converts and uploads the jobs with the program's converter and uploader, as a run does (the
// queue's total is set here); false when the uploader did not finish within five minutes.
bool convertAndUpload(const QList<QMap<int, QString>>& lstJobs, UploadQueue* pQueue, QNetworkAccessManager* pNam,
                      ServerProfile* pProfile);
