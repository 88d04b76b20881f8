#include "core/analysis/wraps/wrapped_value_findings.h"

#include "core/analysis/repairs/token_repair.h"
#include "core/analysis/wraps/wrap_chains.h"

#include <QUuid>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <utility>

namespace velmora {

namespace {

// One box around all the parts of a value would hide the text beside them where it
// takes in more than this share of that text's box.
constexpr double hiddenShare = 0.1;
// A finding of another rule that holds this share of a part fills it.
constexpr double filledShare = 0.9;

NormRect unitedBoxes(const QList<NormRect> &boxes)
{
    NormRect all = NormRect::null();
    for (const NormRect &box : boxes)
        all = all.united(box);
    return all;
}

/// One line's text within a joined reading.
struct Segment
{
    qsizetype line = 0;
    qsizetype offset = 0; ///< Where its text starts in the joined text.
    qsizetype length = 0;
    /// Where each of its characters stands in the line's text, where spaces were left
    /// out (empty: the line's text as it is).
    QList<qsizetype> source = {};
};

/// What the joined reading's bounds callback answered: the boxes of the parts of a range.
struct Answer
{
    TextRange range;
    QList<NormRect> parts;
};

/// The answers of a joined reading's bounds callback, kept so that a finding's box can
/// be told apart into its parts. The callback may be called from any thread.
class Answers
{
public:
    void add(Answer answer)
    {
        const std::lock_guard lock(m_mutex);
        m_answers.append(std::move(answer));
    }
    /// The narrowest answer whose box is `box`, for a range holding `matched`: the range
    /// a finding's box covers (a token's whole run, where its rule boxes that) and its
    /// parts.
    std::optional<Answer> answerFor(const NormRect &box, const TextRange &matched) const
    {
        const std::lock_guard lock(m_mutex);
        std::optional<Answer> narrowest;
        for (const Answer &answer : m_answers) {
            if (unitedBoxes(answer.parts) == box && answer.range.location <= matched.location && answer.range.end() >= matched.end()
                && (!narrowest || answer.range.length < narrowest->range.length))
                narrowest = answer;
        }
        return narrowest;
    }

private:
    mutable std::mutex m_mutex;
    QList<Answer> m_answers;
};

/// Several lines read as one text, with their callbacks answering for it.
struct JoinedReading
{
    TextObservation observation;
    QList<Segment> segments;
    qsizetype breaksInWords = 0; ///< Breaks joined without a space.
    QList<qsizetype> endingInSmallL;  ///< The lines whose last stroke is read as an "l".
    std::shared_ptr<Answers> answers;
};

// The part of a range of the joined text that lies on a segment, in its line's text.
std::optional<TextRange> overlap(const TextRange &range, const Segment &segment)
{
    const qint64 start = std::max<qint64>(range.location, segment.offset) - segment.offset;
    const qint64 end = std::min<qint64>(range.end(), segment.offset + segment.length) - segment.offset;
    if (end <= start)
        return std::nullopt;
    if (segment.source.isEmpty())
        return TextRange{start, end - start};
    const qint64 first = segment.source[start];
    return TextRange{first, segment.source[end - 1] + 1 - first};
}

// Whether a line starts with a bracket that nothing on it closes. At the start of a
// line a value goes on, that is the edge of the glyph after it read twice ("(@" for "@").
bool unclosedOpening(const QString &text)
{
    static constexpr std::pair<char16_t, char16_t> brackets[]{{u'(', u')'}, {u'[', u']'}, {u'{', u'}'}};
    return text.size() > 1
        && std::any_of(std::begin(brackets), std::end(brackets), [&text](const auto &pair) {
               return text.front() == pair.first && !text.contains(pair.second);
           });
}

bool within(const TextRange &inner, const TextRange &outer)
{
    return inner.location >= outer.location && inner.end() <= outer.end();
}

bool overlapping(const TextRange &a, const TextRange &b)
{
    return a.location < b.end() && b.location < a.end();
}

JoinedReading joined(const QList<TextObservation> &lines, const QList<qsizetype> &chain, const WrapJoins &joins)
{
    JoinedReading reading;
    reading.answers = std::make_shared<Answers>();
    QString text;
    NormRect box = NormRect::null();
    double confidence = 1;
    QList<TextObservation> parts;
    for (qsizetype k = 0; k < chain.size(); ++k) {
        if (k > 0 && joins.smallLBefore.contains(k - 1)) {
            text.back() = u'l';
            reading.endingInSmallL.append(chain[k - 1]);
        }
        if (k > 0 && joins.spaced[k - 1])
            text += QLatin1Char(' ');
        reading.breaksInWords += k > 0 && !joins.spaced[k - 1];
        const TextObservation &line = lines[chain[k]];
        Segment segment{chain[k], text.size(), line.text().size()};
        const qsizetype from = k > 0 && unclosedOpening(line.text()) ? 1 : 0;
        const bool blanksOut = joins.digitsTogether && onlyDigitGroups(line.text().mid(from));
        if (from > 0 || blanksOut) {
            for (qsizetype c = from; c < line.text().size(); ++c) {
                if (!blanksOut || line.text()[c] != u' ') {
                    text += line.text()[c];
                    segment.source.append(c);
                }
            }
            segment.length = segment.source.size();
        } else {
            text += line.text();
        }
        reading.segments.append(segment);
        box = box.united(line.normalizedBounds());
        confidence = std::min(confidence, line.confidence());
        parts.append(line);
    }
    const QList<Segment> segments = reading.segments;
    auto bounds = [parts, segments, answers = reading.answers](const TextRange &range) -> std::optional<NormRect> {
        Answer answer{range, {}};
        NormRect all = NormRect::null();
        for (qsizetype k = 0; k < segments.size(); ++k) {
            const auto local = overlap(range, segments[k]);
            if (!local)
                continue;
            const TextBoundsResolver &resolver = parts[k].boundsResolver();
            const std::optional<NormRect> part = resolver ? resolver(*local) : std::nullopt;
            if (!part)
                return std::nullopt;
            answer.parts.append(*part);
            all = all.united(*part);
        }
        if (answer.parts.isEmpty())
            return std::nullopt;
        answers->add(std::move(answer));
        return all;
    };
    auto sureness = [parts, segments](const TextRange &range) {
        double least = std::numeric_limits<double>::quiet_NaN();
        for (qsizetype k = 0; k < segments.size(); ++k) {
            if (const auto local = overlap(range, segments[k]))
                least = std::isnan(least) ? parts[k].confidenceFor(*local) : std::min(least, parts[k].confidenceFor(*local));
        }
        return least;
    };
    reading.observation = TextObservation(text, box, confidence, std::move(bounds), std::move(sureness));
    return reading;
}

/// A finding across a break, with its part on each line.
struct Crossing
{
    Detection finding;
    QList<Segment> segments;
    QList<TextRange> parts; ///< What its box covers on each line of `segments`, in that line's text.
    QList<NormRect> boxes;  ///< The box of each part.
    qsizetype breaksInWords = 0;
    qsizetype strokesReadAsL = 0;

    qint64 length() const
    {
        qint64 sum = 0;
        for (const TextRange &part : parts)
            sum += part.length;
        return sum;
    }
    /// The lines on which the other crossing's part is nearly all of this one's, or
    /// nothing where they meet on a line without that.
    std::optional<QList<qsizetype>> filledBy(const Crossing &other) const
    {
        QList<qsizetype> filled;
        for (qsizetype b = 0; b < other.parts.size(); ++b) {
            const auto mine = std::find_if(segments.cbegin(), segments.cend(),
                                           [&](const Segment &s) { return s.line == other.segments[b].line; });
            if (mine == segments.cend())
                continue;
            const TextRange &part = parts[mine - segments.cbegin()];
            if (!overlapping(part, other.parts[b]) || other.parts[b].length < filledShare * part.length)
                return std::nullopt;
            filled.append(mine->line);
        }
        return filled;
    }
    bool overlaps(const Crossing &other) const
    {
        for (qsizetype a = 0; a < parts.size(); ++a) {
            for (qsizetype b = 0; b < other.parts.size(); ++b) {
                if (segments[a].line == other.segments[b].line && overlapping(parts[a], other.parts[b]))
                    return true;
            }
        }
        return false;
    }
};

// Whether a text is a name put before a value: letters, "_" and "-", and perhaps the
// "=" or ":" after them ("Bearer", "token:", "customer=").
bool isName(QStringView text)
{
    if (text.endsWith(u'=') || text.endsWith(u':'))
        text.chop(1);
    else if (text.endsWith(u'-') || text.endsWith(u'_'))
        return false;
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetter() || c == u'_' || c == u'-'; });
}

// Whether the part of a crossing on its k-th line is joined to the parts beside it at a
// space, as a word of its own.
bool joinedAtSpaces(const Crossing &crossing, qsizetype k)
{
    const auto spacedAfter = [&crossing](qsizetype at) {
        return crossing.segments[at + 1].offset > crossing.segments[at].offset + crossing.segments[at].length;
    };
    return (k == 0 || spacedAfter(k - 1)) && (k + 1 == crossing.parts.size() || spacedAfter(k));
}

// Whether the parts of a crossing on every line but those given are names put before
// a value, not part of it. A name is a setting's, before its "=" or ":", or a word of
// its own: letters joined to the value without a space are the value's beginning (a
// token's first line, "ghp_wca", over the rest that a rule for random-looking text
// finds alone).
bool onlyWordsBeside(const Crossing &crossing, const QList<TextObservation> &lines, const QList<qsizetype> &valueLines)
{
    for (qsizetype k = 0; k < crossing.parts.size(); ++k) {
        if (valueLines.contains(crossing.segments[k].line))
            continue;
        const TextRange &part = crossing.parts[k];
        const QStringView text = QStringView(lines[crossing.segments[k].line].text()).mid(part.location, part.length);
        const bool setting = text.endsWith(u'=') || text.endsWith(u':');
        if (!isName(text) || !(setting || joinedAtSpaces(crossing, k)))
            return false;
    }
    return true;
}

// Whether the last part of a crossing is the name of a setting: "=" or ":" follows it on
// its line ("...@example.com" over "customer=customer_..." is an address and a setting,
// not one address).
bool endsBeforeASetting(const Crossing &crossing, const QList<TextObservation> &lines)
{
    const QString &text = lines[crossing.segments.last().line].text();
    const qsizetype after = crossing.parts.last().end();
    return after < text.size() && (text[after] == u'=' || text[after] == u':');
}

// Whether a finding across a break takes in every finding of a line alone that it
// overlaps, and is more than a name put before a finding of another rule that fills
// its part on the other line ("Bearer" before a JWT that stands whole on the next line).
bool takesInWhatItMeets(const Crossing &crossing, const QList<TextObservation> &lines,
                        const QList<QList<Detection>> &lineFindings)
{
    QList<qsizetype> filledByOthers;
    for (qsizetype k = 0; k < crossing.parts.size(); ++k) {
        qint64 longestOther = 0;
        for (const Detection &alone : lineFindings[crossing.segments[k].line]) {
            if (!alone.matchedRange || !overlapping(*alone.matchedRange, crossing.parts[k]))
                continue;
            if (!within(*alone.matchedRange, crossing.parts[k]))
                return false;
            if (alone.label != crossing.finding.label)
                longestOther = std::max<qint64>(longestOther, alone.matchedRange->length);
        }
        if (longestOther >= filledShare * crossing.parts[k].length)
            filledByOthers.append(crossing.segments[k].line);
    }
    return filledByOthers.isEmpty() || !onlyWordsBeside(crossing, lines, filledByOthers);
}

// Whether a line begins with the name of a setting and its "=" or ":".
bool beginsWithASetting(const QString &text)
{
    qsizetype k = 0;
    while (k < text.size() && (text[k].isLetterOrNumber() || text[k] == u'_' || text[k] == u'.' || text[k] == u'-'))
        ++k;
    return k > 0 && k < text.size() && (text[k] == u'=' || text[k] == u':');
}

// The end of a token's run on the lines below the first line of its finding, past where
// the finding's box ends (`end`): where the run stops there at a character no token
// holds, which the recogniser made of one of its glyphs ("¢" for a "c") since a token's
// character follows it, it runs on to the end of its word, and on into the next line
// where the break falls inside the word, but not into a line with a setting's name of
// its own. Punctuation after a value (a quote and a comma) ends it.
qsizetype runOnBelow(const JoinedReading &reading, const QList<TextObservation> &lines, QList<Segment>::const_iterator first,
                     qsizetype end)
{
    const QString &text = reading.observation.text();
    const auto goesOn = [&text](qsizetype k) {
        return !text[k].isSpace() && (isTokenCharacter(text[k]) || (k + 1 < text.size() && isTokenCharacter(text[k + 1])));
    };
    if (end >= text.size() || isTokenCharacter(text[end]) || !goesOn(end))
        return end;
    for (auto segment = first; segment != reading.segments.cend(); ++segment) {
        const qsizetype segmentEnd = segment->offset + segment->length;
        if (end < segment->offset || end >= segmentEnd || segment == first)
            continue;
        if (end == segment->offset && beginsWithASetting(lines[segment->line].text()))
            break;
        while (end < segmentEnd && goesOn(end))
            ++end;
        if (end < segmentEnd)
            break;
    }
    return end;
}

// What a finding's box covers of a joined reading: beyond its match, the rest of a
// token's run (the end of a token that its rule stops short of at a misread character,
// wrapped onto the next lines: its rule's run, then the rest of its word on the lines
// below), but only on from the line its match begins on, and onto no line with a
// setting's name of its own.
TextRange coveredLines(const JoinedReading &reading, const QList<TextObservation> &lines, const TextRange &matched,
                       const TextRange &covered)
{
    const auto segmentAt = [&reading](qsizetype at) {
        return std::find_if(reading.segments.cbegin(), reading.segments.cend(),
                            [at](const Segment &s) { return at >= s.offset && at < s.offset + s.length; });
    };
    const auto matchedFirst = segmentAt(matched.location);
    const auto matchedLast = segmentAt(matched.end() - 1);
    if (segmentAt(covered.location) != matchedFirst || matchedLast == reading.segments.cend())
        return matched;
    for (auto segment = matchedLast + 1; segment != reading.segments.cend() && segment->offset < covered.end(); ++segment) {
        if (beginsWithASetting(lines[segment->line].text()))
            return matched;
    }
    return TextRange{covered.location, runOnBelow(reading, lines, matchedFirst, covered.end()) - covered.location};
}

// The box of each part of a crossing: as the callback gave them for the finding's box,
// or, where its token runs on past that box on a line below (or no answer was kept),
// the boxes of its parts, which then make the finding's box.
void boxParts(Crossing &crossing, const std::optional<Answer> &answer, bool runsOnPastItsBox, const QList<TextObservation> &lines)
{
    if (answer && answer->parts.size() == crossing.parts.size() && !runsOnPastItsBox) {
        crossing.boxes = answer->parts;
        return;
    }
    for (qsizetype k = 0; k < crossing.parts.size(); ++k)
        crossing.boxes.append(lines[crossing.segments[k].line].boundsFor(crossing.parts[k]).bounds);
    if (runsOnPastItsBox)
        crossing.finding.normalizedBounds = unitedBoxes(crossing.boxes);
}

// Whether a stroke the reading takes for an "l" follows a value that its line holds
// whole: the stroke ends that value there (a rule between fields, a pipe).
bool strokeAfterAValue(const JoinedReading &reading, const QList<TextObservation> &lines, const QList<QList<Detection>> &lineFindings)
{
    return std::any_of(reading.endingInSmallL.cbegin(), reading.endingInSmallL.cend(), [&](qsizetype line) {
        return std::any_of(lineFindings[line].cbegin(), lineFindings[line].cend(), [&](const Detection &alone) {
            return alone.matchedRange && alone.matchedRange->end() == lines[line].text().size() - 1;
        });
    });
}

// The findings of a joined reading that run from its first line to its last and take
// in what they meet.
QList<Crossing> crossings(const QList<TextObservation> &lines, const JoinedReading &reading,
                          const QList<QList<Detection>> &lineFindings, const TextFindings &findingsOf)
{
    QList<Crossing> result;
    if (strokeAfterAValue(reading, lines, lineFindings))
        return result;
    for (const Detection &finding : findingsOf(reading.observation)) {
        if (!finding.matchedRange)
            continue;
        // What its box covers: the range the callback answered for it (a token's whole
        // run, where its rule boxes that), else its match.
        const std::optional<Answer> answer = reading.answers->answerFor(finding.normalizedBounds, *finding.matchedRange);
        const TextRange boxed = answer ? answer->range : *finding.matchedRange;
        const TextRange covered = coveredLines(reading, lines, *finding.matchedRange, boxed);
        Crossing crossing{finding, {}, {}, {}, reading.breaksInWords, reading.endingInSmallL.size()};
        for (const Segment &segment : reading.segments) {
            if (const auto part = overlap(covered, segment)) {
                crossing.segments.append(segment);
                crossing.parts.append(*part);
            }
        }
        if (crossing.segments.size() != reading.segments.size() || endsBeforeASetting(crossing, lines)
            || !takesInWhatItMeets(crossing, lines, lineFindings))
            continue;
        boxParts(crossing, answer, covered.end() > boxed.end(), lines);
        result.append(std::move(crossing));
    }
    return result;
}

// Whether one box around all the parts would hide text of their lines that no part
// covers: the rest of a wide line before the value or after it.
bool hidesOtherText(const Crossing &crossing, const QList<TextObservation> &lines, const NormRect &all)
{
    for (qsizetype k = 0; k < crossing.parts.size(); ++k) {
        const TextObservation &line = lines[crossing.segments[k].line];
        const TextRange &part = crossing.parts[k];
        const QList<TextRange> others{{0, part.location}, {part.end(), line.text().size() - part.end()}};
        for (const TextRange &other : others) {
            const std::optional<NormRect> text =
                other.length > 0 && line.boundsResolver() ? line.boundsResolver()(other) : std::nullopt;
            if (!text)
                continue;
            const double hidden = text->intersected(all).area() - text->intersected(crossing.boxes[k]).area();
            if (hidden > hiddenShare * text->area())
                return true;
        }
    }
    return false;
}

// One finding boxed around all its parts, or, where that box would hide other text,
// one finding per part.
QList<Detection> findingsOfCrossing(const Crossing &crossing, const QList<TextObservation> &lines)
{
    const NormRect all = unitedBoxes(crossing.boxes);
    if (!hidesOtherText(crossing, lines, all))
        return {crossing.finding};
    QList<Detection> parts;
    for (qsizetype k = 0; k < crossing.boxes.size(); ++k) {
        Detection part = crossing.finding;
        part.id = QUuid::createUuid();
        part.normalizedBounds = crossing.boxes[k];
        part.matchedRange = crossing.parts[k];
        parts.append(part);
    }
    return parts;
}

} // namespace

QList<Detection> withWrappedValues(const QList<TextObservation> &lines, QList<QList<Detection>> lineFindings,
                                   const TextFindings &findingsOf)
{
    QList<Crossing> found;
    for (const WrapChain &chain : wrapChains(lines)) {
        for (const WrapJoins &join : chain.joins)
            found.append(crossings(lines, joined(lines, chain.lines, join), lineFindings, findingsOf));
    }

    // A crossing that one of another rule fills wherever they meet, and that reaches
    // further only over a name ("Bearer" before a JWT wrapped over the next two
    // lines), is that name beside a value: the other one stands.
    QList<bool> besideAValue(found.size(), false);
    for (qsizetype a = 0; a < found.size(); ++a) {
        besideAValue[a] = std::any_of(found.cbegin(), found.cend(), [&](const Crossing &other) {
            if (other.finding.label == found[a].finding.label)
                return false;
            const auto filled = found[a].filledBy(other);
            return filled && !filled->isEmpty() && filled->size() < found[a].parts.size()
                && onlyWordsBeside(found[a], lines, *filled);
        });
    }
    for (qsizetype a = found.size() - 1; a >= 0; --a) {
        if (besideAValue[a])
            found.removeAt(a);
    }

    // The longest reading of a value wins, read with the fewest words joined and the
    // fewest strokes taken for an "l".
    std::stable_sort(found.begin(), found.end(), [](const Crossing &a, const Crossing &b) {
        if (a.length() != b.length())
            return a.length() > b.length();
        if (a.breaksInWords != b.breaksInWords)
            return a.breaksInWords < b.breaksInWords;
        return a.strokesReadAsL < b.strokesReadAsL;
    });
    QList<Crossing> kept;
    for (const Crossing &crossing : std::as_const(found)) {
        if (std::none_of(kept.cbegin(), kept.cend(), [&](const Crossing &other) { return crossing.overlaps(other); }))
            kept.append(crossing);
    }

    QList<QList<Detection>> startingOn(lines.size());
    for (const Crossing &crossing : std::as_const(kept)) {
        for (qsizetype k = 0; k < crossing.parts.size(); ++k) {
            lineFindings[crossing.segments[k].line].removeIf([&](const Detection &alone) {
                return alone.matchedRange && within(*alone.matchedRange, crossing.parts[k]);
            });
        }
        startingOn[crossing.segments.first().line].append(findingsOfCrossing(crossing, lines));
    }
    QList<Detection> result;
    for (qsizetype line = 0; line < lines.size(); ++line)
        result.append(lineFindings[line] + startingOn[line]);
    return result;
}

} // namespace velmora
