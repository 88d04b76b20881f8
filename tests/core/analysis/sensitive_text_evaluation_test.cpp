#include "core/analysis/sensitive_text_detector.h"

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
                          object.value(u"confidence").toDouble(1.0), {}};
        for (const QJsonValue &finding : object.value(u"expected").toArray()) {
            const QJsonObject f = finding.toObject();
            row.expected.append(describe(f.value(u"label").toString(), f.value(u"action").toString(),
                                         f.value(u"text").toString()));
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
    for (const Detection &finding : findings) {
        actual.append(describe(finding.label, rawValue(finding.suggestedAction), finding.matchedText.value_or(QString())));
        ASSERT_TRUE(finding.matchedRange);
        EXPECT_EQ(row.line.mid(finding.matchedRange->location, finding.matchedRange->length), finding.matchedText);
        EXPECT_EQ(finding.boundsPrecision, DetectionBoundsPrecision::tight);
        const double cell = box.width / double(row.line.size());
        EXPECT_NEAR(finding.normalizedBounds.minX(), box.x + cell * double(finding.matchedRange->location), 1e-9);
        EXPECT_NEAR(finding.normalizedBounds.width, cell * double(finding.matchedRange->length), 1e-9);
    }
    EXPECT_EQ(actual, row.expected) << "line: " << row.line.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, SensitiveTextEvaluation, ::testing::Range(0, int(rows().size())),
    [](const auto &info) { return rows()[info.param].name; });

} // namespace
