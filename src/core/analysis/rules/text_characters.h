#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <initializer_list>

namespace velmora {

// A text seen as user-perceived characters (grapheme clusters), the unit in which the
// detector's heuristics count. Holds a copy of the text; the views it hands out stay
// valid while it lives.
class TextCharacters
{
public:
    explicit TextCharacters(const QString &text);

    qsizetype size() const { return m_boundaries.size() - 1; }
    QStringView at(qsizetype index) const;

    /// The number of characters equal to any of the given ones.
    qsizetype countOf(std::initializer_list<QStringView> characters) const;
    /// The number of characters that are a decimal digit of any script.
    qsizetype digitCount() const;
    /// The number of characters that begin with a code point of the Unicode letter property.
    qsizetype letterCount() const;
    /// The decimal values of the characters that are digits, in text order.
    QList<int> digitValues() const;

    /// The character's decimal digit value; -1 when it is no digit.
    static int digitValue(QStringView character);

    class const_iterator
    {
    public:
        const_iterator(const TextCharacters *owner, qsizetype index) : m_owner(owner), m_index(index) {}
        QStringView operator*() const { return m_owner->at(m_index); }
        const_iterator &operator++() { ++m_index; return *this; }
        bool operator==(const const_iterator &other) const { return m_index == other.m_index; }

    private:
        const TextCharacters *m_owner;
        qsizetype m_index;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    QString m_text;
    QList<qsizetype> m_boundaries;
};

} // namespace velmora
