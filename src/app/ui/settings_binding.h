#pragma once
// Applies the settings keys to the main window's controls and reads them back.

#include "app/core/settings_keys.h"

class QWidget;
class SettingsFile;

namespace settings {

// Reads `key` and applies it to each of its targets on `form`; targets that do not
// exist are skipped.
void apply(QWidget* form, const Key& key, const SettingsFile& file);
// Writes the value `key` holds in its source control.
void write(QWidget* form, const Key& key, SettingsFile& file);

} // namespace settings
