#include "app/settings/safe_share_history_row.h"

#include "app/kit/clamped_label.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace velmora {

QString title(SafeShareAction action)
{
    switch (action) {
    case SafeShareAction::scan: return QObject::tr("Scanned");
    case SafeShareAction::copyCleanedPNG: return QObject::tr("Copied cleaned PNG");
    case SafeShareAction::exportCleanedImage: return QObject::tr("Exported cleaned image");
    case SafeShareAction::batchExport: return QObject::tr("Exported cleaned batch");
    case SafeShareAction::clipboardReplace: return QObject::tr("Replaced clipboard");
    }
    return {};
}

QString label(SafeShareSourceType sourceType)
{
    switch (sourceType) {
    case SafeShareSourceType::fileImport: return QObject::tr("File import");
    case SafeShareSourceType::folderBatch: return QObject::tr("Folder batch");
    case SafeShareSourceType::clipboardImport: return QObject::tr("Clipboard import");
    case SafeShareSourceType::clipboardProtection: return QObject::tr("Clipboard protection");
    case SafeShareSourceType::screenshotWatch: return QObject::tr("Screenshot watch");
    case SafeShareSourceType::capture: return QObject::tr("Velmora Capture");
    case SafeShareSourceType::unknown: break;
    }
    return QObject::tr("Image");
}

SafeShareHistoryRow::SafeShareHistoryRow(const SafeShareHistoryRecord &record, QWidget *parent)
    : RoundedSurface(8, parent)
{
    setObjectName(QStringLiteral("safe-share-history-row-") + record.id.toString(QUuid::WithoutBraces).toUpper());
    setFill([](const QPalette &p) { return p.color(QPalette::Base); });
    const QString date = QLocale::system().toString(record.occurredAt.toLocalTime(), QLocale::ShortFormat);

    auto *top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(makeTextLabel(title(record.action), look::font(look::TextStyle::caption, QFont::DemiBold),
                                 look::primary));
    top->addWidget(makeTextLabel(label(record.sourceType), look::font(look::TextStyle::caption), look::secondary));
    top->addStretch(1);
    top->addWidget(makeTextLabel(date, look::font(look::TextStyle::caption2, QFont::Normal), look::secondary));

    auto *detail = new ClampedLabel(2);
    detail->setFont(look::font(look::TextStyle::caption));
    look::tintText(detail, look::secondary);
    detail->setFullText(detailLine(record));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addWidget(detail);
    setAccessibleName(QStringList{title(record.action), label(record.sourceType), date, detailLine(record)}.join(
        QStringLiteral(", ")));
}

QString SafeShareHistoryRow::detailLine(const SafeShareHistoryRecord &record)
{
    QStringList parts{QStringLiteral("%1 findings").arg(record.totalFindings), record.summary()};
    if (record.batchItemCount && *record.batchItemCount >= 2)
        parts.append(QStringLiteral("%1 images").arg(*record.batchItemCount));
    if (record.policySummary && !record.policySummary->isEmpty())
        parts.append(*record.policySummary);
    if (record.outputPath && !record.outputPath->isEmpty())
        parts.append(*record.outputPath);
    return parts.join(QStringLiteral(" - "));
}

} // namespace velmora
