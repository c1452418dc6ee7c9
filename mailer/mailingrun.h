#pragma once
// One mailing: a letter of a project to the contacts of one of its contact
// sections, every outcome written to the mailing log `oreglog`.
#include "contacts/mailingoutcome.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace qv::mailer {

struct MailingArgs {
    qint64 projectId = 0;
    qint64 letterId = 0;
    qint64 sectionId = 0;
    qint64 userId = 0;
    int mode = 0; // 0 every contact of the section, 1 those the letter has not reached yet
};

// Exactly five whole non-negative numbers (decimal digits only), the last
// exactly "0" or "1".
std::optional<MailingArgs> ParseMailingArgs(const QStringList &arguments);

// Runs the mailing on the process connection (already open on the database)
// and returns the exit code (contacts::MailerExit).
int RunMailing(const MailingArgs &args);

} // namespace qv::mailer
