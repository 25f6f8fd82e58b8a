#pragma once
// The one font dialog and the one colour dialog a window's appearance commands share.
// Each opens on the last font or colour chosen in it during the run, not on the
// controls it will change.

#include <QColor>
#include <QFont>
#include <optional>

class ModalRunner;
class QWidget;

namespace skin {

class SharedDialogs {
  public:
    SharedDialogs();
    // The pair of `window`, made with its first use and kept as long as the window.
    static SharedDialogs& of(QWidget* window);
    // Nothing when cancelled.
    std::optional<QFont> chooseFont(ModalRunner& modals, QWidget* parent);
    std::optional<QColor> chooseColour(ModalRunner& modals, QWidget* parent);
    QFont lastFont() const { return m_font; }
    QColor lastColour() const { return m_colour; }

  private:
    QFont m_font; // at first a sans-serif 8-point font
    QColor m_colour{Qt::black};
};

} // namespace skin
