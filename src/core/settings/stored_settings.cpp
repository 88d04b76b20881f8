#include "core/settings/stored_settings.h"


#include <utility>

namespace velmora {

StoredSettings::StoredSettings(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent)
    , m_path(settings->fileName())
    , m_format(settings->format())
    , m_values(ownSettingsValues(*settings))
    , m_fileValues(m_values)
    , m_writer([this](quint64 change, const SettingsSaveResult &result) { takeSaveResult(change, result); })
{
    for (const QString &key : settings->allKeys()) {
        if (!m_values.contains(key))
            m_systemValues.insert(key, settings->value(key));
    }
    removeSettingsLeftovers(m_path);
}

StoredSettings::~StoredSettings()
{
    sync();
}

std::unique_ptr<StoredSettings> StoredSettings::atIniFile(const QString &path, QObject *parent)
{
    return std::make_unique<StoredSettings>(std::make_unique<QSettings>(path, QSettings::IniFormat), parent);
}

bool StoredSettings::contains(const SettingDeclaration &setting) const
{
    const QString key = settingKey(setting);
    return m_values.contains(key) || m_systemValues.contains(key);
}

QString StoredSettings::value(const TextSetting &setting) const
{
    return stored(setting.key, QString(setting.defaultValue)).toString();
}

bool StoredSettings::value(const FlagSetting &setting) const
{
    return stored(setting.key, setting.defaultValue).toBool();
}

QByteArray StoredSettings::value(const DataSetting &setting) const
{
    return stored(setting.key, {}).toByteArray();
}

void StoredSettings::setValue(const TextSetting &setting, const QString &value)
{
    write(setting.key, value);
}

void StoredSettings::setValue(const FlagSetting &setting, bool value)
{
    write(setting.key, value);
}

void StoredSettings::setValue(const DataSetting &setting, const QByteArray &value)
{
    write(setting.key, value);
}

void StoredSettings::remove(const SettingDeclaration &setting)
{
    write(settingKey(setting), std::nullopt);
}

bool StoredSettings::sync()
{
    m_writer.finish();
    if (m_savedChanges != m_changes) {
        save();
        m_writer.finish();
    }
    return m_savedChanges == m_changes;
}

void StoredSettings::saveAgain()
{
    if (m_savedChanges != m_changes)
        save();
}

QVariant StoredSettings::stored(QLatin1StringView key, const QVariant &defaultValue) const
{
    const QString name = key;
    return m_values.value(name, m_systemValues.value(name, defaultValue));
}

void StoredSettings::write(QLatin1StringView key, std::optional<QVariant> value)
{
    if (value)
        m_values.insert(key, *value);
    else
        m_values.remove(key);
    ++m_changes;
    saveSoon();
    emit changed(key);
}

void StoredSettings::saveSoon()
{
    // One save after the writes made in a row: a writer that stores several settings at
    // once (a policy's fields) causes one save, of all of them.
    if (std::exchange(m_isSaveScheduled, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_isSaveScheduled = false;
            if (m_queuedChanges != m_changes)
                save();
        },
        Qt::QueuedConnection);
}

void StoredSettings::save()
{
    m_queuedChanges = m_changes;
    m_writer.save({m_path, m_format, m_values, m_fileValues}, m_changes);
}

void StoredSettings::takeSaveResult(quint64 change, const SettingsSaveResult &result)
{
    if (!result.failure) {
        m_savedChanges = change;
        m_fileValues = result.fileValues;
        takeOutsideChanges(result.outsideChanges);
    }
    if (m_saveFailure != result.failure) {
        m_saveFailure = result.failure;
        emit saveFailureChanged();
    }
}

void StoredSettings::takeOutsideChanges(const QMap<QString, OutsideSettingChange> &changes)
{
    QStringList taken;
    for (auto change = changes.cbegin(); change != changes.cend(); ++change) {
        if (!isSameSettingValue(settingValue(m_values, change.key()), change->held))
            continue;
        if (change->found)
            m_values.insert(change.key(), *change->found);
        else
            m_values.remove(change.key());
        taken.append(change.key());
    }
    for (const QString &key : std::as_const(taken))
        emit changed(key);
}

} // namespace velmora
