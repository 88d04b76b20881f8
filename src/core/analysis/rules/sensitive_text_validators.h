#pragma once

#include "core/detection/text_range.h"

#include <QList>
#include <QString>

namespace velmora::sensitive_text {

/// Decides whether a rule's matched value is really sensitive: takes the value, the
/// whole line text and the value's UTF-16 range in the line; true keeps the finding.
using Validator = bool (*)(const QString &value, const QString &line, const TextRange &range);

/// Keeps every value except placeholders ("changeme", "xxxxxxxx", ...).
bool isNotPlaceholder(const QString &value, const QString &line, const TextRange &range);

/// Keeps North-American numbers with clear formatting, a country code or a phone word
/// nearby; a bare run of digits never passes.
bool isPlausiblePhoneNumber(const QString &value, const QString &line, const TextRange &range);

/// Keeps AWS access key IDs read whole, and those read split by one or two blanks
/// that hold a digit (an all-capital phrase after "AKIA" is no key); one "@" or "&"
/// read for a dotted zero or an eight may stand inside.
bool isPlausibleAccessKeyId(const QString &value, const QString &line, const TextRange &range);

/// Whether 13 to 19 digits pass a card number's check digit (the Luhn checksum).
bool passesCardCheck(const QList<int> &digits);

/// The pattern of an IPv4 address, four numbers of at most 255 joined by dots, without
/// anchors.
QString ipv4AddressPattern();

/// Whether the whole of `text` is an IPv4 address.
bool isIpv4Address(const QString &text);

/// Keeps 13 to 19 digits that pass the Luhn checksum; only the value counts.
bool isPlausibleCardNumber(const QString &value, const QString &line, const TextRange &range);

/// Keeps customer and account identifiers that hold a digit and are no workload names;
/// tenant and workspace values need an account phrase nearby.
bool isPlausibleAccountIdentifier(const QString &value, const QString &line, const TextRange &range);

/// Keeps random-looking values of 28 characters or more that are no path, build,
/// infrastructure or metric name, judged by their entropy (lower bar near a secret word).
bool isPlausibleHighEntropySecret(const QString &value, const QString &line, const TextRange &range);

} // namespace velmora::sensitive_text
