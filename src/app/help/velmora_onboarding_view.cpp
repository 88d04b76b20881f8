#include "app/help/velmora_onboarding_view.h"

#include "app/help/velmora_guide_row.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/plain_button.h"
#include "app/kit/velmora_button.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int kSheetWidth = 680;
constexpr int kIconEdge = 52;
constexpr int kFinishMinWidth = 132;

QIcon applicationIcon()
{
    const QIcon icon = QApplication::windowIcon();
    return icon.isNull() ? QIcon(QStringLiteral(":/symbols/velmora.svg")) : icon;
}

} // namespace

VelmoraOnboardingView::VelmoraOnboardingView(Callbacks callbacks, QWidget *parent)
    : QWidget(parent), m_callbacks(std::move(callbacks)), m_steps(onboardingSteps())
{
    setObjectName(QStringLiteral("onboarding-view"));
    setFixedWidth(kSheetWidth);

    auto *root = new QVBoxLayout(this);
    root->setContentsMargins(28, 28, 28, 28);
    root->setSpacing(22);
    root->addWidget(buildHeader());

    auto *steps = new QVBoxLayout;
    steps->setSpacing(10);
    for (const VelmoraGuideItem &step : std::as_const(m_steps))
        steps->addWidget(new VelmoraGuideRow(step, true));
    root->addLayout(steps);
    root->addWidget(buildFooter());
}

QWidget *VelmoraOnboardingView::buildHeader()
{
    auto *header = new QWidget;
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);

    auto *icon = new QLabel;
    icon->setObjectName(QStringLiteral("onboarding-app-icon"));
    icon->setFixedSize(kIconEdge, kIconEdge);
    icon->setPixmap(applicationIcon().pixmap(QSize(kIconEdge, kIconEdge), devicePixelRatioF()));
    row->addWidget(icon, 0, Qt::AlignTop);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(6);
    QLabel *kicker = makeTextLabel(tr("Quick Start"), look::font(look::TextStyle::headline, QFont::DemiBold),
                                   look::secondary);
    kicker->setObjectName(QStringLiteral("onboarding-quick-start-title"));
    texts->addWidget(kicker);
    texts->addWidget(makeTextLabel(tr("Catch what you're about to leak"), look::font(look::TextStyle::title2, QFont::Bold),
                                   look::primary, true));
    texts->addWidget(makeTextLabel(tr("Load one image, review what Velmora found, then share the cleaned copy. Add "
                                      "capture, folder, and clipboard protection when you want Velmora in the path "
                                      "before screenshots leave your computer."),
                                   look::font(look::TextStyle::callout), look::secondary, true));
    row->addLayout(texts, 1);

    auto *close = new PlainButton(QString(), look::font(look::TextStyle::title3));
    close->setObjectName(QStringLiteral("onboarding-close-button"));
    close->setSymbol(QStringLiteral("xmark.circle"));
    close->setColor(look::secondary);
    close->setAccessibleName(tr("Close onboarding"));
    close->setToolTip(tr("Close (Esc)"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, [this] { m_callbacks.onFinish(); });
    row->addWidget(close, 0, Qt::AlignTop);
    return header;
}

QWidget *VelmoraOnboardingView::buildFooter()
{
    auto *footer = new QWidget;
    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);

    VelmoraButton *trySample = makeVelmoraButton(tr("Try Sample"), QStringLiteral("sparkles"),
                                                 VelmoraControlTone::primary, std::nullopt,
                                                 QStringLiteral("onboarding-try-sample-button"));
    trySample->setAutoDefault(false);
    connect(trySample, &QPushButton::clicked, this, [this] { m_callbacks.onTrySample(); });
    row->addWidget(trySample);

    VelmoraButton *help = makeVelmoraButton(tr("Help Center"), QStringLiteral("questionmark.circle"),
                                            VelmoraControlTone::secondary, std::nullopt,
                                            QStringLiteral("onboarding-help-button"));
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, [this] { m_callbacks.onOpenHelp(); });
    row->addWidget(help);
    row->addStretch(1);

    auto *finish = new VelmoraButton(tr("Start Using Velmora"), VelmoraControlTone::primary, kFinishMinWidth);
    finish->setObjectName(QStringLiteral("onboarding-finish-button"));
    finish->setAccessibleName(tr("Start Using Velmora"));
    finish->setAutoDefault(false);
    finish->setDefault(true);
    connect(finish, &QPushButton::clicked, this, [this] { m_callbacks.onFinish(); });
    m_finish = finish;
    row->addWidget(finish);
    return footer;
}

} // namespace velmora
