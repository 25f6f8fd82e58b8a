#pragma once
// The password lock's keys in the settings file, outside the main window's table.

namespace lock {

inline constexpr char kSection[] = "temp";
// The lock marker, as the start-up prompt left it.
inline constexpr char kMarkerKey[] = "worder";
// The password, hashed (or plain text from an earlier version).
inline constexpr char kPasswordKey[] = "word";
// The marker's values: the right password was given, or the prompt was left without it.
inline constexpr char kOpened[] = "qelm";
inline constexpr char kLocked[] = "morvel";

} // namespace lock
