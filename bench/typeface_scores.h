#pragma once

// Scores one drawn screen of the typeface benchmark by what a user gets: the findings
// of the default configuration over the recogniser's lines, against the values planted
// and the ink they left.

#include "screen_layout.h"
#include "text_distance.h"

#include "app/panes/confidence_summary.h"
#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/detection/text_observation.h"

#include <QMap>
#include <QRectF>
#include <QSet>

#include <cstdio>

namespace bench {

struct Count
{
    int hits = 0;
    int total = 0;
    void add(bool hit) { hits += hit; ++total; }
    void add(const Count &other) { hits += other.hits; total += other.total; }
    QString percent() const { return total == 0 ? QStringLiteral("    -") : QString::number(100.0 * hits / total, 'f', 1).rightJustified(5); }
};

/// What became of one planted sensitive value: how much of its ink its findings cover,
/// whether a token is whole under one of them, and how its line was read.
struct ValueOutcome
{
    QString text;
    QString look;
    double cover = 0;
    bool whole = false; ///< a token whole under one finding; any other value fully covered
    QString read;
    QStringList findings = {}; ///< "label: matched text" of the findings over it
};

struct TypefaceScores
{
    Count covered;       ///< sensitive values with every ink pixel under their findings' boxes
    double lowestCover = 100;
    Count whole;         ///< tokens: one finding with the exact prefix whose box covers all their ink
    Count underscores;   ///< values and names with underscores read with as many underscores
    Count phantoms;      ///< lines read with characters where there is no ink (hits: such lines)
    Count notCheck;      ///< values read exactly (rules that redact) whose finding is not Check
    Count misreadCheck;  ///< values read wrongly (rules that redact) whose finding is marked Check
    Count wrongLow;      ///< lines with two or more wrong characters scoring below 0.8
    int falseFindings = 0;
    QMap<QString, int> falseByLabel; ///< false findings by what they were called ("Card number", "Email")
    QList<ValueOutcome> values;      ///< every sensitive value with ink, screen by screen
    Count labels;        ///< labels above fields read exactly
    Count lookAlikes;    ///< AWS and Google keys and e-mail addresses read exactly
    Count punctuation;   ///< URLs and dotted phone numbers read exactly
    Count longTokens;    ///< JWTs, Slack and OpenAI keys fully covered
    Count oneLine;       ///< sensitive values drawn on one line fully covered
    Count wrapped;       ///< sensitive values wrapped over lines with the ink of every part covered
    Count terminalEmails;///< e-mail addresses on terminal and code lines fully covered
    Count decoys;        ///< decoys (hits: those with 5 % or more of their ink under findings)
    Count verdictGroups; ///< identical values of one look on a screen (hits: groups with differing verdicts)

    void add(const TypefaceScores &o)
    {
        covered.add(o.covered); whole.add(o.whole); underscores.add(o.underscores); phantoms.add(o.phantoms);
        notCheck.add(o.notCheck); misreadCheck.add(o.misreadCheck); wrongLow.add(o.wrongLow); labels.add(o.labels); lookAlikes.add(o.lookAlikes);
        punctuation.add(o.punctuation); longTokens.add(o.longTokens); oneLine.add(o.oneLine); wrapped.add(o.wrapped);
        terminalEmails.add(o.terminalEmails); decoys.add(o.decoys); verdictGroups.add(o.verdictGroups);
        lowestCover = std::min(lowestCover, o.lowestCover);
        falseFindings += o.falseFindings;
        values += o.values;
        for (auto it = o.falseByLabel.cbegin(); it != o.falseByLabel.cend(); ++it)
            falseByLabel[it.key()] += it.value();
    }

    /// The false findings and what they were called: "26 (Card number 24, Email 2)".
    QString falseSummary() const
    {
        QStringList kinds;
        for (auto it = falseByLabel.cbegin(); it != falseByLabel.cend(); ++it)
            kinds.append(QStringLiteral("%1 %2").arg(it.key()).arg(it.value()));
        return kinds.isEmpty() ? QString::number(falseFindings) : QStringLiteral("%1 (%2)").arg(falseFindings).arg(kinds.join(QStringLiteral(", ")));
    }
};

inline bool isSensitive(PlantKind kind) { return kind != PlantKind::probe && kind != PlantKind::decoy; }

/// Rules whose findings are redacted without asking unless the reading is doubtful: not
/// those of IPv4 addresses, account identifiers, SSH keys and confidentiality labels.
inline bool redactsByDefault(const Planted &plant)
{
    static const QStringList reviewed{QStringLiteral("acct_"), QStringLiteral("customer_"), QStringLiteral("ssh-ed25519"), QStringLiteral("CONFIDENTIAL")};
    return plant.kind != PlantKind::ipv4 && isSensitive(plant.kind) && !reviewed.contains(plant.prefix);
}

inline bool hasPhantom(const QString &read, const QString &truth)
{
    const auto edge = [](const QString &text, bool first) {
        const QString trimmed = text.trimmed();
        return trimmed.isEmpty() ? QChar() : first ? trimmed.front() : trimmed.back();
    };
    static const QString strays = QStringLiteral("-_|");
    for (const bool first : {true, false}) {
        if (strays.contains(edge(read, first)) && edge(read, first) != edge(truth, first))
            return true;
    }
    return read.count(u'_') > truth.count(u'_');
}

/// What the recogniser read on each drawn line: every recognised line that lies mostly
/// on it, or that covers half of it or more (a line read across cells or windows counts
/// for each line it runs over).
inline QStringList readsOfLines(const DrawnScreen &screen, const QList<velmora::TextObservation> &observations,
                                const QList<QRectF> &boxes, const QList<qsizetype> &bestLine)
{
    QStringList reads(screen.lines.size());
    for (qsizetype l = 0; l < screen.lines.size(); ++l) {
        const QRectF line(screen.lines[l].box);
        for (qsizetype o = 0; o < observations.size(); ++o) {
            const QRectF overlap = boxes[o].intersected(line);
            if (bestLine[o] == l || overlap.width() * overlap.height() >= 0.5 * line.width() * line.height())
                reads[l] += (reads[l].isEmpty() ? QString() : QStringLiteral(" ")) + observations[o].text();
        }
    }
    return reads;
}

/// Whether a planted value was read exactly: on one line, that line's reading holds it;
/// wrapped, each part's line holds its part, or one of them the whole value.
inline bool readExactly(const Planted &plant, const QStringList &reads)
{
    bool everyPart = true;
    for (const PlantPart &part : plant.parts) {
        if (reads[part.line].contains(plant.text))
            return true;
        everyPart = everyPart && reads[part.line].contains(part.text);
    }
    return everyPart;
}

/// What the user is shown for a finding: "High", "Medium", "Check" or "Check bounds".
inline QString verdict(const velmora::Detection &finding) { return velmora::ConfidenceSummary::make(finding, true).label; }

inline TypefaceScores scoreScreen(const DrawnScreen &screen, const QList<velmora::TextObservation> &observations,
                                  const velmora::SensitiveTextDetector &detector, bool verbose)
{
    using namespace velmora;
    TypefaceScores scores;
    const QSize size = screen.image.size();
    const auto pixelBox = [&size](const NormRect &box) {
        return QRectF(box.x * size.width(), (1.0 - box.maxY()) * size.height(), box.width * size.width(), box.height * size.height());
    };
    // Each recognised line belongs to the drawn line it overlaps most.
    QList<QRectF> boxes;
    QList<qsizetype> bestLine;
    QList<QList<qsizetype>> observationsOf(screen.lines.size());
    for (qsizetype o = 0; o < observations.size(); ++o) {
        boxes.append(pixelBox(observations[o].normalizedBounds()));
        double best = 0;
        bestLine.append(-1);
        for (qsizetype l = 0; l < screen.lines.size(); ++l) {
            const QRectF overlap = boxes[o].intersected(QRectF(screen.lines[l].box));
            if (overlap.width() * overlap.height() > best) {
                best = overlap.width() * overlap.height();
                bestLine[o] = l;
            }
        }
        if (bestLine[o] >= 0)
            observationsOf[bestLine[o]].append(o);
        else
            scores.wrongLow.add(observations[o].confidence() < 0.8); // text where there is none
    }
    const QStringList reads = readsOfLines(screen, observations, boxes, bestLine);
    for (qsizetype l = 0; l < screen.lines.size(); ++l) {
        const TruthLine &line = screen.lines[l];
        for (const qsizetype o : observationsOf[l]) {
            const TextObservation &observation = observations[o];
            const int wrong = observationsOf[l].size() == 1 ? editDistance(observation.text(), line.text)
                                                            : closestPart(line.text, observation.text()).distance;
            if (wrong >= 2)
                scores.wrongLow.add(observation.confidence() < 0.8);
        }
        const QString &read = reads[l];
        if (!read.isEmpty())
            scores.phantoms.add(hasPhantom(read, line.text));
        if (line.kind == RowKind::label)
            scores.labels.add(read == line.text);
        if (verbose && read != line.text)
            std::printf("    read \"%s\"\n    want \"%s\"\n", qPrintable(read), qPrintable(line.text));
    }

    const QList<Detection> findings = detector.detect(observations);
    QList<bool> findingUsed(findings.size(), false);
    const auto inside = [&](qsizetype f, const QPoint &p) { return pixelBox(findings[f].normalizedBounds).contains(QPointF(p.x() + 0.5, p.y() + 0.5)); };
    QMap<QString, QStringList> verdictsOf; // identical values of one look
    for (const Planted &plant : screen.plants) {
        QStringList partReads;
        for (const PlantPart &part : plant.parts)
            partReads.append(reads[part.line]);
        const QString read = partReads.join(QStringLiteral(" / "));
        const bool exact = readExactly(plant, reads);
        if (plant.kind == PlantKind::decoy) {
            int coveredInk = 0;
            for (const QPoint &p : plant.ink)
                coveredInk += std::any_of(findings.cbegin(), findings.cend(), [&](const Detection &f) { return pixelBox(f.normalizedBounds).contains(QPointF(p.x() + 0.5, p.y() + 0.5)); });
            scores.decoys.add(!plant.ink.isEmpty() && coveredInk * 20 >= plant.ink.size());
            if (verbose && coveredInk > 0)
                std::printf("    decoy %.0f%% covered: \"%s\" in \"%s\"\n", 100.0 * coveredInk / plant.ink.size(), qPrintable(plant.text), qPrintable(read));
            continue;
        }
        if (plant.text.contains(u'_')) {
            const Match match = closestPart(read, plant.text);
            scores.underscores.add(match.distance < INT_MAX && read.mid(match.start, match.end - match.start).count(u'_') == plant.text.count(u'_'));
        }
        if (plant.prefix == QStringLiteral("AKIA") || plant.prefix == QStringLiteral("AIza") || plant.kind == PlantKind::email)
            scores.lookAlikes.add(exact);
        if ((plant.kind == PlantKind::probe && plant.text.startsWith(QStringLiteral("http"))) || (plant.kind == PlantKind::phone && plant.text.contains(u'.')))
            scores.punctuation.add(exact);
        if (!isSensitive(plant.kind) || plant.ink.isEmpty())
            continue;
        QList<qsizetype> mine;
        for (qsizetype f = 0; f < findings.size(); ++f) {
            const QRectF box = pixelBox(findings[f].normalizedBounds);
            if (std::any_of(plant.parts.cbegin(), plant.parts.cend(), [&box](const PlantPart &part) { return box.intersects(QRectF(part.box)); })) {
                mine.append(f);
                findingUsed[f] = true;
            }
        }
        int coveredInk = 0;
        QList<int> inkOf(mine.size(), 0);
        for (const QPoint &p : plant.ink) {
            bool under = false;
            for (qsizetype m = 0; m < mine.size(); ++m) {
                const bool in = inside(mine[m], p);
                inkOf[m] += in;
                under = under || in;
            }
            coveredInk += under;
        }
        const bool fully = coveredInk == plant.ink.size();
        const double cover = 100.0 * coveredInk / plant.ink.size();
        scores.covered.add(fully);
        (plant.wrapped() ? scores.wrapped : scores.oneLine).add(fully);
        if (plant.kind == PlantKind::email && screen.lines[plant.line()].kind == RowKind::code)
            scores.terminalEmails.add(fully);
        scores.lowestCover = std::min(scores.lowestCover, cover);
        const qsizetype most = std::max_element(inkOf.cbegin(), inkOf.cend()) - inkOf.cbegin();
        verdictsOf[plant.text + u'\n' + plant.look].append(mine.isEmpty() ? QStringLiteral("none") : verdict(findings[mine[most]]));
        if (plant.prefix == QStringLiteral("eyJ") || plant.prefix == QStringLiteral("xoxb-") || plant.prefix == QStringLiteral("sk-proj-"))
            scores.longTokens.add(fully);
        ValueOutcome outcome{plant.text, plant.look, cover, fully, read};
        for (const qsizetype f : mine)
            outcome.findings.append(findings[f].label + QStringLiteral(": ") + findings[f].matchedText.value_or(QString()));
        if (plant.kind == PlantKind::token) {
            // A value on one line is whole under one finding; a wrapped one under the
            // findings over its parts, one of them with the prefix.
            const bool whole = std::any_of(mine.cbegin(), mine.cend(), [&](qsizetype f) {
                return findings[f].matchedText.value_or(QString()).startsWith(plant.prefix)
                    && (plant.wrapped() ? fully : std::all_of(plant.ink.cbegin(), plant.ink.cend(), [&](const QPoint &p) { return inside(f, p); }));
            });
            scores.whole.add(whole);
            outcome.whole = whole;
            if (verbose && !whole) {
                std::printf("    not whole: \"%s\" in \"%s\"\n", qPrintable(plant.text), qPrintable(read));
                for (const qsizetype f : mine)
                    std::printf("      finding %s: \"%s\"\n", qPrintable(findings[f].label), qPrintable(findings[f].matchedText.value_or(QString())));
            }
        }
        scores.values.append(outcome);
        if (exact && redactsByDefault(plant)) {
            const bool sure = std::any_of(mine.cbegin(), mine.cend(), [&](qsizetype f) {
                return findings[f].suggestedAction != DetectionSuggestedAction::review;
            });
            scores.notCheck.add(sure);
            if (verbose && !sure) {
                std::printf("    read exactly, marked Check: \"%s\"\n", qPrintable(plant.text));
                for (const qsizetype f : mine)
                    std::printf("      finding %s %.2f: \"%s\"\n", qPrintable(findings[f].label), findings[f].confidence,
                                qPrintable(findings[f].matchedText.value_or(QString())));
            }
        }
        if (!exact && redactsByDefault(plant) && !mine.isEmpty()) {
            scores.misreadCheck.add(std::any_of(mine.cbegin(), mine.cend(), [&](qsizetype f) {
                return findings[f].suggestedAction == DetectionSuggestedAction::review;
            }));
        }
        if (verbose && !fully)
            std::printf("    %.0f%% covered%s: \"%s\" in \"%s\"\n", cover, plant.wrapped() ? " (wrapped)" : "", qPrintable(plant.text), qPrintable(read));
    }
    for (auto it = verdictsOf.cbegin(); it != verdictsOf.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        const QStringList distinct = QSet<QString>(it.value().cbegin(), it.value().cend()).values();
        scores.verdictGroups.add(distinct.size() > 1);
        if (verbose && distinct.size() > 1) {
            QStringList tally;
            for (const QString &one : distinct)
                tally.append(QStringLiteral("%1 %2").arg(it.value().count(one)).arg(one));
            std::printf("    differing verdicts for \"%s\": %s\n", qPrintable(it.key().section(u'\n', 0, 0)), qPrintable(tally.join(QStringLiteral(", "))));
        }
    }
    for (qsizetype f = 0; f < findings.size(); ++f) {
        if (!findingUsed[f]) {
            ++scores.falseFindings;
            ++scores.falseByLabel[findings[f].label];
            if (verbose)
                std::printf("    false finding %s: \"%s\"\n", qPrintable(findings[f].label), qPrintable(findings[f].matchedText.value_or(QString())));
        }
    }
    return scores;
}

inline void printTypefaceHeader()
{
    std::printf("%-24s %6s %6s %6s %6s %7s %6s %6s %6s   %6s %6s %6s %6s\n", "half renderer", "cover", "lowest", "whole", "under",
                "phantom", "sure", "wrong", "false", "labels", "looks", "punct", "long");
}

inline void printTypefaceRow(const QString &label, const TypefaceScores &s)
{
    std::printf("%-24s %6s %6.1f %6s %6s %7s %6s %6s %6d   %6s %6s %6s %6s   (%d values, %d lines)\n", qPrintable(label),
                qPrintable(s.covered.percent()), s.lowestCover, qPrintable(s.whole.percent()), qPrintable(s.underscores.percent()),
                qPrintable(s.phantoms.percent()), qPrintable(s.notCheck.percent()), qPrintable(s.wrongLow.percent()), s.falseFindings,
                qPrintable(s.labels.percent()), qPrintable(s.lookAlikes.percent()), qPrintable(s.punctuation.percent()),
                qPrintable(s.longTokens.percent()), s.covered.total, s.phantoms.total);
}

/// One row per failure class, for the tuning and the held-back half side by side.
inline void printClassRows(const TypefaceScores &tuning, const TypefaceScores &heldBack)
{
    std::printf("\n%-44s %9s %9s\n", "failure class", "tuning", "held-back");
    const auto row = [](const char *name, const Count &a, const Count &b) {
        std::printf("%-44s %9s %9s\n", name, qPrintable(a.percent()), qPrintable(b.percent()));
    };
    row("1 underscores kept", tuning.underscores, heldBack.underscores);
    row("2 labels above fields read exactly", tuning.labels, heldBack.labels);
    row("2 lines with phantom characters (lower)", tuning.phantoms, heldBack.phantoms);
    row("3 look-alikes: AWS, Google keys, e-mails", tuning.lookAlikes, heldBack.lookAlikes);
    row("4 punctuation: URLs, dotted phone numbers", tuning.punctuation, heldBack.punctuation);
    row("5 long tokens fully covered", tuning.longTokens, heldBack.longTokens);
    row("6 values read exactly not marked Check", tuning.notCheck, heldBack.notCheck);
    row("6 lines 2+ wrong scoring below 0.8", tuning.wrongLow, heldBack.wrongLow);
    row("6 values read wrongly marked Check", tuning.misreadCheck, heldBack.misreadCheck);
    row("all values fully covered", tuning.covered, heldBack.covered);
    row("tokens whole", tuning.whole, heldBack.whole);
}

} // namespace bench
