#pragma once
// The main window's status bar (skStatusBar1): the hints at the left, then an empty
// panel and the forum's address.

class QMainWindow;
class QStatusBar;

QStatusBar* buildMainStatusBar(QMainWindow* window);
