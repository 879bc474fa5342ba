#pragma once

#include <QList>
#include <QMap>
#include <QString>

// One entry of the upload job list: key 0 the local file or folder, key 1 the album path on
// the server it goes to ("" for the photo root), key 2 (files only, when planned) the name the
// server stores the file under.
using UploadJob = QMap<int, QString>;
using UploadJobList = QList<UploadJob>;

enum UploadJobKey { JobLocalPath = 0, JobDestination = 1, JobStoredName = 2 };
