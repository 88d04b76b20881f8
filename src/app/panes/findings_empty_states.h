#pragma once

#include "app/kit/rounded_surface.h"
#include "app/review/review_model_enums.h"

class QLabel;

namespace velmora {

class SymbolView;

// The card that stands where the grouped findings would be: a titled symbol and one
// wrapping line under it, read as one element.
class FindingsPlaceholder : public RoundedSurface
{
    Q_OBJECT
public:
    explicit FindingsPlaceholder(QWidget *parent = nullptr);

    QString title() const;
    QString body() const;
    QString symbol() const;

protected:
    void present(const QString &symbol, const QString &title, const QString &body);

private:
    SymbolView *m_symbol = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_body = nullptr;
};

// Shown while the plan has no entries: checking, nothing found, or nothing open.
class EmptyDetectionState : public FindingsPlaceholder
{
    Q_OBJECT
public:
    explicit EmptyDetectionState(QWidget *parent = nullptr);
    /// A running scan wins over a loaded image.
    void setState(bool isChecking, bool hasImage);
};

// Shown when the plan has entries but the findings filter keeps none of them.
class EmptyFilterState : public FindingsPlaceholder
{
    Q_OBJECT
public:
    explicit EmptyFilterState(QWidget *parent = nullptr);
    void setFilter(FindingFilter filter);
};

} // namespace velmora
