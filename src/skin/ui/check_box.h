#pragma once
// The skinned check box and radio button with their Checked rule: setting Checked to a
// new value repaints and runs the click handler; the same value does nothing.

#include <QCheckBox>
#include <QRadioButton>

namespace skin {

// While a scope is alive the form is being built from its design: setting Checked
// runs no click handler.
class DesignScope {
  public:
    DesignScope();
    ~DesignScope();
    static bool active();
};

} // namespace skin

// A user click toggles it.
class TskCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    TskCheckBox(const QString& name, const QString& caption, QWidget* parent);
    void setSkChecked(bool checked);
  Q_SIGNALS:
    void onClick();

  protected:
    void nextCheckState() override;
};

// Becoming checked clears the other radio buttons of the same parent and group
// (running nothing for them), then runs onClick. A user click on a checked button
// does nothing.
class TskRadioButton : public QRadioButton {
    Q_OBJECT
  public:
    TskRadioButton(const QString& name, const QString& caption, QWidget* parent,
                   int groupIndex = 0);
    void setSkChecked(bool checked);
    int groupIndex() const { return m_group; }
  Q_SIGNALS:
    void onClick();

  protected:
    void nextCheckState() override;

  private:
    int m_group = 0;
};
