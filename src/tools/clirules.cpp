// tarnwick-cli rules: the four rule lists and the blacklist kept up without a window. A rule
// goes through the same form checks and row writers as the dialogs, so what the command line
// stores is what a dialog would have stored, and refuses what a dialog would refuse.

#include "classifycore.h"
#include "clitool.h"
#include "files.h"
#include "knownlist.h"
#include "ruleforms.h"
#include "spamsettings.h"
#include "wording.h"

#include <algorithm>
#include <optional>

namespace cli {

// The text of the rules commands in tarnwick-cli --help.
const char kRulesHelp[] = QT_TRANSLATE_NOOP(
    "Cli",
    "  rules list [subject|header|sender|except|blacklist]\n"
    "      Prints the rules, one per line: the list, the rule's number and its\n"
    "      cells (as the rule editor shows them), separated by tabs; the\n"
    "      blacklist one entry per line.\n"
    "  rules add subject [--op OP] [--case] [--suspect] [TEXT]\n"
    "  rules add header [--kind line|reply-to|to-lacks|sender-is-to] [--op OP]\n"
    "                   [--case] [--suspect] [--mailbox N] [TEXT]\n"
    "  rules add sender [--kind domain|address] [--op OP] [--suspect] [TEXT]\n"
    "  rules add except [--kind address|domain|subject|cc|reply-to|to|any-header]\n"
    "                   [--op OP] [--case] [--picture 3-14] TEXT\n"
    "      Adds a rule at the end of its list, with the checks of the rule\n"
    "      dialogs. OP is one of the dialog's operators (\"Contains\", \"Contains\n"
    "      (whole word)\", \"Equals\", \"Starts with\", \"Ends with\", for subjects\n"
    "      and senders also \"Is blank\" and \"Is UPPERCASE\", for senders also\n"
    "      \"All numeric\", \"50% numeric\", \"First char numeric\"); default\n"
    "      \"Contains\" (\"Equals\" for senders). A rule marks for deletion unless\n"
    "      --suspect makes it mark with a question mark. A header rule of kind\n"
    "      to-lacks takes the address as TEXT and the mailbox with --mailbox.\n"
    "  rules add blacklist ENTRY...\n"
    "      Adds addresses or domain names to the known spammer blacklist.\n"
    "  rules remove subject|header|sender|except N...\n"
    "  rules remove blacklist ENTRY...\n"
    "      Removes rules by the number \"rules list\" shows, or blacklist entries.\n"
    "  rules test [--why] FILE...\n"
    "      Marks saved mail files with the rules, as tarnwick-classify does.\n");

namespace {

const QStringList kLists{QStringLiteral("subject"), QStringLiteral("header"), QStringLiteral("sender"),
                         QStringLiteral("except"), QStringLiteral("blacklist")};

RuleTable &TableOf(TSpamSettings &spam, const QString &list)
{
    if (list == u"subject")
        return spam.gridSubject;
    if (list == u"header")
        return spam.gridHeader;
    if (list == u"sender")
        return spam.gridFrom;
    return spam.gridExcept;
}

int RuleCount(const RuleTable &table)
{
    return table.IsEmptyList() ? 0 : table.RowCount() - 1;
}

// The stored word of an operator the user named, by its word or its item in the dialog's
// list, whatever the case; nothing when the dialog does not offer it.
std::optional<QString> OperatorOf(const QList<TOperatorItem> &offered, const QString &given)
{
    for (const TOperatorItem &op : offered)
        if (given.compare(op.word, Qt::CaseInsensitive) == 0 || given.compare(op.item, Qt::CaseInsensitive) == 0)
            return op.word;
    return std::nullopt;
}

QString Choices(const QList<TOperatorItem> &offered)
{
    QStringList words;
    for (const TOperatorItem &op : offered)
        words << u'"' + op.word + u'"';
    return words.join(QStringLiteral(", "));
}

// The value of an option that picks one of a few words; nothing (after saying why) when the
// word is not one of them.
std::optional<int> Pick(const QCommandLineParser &p, const QString &option, const QStringList &words)
{
    if (!p.isSet(option))
        return 0;
    const int at = int(words.indexOf(p.value(option).toLower()));
    if (at < 0) {
        usage(QStringLiteral("--%1 takes %2").arg(option, words.join(QStringLiteral(", "))));
        return std::nullopt;
    }
    return at;
}

bool ReadRuleLists(TSpamSettings &spam)
{
    spam.readSettings();
    for (const QString &problem : spam.ReadProblems())
        err(Said("Cli", "warning: %1").arg(problem));
    return true;
}

int Save(TSpamSettings &spam)
{
    QString error;
    if (spam.Savesettings(&error))
        return 0;
    err(Said("Cli", "error: the rule lists were not saved: %1").arg(error));
    return 1;
}

// Fills the rule of list from the options and TEXT through the dialog's form and its check;
// returns the refusal (empty when the rule was written to a new row at the end).
int AddRule(const QCommandLineParser &p, const QString &list, const QString &text)
{
    const QString opGiven = p.value(QStringLiteral("op"));
    const bool del = !p.isSet(QStringLiteral("suspect"));
    const bool caseMatters = p.isSet(QStringLiteral("case"));
    auto op = [&](const QList<TOperatorItem> &offered, const QString &fallback) -> std::optional<QString> {
        if (!p.isSet(QStringLiteral("op")))
            return fallback;
        if (auto word = OperatorOf(offered, opGiven))
            return word;
        usage(Said("Cli", "--op for %1 rules takes one of %2").arg(list, Choices(offered)));
        return std::nullopt;
    };

    TSpamSettings spam;
    ReadRuleLists(spam);
    RuleTable &table = TableOf(spam, list);
    QString refusal;
    std::function<void(int)> write;
    if (list == u"subject") {
        TSubjectRuleForm form;
        const auto word = op(SubjectOperators(), form.op);
        if (!word)
            return kExitUsage;
        form.op = *word;
        form.text = text;
        form.caseMatters = caseMatters;
        form.del = del;
        refusal = CheckSubjectForm(form);
        write = [&table, form](int row) { WriteSubjectRule(table, row, form); };
    } else if (list == u"header") {
        THeaderRuleForm form;
        const auto kind = Pick(p, QStringLiteral("kind"), {"line", "reply-to", "to-lacks", "sender-is-to"});
        const auto word = op(TextOperators(), form.op);
        if (!kind || !word)
            return kExitUsage;
        form.choice = THeaderChoice(*kind);
        form.op = *word;
        form.caseMatters = caseMatters;
        form.del = del;
        if (form.choice == THeaderChoice::ToLacks) {
            form.address = text;
            bool ok = p.isSet(QStringLiteral("mailbox"));
            form.mailbox = ok ? p.value(QStringLiteral("mailbox")).toInt(&ok) : 0;
            if (!ok)
                form.mailbox = 0;
        } else {
            form.text = text;
        }
        refusal = CheckHeaderForm(form);
        write = [&table, form](int row) { WriteHeaderRule(table, row, form); };
    } else if (list == u"sender") {
        TSenderRuleForm form;
        const auto kind = Pick(p, QStringLiteral("kind"), {"domain", "address"});
        const auto word = op(SenderOperators(), form.op);
        if (!kind || !word)
            return kExitUsage;
        form.domain = *kind == 0;
        form.op = *word;
        form.text = text;
        form.del = del;
        refusal = CheckSenderForm(form);
        write = [&table, form](int row) { WriteSenderRule(table, row, form); };
    } else {
        TExceptRuleForm form;
        const auto kind = Pick(p, QStringLiteral("kind"),
                               {"address", "domain", "subject", "cc", "reply-to", "to", "any-header"});
        const auto word = op(TextOperators(), form.op);
        if (!kind || !word)
            return kExitUsage;
        form.choice = *kind == 0 ? TExceptChoice::Address : *kind == 1 ? TExceptChoice::Domain : TExceptChoice::Header;
        if (*kind >= 2)
            form.header = ExceptionHeaders().at(*kind - 2);
        form.address = form.domain = form.text = text;
        form.op = *word;
        form.caseMatters = caseMatters;
        if (p.isSet(QStringLiteral("picture"))) {
            bool ok = false;
            form.picture = p.value(QStringLiteral("picture")).toInt(&ok);
            if (!ok || form.picture < 3 || form.picture > 14)
                return usage(Said("Cli", "--picture takes a picture number from 3 to 14"));
        }
        refusal = CheckExceptForm(form);
        write = [&table, form](int row) { WriteExceptRule(table, row, form); };
    }
    if (!refusal.isEmpty())
        return usage(Said("Cli", "the rule was not added: %1").arg(refusal));
    // The dialogs hide the text field for these operators; a text given would be dropped.
    const bool textless = (list == u"subject" || list == u"sender") && p.isSet(QStringLiteral("op"))
                          && !TakesText(OperatorOf(SenderOperators(), opGiven).value_or(QString()));
    if (!text.isEmpty() && textless)
        return usage(Said("Cli", "the rule was not added: \"%1\" compares with no text").arg(opGiven));
    const int row = InsertRuleRow(table, -1);
    write(row);
    if (const int status = Save(spam))
        return status;
    out(QStringLiteral("Added %1 rule %2\n").arg(list).arg(row));
    return 0;
}

int RemoveRules(const QString &list, const QStringList &numbers)
{
    TSpamSettings spam;
    ReadRuleLists(spam);
    RuleTable &table = TableOf(spam, list);
    QList<int> rows;
    for (const QString &given : numbers) {
        bool ok = false;
        const int n = given.toInt(&ok);
        if (!ok || n < 1 || n > RuleCount(table))
            return usage(Said("Cli", "the %1 list has no rule %2 (it has %3; see tarnwick-cli rules list %1)")
                             .arg(list, given)
                             .arg(RuleCount(table)));
        rows << n;
    }
    // From the bottom up, so the numbers given keep naming the rules listed.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows)
        DeleteRule(table, row);
    return Save(spam);
}

int ChangeBlacklist(bool add, const QStringList &entries)
{
    const QString path = TKnownList::DefaultPath();
    QString error;
    std::optional<QStringList> lines = ReadTextLines(path, &error);
    if (!lines) {
        err(Said("Cli", "error: Could not locate the known spammer blacklist! %1 %2").arg(path, error));
        return 1;
    }
    for (const QString &given : entries) {
        const QString entry = given.trimmed();
        if (add) {
            // What saving would drop without a word is refused with one.
            if (entry.isEmpty() || entry.contains(u'\n') || entry.contains(u'\r'))
                return usage(Said("Cli", "a blacklist entry is one address or domain name, not blank"));
            if (entry.contains(u'@') && TKnownList::HasNumericLocalPart(entry))
                return usage(Said("Cli", "%1 is not taken: an address of only digits and underscores before "
                                            "the @ is generated, never a known spammer")
                                 .arg(entry));
            lines->append(entry);
        } else {
            const qsizetype before = lines->size();
            lines->removeIf([&](const QString &line) { return line.trimmed().compare(entry, Qt::CaseInsensitive) == 0; });
            if (lines->size() == before)
                return usage(Said("Cli", "%1 is not on the blacklist").arg(entry));
        }
    }
    TKnownList known;
    if (!known.SaveKnownList(*lines, path, &error)) {
        err(Said("Cli", "error: the blacklist was not saved: %1").arg(error));
        return 1;
    }
    return 0;
}

int ListRules(const QString &only)
{
    TSpamSettings spam;
    ReadRuleLists(spam);
    for (const QString &list : kLists) {
        if (!only.isEmpty() && list != only)
            continue;
        if (list == u"blacklist") {
            QString error;
            const std::optional<QStringList> lines = ReadTextLines(TKnownList::DefaultPath(), &error);
            if (!lines)
                err(Said("Cli", "warning: Could not locate the known spammer blacklist! %1").arg(error));
            for (const QString &line : lines.value_or(QStringList()))
                if (!line.trimmed().isEmpty())
                    out(QStringLiteral("blacklist\t%1\n").arg(line));
            continue;
        }
        const RuleTable &table = TableOf(spam, list);
        for (int row = 1; row <= RuleCount(table); ++row) {
            QStringList cells{list, QString::number(row)};
            for (int col = 0; col < table.ColCount(); ++col)
                if (col != table.PictureColumn())
                    cells << table.Cells(col, row);
            out(cells.join(u'\t') + u'\n');
        }
    }
    return 0;
}

} // namespace

void AddRulesOptions(QCommandLineParser &p)
{
    for (const char *name : {"kind", "op", "mailbox", "picture"})
        p.addOption({QString::fromLatin1(name), QString(), QStringLiteral("value")});
    for (const char *name : {"case", "suspect", "why"})
        p.addOption({QString::fromLatin1(name), QString()});
}

// The options a rules command takes; one it does not take would be ignored, which the user
// could not tell from success.
QStringList OptionsOf(const QString &action, const QString &list)
{
    if (action == u"test")
        return {"why"};
    if (action != u"add")
        return {};
    if (list == u"subject")
        return {"op", "case", "suspect"};
    if (list == u"header")
        return {"kind", "op", "case", "suspect", "mailbox"};
    if (list == u"sender")
        return {"kind", "op", "suspect"};
    if (list == u"except")
        return {"kind", "op", "case", "picture"};
    return {};
}

int Rules(const QCommandLineParser &p)
{
    QStringList args = p.positionalArguments();
    const QString action = args.isEmpty() ? QString() : args.takeFirst();
    const QStringList allowed = OptionsOf(action, args.value(0).toLower());
    for (const QString &name : p.optionNames())
        if (name != u"data" && !allowed.contains(name))
            return usage(QString(Said("Cli", "rules %1 %2 takes no --%3").arg(action, args.value(0), name)).simplified());
    if (action == u"test") {
        if (args.isEmpty())
            return usage(Said("Cli", "rules test: no message files given"));
        return ClassifyFiles(DataFolder(), args, p.isSet(QStringLiteral("why")), out, err);
    }
    const QString list = args.isEmpty() ? QString() : args.takeFirst().toLower();
    if (!list.isEmpty() && !kLists.contains(list))
        return usage(Said("Cli", "rules: no list %1; the lists are %2").arg(list, kLists.join(QStringLiteral(", "))));
    if (action == u"list") {
        if (!args.isEmpty())
            return usage(Said("Cli", "rules list takes at most one list"));
        return ListRules(list);
    }
    if (action != u"add" && action != u"remove")
        return usage(Said("Cli", "rules needs list, add, remove or test"));
    if (list.isEmpty())
        return usage(Said("Cli", "rules %1 needs a list: %2").arg(action, kLists.join(QStringLiteral(", "))));
    if (list == u"blacklist") {
        if (args.isEmpty())
            return usage(Said("Cli", "rules %1 blacklist needs an entry").arg(action));
        return ChangeBlacklist(action == u"add", args);
    }
    if (action == u"remove") {
        if (args.isEmpty())
            return usage(Said("Cli", "rules remove %1 needs a rule number").arg(list));
        return RemoveRules(list, args);
    }
    if (args.size() > 1)
        return usage(Said("Cli", "rules add takes one TEXT; put a text with spaces in quotes"));
    return AddRule(p, list, args.value(0));
}

} // namespace cli
