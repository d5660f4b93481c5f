#pragma once

#include "mailboxsetup.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabWidget;
class QWidget;
class TAlarmSound;
class TPrompts;
class TSpamSettings;

// "General settings": the twelve mailboxes, the dial-up connection, the automatic mode, the
// start-up, the activity log and the mail program, on six tabs.
//
// The dialog edits copies of the settings (Edit before each showing; the constructor's for
// the first): each showing fills the controls from them, OK checks the controls and stores
// them, and only then do they become the copies Stored() hands back. Cancel leaves the
// copies as they were given. It is created once and kept for the whole run; the first-run
// rules go by the settings it was created with.
class TfrmGeneral : public QDialog
{
    Q_OBJECT

public:
    TfrmGeneral(UserSettings &store, const TSettingsEdit &settings, TSpamSettings &spam, TPrompts &prompts,
                QWidget *parent = nullptr);
    ~TfrmGeneral() override;

    // --- what the dialog reaches outside itself ---
    // The mail program for an empty box (the desktop's mailto handler by default).
    void SetMailProgramFinder(std::function<QString()> finder) { m_findMailProgram = std::move(finder); }
    // Slot 1 for a fresh installation (the old clients, then Thunderbird, by default).
    void SetMailboxImporter(std::function<std::optional<ImportedMailbox>()> importer)
    {
        m_importMailbox = std::move(importer);
    }
    // "Launch mail program" on the last tab.
    void SetLauncher(std::function<void()> launch) { m_launch = std::move(launch); }
    // "View Statistics"; the button is greyed while none is set.
    void SetStatistics(std::function<void()> statistics);
    // "&Help": opens the manual.
    void SetHelp(std::function<void()> help) { m_help = std::move(help); }
    // The player behind "Test".
    void SetAlarm(TAlarmSound *alarm) { m_alarm = alarm; }
    // The dial-up entries after "None", in the order the dial-up component lists them. A stored
    // position beyond them (the phone book shrank, or there is no dial-up service) shows and
    // is stored as "None", as the dial-up component treats it.
    void SetPhoneBook(const QStringList &entries);

    // The settings the next showing edits.
    void Edit(const TSettingsEdit &settings)
    {
        m_edit = settings;
        m_stored = false;
    }
    // The settings as stored since Edit: null when nothing was (Cancel).
    const TSettingsEdit *Stored() const { return m_stored ? &m_edit : nullptr; }

    // --- controls, named as the settings name them ---
    QTabWidget *PageControl1 = nullptr;
    std::array<QRadioButton *, kMailboxSlots> rbMailbox{};
    std::array<QLineEdit *, kMailboxSlots> edServe{};
    std::array<QLineEdit *, kMailboxSlots> edName{};
    std::array<QLineEdit *, kMailboxSlots> edPass{};
    std::array<QComboBox *, kMailboxSlots> cbTls{};
    std::array<QLineEdit *, kMailboxSlots> edFingerprint{};
    std::array<QCheckBox *, kMailboxSlots> cbPipelining{};
    std::array<QComboBox *, kMailboxSlots> cbProtocol{};  // POP3, IMAP
    std::array<QLineEdit *, kMailboxSlots> edFolder{};     // IMAP only
    std::array<QComboBox *, kMailboxSlots> cbDeletion{};   // IMAP only: Junk, Trash, for good
    QListWidget *lstRas = nullptr;
    QRadioButton *rbManual = nullptr;
    QRadioButton *rbAuto = nullptr;
    QSpinBox *nMinutes = nullptr;
    QCheckBox *cbKill = nullptr;
    QCheckBox *cbAlarm = nullptr;
    QLineEdit *edAlarm = nullptr;
    QCheckBox *cbRepeat = nullptr;
    QPushButton *btTest = nullptr;
    QCheckBox *cbConfirmation = nullptr;
    QCheckBox *cbLaunch = nullptr;
    QCheckBox *cbExit = nullptr;
    QCheckBox *cbSysTray = nullptr;
    QCheckBox *cbAutostart = nullptr; // the desktop session's autostart entry
    QCheckBox *cbNotify = nullptr;    // desktop notifications about automatic checks
    QLineEdit *edLog = nullptr;
    QRadioButton *rbAsIs = nullptr;
    QRadioButton *rbMonth = nullptr;
    QRadioButton *rbQuarter = nullptr;
    QLabel *lblCount = nullptr;
    QPushButton *btViewLog = nullptr;
    QPushButton *btClearLog = nullptr;
    QPushButton *btResetCounter = nullptr;
    QPushButton *btStatistics = nullptr;
    QLineEdit *edMail = nullptr;
    QPushButton *btLaunch = nullptr;
    QPushButton *btOK = nullptr;
    QPushButton *btCancel = nullptr;
    QPushButton *btHelp = nullptr;
    QPushButton *btAddMailbox = nullptr;

    void btOKClick();
    void btCancelClick();
    // "Add mailbox...": the assistant, whose mailbox fills the first free slot.
    void btAddMailboxClick();
    // Puts slot into the first slot whose server and user name are empty and selects it;
    // returns its number, or 0 (and says so) when all are taken.
    int AddMailbox(const MailboxSlot &slot);
    // "View log file": the file named on the tab.
    void btViewLogClick();
    // The tray's "View log file": the given file in the desktop's viewer, or why not.
    void ViewLog(const QString &file);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void reject() override;

private:
    QWidget *makeMailboxesTab();
    // Row i's protocol, folder and deletion action.
    void addImapControls(QWidget *page, QGridLayout *grid, int i);
    void showImapControls(int i);
    void protocolChanged(int i);
    QWidget *makeConnectionTab();
    QWidget *makeAutomaticTab();
    QWidget *makeStartUpTab();
    QWidget *makeLogTab();
    QWidget *makeMailProgramTab();

    void FormShow();
    void fillFromSettings(const GeneralSettings &g);
    void fillServers(const ServerSettings &servers);
    GeneralSettings generalFromControls() const;
    ServerSettings serversFromControls() const;
    void updatePanels();
    void showRas(int stored);
    void showMailboxProblem(int slot, QWidget *box, const QString &message);

    void btTestClick();
    void btClearLogClick();
    void btResetCounterClick();
    void browseAlarm();
    void browseLog();
    void browseMail();

    UserSettings &m_store;
    TSettingsEdit m_edit;
    TFirstRun m_firstRun; // slot 1 was empty when the dialog was created
    TSpamSettings &m_spam;
    TPrompts &m_prompts;

    std::function<QString()> m_findMailProgram;
    std::function<std::optional<ImportedMailbox>()> m_importMailbox;
    std::function<void()> m_launch;
    std::function<void()> m_statistics;
    std::function<void()> m_help;
    TAlarmSound *m_alarm = nullptr;

    QButtonGroup *m_slotGroup = nullptr;
    QStackedWidget *m_modePanels = nullptr;
    QWidget *m_soundGroup = nullptr;
    QLabel *m_noTrayNote = nullptr;

    bool m_stored = false;      // OK stored m_edit (or its general part) since Edit
    bool m_killAtShow = false;  // to warn only about a newly ticked automatic delete
    bool m_countReset = false;  // "Reset counter" pressed; stored with OK
    int m_ras = 0;
    QStringList m_phoneBook;
    bool m_passwordWarningShown = false;
};

// The texts of the TLS choice, in the order of TlsMode.
QStringList TlsModeNames();
