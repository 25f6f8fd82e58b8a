#pragma once
// The about box: the icon, the product name and edition, and two link labels (the home
// page and the forum) that change colour under the mouse and open their address.

#include <QDialog>
#include <QLabel>

class UrlOpener;
namespace skin {
enum class Role;
}

// A label that opens an address when clicked, drawn in its role's link colour and in
// its visited-link colour while the mouse is over it.
class TLinkLabel : public QLabel {
    Q_OBJECT
  public:
    TLinkLabel(const QString& name, const QString& text, QString address, skin::Role role,
               UrlOpener& urls, QWidget* parent);
    QColor textColour() const { return palette().color(foregroundRole()); }
    QString address() const { return m_address; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString m_address;
    UrlOpener& m_urls;
};

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(UrlOpener& urls, QWidget* parent = nullptr);

    TLinkLabel* homePageLink = nullptr; // Label4
    TLinkLabel* forumLink = nullptr;    // Label5
};
