#pragma once
// Applies the settings keys to the main window's controls and reads them back.

#include "app/core/settings_keys.h"

class QWidget;
class SettingsFile;

namespace settings {

// Start-up: every key the table reads, in the table's order, applied to each of its
// targets on `form`; targets that do not exist are skipped.
void applyAll(QWidget* form, const SettingsFile& file);
// Shutdown: every key the table writes, from its source control, in the table's order
// and in one replacement of the file; a failure leaves the file as it was and throws.
void writeAll(QWidget* form, SettingsFile& file);

} // namespace settings
