#pragma once

#include "support/file_bytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::test {

// A test with a temporary folder of its own to write files into.
class TempFolderTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_folder.filePath(name); }
    /// Writes `bytes` as the file `name` in the folder and returns its path.
    QString write(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(writeBytes(path(name), bytes));
        return path(name);
    }

private:
    QTemporaryDir m_folder;
};

} // namespace velmora::test
