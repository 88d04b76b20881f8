#include "app/panes/findings_empty_states.h"

#include "app/kit/look.h"
#include "app/kit/symbol_view.h"

#include <QFontInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

FindingsPlaceholder::FindingsPlaceholder(QWidget *parent) : RoundedSurface(8, parent)
{
    setFill([](const QPalette &p) { return p.color(QPalette::Base); });
    const QFont titleFont = look::font(look::TextStyle::callout, QFont::DemiBold);
    m_symbol = new SymbolView(QString(), QFontInfo(titleFont).pixelSize(), look::primary);
    m_title = makeTextLabel(QString(), titleFont, look::primary, true);
    m_body = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary, true);

    auto *titleRow = new QHBoxLayout;
    titleRow->setSpacing(6);
    titleRow->addWidget(m_symbol, 0, Qt::AlignVCenter);
    titleRow->addWidget(m_title, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    layout->addLayout(titleRow);
    layout->addWidget(m_body);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
}

QString FindingsPlaceholder::title() const { return m_title->text(); }
QString FindingsPlaceholder::body() const { return m_body->text(); }
QString FindingsPlaceholder::symbol() const { return m_symbol->symbol(); }

void FindingsPlaceholder::present(const QString &symbol, const QString &title, const QString &body)
{
    m_symbol->setSymbol(symbol);
    m_title->setText(title);
    m_body->setText(body);
    setAccessibleName(title + QStringLiteral(". ") + body);
}

EmptyDetectionState::EmptyDetectionState(QWidget *parent) : FindingsPlaceholder(parent)
{
    setObjectName(QStringLiteral("empty-detection-state"));
    setState(false, false);
}

void EmptyDetectionState::setState(bool isChecking, bool hasImage)
{
    if (isChecking)
        present(QStringLiteral("hourglass"), QStringLiteral("Checking"), QStringLiteral("On-device detection is running."));
    else if (hasImage)
        present(QStringLiteral("viewfinder"), QStringLiteral("No boxes yet"),
             QStringLiteral("Scan runs automatically on import. Draw a manual box if anything sensitive was missed."));
    else
        present(QStringLiteral("photo"), QStringLiteral("Open, paste, or drop an image"),
             QStringLiteral("Supports PNG, JPEG, TIFF, and HEIC. Velmora flags likely emails, tokens, account IDs, "
                            "faces, and QR codes before screenshots go into AI chat, Slack, email, tickets, or docs. "
                            "No account or server."));
}

EmptyFilterState::EmptyFilterState(QWidget *parent) : FindingsPlaceholder(parent)
{
    setObjectName(QStringLiteral("empty-filter-state"));
    setFilter(FindingFilter::needsReview);
}

void EmptyFilterState::setFilter(FindingFilter filter)
{
    const QString title = tr("No %1 findings").arg(velmora::title(filter).toLower());
    present(QStringLiteral("line.3.horizontal.decrease.circle"), title,
         tr("Switch filters to review the rest of the scan results."));
    setAccessibleName(title);
}

} // namespace velmora
