#pragma once
// Help texts written in data/help and compiled in at build time.

#include <QString>

namespace help_texts {

// The paragraph of 关于白香词谱.
QString baixiangCipu();

// The text of 什么是绝句？.
inline QString jueju() {
    return QStringLiteral("绝句，也称截句、断句、绝诗。即截取律诗前四句或后四句。这一诗体灵活轻便，"
                          "适意于表现生活中一瞬即逝的意念和感受，因而为诗人普遍使用。");
}

} // namespace help_texts
