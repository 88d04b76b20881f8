#pragma once

#include "review_commands_fixture.h"

#include "support/file_bytes.h"

#include <QTemporaryDir>

namespace velmora::test {

inline Detection email(double bottom, double confidence = 0.95)
{
    return findingOf(DetectionKind::email, QStringLiteral("Email"), bottom, confidence);
}

// The review fixture for copy, export and batch export: a folder to write into.
class OutputTest : public ReviewCommandsTest
{
protected:
    QTemporaryDir m_dir;
};

} // namespace velmora::test
