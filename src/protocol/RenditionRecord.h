#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// One file to send, handed from the converter to the uploader.
using RenditionRecord = QMap<int, QString>;

enum RenditionKey {
    KeyPath = 0,        // local file: a rendition in the temporary folder, or the source
    KeyDestination = 1, // album path on the server
    KeyOrigName = 2,    // name the server stores the source under
    KeyUploadType = 3,  // rendition key, "ORIG_FILE" or "FOLDER"
    KeyBatchFirst = 4,  // "true" on the first record of a file
    KeyBatchLast = 5,   // "true" on the source record
    KeyJobLast = 6,     // "true" on the source record of the last job
    KeyMissing = 7,     // on the source record: keys of renditions that could not be made, comma-separated
    KeyNote = 8,        // on the source record: what the conversion found wrong with the file, for the report
    KeyDuplicate = 9,   // the duplicate policy for this file, when not the profile's
    KeyNameFree = 10    // on the source record: "true" when the album did not hold its name before the run
};

namespace Renditions {

// Thumbnail keys in hand-over order, and their file names.
const QStringList& thumbnailKeys();
QString thumbnailFile(const QString& strKey);
// Video key and file name by quality code (0 high, 1 medium, 2 low, 3 mobile); empty outside.
QString videoKey(int iQuality);
QString videoFile(int iQuality);
// Every rendition key in hand-over order for a file of a conversion kind, with the chosen
// video qualities for a video.
QStringList expectedKeys(int iConversionKind, const QList<int>& lstQualities);
// The report note for a file sent without the renditions of these keys; empty when none.
QString missingText(const QStringList& lstKeys);

} // namespace Renditions
