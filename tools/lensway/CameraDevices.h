#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// One file of a device below its DCIM folder.
struct DeviceItem
{
    QString name;     // the name it is offered under: unique within the device
    QString size;     // as the device reports it
    QString modified; // likewise
    QString folder;   // where it lies on the device
    QString fileName; // its own name there
    QString subPath;  // its folder below DCIM ("100CANON"), used to tell equal names apart
};

// A camera or memory card. Ids stay the same for the same device between runs.
class CameraDevice
{
public:
    virtual ~CameraDevice() = default;

    QString id;
    QString name;
    QString description;

    // Every file below DCIM, named by nameItems(). False when the device cannot be read.
    virtual bool content(QList<DeviceItem>& lstItems) const = 0;
    // Copies one item to strTarget; false, with a message on standard error, on failure.
    virtual bool copy(const DeviceItem& item, const QString& strTarget) const = 0;
};

using DeviceList = std::vector<std::unique_ptr<CameraDevice>>;

// Mounted volumes with a DCIM folder, then cameras that gphoto2 detects.
DeviceList findDevices();

// Orders the items by folder and name and gives each a unique name: the first of a name keeps
// it, a later one in another folder gets that folder in front ("101CANON_IMG_0001.JPG").
void nameItems(QList<DeviceItem>& lstItems);

// A line on standard error, "Lensway: " first.
void lenswayMessage(const QString& strText);

// A name the camera folder can take as it is: folder separators become "_".
QString plainName(const QString& strName);

// Parsing of gphoto2's output (kept apart so that it can be checked on its own).
namespace Gphoto2Text {
struct Camera
{
    QString model;
    QString port;
};
QList<Camera> autoDetect(const QString& strOutput);
QString serialNumber(const QString& strSummary);
QList<DeviceItem> listFiles(const QString& strOutput);
} // namespace Gphoto2Text
