#include "core/settings/stored_settings.h"

#include "core/settings/settings_file_save.h"

#include <QCoreApplication>
#include <QEvent>

#include <utility>

namespace velmora {

StoredSettings::StoredSettings(std::unique_ptr<QSettings> settings, QObject *parent)
    : QObject(parent), m_settings(std::move(settings))
{
    m_settings->installEventFilter(this);
}

StoredSettings::~StoredSettings()
{
    saveSettingsFile(*m_settings, UnsavedChanges::drop);
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
    saveAgainAfterAFailure();
    emit changed(key);
}

bool StoredSettings::sync()
{
    m_isSaveFailing = !saveSettingsFile(*m_settings, UnsavedChanges::keep);
    return !m_isSaveFailing;
}

bool StoredSettings::eventFilter(QObject *watched, QEvent *event)
{
    // QSettings saves itself on the event loop after a change, unchecked: that save is
    // made here, checked, instead. After a failed one the next waits for a new change,
    // rather than trying again on every turn of the loop while the disk is full.
    if (watched == m_settings.get() && event->type() == QEvent::UpdateRequest) {
        if (!m_isSaveFailing)
            sync();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void StoredSettings::saveAgainAfterAFailure()
{
    // QSettings asks for its save once, until a save is made: the one it asked for after
    // the failed save was let go, so a new change asks again.
    if (std::exchange(m_isSaveFailing, false))
        QCoreApplication::postEvent(m_settings.get(), new QEvent(QEvent::UpdateRequest));
}

void StoredSettings::write(QLatin1StringView key, const QVariant &value)
{
    m_settings->setValue(key, value);
    saveAgainAfterAFailure();
    emit changed(key);
}

} // namespace velmora
