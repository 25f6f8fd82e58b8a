#include "library/core/reference_topics.h"

QString TopicSource::topicFile(int index) const {
    if (index < 0 || index >= files)
        return {};
    return directory + QStringLiteral("%1.dat").arg(index + 1, 2, 10, QLatin1Char('0'));
}

namespace topics {

const TopicSource& changshi() {
    static const TopicSource s{QStringLiteral("Excursus\\changshi\\"), 19};
    return s;
}
const TopicSource& shiyi() {
    static const TopicSource s{QStringLiteral("Excursus\\shiyi\\"), 26};
    return s;
}
const TopicSource& shilv() {
    static const TopicSource s{QStringLiteral("Excursus\\shilv\\"), 8};
    return s;
}
const TopicSource& tools() {
    static const TopicSource s{QStringLiteral("Excursus\\tools\\"), 27};
    return s;
}

const QStringList& shiyiItems() {
    static const QStringList items = {
        QStringLiteral("引言"),
        QStringLiteral("词"),
        QStringLiteral("雅词"),
        QStringLiteral("长短句"),
        QStringLiteral("近体乐府"),
        QStringLiteral("寓声乐府"),
        QStringLiteral("琴趣外篇"),
        QStringLiteral("诗余"),
        QStringLiteral("令·引·近·慢"),
        QStringLiteral("大词·小词"),
        QStringLiteral("阕"),
        QStringLiteral("变·徧·遍·片·段·叠"),
        QStringLiteral("双调·重头·双曳头"),
        QStringLiteral("换头·过片·么"),
        QStringLiteral("拍（一）、（二）"),
        QStringLiteral("促拍"),
        QStringLiteral("减字·偷声"),
        QStringLiteral("摊破·添字"),
        QStringLiteral("转调"),
        QStringLiteral("遍·序·歌头·曲破·中腔"),
        QStringLiteral("犯"),
        QStringLiteral("填腔·填词"),
        QStringLiteral("自度曲·自制曲·自过腔"),
        QStringLiteral("领字（虚字、衬字）"),
        QStringLiteral("词题·词序"),
        QStringLiteral("南词·南乐"),
    };
    return items;
}

const QStringList& shilvItems() {
    static const QStringList items = {
        QStringLiteral("近体、古体"), QStringLiteral("用韵"), QStringLiteral("四声"),
        QStringLiteral("律句"),       QStringLiteral("粘对"), QStringLiteral("孤平和三平调"),
        QStringLiteral("拗救"),       QStringLiteral("对仗"),
    };
    return items;
}

QString changshiHeading(int index) {
    static const QStringList headings = {
        QStringLiteral("诗歌概述"),           QStringLiteral("诗词的语法特点"),
        QStringLiteral("诗词的韵"),           QStringLiteral("诗词的四声"),
        QStringLiteral("诗词的平仄"),         QStringLiteral("诗词的对仗"),
        QStringLiteral("词牌简介"),           QStringLiteral("词牌的来源"),
        QStringLiteral("词牌大全"),           QStringLiteral("宋词的基本格式"),
        QStringLiteral("词牌溯源妙趣横生"),   QStringLiteral("平水韵部"),
        QStringLiteral("唐五律平仄基本格式"), QStringLiteral("唐七律平仄基本格式"),
        QStringLiteral("格律术语简释"),       QStringLiteral("浅谈唐宋词中词牌名的英译"),
        QStringLiteral("宋词概述"),
    };
    return index >= 0 && index < headings.size() ? headings[index] : QString();
}

} // namespace topics
