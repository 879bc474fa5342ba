#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

class UserPrompt;

// The hand-over with the camera import tool "Lensway" beside the program. The tool lists the
// connected devices ("0"), a device's content ("1" id) and copies the items named in
// "ImportList" into the camera folder ("2" id); the lists go through files in the data folder.
namespace CameraImport {

struct Item
{
    QString name;
    QString size;     // as the tool wrote it, never parsed
    QString modified; // likewise
};

// File name -> size text, modified text, device id.
using ItemDetails = QMap<QString, QStringList>;

struct ImportResult
{
    QStringList names;            // the upload list, in content order
    ItemDetails details;          // one entry per name (the later item wins)
    bool skippedUploaded = false; // an item was left out as uploaded before
    QStringList refused;          // names that are not plain file names
    QStringList notCopied;        // listed, but not in the camera folder after the copy
    bool contentMissing = false;  // the tool wrote no content list
};

// Folder the tool copies into: the temporary folder + "/AUTOPLAY".
QString folderPath();
// Creates the camera folder inside the (checked) temporary folder; false when it cannot be
// used: a link, another user's, or not a folder.
bool ensureFolder();
// Removes every file in the camera folder.
void emptyFolder();

// An item name the camera folder can take: not empty, ".", "..", and no "/" or "\".
bool isPlainItemName(const QString& strName);

// "DeviceList": UTF-16 (byte-order mark honoured), a count line, then per device its id,
// name and description. Display text: name + " ( " + description + " )".
bool readDeviceList(const QString& strPath, QStringList& lstIds, QStringList& lstTexts);
// "ContentList": 8-bit local text, or UTF-8 / UTF-16 after a byte-order mark; three lines
// per item until the end of the file.
bool readContentList(const QString& strPath, QList<Item>& lstItems);
// "ImportList": UTF-16 LE, one name per line ended by a line feed, no count line.
bool writeImportList(const QString& strPath, const QStringList& lstNames);

// Turns the content into the upload list: refused names aside, and with blSkipUploaded the
// items the camera history holds for (profile, device). fnEvents runs before each item.
void takeItems(const QList<Item>& lstItems, const QString& strDeviceId, const QString& strProfile,
               bool blSkipUploaded, ImportResult& result, const std::function<void()>& fnEvents = {});

// Drives the tool. pAbort ends a running tool (the window closed); fnEvents is called
// between the waits of the copy, so the window stays responsive.
class Session
{
public:
    Session(UserPrompt* pPrompt, const std::atomic_bool* pAbort = nullptr, std::function<void()> fnEvents = {})
        : m_pPrompt(pPrompt), m_pAbort(pAbort), m_fnEvents(std::move(fnEvents))
    {
    }

    // Ids and display texts of the connected devices, in the tool's order.
    void listDevices(QStringList& lstIds, QStringList& lstTexts) const;
    // Content of the device, taken as above, then the chosen items copied into the folder.
    ImportResult importFromDevice(const QString& strDeviceId, const QString& strProfile, bool blSkipUploaded) const;

private:
    bool runTool(const QStringList& lstArguments, bool blServiceEvents) const;

    UserPrompt* m_pPrompt;
    const std::atomic_bool* m_pAbort;
    std::function<void()> m_fnEvents;
};

} // namespace CameraImport
