#pragma once

#include "core/settings/settings_table.h"

#include <QByteArray>
#include <QObject>
#include <QSettings>
#include <QString>

#include <memory>

namespace velmora {

// The one reader and writer of Velmora's stored settings. QSettings has no change
// signal, so every write goes through here and announces the key it changed; open
// windows and controllers listen to `changed` instead of polling. Only settings
// declared in the settings table are read or written, each with its declared type
// and default. The application gives it the user's QSettings; each test an INI file
// of its own.
class StoredSettings : public QObject
{
    Q_OBJECT
public:
    explicit StoredSettings(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    /// Saves what is not yet saved, or gives it up when it cannot be written.
    ~StoredSettings() override;
    /// Over an INI file at `path` (created on first write).
    static std::unique_ptr<StoredSettings> atIniFile(const QString &path, QObject *parent = nullptr);

    /// Whether the setting's key is present (absent, it reads as its default).
    bool contains(const SettingDeclaration &setting) const;

    QString value(const TextSetting &setting) const;
    bool value(const FlagSetting &setting) const;
    QByteArray value(const DataSetting &setting) const;

    void setValue(const TextSetting &setting, const QString &value);
    void setValue(const FlagSetting &setting, bool value);
    void setValue(const DataSetting &setting, const QByteArray &value);
    /// Removes the key, so that the setting reads as its default again.
    void remove(const SettingDeclaration &setting);
    /// Writes pending changes to storage, whole or not at all (see saveSettingsFile);
    /// false when the store could not be written, and the changes stay pending.
    /// QSettings' own save a moment after a change comes here too.
    bool sync();

signals:
    void changed(const QString &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void write(QLatin1StringView key, const QVariant &value);
    void saveAgainAfterAFailure();

    std::unique_ptr<QSettings> m_settings;
    bool m_isSaveFailing = false; ///< The last save could not be written.
};

} // namespace velmora
