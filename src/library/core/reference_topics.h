#pragma once
// The reference texts under Excursus\: the four topic sources, their fixed lists and
// the headings the knowledge pane shows.

#include <QString>
#include <QStringList>

struct TopicSource {
    QString directory; // with the trailing backslash
    int files;         // numbered files 01.dat … the source provides

    // The file topic `index` loads, or empty past the last one.
    QString topicFile(int index) const;
    QString listFile() const { return directory + QStringLiteral("list.dat"); }
};

namespace topics {

const TopicSource& changshi(); // 诗词常识, listed by its list.dat
const TopicSource& shiyi();    // 词学名词释疑, a fixed list
const TopicSource& shilv();    // 诗律浅说, a fixed list
const TopicSource& tools();    // 常用信息, listed by its list.dat

const QStringList& shiyiItems();
const QStringList& shilvItems();
// The heading shown above a 诗词常识 topic: fixed by its index, empty past the table.
QString changshiHeading(int index);

} // namespace topics
