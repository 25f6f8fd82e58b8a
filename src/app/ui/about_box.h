#pragma once
// The about box: the icon, the product name and edition, and two link labels (the home
// page and the forum) that change colour under the mouse and open their address.

#include <QDialog>
#include <QLabel>

class UrlOpener;

// A label that opens an address when clicked, shown in its link colour and in its
// hover colour while the mouse is over it.
class TLinkLabel : public QLabel {
    Q_OBJECT
  public:
    TLinkLabel(const QString& name, const QString& text, QString address, QColor linkColour,
               QColor hoverColour, UrlOpener& urls, QWidget* parent);
    QColor textColour() const { return m_current; }
    QString address() const { return m_address; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void showIn(const QColor& colour);
    QString m_address;
    QColor m_link, m_hover, m_current;
    UrlOpener& m_urls;
};

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(UrlOpener& urls, QWidget* parent = nullptr);

    TLinkLabel* homePageLink = nullptr; // Label4
    TLinkLabel* forumLink = nullptr;    // Label5
};
