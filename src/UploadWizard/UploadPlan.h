#pragma once

#include "UploadJob.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <functional>

// How the paths a user chose become the upload job list; shared by every front end.
namespace UploadPlan {

// The album path of a destination text: "/photo/2013/trip" gives "2013/trip", "/photo" "".
QString destinationDir(const QString& strDestination);

// Path and reason (a message text) of an entry the collection left out.
using LeftOutList = QList<QPair<QString, QString>>;

// Appends a job per path (and, below folders, per entry: folders first, then by name).
// Folders get a job of their own only when folders are kept; unsupported files are skipped
// when only supported files are wanted. Hidden entries, links, entries that are neither file
// nor folder, names that are not valid text and paths that do not exist are left out; each
// left-out entry is listed in pLeftOut with its reason. Returns true when a video was seen.
bool collectJobs(const QStringList& lstPaths, const QString& strDestinationDir, bool blKeepFolders,
                 bool blSupportedOnly, UploadJobList& lstJobs, LeftOutList* pLeftOut = nullptr);

// Removes the files the profile has uploaded before; eachFile runs before every file is
// checked (to keep a window responsive). Returns the removed jobs.
UploadJobList dropUploaded(UploadJobList& lstJobs, const QString& strProfile,
                           const std::function<void()>& eachFile = {});

} // namespace UploadPlan
