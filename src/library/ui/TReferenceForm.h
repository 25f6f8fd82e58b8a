#pragma once
// A reference window of the 附录 menu (诗律浅说, 常用信息): a topic list beside the
// text of the chosen topic.

#include "base/core/data_root.h"
#include "library/core/reference_topics.h"

#include <QWidget>

class ModalRunner;
class QListWidget;
class QPlainTextEdit;
class TskPanel;
class TskSideChannel;

class TReferenceForm : public QWidget {
    Q_OBJECT
  public:
    // `items` is the fixed list, or empty when the list comes from the source's list.dat.
    TReferenceForm(const QString& title, TopicSource source, const QStringList& items,
                   DataRoot root, ModalRunner& modals, QWidget* parent);

    static TReferenceForm* shilv(DataRoot root, ModalRunner& modals, QWidget* parent);
    static TReferenceForm* tools(DataRoot root, ModalRunner& modals, QWidget* parent);

    TskSideChannel* listChannel{};       // skSideChannel1
    TskPanel *listPanel{}, *textPanel{}; // skPanel1, skPanel2
    QListWidget* topicList{};            // ListBox1
    QPlainTextEdit* topicText{};         // Memo1

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showTopic(int row);

    TopicSource m_source;
    DataRoot m_root;
    ModalRunner& m_modals;
};
