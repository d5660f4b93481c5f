#pragma once

#include <QString>

// The words stored in rule cells. Files and editors use exactly these spellings; the
// evaluation compares operators and kinds with ASCII case folding, and truth values exactly.
namespace RuleWords {

inline const QString Yes = QStringLiteral("Yes");
inline const QString No = QStringLiteral("No");

inline const QString Contains = QStringLiteral("Contains");
inline const QString ContainsWholeWord = QStringLiteral("Contains (whole word)");
inline const QString EqualsOp = QStringLiteral("Equals");
inline const QString StartsWith = QStringLiteral("Starts with");
inline const QString EndsWith = QStringLiteral("Ends with");
inline const QString IsBlank = QStringLiteral("Is blank");
inline const QString IsUppercase = QStringLiteral("Is UPPERCASE");
inline const QString AllNumeric = QStringLiteral("All numeric");
inline const QString HalfNumeric = QStringLiteral("50% numeric");
inline const QString FirstCharNumeric = QStringLiteral("First char numeric");

inline const QString EmailAddress = QStringLiteral("E-mail address");
inline const QString DomainName = QStringLiteral("Domain name");
inline const QString Subject = QStringLiteral("Subject");
inline const QString AnyHeader = QStringLiteral("Any Header");

inline const QString Sender = QStringLiteral("Sender");
inline const QString ToDoesNotContain = QStringLiteral("To does not contain");
inline const QString DoesNotMatchReplyTo = QStringLiteral("does not match Reply-to");
inline const QString EqualsToField = QStringLiteral("equals To field");
inline const QString MailBoxMark = QStringLiteral(" - MailBox #");

} // namespace RuleWords

// Picture indexes shared by the message list and the rule lists.
enum Mark {
    NoMark = -1,
    CheckMark = 0,
    QuestionMark = 1,
    BlacklistMark = 2,
    FirstExceptionPicture = 3,
    LastExceptionPicture = 14,
};

// The picture of an exception from its picture-index cell: the number when it is one of
// the exception pictures, else 3. Anything else would give an accepted message the check
// mark or the blacklist mark and have it deleted.
int ExceptionPicture(const QString &cell);
