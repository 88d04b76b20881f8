#pragma once

#include <QString>

namespace velmora::sensitive_text {

// What a matched value looks like on its own, without the line around it. These
// heuristics keep the detector from flagging the names, paths and identifiers that
// fill terminals and dashboards. Character counts are user-perceived characters.

/// True for values that only stand in for a secret: "changeme", "your_key_here",
/// "xxxx", "****" and the like, after stripping quotes and spaces at both ends.
bool isPlaceholderValue(const QString &value);

/// True for names of services, jobs and tables ("account-analytics-worker-01").
bool looksLikeWorkloadName(const QString &value);

/// True for file-system paths and log-stream names.
bool looksLikePath(const QString &value);

/// True for build, branch and release identifiers.
bool looksLikeBuildIdentifier(const QString &value);

/// True for names of servers, caches, streams and other infrastructure.
bool looksLikeInfrastructureName(const QString &value);

/// True for metric, consumer-group and offset names.
bool looksLikeMetricName(const QString &value);

/// Shannon entropy of the value's characters, in bits per character (0 for empty text).
double shannonEntropy(const QString &value);

} // namespace velmora::sensitive_text
