#pragma once

// Runs headless Chromium on a page of the OCR benchmark: its screenshot, and its DOM
// after its scripts ran (where the page reports the boxes of its text).

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace bench {

struct ChromiumShot
{
    QImage image; ///< null when Chromium failed
    QByteArray dom;

    /// The text of the page's `<pre id="ID">` element, where its script left the boxes.
    QByteArray reported(const char *id) const
    {
        const QByteArray open = QByteArray("<pre id=\"") + id + "\">";
        const qsizetype start = dom.indexOf(open);
        const qsizetype end = dom.indexOf("</pre>", start);
        return start < 0 || end < 0 ? QByteArray() : dom.mid(start + open.size(), end - start - open.size());
    }
};

inline bool chromiumAvailable() { return !QStandardPaths::findExecutable(QStringLiteral("chromium")).isEmpty(); }

/// The page drawn in a window of `window` CSS pixels at device scale `scale`.
inline ChromiumShot chromiumShot(const QString &html, const QSize &window, int scale)
{
    ChromiumShot shot;
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("page.html"));
    QFile file(page);
    if (!file.open(QIODevice::WriteOnly))
        return shot;
    file.write(html.toUtf8());
    file.close();
    const auto run = [&](const QStringList &arguments) {
        QProcess chromium;
        chromium.start(QStringLiteral("chromium"),
                       QStringList{QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                                   QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
                                   QStringLiteral("--disable-sync"), QStringLiteral("--no-first-run"), QStringLiteral("--hide-scrollbars"),
                                   QStringLiteral("--user-data-dir=") + dir.filePath(QStringLiteral("profile")),
                                   QStringLiteral("--force-device-scale-factor=%1").arg(scale),
                                   QStringLiteral("--window-size=%1,%2").arg(window.width()).arg(window.height())}
                           + arguments);
        chromium.waitForFinished(120000);
        return chromium.readAllStandardOutput();
    };
    const QString shotFile = dir.filePath(QStringLiteral("shot.png"));
    shot.dom = run({QStringLiteral("--screenshot=") + shotFile, QStringLiteral("--dump-dom"), QUrl::fromLocalFile(page).toString()});
    shot.image = QImage(shotFile).convertToFormat(QImage::Format_RGB32);
    return shot;
}

} // namespace bench
