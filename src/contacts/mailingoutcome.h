#pragma once
// How a mailing handed to the mailer program ended: the mailer's exit codes
// and what the program tells the user about them.
#include <QString>

namespace qv::contacts {

// The mailer's exit codes.
enum MailerExit {
    MailerAllSent = 0,       // every contact of the run got the letter
    MailerNotAllSent = 1,    // some did not (their log rows say why), or the base failed
    MailerBadArguments = 2,  // the command line was not five numbers
    MailerForeignData = 3,   // the letter or the section is not the project's
    MailerSentNotLogged = 4, // stopped: a letter went out and its log row could not be written
};

// The message shown when the mailer has ended with `exitCode` (-1 when it did
// not end by itself); `output` is what it wrote, its last lines are quoted.
// Empty for a mailing that reached everybody.
QString MailerOutcomeMessage(int exitCode, const QString &output);

} // namespace qv::contacts
