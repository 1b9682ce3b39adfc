#pragma once

#include <QString>

// Per-user text values addressed by application, section and key. Values
// round-trip exactly (any characters, leading and trailing blanks, line
// breaks). A write is on disk before it returns, since the program may end
// at any moment; a store that cannot be written is reported by the return
// value and never ends the program.
QString ReadSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue);
bool WriteSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value);

// The program's own options: application = the product name as the version
// record gives it (read afresh each time), section "Settings".
QString ReadOption(const QString &key, const QString &defaultValue);
QString ReadOption(const QString &key); // with the key's table default
bool WriteOption(const QString &key, const QString &value);

// Where the values of an application are kept; tests may move the root.
QString SettingsFilePath(const QString &appName);
void SetSettingsFolderForTesting(const QString &folder);
