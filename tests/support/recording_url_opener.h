#pragma once
// Records the addresses the program hands to the desktop instead of opening a browser.

#include "base/ui/url_opener.h"

#include <QList>

class RecordingUrlOpener : public UrlOpener {
  public:
    bool open(const QUrl& url) override {
        opened << url;
        return accept;
    }
    QList<QUrl> opened;
    bool accept = true;
};
