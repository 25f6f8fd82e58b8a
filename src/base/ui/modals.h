#pragma once
// Modal windows go through one runner, so tests can answer them without a user.

#include <QString>
#include <functional>

class QDialog;
class QWidget;

class ModalRunner {
  public:
    virtual ~ModalRunner() = default;
    // Runs a modal window to its end and returns its result.
    virtual int exec(QDialog& dialog) = 0;
    // The error box: the message (a full stop added when it has none), the
    // application title as caption, an error icon and an OK button.
    virtual void showError(QWidget* parent, const QString& message) = 0;
    // A plain message box with an OK button, captioned with the application title.
    virtual void showMessage(QWidget* parent, const QString& message) = 0;
};

// The runner of the real program: nested event loops, real message boxes.
class InteractiveModals : public ModalRunner {
  public:
    // Who draws the error and message boxes; without one, the platform's boxes. The
    // skinned kit puts its message dialog here at start (the base knows no kit).
    using BoxPresenter = std::function<void(QWidget* parent, const QString& text, bool error)>;
    static void setBoxPresenter(BoxPresenter presenter);

    int exec(QDialog& dialog) override;
    void showError(QWidget* parent, const QString& message) override;
    void showMessage(QWidget* parent, const QString& message) override;
};

// Runs a handler; a file error it raises shows in the error box and ends the handler
// there, keeping what it already changed.
void runGuarded(ModalRunner& modals, QWidget* parent, const std::function<void()>& handler);

// The application's title, the caption of the main window and of every error box.
inline const char* const kApplicationTitle = "Lyrevane 终结版";
