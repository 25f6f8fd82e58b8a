#pragma once
// Qt's own texts in Chinese: the standard dialogs (font, colour, file, print, page
// set-up) and the buttons of message boxes.

class QCoreApplication;
class QTranslator;

// Installs Qt's Chinese translation on `app`, before the first window is built, and
// returns it (owned by `app`); null when it is not installed on this system.
QTranslator* installQtChinese(QCoreApplication& app);
