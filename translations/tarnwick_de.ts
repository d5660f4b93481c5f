<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Cli</name>
    <message>
        <source>Usage: tarnwick-classify [--data DIR] [--why] FILE...
Marks each mail message FILE with the rules of the data folder and prints
one line per file: the mark, a tab, the file name.

  --data DIR  the folder with the rule lists, known.lst and tarnwick.ini
              (default: $TARNWICK_HOME, else the program&apos;s data folder)
  --why       after each line, the reasons for the mark, indented
  --help      this text
  --version   the version of the program

Marks: -1 none, 0 delete, 1 suspect, 2 blacklisted (delete), 3-14 accepted
by an exception. Hit counts and files are never changed.
Exit status: 0 when every file was read, 1 when a file could not be read,
2 on a usage error.
</source>
        <translation>Aufruf: tarnwick-classify [--data DIR] [--why] DATEI...
Markiert jede E-Mail-Datei DATEI mit den Regeln des Datenordners und gibt
eine Zeile je Datei aus: die Markierung, ein Tabulator, der Dateiname.

  --data DIR  der Ordner mit den Regellisten, known.lst und tarnwick.ini
              (Vorgabe: $TARNWICK_HOME, sonst der Datenordner des Programms)
  --why       nach jeder Zeile die Gründe für die Markierung, eingerückt
  --help      dieser Text
  --version   die Version des Programms

Markierungen: -1 keine, 0 löschen, 1 verdächtig, 2 auf der Sperrliste
(löschen), 3-14 durch eine Ausnahme angenommen. Trefferzahlen und Dateien
werden nie geändert.
Exit-Status: 0, wenn jede Datei gelesen wurde, 1, wenn eine Datei nicht
gelesen werden konnte, 2 bei einem Aufruffehler.
</translation>
    </message>
    <message>
        <source>this text</source>
        <translation>dieser Text</translation>
    </message>
    <message>
        <source>the version of the program</source>
        <translation>die Version des Programms</translation>
    </message>
    <message>
        <source>the data folder</source>
        <translation>der Datenordner</translation>
    </message>
    <message>
        <source>the reasons for each mark</source>
        <translation>die Gründe für jede Markierung</translation>
    </message>
    <message>
        <source>a saved mail message</source>
        <translation>eine gespeicherte E-Mail</translation>
    </message>
    <message>
        <source>no message files given</source>
        <translation>keine Nachrichtendateien angegeben</translation>
    </message>
    <message>
        <source>no data folder %1</source>
        <translation>kein Datenordner %1</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>run tarnwick-cli --help for the commands and their options</source>
        <translation>tarnwick-cli --help zeigt die Befehle und ihre Optionen</translation>
    </message>
    <message>
        <source>If this is the certificate you expect, trust it with: tarnwick-cli mailbox set %1 --trust-fingerprint %2</source>
        <translation>Wenn dies das erwartete Zertifikat ist, vertrauen Sie ihm mit: tarnwick-cli mailbox set %1 --trust-fingerprint %2</translation>
    </message>
    <message>
        <source>check: unknown argument %1</source>
        <translation>check: unbekanntes Argument %1</translation>
    </message>
    <message>
        <source>check takes --slot or --all, not both</source>
        <translation>check nimmt --slot oder --all, nicht beides</translation>
    </message>
    <message>
        <source>--slot needs a mailbox number from 1 to %1</source>
        <translation>--slot braucht eine Postfachnummer von 1 bis %1</translation>
    </message>
    <message>
        <source>error: No mailbox is set up. Add one with: tarnwick-cli mailbox set 1 --server HOST --user NAME --password-stdin</source>
        <translation>Fehler: Es ist kein Postfach eingerichtet. Fügen Sie eines hinzu mit: tarnwick-cli mailbox set 1 --server HOST --user NAME --password-stdin</translation>
    </message>
    <message>
        <source>Set the mailbox up with: tarnwick-cli mailbox set N --server HOST --user NAME --password-stdin</source>
        <translation>Richten Sie das Postfach ein mit: tarnwick-cli mailbox set N --server HOST --user NAME --password-stdin</translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>No messages are marked for deletion.</source>
        <translation>Keine Nachrichten sind zum Löschen markiert.</translation>
    </message>
    <message>
        <source>Deleted %1 of %2 marked messages.</source>
        <translation>%1 von %2 markierten Nachrichten gelöscht.</translation>
    </message>
    <message>
        <source>classify: no message files given</source>
        <translation>classify: keine Nachrichtendateien angegeben</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>%1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 and 999 numbered copies of it exist already in %2; clean up the folder or choose another one</source>
        <translation>%1 und 999 nummerierte Kopien davon gibt es bereits in %2; räumen Sie den Ordner auf oder wählen Sie einen anderen</translation>
    </message>
    <message>
        <source>cannot create the folder %1; check the path and your permissions</source>
        <translation>der Ordner %1 kann nicht angelegt werden; prüfen Sie den Pfad und Ihre Berechtigungen</translation>
    </message>
    <message>
        <source>--save-attachments needs a folder</source>
        <translation>--save-attachments braucht einen Ordner</translation>
    </message>
    <message>
        <source>show takes one message file</source>
        <translation>show nimmt eine Nachrichtendatei</translation>
    </message>
    <message>
        <source>show: no message file given</source>
        <translation>show: keine Nachrichtendatei angegeben</translation>
    </message>
    <message>
        <source>From: %1
</source>
        <translation>Von: %1
</translation>
    </message>
    <message>
        <source>Subject: %1
</source>
        <translation>Betreff: %1
</translation>
    </message>
    <message>
        <source>Date: %1
</source>
        <translation>Datum: %1
</translation>
    </message>
    <message>
        <source>The body could not be read: %1

</source>
        <translation>Der Nachrichtentext konnte nicht gelesen werden: %1

</translation>
    </message>
    <message>
        <source>(add --save-attachments DIR to write the original message and any attachments read before the error)</source>
        <translation>(mit --save-attachments DIR werden die ursprüngliche Nachricht und alle vor dem Fehler gelesenen Anhänge geschrieben)</translation>
    </message>
    <message>
        <source>%1: unknown option %2%3</source>
        <translation>%1: unbekannte Option %2%3</translation>
    </message>
    <message>
        <source>The data folder (settings.ini, rule lists, known.lst, log); default: $TARNWICK_HOME, else the program&apos;s data folder.</source>
        <translation>Der Datenordner (settings.ini, Regellisten, known.lst, Protokoll); Vorgabe: $TARNWICK_HOME, sonst der Datenordner des Programms.</translation>
    </message>
    <message>
        <source>check, mailbox, classify, show or rules</source>
        <translation>check, mailbox, classify, show oder rules</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>a password is never given on the command line (other users can see it there): use --password-stdin</source>
        <translation>ein Passwort wird nie auf der Befehlszeile angegeben (andere Benutzer können es dort sehen): Verwenden Sie --password-stdin</translation>
    </message>
    <message>
        <source>unknown command %1</source>
        <translation>unbekannter Befehl %1</translation>
    </message>
    <message>
        <source>warning: %1 To keep a password there and end this warning: tarnwick-cli mailbox set N --store file</source>
        <translation>Warnung: %1 Um ein Passwort dort zu behalten und diese Warnung zu beenden: tarnwick-cli mailbox set N --store file</translation>
    </message>
    <message>
        <source>mailbox needs set, test or list</source>
        <translation>mailbox braucht set, test oder list</translation>
    </message>
    <message>
        <source>mailbox %1 takes no --%2</source>
        <translation>mailbox %1 nimmt kein --%2</translation>
    </message>
    <message>
        <source>mailbox: unknown command %1</source>
        <translation>mailbox: unbekannter Befehl %1</translation>
    </message>
    <message>
        <source>--protocol takes pop3 or imap</source>
        <translation>--protocol nimmt pop3 oder imap</translation>
    </message>
    <message>
        <source>--%1 needs the name of a folder on the server</source>
        <translation>--%1 braucht den Namen eines Ordners auf dem Server</translation>
    </message>
    <message>
        <source>--imap-delete takes junk, trash or delete</source>
        <translation>--imap-delete nimmt junk, trash oder delete</translation>
    </message>
    <message>
        <source>--max-unseen takes a number from 1 to %1</source>
        <translation>--max-unseen nimmt eine Zahl von 1 bis %1</translation>
    </message>
    <message>
        <source>give one of --whole-folder and --unseen-only</source>
        <translation>geben Sie nur eines von --whole-folder und --unseen-only an</translation>
    </message>
    <message>
        <source>token</source>
        <translation>Token</translation>
    </message>
    <message>
        <source>password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>; %1 in the desktop keyring</source>
        <translation>; %1 im Schlüsselbund des Desktops</translation>
    </message>
    <message>
        <source>; %1 from a command at each log-in</source>
        <translation>; %1 bei jeder Anmeldung von einem Befehl</translation>
    </message>
    <message>
        <source>Open this address in a browser to sign in and allow Tarnwick to read your mail:</source>
        <translation>Öffnen Sie diese Adresse in einem Browser, um sich anzumelden und Tarnwick das Lesen Ihrer E-Mails zu erlauben:</translation>
    </message>
    <message>
        <source>(no browser could be started here: open the address on this computer by hand)</source>
        <translation>(hier konnte kein Browser gestartet werden: Öffnen Sie die Adresse auf diesem Computer von Hand)</translation>
    </message>
    <message>
        <source>mailbox set needs a slot number</source>
        <translation>mailbox set braucht eine Postfachnummer</translation>
    </message>
    <message>
        <source>mailbox set: the slot must be a number from 1 to %1</source>
        <translation>mailbox set: Das Postfach muss eine Nummer von 1 bis %1 sein</translation>
    </message>
    <message>
        <source>mailbox set: unknown argument %1</source>
        <translation>mailbox set: unbekanntes Argument %1</translation>
    </message>
    <message>
        <source>--tls takes none, implicit or stls</source>
        <translation>--tls nimmt none, implicit oder stls</translation>
    </message>
    <message>
        <source>--trust-fingerprint needs the certificate&apos;s SHA-256 fingerprint: 64 hex digits, with or without colons</source>
        <translation>--trust-fingerprint braucht den SHA-256-Fingerabdruck des Zertifikats: 64 Hexadezimalziffern, mit oder ohne Doppelpunkte</translation>
    </message>
    <message>
        <source>--server needs a host name, optionally with :PORT</source>
        <translation>--server braucht einen Rechnernamen, wahlweise mit :PORT</translation>
    </message>
    <message>
        <source>--user needs the user name of the mailbox on the server</source>
        <translation>--user braucht den Benutzernamen des Postfachs auf dem Server</translation>
    </message>
    <message>
        <source>--store takes keyring or file</source>
        <translation>--store nimmt keyring oder file</translation>
    </message>
    <message>
        <source>give one of --password-stdin, --password-command and --token-command</source>
        <translation>geben Sie nur eines von --password-stdin, --password-command und --token-command an</translation>
    </message>
    <message>
        <source>--%1 needs a command line</source>
        <translation>--%1 braucht eine Befehlszeile</translation>
    </message>
    <message>
        <source>--store keeps a password given on standard input; a command&apos;s secret is never stored</source>
        <translation>--store behält ein auf der Standardeingabe gegebenes Passwort; das Geheimnis eines Befehls wird nie gespeichert</translation>
    </message>
    <message>
        <source>--auth takes password or oauth2</source>
        <translation>--auth nimmt password oder oauth2</translation>
    </message>
    <message>
        <source>--auth %1 does not go with that secret: a password for --auth password (--password-stdin, --password-command), a token for oauth2 (--token-command)</source>
        <translation>--auth %1 passt nicht zu diesem Geheimnis: ein Passwort für --auth password (--password-stdin, --password-command), ein Token für oauth2 (--token-command)</translation>
    </message>
    <message>
        <source>--provider takes google or microsoft</source>
        <translation>--provider nimmt google oder microsoft</translation>
    </message>
    <message>
        <source>--provider goes with --auth oauth2</source>
        <translation>--provider gehört zu --auth oauth2</translation>
    </message>
    <message>
        <source>warning: mailbox %1 is read over POP3, which has no folders: the IMAP settings are kept for when you switch it with --protocol imap</source>
        <translation>Warnung: Postfach %1 wird über POP3 gelesen, das keine Ordner kennt: Die IMAP-Einstellungen bleiben für den Fall erhalten, dass Sie es mit --protocol imap umstellen</translation>
    </message>
    <message>
        <source>error: no password on standard input: give it as one line</source>
        <translation>Fehler: kein Passwort auf der Standardeingabe: Geben Sie es als eine Zeile ein</translation>
    </message>
    <message>
        <source>error: the password must not contain line breaks or NUL characters</source>
        <translation>Fehler: Das Passwort darf keine Zeilenumbrüche oder NUL-Zeichen enthalten</translation>
    </message>
    <message>
        <source>error: Tarnwick does not know whom to ask for a sign-in to %1: give --provider google or --provider microsoft, or --token-command for another provider</source>
        <translation>Fehler: Tarnwick weiß nicht, wo es eine Anmeldung für %1 erfragen soll: Geben Sie --provider google oder --provider microsoft an, oder --token-command für einen anderen Anbieter</translation>
    </message>
    <message>
        <source>error: give --user with the mailbox&apos;s e-mail address before signing in</source>
        <translation>Fehler: Geben Sie vor der Anmeldung --user mit der E-Mail-Adresse des Postfachs an</translation>
    </message>
    <message>
        <source>error: the sign-in of mailbox %1 could not be kept: %2. Start a desktop keyring (GNOME Keyring, KWallet) in this session, or keep it in the settings file, readable by you only, with --store file</source>
        <translation>Fehler: Die Anmeldung von Postfach %1 konnte nicht aufbewahrt werden: %2. Starten Sie einen Schlüsselbund (GNOME Keyring, KWallet) in dieser Sitzung, oder bewahren Sie sie mit --store file in der Einstellungsdatei auf, nur für Sie lesbar</translation>
    </message>
    <message>
        <source>error: mailbox %1 gets its secret from a command, so there is nothing to store: give the password with --password-stdin</source>
        <translation>Fehler: Postfach %1 bekommt sein Geheimnis von einem Befehl, daher gibt es nichts zu speichern: Geben Sie das Passwort mit --password-stdin an</translation>
    </message>
    <message>
        <source>error: %1: give --server, --user and --password-stdin for a new mailbox</source>
        <translation>Fehler: %1: Geben Sie für ein neues Postfach --server, --user und --password-stdin an</translation>
    </message>
    <message>
        <source>error: the password of mailbox %1 was not stored: %2. Start a desktop keyring (GNOME Keyring, KWallet) in this session, or keep the password in the settings file, readable by you only, with --store file</source>
        <translation>Fehler: Das Passwort von Postfach %1 wurde nicht gespeichert: %2. Starten Sie einen Schlüsselbund (GNOME Keyring, KWallet) in dieser Sitzung, oder bewahren Sie das Passwort mit --store file in der Einstellungsdatei auf, nur für Sie lesbar</translation>
    </message>
    <message>
        <source>error: %1: put that mailbox right first (tarnwick-cli mailbox set %2 ...)</source>
        <translation>Fehler: %1: Berichtigen Sie zuerst dieses Postfach (tarnwick-cli mailbox set %2 ...)</translation>
    </message>
    <message>
        <source>warning: the old secret of mailbox %1 stays in the desktop keyring: %2</source>
        <translation>Warnung: Das alte Geheimnis von Postfach %1 bleibt im Schlüsselbund des Desktops: %2</translation>
    </message>
    <message>
        <source>warning: no activity log was set up: %1</source>
        <translation>Warnung: Es wurde kein Aktivitätsprotokoll eingerichtet: %1</translation>
    </message>
    <message>
        <source>warning: the rule for mail not addressed to %1 was not stored: %2</source>
        <translation>Warnung: Die Regel für E-Mails, die nicht an %1 adressiert sind, wurde nicht gespeichert: %2</translation>
    </message>
    <message>
        <source>Mailbox %1 stored: %2 on %3%4, security %5%6%7%8
</source>
        <translation>Postfach %1 gespeichert: %2 auf %3%4, Sicherheit %5%6%7%8
</translation>
    </message>
    <message>
        <source>, trusted certificate </source>
        <translation>, vertrautes Zertifikat </translation>
    </message>
    <message>
        <source>mailbox test needs one slot number from 1 to %1</source>
        <translation>mailbox test braucht eine Postfachnummer von 1 bis %1</translation>
    </message>
    <message>
        <source>error: mailbox %1 is not set up: tarnwick-cli mailbox set %1 --server HOST --user NAME --password-stdin</source>
        <translation>Fehler: Postfach %1 ist nicht eingerichtet: tarnwick-cli mailbox set %1 --server HOST --user NAME --password-stdin</translation>
    </message>
    <message>
        <source>No mailbox is set up. Add one with: tarnwick-cli mailbox set 1 --server HOST --user NAME --password-stdin</source>
        <translation>Es ist kein Postfach eingerichtet. Fügen Sie eines hinzu mit: tarnwick-cli mailbox set 1 --server HOST --user NAME --password-stdin</translation>
    </message>
    <message>
        <source>  rules list [subject|header|sender|except|blacklist]
      Prints the rules, one per line: the list, the rule&apos;s number and its
      cells (as the rule editor shows them), separated by tabs; the
      blacklist one entry per line.
  rules add subject [--op OP] [--case] [--suspect] [TEXT]
  rules add header [--kind line|reply-to|to-lacks|sender-is-to] [--op OP]
                   [--case] [--suspect] [--mailbox N] [TEXT]
  rules add sender [--kind domain|address] [--op OP] [--suspect] [TEXT]
  rules add except [--kind address|domain|subject|cc|reply-to|to|any-header]
                   [--op OP] [--case] [--picture 3-14] TEXT
      Adds a rule at the end of its list, with the checks of the rule
      dialogs. OP is one of the dialog&apos;s operators (&quot;Contains&quot;, &quot;Contains
      (whole word)&quot;, &quot;Equals&quot;, &quot;Starts with&quot;, &quot;Ends with&quot;, for subjects
      and senders also &quot;Is blank&quot; and &quot;Is UPPERCASE&quot;, for senders also
      &quot;All numeric&quot;, &quot;50% numeric&quot;, &quot;First char numeric&quot;); default
      &quot;Contains&quot; (&quot;Equals&quot; for senders). A rule marks for deletion unless
      --suspect makes it mark with a question mark. A header rule of kind
      to-lacks takes the address as TEXT and the mailbox with --mailbox.
  rules add blacklist ENTRY...
      Adds addresses or domain names to the known spammer blacklist.
  rules remove subject|header|sender|except N...
  rules remove blacklist ENTRY...
      Removes rules by the number &quot;rules list&quot; shows, or blacklist entries.
  rules test [--why] FILE...
      Marks saved mail files with the rules, as tarnwick-classify does.
</source>
        <translation>  rules list [subject|header|sender|except|blacklist]
      Gibt die Regeln aus, eine je Zeile: die Liste, die Nummer der Regel und
      ihre Zellen (wie der Regeleditor sie zeigt), durch Tabulatoren getrennt;
      die Sperrliste einen Eintrag je Zeile.
  rules add subject [--op OP] [--case] [--suspect] [TEXT]
  rules add header [--kind line|reply-to|to-lacks|sender-is-to] [--op OP]
                   [--case] [--suspect] [--mailbox N] [TEXT]
  rules add sender [--kind domain|address] [--op OP] [--suspect] [TEXT]
  rules add except [--kind address|domain|subject|cc|reply-to|to|any-header]
                   [--op OP] [--case] [--picture 3-14] TEXT
      Fügt eine Regel am Ende ihrer Liste hinzu, mit den Prüfungen der
      Regeldialoge. OP ist einer der Operatoren des Dialogs (&quot;Contains&quot;,
      &quot;Contains (whole word)&quot;, &quot;Equals&quot;, &quot;Starts with&quot;, &quot;Ends with&quot;, für
      Betreff und Absender auch &quot;Is blank&quot; und &quot;Is UPPERCASE&quot;, für Absender
      auch &quot;All numeric&quot;, &quot;50% numeric&quot;, &quot;First char numeric&quot;); Vorgabe
      &quot;Contains&quot; (&quot;Equals&quot; für Absender). Eine Regel markiert zum Löschen,
      es sei denn, --suspect lässt sie mit einem Fragezeichen markieren. Eine
      Kopfzeilenregel der Art to-lacks nimmt die Adresse als TEXT und das
      Postfach mit --mailbox.
  rules add blacklist EINTRAG...
      Fügt Adressen oder Domainnamen zur Sperrliste bekannter Spammer hinzu.
  rules remove subject|header|sender|except N...
  rules remove blacklist EINTRAG...
      Entfernt Regeln nach der Nummer, die &quot;rules list&quot; zeigt, oder Einträge
      der Sperrliste.
  rules test [--why] DATEI...
      Markiert gespeicherte E-Mail-Dateien mit den Regeln, wie
      tarnwick-classify.
</translation>
    </message>
    <message>
        <source>error: the rule lists were not saved: %1</source>
        <translation>Fehler: Die Regellisten wurden nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>--op for %1 rules takes one of %2</source>
        <translation>--op für %1-Regeln nimmt eines von %2</translation>
    </message>
    <message>
        <source>--picture takes a picture number from 3 to 14</source>
        <translation>--picture nimmt eine Bildnummer von 3 bis 14</translation>
    </message>
    <message>
        <source>the rule was not added: %1</source>
        <translation>die Regel wurde nicht hinzugefügt: %1</translation>
    </message>
    <message>
        <source>the rule was not added: &quot;%1&quot; compares with no text</source>
        <translation>die Regel wurde nicht hinzugefügt: „%1“ vergleicht mit keinem Text</translation>
    </message>
    <message>
        <source>the %1 list has no rule %2 (it has %3; see tarnwick-cli rules list %1)</source>
        <translation>die Liste %1 hat keine Regel %2 (sie hat %3; siehe tarnwick-cli rules list %1)</translation>
    </message>
    <message>
        <source>error: Could not locate the known spammer blacklist! %1 %2</source>
        <translation>Fehler: Die Sperrliste bekannter Spammer wurde nicht gefunden! %1 %2</translation>
    </message>
    <message>
        <source>a blacklist entry is one address or domain name, not blank</source>
        <translation>ein Eintrag der Sperrliste ist eine Adresse oder ein Domainname, nicht leer</translation>
    </message>
    <message>
        <source>%1 is not taken: an address of only digits and underscores before the @ is generated, never a known spammer</source>
        <translation>%1 wird nicht aufgenommen: Eine Adresse aus nur Ziffern und Unterstrichen vor dem @ ist erzeugt, nie ein bekannter Spammer</translation>
    </message>
    <message>
        <source>%1 is not on the blacklist</source>
        <translation>%1 steht nicht auf der Sperrliste</translation>
    </message>
    <message>
        <source>error: the blacklist was not saved: %1</source>
        <translation>Fehler: Die Sperrliste wurde nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>warning: Could not locate the known spammer blacklist! %1</source>
        <translation>Warnung: Die Sperrliste bekannter Spammer wurde nicht gefunden! %1</translation>
    </message>
    <message>
        <source>rules %1 %2 takes no --%3</source>
        <translation>rules %1 %2 nimmt kein --%3</translation>
    </message>
    <message>
        <source>rules test: no message files given</source>
        <translation>rules test: keine Nachrichtendateien angegeben</translation>
    </message>
    <message>
        <source>rules: no list %1; the lists are %2</source>
        <translation>rules: keine Liste %1; die Listen sind %2</translation>
    </message>
    <message>
        <source>rules list takes at most one list</source>
        <translation>rules list nimmt höchstens eine Liste</translation>
    </message>
    <message>
        <source>rules needs list, add, remove or test</source>
        <translation>rules braucht list, add, remove oder test</translation>
    </message>
    <message>
        <source>rules %1 needs a list: %2</source>
        <translation>rules %1 braucht eine Liste: %2</translation>
    </message>
    <message>
        <source>rules %1 blacklist needs an entry</source>
        <translation>rules %1 blacklist braucht einen Eintrag</translation>
    </message>
    <message>
        <source>rules remove %1 needs a rule number</source>
        <translation>rules remove %1 braucht eine Regelnummer</translation>
    </message>
    <message>
        <source>rules add takes one TEXT; put a text with spaces in quotes</source>
        <translation>rules add nimmt einen TEXT; setzen Sie einen Text mit Leerzeichen in Anführungszeichen</translation>
    </message>
    <message>
        <source>Tarnwick without a window: checks and cleans mailboxes, sets them up, keeps the rules.</source>
        <translation>Tarnwick ohne Fenster: prüft und bereinigt Postfächer, richtet sie ein, pflegt die Regeln.</translation>
    </message>
    <message>
        <source>
Commands:
  check [--slot N | --all] [--delete] [--json]
      Checks mailbox slot N (default: the one selected in the settings) and
      prints one line per waiting message: mark, sender, subject, separated
      by tabs. With --all every configured mailbox is checked, all at once
      (at most 4 connections to one server) and printed in mailbox order;
      each line then starts with the mailbox number and a tab. With
      --delete the messages marked for deletion (marks 0 and 2) are deleted
      on the server without a question (an IMAP server that can only flag
      them leaves their removal to your mail program: standard error says
      so, and --json as &quot;notice&quot;). Writes the activity log and keeps
      the rules&apos; hit counts, as a check in the window does.
  mailbox set N [--server HOST[:PORT]] [--user NAME] [--tls none|implicit|stls]
                [--trust-fingerprint HEX|none] [--password-stdin]
                [--store keyring|file] [--password-command CMD | --token-command CMD]
                [--protocol pop3|imap] [--folder NAME] [--imap-delete junk|trash|delete]
                [--junk-folder NAME] [--trash-folder NAME] [--max-unseen N]
                [--whole-folder | --unseen-only]
                [--auth password|oauth2] [--provider google|microsoft]
      Stores mailbox slot N (1-12). The password is read from standard input
      (one line), never from the command line. Options left out keep what
      the slot had; a new slot needs a server, a user name and a password,
      and uses implicit TLS (port 995) unless --tls says otherwise.
      The password goes to the desktop keyring; where none answers it is
      refused unless --store file keeps it in the settings file (readable
      by you only). --password-command runs CMD at each log-in and takes
      the first line it prints as the password; --token-command does the
      same for an OAuth2 access token (the mailbox then logs in with
      XOAUTH2 or OAUTHBEARER). Nothing is stored for a command.
      --protocol imap reads an IMAP folder instead (--folder, default INBOX;
      port 993 with implicit TLS, else 143). A check looks at the newest
      unseen messages only (--max-unseen, default 500; --whole-folder takes
      every message, --unseen-only goes back) and marks nothing read.
      Deleting moves a message to Junk (--imap-delete junk, the default), to
      Trash, or deletes it for good; --junk-folder and --trash-folder name
      those folders on a server that marks none as such.
      --auth oauth2 signs in at the provider (--provider, else the one of the
      server or the address; a new slot gets the provider&apos;s server): the
      address to open in a browser is printed, and the refresh token goes
      where a password would. --auth password logs in with the password.
  mailbox test N
      Logs in to mailbox N, reads what the server offers and logs out: the
      security, the log-in method, pipelining, UIDL (IMAP: IDLE, UIDPLUS and
      the folder&apos;s messages) and the server&apos;s answer.
  mailbox list [--json]
      Shows the mailbox slots (never their passwords); * marks the selected one.
  classify [--why] FILE...
      Marks saved mail files with the rules, as tarnwick-classify does.
  show FILE [--save-attachments DIR] [--json]
      Prints a saved message: sender, recipients, subject, date, the text
      body, and one line per attachment (name, content type, size in bytes),
      separated by tabs. With --save-attachments the attachments are written
      into DIR (created when missing) under their cleaned names; an existing
      file is never replaced: the copy is named &quot;name (1).ext&quot; and so on.
%1
--json prints one JSON document on standard output instead of lines, for
scripts; messages for people still go to standard error.
--data DIR may also follow the command.

Marks: -1 none, 0 delete, 1 suspect, 2 blacklisted (delete), 3-14 accepted
by an exception.

Exit status:
   0  success
   1  the command failed (the reason is on standard error)
   2  usage error, also a rule the rule dialogs would refuse
  75  temporary failure, worth trying again later: the server could not be
      reached or did not answer in time, it asked for a pause between
      log-ins, or the mailbox was in use
  77  permanent failure: the server refused the log-in, or its certificate
      was refused; change the settings before trying again
With --all: 77 when any mailbox failed permanently, else 1 when any failed
otherwise, else 75 when any failed for a while.
</source>
        <translation>
Befehle:
  check [--slot N | --all] [--delete] [--json]
      Prüft Postfach N (Vorgabe: das in den Einstellungen gewählte) und gibt
      eine Zeile je wartender Nachricht aus: Markierung, Absender, Betreff,
      durch Tabulatoren getrennt. Mit --all wird jedes eingerichtete Postfach
      geprüft, alle zugleich (höchstens 4 Verbindungen zu einem Server), und
      in der Reihenfolge der Postfächer ausgegeben; jede Zeile beginnt dann
      mit der Postfachnummer und einem Tabulator. Mit --delete werden die zum
      Löschen markierten Nachrichten (Markierungen 0 und 2) ohne Rückfrage auf
      dem Server gelöscht (ein IMAP-Server, der sie nur kennzeichnen kann,
      überlässt das Entfernen Ihrem E-Mail-Programm: die Standardfehlerausgabe
      sagt es, und --json als &quot;notice&quot;). Schreibt das Aktivitätsprotokoll und führt die
      Trefferzahlen der Regeln fort, wie eine Prüfung im Fenster.
  mailbox set N [--server HOST[:PORT]] [--user NAME] [--tls none|implicit|stls]
                [--trust-fingerprint HEX|none] [--password-stdin]
                [--store keyring|file] [--password-command CMD | --token-command CMD]
                [--protocol pop3|imap] [--folder NAME] [--imap-delete junk|trash|delete]
                [--junk-folder NAME] [--trash-folder NAME] [--max-unseen N]
                [--whole-folder | --unseen-only]
                [--auth password|oauth2] [--provider google|microsoft]
      Speichert Postfach N (1-12). Das Passwort wird von der Standardeingabe
      gelesen (eine Zeile), nie von der Befehlszeile. Weggelassene Optionen
      behalten, was das Postfach hatte; ein neues Postfach braucht einen
      Server, einen Benutzernamen und ein Passwort und verwendet implizites
      TLS (Port 995), sofern --tls nichts anderes sagt.
      Das Passwort kommt in den Schlüsselbund des Desktops; wo keiner
      antwortet, wird es abgelehnt, es sei denn, --store file behält es in
      der Einstellungsdatei (nur für Sie lesbar). --password-command führt
      CMD bei jeder Anmeldung aus und nimmt die erste ausgegebene Zeile als
      Passwort; --token-command tut dasselbe für ein OAuth2-Zugriffstoken
      (das Postfach meldet sich dann mit XOAUTH2 oder OAUTHBEARER an). Für
      einen Befehl wird nichts gespeichert.
      --protocol imap liest stattdessen einen IMAP-Ordner (--folder, Vorgabe
      INBOX; Port 993 mit implizitem TLS, sonst 143). Eine Prüfung betrachtet
      nur die neuesten ungelesenen Nachrichten (--max-unseen, Vorgabe 500;
      --whole-folder nimmt jede Nachricht, --unseen-only kehrt zurück) und
      markiert nichts als gelesen.
      Löschen verschiebt eine Nachricht in den Spam-Ordner (--imap-delete
      junk, die Vorgabe), in den Papierkorb oder löscht sie endgültig;
      --junk-folder und --trash-folder benennen diese Ordner auf einem
      Server, der keine als solche kennzeichnet.
      --auth oauth2 meldet sich beim Anbieter an (--provider, sonst der des
      Servers oder der Adresse; ein neues Postfach erhält den Server des
      Anbieters): Die im Browser zu öffnende Adresse wird ausgegeben, und das
      Refresh-Token kommt dorthin, wo ein Passwort hinkäme. --auth password
      meldet sich mit dem Passwort an.
  mailbox test N
      Meldet sich an Postfach N an, liest, was der Server anbietet, und meldet
      sich ab: die Sicherheit, die Anmeldemethode, Pipelining, UIDL (IMAP: IDLE,
      UIDPLUS und die Nachrichten des Ordners) und die Antwort des Servers.
  mailbox list [--json]
      Zeigt die Postfächer (nie ihre Passwörter); * kennzeichnet das gewählte.
  classify [--why] DATEI...
      Markiert gespeicherte E-Mail-Dateien mit den Regeln, wie
      tarnwick-classify.
  show DATEI [--save-attachments DIR] [--json]
      Gibt eine gespeicherte Nachricht aus: Absender, Empfänger, Betreff,
      Datum, den Nachrichtentext und eine Zeile je Anhang (Name, Inhaltstyp,
      Größe in Byte), durch Tabulatoren getrennt. Mit --save-attachments
      werden die Anhänge unter ihren bereinigten Namen in DIR geschrieben
      (angelegt, wenn er fehlt); eine vorhandene Datei wird nie ersetzt: Die
      Kopie heißt &quot;Name (1).ext&quot; und so weiter.
%1
--json gibt statt Zeilen ein JSON-Dokument auf der Standardausgabe aus, für
Skripte; Meldungen für Menschen gehen weiterhin auf die Standardfehlerausgabe.
--data DIR darf auch nach dem Befehl stehen.

Markierungen: -1 keine, 0 löschen, 1 verdächtig, 2 auf der Sperrliste
(löschen), 3-14 durch eine Ausnahme angenommen.

Exit-Status:
   0  Erfolg
   1  der Befehl ist fehlgeschlagen (der Grund steht auf der
      Standardfehlerausgabe)
   2  Aufruffehler, auch eine Regel, die die Regeldialoge ablehnen würden
  75  vorübergehender Fehler, später erneut zu versuchen: Der Server war
      nicht erreichbar oder hat nicht rechtzeitig geantwortet, er verlangte
      eine Pause zwischen Anmeldungen, oder das Postfach war belegt
  77  dauerhafter Fehler: Der Server hat die Anmeldung abgelehnt, oder sein
      Zertifikat wurde abgelehnt; ändern Sie die Einstellungen, bevor Sie es
      erneut versuchen
Mit --all: 77, wenn ein Postfach dauerhaft fehlschlug, sonst 1, wenn eines
anders fehlschlug, sonst 75, wenn eines vorübergehend fehlschlug.
</translation>
    </message>
</context>
<context>
    <name>Data</name>
    <message>
        <source>Cannot read &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot;: %2</source>
        <translation>„%1“ kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>Tarnwick could not stop starting with your desktop: the file &quot;%1&quot; cannot be removed (%2). Remove it yourself, or check that you may write to its folder.</source>
        <translation>Tarnwick konnte den Start mit Ihrem Desktop nicht abschalten: Die Datei „%1“ kann nicht entfernt werden (%2). Entfernen Sie sie selbst, oder prüfen Sie, ob Sie in ihren Ordner schreiben dürfen.</translation>
    </message>
    <message>
        <source>Tarnwick could not set itself to start with your desktop: the folder &quot;%1&quot; cannot be created. Check that you may write to it, then save again.</source>
        <translation>Tarnwick konnte sich nicht für den Start mit Ihrem Desktop einrichten: Der Ordner „%1“ kann nicht angelegt werden. Prüfen Sie, ob Sie dorthin schreiben dürfen, und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>Tarnwick could not set itself to start with your desktop. %1. Check that you may write to &quot;%2&quot;, then save again.</source>
        <translation>Tarnwick konnte sich nicht für den Start mit Ihrem Desktop einrichten. %1. Prüfen Sie, ob Sie nach „%2“ schreiben dürfen, und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>the folder could not be renamed</source>
        <translation>der Ordner konnte nicht umbenannt werden</translation>
    </message>
    <message>
        <source>The settings still name files in &quot;%1&quot;: %2. Choose the log file and the alarm sound again in the General settings.</source>
        <translation>Die Einstellungen nennen noch Dateien in „%1“: %2. Wählen Sie die Protokolldatei und den Alarmklang in den allgemeinen Einstellungen erneut.</translation>
    </message>
    <message>
        <source>The old settings file &quot;%1&quot; was not moved: &quot;%2&quot; is there already and is the one Tarnwick uses. Compare the two and remove the one you do not need.</source>
        <translation>Die alte Einstellungsdatei „%1“ wurde nicht verschoben: „%2“ ist bereits vorhanden und wird von Tarnwick verwendet. Vergleichen Sie beide und entfernen Sie die, die Sie nicht brauchen.</translation>
    </message>
    <message>
        <source>the folder &quot;%1&quot; cannot be made</source>
        <translation>der Ordner „%1“ kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; could not be moved to &quot;%2&quot; (%3), so Tarnwick starts with the default settings. Move the file there yourself while Tarnwick is not running.</source>
        <translation>Die Einstellungsdatei „%1“ konnte nicht nach „%2“ verschoben werden (%3), daher startet Tarnwick mit den Standardeinstellungen. Verschieben Sie die Datei selbst dorthin, während Tarnwick nicht läuft.</translation>
    </message>
    <message>
        <source>Moved the settings from &quot;%1&quot; to &quot;%2&quot;.</source>
        <translation>Die Einstellungen wurden von „%1“ nach „%2“ verschoben.</translation>
    </message>
    <message>
        <source>Left in &quot;%1&quot;: %2. Files of these names are in &quot;%3&quot; already and are the ones Tarnwick uses; compare them and remove what you do not need.</source>
        <translation>In „%1“ belassen: %2. Dateien dieser Namen sind bereits in „%3“ und werden von Tarnwick verwendet; vergleichen Sie sie und entfernen Sie, was Sie nicht brauchen.</translation>
    </message>
    <message>
        <source>Left in &quot;%1&quot;: %2. They could not be moved to &quot;%3&quot; (%4), so Tarnwick does not see them; move them there yourself while Tarnwick is not running.</source>
        <translation>In „%1“ belassen: %2. Sie konnten nicht nach „%3“ verschoben werden (%4), daher sieht Tarnwick sie nicht; verschieben Sie sie selbst dorthin, während Tarnwick nicht läuft.</translation>
    </message>
    <message>
        <source>the program has not started its event handling</source>
        <translation>das Programm hat seine Ereignisverarbeitung nicht gestartet</translation>
    </message>
    <message>
        <source>the keyring did not answer within %1 seconds (is it locked?)</source>
        <translation>der Schlüsselbund hat nicht innerhalb von %1 Sekunden geantwortet (ist er gesperrt?)</translation>
    </message>
    <message>
        <source>no desktop keyring (Secret Service) answers in this session</source>
        <translation>in dieser Sitzung antwortet kein Schlüsselbund (Secret Service)</translation>
    </message>
    <message>
        <source>the keyring refused (error %1)</source>
        <translation>der Schlüsselbund hat abgelehnt (Fehler %1)</translation>
    </message>
    <message>
        <source>The %1 of mailbox %2 (%3)</source>
        <translation>Der %1 von Postfach %2 (%3)</translation>
    </message>
    <message>
        <source>%1 could not be started: %2</source>
        <translation>%1 konnte nicht gestartet werden: %2</translation>
    </message>
    <message>
        <source>%1 did not finish within %2 seconds</source>
        <translation>%1 wurde nicht innerhalb von %2 Sekunden fertig</translation>
    </message>
    <message>
        <source>%1 crashed</source>
        <translation>%1 ist abgestürzt</translation>
    </message>
    <message>
        <source>%1 failed with exit status %2</source>
        <translation>%1 ist mit Exit-Status %2 fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 printed no secret: its first line of output is empty</source>
        <translation>%1 hat kein Geheimnis ausgegeben: Die erste Zeile seiner Ausgabe ist leer</translation>
    </message>
    <message>
        <source>%1 printed a NUL character</source>
        <translation>%1 hat ein NUL-Zeichen ausgegeben</translation>
    </message>
    <message>
        <source>token command</source>
        <translation>Token-Befehl</translation>
    </message>
    <message>
        <source>password command</source>
        <translation>Passwort-Befehl</translation>
    </message>
    <message>
        <source>The password of mailbox %1 could not be read from the desktop keyring: %2. Start the keyring in this session, or enter the password again.</source>
        <translation>Das Passwort von Postfach %1 konnte nicht aus dem Schlüsselbund gelesen werden: %2. Starten Sie den Schlüsselbund in dieser Sitzung, oder geben Sie das Passwort erneut ein.</translation>
    </message>
    <message>
        <source>The sign-in of mailbox %1 could not be read from the desktop keyring: %2. Start the keyring in this session.</source>
        <translation>Die Anmeldung von Postfach %1 konnte nicht aus dem Schlüsselbund gelesen werden: %2. Starten Sie den Schlüsselbund in dieser Sitzung.</translation>
    </message>
    <message>
        <source>The desktop keyring holds no password for mailbox %1. Enter the password again.</source>
        <translation>Der Schlüsselbund enthält kein Passwort für Postfach %1. Geben Sie das Passwort erneut ein.</translation>
    </message>
    <message>
        <source>The desktop keyring did not take the password of mailbox %1: %2</source>
        <translation>Der Schlüsselbund hat das Passwort von Postfach %1 nicht angenommen: %2</translation>
    </message>
    <message>
        <source>The stored password of mailbox %1 is damaged. Enter the password again in the General settings.</source>
        <translation>Das gespeicherte Passwort von Postfach %1 ist beschädigt. Geben Sie das Passwort in den allgemeinen Einstellungen erneut ein.</translation>
    </message>
    <message>
        <source>The mailbox passwords stay scrambled in the settings file (readable by you only): %1.</source>
        <translation>Die Passwörter der Postfächer bleiben verschleiert in der Einstellungsdatei (nur für Sie lesbar): %1.</translation>
    </message>
    <message>
        <source>The password of mailbox %1 moved from the settings file into the desktop keyring.</source>
        <translation>Das Passwort von Postfach %1 wurde aus der Einstellungsdatei in den Schlüsselbund verschoben.</translation>
    </message>
    <message>
        <source>Mailbox %1 has a server %2 but no mailbox</source>
        <translation>Postfach %1 hat einen Server %2, aber keinen Benutzernamen</translation>
    </message>
    <message>
        <source>Mailbox %1 %2 has a blank server</source>
        <translation>Postfach %1 %2 hat keinen Server</translation>
    </message>
    <message>
        <source>Mailbox %1 - there is no password set</source>
        <translation>Postfach %1 - es ist kein Passwort gesetzt</translation>
    </message>
    <message>
        <source>it holds binary data</source>
        <translation>sie enthält Binärdaten</translation>
    </message>
    <message>
        <source>it is not UTF-8 text</source>
        <translation>sie ist kein UTF-8-Text</translation>
    </message>
    <message>
        <source>line %1 opens a section without closing it</source>
        <translation>Zeile %1 öffnet einen Abschnitt, ohne ihn zu schließen</translation>
    </message>
    <message>
        <source>line %1 is not a setting</source>
        <translation>Zeile %1 ist keine Einstellung</translation>
    </message>
    <message>
        <source>it is not a valid settings file</source>
        <translation>sie ist keine gültige Einstellungsdatei</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>it is far too large to be a settings file</source>
        <translation>sie ist viel zu groß für eine Einstellungsdatei</translation>
    </message>
    <message>
        <source>it cannot be read: %1</source>
        <translation>sie kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The settings were not saved: the settings file &quot;%1&quot; could not be read when Tarnwick started and is left as it is. Save the settings in the General settings to replace it.</source>
        <translation>Die Einstellungen wurden nicht gespeichert: Die Einstellungsdatei „%1“ konnte beim Start von Tarnwick nicht gelesen werden und bleibt, wie sie ist. Speichern Sie die Einstellungen in den allgemeinen Einstellungen, um sie zu ersetzen.</translation>
    </message>
    <message>
        <source>its folder &quot;%1&quot; does not exist and cannot be created</source>
        <translation>ihr Ordner „%1“ existiert nicht und kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a folder</source>
        <translation>„%1“ ist kein Ordner</translation>
    </message>
    <message>
        <source>a folder of that name is in the way</source>
        <translation>ein Ordner dieses Namens ist im Weg</translation>
    </message>
    <message>
        <source>you may not write there</source>
        <translation>Sie dürfen dort nicht schreiben</translation>
    </message>
    <message>
        <source>the file could not be written (the disk may be full)</source>
        <translation>die Datei konnte nicht geschrieben werden (die Festplatte ist vielleicht voll)</translation>
    </message>
    <message>
        <source>The settings could not be saved to &quot;%1&quot;: %2. Check that the folder exists and that you may write to it, then save again.</source>
        <translation>Die Einstellungen konnten nicht in „%1“ gespeichert werden: %2. Prüfen Sie, ob der Ordner existiert und Sie hineinschreiben dürfen, und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; was saved but could not be made private to you. Make it readable by its owner only (chmod 600).</source>
        <translation>Die Einstellungsdatei „%1“ wurde gespeichert, konnte aber nicht auf Sie allein beschränkt werden. Machen Sie sie nur für ihren Besitzer lesbar (chmod 600).</translation>
    </message>
    <message>
        <source>The damaged settings file &quot;%1&quot; could not be moved aside to &quot;%2&quot;, so it was not replaced. Move or remove it yourself, then save again.</source>
        <translation>Die beschädigte Einstellungsdatei „%1“ konnte nicht nach „%2“ beiseitegelegt werden, daher wurde sie nicht ersetzt. Verschieben oder entfernen Sie sie selbst und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>The activity log &quot;%1&quot; cannot be written: %2. Mail is checked and deleted as usual, but nothing is logged until this is put right: check the log file name in the General settings, that its folder exists and that the disk has free space.</source>
        <translation>Das Aktivitätsprotokoll „%1“ kann nicht geschrieben werden: %2. E-Mails werden wie gewohnt geprüft und gelöscht, aber nichts wird protokolliert, bis dies behoben ist: Prüfen Sie den Namen der Protokolldatei in den allgemeinen Einstellungen, ob ihr Ordner existiert und ob die Festplatte freien Platz hat.</translation>
    </message>
    <message>
        <source>No file &quot;%1&quot; was found. Choose the log file named under Activity Log in the General settings.</source>
        <translation>Es wurde keine Datei „%1“ gefunden. Wählen Sie die Protokolldatei, die unter „Protokoll“ in den allgemeinen Einstellungen genannt ist.</translation>
    </message>
    <message>
        <source>Could not open Activity log file for reading!</source>
        <translation>Die Protokolldatei konnte nicht zum Lesen geöffnet werden!</translation>
    </message>
    <message>
        <source>&quot;%1&quot;: %2. Check that it is a file you may read.</source>
        <translation>„%1“: %2. Prüfen Sie, ob es eine Datei ist, die Sie lesen dürfen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read to its end: %2.</source>
        <translation>„%1“ konnte nicht bis zum Ende gelesen werden: %2.</translation>
    </message>
    <message>
        <source>The settings file &quot;%1&quot; cannot be used (%2), so Tarnwick is running with the default settings. The file is left untouched: repair or remove it and restart Tarnwick, or save your settings to start a new file (the old one is then kept as &quot;%1.damaged&quot;).</source>
        <translation>Die Einstellungsdatei „%1“ kann nicht verwendet werden (%2), daher läuft Tarnwick mit den Standardeinstellungen. Die Datei bleibt unberührt: Reparieren oder entfernen Sie sie und starten Sie Tarnwick neu, oder speichern Sie Ihre Einstellungen, um eine neue Datei zu beginnen (die alte wird dann als „%1.damaged“ aufbewahrt).</translation>
    </message>
    <message>
        <source>The activity log file does not exist!  Either you have cleared/deleted the activity log or you have not yet begun to use Tarnwick.</source>
        <translation>Die Protokolldatei existiert nicht!  Entweder haben Sie das Protokoll geleert/gelöscht, oder Sie haben Tarnwick noch nicht benutzt.</translation>
    </message>
    <message>
        <source>All mailboxes from %1 thru %2</source>
        <translation>Alle Postfächer von %1 bis %2</translation>
    </message>
    <message>
        <source>%1 from %2 thru %3</source>
        <translation>%1 von %2 bis %3</translation>
    </message>
</context>
<context>
    <name>Guard</name>
    <message>
        <source>MailBox %1 skipped: its server asks for a pause between checks</source>
        <translation>Postfach %1 übersprungen: Sein Server verlangt eine Pause zwischen Prüfungen</translation>
    </message>
    <message>
        <source>MailBox %1 skipped until %2</source>
        <translation>Postfach %1 übersprungen bis %2</translation>
    </message>
    <message>
        <source>implicit TLS asked for; the connection did not get that far</source>
        <translation>implizites TLS verlangt; die Verbindung kam nicht so weit</translation>
    </message>
    <message>
        <source>STLS asked for; the connection did not get that far</source>
        <translation>STLS verlangt; die Verbindung kam nicht so weit</translation>
    </message>
    <message>
        <source>TLS from the first byte (implicit TLS)</source>
        <translation>TLS ab dem ersten Byte (implizites TLS)</translation>
    </message>
    <message>
        <source>implicit TLS was asked for, but the line was not protected</source>
        <translation>implizites TLS wurde verlangt, aber die Leitung war nicht geschützt</translation>
    </message>
    <message>
        <source>TLS after STLS: the greeting was readable, the log-in was not</source>
        <translation>TLS nach STLS: Die Begrüßung war lesbar, die Anmeldung nicht</translation>
    </message>
    <message>
        <source>STLS was asked for, but the line was not protected</source>
        <translation>STLS wurde verlangt, aber die Leitung war nicht geschützt</translation>
    </message>
    <message>
        <source>none: the log-in and the messages&apos; header lines cross the network readable. Choose implicit TLS where the server offers it</source>
        <translation>keine: Die Anmeldung und die Kopfzeilen der Nachrichten gehen lesbar durchs Netz. Wählen Sie implizites TLS, wo der Server es anbietet</translation>
    </message>
    <message>
        <source>USER and PASS (the password as it is, inside the protected line)</source>
        <translation>USER und PASS (das Passwort unverändert, innerhalb der geschützten Leitung)</translation>
    </message>
    <message>
        <source>AUTH PLAIN with the password</source>
        <translation>AUTH PLAIN mit dem Passwort</translation>
    </message>
    <message>
        <source>AUTH XOAUTH2 with an OAuth2 access token</source>
        <translation>AUTH XOAUTH2 mit einem OAuth2-Zugriffstoken</translation>
    </message>
    <message>
        <source>AUTH OAUTHBEARER with an OAuth2 access token</source>
        <translation>AUTH OAUTHBEARER mit einem OAuth2-Zugriffstoken</translation>
    </message>
    <message>
        <source>Connection test passed.</source>
        <translation>Verbindungstest bestanden.</translation>
    </message>
    <message>
        <source>Connection test failed.</source>
        <translation>Verbindungstest fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Security: %1</source>
        <translation>Sicherheit: %1</translation>
    </message>
    <message>
        <source>Log-in: %1</source>
        <translation>Anmeldung: %1</translation>
    </message>
    <message>
        <source>Pipelining: offered (a check takes fewer round trips)</source>
        <translation>Pipelining: angeboten (eine Prüfung braucht weniger Umläufe)</translation>
    </message>
    <message>
        <source>Pipelining: not offered (one command at a time)</source>
        <translation>Pipelining: nicht angeboten (ein Befehl nach dem anderen)</translation>
    </message>
    <message>
        <source>Unique ids (UIDL): offered (a deletion is checked against the message&apos;s id)</source>
        <translation>Eindeutige IDs (UIDL): angeboten (eine Löschung wird an der ID der Nachricht geprüft)</translation>
    </message>
    <message>
        <source>Unique ids (UIDL): not offered (a deletion is checked by size and header lines)</source>
        <translation>Eindeutige IDs (UIDL): nicht angeboten (eine Löschung wird an Größe und Kopfzeilen geprüft)</translation>
    </message>
    <message>
        <source>Messages waiting: %1</source>
        <translation>Wartende Nachrichten: %1</translation>
    </message>
    <message>
        <source>Server: %1</source>
        <translation>Server: %1</translation>
    </message>
    <message>
        <source>Tarnwick knows no OAuth2 provider for the server %1: log in with a password, or give a token command (tarnwick-cli mailbox set %2 --token-command CMD)</source>
        <translation>Tarnwick kennt keinen OAuth2-Anbieter für den Server %1: Melden Sie sich mit einem Passwort an oder geben Sie einen Token-Befehl an (tarnwick-cli mailbox set %2 --token-command CMD)</translation>
    </message>
    <message>
        <source>accepted the log-in; its goodbye was &quot;%1&quot;</source>
        <translation>hat die Anmeldung angenommen; seine Verabschiedung war „%1“</translation>
    </message>
    <message>
        <source>The trusted certificate of mailbox %1 is used until Tarnwick ends, but it could not be stored: %2</source>
        <translation>Das vertraute Zertifikat von Postfach %1 gilt, bis Tarnwick endet, konnte aber nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>The count of deleted spam could not be stored: %1</source>
        <translation>Die Zahl des gelöschten Spams konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Either there are no e-mail messages waiting on the mail server or you have not yet clicked on the &quot;Check E-Mail&quot; button.</source>
        <translation>Entweder warten keine E-Mails auf dem Mailserver, oder Sie haben noch nicht auf „E-Mail prüfen“ geklickt.</translation>
    </message>
    <message>
        <source>No messages were selected.  To select one message click on a subject.  To select multiple messages drag the mouse over the list of desired subjects.</source>
        <translation>Es wurden keine Nachrichten ausgewählt.  Um eine Nachricht auszuwählen, klicken Sie auf einen Betreff.  Um mehrere Nachrichten auszuwählen, ziehen Sie die Maus über die gewünschten Betreffzeilen.</translation>
    </message>
    <message>
        <source>You have selected more than one message to view.  Only one message can be viewed at one time.  The first one selected will be displayed.</source>
        <translation>Sie haben mehr als eine Nachricht zum Anzeigen ausgewählt.  Es kann immer nur eine Nachricht angezeigt werden.  Die erste ausgewählte wird angezeigt.</translation>
    </message>
    <message>
        <source>Subject : %1 Sender : %2</source>
        <translation>Betreff : %1 Absender : %2</translation>
    </message>
    <message>
        <source>The selected messages have no sender address, so no exception was added. Add an exception by another field in the spam settings.</source>
        <translation>Die ausgewählten Nachrichten haben keine Absenderadresse, daher wurde keine Ausnahme hinzugefügt. Fügen Sie in den Spam-Einstellungen eine Ausnahme nach einem anderen Feld hinzu.</translation>
    </message>
    <message>
        <source>The exceptions were added and are used now, but the rule lists could not be saved: %1
Check that the data folder is writable, then open the spam settings and press OK to save them.</source>
        <translation>Die Ausnahmen wurden hinzugefügt und gelten jetzt, aber die Regellisten konnten nicht gespeichert werden: %1
Prüfen Sie, ob der Datenordner beschreibbar ist, öffnen Sie dann die Spam-Einstellungen und drücken Sie OK, um sie zu speichern.</translation>
    </message>
    <message>
        <source>A message is being downloaded for viewing. Wait until it is shown, then view the next one.</source>
        <translation>Eine Nachricht wird zum Anzeigen heruntergeladen. Warten Sie, bis sie angezeigt wird, und zeigen Sie dann die nächste an.</translation>
    </message>
    <message>
        <source>The message was downloaded as %1 but could not be read: %2
Open the file with your mail program to see it.</source>
        <translation>Die Nachricht wurde als %1 heruntergeladen, konnte aber nicht gelesen werden: %2
Öffnen Sie die Datei mit Ihrem E-Mail-Programm, um sie anzusehen.</translation>
    </message>
    <message>
        <source>Mailbox %1 uses plain POP3 without encryption: the password and the mail cross the network to %2 readable by anyone on the way. Choose Implicit TLS or STARTTLS if the server offers it.</source>
        <translation>Postfach %1 verwendet POP3 ohne Verschlüsselung: Passwort und E-Mails gehen für jeden auf dem Weg lesbar durchs Netz zu %2. Wählen Sie implizites TLS oder STARTTLS, wenn der Server es anbietet.</translation>
    </message>
    <message>
        <source>header rule &quot;%1 %2&quot; (suspect) added</source>
        <translation>Kopfzeilenregel „%1 %2“ (verdächtig) hinzugefügt</translation>
    </message>
    <message>
        <source>Retrieving messages ... standby</source>
        <translation>Nachrichten werden abgerufen ... bitte warten</translation>
    </message>
    <message>
        <source>Deleting messages ... standby</source>
        <translation>Nachrichten werden gelöscht ... bitte warten</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>Getrennt</translation>
    </message>
    <message>
        <source>You need to enter your e-mail username in the settings.</source>
        <translation>Sie müssen Ihren E-Mail-Benutzernamen in den Einstellungen eingeben.</translation>
    </message>
    <message>
        <source>You need to enter the name of your mail server in the settings.</source>
        <translation>Sie müssen den Namen Ihres Mailservers in den Einstellungen eingeben.</translation>
    </message>
    <message>
        <source>Another command is still running; try again when it has ended.</source>
        <translation>Ein anderer Befehl läuft noch; versuchen Sie es erneut, wenn er beendet ist.</translation>
    </message>
    <message>
        <source>The mailbox is not set up.</source>
        <translation>Das Postfach ist nicht eingerichtet.</translation>
    </message>
    <message>
        <source>The certificate is now trusted for mailbox %1. Check e-mail again to connect.</source>
        <translation>Dem Zertifikat wird für Postfach %1 jetzt vertraut. Prüfen Sie die E-Mails erneut, um sich zu verbinden.</translation>
    </message>
    <message>
        <source>None of the messages matched any of the spam criteria.</source>
        <translation>Keine der Nachrichten entsprach einem der Spam-Kriterien.</translation>
    </message>
    <message>
        <source>Message Total: %1 Number Marked: %2</source>
        <translation>Nachrichten gesamt: %1 Markiert: %2</translation>
    </message>
    <message>
        <source>There were no messages marked to delete!</source>
        <translation>Es waren keine Nachrichten zum Löschen markiert!</translation>
    </message>
    <message>
        <source>Really delete %1 messages from server?</source>
        <translation>Wirklich %1 Nachrichten vom Server löschen?</translation>
    </message>
    <message>
        <source>deleted</source>
        <translation>gelöscht</translation>
    </message>
    <message>
        <source>The message list no longer matches what was listed from the server, so nothing was deleted. Check e-mail again, then delete.</source>
        <translation>Die Nachrichtenliste stimmt nicht mehr mit dem überein, was vom Server aufgelistet wurde, daher wurde nichts gelöscht. Prüfen Sie die E-Mails erneut und löschen Sie dann.</translation>
    </message>
    <message>
        <source>The server %1 asks for a pause between log-ins to mailbox %2, so deleting is possible from %3. The marks stay as they are: delete again then.</source>
        <translation>Der Server %1 verlangt eine Pause zwischen Anmeldungen an Postfach %2, daher ist Löschen ab %3 möglich. Die Markierungen bleiben, wie sie sind: Löschen Sie dann erneut.</translation>
    </message>
    <message>
        <source>%1 of the marked messages were left on the server because the mailbox changed after it was listed. Check e-mail again to see what is waiting now.</source>
        <translation>%1 der markierten Nachrichten blieben auf dem Server, weil sich das Postfach nach dem Auflisten geändert hat. Prüfen Sie die E-Mails erneut, um zu sehen, was jetzt wartet.</translation>
    </message>
    <message>
        <source>There were %1 messages deleted</source>
        <translation>Es wurden %1 Nachrichten gelöscht</translation>
    </message>
    <message>
        <source>%1 spams deleted</source>
        <translation>%1 Spams gelöscht</translation>
    </message>
    <message>
        <source>, %1 left alone</source>
        <translation>, %1 belassen</translation>
    </message>
    <message>
        <source>Mailbox %1 was changed in the settings after this list was made, so nothing was %2. Check e-mail again to see what is waiting in the mailbox it names now.</source>
        <translation>Postfach %1 wurde in den Einstellungen geändert, nachdem diese Liste erstellt wurde, daher wurde nichts %2. Prüfen Sie die E-Mails erneut, um zu sehen, was in dem Postfach wartet, das es jetzt nennt.</translation>
    </message>
    <message>
        <source>The message you have selected to view is quite large - %1 bytes. Are you sure you wish to download and view it?</source>
        <translation>Die Nachricht, die Sie anzeigen möchten, ist recht groß - %1 Byte. Möchten Sie sie wirklich herunterladen und anzeigen?</translation>
    </message>
    <message>
        <source>downloaded</source>
        <translation>heruntergeladen</translation>
    </message>
    <message>
        <source>The message list no longer matches what was listed from the server. Check e-mail again, then view the message.</source>
        <translation>Die Nachrichtenliste stimmt nicht mehr mit dem überein, was vom Server aufgelistet wurde. Prüfen Sie die E-Mails erneut und zeigen Sie dann die Nachricht an.</translation>
    </message>
    <message>
        <source>This message is no longer on the server as it was listed: the mailbox changed. Check e-mail again to see what is waiting now.</source>
        <translation>Diese Nachricht ist nicht mehr so auf dem Server, wie sie aufgelistet wurde: Das Postfach hat sich geändert. Prüfen Sie die E-Mails erneut, um zu sehen, was jetzt wartet.</translation>
    </message>
    <message>
        <source>The message was downloaded but could not be saved as %1. Check that the data folder is writable and the disk has free space.</source>
        <translation>Die Nachricht wurde heruntergeladen, konnte aber nicht als %1 gespeichert werden. Prüfen Sie, ob der Datenordner beschreibbar ist und die Festplatte freien Platz hat.</translation>
    </message>
    <message>
        <source>Tarnwick - next e-mail check in 1 minute</source>
        <translation>Tarnwick - nächste E-Mail-Prüfung in 1 Minute</translation>
    </message>
    <message>
        <source>Tarnwick - next e-mail check in %1 minutes</source>
        <translation>Tarnwick - nächste E-Mail-Prüfung in %1 Minuten</translation>
    </message>
    <message>
        <source>Tarnwick - MailBox %1 - %2 messages</source>
        <translation>Tarnwick - Postfach %1 - %2 Nachrichten</translation>
    </message>
    <message>
        <source>Tarnwick - No waiting messages found</source>
        <translation>Tarnwick - Keine wartenden Nachrichten gefunden</translation>
    </message>
    <message>
        <source>Tarnwick - Now checking e-mail for %1</source>
        <translation>Tarnwick - Prüfe jetzt E-Mails für %1</translation>
    </message>
    <message>
        <source>The automatic mode could not be stored for the next start: %1</source>
        <translation>Die automatische Prüfung konnte nicht für den nächsten Start gespeichert werden: %1</translation>
    </message>
    <message>
        <source>No mail program was started: none is set on the Mail program tab of the General settings and the desktop has no default one.</source>
        <translation>Es wurde kein E-Mail-Programm gestartet: Auf der Registerkarte „E-Mail-Programm“ der allgemeinen Einstellungen ist keines angegeben, und der Desktop hat kein Standardprogramm.</translation>
    </message>
    <message>
        <source>Unable to launch mail program. Check the mail program path/name on the Mail program tab of the General settings.</source>
        <translation>Das E-Mail-Programm kann nicht gestartet werden. Prüfen Sie Pfad/Name des E-Mail-Programms auf der Registerkarte „E-Mail-Programm“ der allgemeinen Einstellungen.</translation>
    </message>
    <message>
        <source>Opening connection ... </source>
        <translation>Verbindung wird geöffnet ... </translation>
    </message>
    <message>
        <source>Opening connection for %1 on %2</source>
        <translation>Verbindung für %1 auf %2 wird geöffnet</translation>
    </message>
    <message>
        <source>Updating headers ... </source>
        <translation>Kopfzeilen werden aktualisiert ... </translation>
    </message>
    <message>
        <source>Updating headers</source>
        <translation>Kopfzeilen werden aktualisiert</translation>
    </message>
    <message>
        <source>Transferring data ... </source>
        <translation>Daten werden übertragen ... </translation>
    </message>
    <message>
        <source>Transferring data</source>
        <translation>Daten werden übertragen</translation>
    </message>
    <message>
        <source>Data has been transfered</source>
        <translation>Die Daten wurden übertragen</translation>
    </message>
    <message>
        <source>Retrieving ... </source>
        <translation>Abrufen ... </translation>
    </message>
    <message>
        <source>Retrieving %1</source>
        <translation>Nachricht %1 wird abgerufen</translation>
    </message>
    <message>
        <source>Message %1 retrieved</source>
        <translation>Nachricht %1 abgerufen</translation>
    </message>
    <message>
        <source>Closing connection</source>
        <translation>Verbindung wird geschlossen</translation>
    </message>
    <message>
        <source>Connection closed</source>
        <translation>Verbindung geschlossen</translation>
    </message>
    <message>
        <source>Getting message %1 of %2 total waiting messages</source>
        <translation>Nachricht %1 von insgesamt %2 wartenden Nachrichten wird geholt</translation>
    </message>
    <message>
        <source>Message %1 of %2</source>
        <translation>Nachricht %1 von %2</translation>
    </message>
    <message>
        <source>Deleting %1</source>
        <translation>Lösche %1</translation>
    </message>
    <message>
        <source>Deleting %1 %2</source>
        <translation>Lösche %1 %2</translation>
    </message>
    <message>
        <source>Sign in again: &quot;Add mailbox...&quot; in the settings, or tarnwick-cli mailbox set %1 --auth oauth2</source>
        <translation>Melden Sie sich erneut an: „Postfach hinzufügen ...“ in den Einstellungen oder tarnwick-cli mailbox set %1 --auth oauth2</translation>
    </message>
    <message>
        <source>No OAuth2 client is set up for %1: register this program with %1 (or take the id your distribution registered) and put it in settings.ini, section [OAuth2], as %1ClientId (and %1ClientSecret where %1 gave one)</source>
        <translation>Für %1 ist kein OAuth2-Client eingerichtet: Registrieren Sie dieses Programm bei %1 (oder nehmen Sie die ID, die Ihre Distribution registriert hat) und tragen Sie sie in settings.ini, Abschnitt [OAuth2], als %1ClientId ein (und %1ClientSecret, wo %1 eines vergeben hat)</translation>
    </message>
    <message>
        <source>No port on this computer could take the answer of %1&apos;s sign-in page.</source>
        <translation>Kein Port auf diesem Computer konnte die Antwort der Anmeldeseite von %1 annehmen.</translation>
    </message>
    <message>
        <source>Tarnwick has your permission now. You may close this page.</source>
        <translation>Tarnwick hat jetzt Ihre Erlaubnis. Sie können diese Seite schließen.</translation>
    </message>
    <message>
        <source>%1 refused the sign-in (%2%3). Try again, and allow Tarnwick to read your mail on the page that opens.</source>
        <translation>%1 hat die Anmeldung abgelehnt (%2%3). Versuchen Sie es erneut und erlauben Sie Tarnwick auf der Seite, die sich öffnet, Ihre E-Mails zu lesen.</translation>
    </message>
    <message>
        <source>%1 did not hand out a token for the sign-in. Try again.</source>
        <translation>%1 hat für die Anmeldung kein Token ausgegeben. Versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1 did not hand out a token for the sign-in (%2). Start the sign-in again.</source>
        <translation>%1 hat für die Anmeldung kein Token ausgegeben (%2). Beginnen Sie die Anmeldung erneut.</translation>
    </message>
    <message>
        <source>The sign-in at %1 was canceled.</source>
        <translation>Die Anmeldung bei %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The sign-in at %1 was not finished within %2 minutes. Start it again.</source>
        <translation>Die Anmeldung bei %1 wurde nicht innerhalb von %2 Minuten abgeschlossen. Beginnen Sie sie erneut.</translation>
    </message>
    <message>
        <source>%1 gave no refresh token, so Tarnwick could not sign in again on its own. Remove Tarnwick&apos;s access in your %1 account settings, then sign in again.</source>
        <translation>%1 hat kein Refresh-Token ausgegeben, daher könnte sich Tarnwick nicht selbst erneut anmelden. Entfernen Sie den Zugriff von Tarnwick in den Kontoeinstellungen bei %1 und melden Sie sich dann erneut an.</translation>
    </message>
    <message>
        <source>Mailbox %1 has no stored sign-in at %2. %3</source>
        <translation>Postfach %1 hat keine gespeicherte Anmeldung bei %2. %3</translation>
    </message>
    <message>
        <source>%1 no longer accepts the sign-in of mailbox %2 (%3): it was withdrawn, the password of the account changed, or it was not used for a long time. %4</source>
        <translation>%1 nimmt die Anmeldung von Postfach %2 nicht mehr an (%3): Sie wurde widerrufen, das Passwort des Kontos hat sich geändert, oder sie wurde lange nicht benutzt. %4</translation>
    </message>
    <message>
        <source>%1 refused Tarnwick&apos;s client id (%2). Check %1ClientId and %1ClientSecret in settings.ini, section [OAuth2].</source>
        <translation>%1 hat die Client-ID von Tarnwick abgelehnt (%2). Prüfen Sie %1ClientId und %1ClientSecret in settings.ini, Abschnitt [OAuth2].</translation>
    </message>
    <message>
        <source>%1&apos;s token server refused a new access token for mailbox %2 (%3). Try again later; if it keeps refusing: %4</source>
        <translation>Der Token-Server von %1 hat ein neues Zugriffstoken für Postfach %2 abgelehnt (%3). Versuchen Sie es später erneut; wenn er weiter ablehnt: %4</translation>
    </message>
    <message>
        <source>%1&apos;s token server %2 could not be reached (%3). Check the connection to the internet and try again.</source>
        <translation>Der Token-Server %2 von %1 war nicht erreichbar (%3). Prüfen Sie die Verbindung ins Internet und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>%1&apos;s token server sent no usable access token for mailbox %2. Try again later.</source>
        <translation>Der Token-Server von %1 hat kein brauchbares Zugriffstoken für Postfach %2 gesendet. Versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The rule lists could not be saved, so the hit counts of this check are not kept: %1</source>
        <translation>Die Regellisten konnten nicht gespeichert werden, daher werden die Trefferzahlen dieser Prüfung nicht behalten: %1</translation>
    </message>
    <message>
        <source>The dial-up connection &quot;%1&quot; could not be made: %2
Check the connection and the entry chosen on the Connection tab of the General settings, then try again.</source>
        <translation>Die Wählverbindung „%1“ konnte nicht hergestellt werden: %2
Prüfen Sie die Verbindung und den auf der Registerkarte „Verbindung“ der allgemeinen Einstellungen gewählten Eintrag und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The server %1 refused the log-in because mailbox %2 was checked only a short while ago: %3
Try again later.</source>
        <translation>Der Server %1 hat die Anmeldung abgelehnt, weil Postfach %2 erst vor kurzem geprüft wurde: %3
Versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The server %1 refused the request: %2
If it refused the log-in, check the user name and password of mailbox %3 in the General settings.</source>
        <translation>Der Server %1 hat die Anfrage abgelehnt: %2
Wenn er die Anmeldung abgelehnt hat, prüfen Sie Benutzername und Passwort von Postfach %3 in den allgemeinen Einstellungen.</translation>
    </message>
    <message>
        <source>
Check the settings of mailbox %1 (server, user name, password, security) in the General settings and the connection to the internet, then try again.</source>
        <translation>
Prüfen Sie die Einstellungen von Postfach %1 (Server, Benutzername, Passwort, Sicherheit) in den allgemeinen Einstellungen und die Verbindung ins Internet und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>%1 (answered No)</source>
        <translation>%1 (mit Nein beantwortet)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a certificate fingerprint: it must be 64 hex digits (SHA-256), with or without colons.</source>
        <translation>„%1“ ist kein Fingerabdruck eines Zertifikats: Er muss aus 64 Hexadezimalziffern bestehen (SHA-256), mit oder ohne Doppelpunkte.</translation>
    </message>
    <message>
        <source>HTTP status %1</source>
        <translation>HTTP-Status %1</translation>
    </message>
    <message>
        <source>New mail at once (IDLE): offered (automatic mode checks within seconds of new mail)</source>
        <translation>Neue E-Mail sofort (IDLE): angeboten (der automatische Modus prüft wenige Sekunden nach Eingang)</translation>
    </message>
    <message>
        <source>New mail at once (IDLE): not offered (automatic mode asks every minute)</source>
        <translation>Neue E-Mail sofort (IDLE): nicht angeboten (der automatische Modus fragt jede Minute)</translation>
    </message>
    <message>
        <source>Removing single messages (UIDPLUS): offered</source>
        <translation>Einzelne Nachrichten entfernen (UIDPLUS): angeboten</translation>
    </message>
    <message>
        <source>Removing single messages (UIDPLUS): not offered (deleted spam is flagged; your mail program removes it)</source>
        <translation>Einzelne Nachrichten entfernen (UIDPLUS): nicht angeboten (gelöschter Spam wird gekennzeichnet; Ihr E-Mail-Programm entfernt ihn)</translation>
    </message>
    <message>
        <source>Messages in the folder: %1</source>
        <translation>Nachrichten im Ordner: %1</translation>
    </message>
</context>
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
    <name>Net</name>
    <message>
        <source>Initializing...</source>
        <translation>Initialisierung ...</translation>
    </message>
    <message>
        <source>Dialing...</source>
        <translation>Wählvorgang ...</translation>
    </message>
    <message>
        <source>Verifying user name and password</source>
        <translation>Benutzername und Passwort werden geprüft</translation>
    </message>
    <message>
        <source>User name and password verified</source>
        <translation>Benutzername und Passwort geprüft</translation>
    </message>
    <message>
        <source>Logging on to Network</source>
        <translation>Anmeldung am Netzwerk</translation>
    </message>
    <message>
        <source>Successfully connected</source>
        <translation>Verbindung hergestellt</translation>
    </message>
    <message>
        <source>NetworkManager&apos;s nmcli program is not installed, so %1 is not possible. Install NetworkManager or select &quot;None&quot; as the connection.</source>
        <translation>Das Programm nmcli von NetworkManager ist nicht installiert, daher ist %1 nicht möglich. Installieren Sie NetworkManager oder wählen Sie „Keine“ als Verbindung.</translation>
    </message>
    <message>
        <source>The program %1 could not be started (%2), so %3 is not possible.</source>
        <translation>Das Programm %1 konnte nicht gestartet werden (%2), daher ist %3 nicht möglich.</translation>
    </message>
    <message>
        <source>NetworkManager did not answer within %1 seconds, so %2 is not possible. Check that NetworkManager is running, then try again.</source>
        <translation>NetworkManager hat nicht innerhalb von %1 Sekunden geantwortet, daher ist %2 nicht möglich. Prüfen Sie, ob NetworkManager läuft, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>listing the connections</source>
        <translation>das Auflisten der Verbindungen</translation>
    </message>
    <message>
        <source>looking for a connection that is up</source>
        <translation>die Suche nach einer bestehenden Verbindung</translation>
    </message>
    <message>
        <source>NetworkManager&apos;s nmcli program is not installed, so &quot;%1&quot; cannot be dialed.</source>
        <translation>Das Programm nmcli von NetworkManager ist nicht installiert, daher kann „%1“ nicht gewählt werden.</translation>
    </message>
    <message>
        <source>The dial-up password must not contain line breaks or NUL characters.</source>
        <translation>Das Passwort der Wählverbindung darf keine Zeilenumbrüche oder NUL-Zeichen enthalten.</translation>
    </message>
    <message>
        <source>dialing</source>
        <translation>das Wählen</translation>
    </message>
    <message>
        <source>A private file for the dial-up password could not be created: %1</source>
        <translation>Eine private Datei für das Passwort der Wählverbindung konnte nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>The private file for the dial-up password could not be written: %1</source>
        <translation>Die private Datei für das Passwort der Wählverbindung konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The program nmcli could not be started (%1).</source>
        <translation>Das Programm nmcli konnte nicht gestartet werden (%1).</translation>
    </message>
    <message>
        <source>nmcli ended abnormally</source>
        <translation>nmcli wurde unerwartet beendet</translation>
    </message>
    <message>
        <source>hanging up</source>
        <translation>das Auflegen</translation>
    </message>
    <message>
        <source>The server sent more than this program accepts for one command</source>
        <translation>Der Server hat mehr gesendet, als dieses Programm für einen Befehl annimmt</translation>
    </message>
    <message>
        <source>The server sent a response with too many parts</source>
        <translation>Der Server hat eine Antwort mit zu vielen Teilen gesendet</translation>
    </message>
    <message>
        <source>The server announced %1 bytes of data where this program accepts at most %2</source>
        <translation>Der Server hat %1 Byte Daten angekündigt, dieses Programm nimmt höchstens %2 an</translation>
    </message>
    <message>
        <source>The server ended the session: %1</source>
        <translation>Der Server hat die Sitzung beendet: %1</translation>
    </message>
    <message>
        <source>The server answered a command that was not sent (%1)</source>
        <translation>Der Server hat auf einen Befehl geantwortet, der nicht gesendet wurde (%1)</translation>
    </message>
    <message>
        <source>The server asked for data that no command has to send</source>
        <translation>Der Server hat Daten verlangt, die kein Befehl zu senden hat</translation>
    </message>
    <message>
        <source>The server refused to name its capabilities</source>
        <translation>Der Server hat sich geweigert, seine Fähigkeiten zu nennen</translation>
    </message>
    <message>
        <source>The server named no capabilities</source>
        <translation>Der Server hat keine Fähigkeiten genannt</translation>
    </message>
    <message>
        <source>The server refused the connection: %1</source>
        <translation>Der Server hat die Verbindung abgelehnt: %1</translation>
    </message>
    <message>
        <source>The server logged in without asking who is there; this program logs in itself</source>
        <translation>Der Server hat die Sitzung angemeldet, ohne zu fragen, wer da ist; dieses Programm meldet sich selbst an</translation>
    </message>
    <message>
        <source>The server&apos;s greeting is not an IMAP greeting</source>
        <translation>Die Begrüßung des Servers ist keine IMAP-Begrüßung</translation>
    </message>
    <message>
        <source>The server does not offer STARTTLS: choose TLS or no encryption for this mailbox</source>
        <translation>Der Server bietet kein STARTTLS an: Wählen Sie TLS oder keine Verschlüsselung für dieses Postfach</translation>
    </message>
    <message>
        <source>The server refused STARTTLS: %1</source>
        <translation>Der Server hat STARTTLS abgelehnt: %1</translation>
    </message>
    <message>
        <source>The server does not speak IMAP4rev1</source>
        <translation>Der Server spricht kein IMAP4rev1</translation>
    </message>
    <message>
        <source>The server&apos;s log-in exchange does not end</source>
        <translation>Die Anmeldung beim Server endet nicht</translation>
    </message>
    <message>
        <source>The server does not offer the log-in method %1</source>
        <translation>Der Server bietet die Anmeldemethode %1 nicht an</translation>
    </message>
    <message>
        <source>The server offers no log-in method this program knows</source>
        <translation>Der Server bietet keine Anmeldemethode an, die dieses Programm kennt</translation>
    </message>
    <message>
        <source>The server refuses log-ins over an unencrypted connection: choose TLS or STARTTLS for this mailbox</source>
        <translation>Der Server lehnt Anmeldungen über eine unverschlüsselte Verbindung ab: Wählen Sie TLS oder STARTTLS für dieses Postfach</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be opened (%2). Check the folder&apos;s name in the mailbox&apos;s settings.</source>
        <translation>Der Ordner „%1“ kann nicht geöffnet werden (%2). Prüfen Sie den Namen des Ordners in den Einstellungen des Postfachs.</translation>
    </message>
    <message>
        <source>The server did not say which UIDs the folder &quot;%1&quot; uses</source>
        <translation>Der Server hat nicht genannt, welche UIDs der Ordner „%1“ verwendet</translation>
    </message>
    <message>
        <source>The server refused to list the messages</source>
        <translation>Der Server hat sich geweigert, die Nachrichten aufzulisten</translation>
    </message>
    <message>
        <source>The messages&apos; header lines are larger than %1 MiB in all</source>
        <translation>Die Kopfzeilen der Nachrichten sind zusammen größer als %1 MiB</translation>
    </message>
    <message>
        <source>The server refused to search the folder</source>
        <translation>Der Server hat sich geweigert, den Ordner zu durchsuchen</translation>
    </message>
    <message>
        <source>The server&apos;s search result cannot be read</source>
        <translation>Das Suchergebnis des Servers kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>The server refused to list its folders</source>
        <translation>Der Server hat sich geweigert, seine Ordner aufzulisten</translation>
    </message>
    <message>
        <source>The server refused to send the message</source>
        <translation>Der Server hat sich geweigert, die Nachricht zu senden</translation>
    </message>
    <message>
        <source>The server refused to move the messages to the folder &quot;%1&quot;. Check that the folder exists, or name another in the mailbox&apos;s settings</source>
        <translation>Der Server hat sich geweigert, die Nachrichten in den Ordner „%1“ zu verschieben. Prüfen Sie, ob der Ordner existiert, oder nennen Sie einen anderen in den Einstellungen des Postfachs</translation>
    </message>
    <message>
        <source>The server refused to flag the messages as deleted</source>
        <translation>Der Server hat sich geweigert, die Nachrichten als gelöscht zu kennzeichnen</translation>
    </message>
    <message>
        <source>The server refused to remove the messages</source>
        <translation>Der Server hat sich geweigert, die Nachrichten zu entfernen</translation>
    </message>
    <message>
        <source>The server cannot remove single messages: they are flagged as deleted, and your mail program will finish the deletion.</source>
        <translation>Der Server kann keine einzelnen Nachrichten entfernen: Sie sind als gelöscht gekennzeichnet, und Ihr E-Mail-Programm schließt das Löschen ab.</translation>
    </message>
    <message>
        <source>The server closed the connection</source>
        <translation>Der Server hat die Verbindung geschlossen</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; cannot be opened</source>
        <translation>Der Ordner „%1“ kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>The server ended waiting for new mail</source>
        <translation>Der Server hat das Warten auf neue E-Mails beendet</translation>
    </message>
    <message>
        <source>The server refused to say whether mail arrived</source>
        <translation>Der Server hat sich geweigert zu sagen, ob E-Mails angekommen sind</translation>
    </message>
    <message>
        <source>Operation timed out</source>
        <translation>Zeitüberschreitung bei der Operation</translation>
    </message>
    <message>
        <source>Operation has been canceled</source>
        <translation>Die Operation wurde abgebrochen</translation>
    </message>
    <message>
        <source>Server property is required</source>
        <translation>Die Eigenschaft Server ist erforderlich</translation>
    </message>
    <message>
        <source>Invalid Winsock version</source>
        <translation>Ungültige Winsock-Version</translation>
    </message>
    <message>
        <source>Error resolving remote host</source>
        <translation>Fehler beim Auflösen des entfernten Rechners</translation>
    </message>
    <message>
        <source>Service name is required</source>
        <translation>Ein Dienstname ist erforderlich</translation>
    </message>
    <message>
        <source>You have to connect to the server first</source>
        <translation>Sie müssen sich zuerst mit dem Server verbinden</translation>
    </message>
    <message>
        <source>Function %s not found</source>
        <translation>Funktion %s nicht gefunden</translation>
    </message>
    <message>
        <source>Winsock is not loaded</source>
        <translation>Winsock ist nicht geladen</translation>
    </message>
    <message>
        <source>Winsock not found</source>
        <translation>Winsock nicht gefunden</translation>
    </message>
    <message>
        <source>UserName property is required</source>
        <translation>Die Eigenschaft UserName ist erforderlich</translation>
    </message>
    <message>
        <source>Password property is required</source>
        <translation>Die Eigenschaft Password ist erforderlich</translation>
    </message>
    <message>
        <source>Host not found</source>
        <translation>Rechner nicht gefunden</translation>
    </message>
    <message>
        <source>Error #%1</source>
        <translation>Fehler Nr. %1</translation>
    </message>
    <message>
        <source>RAS error no %1</source>
        <translation>RAS-Fehler Nr. %1</translation>
    </message>
    <message>
        <source>The user name must not contain line breaks or NUL characters</source>
        <translation>Der Benutzername darf keine Zeilenumbrüche oder NUL-Zeichen enthalten</translation>
    </message>
    <message>
        <source>The password must not contain line breaks or NUL characters</source>
        <translation>Das Passwort darf keine Zeilenumbrüche oder NUL-Zeichen enthalten</translation>
    </message>
    <message>
        <source>The server does not offer STLS (it answered &quot;%1&quot;)</source>
        <translation>Der Server bietet kein STLS an (er antwortete „%1“)</translation>
    </message>
    <message>
        <source>A command line must not contain CR, LF or NUL</source>
        <translation>Eine Befehlszeile darf kein CR, LF oder NUL enthalten</translation>
    </message>
    <message>
        <source>The server&apos;s reply to STAT holds no message count: &quot;%1&quot;</source>
        <translation>Die Antwort des Servers auf STAT enthält keine Nachrichtenzahl: „%1“</translation>
    </message>
    <message>
        <source>The message could not be saved as %1: %2</source>
        <translation>Die Nachricht konnte nicht als %1 gespeichert werden: %2</translation>
    </message>
    <message>
        <source>The mailbox holds %1 messages, more than the %2 that one check lists. Remove messages with your mail program, then check again.</source>
        <translation>Das Postfach enthält %1 Nachrichten, mehr als die %2, die eine Prüfung auflistet. Entfernen Sie Nachrichten mit Ihrem E-Mail-Programm und prüfen Sie dann erneut.</translation>
    </message>
    <message>
        <source>The header lines of the first %1 messages take more than the %2 MiB that one check keeps. Remove messages with your mail program, then check again.</source>
        <translation>Die Kopfzeilen der ersten %1 Nachrichten belegen mehr als die %2 MiB, die eine Prüfung behält. Entfernen Sie Nachrichten mit Ihrem E-Mail-Programm und prüfen Sie dann erneut.</translation>
    </message>
    <message>
        <source>TagRas component was unable to detect
RAS on your system.</source>
        <translation>Die Komponente TagRas konnte auf Ihrem System
kein RAS finden.</translation>
    </message>
    <message>
        <source>This property can be set only before
establishing the connection</source>
        <translation>Diese Eigenschaft kann nur vor dem
Aufbau der Verbindung gesetzt werden</translation>
    </message>
    <message>
        <source>Invalid service name</source>
        <translation>Ungültiger Dienstname</translation>
    </message>
    <message>
        <source>Hanging up &quot;%1&quot; failed: %2</source>
        <translation>Das Auflegen von „%1“ ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source> (the server said: %1)</source>
        <translation> (der Server sagte: %1)</translation>
    </message>
    <message>
        <source>The server refused the access token: it has expired or was revoked. Sign in to the mailbox&apos;s provider again</source>
        <translation>Der Server hat das Zugriffstoken abgelehnt: Es ist abgelaufen oder wurde widerrufen. Melden Sie sich erneut beim Anbieter des Postfachs an</translation>
    </message>
    <message>
        <source>The access token does not allow access to this mailbox. Sign in again and allow access to mail</source>
        <translation>Das Zugriffstoken erlaubt keinen Zugriff auf dieses Postfach. Melden Sie sich erneut an und erlauben Sie den Zugriff auf E-Mails</translation>
    </message>
    <message>
        <source>The access token does not allow access to this mailbox: it needs the scope %1. Sign in again and allow access to mail</source>
        <translation>Das Zugriffstoken erlaubt keinen Zugriff auf dieses Postfach: Es braucht den Bereich %1. Melden Sie sich erneut an und erlauben Sie den Zugriff auf E-Mails</translation>
    </message>
    <message>
        <source>The server could not use the log-in request: check the user name, which must be the mailbox&apos;s full e-mail address</source>
        <translation>Der Server konnte die Anmeldeanfrage nicht verwenden: Prüfen Sie den Benutzernamen, der die vollständige E-Mail-Adresse des Postfachs sein muss</translation>
    </message>
    <message>
        <source>The server refused the OAuth2 log-in (status %1). Sign in to the mailbox&apos;s provider again</source>
        <translation>Der Server hat die OAuth2-Anmeldung abgelehnt (Status %1). Melden Sie sich erneut beim Anbieter des Postfachs an</translation>
    </message>
    <message>
        <source>The server does not offer an OAuth2 log-in (SASL XOAUTH2 or OAUTHBEARER). Set the mailbox to log in with a password</source>
        <translation>Der Server bietet keine OAuth2-Anmeldung an (SASL XOAUTH2 oder OAUTHBEARER). Stellen Sie das Postfach auf Anmeldung mit Passwort um</translation>
    </message>
    <message>
        <source>The server does not offer an OAuth2 log-in (SASL XOAUTH2 or OAUTHBEARER), only %1. Set the mailbox to log in with a password</source>
        <translation>Der Server bietet keine OAuth2-Anmeldung an (SASL XOAUTH2 oder OAUTHBEARER), nur %1. Stellen Sie das Postfach auf Anmeldung mit Passwort um</translation>
    </message>
    <message>
        <source>The server refused the OAuth2 log-in. Sign in to the mailbox&apos;s provider again</source>
        <translation>Der Server hat die OAuth2-Anmeldung abgelehnt. Melden Sie sich erneut beim Anbieter des Postfachs an</translation>
    </message>
    <message>
        <source>The server refused the user name or password%1. Check both in the mailbox&apos;s settings</source>
        <translation>Der Server hat Benutzername oder Passwort abgelehnt%1. Prüfen Sie beides in den Einstellungen des Postfachs</translation>
    </message>
    <message>
        <source>The server refused EHLO, so STARTTLS cannot be asked for (it answered &quot;%1&quot;)</source>
        <translation>Der Server hat EHLO abgelehnt, daher kann STARTTLS nicht angefordert werden (er antwortete „%1“)</translation>
    </message>
    <message>
        <source>The server does not offer STARTTLS (it answered &quot;%1&quot;)</source>
        <translation>Der Server bietet kein STARTTLS an (er antwortete „%1“)</translation>
    </message>
    <message>
        <source>Another operation is still running on this connection</source>
        <translation>Auf dieser Verbindung läuft noch eine andere Operation</translation>
    </message>
    <message>
        <source>The server&apos;s certificate was refused: %1. Its SHA-256 fingerprint is %2.</source>
        <translation>Das Zertifikat des Servers wurde abgelehnt: %1. Sein SHA-256-Fingerabdruck ist %2.</translation>
    </message>
    <message>
        <source>TLS could not be set up: %1</source>
        <translation>TLS konnte nicht eingerichtet werden: %1</translation>
    </message>
    <message>
        <source>The server sent data before the TLS handshake</source>
        <translation>Der Server hat vor dem TLS-Handshake Daten gesendet</translation>
    </message>
    <message>
        <source>The server sent a reply line longer than %1 bytes</source>
        <translation>Der Server hat eine Antwortzeile gesendet, die länger als %1 Byte ist</translation>
    </message>
    <message>
        <source>The server&apos;s reply has too many lines</source>
        <translation>Die Antwort des Servers hat zu viele Zeilen</translation>
    </message>
    <message>
        <source>The server sent a data block larger than %1 bytes</source>
        <translation>Der Server hat einen Datenblock gesendet, der größer als %1 Byte ist</translation>
    </message>
    <message>
        <source>The received data could not be stored: %1</source>
        <translation>Die empfangenen Daten konnten nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The server sent a response this program cannot read: %1</source>
        <translation>Der Server hat eine Antwort gesendet, die dieses Programm nicht lesen kann: %1</translation>
    </message>
    <message>
        <source>The message could not be saved: %1</source>
        <translation>Die Nachricht konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The server refused the log-in (%1%2). Check the user name and password.</source>
        <translation>Der Server hat die Anmeldung abgelehnt (%1%2). Prüfen Sie Benutzername und Passwort.</translation>
    </message>
</context>
<context>
    <name>Rules</name>
    <message>
        <source>The subject text cannot be blank.</source>
        <translation>Der Betrefftext darf nicht leer sein.</translation>
    </message>
    <message>
        <source>The header text cannot be blank</source>
        <translation>Der Kopfzeilentext darf nicht leer sein</translation>
    </message>
    <message>
        <source>The TO field cannot be blank</source>
        <translation>Das Feld TO darf nicht leer sein</translation>
    </message>
    <message>
        <source>Choose the mailbox this rule is for.</source>
        <translation>Wählen Sie das Postfach, für das diese Regel gilt.</translation>
    </message>
    <message>
        <source>The Sender field cannot be left blank.</source>
        <translation>Das Feld Absender darf nicht leer bleiben.</translation>
    </message>
    <message>
        <source>The email line cannot be blank</source>
        <translation>Die E-Mail-Zeile darf nicht leer sein</translation>
    </message>
    <message>
        <source>The domain line cannot be blank</source>
        <translation>Die Domain-Zeile darf nicht leer sein</translation>
    </message>
    <message>
        <source>The subject line cannot be blank</source>
        <translation>Die Betreffzeile darf nicht leer sein</translation>
    </message>
    <message>
        <source>This cell cannot be changed here.</source>
        <translation>Diese Zelle kann hier nicht geändert werden.</translation>
    </message>
    <message>
        <source>The hit count must be a whole number written with digits only, such as 0 or 17.</source>
        <translation>Die Trefferzahl muss eine ganze Zahl sein, nur aus Ziffern geschrieben, etwa 0 oder 17.</translation>
    </message>
    <message>
        <source>The text to match cannot be blank: an empty &quot;%1&quot; rule would match far more messages than intended.</source>
        <translation>Der zu vergleichende Text darf nicht leer sein: Eine leere „%1“-Regel träfe weit mehr Nachrichten als beabsichtigt.</translation>
    </message>
    <message>
        <source>column count %1 ignored</source>
        <translation>Spaltenzahl %1 übergangen</translation>
    </message>
    <message>
        <source>row count %1 ignored</source>
        <translation>Zeilenzahl %1 übergangen</translation>
    </message>
    <message>
        <source>no column and row counts</source>
        <translation>keine Spalten- und Zeilenzahlen</translation>
    </message>
    <message>
        <source>row count %1 is more than a list can have</source>
        <translation>Zeilenzahl %1 ist mehr, als eine Liste haben kann</translation>
    </message>
    <message>
        <source>not a cell line</source>
        <translation>keine Zellenzeile</translation>
    </message>
    <message>
        <source>cell %1,%2 lies outside the list&apos;s size</source>
        <translation>Zelle %1,%2 liegt außerhalb der Größe der Liste</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read, so it was not overwritten</source>
        <translation>„%1“ konnte nicht gelesen werden, daher wurde sie nicht überschrieben</translation>
    </message>
    <message>
        <source>Cannot keep a copy of the damaged &quot;%1&quot;, so it was not overwritten</source>
        <translation>Von der beschädigten „%1“ kann keine Kopie behalten werden, daher wurde sie nicht überschrieben</translation>
    </message>
    <message>
        <source>Delete   : </source>
        <translation>Löschen  : </translation>
    </message>
    <message>
        <source>Question : </source>
        <translation>Frage    : </translation>
    </message>
    <message>
        <source>Exception : </source>
        <translation>Ausnahme : </translation>
    </message>
    <message>
        <source> (Case Sensitive)</source>
        <translation> (Groß-/Kleinschreibung beachtet)</translation>
    </message>
    <message>
        <source>Message from %1</source>
        <translation>Nachricht von %1</translation>
    </message>
    <message>
        <source>Subject of   %1</source>
        <translation>Betreff      %1</translation>
    </message>
    <message>
        <source>Message was neither on the exception list nor on the list of matching criteria</source>
        <translation>Die Nachricht stand weder auf der Ausnahmeliste noch auf der Liste zutreffender Kriterien</translation>
    </message>
    <message>
        <source>** You marked this message **</source>
        <translation>** Sie haben diese Nachricht markiert **</translation>
    </message>
    <message>
        <source>** You un-marked this message **</source>
        <translation>** Sie haben die Markierung dieser Nachricht aufgehoben **</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is on the KNOWN SPAMMER BLACKLIST (you may edit if this is in error)</source>
        <translation>„%1“ steht auf der SPERRLISTE BEKANNTER SPAMMER (Sie können sie bearbeiten, falls dies ein Irrtum ist)</translation>
    </message>
</context>
<context>
    <name>TAddMailboxDialog</name>
    <message>
        <source>Add mailbox</source>
        <translation>Postfach hinzufügen</translation>
    </message>
    <message>
        <source>Enter your e-mail address. Tarnwick proposes the server and a protected connection; put them right if your provider tells you otherwise, then test the connection.</source>
        <translation>Geben Sie Ihre E-Mail-Adresse ein. Tarnwick schlägt den Server und eine geschützte Verbindung vor; berichtigen Sie beides, wenn Ihr Anbieter etwas anderes angibt, und testen Sie dann die Verbindung.</translation>
    </message>
    <message>
        <source>name@example.org</source>
        <translation>name@example.org</translation>
    </message>
    <message>
        <source>E-mail &amp;address:</source>
        <translation>E-Mail-&amp;Adresse:</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>S&amp;ecurity:</source>
        <translation>Si&amp;cherheit:</translation>
    </message>
    <message>
        <source>Log in with a pass&amp;word</source>
        <translation>Mit einem Pass&amp;wort anmelden</translation>
    </message>
    <message>
        <source>Sign in at the provider (&amp;OAuth2)</source>
        <translation>Beim Anbieter anmelden (&amp;OAuth2)</translation>
    </message>
    <message>
        <source>Log-in:</source>
        <translation>Anmeldung:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>Sign &amp;in...</source>
        <translation>An&amp;melden ...</translation>
    </message>
    <message>
        <source>&amp;Cancel sign-in</source>
        <translation>Anmeldung a&amp;bbrechen</translation>
    </message>
    <message>
        <source>&amp;Test connection</source>
        <translation>Verbindung &amp;testen</translation>
    </message>
    <message>
        <source>Result of the connection test</source>
        <translation>Ergebnis des Verbindungstests</translation>
    </message>
    <message>
        <source>&amp;Add mailbox</source>
        <translation>Postfach &amp;hinzufügen</translation>
    </message>
    <message>
        <source>%1 wants you to sign in on its own page: Tarnwick never sees your password.</source>
        <translation>%1 möchte, dass Sie sich auf seiner eigenen Seite anmelden: Tarnwick sieht Ihr Passwort nie.</translation>
    </message>
    <message>
        <source>Tarnwick knows how to sign in at Google and Microsoft only. Log in with a password (or an app password) for this mailbox.</source>
        <translation>Tarnwick kann sich nur bei Google und Microsoft so anmelden. Melden Sie sich für dieses Postfach mit einem Passwort (oder einem App-Passwort) an.</translation>
    </message>
    <message>
        <source>Waiting for the sign-in in your browser...</source>
        <translation>Warten auf die Anmeldung in Ihrem Browser ...</translation>
    </message>
    <message>
        <source>Signed in at %1. Test the connection, or add the mailbox.</source>
        <translation>Bei %1 angemeldet. Testen Sie die Verbindung oder fügen Sie das Postfach hinzu.</translation>
    </message>
    <message>
        <source>Enter the e-mail address, the user name and the server first.</source>
        <translation>Geben Sie zuerst die E-Mail-Adresse, den Benutzernamen und den Server ein.</translation>
    </message>
    <message>
        <source>Sign in first: press &quot;Sign in...&quot;.</source>
        <translation>Melden Sie sich zuerst an: Drücken Sie „Anmelden ...“.</translation>
    </message>
    <message>
        <source>Testing the connection to %1...</source>
        <translation>Die Verbindung zu %1 wird getestet ...</translation>
    </message>
    <message>
        <source>POP3</source>
        <translation>POP3</translation>
    </message>
    <message>
        <source>IMAP</source>
        <translation>IMAP</translation>
    </message>
    <message>
        <source>POP3 reads the mailbox; IMAP reads one folder of it and marks nothing read.</source>
        <translation>POP3 liest das Postfach; IMAP liest einen Ordner daraus und markiert nichts als gelesen.</translation>
    </message>
    <message>
        <source>P&amp;rotocol:</source>
        <translation>P&amp;rotokoll:</translation>
    </message>
    <message>
        <source>&amp;Server:</source>
        <translation>&amp;Server:</translation>
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
    <name>TConnectionReport</name>
    <message>
        <source>accepted the log-in and opened the folder</source>
        <translation>hat die Anmeldung angenommen und den Ordner geöffnet</translation>
    </message>
    <message>
        <source>LOGIN (the password inside the protected line)</source>
        <translation>LOGIN (das Passwort innerhalb der geschützten Verbindung)</translation>
    </message>
    <message>
        <source>AUTHENTICATE with an OAuth2 access token</source>
        <translation>AUTHENTICATE mit einem OAuth2-Zugriffstoken</translation>
    </message>
    <message>
        <source>AUTHENTICATE PLAIN with the password</source>
        <translation>AUTHENTICATE PLAIN mit dem Passwort</translation>
    </message>
</context>
<context>
    <name>TMailGuard</name>
    <message>
        <source>%1. %2</source>
        <translation>%1. %2</translation>
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
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
    <message>
        <source>Add mailbox...</source>
        <translation>Postfach hinzufügen ...</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Deleted mail</source>
        <translation>Gelöschte E-Mails</translation>
    </message>
    <message>
        <source>POP3</source>
        <translation>POP3</translation>
    </message>
    <message>
        <source>IMAP</source>
        <translation>IMAP</translation>
    </message>
    <message>
        <source>POP3 reads the mailbox; IMAP reads one folder of it and marks nothing read.</source>
        <translation>POP3 liest das Postfach; IMAP liest einen Ordner daraus und markiert nichts als gelesen.</translation>
    </message>
    <message>
        <source>The IMAP folder that is checked: INBOX, or another folder&apos;s name.</source>
        <translation>Der IMAP-Ordner, der geprüft wird: INBOX oder der Name eines anderen Ordners.</translation>
    </message>
    <message>
        <source>Move to Junk</source>
        <translation>In den Spam-Ordner verschieben</translation>
    </message>
    <message>
        <source>Move to Trash</source>
        <translation>In den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Delete for good</source>
        <translation>Endgültig löschen</translation>
    </message>
    <message>
        <source>What deleting a message does on the IMAP server. Moved to Junk or Trash, a message deleted by mistake can still be found there.</source>
        <translation>Was das Löschen einer Nachricht auf dem IMAP-Server bewirkt. In den Spam-Ordner oder den Papierkorb verschoben, lässt sich eine versehentlich gelöschte Nachricht dort noch finden.</translation>
    </message>
    <message>
        <source>All %1 mailboxes are in use. Empty the server and user name of one you no longer need, then add the new mailbox.</source>
        <translation>Alle %1 Postfächer sind belegt. Leeren Sie Server und Benutzername eines Postfachs, das Sie nicht mehr brauchen, und fügen Sie dann das neue hinzu.</translation>
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
