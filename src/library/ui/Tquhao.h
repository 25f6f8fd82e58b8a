#pragma once
// The two code lookups of the 附录 menu: a region list beside one read-only block per
// region, of which the chosen one shows: the area codes and the postal codes.

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

    TskSideChannel* listChannel{};         // skSideChannel1
    TskPanel *listPanel{}, *blocksPanel{}; // skPanel1, skPanel2
    QListWidget* regionList{};             // ListBox1
    QList<QPlainTextEdit*> blocks;         // one per region, named by the region's block id

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showRegion(int row);
};

class AreaCodesWindow : public TCodeTableForm {
    Q_OBJECT
  public:
    explicit AreaCodesWindow(QWidget* parent);
};

class PostalCodesWindow : public TCodeTableForm {
    Q_OBJECT
  public:
    explicit PostalCodesWindow(QWidget* parent);
};
