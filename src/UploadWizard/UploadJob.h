#pragma once

#include <QList>
#include <QMap>
#include <QString>

// One entry of the upload job list: key 0 the local file or folder, key 1 the album path on
// the server it goes to ("" for the photo root).
using UploadJob = QMap<int, QString>;
using UploadJobList = QList<UploadJob>;

enum UploadJobKey { JobLocalPath = 0, JobDestination = 1 };
