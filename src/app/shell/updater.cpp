#include "app/shell/updater.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#ifndef VELMORA_UPDATE_FEED_URL
#define VELMORA_UPDATE_FEED_URL ""
#endif

namespace velmora {

namespace {
bool isUITestMode()
{
    return qEnvironmentVariable("VELMORA_UI_TEST_MODE") == QLatin1String("1");
}
} // namespace

Updater::Updater(QUrl feedURL, QVersionNumber currentVersion, QObject *parent)
    : QObject(parent), m_feedURL(std::move(feedURL)), m_currentVersion(std::move(currentVersion))
{
}

Updater *Updater::forThisBuild(QObject *parent)
{
    return new Updater(QUrl(QStringLiteral(VELMORA_UPDATE_FEED_URL)),
                       QVersionNumber::fromString(QStringLiteral(VELMORA_VERSION)), parent);
}

bool Updater::canCheckForUpdates() const
{
    return m_feedURL.isValid() && !m_feedURL.isEmpty() && !isUITestMode();
}

void Updater::checkForUpdates()
{
    if (!canCheckForUpdates())
        return;
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkReply *reply = m_network->get(QNetworkRequest(m_feedURL));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            emit checkFinished({false, tr("Velmora could not check for updates. Try again later."), {}});
            return;
        }
        emit checkFinished(evaluateFeed(reply->readAll(), m_currentVersion));
    });
}

UpdateCheckResult Updater::evaluateFeed(const QByteArray &feed, const QVersionNumber &currentVersion)
{
    const QJsonObject object = QJsonDocument::fromJson(feed).object();
    const QVersionNumber latest = QVersionNumber::fromString(object.value(QStringLiteral("version")).toString());
    const QUrl download(object.value(QStringLiteral("downloadURL")).toString());
    if (latest.isNull())
        return {false, tr("Velmora could not check for updates. Try again later."), {}};
    if (latest <= currentVersion)
        return {true, tr("Velmora %1 is up to date.").arg(currentVersion.toString()), {}};
    return {true, tr("Velmora %1 is available.").arg(latest.toString()), download};
}

} // namespace velmora
