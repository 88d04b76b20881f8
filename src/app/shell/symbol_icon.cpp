#include "app/shell/symbol_icon.h"

#include "app/shell/system_colors.h"

#include <QHash>
#include <QImage>
#include <QLoggingCategory>
#include <QPainter>

#include <cmath>

namespace velmora {

Q_LOGGING_CATEGORY(lcSymbols, "com.orlwick.kavri.symbols")

namespace {

struct SymbolSource
{
    const char *symbolName;
    const char *source; ///< A theme icon name, or a resource path starting with ":/".
};

constexpr SymbolSource kSymbols[] = {
    {"arrow.down.right.and.arrow.up.left", "zoom-fit-best-symbolic"},
    {"minus.magnifyingglass", "zoom-out-symbolic"},
    {"plus.magnifyingglass", "zoom-in-symbolic"},
};

constexpr double kDisabledOpacity = 0.45;

QIcon loadSymbol(const QString &source)
{
    return source.startsWith(QLatin1String(":/")) ? QIcon(source) : QIcon::fromTheme(source);
}

} // namespace

void SymbolIcon::installIconTheme()
{
    const QString systemIcons = QStringLiteral("/usr/share/icons");
    QStringList paths = QIcon::themeSearchPaths();
    if (!paths.contains(systemIcons)) {
        paths.append(systemIcons);
        QIcon::setThemeSearchPaths(paths);
    }
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    QIcon::setThemeName(QStringLiteral("Adwaita"));
}

QString SymbolIcon::source(const QString &symbolName)
{
    for (const SymbolSource &symbol : kSymbols) {
        if (symbolName == QLatin1String(symbol.symbolName))
            return QString::fromLatin1(symbol.source);
    }
    return {};
}

QPixmap SymbolIcon::tinted(const QString &symbolName, int edge, const QColor &color, qreal devicePixelRatio)
{
    static QHash<QString, QPixmap> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(symbolName).arg(edge).arg(color.name(QColor::HexArgb)).arg(devicePixelRatio);
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;

    const QString from = source(symbolName);
    const QIcon icon = loadSymbol(from);
    if (from.isEmpty() || icon.isNull())
        qCWarning(lcSymbols) << "No drawing for symbol" << symbolName << from;
    const int side = int(std::ceil(edge * devicePixelRatio));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        icon.paint(&painter, image.rect());
        // The drawing gives the shape; the colour is ours.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    cache.insert(key, pixmap);
    return pixmap;
}

QIcon SymbolIcon::icon(const QString &symbolName, int edge, const QColor &color, qreal devicePixelRatio)
{
    QIcon icon;
    icon.addPixmap(tinted(symbolName, edge, color, devicePixelRatio), QIcon::Normal);
    icon.addPixmap(tinted(symbolName, edge, SystemColors::withOpacity(color, kDisabledOpacity), devicePixelRatio),
                   QIcon::Disabled);
    return icon;
}

} // namespace velmora
