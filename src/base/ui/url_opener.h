#pragma once
// The platform's "open" action on an address (a web page or a mail link).

#include <QUrl>

class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    // True when the desktop took the address.
    virtual bool open(const QUrl& url) = 0;
};

// The desktop's handler, through QDesktopServices.
class DesktopUrlOpener : public UrlOpener {
  public:
    bool open(const QUrl& url) override;
};
