#include "workbench/search_logic.h"

namespace qv::workbench {

namespace {
QString withoutLeadingWww(QString s)
{
    if (s.startsWith(QLatin1String("www.")))
        s.remove(0, 4);
    return s;
}
} // namespace

QString SearchedSite(const QString &projectUrl)
{
    QString site = projectUrl;
    qsizetype at = site.indexOf(QLatin1String("http://"));
    if (at >= 0) {
        site.remove(at, 7);
    } else if ((at = site.indexOf(QLatin1String("https://"))) >= 0) {
        site.remove(at, 8);
    }
    return withoutLeadingWww(site);
}

QString QueryValue(const QString &value)
{
    QString out;
    const QByteArray bytes = value.toUtf8();
    out.reserve(bytes.size());
    static const char hex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7F || c == '&' || c == '#' || c == '+' || c == '%') {
            out += QLatin1Char('%');
            out += QLatin1Char(hex[u >> 4]);
            out += QLatin1Char(hex[u & 0xF]);
        } else {
            out += QLatin1Char(c);
        }
    }
    return out;
}

QString YandexSearchPath(const QString &site, const QString &resourceName)
{
    return QStringLiteral("/yandsearch?text=") + QueryValue(site) + QStringLiteral("&serverurl=") + QueryValue(resourceName);
}

QString RamblerSearchPath(const QString &site, const QString &resourceName)
{
    return QStringLiteral("/srch?words=") + QueryValue(site)
           + QStringLiteral("&set=www&news=0&and=1&limitcontext=0&exclude=&dlang=0&mimex=0&st_date=&end_date=&filter=")
           + QueryValue(resourceName);
}

QString GoogleSearchPath(const QString &site, const QString &resourceName)
{
    return QStringLiteral("/search?hl=ru&newwindow=1&as_qdr=all&q=") + QueryValue(site) + QStringLiteral("+site:")
           + QueryValue(resourceName);
}

bool YandexFoundNothing(const QString &page)
{
    return page.contains(QStringLiteral("Искомая комбинация слов нигде не встречается"));
}

bool GoogleFoundNothing(const QString &page)
{
    return page.contains(QStringLiteral("Не найдено ни одного документа, соответствующего запросу"));
}

QString CheckVerdict(bool yandex, bool google)
{
    if (yandex && google)
        return QStringLiteral("Подтверждено Яндексом и Гуглом");
    if (yandex)
        return QStringLiteral("Подтверждено только Яндексом");
    if (google)
        return QStringLiteral("Подтверждено только Гуглом");
    return QStringLiteral("Не подтверждено ни Яндексом ни Гуглом");
}

QString MetricDomain(const QString &address)
{
    QString d = address.toLower();
    if (d.startsWith(QLatin1String("http://")))
        d.remove(0, 7);
    else if (d.startsWith(QLatin1String("https://")))
        d.remove(0, 8);
    return withoutLeadingWww(d);
}

QString TicFromReply(const QString &reply)
{
    const QLatin1String mark("value=\"");
    const qsizetype at = reply.indexOf(mark);
    if (at < 0)
        return QStringLiteral("?");
    const qsizetype from = at + mark.size();
    const qsizetype end = reply.indexOf(QLatin1Char('"'), from);
    return end < 0 ? QString() : reply.mid(from, end - from);
}

QString PageRankFromReply(const QString &reply)
{
    if (reply.isEmpty())
        return QString();
    const qsizetype colon = reply.lastIndexOf(QLatin1Char(':'));
    return (colon < 0 ? reply : reply.mid(colon + 1)).trimmed();
}

} // namespace qv::workbench
