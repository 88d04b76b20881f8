#include "app/kit/symbol_icon.h"

#include <QDir>
#include <QHash>
#include <QPainter>

static void initVelmoraResources()
{
    Q_INIT_RESOURCE(velmora);
}

namespace velmora {

namespace {

// Symbol name → Adwaita icon name, or ":/symbols/NAME.svg" for Velmora's own drawings.
const QHash<QString, QString> &symbolTable()
{
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t{
            {"arrow.counterclockwise", "document-revert-symbolic"},
            {"arrow.down.right.and.arrow.up.left", "zoom-fit-best-symbolic"},
            {"arrow.uturn.backward", "edit-undo-symbolic"},
            {"arrow.uturn.forward", "edit-redo-symbolic"},
            {"bell.badge", "preferences-system-notifications-symbolic"},
            {"camera.viewfinder", "applets-screenshooter-symbolic"},
            {"checkmark.circle", "selection-mode-symbolic"},
            {"checkmark.seal", "emblem-default-symbolic"},
            {"checkmark.shield", "security-high-symbolic"},
            {"checkmark.square", "checkbox-checked-symbolic"},
            {"chevron.down", "go-down-symbolic"},
            {"chevron.up", "go-up-symbolic"},
            {"clock", "preferences-system-time-symbolic"},
            {"creditcard", "auth-smartcard-symbolic"},
            {"desktopcomputer", "user-desktop-symbolic"},
            {"display", "video-display-symbolic"},
            {"doc.on.clipboard", "edit-paste-symbolic"},
            {"doc.on.doc", "edit-copy-symbolic"},
            {"envelope", "mail-unread-symbolic"},
            {"exclamationmark.circle", "emblem-important-symbolic"},
            {"exclamationmark.triangle", "dialog-warning-symbolic"},
            {"eye", "view-reveal-symbolic"},
            {"eye.fill", "view-reveal-symbolic"},
            {"eye.slash", "view-conceal-symbolic"},
            {"folder", "document-open-symbolic"},
            {"folder.badge.plus", "folder-new-symbolic"},
            {"gearshape", "emblem-system-symbolic"},
            {"key", "dialog-password-symbolic"},
            {"keyboard", "input-keyboard-symbolic"},
            {"lock.shield", "changes-prevent-symbolic"},
            {"minus.magnifyingglass", "zoom-out-symbolic"},
            {"network", "network-wired-symbolic"},
            {"pause.circle", "media-playback-pause-symbolic"},
            {"person.crop.rectangle", "auth-face-symbolic"},
            {"person.text.rectangle", "user-info-symbolic"},
            {"phone", "phone-symbolic"},
            {"photo", "image-x-generic-symbolic"},
            {"photo.on.rectangle", "insert-image-symbolic"},
            {"pin", "view-pin-symbolic"},
            {"play.circle", "media-playback-start-symbolic"},
            {"plus.magnifyingglass", "zoom-in-symbolic"},
            {"plus.rectangle", "list-add-symbolic"},
            {"shield.lefthalf.filled", "security-medium-symbolic"},
            {"square.and.arrow.down", "folder-download-symbolic"},
            {"square.and.arrow.up", "send-to-symbolic"},
            {"square.grid.2x2", "view-grid-symbolic"},
            {"text.badge.checkmark", "tools-check-spelling-symbolic"},
            {"trash", "user-trash-symbolic"},
            {"wrench.and.screwdriver", "preferences-system-symbolic"},
            {"xmark.circle", "process-stop-symbolic"},
        };
        for (const char *own : {"checklist.checked", "circle.fill", "doc.viewfinder", "exclamationmark.bubble",
                                "hourglass", "line.3.horizontal.decrease.circle", "macwindow",
                                "qrcode.viewfinder", "questionmark.circle", "rectangle.dashed", "slider.horizontal.3", "sparkles",
                                "square.and.arrow.up.on.square", "viewfinder"}) {
            const QString name = QString::fromLatin1(own);
            t.insert(name, QStringLiteral(":/symbols/") + QString(name).replace(QLatin1Char('.'), QLatin1Char('-'))
                               + QStringLiteral(".svg"));
        }
        return t;
    }();
    return table;
}

} // namespace

void SymbolIcon::setUpTheme()
{
    initVelmoraResources();
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(QStringLiteral("/usr/share/icons"))) {
        paths.append(QStringLiteral("/usr/share/icons"));
        QIcon::setThemeSearchPaths(paths);
    }
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // A desktop theme that lacks NAME-symbolic but has NAME would otherwise win with a
    // different, sometimes coloured, drawing that the tint cannot flatten.
    QIcon::setThemeName(QStringLiteral("Adwaita"));
}

QIcon SymbolIcon::icon(const QString &symbolName)
{
    const QString source = symbolTable().value(symbolName);
    if (source.isEmpty())
        return {};
    if (source.startsWith(QLatin1Char(':'))) {
        initVelmoraResources();
        return QIcon(source);
    }
    return QIcon::fromTheme(source);
}

QPixmap SymbolIcon::pixmap(const QString &symbolName, int edge, const QColor &color, qreal devicePixelRatio)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(symbolName).arg(edge).arg(color.name(QColor::HexArgb)).arg(devicePixelRatio);
    if (const auto it = cache.constFind(key); it != cache.constEnd())
        return *it;
    const int pixels = qMax(1, qRound(edge * devicePixelRatio));
    QPixmap tinted(pixels, pixels);
    tinted.fill(Qt::transparent);
    {
        QPainter painter(&tinted);
        icon(symbolName).paint(&painter, QRect(0, 0, pixels, pixels));
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(tinted.rect(), color);
    }
    tinted.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, tinted);
    return tinted;
}

} // namespace velmora
