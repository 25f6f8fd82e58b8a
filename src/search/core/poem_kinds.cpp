#include "search/core/poem_kinds.h"

#include <QList>
#include <QStringList>

namespace search {

namespace {

const QStringList& collectionNames() {
    static const QStringList names = {
        QStringLiteral("全唐诗"), QStringLiteral("全宋诗"),     QStringLiteral("全宋词"),
        QStringLiteral("花间集"), QStringLiteral("南唐二主词"), QStringLiteral("诗经"),
        QStringLiteral("楚辞"),   QStringLiteral("元曲"),       QStringLiteral("纳兰性德诗集")};
    return names;
}

const QStringList& dynastyNames() {
    static const QStringList names = {
        QStringLiteral("先秦"), QStringLiteral("汉"), QStringLiteral("唐"), QStringLiteral("五代"),
        QStringLiteral("宋"),   QStringLiteral("元"), QStringLiteral("清")};
    return names;
}

const QStringList& formNames() {
    static const QStringList names = {QStringLiteral("古体"), QStringLiteral("五绝"),
                                      QStringLiteral("七绝"), QStringLiteral("五律"),
                                      QStringLiteral("七律"), QStringLiteral("排律"),
                                      QStringLiteral("词"),   QStringLiteral("曲"),
                                      QStringLiteral("诗经"), QStringLiteral("骚体")};
    return names;
}

} // namespace

QString collectionName(Collection c) {
    return collectionNames().value(int(c));
}

QString dynastyName(Dynasty d) {
    return dynastyNames().value(int(d));
}

QString formName(Form f) {
    return formNames().value(int(f));
}

std::optional<Dynasty> dynastyNamed(const QString& name) {
    const qsizetype i = dynastyNames().indexOf(name.trimmed());
    if (i >= 0)
        return Dynasty(i);
    if (name.trimmed() == QStringLiteral("唐代"))
        return Dynasty::Tang;
    if (name.trimmed() == QStringLiteral("宋代"))
        return Dynasty::Song;
    return std::nullopt;
}

std::optional<Form> formNamed(const QString& name) {
    const qsizetype i = formNames().indexOf(name.trimmed());
    if (i >= 0)
        return Form(i);
    return std::nullopt;
}

Form verseForm(const QList<int>& lengths) {
    if (lengths.isEmpty() || lengths.size() % 2)
        return Form::Other;
    const int n = lengths.first();
    if (n != 5 && n != 7)
        return Form::Other;
    for (int len : lengths) {
        if (len != n)
            return Form::Other;
    }
    if (lengths.size() == 4)
        return n == 5 ? Form::WuJue : Form::QiJue;
    if (lengths.size() == 8)
        return n == 5 ? Form::WuLu : Form::QiLu;
    if (lengths.size() > 8)
        return Form::PaiLu;
    return Form::Other;
}

} // namespace search
