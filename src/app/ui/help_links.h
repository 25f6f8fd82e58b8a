#pragma once
// The program's four outside addresses, in one place. Each is handed to the desktop's
// open action; the forum's is also the text of the status bar's third panel.

#include <QString>

namespace help_links {

// Where new versions are published.
inline QString homePage() {
    return QStringLiteral("https://www.lyrevane.org");
}
// The Versefold poetry community.
inline QString forum() {
    return QStringLiteral("https://forum.lyrevane.org");
}
inline QString guestBook() {
    return QStringLiteral("https://www.lyrevane.org/guestbook");
}
inline QString mail() {
    return QStringLiteral("mailto:author@lyrevane.org");
}

} // namespace help_links
