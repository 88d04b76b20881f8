#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

namespace velmora::test {

// Takes the place of the desktop for one URL scheme while it lives: what the
// application hands to the desktop to open is collected here instead.
class UrlSink : public QObject
{
    Q_OBJECT
public:
    explicit UrlSink(const QString &scheme) : m_scheme(scheme)
    {
        QDesktopServices::setUrlHandler(m_scheme, this, "open");
    }
    ~UrlSink() override { QDesktopServices::unsetUrlHandler(m_scheme); }

    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }

private:
    QString m_scheme;
};

} // namespace velmora::test
