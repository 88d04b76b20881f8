#include "core/analysis/rules/sensitive_text_rule_catalog.h"

#include "core/support/log_categories.h"

#include <algorithm>

namespace velmora::SensitiveTextRuleCatalog {

namespace {

using sensitive_text::Validator;
using Action = DetectionSuggestedAction;
using Category = DetectorCategory;
using Kind = DetectionKind;
using Pack = RedactionPolicyPackID;

// The query parameters whose values grant access; shared by the URL rule and by the
// search for every such value of a matched URL.
const QString kSensitiveQueryParameterNames = QStringLiteral(
    "access[_-]?token|auth[_-]?token|api[_-]?key|apikey|client[_-]?secret|code|key|password|secret|"
    "session|sig|signature|token");

// The URL rule's pattern captures one parameter value per URL (the last sensitive one);
// this gives the value of every sensitive parameter in the matched URL's query, so that
// "?token=...&sig=..." leaves neither readable. A parameter is a "&"-separated segment of
// the query after the URL's first "?"; its value is the rest of the segment after
// "name=", and counts from six characters on, as in the rule's pattern. A parameter the
// pattern found after a "?" or "&" without its URL (read with a blank inside) gives its
// own value.
QList<IcuMatch::Range> sensitiveQueryParameterValues(const QString &line, const IcuMatch &match)
{
    static const auto parameterName = IcuPattern::compile(
        QStringLiteral("^(?:%1)=").arg(kSensitiveQueryParameterNames), IcuPattern::CaseInsensitive);
    QList<IcuMatch::Range> values;
    const IcuMatch::Range url = match.whole();
    const qsizetype query = line.indexOf(u'?', url.start);
    if (!parameterName || query < 0 || query >= url.end())
        return {match.group(1)};
    qsizetype segmentStart = query + 1;
    while (segmentStart <= url.end()) {
        qsizetype segmentEnd = line.indexOf(u'&', segmentStart);
        if (segmentEnd < 0 || segmentEnd > url.end())
            segmentEnd = url.end();
        const QString segment = line.mid(segmentStart, segmentEnd - segmentStart);
        const QList<IcuMatch> name = parameterName->findAll(segment);
        if (!name.isEmpty()) {
            const qsizetype valueStart = segmentStart + name.front().whole().end();
            if (segmentEnd - valueStart >= 6)
                values.append(IcuMatch::Range{valueStart, segmentEnd - valueStart});
        }
        segmentStart = segmentEnd + 1;
    }
    return values;
}

struct RuleRow {
    Kind kind;
    const char *label;
    Pack pack;
    Category category;
    double confidence;
    bool caseInsensitive;
    int matchGroup;
    Validator validator;
    Action action;
    const char *reason;
    QString pattern;
    MatchValueFinder valueFinder = nullptr;
    bool boxesWholeRun = false;
};

/// The rules of the rows whose patterns compile.
QList<SensitiveTextRule> compiled(const QList<RuleRow> &rows);

QList<SensitiveTextRule> compileBuiltInRules()
{
    // Keys of a fixed shape also match as the recogniser reads them at worst: an AWS key
    // joined to the word before it or split by a blank or two, a Slack bot token split
    // beside its dashes or inside its parts (its last part 24 characters long, give or
    // take one, one gained only where its last piece is no lone character: a line's
    // number after it stays out), an SSH key whose type's dash was read as a tilde, a
    // longer dash or a blank, a JWT, AWS, Stripe, Google or OpenAI key
    // with a look-alike in it ("@" for a dotted zero, "&" for an eight, "I" for "l", a
    // long dash), a Google key a character short or long, a URL whose colon was lost, an
    // account identifier whose first letter was read twice, an e-mail address with a
    // stray underscore after it or an "@" for a dotted zero in its name, a URL's query
    // parameter after a blank read inside the URL. A look-ahead for the next letter or
    // digit ends AWS and Stripe keys, since a stray underscore after them holds off \b.
    const QList<RuleRow> rows{
        {Kind::apiKey, "AWS key", Pack::secrets, Category::secrets, 0.98, false, 0, sensitive_text::isPlausibleAccessKeyId,
         Action::redact, "AWS access key IDs should not be shared in screenshots.",
         QStringLiteral(R"((?<![A-Z0-9])(?:A3T[A-Z0-9]|AKIA|ASIA)(?:[A-Z0-9@&] ?){15}[A-Z0-9](?![A-Za-z0-9]))"), nullptr, true},
        {Kind::apiKey, "GitHub token", Pack::secrets, Category::secrets, 0.98, false, 0, nullptr, Action::redact,
         "GitHub access tokens can grant repository or account access.",
         QStringLiteral(R"(\b(ghp|gho|ghu|ghs|ghr)_[A-Za-z0-9_]{20,}\b)"), nullptr, true},
        {Kind::apiKey, "Stripe secret key", Pack::secrets, Category::secrets, 0.98, false, 0, nullptr, Action::redact,
         "Stripe secret keys can expose payment account access.",
         QStringLiteral(R"(\b[sr]k_(?:[lI1]ive|test)_[A-Za-z0-9]{16,}(?![A-Za-z0-9]))"), nullptr, true},
        {Kind::secret, "Bearer token", Pack::secrets, Category::secrets, 0.94, false, 0, nullptr, Action::redact,
         "Bearer tokens can authenticate API requests.",
         QStringLiteral(R"(\bBearer\s+[A-Za-z0-9._~+/\-]+=*\b)"), nullptr, true},
        // JWT, Google, OpenAI and Slack tokens may end in "-", after which a final \b
        // cannot hold: a look-ahead for the next token character ends them instead.
        {Kind::secret, "JWT", Pack::secrets, Category::secrets, 0.92, false, 0, nullptr, Action::redact,
         "JWTs can contain claims or credentials.",
         QStringLiteral(R"(\beyJ[A-Za-z0-9_-]*(?:[@&][A-Za-z0-9_-]+)*\.[A-Za-z0-9_-]+(?:[@&][A-Za-z0-9_-]+)*\.[A-Za-z0-9_-]+(?:[@&][A-Za-z0-9_-]+)*(?![A-Za-z0-9_-]))"), nullptr, true},
        {Kind::secret, "SSH public key", Pack::secrets, Category::secrets, 0.90, true, 0, nullptr, Action::review,
         "SSH authorized keys reveal account access configuration and should be reviewed before sharing.",
         QStringLiteral(R"(\bssh[-~\u2013\u2014 ](?:rsa|ed25519|ecdsa-sha2-nistp(?:256|384|521))\s+(?:[A-Za-z0-9+/=]\s*){40,}[^\s,;\]}]*(?:[^\S\r\n]+[^\s,;\]}]+)?)")},
        // A setting may stand in brackets ("$(API_TOKEN=… make)"), and its value may hold
        // an apostrophe between letters or digits; an authorization header's value is
        // found by its scheme's rule, not as "Bearer".
        {Kind::secret, "Environment secret", Pack::secrets, Category::secrets, 0.93, true, 1,
         sensitive_text::isNotPlaceholder, Action::redact,
         "Environment variable secrets can expose credentials or tokens.",
         QStringLiteral(R"((?:^|[\s;(])[A-Z_][A-Z0-9_-]*(?:PASSWORD|PASSWD|SECRET|TOKEN|API[_-]?KEY|ACCESS[_-]?KEY|PRIVATE[_-]?KEY|CLIENT[_-]?SECRET|AUTH)[A-Z0-9_-]*\s*[:=]\s*['"]?(?!(?:Bearer|Basic)\s)((?:[^\s'"]|(?<=[A-Za-z0-9])'(?=[A-Za-z0-9])){6,})['"]?)")},
        {Kind::url, "URL query token", Pack::secrets, Category::secrets, 0.93, true, 1,
         sensitive_text::isNotPlaceholder, Action::redact,
         "Private URL parameters can grant access or reveal account data.",
         QStringLiteral(R"((?:\bhttps?:?//[^\s<>"'?]+\?(?:[^\s<>"'&]+&)*|(?<=[?&]))(?:)")
             + kSensitiveQueryParameterNames + QStringLiteral(R"()=([^&\s<>"']{6,})[^\s<>"']*)"),
         sensitiveQueryParameterValues},
        {Kind::apiKey, "Google API key", Pack::secrets, Category::secrets, 0.97, false, 0, nullptr, Action::redact,
         "Google API keys can expose project or service access.",
         QStringLiteral(R"(\bAIza[A-Za-z0-9_-]{34,36}(?![A-Za-z0-9]))"), nullptr, true},
        {Kind::apiKey, "OpenAI API key", Pack::secrets, Category::secrets, 0.97, false, 0, nullptr, Action::redact,
         "OpenAI API keys can expose account access and usage.",
         QStringLiteral(R"(\bsk-(?:proj[-~\u2013\u2014])?[A-Za-z0-9_-]{20,}(?![A-Za-z0-9_-]))"), nullptr, true},
        {Kind::apiKey, "Slack token", Pack::secrets, Category::secrets, 0.97, false, 0, nullptr, Action::redact,
         "Slack tokens can expose workspace or app access.",
         QStringLiteral(R"(\bxox[baprs]-(?:(?:[A-Za-z0-9] ?){10,13}- ?(?:[A-Za-z0-9] ?){10,13}- ?(?:(?:[A-Za-z0-9] ?){23}[A-Za-z0-9]{2}|(?:[A-Za-z0-9] ?){22,23}[A-Za-z0-9])|[A-Za-z0-9-]{20,})(?![A-Za-z0-9-]))"), nullptr, true},
        {Kind::email, "Email", Pack::pii, Category::emails, 0.90, true, 0, nullptr, Action::redact,
         "Email addresses can identify a person or account.",
         QStringLiteral(R"(\b[A-Z0-9._%+-]+(?:@(?=[A-Z0-9._%+-]+@)[A-Z0-9._%+-]+)?@[A-Z0-9.-]+\.[A-Z]{2,}(?![A-Z0-9]))")},
        {Kind::ipAddress, "IP address", Pack::customerAccount, Category::ipAddresses, 0.86, false, 0, nullptr,
         Action::review, "IP addresses can reveal infrastructure or location context.",
         QStringLiteral(R"(\b)") + sensitive_text::ipv4AddressPattern() + QStringLiteral(R"(\b)")},
        {Kind::phoneNumber, "Phone number", Pack::pii, Category::phones, 0.84, true, 0,
         sensitive_text::isPlausiblePhoneNumber, Action::redact, "Phone numbers can identify or contact a person.",
         QStringLiteral(R"((?<![\w])(?:\+?1[\s.-]?)?(?:\([2-9]\d{2}\)|[2-9]\d{2})[\s.-]?[2-9]\d{2}[\s.-]?\d{4}(?:\s*(?:x|ext\.?)\s*\d{1,6})?(?![\w]))")},
        {Kind::creditCard, "Card number", Pack::pii, Category::cards, 0.95, false, 0,
         sensitive_text::isPlausibleCardNumber, Action::redact, "Card numbers should be redacted before sharing.",
         QStringLiteral(R"(\b(?:\d{13,19}|\d{4}[ -]\d{4}[ -]\d{4}(?:[ -]\d{1,7})?|\d{4}[ -]\d{6}[ -]\d{5})\b)")},
        {Kind::unknown, "Account/customer ID", Pack::customerAccount, Category::customerAccount, 0.72, true, 1,
         sensitive_text::isPlausibleAccountIdentifier, Action::review,
         "Customer and account identifiers can reveal private business context.",
         QStringLiteral(R"((?<![A-Za-z0-9])(?:c(?=customer)|a(?=acc)|t(?=tenant)|w(?=workspace))?((?:customer|account|acct|tenant|workspace)[_-][A-Za-z0-9][A-Za-z0-9_-]{6,}[A-Za-z0-9])(?![A-Za-z0-9]))")},
        // A run that begins with a setting's "name=" (in capitals or in small letters, as
        // no random token's beginning is) is judged, and found, on its value.
        {Kind::secret, "High-entropy secret", Pack::secrets, Category::highEntropy, 0.76, false, 1,
         sensitive_text::isPlausibleHighEntropySecret, Action::review,
         "Random-looking tokens can expose application or account access.",
         QStringLiteral(R"((?<![A-Za-z0-9])(?=[A-Za-z0-9_/\-+=]{28,})(?=[A-Za-z0-9_/\-+=]*[a-z])(?=[A-Za-z0-9_/\-+=]*[A-Z])(?=[A-Za-z0-9_/\-+=]*\d)(?:(?:[A-Z_][A-Z0-9_\-]*|[a-z_][a-z0-9_\-]*)=+(?=[A-Za-z0-9_/\-+]))?([A-Za-z0-9_/\-+=]+)(?![A-Za-z0-9]))"), nullptr, true},
        {Kind::unknown, "Confidential label", Pack::companyConfidential, Category::custom, 0.88, true, 0, nullptr,
         Action::review, "Matched a visible confidentiality label. This is policy matching, not semantic classification.",
         QStringLiteral(R"(\b(?:CONFIDENTIAL|INTERNAL\s+ONLY|DO\s+NOT\s+SHARE|NDA|PROPRIETARY|RESTRICTED)\b)")},
    };
    return compiled(rows);
}

QList<SensitiveTextRule> compiled(const QList<RuleRow> &rows)
{
    QList<SensitiveTextRule> rules;
    rules.reserve(rows.size());
    for (const RuleRow &row : rows) {
        auto regex = IcuPattern::compile(row.pattern,
                                         row.caseInsensitive ? IcuPattern::CaseInsensitive : IcuPattern::NoFlags);
        if (!regex) {
            qCWarning(lcAnalysis) << "Built-in rule does not compile and is left out:" << row.label;
            continue;
        }
        rules.append(SensitiveTextRule{
            .kind = row.kind,
            .label = QString::fromUtf8(row.label),
            .reason = QString::fromUtf8(row.reason),
            .policyPackID = row.pack,
            .detectorCategory = row.category,
            .confidence = row.confidence,
            .regex = std::move(*regex),
            .matchGroup = row.matchGroup,
            .validator = row.validator,
            .suggestedAction = row.action,
            .valueFinder = row.valueFinder,
            .boxesWholeRun = row.boxesWholeRun,
        });
    }
    return rules;
}

// What shows of values cut off by the edge of their line. At its end (a cell's text cut
// off by the next cell, a crop's lines by its edge): a key's fixed beginning and a few
// of its characters, an address up to its "@", a phone number to its exchange, a card
// number to its second group, an IPv4 address to its fourth group, an account
// identifier's name and a few characters. At its start (a crop's lines by its left
// edge): the end of a random-looking token, with digits and with letters of both cases
// beyond the hexadecimal ones (a hash misread with a capital is no token). What the cut
// leaves of the glyph beyond them may be read as any character or two. Each is named
// and filed as the built-in rule of the whole value.
QList<SensitiveTextRule> compileCutOffRules()
{
    using Cut = SensitiveTextRule::Cut;
    struct CutOffRow {
        const char *label;
        double confidence;
        Action action;
        bool caseInsensitive;
        QString pattern;
        bool boxesWholeRun;
        Cut where = Cut::atEnd;
        bool onlyAtACuttingEdge = false;
    };
    const QList<CutOffRow> rows{
        {"AWS key", 0.9, Action::redact, false, QStringLiteral(R"((?<![A-Z0-9])(?:AKIA|ASIA)[A-Z0-9]{2,}(?=.{0,3}$))"), true},
        {"GitHub token", 0.9, Action::redact, false, QStringLiteral(R"(\b(?:ghp|gho|ghu|ghs|ghr)_[A-Za-z0-9_]{2,}(?=.{0,3}$))"), true},
        {"Stripe secret key", 0.9, Action::redact, false, QStringLiteral(R"(\b[sr]k_(?:[lI1]ive|test)_[A-Za-z0-9]{2,}(?=.{0,3}$))"), true},
        {"JWT", 0.85, Action::redact, false, QStringLiteral(R"(\beyJ[A-Za-z0-9_.-]{4,}(?=.{0,3}$))"), true},
        {"Google API key", 0.9, Action::redact, false, QStringLiteral(R"(\bAIza[A-Za-z0-9_-]{2,}(?=.{0,3}$))"), true},
        {"OpenAI API key", 0.9, Action::redact, false, QStringLiteral(R"(\bsk-(?:proj-)?[A-Za-z0-9_-]{4,}(?=.{0,3}$))"), true},
        {"Slack token", 0.9, Action::redact, false, QStringLiteral(R"(\bxox[baprs]-[A-Za-z0-9-]{2,}(?=.{0,3}$))"), true},
        // An address shows it is one by a dot in its domain (not an ellipsis); up to its
        // "@" or with a domain without a dot, and never before a prompt's or title's ":",
        // only where its line ends at an edge that cuts text off.
        {"Email", 0.85, Action::redact, true, QStringLiteral(R"((?<![A-Z0-9._%+-])[A-Z0-9._%+-]+@[A-Z0-9-]+\.(?!\.)[A-Z0-9.-]*(?=.{0,3}$))"), false},
        {"Email", 0.85, Action::redact, true, QStringLiteral(R"((?<![A-Z0-9._%+-])[A-Z0-9._%+-]+@[A-Z0-9-]*(?=[^.:]{0,3}$))"), false, Cut::atEnd, true},
        {"Phone number", 0.75, Action::review, false,
         QStringLiteral(R"((?<![\w$,.])(?:\+?1[\s.-]?)?(?:\([2-9]\d{2}\)\s?|[2-9]\d{2}[\s.-])[2-9]\d{2}(?:[\s.-]\d{0,3})?(?=.{0,3}$))"), false},
        {"Card number", 0.8, Action::review, false, QStringLiteral(R"((?<![\w-])\d{4}[ -]\d{4}(?:[ -]\d{0,4}){0,2}(?=.{0,3}$))"), false},
        {"IP address", 0.7, Action::review, false,
         QStringLiteral(R"((?<![\w.])(?:(?:25[0-5]|2[0-4]\d|1\d\d|[1-9]?\d)\.){3}\d{0,3}(?=.{0,3}$))"), false},
        {"Account/customer ID", 0.72, Action::review, true,
         QStringLiteral(R"((?<![A-Z0-9])(?:customer|account|acct|tenant|workspace)[_-][A-Z0-9_-]{2,}(?=.{0,3}$))"), false},
        {"High-entropy secret", 0.76, Action::review, false,
         QStringLiteral(R"(^.{0,2}?(?=[A-Za-z0-9_-]{12,})(?=[A-Za-z0-9_-]*[g-z])(?=[A-Za-z0-9_-]*[G-Z])(?=[A-Za-z0-9_-]*\d)[A-Za-z0-9_-]{12,})"),
         true, Cut::atStart},
    };
    QList<SensitiveTextRule> rules;
    for (const CutOffRow &row : rows) {
        const QString label = QString::fromUtf8(row.label);
        const auto whole = std::find_if(builtInRules().cbegin(), builtInRules().cend(),
                                        [&label](const SensitiveTextRule &rule) { return rule.label == label; });
        auto regex = IcuPattern::compile(row.pattern, row.caseInsensitive ? IcuPattern::CaseInsensitive : IcuPattern::NoFlags);
        if (whole == builtInRules().cend() || !regex) {
            qCWarning(lcAnalysis) << "Rule for cut-off values is left out:" << label;
            continue;
        }
        SensitiveTextRule rule = *whole;
        rule.confidence = row.confidence;
        rule.regex = std::move(*regex);
        rule.matchGroup = 0;
        rule.validator = nullptr;
        rule.suggestedAction = row.action;
        rule.valueFinder = nullptr;
        rule.boxesWholeRun = row.boxesWholeRun;
        rule.onlyWhereCut = row.where;
        rule.onlyAtACuttingEdge = row.onlyAtACuttingEdge;
        rules.append(std::move(rule));
    }
    return rules;
}

SensitiveTextRule customRule(const char *label, const char *reason, double confidence, IcuPattern regex)
{
    return SensitiveTextRule{
        .kind = DetectionKind::unknown,
        .label = QString::fromUtf8(label),
        .reason = QString::fromUtf8(reason),
        .policyPackID = RedactionPolicyPackID::custom,
        .detectorCategory = DetectorCategory::custom,
        .confidence = confidence,
        .regex = std::move(regex),
        .matchGroup = 0,
        .validator = nullptr,
        .suggestedAction = DetectionSuggestedAction::redact,
        .isUserPattern = true,
    };
}

} // namespace

const QList<SensitiveTextRule> &builtInRules()
{
    // A function-local static: its one-time construction is safe under concurrent first use.
    static const QList<SensitiveTextRule> rules = compileBuiltInRules();
    return rules;
}

const QList<SensitiveTextRule> &cutOffRules()
{
    static const QList<SensitiveTextRule> rules = compileCutOffRules();
    return rules;
}

QList<SensitiveTextRule> customRules(const QStringList &terms, const QStringList &regexes)
{
    QList<SensitiveTextRule> rules;
    rules.reserve(terms.size() + regexes.size());
    for (const QString &term : terms) {
        if (auto regex = IcuPattern::compile(term, IcuPattern::Literal | IcuPattern::CaseInsensitive))
            rules.append(customRule("Custom term", "Matched a local custom term.", 0.96, std::move(*regex)));
    }
    for (const QString &pattern : regexes) {
        if (auto regex = IcuPattern::compile(pattern))
            rules.append(customRule("Custom pattern", "Matched a local custom pattern.", 0.90, std::move(*regex)));
    }
    return rules;
}

} // namespace velmora::SensitiveTextRuleCatalog
