#pragma once
// The program's font names (宋体, 黑体, Tahoma) resolve to installed CJK faces.

class QString;

// Before the application object exists: have fontconfig read the alias file shipped
// in `appFolder` on top of the system configuration, when it is there.
void useShippedFontAliases(const QString& appFolder);
// After it exists: the same names as Qt substitutions, for platforms without fontconfig.
void addFontSubstitutions();
