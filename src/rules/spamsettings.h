#pragma once

#include "ruletable.h"

#include <QString>
#include <QStringList>
#include <array>

// One size rule: on/off, the limit in bytes, and whether a match asks for the check mark
// (else the question mark).
struct TSizeRule
{
    bool on = false;
    int limit = 0;
    bool check = true;
};

// The live rule set: the four rule lists and the size and blacklist settings, read once at
// start and shared by everything that evaluates, edits or adds rules. The spam-settings
// window shows these same objects; nothing keeps a copy.
//
// Files live in the data folder: "subj.lst", "header.lst", "from.lst", "except.lst" and the
// sections "Smaller", "Larger" and "Known" of "tarnwick.ini".
class TSpamSettings
{
public:
    // folder: where the files are; empty means the data folder, looked up at each read and
    // save.
    explicit TSpamSettings(const QString &folder = QString());
    TSpamSettings(const TSpamSettings &) = delete;
    TSpamSettings &operator=(const TSpamSettings &) = delete;

    QString Folder() const;
    QString FilePath(const QString &name) const;
    static QString ListFileName(RuleTable::Kind kind);
    static QString IniFileName() { return QStringLiteral("tarnwick.ini"); }

    RuleTable gridSubject{RuleTable::Kind::Subject};
    RuleTable gridHeader{RuleTable::Kind::Header};
    RuleTable gridFrom{RuleTable::Kind::From};
    RuleTable gridExcept{RuleTable::Kind::Except};

    TSizeRule smaller{false, 5, true};   // "Smaller": QSmaller, Num, Check
    TSizeRule larger{false, 20000, true}; // "Larger": QLarger, Num, Check
    bool knownOn = true;                  // "Known": QMonitor

    // Reads the four lists and the seven values; a missing file gives an empty list or the
    // defaults. Never fails: what could not be read or was damaged is described in
    // ReadProblems() (one line per problem, naming the file).
    void readSettings();
    QStringList ReadProblems() const { return m_problems; }

    // Writes the four lists and the seven values, each file replaced whole or not at all.
    // Other keys of "tarnwick.ini" are kept. A list whose file existed but could not be read
    // is not overwritten, and a damaged list file is first copied to "<name>.damaged", so
    // nothing the reader had to skip is lost. Returns false when anything was not written;
    // errorText then says what, one line per file.
    bool Savesettings(QString *errorText = nullptr);

    void SetGridHeadings();
    // Row 1 ... RowCount-1: picture 0 when del, else 1; other rows are left alone.
    static void CheckGridAdv(RuleTable &table, int row, bool del);
    // Removes each row whose shown cells equal those of the row directly above.
    static void DeleteDupsFromGrid(RuleTable &table);

    // --- rules added from outside the editor ---

    // An "E-mail address Equals" exception for the sender, at the end. A blank sender adds
    // nothing (false): an empty address rule would accept every message.
    bool AddSenderToExceptions(const QString &sender);
    // Check-mark rules at the top of the subject and sender lists, with one hit.
    void AddSubjectForDeletion(const QString &subject);
    void AddSenderForDeletion(const QString &sender);
    // One message of the mark-for-deletion dialog; a message with an empty subject adds
    // nothing, not even its sender.
    void addToList(const QString &subject, const QString &sender, bool addSubject, bool addSender);
    // One rule per line, at the end; blank lines are skipped, others trimmed. Returns the
    // number of rules added.
    int ImportKeywords(const QStringList &lines);
    int ImportAddresses(const QStringList &lines);
    // The first-run rule "To does not contain <user> - MailBox #1" (question mark, Del? "No")
    // at the top of the header list, then everything is saved. Nothing is added (true) when
    // the list already has a rule with that kind and value.
    bool AddFirstRunHeaderRule(const QString &userName, QString *errorText = nullptr);

private:
    RuleTable &table(int i);
    void readList(int i);

    QString m_folder;
    QStringList m_problems;
    // Per list, in the order subject, header, sender, exceptions.
    std::array<bool, 4> m_unreadable{};
    std::array<bool, 4> m_damaged{};
};

// Drops each line that is identical (case-sensitive) to the line directly above it, as the
// import dialog does before handing its lines over.
QStringList DropRepeatedLines(const QStringList &lines);
