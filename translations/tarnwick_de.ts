<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Marks</name>
    <message>
        <source>marked for deletion</source>
        <translation>zum Löschen markiert</translation>
    </message>
    <message>
        <source>suspect</source>
        <translation>verdächtig</translation>
    </message>
    <message>
        <source>on the blacklist</source>
        <translation>auf der Sperrliste</translation>
    </message>
    <message>
        <source>accepted by an exception</source>
        <translation>durch eine Ausnahme angenommen</translation>
    </message>
</context>
<context>
    <name>TBlackListPage</name>
    <message>
        <source>Re-building list ... stand by</source>
        <translation>Liste wird neu aufgebaut ... bitte warten</translation>
    </message>
    <message>
        <source>Could not locate the known spammer blacklist!</source>
        <translation>Die Sperrliste bekannter Spammer wurde nicht gefunden!</translation>
    </message>
    <message>
        <source>This is an editable list of the e-mail addresses and domain names of known spammers collected from various public sources on the internet.   You may add or delete from this list.</source>
        <translation>Dies ist eine bearbeitbare Liste der E-Mail-Adressen und Domainnamen bekannter Spammer, gesammelt aus verschiedenen öffentlichen Quellen im Internet.   Sie können Einträge hinzufügen oder löschen.</translation>
    </message>
    <message>
        <source>Compare e-mail with this list of known spammers. Will be marked with :</source>
        <translation>E-Mails mit dieser Liste bekannter Spammer vergleichen. Markierung mit:</translation>
    </message>
    <message>
        <source>A sender found in the list is marked for deletion</source>
        <translation>Ein Absender aus dieser Liste wird zum Löschen markiert</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The known spammer blacklist was not saved; your changes are still in the editor.
%1</source>
        <translation>Die Sperrliste wurde nicht gespeichert; Ihre Änderungen sind noch im Editor.
%1</translation>
    </message>
    <message>
        <source>Entries: %1</source>
        <translation>Einträge: %1</translation>
    </message>
    <message>
        <source>Spam Settings</source>
        <translation>Spam-Einstellungen</translation>
    </message>
</context>
<context>
    <name>TBoxPrompts</name>
    <message>
        <source>Trust this certificate for mailbox %1 from now on? Do so only when you know that it is your mail server&apos;s own certificate.</source>
        <translation>Diesem Zertifikat für Postfach %1 ab jetzt vertrauen? Tun Sie das nur, wenn Sie wissen, dass es das Zertifikat Ihres eigenen Mailservers ist.</translation>
    </message>
    <message>
        <source>Trust it</source>
        <translation>Vertrauen</translation>
    </message>
    <message>
        <source>&amp;Keep in settings file</source>
        <translation>In Einstellungsdatei &amp;behalten</translation>
    </message>
    <message>
        <source>&amp;Do not store</source>
        <translation>&amp;Nicht speichern</translation>
    </message>
</context>
<context>
    <name>TMarkPictureModel</name>
    <message>
        <source>No rule matched: the message stays</source>
        <translation>Keine Regel traf zu: Die Nachricht bleibt</translation>
    </message>
    <message>
        <source>Marked as spam: deleted with &quot;Delete marked messages&quot;</source>
        <translation>Als Spam markiert: wird mit „Markierte löschen“ gelöscht</translation>
    </message>
    <message>
        <source>Suspect: not deleted unless you mark it</source>
        <translation>Verdächtig: wird nur gelöscht, wenn Sie sie markieren</translation>
    </message>
    <message>
        <source>Sender on the blacklist: deleted with &quot;Delete marked messages&quot;</source>
        <translation>Absender auf der Sperrliste: wird mit „Markierte löschen“ gelöscht</translation>
    </message>
    <message>
        <source>Accepted by an exception: never deleted</source>
        <translation>Durch eine Ausnahme angenommen: wird nie gelöscht</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Absender</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
</context>
<context>
    <name>TNotifier</name>
    <message>
        <source>Mailbox %1: certificate refused</source>
        <translation>Postfach %1: Zertifikat abgelehnt</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted, so Tarnwick did not log in. Check the mailbox from the main window to look at the certificate.</source>
        <translation>Dem Zertifikat des Servers wird nicht vertraut, daher hat sich Tarnwick nicht angemeldet. Prüfen Sie das Postfach im Hauptfenster, um das Zertifikat anzusehen.</translation>
    </message>
    <message>
        <source>Mailbox %1: log-in refused</source>
        <translation>Postfach %1: Anmeldung abgelehnt</translation>
    </message>
    <message>
        <source>The server refused the user name or password. Correct them in the General settings.</source>
        <translation>Der Server hat Benutzername oder Passwort abgelehnt. Korrigieren Sie sie in den allgemeinen Einstellungen.</translation>
    </message>
    <message>
        <source>Mailbox %1: server unreachable</source>
        <translation>Postfach %1: Server nicht erreichbar</translation>
    </message>
    <message>
        <source>%1
Tarnwick tries again at the next automatic check.</source>
        <translation>%1
Tarnwick versucht es bei der nächsten automatischen Prüfung erneut.</translation>
    </message>
    <message>
        <source>Mailbox %1: check failed</source>
        <translation>Postfach %1: Prüfung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Mailbox %1 skipped</source>
        <translation>Postfach %1 übersprungen</translation>
    </message>
    <message>
        <source>Its server asks for a pause between log-ins. Tarnwick tries again at the next automatic check.</source>
        <translation>Sein Server verlangt eine Pause zwischen Anmeldungen. Tarnwick versucht es bei der nächsten automatischen Prüfung erneut.</translation>
    </message>
    <message>
        <source>Mailbox %1: spam deleted</source>
        <translation>Postfach %1: Spam gelöscht</translation>
    </message>
    <message>
        <source>Messages deleted before your mail program downloaded them: %1</source>
        <translation>Gelöschte Nachrichten, bevor Ihr E-Mail-Programm sie abholte: %1</translation>
    </message>
</context>
<context>
    <name>TOperators</name>
    <message>
        <source>Contains</source>
        <translation>Enthält</translation>
    </message>
    <message>
        <source>Contains (whole word)</source>
        <translation>Enthält (ganzes Wort)</translation>
    </message>
    <message>
        <source>Equals (exact match)</source>
        <translation>Gleich (genau)</translation>
    </message>
    <message>
        <source>Starts with</source>
        <translation>Beginnt mit</translation>
    </message>
    <message>
        <source>Ends with</source>
        <translation>Endet mit</translation>
    </message>
    <message>
        <source>Is blank or empty</source>
        <translation>Ist leer</translation>
    </message>
    <message>
        <source>Is all UPPERCASE</source>
        <translation>Ist ganz in GROSSBUCHSTABEN</translation>
    </message>
    <message>
        <source>Is ALL numeric</source>
        <translation>Ist GANZ numerisch</translation>
    </message>
    <message>
        <source>Is at least 1/2 numeric</source>
        <translation>Ist mindestens zur Hälfte numerisch</translation>
    </message>
    <message>
        <source>Starts with a number</source>
        <translation>Beginnt mit einer Ziffer</translation>
    </message>
</context>
<context>
    <name>TRuleDialog</name>
    <message>
        <source>Mark message with :</source>
        <translation>Nachricht markieren mit:</translation>
    </message>
</context>
<context>
    <name>TRuleViewModel</name>
    <message>
        <source>Click to sort the rules by this column. This changes the order in which the rules are tried.</source>
        <translation>Klicken, um die Regeln nach dieser Spalte zu sortieren. Das ändert die Reihenfolge, in der die Regeln geprüft werden.</translation>
    </message>
    <message>
        <source>What</source>
        <translation>Was</translation>
    </message>
    <message>
        <source>Matches</source>
        <translation>Trifft zu auf</translation>
    </message>
    <message>
        <source>Case</source>
        <translation>Groß/klein</translation>
    </message>
    <message>
        <source>Del?</source>
        <translation>Löschen?</translation>
    </message>
    <message>
        <source>Hits</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Condition</source>
        <translation>Bedingung</translation>
    </message>
    <message>
        <source>Case?</source>
        <translation>Groß/klein?</translation>
    </message>
</context>
<context>
    <name>TSecretPlaces</name>
    <message>
        <source>The desktop keyring is not available: %2.

Tarnwick can keep the sign-in of mailbox %1 in its settings file, which only you can read, or not store it.</source>
        <translation>Der Schlüsselbund des Desktops ist nicht verfügbar: %2.

Tarnwick kann die Anmeldung von Postfach %1 in seiner Einstellungsdatei aufbewahren, die nur Sie lesen können, oder sie nicht speichern.</translation>
    </message>
    <message>
        <source>The desktop keyring is not available: %2.

Tarnwick can keep the password of mailbox %1 in its settings file, which only you can read, or not store it.</source>
        <translation>Der Schlüsselbund des Desktops ist nicht verfügbar: %2.

Tarnwick kann das Passwort von Postfach %1 in seiner Einstellungsdatei aufbewahren, die nur Sie lesen können, oder es nicht speichern.</translation>
    </message>
    <message>
        <source>The sign-in of mailbox %1 is not stored. Tarnwick uses it only until you quit; after that, and in checks nobody watches (tarnwick-cli), Tarnwick cannot log in to this mailbox until you sign in again while the desktop keyring runs.</source>
        <translation>Die Anmeldung von Postfach %1 wird nicht gespeichert. Tarnwick verwendet sie nur, bis Sie Tarnwick beenden; danach und bei unbeaufsichtigten Prüfungen (tarnwick-cli) kann Tarnwick sich bei diesem Postfach nicht anmelden, bis Sie sich erneut anmelden, während der Schlüsselbund des Desktops läuft.</translation>
    </message>
    <message>
        <source>The password of mailbox %1 is not stored. Tarnwick uses it only until you quit; after that, and in checks nobody watches (tarnwick-cli), Tarnwick cannot log in to this mailbox until you enter the password again while the desktop keyring runs.</source>
        <translation>Das Passwort von Postfach %1 wird nicht gespeichert. Tarnwick verwendet es nur, bis Sie Tarnwick beenden; danach und bei unbeaufsichtigten Prüfungen (tarnwick-cli) kann Tarnwick sich bei diesem Postfach nicht anmelden, bis Sie das Passwort erneut eingeben, während der Schlüsselbund des Desktops läuft.</translation>
    </message>
</context>
<context>
    <name>TStatsTableModel</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>Mailbox</source>
        <translation>Postfach</translation>
    </message>
    <message>
        <source># Mail</source>
        <translation>Anz. Mails</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Absender</translation>
    </message>
    <message>
        <source>Domain</source>
        <translation>Domain</translation>
    </message>
</context>
<context>
    <name>TTrayIcon</name>
    <message>
        <source>Check e-mail for spam</source>
        <translation>E-Mails auf Spam prüfen</translation>
    </message>
    <message>
        <source>Launch e-mail program</source>
        <translation>E-Mail-Programm starten</translation>
    </message>
    <message>
        <source>Main screen</source>
        <translation>Hauptfenster</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Spam</source>
        <translation>Spam</translation>
    </message>
    <message>
        <source>General</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>View log file</source>
        <translation>Protokoll anzeigen</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Enable automatic check</source>
        <translation>Automatische Prüfung einschalten</translation>
    </message>
    <message>
        <source>Disable automatic check</source>
        <translation>Automatische Prüfung ausschalten</translation>
    </message>
    <message>
        <source>Help/Info</source>
        <translation>Hilfe/Info</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>About Tarnwick</source>
        <translation>Über Tarnwick</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Tarnwick %1&lt;/h2&gt;&lt;p&gt;A mail guard for POP3 mailboxes: it lists the waiting messages, marks the spam by your rules and deletes it on the server before your mail program downloads it.&lt;/p&gt;&lt;p&gt;Ostrand Corporation&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Tarnwick %1&lt;/h2&gt;&lt;p&gt;Ein Wächter für POP3-Postfächer: Er listet die wartenden Nachrichten auf, markiert Spam nach Ihren Regeln und löscht ihn auf dem Server, bevor Ihr E-Mail-Programm ihn abholt.&lt;/p&gt;&lt;p&gt;Ostrand Corporation&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Swat a spam</source>
        <translation>Einen Spam erschlagen</translation>
    </message>
    <message>
        <source>1 spam swatted so far</source>
        <translation>Bisher 1 Spam erschlagen</translation>
    </message>
    <message>
        <source>%1 spams swatted so far</source>
        <translation>Bisher %1 Spams erschlagen</translation>
    </message>
</context>
<context>
    <name>TfrmAlwaysAccept</name>
    <message>
        <source>Accept e-mail from</source>
        <translation>E-Mail annehmen von</translation>
    </message>
    <message>
        <source>Always accept e-mail when:</source>
        <translation>E-Mail immer annehmen, wenn:</translation>
    </message>
    <message>
        <source>The explicit e-mail address is:</source>
        <translation>Die genaue E-Mail-Adresse lautet:</translation>
    </message>
    <message>
        <source>The domain name is:</source>
        <translation>Der Domainname lautet:</translation>
    </message>
    <message>
        <source>The domain is the part after the &apos;@&apos; symbol</source>
        <translation>Die Domain ist der Teil nach dem &apos;@&apos;</translation>
    </message>
    <message>
        <source>When the</source>
        <translation>Wenn die Kopfzeile</translation>
    </message>
    <message>
        <source>&amp;Check if case matters (upper/lower)</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Select an image to easily associate an incoming e-mail from a friend or mailing list.</source>
        <translation>Wählen Sie ein Bild, um eingehende E-Mails eines Bekannten oder einer Mailingliste leicht zu erkennen.</translation>
    </message>
    <message>
        <source>Picture %1</source>
        <translation>Bild %1</translation>
    </message>
</context>
<context>
    <name>TfrmChart</name>
    <message>
        <source>Day of week</source>
        <translation>Wochentag</translation>
    </message>
    <message>
        <source>Hour of day</source>
        <translation>Tageszeit</translation>
    </message>
    <message>
        <source>Day by day</source>
        <translation>Tag für Tag</translation>
    </message>
    <message>
        <source>% Deleted</source>
        <translation>% gelöscht</translation>
    </message>
    <message>
        <source>Top 10 Spam Domains</source>
        <translation>Top 10 Spam-Domains</translation>
    </message>
    <message>
        <source>Top 10 Spammers</source>
        <translation>Top 10 Spammer</translation>
    </message>
    <message>
        <source>Email traffic</source>
        <translation>E-Mail-Verkehr</translation>
    </message>
    <message>
        <source>Spam Deleted</source>
        <translation>Gelöschter Spam</translation>
    </message>
    <message>
        <source>E-mail Check</source>
        <translation>E-Mail-Prüfung</translation>
    </message>
    <message>
        <source>Number Found</source>
        <translation>Anzahl gefunden</translation>
    </message>
    <message>
        <source>Number Deleted</source>
        <translation>Anzahl gelöscht</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>&amp;Plot</source>
        <translation>&amp;Zeichnen</translation>
    </message>
    <message>
        <source>&amp;Date range...</source>
        <translation>&amp;Zeitraum...</translation>
    </message>
    <message>
        <source>P&amp;rint...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Hints</source>
        <translation>&amp;Hinweise</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Save the chart shown as a PNG picture, or the table shown as CSV text</source>
        <translation>Das gezeigte Diagramm als PNG-Bild oder die gezeigte Tabelle als CSV-Text speichern</translation>
    </message>
    <message>
        <source>Mailbox:</source>
        <translation>Postfach:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Reading the statistics&lt;/b&gt;&lt;br&gt;&lt;br&gt;Choose a mailbox and press &lt;i&gt;Plot&lt;/i&gt; to see only its checks and deletions.&lt;br&gt;&lt;i&gt;Date range...&lt;/i&gt; limits every chart and table to a period.&lt;br&gt;&lt;br&gt;&lt;i&gt;E-mail Check&lt;/i&gt; counts the checks, &lt;i&gt;Number Found&lt;/i&gt; the messages waiting at them (a message seen at several checks counts each time), &lt;i&gt;Number Deleted&lt;/i&gt; the messages deleted as spam. The dashed lines of &lt;i&gt;Day by day&lt;/i&gt; are the trends.&lt;br&gt;&lt;br&gt;&lt;i&gt;Print...&lt;/i&gt; prints the tab shown; &lt;i&gt;Save...&lt;/i&gt; saves a chart as a PNG picture or a table as CSV for a spreadsheet. Click a table&apos;s heading to sort by it.</source>
        <translation>&lt;b&gt;Die Statistik lesen&lt;/b&gt;&lt;br&gt;&lt;br&gt;Wählen Sie ein Postfach und drücken Sie &lt;i&gt;Zeichnen&lt;/i&gt;, um nur dessen Prüfungen und Löschungen zu sehen.&lt;br&gt;&lt;i&gt;Zeitraum...&lt;/i&gt; beschränkt alle Diagramme und Tabellen auf einen Zeitraum.&lt;br&gt;&lt;br&gt;&lt;i&gt;E-Mail-Prüfung&lt;/i&gt; zählt die Prüfungen, &lt;i&gt;Anzahl gefunden&lt;/i&gt; die dabei wartenden Nachrichten (eine bei mehreren Prüfungen gesehene Nachricht zählt jedes Mal), &lt;i&gt;Anzahl gelöscht&lt;/i&gt; die als Spam gelöschten Nachrichten. Die gestrichelten Linien von &lt;i&gt;Tag für Tag&lt;/i&gt; sind die Trends.&lt;br&gt;&lt;br&gt;&lt;i&gt;Drucken...&lt;/i&gt; druckt die gezeigte Registerkarte; &lt;i&gt;Speichern...&lt;/i&gt; speichert ein Diagramm als PNG-Bild oder eine Tabelle als CSV für eine Tabellenkalkulation. Ein Klick auf eine Spaltenüberschrift sortiert danach.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1 line(s) of the log were not entries Tarnwick writes and were left out (the first is line %2). Check that the file chosen is the activity log.</source>
        <translation>%1 Zeile(n) des Protokolls waren keine Einträge von Tarnwick und wurden ausgelassen (die erste ist Zeile %2). Prüfen Sie, ob die gewählte Datei das Aktivitätsprotokoll ist.</translation>
    </message>
    <message>
        <source>Share of spam deleted among the messages seen at checks</source>
        <translation>Anteil des gelöschten Spams an den bei Prüfungen gesehenen Nachrichten</translation>
    </message>
    <message>
        <source>Normal E-mail</source>
        <translation>Normale E-Mail</translation>
    </message>
    <message>
        <source>Checks and messages by day of the week</source>
        <translation>Prüfungen und Nachrichten nach Wochentag</translation>
    </message>
    <message>
        <source>Day of the week</source>
        <translation>Wochentag</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Checks and messages by time of day (half hours)</source>
        <translation>Prüfungen und Nachrichten nach Tageszeit (halbe Stunden)</translation>
    </message>
    <message>
        <source>Time of day</source>
        <translation>Tageszeit</translation>
    </message>
    <message>
        <source>Checks and messages day by day</source>
        <translation>Prüfungen und Nachrichten Tag für Tag</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Deleted</source>
        <translation>Gelöscht</translation>
    </message>
    <message>
        <source>Messages deleted</source>
        <translation>Gelöschte Nachrichten</translation>
    </message>
    <message>
        <source>The ten sender domains deleted most often</source>
        <translation>Die zehn am häufigsten gelöschten Absender-Domains</translation>
    </message>
    <message>
        <source>Sender domain</source>
        <translation>Absender-Domain</translation>
    </message>
    <message>
        <source>The ten senders deleted most often</source>
        <translation>Die zehn am häufigsten gelöschten Absender</translation>
    </message>
    <message>
        <source>Sender address</source>
        <translation>Absenderadresse</translation>
    </message>
    <message>
        <source>The table could not be saved as &quot;%1&quot;: %2. Choose a folder you may write to.</source>
        <translation>Die Tabelle konnte nicht als „%1“ gespeichert werden: %2. Wählen Sie einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
    <message>
        <source>The chart could not be saved as &quot;%1&quot;. Choose a folder you may write to.</source>
        <translation>Das Diagramm konnte nicht als „%1“ gespeichert werden. Wählen Sie einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>The printer could not be started. Check that it is switched on and set up, or print to a PDF file.</source>
        <translation>Der Drucker konnte nicht gestartet werden. Prüfen Sie, ob er eingeschaltet und eingerichtet ist, oder drucken Sie in eine PDF-Datei.</translation>
    </message>
    <message>
        <source>Save table as CSV</source>
        <translation>Tabelle als CSV speichern</translation>
    </message>
    <message>
        <source>Save chart as picture</source>
        <translation>Diagramm als Bild speichern</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>CSV-Dateien (*.csv);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;All files (*)</source>
        <translation>PNG-Bilder (*.png);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>All mailboxes</source>
        <translation>Alle Postfächer</translation>
    </message>
</context>
<context>
    <name>TfrmChartMain</name>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Activity log file:</source>
        <translation>Aktivitätsprotokoll:</translation>
    </message>
    <message>
        <source>Location of Tarnwick activity log file</source>
        <translation>Ort des Tarnwick-Aktivitätsprotokolls</translation>
    </message>
    <message>
        <source>Activity log files (*.txt);;All files (*)</source>
        <translation>Aktivitätsprotokolle (*.txt);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>TfrmGeneral</name>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Implicit TLS</source>
        <translation>Implizites TLS</translation>
    </message>
    <message>
        <source>STARTTLS</source>
        <translation>STARTTLS</translation>
    </message>
    <message>
        <source>General settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>General Settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Mailboxes</source>
        <translation>Postfächer</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatik</translation>
    </message>
    <message>
        <source>Start Up</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Activity Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Mail program</source>
        <translation>E-Mail-Programm</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Enter the name of your mail server, your user name on that server and the password you use to get your mail; your internet service provider can tell you all three. The selected mailbox is the one checked by &quot;Check e-mail&quot;. A certificate that you trust although it cannot be verified (a self-signed one) is kept as its SHA-256 fingerprint.</source>
        <translation>Geben Sie den Namen Ihres Mailservers, Ihren Benutzernamen dort und das Passwort ein, mit dem Sie Ihre Mail abholen; Ihr Internetanbieter nennt Ihnen alle drei. Das gewählte Postfach ist das, welches „E-Mail prüfen“ prüft. Ein Zertifikat, dem Sie vertrauen, obwohl es nicht geprüft werden kann (ein selbst signiertes), wird als SHA-256-Fingerabdruck gespeichert.</translation>
    </message>
    <message>
        <source>Server</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>User Name/Mailbox</source>
        <translation>Benutzername/Postfach</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Security</source>
        <translation>Sicherheit</translation>
    </message>
    <message>
        <source>Trusted certificate</source>
        <translation>Vertrautes Zertifikat</translation>
    </message>
    <message>
        <source>Pipelining</source>
        <translation>Pipelining</translation>
    </message>
    <message>
        <source>Mailbox %1</source>
        <translation>Postfach %1</translation>
    </message>
    <message>
        <source>The SHA-256 fingerprint of a certificate you trust for this mailbox (64 hexadecimal digits, colons allowed). Leave it empty to accept only certificates this computer can verify.</source>
        <translation>Der SHA-256-Fingerabdruck eines Zertifikats, dem Sie für dieses Postfach vertrauen (64 Hexadezimalziffern, Doppelpunkte erlaubt). Leer lassen, um nur Zertifikate anzunehmen, die dieser Computer prüfen kann.</translation>
    </message>
    <message>
        <source>Send the commands of a check several at a time when the server allows it, which is much faster over a slow line. Untick it for a server that stumbles over this.</source>
        <translation>Die Befehle einer Prüfung mehrere auf einmal senden, wenn der Server es erlaubt; über eine langsame Leitung ist das viel schneller. Abwählen für einen Server, der damit nicht zurechtkommt.</translation>
    </message>
    <message>
        <source>Specify a default connection to the internet:</source>
        <translation>Standardverbindung ins Internet:</translation>
    </message>
    <message>
        <source>Select &apos;none&apos; if you do not dial in to the internet.</source>
        <translation>Wählen Sie &apos;Keine&apos;, wenn Sie sich nicht ins Internet einwählen.</translation>
    </message>
    <message>
        <source>Tarnwick can run unattended and may delete e-mail without confirmation.</source>
        <translation>Tarnwick kann unbeaufsichtigt laufen und E-Mails ohne Rückfrage löschen.</translation>
    </message>
    <message>
        <source>Check e-mail manually</source>
        <translation>E-Mails von Hand prüfen</translation>
    </message>
    <message>
        <source>Check e-mail unattended or automatically</source>
        <translation>E-Mails unbeaufsichtigt bzw. automatisch prüfen</translation>
    </message>
    <message>
        <source>These options only apply if checking e-mail manually.  They do not apply when e-mail is checked automatically.</source>
        <translation>Diese Optionen gelten nur beim Prüfen von Hand.  Sie gelten nicht bei der automatischen Prüfung.</translation>
    </message>
    <message>
        <source>When deleting messages interactively, ask for confirmation</source>
        <translation>Beim Löschen von Hand nachfragen</translation>
    </message>
    <message>
        <source>After deleting spam, launch e-mail program if there is e-mail to read</source>
        <translation>Nach dem Löschen von Spam das E-Mail-Programm starten, wenn Mail zu lesen ist</translation>
    </message>
    <message>
        <source>If no mail is on the server, exit after checking e-mail</source>
        <translation>Nach der Prüfung beenden, wenn keine Mail auf dem Server ist</translation>
    </message>
    <message>
        <source>Check for mail every </source>
        <translation>Auf Mail prüfen alle </translation>
    </message>
    <message>
        <source>Delete spam automatically from all mailboxes - no confirmation?</source>
        <translation>Spam automatisch aus allen Postfächern löschen - ohne Rückfrage?</translation>
    </message>
    <message>
        <source>&amp;Play this sound file if there is e-mail on the server</source>
        <translation>Diese Klangdatei &amp;abspielen, wenn Mail auf dem Server ist</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Repeat the alarm until keypress or mouse click?</source>
        <translation>Alarm wiederholen bis Tastendruck oder Mausklick?</translation>
    </message>
    <message>
        <source>Start Tarnwick up in the system tray?</source>
        <translation>Tarnwick im Benachrichtigungsbereich starten?</translation>
    </message>
    <message>
        <source>When this is ticked, Tarnwick shows an icon in the notification area from now on, &quot;Goodbye&quot; hides the main screen to it, and the main screen stays hidden when Tarnwick starts.</source>
        <translation>Ist dies angekreuzt, zeigt Tarnwick ab jetzt ein Symbol im Benachrichtigungsbereich, „Auf Wiedersehen“ blendet das Hauptfenster dorthin aus, und das Hauptfenster bleibt beim Start verborgen.</translation>
    </message>
    <message>
        <source>Use it when Tarnwick checks your e-mail in the background.</source>
        <translation>Nutzen Sie das, wenn Tarnwick Ihre E-Mails im Hintergrund prüft.</translation>
    </message>
    <message>
        <source>This desktop has no notification area, so Tarnwick keeps its main screen: hidden, it could not be brought back or ended.</source>
        <translation>Dieser Desktop hat keinen Benachrichtigungsbereich, daher behält Tarnwick sein Hauptfenster: Verborgen könnte es weder zurückgeholt noch beendet werden.</translation>
    </message>
    <message>
        <source>Start Tarnwick when I log in to the desktop</source>
        <translation>Tarnwick bei der Anmeldung am Desktop starten</translation>
    </message>
    <message>
        <source>Notify me on the desktop about automatic checks</source>
        <translation>Auf dem Desktop über automatische Prüfungen benachrichtigen</translation>
    </message>
    <message>
        <source>Spam the automatic check deleted, and a mailbox it could not check (told once, until the mailbox works again).</source>
        <translation>Spam, den die automatische Prüfung gelöscht hat, und ein Postfach, das sie nicht prüfen konnte (einmal gemeldet, bis das Postfach wieder geht).</translation>
    </message>
    <message>
        <source>Store results in activity log file:</source>
        <translation>Ergebnisse im Aktivitätsprotokoll speichern:</translation>
    </message>
    <message>
        <source>&amp;Use the name of the log file AS IS (no changes)?</source>
        <translation>Den Namen der Protokolldatei &amp;unverändert verwenden?</translation>
    </message>
    <message>
        <source>Automatically pick a new name every &amp;month? (i.e. %1, %2, ...)</source>
        <translation>Jeden &amp;Monat automatisch einen neuen Namen wählen? (z. B. %1, %2, ...)</translation>
    </message>
    <message>
        <source>Automatically pick a new name every &amp;quarter? (%1, %2, ...)</source>
        <translation>Jedes &amp;Quartal automatisch einen neuen Namen wählen? (%1, %2, ...)</translation>
    </message>
    <message>
        <source>Spams have been deleted up till now</source>
        <translation>Spams wurden bisher gelöscht</translation>
    </message>
    <message>
        <source>&amp;View log file</source>
        <translation>Protokoll &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Clear log file</source>
        <translation>Protokoll &amp;leeren</translation>
    </message>
    <message>
        <source>&amp;Reset counter</source>
        <translation>Zähler &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>View &amp;Statistics</source>
        <translation>&amp;Statistik anzeigen</translation>
    </message>
    <message>
        <source>Mail program path/name:</source>
        <translation>Pfad/Name des E-Mail-Programms:</translation>
    </message>
    <message>
        <source>Launch mail program</source>
        <translation>E-Mail-Programm starten</translation>
    </message>
    <message>
        <source>Tarnwick does not support AOL or Compuserve mail.  Sorry.</source>
        <translation>Tarnwick unterstützt AOL- und Compuserve-Mail nicht.  Leider.</translation>
    </message>
    <message>
        <source>Mailbox %1 - the trusted certificate must be a SHA-256 fingerprint: 64 hexadecimal digits, colons allowed</source>
        <translation>Postfach %1 - das vertraute Zertifikat muss ein SHA-256-Fingerabdruck sein: 64 Hexadezimalziffern, Doppelpunkte erlaubt</translation>
    </message>
    <message>
        <source>Just a warning that you selected to automatically delete marked messages without confirmation.  It is possible to OVER delete by using this setting.</source>
        <translation>Nur ein Hinweis: Sie haben gewählt, markierte Nachrichten ohne Rückfrage automatisch zu löschen.  Mit dieser Einstellung kann ZU VIEL gelöscht werden.</translation>
    </message>
    <message>
        <source>Unable to open log file. </source>
        <translation>Die Protokolldatei kann nicht geöffnet werden. </translation>
    </message>
    <message>
        <source>If you answer Yes, you will lose any statistics related to this log file. Really clear out log file?</source>
        <translation>Wenn Sie mit Ja antworten, geht die Statistik dieser Protokolldatei verloren. Protokolldatei wirklich leeren?</translation>
    </message>
    <message>
        <source>Unable to clear log file. %1</source>
        <translation>Die Protokolldatei kann nicht geleert werden. %1</translation>
    </message>
    <message>
        <source>Really reset spam counter?</source>
        <translation>Spam-Zähler wirklich zurücksetzen?</translation>
    </message>
    <message>
        <source>Sound files</source>
        <translation>Klangdateien</translation>
    </message>
    <message>
        <source>Sound files (*.wav);;All files (*)</source>
        <translation>Klangdateien (*.wav);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Browse for log file</source>
        <translation>Protokolldatei suchen</translation>
    </message>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Textdateien (*.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Find mail program</source>
        <translation>E-Mail-Programm suchen</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keines</translation>
    </message>
</context>
<context>
    <name>TfrmHeaders</name>
    <message>
        <source>Header characteristics</source>
        <translation>Kopfzeilen-Merkmale</translation>
    </message>
    <message>
        <source>The E-mail header characteristics</source>
        <translation>Die Merkmale der E-Mail-Kopfzeilen</translation>
    </message>
    <message>
        <source>If text in the e-mail header line follows any of these patterns it will be marked for deletion since it looks like a potential spam.</source>
        <translation>Folgt der Text einer Kopfzeile einem dieser Muster, wird die Nachricht zum Löschen markiert, da sie nach Spam aussieht.</translation>
    </message>
    <message>
        <source>Message Header</source>
        <translation>Kopfzeile</translation>
    </message>
    <message>
        <source>&amp;Check if case matters (upper/lower)</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>The Sender address does not match the &apos;Reply-to&apos; address</source>
        <translation>Die Absenderadresse stimmt nicht mit der &apos;Reply-To&apos;-Adresse überein</translation>
    </message>
    <message>
        <source>The &apos;To&apos; address does not contain:</source>
        <translation>Die &apos;To&apos;-Adresse enthält nicht:</translation>
    </message>
    <message>
        <source>For Mailbox:</source>
        <translation>Für Postfach:</translation>
    </message>
    <message>
        <source>The Sender address equals the &apos;To&apos; address field</source>
        <translation>Die Absenderadresse gleicht dem &apos;To&apos;-Feld</translation>
    </message>
    <message>
        <source>check &amp;mark</source>
        <translation>&amp;Häkchen</translation>
    </message>
    <message>
        <source>&amp;question mark</source>
        <translation>&amp;Fragezeichen</translation>
    </message>
    <message>
        <source>%1) (not in the general settings now)</source>
        <translation>%1) (nicht mehr in den allgemeinen Einstellungen)</translation>
    </message>
    <message>
        <source>Set up the mailbox in the general settings first, then choose it here.</source>
        <translation>Richten Sie das Postfach zuerst in den allgemeinen Einstellungen ein und wählen Sie es dann hier.</translation>
    </message>
</context>
<context>
    <name>TfrmImportSpam</name>
    <message>
        <source>Import new keywords</source>
        <translation>Neue Stichwörter importieren</translation>
    </message>
    <message>
        <source>A quick way to enter new SPAM subject keywords is to paste them into the box above or type them in.  They should be entered one per line.  This will allow you to quickly expand the number of keywords that Tarnwick searches for.</source>
        <translation>Neue Spam-Stichwörter für den Betreff fügen Sie am schnellsten oben ein oder tippen sie ein, eines pro Zeile.  So erweitern Sie rasch die Stichwörter, nach denen Tarnwick sucht.</translation>
    </message>
    <message>
        <source>&amp;Load from file...</source>
        <translation>Aus &amp;Datei laden...</translation>
    </message>
    <message>
        <source>Adds the lines of a text file to the box</source>
        <translation>Fügt die Zeilen einer Textdatei hinzu</translation>
    </message>
    <message>
        <source>Import keywords into the subject list</source>
        <translation>Stichwörter in die Betreffliste importieren</translation>
    </message>
    <message>
        <source>Import addresses into the exceptions list</source>
        <translation>Adressen in die Ausnahmeliste importieren</translation>
    </message>
    <message>
        <source>Import spam keywords into the subject list</source>
        <translation>Spam-Stichwörter in die Betreffliste importieren</translation>
    </message>
    <message>
        <source>Import e-mail addresses into the exceptions list</source>
        <translation>E-Mail-Adressen in die Ausnahmeliste importieren</translation>
    </message>
    <message>
        <source>Paste or type the addresses of senders whose mail is always accepted, one per line.  Each becomes an exception rule.</source>
        <translation>Fügen Sie die Adressen von Absendern ein, deren Mail immer angenommen wird, eine pro Zeile.  Jede wird eine Ausnahmeregel.</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is too large for a list of one entry per line (more than %2 MB); nothing was added.</source>
        <translation>„%1“ ist zu groß für eine Liste mit einem Eintrag pro Zeile (mehr als %2 MB); nichts wurde hinzugefügt.</translation>
    </message>
    <message>
        <source>Added %1 line(s) from &quot;%2&quot;.</source>
        <translation>%1 Zeile(n) aus „%2“ hinzugefügt.</translation>
    </message>
    <message>
        <source> Skipped %1 line(s) that were not text or longer than %2 characters.</source>
        <translation> %1 Zeile(n) übersprungen, die kein Text oder länger als %2 Zeichen waren.</translation>
    </message>
    <message>
        <source> The file does not look like a text file.</source>
        <translation> Die Datei sieht nicht wie eine Textdatei aus.</translation>
    </message>
    <message>
        <source>Load a list</source>
        <translation>Liste laden</translation>
    </message>
    <message>
        <source>Text files (*.txt *.lst *.csv);;All files (*)</source>
        <translation>Textdateien (*.txt *.lst *.csv);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Right click for more options, double click to mark</source>
        <translation>Rechtsklick für weitere Optionen, Doppelklick zum Markieren</translation>
    </message>
    <message>
        <source>Quickly eliminate junk e-mail before it gets to your mailbox</source>
        <translation>Werbemüll beseitigen, bevor er in Ihrem Postfach landet</translation>
    </message>
    <message>
        <source>&amp;Goodbye</source>
        <translation>&amp;Auf Wiedersehen</translation>
    </message>
    <message>
        <source>&amp;Hide</source>
        <translation>&amp;Ausblenden</translation>
    </message>
    <message>
        <source>Ca&amp;ncel</source>
        <translation>Abbre&amp;chen</translation>
    </message>
    <message>
        <source>&amp;Check e-mail</source>
        <translation>E-Mail &amp;prüfen</translation>
    </message>
    <message>
        <source>&amp;Mark messages</source>
        <translation>Nachrichten &amp;markieren</translation>
    </message>
    <message>
        <source>&amp;Delete marked messages</source>
        <translation>Markierte &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;Reset all marks</source>
        <translation>Alle Markierungen &amp;zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;Auto-mark messages</source>
        <translation>&amp;Automatisch markieren</translation>
    </message>
    <message>
        <source>&amp;Launch e-mail program</source>
        <translation>E-Mail-Programm &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Settings and more</source>
        <translation>&amp;Einstellungen und mehr</translation>
    </message>
    <message>
        <source>Goodbye</source>
        <translation>Auf Wiedersehen</translation>
    </message>
    <message>
        <source>Spam settings</source>
        <translation>Spam-Einstellungen</translation>
    </message>
    <message>
        <source>General settings</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Stats</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Why was this e-mail marked?</source>
        <translation>Warum wurde diese E-Mail markiert?</translation>
    </message>
    <message>
        <source>Add selected sender(s) to exceptions list</source>
        <translation>Gewählte Absender zur Ausnahmeliste hinzufügen</translation>
    </message>
    <message>
        <source>Add selected message(s) to spam list</source>
        <translation>Gewählte Nachrichten zur Spamliste hinzufügen</translation>
    </message>
    <message>
        <source>View selected message(s) headers</source>
        <translation>Kopfzeilen der gewählten Nachrichten anzeigen</translation>
    </message>
    <message>
        <source>View body of one message</source>
        <translation>Text einer Nachricht anzeigen</translation>
    </message>
    <message>
        <source>Mailbox %1: %2 on %3</source>
        <translation>Postfach %1: %2 auf %3</translation>
    </message>
    <message>
        <source>Unable to open help file - tarnwick.html.
The manual is not where the program was installed (share/tarnwick/help). Install Tarnwick again to put it back.</source>
        <translation>Die Hilfedatei tarnwick.html kann nicht geöffnet werden.
Das Handbuch liegt nicht dort, wo das Programm installiert wurde (share/tarnwick/help). Installieren Sie Tarnwick erneut, um es wiederherzustellen.</translation>
    </message>
    <message>
        <source>Unable to open help file - tarnwick.html.
The desktop has no program set up to show web pages. Open %1 in a web browser.</source>
        <translation>Die Hilfedatei tarnwick.html kann nicht geöffnet werden.
Der Desktop hat kein Programm für Webseiten. Öffnen Sie %1 in einem Webbrowser.</translation>
    </message>
</context>
<context>
    <name>TfrmMarkForDeletion</name>
    <message>
        <source>Mark e-mail for deletion</source>
        <translation>E-Mail zum Löschen markieren</translation>
    </message>
    <message>
        <source>Mark these messages to delete</source>
        <translation>Diese Nachrichten zum Löschen markieren</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>&amp;Always delete mail from these particular senders</source>
        <translation>Mail dieser Absender &amp;immer löschen</translation>
    </message>
    <message>
        <source>Always &amp;delete mail with these particular subject headings</source>
        <translation>Mail mit diesen Betreffzeilen immer &amp;löschen</translation>
    </message>
    <message>
        <source>The new rules are in use, but the rule lists could not be stored:
%1</source>
        <translation>Die neuen Regeln gelten, aber die Regellisten konnten nicht gespeichert werden:
%1</translation>
    </message>
</context>
<context>
    <name>TfrmOptionsFROM</name>
    <message>
        <source>Sender characteristics</source>
        <translation>Absender-Merkmale</translation>
    </message>
    <message>
        <source>The Sender characteristics</source>
        <translation>Die Merkmale des Absenders</translation>
    </message>
    <message>
        <source>If the sender matches the distinguishing characteristics below it will be marked for deletion.</source>
        <translation>Passt der Absender zu den folgenden Merkmalen, wird die Nachricht zum Löschen markiert.</translation>
    </message>
    <message>
        <source>The sender&apos;s e-mail/domain address (as viewed on the main screen):</source>
        <translation>Die E-Mail- bzw. Domainadresse des Absenders (wie im Hauptfenster):</translation>
    </message>
    <message>
        <source>E-mail address</source>
        <translation>E-Mail-Adresse</translation>
    </message>
    <message>
        <source>Domain name</source>
        <translation>Domainname</translation>
    </message>
    <message>
        <source>An e-mail address includes the domain.</source>
        <translation>Eine E-Mail-Adresse enthält die Domain.</translation>
    </message>
    <message>
        <source>The domain is after the @ symbol.</source>
        <translation>Die Domain steht nach dem @.</translation>
    </message>
    <message>
        <source>All numeric: every character before the @ is a digit, as in 12345678@mail.example.com.</source>
        <translation>Nur Ziffern: Jedes Zeichen vor dem @ ist eine Ziffer, wie in 12345678@mail.example.com.</translation>
    </message>
    <message>
        <source>At least 1/2 numeric: half or more of the characters before the @ are digits, as in ab1234@mail.example.com.</source>
        <translation>Mindestens zur Hälfte Ziffern: Die Hälfte oder mehr der Zeichen vor dem @ sind Ziffern, wie in ab1234@mail.example.com.</translation>
    </message>
    <message>
        <source>&amp;check mark</source>
        <translation>&amp;Häkchen</translation>
    </message>
    <message>
        <source>&amp;question mark</source>
        <translation>&amp;Fragezeichen</translation>
    </message>
</context>
<context>
    <name>TfrmOptionsMain</name>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>Spam Settings</source>
        <translation>Spam-Einstellungen</translation>
    </message>
    <message>
        <source>If a subject line matches the criteria below the email will be considered a SPAM</source>
        <translation>Passt eine Betreffzeile zu den folgenden Kriterien, gilt die E-Mail als SPAM</translation>
    </message>
    <message>
        <source>Subject</source>
        <translation>Betreff</translation>
    </message>
    <message>
        <source>If an e-mail header matches a criteria below it will be considered a SPAM.</source>
        <translation>Passt eine Kopfzeile zu einem der folgenden Kriterien, gilt die E-Mail als SPAM.</translation>
    </message>
    <message>
        <source>Headers</source>
        <translation>Kopfzeilen</translation>
    </message>
    <message>
        <source>If a message is from someone matching a pattern below it will be considered a SPAM</source>
        <translation>Stammt eine Nachricht von jemandem, der zu einem der folgenden Muster passt, gilt sie als SPAM</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Absender</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Always accept e-mail under the following conditions. Message will be marked with a bitmap.</source>
        <translation>E-Mail unter den folgenden Bedingungen immer annehmen. Die Nachricht wird mit einem Bild markiert.</translation>
    </message>
    <message>
        <source>Exceptions</source>
        <translation>Ausnahmen</translation>
    </message>
    <message>
        <source>BlackList</source>
        <translation>Sperrliste</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Tarnwick - Email Header Settings</source>
        <translation>Tarnwick - Kopfzeilen-Einstellungen</translation>
    </message>
    <message>
        <source>Tarnwick - Sender Settings</source>
        <translation>Tarnwick - Absender-Einstellungen</translation>
    </message>
    <message>
        <source>Tarnwick - List of Exceptions </source>
        <translation>Tarnwick - Liste der Ausnahmen </translation>
    </message>
    <message>
        <source>Tarnwick - Subject Line Settings</source>
        <translation>Tarnwick - Betreff-Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>I&amp;mport</source>
        <translation>I&amp;mportieren</translation>
    </message>
    <message>
        <source>Move item up one row</source>
        <translation>Eintrag eine Zeile nach oben</translation>
    </message>
    <message>
        <source>Move item down one row</source>
        <translation>Eintrag eine Zeile nach unten</translation>
    </message>
    <message>
        <source>Note: Only messages with a check mark will be deleted.  The question mark is to notify you of a potential spam message to delete.</source>
        <translation>Hinweis: Nur Nachrichten mit Häkchen werden gelöscht.  Das Fragezeichen weist Sie auf möglichen Spam hin, den Sie löschen können.</translation>
    </message>
    <message>
        <source>check mark</source>
        <translation>Häkchen</translation>
    </message>
    <message>
        <source>question</source>
        <translation>Fragezeichen</translation>
    </message>
    <message>
        <source>bytes, </source>
        <translation>Bytes, </translation>
    </message>
    <message>
        <source>then mark the message with a</source>
        <translation>dann die Nachricht markieren mit</translation>
    </message>
    <message>
        <source>If the message size is smaller than</source>
        <translation>Ist die Nachricht kleiner als</translation>
    </message>
    <message>
        <source>If the message size is larger than</source>
        <translation>Ist die Nachricht größer als</translation>
    </message>
    <message>
        <source>1 rule</source>
        <translation>1 Regel</translation>
    </message>
    <message>
        <source>%1 rules</source>
        <translation>%1 Regeln</translation>
    </message>
    <message>
        <source>Error: nothing selected to edit</source>
        <translation>Fehler: Nichts zum Bearbeiten ausgewählt</translation>
    </message>
    <message>
        <source>The spam settings could not be saved:
</source>
        <translation>Die Spam-Einstellungen konnten nicht gespeichert werden:
</translation>
    </message>
    <message>
        <source>Move up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Nach unten</translation>
    </message>
</context>
<context>
    <name>TfrmOptionsSubject</name>
    <message>
        <source>Subject line options</source>
        <translation>Betreff-Optionen</translation>
    </message>
    <message>
        <source>The Subject line characteristics</source>
        <translation>Die Merkmale der Betreffzeile</translation>
    </message>
    <message>
        <source>If text in the subject line follows any of these patterns it will be marked for deletion since it looks like a potential spam.</source>
        <translation>Folgt der Text der Betreffzeile einem dieser Muster, wird die Nachricht zum Löschen markiert, da sie nach Spam aussieht.</translation>
    </message>
    <message>
        <source>The subject line:</source>
        <translation>Die Betreffzeile:</translation>
    </message>
    <message>
        <source>&amp;Check if case matters (upper/lower)</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>check &amp;mark</source>
        <translation>&amp;Häkchen</translation>
    </message>
    <message>
        <source>&amp;question mark</source>
        <translation>&amp;Fragezeichen</translation>
    </message>
    <message>
        <source>Note: Only messages with a check mark will be deleted.</source>
        <translation>Hinweis: Nur Nachrichten mit Häkchen werden gelöscht.</translation>
    </message>
</context>
<context>
    <name>TfrmRetrieving</name>
    <message>
        <source>Retrieving ...</source>
        <translation>Abrufen ...</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Mailbox:</source>
        <translation>Postfach:</translation>
    </message>
    <message>
        <source>Click to cancel</source>
        <translation>Zum Abbrechen klicken</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>Waiting for the server: %1 so far</source>
        <translation>Warten auf den Server: bisher %1</translation>
    </message>
</context>
<context>
    <name>TfrmSelectDateRange</name>
    <message>
        <source>Select date range</source>
        <translation>Zeitraum wählen</translation>
    </message>
    <message>
        <source>between</source>
        <translation>zwischen</translation>
    </message>
    <message>
        <source>during the previous</source>
        <translation>in den letzten</translation>
    </message>
    <message>
        <source>and</source>
        <translation>und</translation>
    </message>
    <message>
        <source>months</source>
        <translation>Monaten</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tagen</translation>
    </message>
</context>
<context>
    <name>TfrmSplash</name>
    <message>
        <source>Reading rules and settings ...</source>
        <translation>Regeln und Einstellungen werden gelesen ...</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>TfrmViewHeader</name>
    <message>
        <source>View Selected Headers</source>
        <translation>Ausgewählte Kopfzeilen</translation>
    </message>
    <message>
        <source>Open in mail program</source>
        <translation>Im E-Mail-Programm öffnen</translation>
    </message>
    <message>
        <source>Show the whole message, with its pictures and attachments, in the desktop&apos;s program for e-mail files</source>
        <translation>Die ganze Nachricht mit Bildern und Anhängen im E-Mail-Programm des Desktops zeigen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>The message file %1 is gone. View the message again to download it once more.</source>
        <translation>Die Nachrichtendatei %1 ist nicht mehr da. Zeigen Sie die Nachricht erneut an, um sie noch einmal herunterzuladen.</translation>
    </message>
    <message>
        <source>The desktop has no program set up for e-mail files (.eml). The message is saved as %1; open it with your mail program.</source>
        <translation>Der Desktop hat kein Programm für E-Mail-Dateien (.eml). Die Nachricht ist als %1 gespeichert; öffnen Sie sie mit Ihrem E-Mail-Programm.</translation>
    </message>
    <message>
        <source>Contents of selected e-mail headers</source>
        <translation>Inhalt der ausgewählten Kopfzeilen</translation>
    </message>
    <message>
        <source>Reasons that e-mail is marked or not marked</source>
        <translation>Gründe, warum die E-Mail markiert ist oder nicht</translation>
    </message>
    <message>
        <source>Contents of e-mail</source>
        <translation>Inhalt der E-Mail</translation>
    </message>
    <message>
        <source>Why Was This E-mail Marked?</source>
        <translation>Warum wurde diese E-Mail markiert?</translation>
    </message>
    <message>
        <source>View Message Body</source>
        <translation>Nachrichtentext anzeigen</translation>
    </message>
</context>
<context>
    <name>TfrmWhichMailbox</name>
    <message>
        <source>Which Mailbox?</source>
        <translation>Welches Postfach?</translation>
    </message>
    <message>
        <source>Which mailbox do you wish to check?</source>
        <translation>Welches Postfach möchten Sie prüfen?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Checks your POP3 mailboxes and deletes spam on the server before it is downloaded.</source>
        <translation>Prüft Ihre POP3-Postfächer und löscht Spam auf dem Server, bevor er heruntergeladen wird.</translation>
    </message>
    <message>
        <source>Start in the notification area, without the window.</source>
        <translation>Im Benachrichtigungsbereich starten, ohne Fenster.</translation>
    </message>
    <message>
        <source>Check the selected mailbox as soon as the program has started.</source>
        <translation>Das gewählte Postfach prüfen, sobald das Programm gestartet ist.</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>unerwartetes Argument %1</translation>
    </message>
</context>
</TS>
