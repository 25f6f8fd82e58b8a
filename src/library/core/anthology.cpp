#include "library/core/anthology.h"

namespace {

using V = AnthologyVariant;

QList<AnthologyItem> named(std::initializer_list<std::pair<const char16_t*, const char16_t*>> l) {
    QList<AnthologyItem> items;
    for (const auto& [name, file] : l)
        items.append({QString::fromUtf16(name), QString::fromUtf16(file)});
    return items;
}

QList<AnthologyItem> jiuge() {
    const char16_t* titles[] = {u"东皇太一", u"云中君", u"湘君", u"湘夫人", u"大司命", u"少司命",
                                u"东君",     u"河伯",   u"山鬼", u"国殇",   u"礼魂"};
    const char16_t* numbers[] = {u"一", u"二", u"三", u"四", u"五",  u"六",
                                 u"七", u"八", u"九", u"十", u"十一"};
    QList<AnthologyItem> items;
    for (int i = 0; i < 11; ++i)
        items.append({QStringLiteral("九歌（%1）·%2")
                          .arg(QString::fromUtf16(numbers[i]), QString::fromUtf16(titles[i])),
                      {}});
    return items;
}

Anthology make(const char16_t* key, const char16_t* caption, V variant, int limit = 0,
               QList<AnthologyItem> list = {}, const char16_t* menuCaption = nullptr) {
    Anthology a;
    a.key = QString::fromUtf16(key);
    a.caption = QString::fromUtf16(caption);
    a.menuCaption = menuCaption ? QString::fromUtf16(menuCaption) : a.caption;
    a.variant = variant;
    a.pieceLimit = limit;
    a.fixedList = std::move(list);
    a.noteCaption = QStringLiteral("作者简介");
    return a;
}

// 秦观's collection names its author channel differently from the others.
Anthology withNoteCaption(Anthology a, const char16_t* noteCaption) {
    a.noteCaption = QString::fromUtf16(noteCaption);
    return a;
}

// The last collection's menu item shows no hint in the status bar.
Anthology withoutMenuHint(Anthology a) {
    a.menuHint = false;
    return a;
}

QList<Anthology> build() {
    const auto caocao = named({{u"气出唱（三首）", u"qichuchang.dat"},
                               {u"精列", u"jinglie.dat"},
                               {u"度关山", u"duguanshan.dat"},
                               {u"薤露行", u"jiulouxing.dat"},
                               {u"对酒", u"duijiu.dat"},
                               {u"蒿里行", u"gaolixing.dat"},
                               {u"陌上桑", u"moshangsang.dat"},
                               {u"短歌行（二首）", u"duangexing.dat"},
                               {u"秋胡行（二首）", u"qiuhuxing.dat"},
                               {u"善哉行（三首）", u"shanzhaixing.dat"},
                               {u"苦寒行", u"kuhanxing.dat"},
                               {u"步出夏门行（五章）", u"buchuxiamenxing.dat"},
                               {u"却东西门行", u"quedongximenxing.dat"},
                               {u"谣俗词", u"yaosuci.dat"},
                               {u"董逃歌词", u"dongtaogeci.dat"},
                               {u"塘上行", u"tangshangxing.dat"}});
    const auto liqingzhao = named({{u"如梦令", u"rumengling.dat"},
                                   {u"点绛唇", u"dianjiangchun.dat"},
                                   {u"浣溪沙", u"huanxisha.dat"},
                                   {u"菩萨蛮", u"pusaman.dat"},
                                   {u"诉衷情", u"suzhongqing.dat"},
                                   {u"好事近", u"haoshijin.dat"},
                                   {u"清平乐", u"qingpingle.dat"},
                                   {u"忆秦娥", u"yiqine.dat"},
                                   {u"摊破浣溪沙", u"tanpohuanxisha.dat"},
                                   {u"添字采桑子", u"tianzicaisangzi.dat"},
                                   {u"武陵春", u"wulinchun.dat"},
                                   {u"醉花阴", u"zuihuayin.dat"},
                                   {u"南歌子", u"nangezi.dat"},
                                   {u"怨王孙", u"yuanwangsun.dat"},
                                   {u"鹧鸪天", u"zhegutian.dat"},
                                   {u"玉楼春", u"yulouchun.dat"},
                                   {u"小重山", u"xiaochongshan.dat"},
                                   {u"一剪梅", u"yijianmei.dat"},
                                   {u"临江仙", u"linjiangxian.dat"},
                                   {u"蝶恋花", u"dielianhua.dat"},
                                   {u"渔家傲", u"yujiaao.dat"},
                                   {u"念奴娇", u"niannujiao.dat"},
                                   {u"行香子", u"xingxiangzi.dat"},
                                   {u"孤雁儿", u"guyaner.dat"},
                                   {u"满庭芳", u"mantingfang.dat"},
                                   {u"凤凰台上忆吹箫", u"fenghuangtai.dat"},
                                   {u"声声慢", u"shengshengman.dat"},
                                   {u"庆清朝慢", u"qingqingchaoman.dat"},
                                   {u"永遇乐", u"yongyule.dat"},
                                   {u"多丽", u"duoli.dat"},
                                   {u"长寿乐", u"changshoule.dat"},
                                   {u"减字木兰花", u"jianzimulanhua.dat"},
                                   {u"瑞鹧鸪", u"ruizhigu.dat"}});
    const auto luyou = named({{u"卜算子", u"busuanzi.dat"},
                              {u"诉衷情", u"suzhongqing.dat"},
                              {u"鹧鸪天", u"zhegutian.dat"},
                              {u"渔家傲", u"yujiaao.dat"},
                              {u"朝中措", u"chaozhongcuo.dat"},
                              {u"浪淘沙", u"langtaosha.dat"},
                              {u"谢池春", u"xiechichun.dat"},
                              {u"夜游宫", u"yeyougong.dat"},
                              {u"鹊桥仙", u"queqiaoxian.dat"},
                              {u"渔父", u"yufu.dat"},
                              {u"浣溪沙", u"huanxisha.dat"},
                              {u"好事近", u"haoshijin.dat"},
                              {u"钗头凤", u"chatoufeng.dat"},
                              {u"秋波媚", u"qiubomei.dat"},
                              {u"豆叶黄", u"douyehuang.dat"}});
    const auto tangsong = named({{u"李白：菩萨蛮", u"pusaman.dat"},
                                 {u"张志和：渔歌子", u"yugezi.dat"},
                                 {u"白居易：忆江南", u"yijiangnan.dat"},
                                 {u"温庭筠：菩萨蛮", u"pusaman2.dat"},
                                 {u"李煜：虞美人", u"yumeiren.dat"},
                                 {u"李煜：浪淘沙", u"langtaosha.dat"},
                                 {u"李煜：相见欢", u"xiangjianhuan.dat"},
                                 {u"李煜：乌夜啼", u"wuyeti.dat"},
                                 {u"范仲淹：苏幕遮", u"sumuzhe.dat"},
                                 {u"范仲淹：渔家傲", u"yujiaao.dat"},
                                 {u"柳永：蝶恋花", u"dielianhua.dat"},
                                 {u"柳永：雨霖铃", u"yulinling.dat"}});

    QList<Anthology> all = {
        make(u"quyuan", u"屈原·九歌", V::E, 11, jiuge()),
        make(u"sunzi", u"孙子兵法", V::D, 100),
        make(u"caocao", u"曹操诗全集", V::F, 16, caocao),
        make(u"peidi", u"裴迪诗全集", V::C, 29),
        make(u"wangchangling", u"王昌龄绝句选", V::A),
        make(u"libai", u"李白诗选", V::A),
        make(u"dufu", u"杜甫诗选", V::A),
        make(u"liyu", u"李煜词选", V::A, 0, {}, u"李煜诗选"),
        make(u"baijuyi", u"白居易诗选", V::A),
        make(u"sushi", u"苏轼词选", V::C, 100),
        make(u"xinqiji", u"辛弃疾词选", V::C, 100),
        make(u"liuyong", u"柳永词选", V::C, 100),
        make(u"zhoubangyan", u"周邦彦词选", V::C, 100),
        make(u"yuefei", u"岳飞词全集", V::A),
        make(u"wanganshi", u"王安石词全集", V::C, 100),
        withNoteCaption(make(u"qinguan", u"秦观词选", V::C, 100), u"作者信息"),
        make(u"yanshu", u"晏殊词选", V::C, 100),
        make(u"liqingzhao", u"李清照词全集", V::F, 33, liqingzhao),
        make(u"luyou", u"陆游词集", V::F, 15, luyou),
        make(u"jiangkui", u"姜夔词选", V::C, 100),
        make(u"yanjidao", u"晏几道词选", V::C, 100),
        make(u"nalanxingde", u"纳兰性德词选", V::C, 100),
        make(u"ouyangxiu", u"欧阳修诗词选——纪念欧阳修诞辰一千周年", V::C, 100, {}, u"欧阳修诗词选"),
        make(u"love", u"中国古典爱情诗词鉴赏", V::B),
        withoutMenuHint(make(u"tangsong", u"唐宋名词赏析", V::F, 12, tangsong)),
    };
    return all;
}

} // namespace

bool Anthology::hasList() const {
    return variant != V::A && variant != V::B;
}

bool Anthology::hasNote() const {
    return variant != V::B && variant != V::D;
}

QString Anthology::directory() const {
    return QStringLiteral("enjoy\\") + key + u'\\';
}

QString Anthology::keyFile() const {
    return directory() + key + QStringLiteral(".dat");
}

QString Anthology::listFile() const {
    return variant == V::C || variant == V::D ? directory() + QStringLiteral("list.dat")
                                              : QString();
}

QString Anthology::textFile() const {
    return variant == V::A || variant == V::B ? keyFile() : QString();
}

QString Anthology::noteFile() const {
    if (variant == V::A)
        return directory() + QStringLiteral("zuozhe.dat");
    return hasNote() ? keyFile() : QString();
}

QString Anthology::pieceFile(int index) const {
    if (!hasList() || index < 0)
        return {};
    if (variant == V::F)
        return index < fixedList.size() ? directory() + fixedList[index].file : QString();
    return index < pieceLimit ? directory() + numberedFile(index) : QString();
}

const QList<Anthology>& anthologies() {
    static const QList<Anthology> all = build();
    return all;
}

const QList<int>& anthologySeparatorsAfter() {
    static const QList<int> after = {3, 9, 17, 21, 23};
    return after;
}

QString numberedFile(int index) {
    return QStringLiteral("%1.dat").arg(index + 1, 2, 10, QLatin1Char('0'));
}
