#pragma once

#include "UploadJob.h"

#include <QStringList>

#include <functional>

// How the paths a user chose become the upload job list; shared by every front end.
namespace UploadPlan {

// The album path of a destination text: "/photo/2013/trip" gives "2013/trip", "/photo" "".
QString destinationDir(const QString& strDestination);

// Appends a job per path (and, below folders, per entry: folders first, then by name;
// hidden entries and links left out). Folders get a job of their own only when folders are
// kept; unsupported files are skipped when only supported files are wanted.
// Returns true when a video was seen.
bool collectJobs(const QStringList& lstPaths, const QString& strDestinationDir, bool blKeepFolders,
                 bool blSupportedOnly, UploadJobList& lstJobs);

// Removes the files the profile has uploaded before; eachFile runs before every file is
// checked (to keep a window responsive). Returns the removed jobs.
UploadJobList dropUploaded(UploadJobList& lstJobs, const QString& strProfile,
                           const std::function<void()>& eachFile = {});

} // namespace UploadPlan
