#pragma once
// The main window: composes the subsystems' panels, runs start-up and shutdown.

#include <QMainWindow>

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};
