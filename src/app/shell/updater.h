#pragma once

#include <QObject>
#include <QUrl>
#include <QVersionNumber>

class QNetworkAccessManager;

namespace velmora {

/// What a check found.
struct UpdateCheckResult
{
    bool succeeded = false;
    QString message;  ///< One sentence for the user.
    QUrl downloadURL; ///< Set when a newer version exists.
};

// Velmora's own small updater. The feed address is fixed at build time; without one,
// or under VELMORA_UI_TEST_MODE, it never does anything and the menu offers no check.
// Checks only when the user asks. The feed is a JSON object
// {"version": "1.2.0", "downloadURL": "https://..."}.
class Updater : public QObject
{
    Q_OBJECT
public:
    explicit Updater(QUrl feedURL, QVersionNumber currentVersion, QObject *parent = nullptr);
    /// The updater of this build: the built-in feed address and version.
    static Updater *forThisBuild(QObject *parent);

    bool canCheckForUpdates() const;
    void checkForUpdates();
    /// Reads a feed document against the running version.
    static UpdateCheckResult evaluateFeed(const QByteArray &feed, const QVersionNumber &currentVersion);

signals:
    void checkFinished(const UpdateCheckResult &result);

private:
    QUrl m_feedURL;
    QVersionNumber m_currentVersion;
    QNetworkAccessManager *m_network = nullptr;
};

} // namespace velmora
