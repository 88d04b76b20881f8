#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// The section of the findings panel and the batch category filter a finding falls in.
/// The case order is the order of sections, chips and counts everywhere.
enum class FindingCategory { secrets, emails, people, visualCodes, customerAccount, infrastructure, payments, phones, review };

/// The findings-list filter.
enum class FindingFilter {
    all,         ///< Every entry.
    needsReview, ///< Entries that need review.
    included,    ///< Active entries.
    off,         ///< Inactive entries.
};

/// The batch sidebar filter.
enum class BatchReviewFilter {
    all,      ///< Every item.
    findings, ///< Items whose plan has at least one entry.
    clean,    ///< Scanned items without entries and without an error.
};

/// Which help sheet the main window presents.
enum class VelmoraHelpSheet { onboarding, helpCenter };

/// The button of the completion banner.
enum class CompletionBannerAction { revealLastExport, reviewLatestWatchedScreenshot, reviewLastAutoClean, undoLastAutoClean, openNotificationSettings };

/// The share operation that waits behind the review warning.
enum class ShareAction { copy, export_, batchExport };

QString title(FindingCategory category);
QString title(FindingFilter filter);
QString title(BatchReviewFilter filter);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::FindingCategory,
    {velmora::FindingCategory::secrets, "secrets"}, {velmora::FindingCategory::emails, "emails"},
    {velmora::FindingCategory::people, "people"}, {velmora::FindingCategory::visualCodes, "visualCodes"},
    {velmora::FindingCategory::customerAccount, "customerAccount"},
    {velmora::FindingCategory::infrastructure, "infrastructure"},
    {velmora::FindingCategory::payments, "payments"}, {velmora::FindingCategory::phones, "phones"},
    {velmora::FindingCategory::review, "review"});

VELMORA_RAW_ENUM(velmora::FindingFilter,
    {velmora::FindingFilter::all, "all"}, {velmora::FindingFilter::needsReview, "needsReview"},
    {velmora::FindingFilter::included, "included"}, {velmora::FindingFilter::off, "off"});

VELMORA_RAW_ENUM(velmora::BatchReviewFilter,
    {velmora::BatchReviewFilter::all, "all"}, {velmora::BatchReviewFilter::findings, "findings"},
    {velmora::BatchReviewFilter::clean, "clean"});

VELMORA_RAW_ENUM(velmora::VelmoraHelpSheet,
    {velmora::VelmoraHelpSheet::onboarding, "onboarding"}, {velmora::VelmoraHelpSheet::helpCenter, "helpCenter"});

VELMORA_RAW_ENUM(velmora::CompletionBannerAction,
    {velmora::CompletionBannerAction::revealLastExport, "revealLastExport"},
    {velmora::CompletionBannerAction::reviewLatestWatchedScreenshot, "reviewLatestWatchedScreenshot"},
    {velmora::CompletionBannerAction::reviewLastAutoClean, "reviewLastAutoClean"},
    {velmora::CompletionBannerAction::undoLastAutoClean, "undoLastAutoClean"},
    {velmora::CompletionBannerAction::openNotificationSettings, "openNotificationSettings"});

// `export` is a C++ keyword; the raw value keeps the case name.
VELMORA_RAW_ENUM(velmora::ShareAction,
    {velmora::ShareAction::copy, "copy"}, {velmora::ShareAction::export_, "export"},
    {velmora::ShareAction::batchExport, "batchExport"});
