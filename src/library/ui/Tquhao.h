#pragma once
// The two code lookups of the 附录 menu: a region list beside one read-only block per
// region, of which the chosen one shows. Tquhao holds the area codes, Tyouzheng1 the
// postal codes.

#include "library/core/code_tables.h"

#include <QWidget>

class QListWidget;
class QPlainTextEdit;
class TskPanel;
class TskSideChannel;

class TCodeTableForm : public QWidget {
    Q_OBJECT
  public:
    TCodeTableForm(const QString& title, const QString& blocksCaption,
                   const QList<CodeRegion>& regions, bool scrollBars, QWidget* parent);

    TskSideChannel* skSideChannel1{};
    TskPanel *skPanel1{}, *skPanel2{};
    QListWidget* ListBox1{};
    QList<QPlainTextEdit*> blocks; // one per region, named by the region's block id

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ListBox1Click(int row);
};

class Tquhao : public TCodeTableForm {
    Q_OBJECT
  public:
    explicit Tquhao(QWidget* parent);
};

class Tyouzheng1 : public TCodeTableForm {
    Q_OBJECT
  public:
    explicit Tyouzheng1(QWidget* parent);
};
