#pragma once

// Random values the OCR benchmark plants on its screens: sensitive ones the engine must
// find (addresses, North American phone numbers, cards, account identifiers, keys and
// tokens) and decoys it must leave alone (versions, commit hashes, paths, build ids and
// dates). One seed gives the same values every run.

#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <QStringList>

namespace bench {

/// The check digit that makes `number` and it pass the Luhn check, as card numbers do.
inline QString cardCheckDigit(const QString &number)
{
    int sum = 0;
    for (qsizetype i = number.size() - 1, position = 0; i >= 0; --i, ++position) {
        int digit = number[i].digitValue();
        if (position % 2 == 0)
            digit = digit * 2 > 9 ? digit * 2 - 9 : digit * 2;
        sum += digit;
    }
    return QString::number((10 - sum % 10) % 10);
}

/// A person as an export lists them: a display name and an address.
struct Person
{
    QString name;
    QString email;
};

class ValueSource
{
public:
    explicit ValueSource(quint32 seed) : m_random(seed) {}

    QRandomGenerator &random() { return m_random; }
    int below(int bound) { return int(m_random.bounded(bound)); }
    template<typename T> const T &oneOf(const QList<T> &items) { return items[below(int(items.size()))]; }

    static constexpr const char16_t *kAlnum = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static constexpr const char16_t *kUpperDigits = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static constexpr const char16_t *kBase64 = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

    QString pick(const char16_t *alphabet, int count)
    {
        const QString letters = QString::fromUtf16(alphabet);
        QString result;
        for (int i = 0; i < count; ++i)
            result += letters[m_random.bounded(int(letters.size()))];
        return result;
    }
    QString alnum(int n) { return pick(kAlnum, n); }
    QString digits(int n) { return pick(u"0123456789", n); }
    QString hex(int n) { return pick(u"0123456789abcdef", n); }
    /// Random letters and digits with at least one digit, as account identifiers have.
    QString identifier(int n)
    {
        QString result = alnum(n);
        result[m_random.bounded(n)] = digits(1).front();
        return result;
    }

    // Keys and tokens, each with the fixed beginning its rule looks for.
    QString awsKey() { return QStringLiteral("AKIA") + pick(kUpperDigits, 16); }
    QString githubToken() { return QStringLiteral("ghp_") + alnum(36); }
    QString stripeKey() { return (m_random.bounded(2) ? QStringLiteral("sk_live_") : QStringLiteral("sk_test_")) + alnum(24); }
    QString slackToken() { return QStringLiteral("xoxb-") + digits(11) + u'-' + digits(12) + u'-' + alnum(24); }
    QString jwt() { return QStringLiteral("eyJhbGciOiJIUzI1NiJ9.eyJ") + pick(kBase64, 60) + u'.' + pick(kBase64, 43); }
    QString accountId() { return QStringLiteral("acct_") + identifier(14); }
    QString customerId() { return QStringLiteral("customer_") + identifier(12); }

    QString email()
    {
        static const QStringList names{QStringLiteral("yuki.patel"), QStringLiteral("li.doe"), QStringLiteral("m.kowalski"),
                                       QStringLiteral("support"), QStringLiteral("ops_team")};
        static const QStringList domains{QStringLiteral("umbrella-corp.com"), QStringLiteral("globex.net"),
                                         QStringLiteral("mail.example.org")};
        return names[m_random.bounded(int(names.size()))] + digits(2) + u'@' + domains[m_random.bounded(int(domains.size()))];
    }
    QString areaCode() { return QString::number(2 + m_random.bounded(8)) + digits(2); }
    QString phone()
    {
        switch (m_random.bounded(3)) {
        case 0: return QStringLiteral("%1.%2.%3").arg(areaCode(), areaCode(), digits(4));
        case 1: return QStringLiteral("+1 (%1) 555-%2").arg(areaCode(), digits(4));
        default: return QStringLiteral("%1-555-%2").arg(areaCode(), digits(4));
        }
    }
    QString ipv4()
    {
        return QStringLiteral("%1.%2.%3.%4").arg(10 + m_random.bounded(200)).arg(m_random.bounded(256))
            .arg(m_random.bounded(256)).arg(1 + m_random.bounded(254));
    }

    /// Someone with a first and last name and an address made of them, the way exports,
    /// commit logs and audit trails show people.
    Person person()
    {
        static const QStringList first{QStringLiteral("Priya"), QStringLiteral("Maria"), QStringLiteral("Sven"), QStringLiteral("Jane"),
                                       QStringLiteral("Tomasz"), QStringLiteral("Aiko"), QStringLiteral("Daniel"), QStringLiteral("Fatima"),
                                       QStringLiteral("Lucas"), QStringLiteral("Olivia"), QStringLiteral("Rahul"), QStringLiteral("Ingrid")};
        static const QStringList last{QStringLiteral("Khan"), QStringLiteral("Doe"), QStringLiteral("Berg"), QStringLiteral("Patel"),
                                      QStringLiteral("Nowak"), QStringLiteral("Tanaka"), QStringLiteral("Okafor"), QStringLiteral("Rossi"),
                                      QStringLiteral("Silva"), QStringLiteral("Meyer"), QStringLiteral("Larsen"), QStringLiteral("Haddad")};
        static const QStringList domains{QStringLiteral("globex.net"), QStringLiteral("umbrella-corp.com"), QStringLiteral("example.com"),
                                         QStringLiteral("initech.io"), QStringLiteral("mail.hooli.org"), QStringLiteral("acme-corp.com")};
        const QString given = oneOf(first);
        const QString family = oneOf(last);
        QString local = given.toLower() + u'.' + family.toLower();
        if (below(3) == 0)
            local += digits(2);
        else if (below(4) == 0)
            local = given.front().toLower() + family.toLower();
        return {given + u' ' + family, local + u'@' + oneOf(domains)};
    }

    /// A North American number in one of the ways people write them; its exchange never
    /// starts with 0 or 1, and it has four or more different digits, as real ones do.
    QString northAmericanPhone()
    {
        for (;;) {
            const QString area = areaCode(), exchange = areaCode(), line = digits(4);
            const QString all = area + exchange + line;
            if (QSet<QChar>(all.cbegin(), all.cend()).size() < 4)
                continue;
            switch (below(5)) {
            case 0: return QStringLiteral("+1 %1 %2 %3").arg(area, exchange, line);
            case 1: return QStringLiteral("(%1) %2-%3").arg(area, exchange, line);
            case 2: return QStringLiteral("%1-%2-%3").arg(area, exchange, line);
            case 3: return QStringLiteral("+1 (%1) %2-%3").arg(area, exchange, line);
            default: return QStringLiteral("%1.%2.%3").arg(area, exchange, line);
            }
        }
    }

    /// A 16-digit card number that passes the Luhn check, in groups of four.
    QString card()
    {
        QString number = below(2) ? QStringLiteral("4") : QStringLiteral("5") + QString::number(1 + below(5));
        number += digits(15 - int(number.size()));
        number += cardCheckDigit(number);
        const QChar separator = below(3) == 0 ? u'-' : u' ';
        return number.mid(0, 4) + separator + number.mid(4, 4) + separator + number.mid(8, 4) + separator + number.mid(12, 4);
    }

    // Decoys: look busy, hold nothing to hide.
    QString version() { return QStringLiteral("v%1.%2.%3").arg(1 + below(4)).arg(below(20)).arg(below(12)); }
    QString commitHash() { return hex(40); }
    QString shortHash() { return hex(7); }
    QString date() { return QStringLiteral("2025-%1-%2").arg(1 + below(12), 2, 10, QLatin1Char('0')).arg(1 + below(28), 2, 10, QLatin1Char('0')); }
    QString time() { return QStringLiteral("%1:%2:%3").arg(below(24), 2, 10, QLatin1Char('0')).arg(below(60), 2, 10, QLatin1Char('0')).arg(below(60), 2, 10, QLatin1Char('0')); }
    QString buildId() { return QStringLiteral("build-%1.%2").arg(20250000 + (1 + below(12)) * 100 + 1 + below(28)).arg(1 + below(40)); }
    QString path()
    {
        static const QStringList paths{QStringLiteral("/var/log/nginx/access.log"), QStringLiteral("/etc/ssl/certs/ca-bundle.crt"),
                                       QStringLiteral("src/billing/invoice_export.py"), QStringLiteral("/api/v2/orders/search"),
                                       QStringLiteral("/srv/app/releases/current/config.yml"), QStringLiteral("lib/auth/session_store.rb")};
        return oneOf(paths);
    }

private:
    QRandomGenerator m_random;
};

} // namespace bench
