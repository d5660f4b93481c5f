#include "spamsettings.h"

#include "files.h"
#include "inifile.h"
#include "rulewords.h"
#include "textutil.h"
#include "wording.h"

#include <QFile>

#include <initializer_list>
#include <utility>

using namespace RuleWords;

namespace {

// Writes the given cells of one row of a rule list; the others keep what they have.
void setCells(RuleTable &table, int row, std::initializer_list<std::pair<int, QString>> cells)
{
    for (const auto &[col, text] : cells)
        table.SetCells(col, row, text);
}

// An exception for one sender address: "E-mail address Equals address", never hit yet,
// shown with the exceptions' first picture.
void setSenderException(RuleTable &table, int row, const QString &address)
{
    setCells(table, row,
             {{ExceptCol::What, EmailAddress}, {ExceptCol::Operator, EqualsOp}, {ExceptCol::Text, address},
              {ExceptCol::Case, No}, {ExceptCol::Hits, QStringLiteral("0")},
              {ExceptCol::PictureIndex, QStringLiteral("3")}});
}

} // namespace

int ExceptionPicture(const QString &cell)
{
    bool ok = false;
    const int picture = TrimControls(cell).toInt(&ok);
    return ok && picture >= FirstExceptionPicture && picture <= LastExceptionPicture
               ? picture
               : int(FirstExceptionPicture);
}

TSpamSettings::TSpamSettings(const QString &folder) : m_folder(folder)
{
    SetGridHeadings();
}

QString TSpamSettings::Folder() const
{
    return m_folder.isEmpty() ? DataFolder() : m_folder;
}

QString TSpamSettings::FilePath(const QString &name) const
{
    return Folder() + u'/' + name;
}

QString TSpamSettings::ListFileName(RuleTable::Kind kind)
{
    switch (kind) {
    case RuleTable::Kind::Subject: return QStringLiteral("subj.lst");
    case RuleTable::Kind::Header: return QStringLiteral("header.lst");
    case RuleTable::Kind::From: return QStringLiteral("from.lst");
    case RuleTable::Kind::Except: return QStringLiteral("except.lst");
    }
    return QString();
}

RuleTable &TSpamSettings::table(int i)
{
    switch (i) {
    case 0: return gridSubject;
    case 1: return gridHeader;
    case 2: return gridFrom;
    default: return gridExcept;
    }
}

void TSpamSettings::readList(int i)
{
    RuleTable &grid = table(i);
    const QString name = ListFileName(grid.kind());
    QString error;
    const std::optional<QStringList> lines = ReadTextLines(FilePath(name), &error);
    m_unreadable[i] = !lines && !error.isEmpty();
    m_damaged[i] = false;
    if (!lines) {
        if (m_unreadable[i])
            m_problems.append(error);
        grid.ClearRules();
        return;
    }
    QStringList problems;
    grid.ReadLines(*lines, &problems);
    for (const QString &problem : problems)
        m_problems.append(name + u' ' + problem);
    m_damaged[i] = !problems.isEmpty();

    for (int row = 1; row < grid.RowCount(); ++row) {
        if (grid.IsRowBlank(row))
            continue;
        if (grid.kind() == RuleTable::Kind::Except)
            grid.SetPicture(row, ExceptionPicture(grid.Cells(ExceptCol::PictureIndex, row)));
        else
            CheckGridAdv(grid, row, grid.Cells(SubjectCol::Del, row) == Yes);
    }
}

void TSpamSettings::readSettings()
{
    m_problems.clear();
    for (int i = 0; i < 4; ++i)
        readList(i);

    TIniFile ini;
    QString error;
    if (!ini.Load(FilePath(IniFileName()), &error))
        m_problems.append(error);
    smaller.on = ini.ReadBool(QStringLiteral("Smaller"), QStringLiteral("QSmaller"), false);
    smaller.limit = ini.ReadInteger(QStringLiteral("Smaller"), QStringLiteral("Num"), 5);
    smaller.check = ini.ReadBool(QStringLiteral("Smaller"), QStringLiteral("Check"), true);
    larger.on = ini.ReadBool(QStringLiteral("Larger"), QStringLiteral("QLarger"), false);
    larger.limit = ini.ReadInteger(QStringLiteral("Larger"), QStringLiteral("Num"), 20000);
    larger.check = ini.ReadBool(QStringLiteral("Larger"), QStringLiteral("Check"), true);
    knownOn = ini.ReadBool(QStringLiteral("Known"), QStringLiteral("QMonitor"), true);
}

bool TSpamSettings::Savesettings(QString *errorText)
{
    QStringList errors;
    for (int i = 0; i < 4; ++i) {
        RuleTable &grid = table(i);
        const QString path = FilePath(ListFileName(grid.kind()));
        if (m_unreadable[i]) {
            errors.append(Said("Rules", "\"%1\" could not be read, so it was not overwritten").arg(path));
            continue;
        }
        if (m_damaged[i] && QFile::exists(path)) {
            const QString copy = path + QStringLiteral(".damaged");
            QFile::remove(copy);
            if (!QFile::copy(path, copy)) {
                errors.append(Said("Rules", "Cannot keep a copy of the damaged \"%1\", so it was not overwritten").arg(path));
                continue;
            }
        }
        QString error;
        if (WriteTextLines(path, grid.WriteLines(), &error))
            m_damaged[i] = false;
        else
            errors.append(error);
    }

    // Read again right before writing so the keys that other parts keep in the same file
    // survive; a file that is there but cannot be read is not replaced.
    const QString iniPath = FilePath(IniFileName());
    TIniFile ini;
    QString error;
    if (!ini.Load(iniPath, &error)) {
        errors.append(error);
    } else {
        ini.WriteBool(QStringLiteral("Smaller"), QStringLiteral("QSmaller"), smaller.on);
        ini.WriteInteger(QStringLiteral("Smaller"), QStringLiteral("Num"), smaller.limit);
        ini.WriteBool(QStringLiteral("Smaller"), QStringLiteral("Check"), smaller.check);
        ini.WriteBool(QStringLiteral("Larger"), QStringLiteral("QLarger"), larger.on);
        ini.WriteInteger(QStringLiteral("Larger"), QStringLiteral("Num"), larger.limit);
        ini.WriteBool(QStringLiteral("Larger"), QStringLiteral("Check"), larger.check);
        ini.WriteBool(QStringLiteral("Known"), QStringLiteral("QMonitor"), knownOn);
        if (!ini.Save(iniPath, &error))
            errors.append(error);
    }

    if (errorText)
        *errorText = errors.join(u'\n');
    return errors.isEmpty();
}

void TSpamSettings::SetGridHeadings()
{
    const QStringList subjects{QStringLiteral("What"), QStringLiteral("Matches"), QStringLiteral("Case"),
                               QStringLiteral("Del?"), QStringLiteral("Hits")};
    const QStringList senders{QStringLiteral("What"), QStringLiteral("Condition"), QStringLiteral("Matches"),
                              QStringLiteral("Del?"), QStringLiteral("Hits")};
    const QStringList exceptions{QStringLiteral("What"), QStringLiteral("Condition"), QStringLiteral("Matches"),
                                 QStringLiteral("Case?"), QStringLiteral("Hits")};
    for (int i = 0; i < 5; ++i) {
        gridSubject.SetCells(i + 1, 0, subjects.at(i));
        gridHeader.SetCells(i + 1, 0, subjects.at(i));
        gridFrom.SetCells(i + 1, 0, senders.at(i));
        gridExcept.SetCells(i, 0, exceptions.at(i));
    }
}

void TSpamSettings::CheckGridAdv(RuleTable &table, int row, bool del)
{
    table.SetPicture(row, del ? CheckMark : QuestionMark);
}

void TSpamSettings::DeleteDupsFromGrid(RuleTable &table)
{
    for (int row = table.RowCount() - 1; row >= 2; --row) {
        bool same = true;
        for (int col = 0; col < table.VisibleColumns() && same; ++col)
            same = table.Cells(col, row) == table.Cells(col, row - 1);
        if (same)
            table.DeleteRow(row);
    }
}

bool TSpamSettings::AddSenderToExceptions(const QString &sender)
{
    if (TrimControls(sender).isEmpty())
        return false;
    setSenderException(gridExcept, gridExcept.AppendRule(), sender);
    return true;
}

void TSpamSettings::AddSubjectForDeletion(const QString &subject)
{
    const int row = gridSubject.InsertRuleAtTop();
    setCells(gridSubject, row,
             {{SubjectCol::Operator, EqualsOp}, {SubjectCol::Text, subject}, {SubjectCol::Case, Yes},
              {SubjectCol::Del, Yes}, {SubjectCol::Hits, QStringLiteral("1")}});
    gridSubject.SetPicture(row, CheckMark);
}

void TSpamSettings::AddSenderForDeletion(const QString &sender)
{
    const int row = gridFrom.InsertRuleAtTop();
    setCells(gridFrom, row,
             {{SenderCol::What, EmailAddress}, {SenderCol::Operator, EqualsOp}, {SenderCol::Text, sender},
              {SenderCol::Del, Yes}, {SenderCol::Hits, QStringLiteral("1")}});
    gridFrom.SetPicture(row, CheckMark);
}

void TSpamSettings::addToList(const QString &subject, const QString &sender, bool addSubject,
                              bool addSender)
{
    if (subject.isEmpty())
        return;
    if (addSubject)
        AddSubjectForDeletion(subject);
    if (addSender)
        AddSenderForDeletion(sender);
}

int TSpamSettings::ImportKeywords(const QStringList &lines)
{
    int added = 0;
    for (const QString &line : lines) {
        const QString keyword = TrimControls(line);
        if (keyword.isEmpty())
            continue;
        const int row = gridSubject.AppendRule();
        setCells(gridSubject, row,
                 {{SubjectCol::Operator, ContainsWholeWord}, {SubjectCol::Text, keyword}, {SubjectCol::Case, No},
                  {SubjectCol::Del, Yes}, {SubjectCol::Hits, QStringLiteral("0")}});
        gridSubject.SetPicture(row, CheckMark);
        ++added;
    }
    return added;
}

int TSpamSettings::ImportAddresses(const QStringList &lines)
{
    int added = 0;
    for (const QString &line : lines) {
        const QString address = TrimControls(line);
        if (address.isEmpty())
            continue;
        const int row = gridExcept.AppendRule();
        setSenderException(gridExcept, row, address);
        gridExcept.SetPicture(row, FirstExceptionPicture);
        ++added;
    }
    return added;
}

bool TSpamSettings::AddFirstRunHeaderRule(const QString &userName, QString *errorText)
{
    const QString value = userName + MailBoxMark + u'1';
    // A first run again (the settings file lost, the rule lists kept) must not stack copies,
    // nor undo what the user made of the rule since.
    for (int row = 1; row < gridHeader.RowCount(); ++row)
        if (AsciiEqualsIgnoreCase(gridHeader.Cells(HeaderCol::What, row), ToDoesNotContain)
            && AsciiEqualsIgnoreCase(gridHeader.Cells(HeaderCol::Text, row), value))
            return true;
    // Only a suspect mark: a user name that is not part of the address would otherwise
    // have every message of the mailbox deleted unattended.
    const int row = gridHeader.InsertRuleAtTop();
    setCells(gridHeader, row,
             {{HeaderCol::What, ToDoesNotContain}, {HeaderCol::Text, value}, {HeaderCol::Case, No},
              {HeaderCol::Del, No}, {HeaderCol::Hits, QStringLiteral("0")}});
    gridHeader.SetPicture(row, QuestionMark);
    return Savesettings(errorText);
}

QStringList DropRepeatedLines(const QStringList &lines)
{
    QStringList kept;
    for (int i = 0; i < lines.size(); ++i)
        if (i == 0 || lines.at(i) != lines.at(i - 1))
            kept.append(lines.at(i));
    return kept;
}
