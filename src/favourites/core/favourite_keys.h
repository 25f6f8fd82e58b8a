#pragma once
// Where the favourites keep their contents: favourite n (counted from 1) has its title,
// poem and pattern under the key n of these three sections of the settings file; its
// name is line n of the names file.

namespace favourites {

inline constexpr char kNamesFile[] = "user.dat";
inline constexpr char kTitleSection[] = "标题";
inline constexpr char kPoemSection[] = "诗词";
inline constexpr char kPatternSection[] = "词谱";

} // namespace favourites
