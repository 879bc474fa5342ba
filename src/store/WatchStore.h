#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// What a profile's automatic upload watches, and how its last batch went.
namespace WatchStore {

struct Settings
{
    bool enabled = false;      // the desktop turned watching on for the profile
    bool notifyAlways = false; // tell batches that went well too, not only failures
    QStringList folders;       // absolute paths, in the order given
};

struct Batch
{
    QDateTime when; // invalid: no batch has run yet
    int sent = 0;
    int skipped = 0;
    int failed = 0;
    QString error; // why the watcher stopped, empty while it runs well
};

Settings settings(const QString& strProfile);
bool saveSettings(const QString& strProfile, const Settings& settings);
// The outcome of the batch that just ended (or the error that stopped the watcher).
bool recordBatch(const QString& strProfile, const Batch& batch);
Batch lastBatch(const QString& strProfile);
// Moves everything to a new profile name; forgets it with an empty new name.
bool renameProfile(const QString& strOld, const QString& strNew);

} // namespace WatchStore
