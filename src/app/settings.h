#pragma once

#include "app/inistore.h"
#include "basemap/drawmaprec.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

// What the settings file holds: the window's position, the title bar's colour and the map
// colours.
struct TSettings {
    int MainLeft = 200;
    int MainTop = 200;
    TAlphaColor TitleColor = 0xFF87CEFA;
    TDrawMapRec MapColors;
};

// "Tavrel.ini" in the program folder.
QString SettingsFileName();

// Opens the store on FileName. A missing file gives an empty store (every key at its
// default). A file that is there but cannot be read gives nullptr and the log line
// "TMainForm.LoadSettings": the defaults apply and the close must not overwrite the file.
std::unique_ptr<IniStore> OpenSettings(const QString& FileName);

// Reads the eighteen keys. Missing or bad values take their defaults; a bad colour also
// writes the log line "TMainForm.LoadSettings" naming the key and the value.
TSettings LoadSettings(const IniStore& Store, const QLocale& Locale = QLocale::system());

// Writes the eighteen keys in their order and the store to its file. A file that cannot be
// written gives the log line "TMainForm.SaveSettings"; nothing is thrown.
void SaveSettings(IniStore& Store, const TSettings& Values, const QLocale& Locale = QLocale::system());

// A 32-bit number as the settings file writes it: optional blanks and sign, then decimal
// digits in the signed 32-bit range or up to eight hexadecimal digits after "$", "0x" or "x".
std::optional<std::int32_t> ParseSettingsInt(QStringView Text);
