#include "core/settings/stored_settings.h"

namespace velmora {

StoredSettings::StoredSettings(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings))
{
}

std::unique_ptr<StoredSettings> StoredSettings::atIniFile(const QString &path, QObject *parent)
{
    return std::make_unique<StoredSettings>(std::make_unique<QSettings>(path, QSettings::IniFormat), parent);
}

bool StoredSettings::contains(const SettingDeclaration &setting) const
{
    return m_settings->contains(settingKey(setting));
}

QString StoredSettings::value(const TextSetting &setting) const
{
    return m_settings->value(setting.key, QString(setting.defaultValue)).toString();
}

bool StoredSettings::value(const FlagSetting &setting) const
{
    return m_settings->value(setting.key, setting.defaultValue).toBool();
}

QByteArray StoredSettings::value(const DataSetting &setting) const
{
    return m_settings->value(setting.key).toByteArray();
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
    const QLatin1StringView key = settingKey(setting);
    m_settings->remove(key);
    emit changed(key);
}

bool StoredSettings::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

void StoredSettings::write(QLatin1StringView key, const QVariant &value)
{
    m_settings->setValue(key, value);
    emit changed(key);
}

} // namespace velmora
