#pragma once

#include <QList>
#include <QMap>
#include <QString>

// One entry of the upload job list: key 0 the local file or folder, key 1 the album path on
// the server it goes to ("" for the photo root); for files, when planned: key 2 the name the
// server stores the file under, key 3 that name before it was made unique, key 4 the duplicate
// policy when it is not the profile's, key 5 "true" when the server did not hold the name when
// the jobs were announced.
using UploadJob = QMap<int, QString>;
using UploadJobList = QList<UploadJob>;

enum UploadJobKey {
    JobLocalPath = 0,
    JobDestination = 1,
    JobStoredName = 2,
    JobBaseName = 3,
    JobDuplicate = 4,
    JobNameFree = 5
};
