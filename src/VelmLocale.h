#pragma once

#include <QSettings>
#include <QString>

class QTranslator;

// The settings object: read-only access to the per-user settings store. Constructing it
// fills the extension tables.
class VelmSettings
{
public:
    VelmSettings();

    // "Global/UILanguage", empty when absent.
    QString uiLanguage() const;

private:
    QSettings m_settings;
};

namespace VelmLocale {

// The code from "Global/UILanguage" when its catalogue exists, otherwise "def".
QString configuredLanguage(const VelmSettings& settings);
// The language code the program runs in.
QString currentLanguage(const VelmSettings& settings);
// The language code for a system locale name such as "pt_BR"; "enu" when it has no catalogue.
QString systemLanguage(const QString& strLocaleName);
// The installed catalogue of the current language, else the built-in ":/" + language + ".qm".
QString translationCatalog(const VelmSettings& settings);
// Qt's own catalogue ("qtbase") for a language code; the nearest one Qt ships where it has
// none of that very language. False when there is none.
bool loadQtCatalog(QTranslator& translator, const QString& strCode);

// Looks every message up in the installed catalogue. Called once, after the translator
// is installed.
void fillMessageTable();
// The translated text of a message key, with backslash-n and backslash-t expanded.
QString message(const char* pszKey);
// A counted message (its English text holds %n) in the form the language uses for iCount,
// with %n replaced by the number.
QString plural(const char* pszKey, int iCount);

int messageCount();
const char* messageKey(int iIndex);
const char* messageEnglish(int iIndex);

} // namespace VelmLocale
