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

bool StoredSettings::contains(const QString &key) const
{
    return m_settings->contains(key);
}

QVariant StoredSettings::value(const QString &key, const QVariant &defaultValue) const
{
    return m_settings->value(key, defaultValue);
}

QString StoredSettings::string(const QString &key, const QString &defaultValue) const
{
    return m_settings->value(key, defaultValue).toString();
}

bool StoredSettings::boolean(const QString &key, bool defaultValue) const
{
    return m_settings->value(key, defaultValue).toBool();
}

QByteArray StoredSettings::data(const QString &key) const
{
    return m_settings->value(key).toByteArray();
}

void StoredSettings::setValue(const QString &key, const QVariant &value)
{
    m_settings->setValue(key, value);
    emit changed(key);
}

void StoredSettings::remove(const QString &key)
{
    m_settings->remove(key);
    emit changed(key);
}

bool StoredSettings::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace velmora
