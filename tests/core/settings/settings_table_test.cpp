#include "core/settings/settings_table.h"
#include "core/settings/stored_settings.h"
#include "support/temp_settings.h"

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Table-driven over the settings table itself: every row it gains is covered.
class SettingsTableTest : public ::testing::TestWithParam<SettingDeclaration> {};

std::string declaredName(const ::testing::TestParamInfo<SettingDeclaration> &info)
{
    return settingKey(info.param).toString().toStdString();
}

// A value of the setting's type that is not its default.
struct NonDefault
{
    QString operator()(const TextSetting &setting) const
    {
        return QString(setting.defaultValue) + QStringLiteral("line one\nline \"two\" with ü and \\");
    }
    bool operator()(const FlagSetting &setting) const { return !setting.defaultValue; }
    QByteArray operator()(const DataSetting &) const { return QByteArrayLiteral("{\"a\":[1,\"\\u00fc\"]}"); }
};

TEST_P(SettingsTableTest, AnEmptyStoreReadsTheDefault)
{
    test::TempSettings store;
    std::visit(
        [&](const auto &setting) {
            using Setting = std::decay_t<decltype(setting)>;
            if constexpr (std::is_same_v<Setting, TextSetting>)
                EXPECT_EQ(store->value(setting), QString(setting.defaultValue));
            else if constexpr (std::is_same_v<Setting, FlagSetting>)
                EXPECT_EQ(store->value(setting), setting.defaultValue);
            else
                EXPECT_TRUE(store->value(setting).isEmpty());
        },
        GetParam());
    EXPECT_FALSE(store->contains(GetParam()));
}

TEST_P(SettingsTableTest, AWrittenValueKeepsItsTypeThroughTheFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.ini"));
    std::visit(
        [&](const auto &setting) {
            const auto written = NonDefault{}(setting);
            const auto store = StoredSettings::atIniFile(path);
            store->setValue(setting, written);
            ASSERT_TRUE(store->sync());
            // A second store over the same file: what the next start of the application reads.
            const auto reopened = StoredSettings::atIniFile(path);
            EXPECT_TRUE(reopened->contains(setting));
            EXPECT_EQ(reopened->value(setting), written);
        },
        GetParam());
}

INSTANTIATE_TEST_SUITE_P(Declared, SettingsTableTest, ::testing::ValuesIn(allSettings()), declaredName);

TEST(SettingsTableKeysTest, EveryKeyIsDeclaredOnce)
{
    QSet<QString> keys;
    for (const SettingDeclaration &setting : allSettings())
        keys.insert(settingKey(setting).toString());
    EXPECT_EQ(keys.size(), qsizetype(allSettings().size()));
}

} // namespace
