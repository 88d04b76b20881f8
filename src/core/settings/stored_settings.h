#pragma once

#include "core/settings/settings_file_save.h"
#include "core/settings/settings_table.h"
#include "core/settings/settings_writer.h"

#include <QByteArray>
#include <QObject>
#include <QSettings>
#include <QString>

#include <memory>
#include <optional>

class QThreadPool;

namespace velmora {

// The one reader and writer of Velmora's stored settings. QSettings has no change
// signal, so every write goes through here and announces the key it changed; open
// windows and controllers listen to `changed` instead of polling. Only settings
// declared in the settings table are read or written, each with its declared type
// and default. The application gives it the user's QSettings; each test an INI file
// of its own.
//
// The file is read when the store is made; from then on the store holds the values, and
// the file is written on the settings' own writer thread, a moment after a change, so
// that the thread that changes a setting never waits for the disk. A save writes this
// process's own changes over the file as it is then: a change made to the file meanwhile
// (an editor, a dotfiles checkout) stays under every other key, and the store takes it
// up, announcing its key. A save that fails leaves the file as it was and the change held
// here; the next change saves it again, and so do saveAgain() and the store's end.
class StoredSettings : public QObject
{
    Q_OBJECT
public:
    /// Takes over `settings` only for what its file holds (and what system-wide files
    /// add); removes what saves killed part-way left beside the file.
    explicit StoredSettings(std::unique_ptr<QSettings> settings, QObject *parent = nullptr);
    /// Saves what is not yet saved and waits for it: nothing is lost at quit that the
    /// disk can take.
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
    /// Saves what is not yet saved, and waits until it is written, whole or not at all
    /// (see saveSettingsFile); false when it could not be, and the changes stay held.
    bool sync();
    /// Saves what an earlier save could not, without waiting (a retry while saves fail).
    void saveAgain();

    /// Why the last save failed, while saves fail; nothing once one has landed.
    std::optional<SettingsSaveFailure> saveFailure() const { return m_saveFailure; }
    /// The thread the file is written on.
    QThreadPool &saveThread() { return m_writer.thread(); }

signals:
    void changed(const QString &key);
    /// Saves began to fail, failed for another reason, or landed again.
    void saveFailureChanged();

private:
    QVariant stored(QLatin1StringView key, const QVariant &defaultValue) const;
    void write(QLatin1StringView key, std::optional<QVariant> value);
    void saveSoon();
    void save();
    void takeSaveResult(quint64 change, const SettingsSaveResult &result);
    /// Takes up what someone else changed in the file, where this process has not changed
    /// the key since the save began.
    void takeOutsideChanges(const QMap<QString, OutsideSettingChange> &changes);

    QString m_path;
    QSettings::Format m_format;
    SettingsValues m_values; ///< What the file holds, with the changes not yet saved.
    SettingsValues m_fileValues; ///< What the file held when it was last read or saved.
    SettingsValues m_systemValues; ///< What system-wide files add under keys the file lacks.
    quint64 m_changes = 0; ///< Changes made so far.
    quint64 m_queuedChanges = 0; ///< Changes the last save asked for holds.
    quint64 m_savedChanges = 0; ///< Changes the file holds.
    bool m_isSaveScheduled = false;
    std::optional<SettingsSaveFailure> m_saveFailure;
    SettingsWriter m_writer;
};

} // namespace velmora
