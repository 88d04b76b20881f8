#include "app/kit/palette_tint.h"

#include "app/kit/look.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QWidget>

namespace velmora::look {

namespace {

// Re-applies the tints of one widget whenever the palette it inherits changes. The
// tinted colour is computed from the parent's palette, never from the widget's own,
// so re-applying it cannot drift.
class TintKeeper : public QObject
{
public:
    static constexpr const char *kName = "velmora-tint-keeper";

    explicit TintKeeper(QWidget *widget) : QObject(widget), m_widget(widget)
    {
        setObjectName(QLatin1StringView(kName));
        widget->installEventFilter(this);
    }

    void set(QPalette::ColorRole role, PaletteColor color)
    {
        m_tints.insert(role, std::move(color));
        apply();
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::PaletteChange:
        case QEvent::ParentChange:
        case QEvent::Polish:
            apply();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void apply()
    {
        if (m_applying)
            return;
        m_applying = true;
        const QPalette inherited = m_widget->parentWidget() ? m_widget->parentWidget()->palette()
                                                             : QApplication::palette(m_widget);
        QPalette palette = m_widget->palette();
        for (auto it = m_tints.cbegin(); it != m_tints.cend(); ++it) {
            const QColor color = it.value()(inherited);
            palette.setColor(QPalette::Active, it.key(), color);
            palette.setColor(QPalette::Inactive, it.key(), color);
            palette.setColor(QPalette::Disabled, it.key(), disabled(color));
        }
        m_widget->setPalette(palette);
        m_applying = false;
    }

    QWidget *m_widget;
    QHash<QPalette::ColorRole, PaletteColor> m_tints;
    bool m_applying = false;
};

TintKeeper *keeperOf(QWidget *widget)
{
    // The keeper has no meta-object of its own, so it is found by name.
    if (QObject *keeper = widget->findChild<QObject *>(QLatin1StringView(TintKeeper::kName), Qt::FindDirectChildrenOnly))
        return static_cast<TintKeeper *>(keeper);
    return new TintKeeper(widget);
}

} // namespace

void tint(QWidget *widget, QPalette::ColorRole role, PaletteColor color)
{
    keeperOf(widget)->set(role, std::move(color));
}

void tintText(QWidget *widget, PaletteColor color)
{
    tint(widget, QPalette::WindowText, color);
    tint(widget, QPalette::Text, std::move(color));
}

} // namespace velmora::look

namespace velmora {

QLabel *makeTextLabel(const QString &text, const QFont &font, PaletteColor color, bool wraps, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wraps);
    look::tintText(label, std::move(color));
    return label;
}

} // namespace velmora
