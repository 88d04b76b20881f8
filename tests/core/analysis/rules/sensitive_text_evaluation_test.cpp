#include "core/analysis/rules/sensitive_text_detector.h"

#include "support/synthetic_text_line.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Realistic lines from terminals, chats, configuration files and dashboards, each with
// the findings it must give under the default configuration, left to right.
struct EvaluationRow {
    std::string name;
    QString line;
    double confidence = 1.0;
    QStringList expected; ///< "label | action | matched text"
    /// Per expected finding, the part of the line its box spans: the matched text
    /// unless the row names a wider run, and whether it also spans the nearer half of the
    /// mark joined to that part before and after it.
    QStringList boxed;
    QList<bool> halfBefore;
    QList<bool> halfAfter;
};

QString describe(const QString &label, const QString &action, const QString &text)
{
    return label + QStringLiteral(" | ") + action + QStringLiteral(" | ") + text;
}

QList<EvaluationRow> loadRows()
{
    QFile file(QStringLiteral(VELMORA_TEST_DATA_DIR "/sensitive_text/evaluation.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<EvaluationRow> rows;
    for (const QJsonValue &value : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject object = value.toObject();
        EvaluationRow row{object.value(u"name").toString().toStdString(), object.value(u"line").toString(),
                          object.value(u"confidence").toDouble(1.0), {}, {}, {}, {}};
        for (const QJsonValue &finding : object.value(u"expected").toArray()) {
            const QJsonObject f = finding.toObject();
            row.expected.append(describe(f.value(u"label").toString(), f.value(u"action").toString(),
                                         f.value(u"text").toString()));
            row.boxed.append(f.value(u"boxed").toString(f.value(u"text").toString()));
            row.halfBefore.append(f.value(u"halfBefore").toBool(false));
            row.halfAfter.append(f.value(u"halfAfter").toBool(false));
        }
        rows.append(row);
    }
    return rows;
}

const QList<EvaluationRow> &rows()
{
    static const QList<EvaluationRow> loaded = loadRows();
    return loaded;
}

TEST(SensitiveTextEvaluationTest, TableIsThere)
{
    ASSERT_GE(rows().size(), 60);
    qsizetype silent = 0;
    for (const EvaluationRow &row : rows())
        silent += row.expected.isEmpty() ? 1 : 0;
    EXPECT_GE(silent, 15) << "the table must hold lines that give nothing";
}

class SensitiveTextEvaluation : public ::testing::TestWithParam<int> {};

TEST_P(SensitiveTextEvaluation, LineGivesExactlyItsFindings)
{
    const EvaluationRow &row = rows()[GetParam()];
    static const SensitiveTextDetector detector{CustomDetectionConfiguration()};
    const NormRect box{0.05, 0.3, 0.9, 0.03};
    const auto findings = detector.detect({velmora::test::monospaceLine(row.line, box, row.confidence)});
    QStringList actual;
    for (qsizetype i = 0; i < findings.size(); ++i) {
        const Detection &finding = findings[i];
        actual.append(describe(finding.label, rawValue(finding.suggestedAction), finding.matchedText.value_or(QString())));
        ASSERT_TRUE(finding.matchedRange);
        EXPECT_EQ(row.line.mid(finding.matchedRange->location, finding.matchedRange->length), finding.matchedText);
        EXPECT_EQ(finding.boundsPrecision, DetectionBoundsPrecision::tight);
        if (i >= row.boxed.size())
            continue;
        const QString &boxed = row.boxed[i];
        const qsizetype boxedStart = row.line.indexOf(boxed, std::max<qsizetype>(0, finding.matchedRange->end() - boxed.size()));
        ASSERT_GE(boxedStart, 0) << boxed.toStdString();
        const double cell = box.width / double(row.line.size());
        const double before = row.halfBefore[i] ? 0.5 : 0.0;
        const double after = row.halfAfter[i] ? 0.5 : 0.0;
        EXPECT_NEAR(finding.normalizedBounds.minX(), box.x + cell * (double(boxedStart) - before), 1e-9);
        EXPECT_NEAR(finding.normalizedBounds.width, cell * (double(boxed.size()) + before + after), 1e-9);
    }
    EXPECT_EQ(actual, row.expected) << "line: " << row.line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, SensitiveTextEvaluation, ::testing::Range(0, int(rows().size())),
    [](const auto &info) { return rows()[info.param].name; });

} // namespace
