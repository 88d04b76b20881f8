// Every JSON decoder that reads what a user or another program may have written: the
// portable settings file, the share history, the shortcut and category settings, the
// policy lock, the clipboard guard's configuration and the detection configuration
// with its learned rules. The first byte chooses the decoder, the rest is the
// document. Whatever decodes is encoded again and must decode to the same value.
#include "core/detection/custom_detection_configuration.h"
#include "core/history/safe_share_history_store.h"
#include "core/protection/capture_shortcut_settings.h"
#include "core/protection/clipboard_protection_configuration.h"
#include "core/settings/detection_settings.h"
#include "core/settings/policy_lock.h"
#include "core/settings/portable_settings.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace velmora;

namespace {

QJsonObject objectOf(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

// A decoded value that does not survive its own encoding is a fault as real as a crash.
void require(bool holds)
{
    if (!holds)
        std::abort();
}

void decodeWith(std::uint8_t decoder, const QByteArray &json)
{
    switch (decoder % 7) {
    case 0:
        if (const auto settings = VelmoraPortableSettings::decode(json))
            require(VelmoraPortableSettings::decode(settings->encoded()).has_value());
        break;
    case 1:
        if (const auto history = SafeShareHistoryStore::decode(json))
            require(SafeShareHistoryStore::decode(history->encoded()).has_value());
        break;
    case 2:
        if (const auto shortcuts = VelmoraCaptureShortcutSettings::decode(json))
            require(VelmoraCaptureShortcutSettings::decode(shortcuts->encode()) == shortcuts);
        break;
    case 3:
        (void)decodeDetectorCategoryPreferences(json);
        break;
    case 4:
        (void)PolicyLock::fromStoredData(json);
        break;
    case 5:
        if (const auto configuration = ClipboardProtectionConfiguration::fromJson(objectOf(json)))
            require(ClipboardProtectionConfiguration::fromJson(configuration->toJson()) == configuration);
        break;
    case 6:
        if (const auto configuration = CustomDetectionConfiguration::fromJson(objectOf(json)))
            require(CustomDetectionConfiguration::fromJson(configuration->toJson()) == configuration);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false\n*.warning=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    decodeWith(data[0], QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    return 0;
}
