#include "app/ui/startup_notice.h"

#include "app/core/settings_keys.h"
#include "base/core/app_error.h"
#include "base/core/settings_file.h"
#include "base/ui/modals.h"
#include "skin/ui/look.h"
#include "skin/ui/skinned.h"
#include "skin/ui/title_bar.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

QStringList StartupNotice::noticeLines() {
    // Each paragraph opens with four spaces; a line holds at most seventeen full-width
    // characters (34 bytes in GBK), so a break may fall inside a name.
    return {
        QString(),
        QStringLiteral("    由于多数人不知道Lyrevane已经更"),
        QStringLiteral("名为Quillmere2004，特此做这个版本"),
        QStringLiteral("通知大家。"),
        QString(),
        QStringLiteral("    此版本为Lyrevane之终结版，在下"),
        QStringLiteral("将不再升级Lyrevane，各位诗词爱好者"),
        QStringLiteral("请下载Quillmere2004继续使用。"),
        QString(),
        QStringLiteral("    另：Lyrevane终结版对应的是Quil"),
        QStringLiteral("lmere2004专业版3.4，除换了名字，其"),
        QStringLiteral("余不变。"),
    };
}

StartupNotice::StartupNotice(QString settingsPath, ModalRunner& modals, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_settingsPath(std::move(settingsPath)), m_modals(modals) {
    setObjectName(QStringLiteral("Form16"));
    // A client area of 369 × 422 inside the kit's title bar and border.
    setFixedSize(369 + 2 * TskForm::kEdge, 422 + TskTitleBar::kHeight + 2 * TskForm::kEdge);
    auto* frame = new TskForm(QStringLiteral("skForm1"), this);
    frame->setFramed(true, true);
    frame->setCaption(QString::fromUtf8(kApplicationTitle));
    frame->followOwner(parent);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    auto* heading = new QLabel(QStringLiteral("友 情 提 示"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    QFont headingFont(QStringLiteral("宋体"));
    headingFont.setPixelSize(24);
    heading->setFont(headingFont);
    skin::setRole(heading, skin::Role::Warning);
    heading->setAlignment(Qt::AlignCenter);
    column->addWidget(heading);

    noticeText = new QPlainTextEdit(this);
    noticeText->setObjectName(QStringLiteral("skMemo1"));
    noticeText->setReadOnly(true);
    noticeText->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont memoFont(QStringLiteral("宋体"));
    memoFont.setPixelSize(16);
    noticeText->setFont(memoFont);
    skin::setRole(noticeText, skin::Role::NoticeText);
    noticeText->setPlainText(noticeLines().join(QLatin1Char('\n')));
    column->addWidget(noticeText, 1);

    auto* row = new QHBoxLayout;
    showAtStartBox = new QCheckBox(QStringLiteral("启动Lyrevane时显示"), this);
    showAtStartBox->setObjectName(QStringLiteral("skCheckBox1"));
    showAtStartBox->setChecked(true);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("skButton1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(showAtStartBox);
    row->addStretch(1);
    row->addWidget(ok);
    column->addLayout(row);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    // The check box shows what the settings file holds.
    const SettingsFile settings(m_settingsPath);
    showAtStartBox->setChecked(settings.readBool(QString::fromLatin1(settings::kGuideSection),
                                                 QString::fromLatin1(settings::kGuideVisible),
                                                 true));
}

void StartupNotice::done(int result) {
    // 确定 and the frame's close button both end here.
    try {
        SettingsFile settings(m_settingsPath);
        settings.writeBool(QString::fromLatin1(settings::kGuideSection),
                           QString::fromLatin1(settings::kGuideVisible),
                           showAtStartBox->isChecked());
    } catch (const AppError& e) {
        m_modals.showError(this, e.message());
    }
    QDialog::done(result);
}
