#pragma once

#include "core/support/raw_enum.h"

#include <QPushButton>

#include <optional>

namespace velmora {

/// How prominent a button is.
enum class VelmoraControlTone { primary, secondary, quiet, destructive };

// Velmora's button: the label in callout semibold on one line, with fill, stroke and
// text colour by tone, at reduced opacity while disabled. Icons are tinted like the text.
class VelmoraButton : public QPushButton
{
    Q_OBJECT
public:
    VelmoraButton(const QString &text, VelmoraControlTone tone, std::optional<int> minWidth = std::nullopt,
                  QWidget *parent = nullptr);

    /// A symbol name ("doc.on.doc") drawn before the label in the text colour.
    void setSymbol(const QString &symbolName);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Colors { QColor fill, stroke, text; };
    Colors colors() const;

    VelmoraControlTone m_tone;
    std::optional<int> m_minWidth;
    QString m_symbol;
};

/// A button with `symbol` before its title, named `identifier` (its object name).
VelmoraButton *makeVelmoraButton(const QString &title, const QString &symbol, VelmoraControlTone tone,
                                 std::optional<int> minWidth, const QString &identifier, QWidget *parent = nullptr);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraControlTone,
    {velmora::VelmoraControlTone::primary, "primary"}, {velmora::VelmoraControlTone::secondary, "secondary"},
    {velmora::VelmoraControlTone::quiet, "quiet"}, {velmora::VelmoraControlTone::destructive, "destructive"});
