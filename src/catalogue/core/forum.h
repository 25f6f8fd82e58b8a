#pragma once
// The program's web forum, named in the text that stands for a missing model poem.

namespace catalogue {

// Where readers send poems for the example slots that are still empty.
inline constexpr char kForumAddress[] = "https://forum.lyrevane.org";

// The fixed text of an empty example slot; the forum address follows it.
inline constexpr char kPlaceholderLead[] = "本词谱暂无例词，欢迎投稿，在此刊登您的大作！投稿论坛：";

} // namespace catalogue
