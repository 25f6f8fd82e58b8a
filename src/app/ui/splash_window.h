#pragma once
// The splash window: the product name on dark blue, closed after two seconds or by a
// click.

#include "base/ui/modals.h"

#include <QDialog>
#include <QPointer>

class Clock;

class SplashWindow : public QDialog {
    Q_OBJECT
  public:
    // The two seconds run on `clock`.
    explicit SplashWindow(Clock& clock, QWidget* parent = nullptr);

  signals:
    // Its picture is on the screen (sent once, after the first paint).
    void shown();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    bool m_painted = false;
};

// The start-up runs behind the splash while the user looks at it; anything it asks of
// the user (an error box, a question, a prompt) waits until the splash has closed, as if
// the start-up had waited for it. Passes every modal window on to `inner`.
class AfterSplashModals : public ModalRunner {
  public:
    explicit AfterSplashModals(ModalRunner& inner) : m_inner(inner) {}
    void setSplash(QDialog* splash) { m_splash = splash; }

    int exec(QDialog& dialog) override;
    void showError(QWidget* parent, const QString& message) override;
    void showMessage(QWidget* parent, const QString& message) override;

  private:
    void waitForSplash(const QDialog* asking);

    ModalRunner& m_inner;
    QPointer<QDialog> m_splash;
};
