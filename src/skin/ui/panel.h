#pragma once
// A panel with an optional caption strip along its top and a body below it.

#include <QFrame>

class QLabel;
class QVBoxLayout;

class TskPanel : public QFrame {
    Q_OBJECT
  public:
    TskPanel(const QString& name, QWidget* parent, const QString& caption = {},
             bool captionStrip = true);
    QString caption() const;
    void setCaption(const QString& caption);
    QVBoxLayout* body() const { return m_body; }
    QWidget* captionStrip() const { return m_strip; }
  Q_SIGNALS:
    void captionClicked();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* m_strip = nullptr;
    QLabel* m_label = nullptr;
    QVBoxLayout* m_body = nullptr;
};
