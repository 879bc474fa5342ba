#pragma once

#include "protocol/UploadJob.h"

#include <QList>
#include <QPair>
#include <QStringList>

#include <QHash>
#include <QSet>

#include <functional>

// How the paths a user chose become the upload job list; shared by every front end.
namespace UploadPlan {

// The album path of a destination text: "/photo/2013/trip" gives "2013/trip", "/photo" "".
QString destinationDir(const QString& strDestination);
// A destination text made plain: "/photo" or "/photo/a/b", blanks around each folder name
// trimmed and empty names dropped. False when it does not lie below /photo or names a folder
// "." or "..", which a server could take for a way out of the photo share.
bool normalizeDestination(const QString& strText, QString& strNormalized);
// The same check with its message for the user: empty when the text is a usable destination
// (then made plain in strNormalized). A control character in it is refused too.
QString destinationProblem(const QString& strText, QString& strNormalized);

// Path and reason (a message text) of an entry the collection left out.
using LeftOutList = QList<QPair<QString, QString>>;

// Appends a job per path (and, below folders, per entry: folders first, then by name); a file
// or folder named twice, in whatever spelling, gets one job, where it came first.
// Folders get a job of their own only when folders are kept; unsupported files are skipped
// when only supported files are wanted. Hidden entries, links, entries that are neither file
// nor folder, names that are not valid text and paths that do not exist are left out; each
// left-out entry is listed in pLeftOut with its reason. Returns true when a video was seen.
bool collectJobs(const QStringList& lstPaths, const QString& strDestinationDir, bool blKeepFolders,
                 bool blSupportedOnly, UploadJobList& lstJobs, LeftOutList* pLeftOut = nullptr);

// The name a file is stored under before it is made unique: when renaming by capture time,
// "IMG_" + the photo's EXIF time (a video's creation date, else its file time) + its suffix;
// otherwise its file name.
QString baseStoredName(const QString& strPath, bool blDateRename);

// Names taken in the albums of one run: a name already taken gets "_1", "_2", ... before its
// suffix, so that photos taken in the same second do not replace or skip each other.
class StoredNames
{
public:
    QString take(const QString& strAlbum, const QString& strName);
    // The name is in use: take() never gives it.
    void reserve(const QString& strAlbum, const QString& strName);
    bool isTaken(const QString& strAlbum, const QString& strName) const;

private:
    QHash<QString, QSet<QString>> m_hashTaken; // album -> case-folded names
};

// Gives every file job its stored name (JobStoredName, and JobBaseName before it was made
// unique), unique per album in job order. A file for which fnKnownName gives a name made from
// its base name (the name it was sent under before) keeps that name, and no other file gets
// it. Run on the whole selection before anything is dropped, so
// that a later run of the same selection gives each file the same name; eachFile runs before
// every file.
void assignStoredNames(UploadJobList& lstJobs, bool blDateRename, const std::function<void()>& eachFile = {},
                       const std::function<QString(const UploadJob&)>& fnKnownName = {});

// Album -> case-folded names the server holds there.
using TakenNames = QHash<QString, QSet<QString>>;
// A name the program made (not the file's own) never replaces another photo: a file whose
// stored name is taken on the server moves to the next free "_N" of its base name, past every
// name of the run and every taken one, unless fnKeep says the server's file is this one. With
// blLastTry, such a file keeps its name and is sent with the "RENAME" policy instead, so that
// the server picks a free name. Returns the number of files changed.
int avoidTakenNames(UploadJobList& lstJobs, const TakenNames& taken, const std::function<bool(const UploadJob&)>& fnKeep,
                    bool blLastTry);

// Removes the files the profile has uploaded before; eachFile runs before every file is
// checked (to keep a window responsive). Returns the removed jobs.
UploadJobList dropUploaded(UploadJobList& lstJobs, const QString& strProfile,
                           const std::function<void()>& eachFile = {});

} // namespace UploadPlan
