#pragma once

#include <QByteArray>
#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <memory>

namespace velmora {

// The one reader and writer of Velmora's stored settings. QSettings has no change
// signal, so every write goes through here and announces the key it changed; open
// windows and controllers listen to `changed` instead of polling. The application
// gives it the user's QSettings; each test an INI file of its own.
class StoredSettings : public QObject
{
    Q_OBJECT
public:
    explicit StoredSettings(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    /// Over an INI file at `path` (created on first write).
    static std::unique_ptr<StoredSettings> atIniFile(const QString &path, QObject *parent = nullptr);

    bool contains(const QString &key) const;
    QVariant value(const QString &key, const QVariant &defaultValue = {}) const;
    QString string(const QString &key, const QString &defaultValue = {}) const;
    bool boolean(const QString &key, bool defaultValue = false) const;
    QByteArray data(const QString &key) const;

    void setValue(const QString &key, const QVariant &value);
    void remove(const QString &key);
    /// Writes pending changes to storage; false when the store could not be written.
    bool sync();

signals:
    void changed(const QString &key);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace velmora
