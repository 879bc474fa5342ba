#pragma once

#include <QString>

// Which files are uploaded, and how they are converted, by file-name extension alone.
namespace MediaTypes {

enum ConversionKind { ConvertPhoto = 0, ConvertVideo = 1, ConvertNone = 2 };
enum UploadKind { UploadPhoto = 1, UploadVideo = 2, UploadUnsupported = 3 };

// Fills the extension tables; filling again adds nothing.
void fillTables();

// The part of a file name after its last dot ("" when there is none).
QString extensionOf(const QString& strFileName);

bool isRaw(const QString& strExtension);
int conversionKind(const QString& strExtension);
int uploadKind(const QString& strExtension);

} // namespace MediaTypes
