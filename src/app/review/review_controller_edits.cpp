#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "app/review/review_walk.h"
#include "core/settings/detection_settings.h"
#include "core/settings/stored_settings.h"
#include "core/support/clock.h"
#include "core/text/unicode_text.h"

#include <QJsonDocument>
#include <QPointer>
#include <algorithm>

namespace velmora {
namespace {

const QString selectedBoxReset = QStringLiteral("Selected box reset to its original detected bounds.");

} // namespace

void ReviewController::selectDetection(const QUuid &detectionID)
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->select(detectionID))
        return;
    ChangeScope scope(*this);
    m_state.screen.endDrawing();
    refreshStatusSummary();
}

void ReviewController::selectFindingFilter(FindingFilter filter)
{
    ChangeScope scope(*this);
    m_state.findingFilter = filter;
    if (ReviewDocument *document = m_state.batch.current(); document && document->selectedDetectionID()) {
        const QList<RedactionPlanEntry> visible = filteredEntries(document->redactionPlan(), filter);
        const bool stillShown = std::any_of(visible.begin(), visible.end(), [document](const RedactionPlanEntry &entry) {
            return entry.id() == *document->selectedDetectionID();
        });
        if (!stillShown)
            document->clearSelection();
    }
    refreshStatusSummary();
}

void ReviewController::setFindingsActive(bool isActive, const QList<QUuid> &detectionIDs)
{
    editCurrentPlan([&](ReviewDocument &document) {
        document.setFindingsActive(isActive, detectionIDs);
        return true;
    });
}

void ReviewController::toggleSelectedFindingActive()
{
    const std::optional<RedactionPlanEntry> entry = selectedEntry(m_state.redactionPlan(), m_state.selectedDetectionID());
    if (!entry)
        return;
    setFindingsActive(!entry->isActive, {entry->id()});
}

void ReviewController::setAllFindingsIncluded(bool isActive)
{
    // Without an image the start sentence stays: there is nothing to redact or show.
    if (!m_state.hasImageOnScreen())
        return;
    QList<QUuid> ids;
    for (const RedactionPlanEntry &entry : m_state.redactionPlan().entries())
        ids.append(entry.id());
    setFindingsActive(isActive, ids);
}

void ReviewController::selectAdjacentFinding(int step)
{
    const QList<RedactionPlanEntry> &entries = m_state.redactionPlan().entries();
    const auto selected = std::find_if(entries.begin(), entries.end(), [this](const RedactionPlanEntry &entry) {
        return entry.id() == m_state.selectedDetectionID();
    });
    const std::optional<qsizetype> current =
        selected == entries.end() ? std::nullopt : std::optional<qsizetype>(selected - entries.begin());
    if (const std::optional<qsizetype> next = adjacentPosition(entries.size(), current, step))
        selectDetection(entries.at(*next).id());
}

void ReviewController::rememberFindingAsSafe(const RedactionPlanEntry &entry)
{
    if (!entry.detection.matchedText)
        return;
    const QString text = unicode::trimmed(*entry.detection.matchedText);
    if (text.isEmpty())
        return;
    QStringList lines = settingsTextLines(m_state.detectionSettings.allowlistText);
    const QString lowered = unicode::lowercased(text);
    const bool known = std::any_of(lines.begin(), lines.end(),
                                   [&](const QString &line) { return unicode::lowercased(line) == lowered; });

    ChangeScope scope(*this);
    setFindingsActive(false, {entry.id()});
    m_state.setReviewStatusNote(ReviewText::rememberedAsSafe);
    // Written last: the stored change starts the settings re-scan, whose own note
    // replaces the one above while an image is loaded.
    if (!known) {
        lines.append(text);
        m_environment.settings.setValue(Setting::allowlistText, lines.join(QLatin1Char('\n')));
    }
}

void ReviewController::setDetectorDisposition(RedactionPolicyDisposition disposition, const RedactionPlanEntry &entry)
{
    DetectorCategoryPreferences preferences =
        decodeDetectorCategoryPreferences(m_environment.settings.value(Setting::detectorCategoryPreferencesData));
    preferences.setDetectorDisposition(disposition, entry.detection.label);
    const QByteArray data = QJsonDocument(preferences.toJson()).toJson(QJsonDocument::Compact);

    ChangeScope scope(*this);
    m_state.setReviewStatusNote(entry.detection.label + QStringLiteral(" set to ") + title(disposition)
        + QStringLiteral(". Current image will re-scan."));
    m_environment.settings.setValue(Setting::detectorCategoryPreferencesData, data);
    // Also when the stored value did not change: the user asked for a re-scan.
    rescanAfterCustomSettingsChange();
}

void ReviewController::setKeepsManualEditingAfterCommit(bool keeps)
{
    ChangeScope scope(*this);
    m_state.keepsManualEditingAfterCommit = keeps;
}

bool ReviewController::editCurrentPlan(const std::function<bool(ReviewDocument &)> &edit)
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !edit(*document))
        return false;
    ChangeScope scope(*this);
    refreshAfterPlanChange();
    return true;
}

void ReviewController::addManualBox(const NormRect &bounds)
{
    ChangeScope scope(*this);
    if (editCurrentPlan([&](ReviewDocument &document) { return document.addManualBox(bounds).has_value(); }))
        setManualEditing(m_state.keepsManualEditingAfterCommit);
}

void ReviewController::moveBox(const QUuid &detectionID, const NormRect &bounds)
{
    editCurrentPlan([&](ReviewDocument &document) { return document.moveBox(detectionID, bounds); });
}

void ReviewController::finishBoxEdit()
{
    editCurrentPlan([](ReviewDocument &document) { return document.finishBoxEdit(); });
}

void ReviewController::resetSelectedBounds()
{
    ChangeScope scope(*this);
    if (editCurrentPlan([](ReviewDocument &document) { return document.resetSelectedBounds(); }))
        m_state.setReviewStatusNote(selectedBoxReset);
}

void ReviewController::deleteSelectedManualRedaction()
{
    editCurrentPlan([](ReviewDocument &document) { return document.deleteSelectedManualBox(); });
}

void ReviewController::applyManualEditHistoryStep(ManualEditStep step)
{
    editCurrentPlan([&](ReviewDocument &document) {
        if (!document.applyEditStep(step))
            return false;
        m_state.screen.endDrawing();
        return true;
    });
}

} // namespace velmora
