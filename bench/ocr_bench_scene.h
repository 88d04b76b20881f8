#pragma once

// Screenshot-like test images for the OCR benchmark: UI text with planted sensitive
// values whose exact ink is known, rendered with Qt.

#include "planted_values.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QRandomGenerator>
#include <QString>

namespace bench {

enum class Theme { light, dark, grey, codePanel };

inline QString themeName(Theme theme)
{
    switch (theme) {
    case Theme::light: return QStringLiteral("light");
    case Theme::dark: return QStringLiteral("dark");
    case Theme::grey: return QStringLiteral("grey");
    case Theme::codePanel: return QStringLiteral("panel");
    }
    return {};
}

/// What a planted value is, which decides how it is scored.
enum class ValueKind { email, phone, card, ipv4, token, assignmentName };

/// A planted value: its text, and the pixels of its ink (coverage ≥ 20 %).
struct PlantedValue
{
    ValueKind kind;
    QString text;
    QString prefix;      ///< For tokens: the part that must be read exactly; random secrets have none.
    QList<QPoint> ink;
    bool monospace = false;
};

/// One drawn line: its full text and box, and the values planted in it.
struct SceneLine
{
    QString text;
    QRect box;
    QList<int> values; ///< Indexes into Scene::values.
};

struct Scene
{
    QImage image;
    QList<SceneLine> lines;
    QList<PlantedValue> values;
};

class SceneBuilder
{
public:
    SceneBuilder(Theme theme, int pixelSize, int scale, quint32 seed)
        : m_theme(theme), m_size(pixelSize), m_scale(scale), m_random(seed)
    {
    }

    Scene build()
    {
        const int width = 1500 * m_scale;
        const int lineStep = int(m_size * 1.9) * m_scale;
        const int height = lineStep * 24;
        m_scene.image = QImage(width, height, QImage::Format_RGB32);
        m_scene.image.fill(page());
        QPainter painter(&m_scene.image);
        painter.fillRect(QRect(0, 0, 190 * m_scale, height), sidebar());

        const QStringList menu{QStringLiteral("Overview"), QStringLiteral("Billing"), QStringLiteral("API keys"),
                               QStringLiteral("Members"), QStringLiteral("Audit log"), QStringLiteral("Settings")};
        for (int i = 0; i < menu.size(); ++i)
            draw(painter, sans(), text(), 16, lineStep * (i + 1), {{menu[i], {}}});

        int y = lineStep;
        const int x = 220;
        draw(painter, sans(true), text(), x, y, {{QStringLiteral("Project settings - production workspace"), {}}});
        y += lineStep;
        draw(painter, sans(), text(), x, y, {{QStringLiteral("Signed in as "), {}}, {email(), ValueKind::email}});
        y += lineStep;
        draw(painter, sans(), text(), x, y, {{QStringLiteral("Support line: "), {}}, {phone(), ValueKind::phone}});
        y += lineStep;
        draw(painter, sans(), text(), x, y,
             {{QStringLiteral("Card on file "), {}}, {card(), ValueKind::card}, {QStringLiteral(" exp 09/27"), {}}});
        y += lineStep;
        draw(painter, sans(), text(), x, y,
             {{QStringLiteral("Last login from "), {}}, {ipv4(), ValueKind::ipv4},
              {QStringLiteral(" two hours ago"), {}}});
        y += lineStep;
        draw(painter, sans(), text(), x, y,
             {{QStringLiteral("Personal access token: "), {}}, token(QStringLiteral("ghp_"), alnum(36))});
        y += lineStep;
        draw(painter, sans(), text(), x, y, {{QStringLiteral("Account "), {}}, token(QStringLiteral("acct_"), alnum(16))});
        y += lineStep;
        draw(painter, sans(), muted(), x, y,
             {{QStringLiteral("Rotate keys every 90 days and remove members who left the team."), {}}});

        // The code block: its own panel, monospace.
        y += lineStep / 2;
        const QRect panel(x - 12 * m_scale, y + lineStep / 3, 1240 * m_scale, lineStep * 9);
        painter.fillRect(panel, codeGround());
        y += lineStep;
        const QList<QPair<QString, QList<Piece>>> code{
            {QStringLiteral("export "), {assignment(QStringLiteral("AWS_ACCESS_KEY_ID")),
                                         token(QStringLiteral("AKIA"), upperAlnum(16))}},
            {QStringLiteral("export "), {assignment(QStringLiteral("GITHUB_TOKEN")), token(QStringLiteral("ghp_"), alnum(36))}},
            {QString(), {assignment(QStringLiteral("SLACK_BOT_TOKEN")),
                         token(QStringLiteral("xoxb-"), digits(11) + QLatin1Char('-') + digits(12) + QLatin1Char('-') + alnum(24))}},
            {QString(), {assignment(QStringLiteral("OPENAI_API_KEY")), token(QStringLiteral("sk-proj-"), alnum(40))}},
            {QString(), {assignment(QStringLiteral("DB_PASSWORD")), secret()}},
            {QString(), {assignment(QStringLiteral("SESSION_JWT")),
                         token(QStringLiteral("eyJ"), QStringLiteral("hbGciOiJIUzI1NiJ9.eyJ") + base64(28) + QLatin1Char('.') + base64(24))}},
            {QStringLiteral("# "), {{QStringLiteral("mirror at "), {}}, {ipv4(), ValueKind::ipv4},
                                     {QStringLiteral(", owner "), {}}, {email(), ValueKind::email}}},
        };
        for (const auto &[lead, pieces] : code) {
            y += lineStep;
            QList<Piece> all{{lead, {}}};
            all += pieces;
            draw(painter, mono(), codeText(), x, y, all);
        }
        y += lineStep * 2;
        draw(painter, sans(), text(), x, y, {{QStringLiteral("Backup secret "), {}}, secret(),
                                              {QStringLiteral(" (do not share)"), {}}});
        y += lineStep;
        draw(painter, sans(), text(), x, y, {{QStringLiteral("Billing contact "), {}}, {email(), ValueKind::email},
                                              {QStringLiteral(" or "), {}}, {phone(), ValueKind::phone}});
        y += lineStep;
        draw(painter, mono(), text(), x, y, {{QStringLiteral("Webhook key "), {}}, token(QStringLiteral("sk-proj-"), alnum(32))});
        y += lineStep;
        draw(painter, mono(), text(), x, y, {{QStringLiteral("Card "), {}}, {card(), ValueKind::card}});
        return std::move(m_scene);
    }

private:
    struct Piece
    {
        QString text;
        std::optional<ValueKind> kind;
        QString prefix = {};
    };

    QColor page() const
    {
        switch (m_theme) {
        case Theme::dark: return QColor(0x1e1e1e);
        case Theme::grey: return QColor(0xdcdcdc);
        default: return QColor(0xffffff);
        }
    }
    QColor sidebar() const { return m_theme == Theme::dark ? QColor(0x252526) : m_theme == Theme::grey ? QColor(0xc8c8c8) : QColor(0xf3f4f6); }
    QColor text() const { return m_theme == Theme::dark ? QColor(0xd4d4d4) : m_theme == Theme::grey ? QColor(0x3a3a3a) : QColor(0x1f2328); }
    QColor muted() const { return m_theme == Theme::dark ? QColor(0x9d9d9d) : QColor(0x656d76); }
    QColor codeGround() const
    {
        switch (m_theme) {
        case Theme::dark: return QColor(0x181818);
        case Theme::grey: return QColor(0xcfcfcf);
        case Theme::codePanel: return QColor(0x0d1117);
        default: return QColor(0xf6f8fa);
        }
    }
    QColor codeText() const { return m_theme == Theme::codePanel ? QColor(0xe6edf3) : text(); }

    QFont font(const QString &family, bool bold) const
    {
        QFont f(family);
        f.setPixelSize(m_size * m_scale);
        f.setBold(bold);
        return f;
    }
    QFont sans(bool bold = false) const { return font(QStringLiteral("DejaVu Sans"), bold); }
    QFont mono() const { return font(QStringLiteral("DejaVu Sans Mono"), false); }

    QString pick(const QString &alphabet, int count)
    {
        QString result;
        for (int i = 0; i < count; ++i)
            result += alphabet[m_random.bounded(int(alphabet.size()))];
        return result;
    }
    QString digits(int n) { return pick(QStringLiteral("0123456789"), n); }
    QString alnum(int n) { return pick(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"), n); }
    QString upperAlnum(int n) { return pick(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ234567"), n); }
    QString base64(int n) { return pick(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"), n); }

    QString email()
    {
        static const QStringList names{QStringLiteral("alice"), QStringLiteral("j.doe"), QStringLiteral("m.kowalski"),
                                       QStringLiteral("support"), QStringLiteral("devops"), QStringLiteral("li.wei")};
        static const QStringList domains{QStringLiteral("example.com"), QStringLiteral("acme-corp.io"),
                                         QStringLiteral("mail.example.org"), QStringLiteral("contoso.net")};
        return names[m_random.bounded(int(names.size()))] + digits(2) + QLatin1Char('@') + domains[m_random.bounded(int(domains.size()))];
    }
    QString phone()
    {
        switch (m_random.bounded(3)) {
        case 0: return QStringLiteral("+1 (%1) 555-%2").arg(digits(3), digits(4));
        case 1: return QStringLiteral("%1-555-%2").arg(digits(3), digits(4));
        default: return QStringLiteral("+44 20 %1 %2").arg(digits(4), digits(4));
        }
    }
    /// A card number in groups of four that passes the check digit, as a real card does.
    QString card()
    {
        const QString number = QStringLiteral("4%1%2%3%4").arg(digits(3), digits(4), digits(4), digits(3));
        digits(1); // the digit the check digit stands for, so that the values after it are as before
        const QString whole = number + cardCheckDigit(number);
        return QStringLiteral("%1 %2 %3 %4").arg(whole.mid(0, 4), whole.mid(4, 4), whole.mid(8, 4), whole.mid(12, 4));
    }
    QString ipv4()
    {
        return QStringLiteral("%1.%2.%3.%4").arg(10 + m_random.bounded(200)).arg(m_random.bounded(256))
            .arg(m_random.bounded(256)).arg(1 + m_random.bounded(254));
    }
    Piece token(const QString &prefix, const QString &rest) { return {prefix + rest, ValueKind::token, prefix}; }
    Piece secret()
    {
        return {alnum(32), ValueKind::token, QString()}; // no prefix to read exactly
    }
    Piece assignment(const QString &name) { return {name + QLatin1Char('='), ValueKind::assignmentName, name}; }

    void draw(QPainter &painter, const QFont &font, const QColor &colour, int x, int baseline, const QList<Piece> &pieces)
    {
        painter.setFont(font);
        painter.setPen(colour);
        const QFontMetricsF metrics(font);
        double cursor = x * m_scale;
        SceneLine line;
        for (const Piece &piece : pieces) {
            if (piece.text.isEmpty())
                continue;
            painter.drawText(QPointF(cursor, baseline), piece.text);
            if (piece.kind) {
                QString value = piece.text;
                if (*piece.kind == ValueKind::assignmentName)
                    value.chop(1); // the "=" is not part of the name
                line.values.append(int(m_scene.values.size()));
                m_scene.values.append({*piece.kind, value, piece.prefix, inkOf(font, value, cursor, baseline),
                                       font.family().contains(QStringLiteral("Mono"))});
            }
            line.text += piece.text;
            cursor += metrics.horizontalAdvance(piece.text);
        }
        line.box = QRectF(x * m_scale, baseline - metrics.ascent(), cursor - x * m_scale, metrics.height()).toAlignedRect();
        m_scene.lines.append(line);
    }

    QList<QPoint> inkOf(const QFont &font, const QString &value, double x, int baseline) const
    {
        QImage layer(m_scene.image.size(), QImage::Format_ARGB32_Premultiplied);
        layer.fill(Qt::transparent);
        QPainter painter(&layer);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPointF(x, baseline), value);
        painter.end();
        const QRect area = QRectF(x - 4, baseline - 2 * font.pixelSize(), QFontMetricsF(font).horizontalAdvance(value) + 8,
                                  3 * font.pixelSize()).toAlignedRect().intersected(layer.rect());
        QList<QPoint> ink;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const auto *row = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
            for (int px = area.left(); px <= area.right(); ++px) {
                if (qAlpha(row[px]) >= 51)
                    ink.append(QPoint(px, y));
            }
        }
        return ink;
    }

    Theme m_theme;
    int m_size;
    int m_scale;
    QRandomGenerator m_random;
    Scene m_scene;
};

} // namespace bench
