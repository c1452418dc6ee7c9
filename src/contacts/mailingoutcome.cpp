#include "contacts/mailingoutcome.h"

#include <QStringList>

namespace qv::contacts {

namespace {
// The mailer's own account of a run that went wrong: its last lines.
constexpr int kQuotedLines = 15;
} // namespace

QString MailerOutcomeMessage(int exitCode, const QString &output)
{
    QString meaning;
    switch (exitCode) {
    case MailerAllSent: return QString();
    case MailerNotAllSent:
        meaning = QStringLiteral("Рассылка завершена с ошибками: письмо получили не все контакты раздела "
                                 "(в списке они отмечены \"Была ошибка\") или не удалась работа с базой данных.");
        break;
    case MailerBadArguments:
        meaning = QStringLiteral("Рассылка не выполнена: программе рассылки переданы неверные параметры.");
        break;
    case MailerForeignData:
        meaning = QStringLiteral("Рассылка не выполнена: письмо или раздел контактов не относятся к проекту.");
        break;
    case MailerSentNotLogged:
        meaning = QStringLiteral("Рассылка остановлена: письмо отправлено, но не записано в журнал рассылки. "
                                 "Рассылка \"Неразосланным\" отправит его этим контактам ещё раз.");
        break;
    default:
        meaning = exitCode < 0 ? QStringLiteral("Программа рассылки завершилась аварийно.")
                               : QStringLiteral("Программа рассылки завершилась с кодом %1.").arg(exitCode);
        break;
    }
    QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    if (lines.isEmpty())
        return meaning;
    QString quoted;
    if (lines.size() > kQuotedLines) {
        lines = lines.mid(lines.size() - kQuotedLines);
        quoted = QStringLiteral("…\n");
    }
    return meaning + QStringLiteral("\n\nСообщения программы рассылки:\n") + quoted + lines.join(QLatin1Char('\n'));
}

} // namespace qv::contacts
