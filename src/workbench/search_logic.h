#pragma once
// Confirming registrations and measuring sites: the searched site, the
// engines' addresses, the no-results phrases and the metric replies.
#include <QString>

namespace qv::workbench {

// The project's site as the engines are asked about it: the first "http://"
// (else "https://") taken out wherever it stands, then a leading "www.".
// Nothing else changes: a path or a trailing "/" stays.
QString SearchedSite(const QString &projectUrl);

// A value as it goes into an address: "&", "#", "+", "%", blanks, control
// characters and everything outside ASCII percent-encoded (UTF-8), so that
// a value never changes the query around it.
QString QueryValue(const QString &value);

// Paths and queries of the search pages, to be put after an engine's host.
QString YandexSearchPath(const QString &site, const QString &resourceName);
QString RamblerSearchPath(const QString &site, const QString &resourceName);
QString GoogleSearchPath(const QString &site, const QString &resourceName);

// The engines' no-results phrases: true when the page says it found nothing.
bool YandexFoundNothing(const QString &page);
bool GoogleFoundNothing(const QString &page);

// The log line of one checked resource.
QString CheckVerdict(bool yandex, bool google);

// The domain of an address typed for the analysis: lower case, without a
// leading "http://" or "https://", then without a leading "www.".
QString MetricDomain(const QString &address);
// The TIC in a Yandex bar reply: the text after `value="` up to the next
// quote (empty when none follows); "?" when the reply has no `value="`.
QString TicFromReply(const QString &reply);
// The PageRank in a toolbar reply: the text after the last ":", trimmed;
// an empty reply gives an empty value.
QString PageRankFromReply(const QString &reply);

} // namespace qv::workbench
