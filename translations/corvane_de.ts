<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AutomationSettingsPage</name>
    <message>
        <source>Call monitor (port 1012 protocol)</source>
        <translation>Anrufmonitor (Protokoll von Port 1012)</translation>
    </message>
    <message>
        <source>Call monitor server</source>
        <translation>Anrufmonitor-Server</translation>
    </message>
    <message>
        <source>For home-automation systems and apps that read a router&apos;s call monitor; see docs/callmonitor.md</source>
        <translation>Für Hausautomationssysteme und Apps, die den Anrufmonitor eines Routers lesen; siehe docs/callmonitor.md</translation>
    </message>
    <message>
        <source>Publish the calls to a broker</source>
        <translation>Anrufe über einen Broker veröffentlichen</translation>
    </message>
    <message>
        <source>With Home Assistant discovery; see docs/mqtt.md</source>
        <translation>Mit Home-Assistant-Discovery; siehe docs/mqtt.md</translation>
    </message>
    <message>
        <source>Broker:</source>
        <translation>Broker:</translation>
    </message>
    <message>
        <source>mqtt://[user@]host[:port][/prefix], or mqtts:// for TLS</source>
        <translation>mqtt://[benutzer@]host[:port][/präfix] oder mqtts:// für TLS</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Device id:</source>
        <translation>Geräte-ID:</translation>
    </message>
    <message>
        <source>host and port</source>
        <translation>Host und Port</translation>
    </message>
    <message>
        <source>Names this adapter in topics and in Home Assistant</source>
        <translation>Name dieses Adapters in den Topics und in Home Assistant</translation>
    </message>
</context>
<context>
    <name>CallGrid</name>
    <message>
        <source>Delete Calls</source>
        <translation>Anrufe löschen</translation>
    </message>
    <message>
        <source>Delete the selected call from the call list?</source>
        <translation>Den ausgewählten Anruf aus der Anrufliste löschen?</translation>
    </message>
    <message>
        <source>Delete the %1 selected calls from the call list?</source>
        <translation>Die %1 ausgewählten Anrufe aus der Anrufliste löschen?</translation>
    </message>
</context>
<context>
    <name>CallList</name>
    <message>
        <source>%1 could not be read: it is left as it is, new calls are kept in memory only</source>
        <translation>%1 konnte nicht gelesen werden: Die Datei bleibt, wie sie ist, neue Anrufe werden nur im Speicher gehalten</translation>
    </message>
    <message>
        <source>Calls not saved: %1 could not be written</source>
        <translation>Anrufe nicht gespeichert: %1 konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>CallListModel</name>
    <message>
        <source>MSN</source>
        <translation>MSN</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Rufnummer</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Geb.</translation>
    </message>
</context>
<context>
    <name>CallOutputs</name>
    <message>
        <source>Not a valid address and port</source>
        <translation>Adresse oder Port ungültig</translation>
    </message>
    <message>
        <source>Cannot listen: %1</source>
        <translation>Kann keine Verbindungen annehmen: %1</translation>
    </message>
    <message>
        <source>Listening on %1 port %2</source>
        <translation>Empfangsbereit auf %1 Port %2</translation>
    </message>
    <message>
        <source>Not started: %1</source>
        <translation>Nicht gestartet: %1</translation>
    </message>
    <message>
        <source>Publishing to %1 port %2 as %3</source>
        <translation>Veröffentlicht an %1 Port %2 als %3</translation>
    </message>
    <message>
        <source>On</source>
        <translation>An</translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation>Kann nicht schreiben</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Not in this program</source>
        <translation>Nicht in diesem Programm</translation>
    </message>
    <message>
        <source>No password in the password file</source>
        <translation>Kein Passwort in der Passwortdatei</translation>
    </message>
    <message>
        <source>A password is needed off this computer</source>
        <translation>Außerhalb dieses Rechners ist ein Passwort nötig</translation>
    </message>
    <message>
        <source>Certificate and key go together</source>
        <translation>Zertifikat und Schlüssel gehören zusammen</translation>
    </message>
    <message>
        <source>Cannot read the certificate or key</source>
        <translation>Zertifikat oder Schlüssel nicht lesbar</translation>
    </message>
    <message>
        <source>Serving %1</source>
        <translation>Bereitgestellt unter %1</translation>
    </message>
    <message>
        <source>Not started: type the broker&apos;s address</source>
        <translation>Nicht gestartet: Bitte die Adresse des Brokers eingeben</translation>
    </message>
    <message>
        <source>Connecting to %1 port %2 ...</source>
        <translation>Verbinde mit %1 Port %2 ...</translation>
    </message>
    <message>
        <source>Unknown host %1; trying again</source>
        <translation>Unbekannter Host %1; neuer Versuch folgt</translation>
    </message>
    <message>
        <source>%1 port %2 refused the connection; trying again</source>
        <translation>%1 Port %2 hat die Verbindung abgelehnt; neuer Versuch folgt</translation>
    </message>
    <message>
        <source>Wrong user name or password for %1; trying again</source>
        <translation>Falscher Benutzername oder falsches Passwort für %1; neuer Versuch folgt</translation>
    </message>
    <message>
        <source>Connection to %1 lost (%2); reconnecting</source>
        <translation>Verbindung zu %1 verloren (%2); verbinde neu</translation>
    </message>
    <message>
        <source>Cannot connect to %1 port %2 (%3); trying again</source>
        <translation>Keine Verbindung zu %1 Port %2 (%3); neuer Versuch folgt</translation>
    </message>
</context>
<context>
    <name>CallsSettingsPage</name>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>Popup on incoming call</source>
        <translation>Bei Anruf einblenden</translation>
    </message>
    <message>
        <source>Enable ring sound</source>
        <translation>Klingelton an</translation>
    </message>
    <message>
        <source>Enable caller ID sound</source>
        <translation>Ton bei Rufnr.-Anzeige</translation>
    </message>
    <message>
        <source>Select sound ...</source>
        <translation>Ton wählen ...</translation>
    </message>
    <message>
        <source>Select events to log</source>
        <translation>In die Anrufliste aufnehmen</translation>
    </message>
    <message>
        <source>Answered calls (Answer)</source>
        <translation>Angenommene Anrufe (Answer)</translation>
    </message>
    <message>
        <source>Unanswered calls (Ring)</source>
        <translation>Unbeantwortete Anrufe (Ring)</translation>
    </message>
    <message>
        <source>Connected outgoing calls (Called)</source>
        <translation>Abgehende Anrufe, verbunden (Called)</translation>
    </message>
    <message>
        <source>Unconnected outgoing calls (Try)</source>
        <translation>Abgehende Anrufe, nicht verbunden (Try)</translation>
    </message>
    <message>
        <source>Caller ID events (CID)</source>
        <translation>Rufnummernanzeigen (CID)</translation>
    </message>
    <message>
        <source>Dial Prefix</source>
        <translation>Amtskennziffer</translation>
    </message>
    <message>
        <source>Prefix used for outgoing calls:</source>
        <translation>Vorwahl für abgehende Anrufe:</translation>
    </message>
</context>
<context>
    <name>ChannelPanel</name>
    <message>
        <source>ISDN Channel  A</source>
        <translation>ISDN-Kanal  A</translation>
    </message>
    <message>
        <source>ISDN Channel  B</source>
        <translation>ISDN-Kanal  B</translation>
    </message>
    <message>
        <source>Active</source>
        <translation>Aktiv</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Ring</source>
        <translation>Klingeln</translation>
    </message>
    <message>
        <source>Call cost  :</source>
        <translation>Gebühren:</translation>
    </message>
    <message>
        <source>MSN :</source>
        <translation>MSN:</translation>
    </message>
    <message>
        <source>Call duration :</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>Where the number is from: no phone-book entry names it</source>
        <translation>Woher die Nummer stammt: kein Telefonbucheintrag nennt sie</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>usage: corvane [scan] [DEBUG1 ... DEBUG5] [--simulate [SCENARIO]] [--port PATH] [--home DIR]
               [--service URL]
       corvane --help | --version
The DodOva ISDN adapter&apos;s settings window and call monitor.

  scan                   start straight in the call monitor; closing it ends the program
  DEBUG1 ... DEBUG5      show the monitor&apos;s trace panes at that level (the smallest wins)
  --simulate [SCENARIO]  start dodova-sim from beside the program and use it for this run
                         (default scenario demo; dodova-sim --list-scenarios lists them)
  --port PATH            the current port number means the device PATH for this run
  --home DIR             the program folder (list.txt, book.txt, pictures)
  --service URL          the settings window works through the corvane-monitor whose API is
                         at URL (http://:TOKEN@HOST:PORT/; the token of a local one is found);
                         without it, one that holds the port is found by itself
  -h, --help             show this help and end
  --version              show the version and end
The words are case-sensitive and may appear anywhere, also inside other words.
</source>
        <translation>Aufruf: corvane [scan] [DEBUG1 ... DEBUG5] [--simulate [SZENARIO]] [--port PFAD] [--home ORDNER]
               [--service URL]
       corvane --help | --version
Einstellungsfenster und Anrufmonitor für den ISDN-Adapter DodOva.

  scan                   gleich im Anrufmonitor starten; sein Schließen beendet das Programm
  DEBUG1 ... DEBUG5      die Trace-Bereiche des Monitors in dieser Stufe zeigen (die kleinste gilt)
  --simulate [SZENARIO]  dodova-sim neben dem Programm starten und für diesen Lauf verwenden
                         (Standardszenario demo; dodova-sim --list-scenarios listet sie auf)
  --port PFAD            die eingestellte Portnummer meint für diesen Lauf das Gerät PFAD
  --home ORDNER          der Programmordner (list.txt, book.txt, Bilder)
  --service URL          das Einstellungsfenster arbeitet über den corvane-monitor, dessen API
                         unter URL liegt (http://:TOKEN@HOST:PORT/; das Token eines lokalen wird
                         gefunden); ohne die Option wird einer, der den Port hält, selbst gefunden
  -h, --help             diese Hilfe zeigen und beenden
  --version              die Version zeigen und beenden
Die Wörter unterscheiden Groß- und Kleinschreibung und dürfen überall stehen, auch in anderen Wörtern.
</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Unknown number</source>
        <translation>Unbekannte Rufnummer</translation>
    </message>
    <message>
        <source>your line</source>
        <translation>Ihren Anschluss</translation>
    </message>
    <message>
        <source>MSN %1</source>
        <translation>MSN %1</translation>
    </message>
    <message>
        <source>waiting, both channels busy</source>
        <translation>anklopfend, beide Kanäle belegt</translation>
    </message>
    <message>
        <source>channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>%1
calls %2, %3</source>
        <translation>%1
ruft %2 an, %3</translation>
    </message>
    <message>
        <source>MSN %1 (%2)</source>
        <translation>MSN %1 (%2)</translation>
    </message>
    <message>
        <source>Missed call from %1</source>
        <translation>Verpasster Anruf von %1</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>um %1</translation>
    </message>
    <message>
        <source>%1, at %2</source>
        <translation>%1, um %2</translation>
    </message>
    <message>
        <source>Show the call monitor</source>
        <translation>Anrufmonitor zeigen</translation>
    </message>
    <message>
        <source>Premium-rate number %1</source>
        <translation>Premium-Nummer %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <comment>number (place)</comment>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1
calls %2, %3
Calling it back costs extra.</source>
        <translation>%1
ruft %2 an, %3
Ein Rückruf kostet extra.</translation>
    </message>
</context>
<context>
    <name>Dialog</name>
    <message>
        <source>Serial Port Options</source>
        <translation>Serielle Schnittstelle</translation>
    </message>
    <message>
        <source>Port Selection</source>
        <translation>Portauswahl</translation>
    </message>
    <message>
        <source>Device:</source>
        <translation>Gerät:</translation>
    </message>
    <message>
        <source>A device file, or tcp://HOST:PORT for an adapter behind ser2net</source>
        <translation>Eine Gerätedatei oder tcp://HOST:PORT für einen Adapter hinter ser2net</translation>
    </message>
    <message>
        <source>Port Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Slow Responses</source>
        <translation>Langsame Antworten</translation>
    </message>
    <message>
        <source>Slow Response</source>
        <translation>Langsame Antwort</translation>
    </message>
    <message>
        <source>Try clicking here</source>
        <translation>Versuchen Sie dies,</translation>
    </message>
    <message>
        <source>if you are having</source>
        <translation>wenn es Probleme</translation>
    </message>
    <message>
        <source>problems.</source>
        <translation>gibt.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Applies when Corvane starts again</source>
        <translation>Gilt ab dem nächsten Start von Corvane</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
</context>
<context>
    <name>DialogpBook</name>
    <message>
        <source>The file is larger than %1 MB.</source>
        <translation>Die Datei ist größer als %1 MB.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Phone 1</source>
        <translation>Telefon 1</translation>
    </message>
    <message>
        <source>Phone 2</source>
        <translation>Telefon 2</translation>
    </message>
    <message>
        <source>Mobile</source>
        <translation>Mobil</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstige</translation>
    </message>
    <message>
        <source>Phone Book Manager</source>
        <translation>Telefonbuch</translation>
    </message>
    <message>
        <source>All Picture files (*.*) |*.bmp;*.jpg;*.gif;*.png| BMP Files (*.bmp) |*.bmp| JPG Files (*.jpg) |*.jpg| GIF Files (*.gif) |*.gif| PNG Files (*.png) |*.png</source>
        <translation>Alle Bilddateien (*.*) |*.bmp;*.jpg;*.gif;*.png| BMP-Dateien (*.bmp) |*.bmp| JPG-Dateien (*.jpg) |*.jpg| GIF-Dateien (*.gif) |*.gif| PNG-Dateien (*.png) |*.png</translation>
    </message>
    <message>
        <source>Import contacts</source>
        <translation>Kontakte importieren</translation>
    </message>
    <message>
        <source>Add New</source>
        <translation>Neu hinzufügen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Add contacts from a vCard (.vcf) or CSV file</source>
        <translation>Kontakte aus einer vCard- (.vcf) oder CSV-Datei hinzufügen</translation>
    </message>
    <message>
        <source>Double-click a contact in the list to choose its picture</source>
        <translation>Doppelklick auf einen Kontakt in der Liste wählt sein Bild</translation>
    </message>
    <message>
        <source>Search by name or number</source>
        <translation>Nach Name oder Rufnummer suchen</translation>
    </message>
    <message>
        <source>Telephone 1</source>
        <translation>Telefon 1</translation>
    </message>
    <message>
        <source>Telephone 2</source>
        <translation>Telefon 2</translation>
    </message>
    <message>
        <source>Search:</source>
        <translation>Suchen:</translation>
    </message>
    <message>
        <source>%1 - book.txt could not be read</source>
        <translation>%1 - book.txt konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>The phone book could not be saved to
%1

The file as it was before is unchanged. Close anyway and lose the changes made in this window?</source>
        <translation>Das Telefonbuch konnte nicht gespeichert werden in
%1

Die Datei ist unverändert wie zuvor. Trotzdem schließen und die Änderungen in diesem Fenster verwerfen?</translation>
    </message>
    <message>
        <source>The contacts could not be read from
%1

%2</source>
        <translation>Die Kontakte konnten nicht gelesen werden aus
%1

%2</translation>
    </message>
    <message numerus="yes">
        <source>
%n already in the phone book, left out.</source>
        <translation>
            <numerusform>
%n schon im Telefonbuch, ausgelassen.</numerusform>
            <numerusform>
%n schon im Telefonbuch, ausgelassen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>
%n without a name, left out.</source>
        <translation>
            <numerusform>
%n ohne Namen, ausgelassen.</numerusform>
            <numerusform>
%n ohne Namen, ausgelassen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Address-book folder</source>
        <translation>Adressbuch-Ordner</translation>
    </message>
    <message>
        <source>Address book...</source>
        <translation>Adressbuch...</translation>
    </message>
    <message>
        <source>Name callers from a folder of vCards kept by another program (vdirsyncer, khard)</source>
        <translation>Anrufer aus einem Ordner mit vCards benennen, den ein anderes Programm pflegt (vdirsyncer, khard)</translation>
    </message>
    <message>
        <source>Stop following</source>
        <translation>Nicht mehr folgen</translation>
    </message>
    <message>
        <source>(photo)</source>
        <translation>(Foto)</translation>
    </message>
    <message>
        <source>No address-book folder followed.</source>
        <translation>Keinem Adressbuch-Ordner gefolgt.</translation>
    </message>
    <message>
        <source>Read only, from the address-book folder %1 (contacts: %2); the book&apos;s entries win, none is written into it:</source>
        <translation>Nur lesbar, aus dem Adressbuch-Ordner %1 (Kontakte: %2); die Einträge des Telefonbuchs haben Vorrang, keiner wird hineingeschrieben:</translation>
    </message>
    <message>
        <source>A contact needs a name. Type it in the Name field, then choose Add New again.</source>
        <translation>Ein Kontakt braucht einen Namen. Geben Sie ihn im Feld Name ein und wählen Sie dann erneut Neu hinzufügen.</translation>
    </message>
    <message>
        <source>Delete the selected contact?</source>
        <translation>Den ausgewählten Kontakt löschen?</translation>
    </message>
    <message>
        <source>Delete the %1 selected contacts?</source>
        <translation>Die %1 ausgewählten Kontakte löschen?</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Deletes the selected contacts (key: Delete)</source>
        <translation>Löscht die ausgewählten Kontakte (Taste: Entf)</translation>
    </message>
    <message>
        <source>Contacts (*.vcf *.csv *.txt);;vCard files (*.vcf);;CSV files (*.csv *.txt);;All files (*)</source>
        <translation>Kontakte (*.vcf *.csv *.txt);;vCard-Dateien (*.vcf);;CSV-Dateien (*.csv *.txt);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>1 contact imported.</source>
        <translation>1 Kontakt importiert.</translation>
    </message>
    <message>
        <source>%1 contacts imported.</source>
        <translation>%1 Kontakte importiert.</translation>
    </message>
    <message>
        <source>
Numbers that are no phone number, left out: %1.</source>
        <translation>
Nummern, die keine Telefonnummer sind, ausgelassen: %1.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not a phone number. Type its digits (spaces, dashes, brackets and a leading + are fine), or leave the field empty.</source>
        <translation>%1: „%2“ ist keine Telefonnummer. Geben Sie ihre Ziffern ein (Leerzeichen, Bindestriche, Klammern und ein führendes + sind erlaubt), oder lassen Sie das Feld leer.</translation>
    </message>
    <message>
        <source>The phone book of corvane-monitor at %1: each change is saved there as it is made. The service names callers from an address-book folder of its own (--contacts).</source>
        <translation>Das Telefonbuch von corvane-monitor unter %1: Jede Änderung wird dort gespeichert, sobald sie gemacht ist. Der Dienst benennt Anrufer aus einem eigenen Adressbuch-Ordner (--contacts).</translation>
    </message>
    <message>
        <source>%1 - corvane-monitor at %2 does not answer</source>
        <translation>%1 - corvane-monitor unter %2 antwortet nicht</translation>
    </message>
    <message>
        <source>%1 - corvane-monitor at %2</source>
        <translation>%1 - corvane-monitor unter %2</translation>
    </message>
    <message>
        <source>corvane-monitor at %1 did not make this change: %2</source>
        <translation>corvane-monitor unter %1 hat diese Änderung nicht vorgenommen: %2</translation>
    </message>
    <message>
        <source>The phone book at %1 was changed elsewhere (on the web page or in another window) since this window read it, so this change was not made. The window reads the book again; what you typed is still in the fields.</source>
        <translation>Das Telefonbuch unter %1 wurde anderswo geändert (auf der Webseite oder in einem anderen Fenster), seit dieses Fenster es gelesen hat; diese Änderung wurde deshalb nicht vorgenommen. Das Fenster liest das Telefonbuch neu; was Sie eingegeben haben, steht noch in den Feldern.</translation>
    </message>
    <message>
        <source>corvane-monitor at %1 does not answer (%2), so this change was not made. What you typed is still in the fields: try again once the service runs.</source>
        <translation>corvane-monitor unter %1 antwortet nicht (%2); diese Änderung wurde deshalb nicht vorgenommen. Was Sie eingegeben haben, steht noch in den Feldern: Versuchen Sie es erneut, sobald der Dienst läuft.</translation>
    </message>
    <message numerus="yes">
        <source>
%n not taken by corvane-monitor (%1).</source>
        <translation>
            <numerusform>
%n von corvane-monitor nicht angenommen (%1).</numerusform>
            <numerusform>
%n von corvane-monitor nicht angenommen (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 holds no picture this window reads.</source>
        <translation>%1 enthält kein Bild, das dieses Fenster lesen kann.</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Serial Port Error!</source>
        <translation>Fehler an der seriellen Schnittstelle!</translation>
    </message>
    <message>
        <source>Either serial port is being used or Port is wrong.</source>
        <translation>Die serielle Schnittstelle ist belegt oder der Port ist falsch.</translation>
    </message>
    <message>
        <source>Device tried: %1</source>
        <translation>Versuchtes Gerät: %1</translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation>Warnung!</translation>
    </message>
    <message>
        <source>Sending %1</source>
        <translation>Sende %1</translation>
    </message>
    <message>
        <source>No DodOva answers on port %1.</source>
        <translation>Am Port %1 antwortet kein DodOva.</translation>
    </message>
    <message>
        <source>Code:</source>
        <translation>Code:</translation>
    </message>
    <message>
        <source>Settings received.</source>
        <translation>Einstellungen gelesen.</translation>
    </message>
    <message>
        <source>No DodOva answered on port %1: the window shows the last known values.</source>
        <translation>Am Port %1 hat kein DodOva geantwortet: das Fenster zeigt die zuletzt bekannten Werte.</translation>
    </message>
    <message>
        <source>%1 of %2 commands got no answer or were refused: their fields keep their last values.</source>
        <translation>%1 von %2 Befehlen blieben ohne Antwort oder wurden abgelehnt: ihre Felder behalten die letzten Werte.</translation>
    </message>
    <message>
        <source>Transmit Settings and Save to P stay off until a reading succeeds.</source>
        <translation>„Einstellungen senden“ und „P speichern“ bleiben gesperrt, bis das Lesen gelingt.</translation>
    </message>
    <message>
        <source>Reading identification</source>
        <translation>Lese Kennung</translation>
    </message>
    <message>
        <source>Reading charge counters</source>
        <translation>Lese Gebührenzähler</translation>
    </message>
    <message>
        <source>Reading MSNs</source>
        <translation>Lese MSNs</translation>
    </message>
    <message>
        <source>Reading own numbers</source>
        <translation>Lese eigene Rufnummern</translation>
    </message>
    <message>
        <source>Waiting for the device to apply the settings</source>
        <translation>Warte, bis das Gerät die Einstellungen übernommen hat</translation>
    </message>
    <message>
        <source>The DodOva refused: %1.</source>
        <translation>Der DodOva hat abgelehnt: %1.</translation>
    </message>
    <message>
        <source>The DodOva refused these settings and kept its own values:
%1</source>
        <translation>Der DodOva hat diese Einstellungen abgelehnt und seine eigenen Werte behalten:
%1</translation>
    </message>
    <message>
        <source>Phone 1 MSN1</source>
        <translation>Telefon 1 MSN1</translation>
    </message>
    <message>
        <source>Phone 1 MSN2</source>
        <translation>Telefon 1 MSN2</translation>
    </message>
    <message>
        <source>Phone 1 MSN3</source>
        <translation>Telefon 1 MSN3</translation>
    </message>
    <message>
        <source>Phone 2 MSN1</source>
        <translation>Telefon 2 MSN1</translation>
    </message>
    <message>
        <source>Phone 2 MSN2</source>
        <translation>Telefon 2 MSN2</translation>
    </message>
    <message>
        <source>Phone 2 MSN3</source>
        <translation>Telefon 2 MSN3</translation>
    </message>
    <message>
        <source>DTE Port MSN1</source>
        <translation>DTE-Port MSN1</translation>
    </message>
    <message>
        <source>DTE Port MSN2</source>
        <translation>DTE-Port MSN2</translation>
    </message>
    <message>
        <source>DTE Port MSN3</source>
        <translation>DTE-Port MSN3</translation>
    </message>
    <message>
        <source>DTE Port Own #</source>
        <translation>DTE-Port eigene Nr.</translation>
    </message>
    <message>
        <source>Phone 1 Own #</source>
        <translation>Telefon 1 eigene Nr.</translation>
    </message>
    <message>
        <source>Phone 2 Own #</source>
        <translation>Telefon 2 eigene Nr.</translation>
    </message>
    <message>
        <source>Reading registers %1/%2</source>
        <translation>Lese Register %1/%2</translation>
    </message>
    <message>
        <source>Writing registers %1/%2</source>
        <translation>Schreibe Register %1/%2</translation>
    </message>
    <message>
        <source>Writing MSNs and own numbers %1/%2</source>
        <translation>Schreibe MSNs und eigene Rufnummern %1/%2</translation>
    </message>
    <message>
        <source>Call Charges</source>
        <translation>Gebühren</translation>
    </message>
    <message>
        <source>Call Units</source>
        <translation>Einheiten</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Letzter</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>MSN%1</source>
        <translation>MSN%1</translation>
    </message>
    <message>
        <source>Own #</source>
        <translation>Eigene Nr.</translation>
    </message>
    <message>
        <source>Phone %1 (%2)</source>
        <translation>Telefon %1 (%2)</translation>
    </message>
    <message>
        <source>Global Calls On</source>
        <translation>Globale Anrufe an</translation>
    </message>
    <message>
        <source>When OFF, Rejects Calls with Call Party number information element missing</source>
        <translation>Wenn AUS, werden Anrufe ohne Rufnummer des Anrufers abgewiesen</translation>
    </message>
    <message>
        <source>Delayed Clear Off</source>
        <translation>Verzögerter Abbau aus</translation>
    </message>
    <message>
        <source>Caller on Bundle</source>
        <translation>Anrufer bei Bündelung</translation>
    </message>
    <message>
        <source>When both channels are used for data, drop one line to receive voice call</source>
        <translation>Wenn beide Kanäle für Daten belegt sind, wird einer freigegeben, um einen Sprachanruf anzunehmen</translation>
    </message>
    <message>
        <source>Calling Line ID Off</source>
        <translation>Rufnr. unterdrücken</translation>
    </message>
    <message>
        <source>Deactivates sending own phone number when calling from %1</source>
        <translation>Schaltet das Senden der eigenen Rufnummer bei Anrufen von %1 ab</translation>
    </message>
    <message>
        <source>Incoming calls Off</source>
        <translation>Ankommend gesperrt</translation>
    </message>
    <message>
        <source>Disables incoming calls for %1. When Off you cannot receive calls!</source>
        <translation>Sperrt ankommende Anrufe für %1. Wenn aus, können Sie keine Anrufe empfangen!</translation>
    </message>
    <message>
        <source>Metering Pulse</source>
        <translation>Gebührenimpuls</translation>
    </message>
    <message>
        <source>Enables a DECT phone to recognise cost charges on %1</source>
        <translation>Lässt ein DECT-Telefon die Gebühren an %1 erkennen</translation>
    </message>
    <message>
        <source>Charging Counter</source>
        <translation>Gebührenzähler</translation>
    </message>
    <message>
        <source>Enables the Charging Counter for %1</source>
        <translation>Schaltet den Gebührenzähler für %1 ein</translation>
    </message>
    <message>
        <source>Call Waiting</source>
        <translation>Anklopfen</translation>
    </message>
    <message>
        <source>Enables Call Waiting for %1</source>
        <translation>Schaltet Anklopfen für %1 ein</translation>
    </message>
    <message>
        <source>Emergency Line</source>
        <translation>Notruf-Leitung</translation>
    </message>
    <message>
        <source>This feature is currently not used</source>
        <translation>Diese Funktion wird derzeit nicht genutzt</translation>
    </message>
    <message>
        <source>Phone %1</source>
        <translation>Telefon %1</translation>
    </message>
    <message>
        <source>Set first MSN number. %1 will ring when this number is called.</source>
        <translation>Erste MSN festlegen. %1 klingelt, wenn diese Rufnummer angerufen wird.</translation>
    </message>
    <message>
        <source>Set second MSN number. %1 will ring when this number is called.</source>
        <translation>Zweite MSN festlegen. %1 klingelt, wenn diese Rufnummer angerufen wird.</translation>
    </message>
    <message>
        <source>Set third MSN number. %1 will ring when this number is called.</source>
        <translation>Dritte MSN festlegen. %1 klingelt, wenn diese Rufnummer angerufen wird.</translation>
    </message>
    <message>
        <source>Own number to send when calling from %1</source>
        <translation>Eigene Rufnummer, die bei Anrufen von %1 gesendet wird</translation>
    </message>
    <message>
        <source>This windows displays call charges for %1</source>
        <translation>Dieses Feld zeigt die Gebühren für %1</translation>
    </message>
    <message>
        <source>DTE Port (ISDN Modem)</source>
        <translation>DTE-Port (ISDN-Modem)</translation>
    </message>
    <message>
        <source>Set MSN number for DTE port. Modem will answer when this number is called (In auto-answer mode).</source>
        <translation>MSN für den DTE-Port festlegen. Das Modem nimmt ab, wenn diese Rufnummer angerufen wird (im Modus automatische Annahme).</translation>
    </message>
    <message>
        <source>Own number to send when calling using the modem</source>
        <translation>Eigene Rufnummer, die bei Anrufen über das Modem gesendet wird</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Annahme nach</translation>
    </message>
    <message>
        <source>Set the number of rings to auto-answer (Zero disables)</source>
        <translation>Anzahl der Klingelzeichen bis zur automatischen Annahme (Null schaltet sie ab)</translation>
    </message>
    <message>
        <source>rings</source>
        <translation>Rufen</translation>
    </message>
    <message>
        <source>Enables the Charging Counter for DTE Port (Internet)</source>
        <translation>Schaltet den Gebührenzähler für den DTE-Port (Internet) ein</translation>
    </message>
    <message>
        <source>This windows displays call charges for the DTE port</source>
        <translation>Dieses Feld zeigt die Gebühren für den DTE-Port</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Voice Tran. B Ch.</source>
        <translation>Sprache transp.</translation>
    </message>
    <message>
        <source>PPP Trans. B Ch.</source>
        <translation>PPP transp.</translation>
    </message>
    <message>
        <source>Data Tran. B Ch.</source>
        <translation>Daten transp.</translation>
    </message>
    <message>
        <source>PPP Mode</source>
        <translation>PPP-Modus</translation>
    </message>
    <message>
        <source>Set ISDN 64kbps</source>
        <translation>ISDN mit 64 kbit/s</translation>
    </message>
    <message>
        <source>Set ISDN 128kbps</source>
        <translation>ISDN mit 128 kbit/s</translation>
    </message>
    <message>
        <source>Click to set PPP mode. Click Save to your &apos;Power-on&apos; profile after selecting. You can also use ATB40 or ATB0 in modem Extra Settings!</source>
        <translation>Klicken, um den PPP-Modus festzulegen. Danach im Einschaltprofil speichern. Sie können auch ATB40 oder ATB0 in den zusätzlichen Einstellungen des Modems verwenden!</translation>
    </message>
    <message>
        <source>High Layer</source>
        <translation>Dienstkennung (High Layer)</translation>
    </message>
    <message>
        <source>Telephony</source>
        <translation>Telefonie</translation>
    </message>
    <message>
        <source>Fax G2/G3</source>
        <translation>Fax G2/G3</translation>
    </message>
    <message>
        <source>No element sent</source>
        <translation>Nichts senden</translation>
    </message>
    <message>
        <source>Setting for Phone 1</source>
        <translation>Einstellung für Telefon 1</translation>
    </message>
    <message>
        <source>Setting for Phone 2</source>
        <translation>Einstellung für Telefon 2</translation>
    </message>
    <message>
        <source>Global Controls</source>
        <translation>Allgemeine Einstellungen</translation>
    </message>
    <message>
        <source>Full Emergency On</source>
        <translation>Voller Notbetrieb an</translation>
    </message>
    <message>
        <source>When ON, Dodova will try to operate on phone line power if mains is not available</source>
        <translation>Wenn AN, versucht der DodOva bei Netzausfall mit Strom aus der Telefonleitung zu arbeiten</translation>
    </message>
    <message>
        <source>Bundle Connect On</source>
        <translation>Kanalbündelung an</translation>
    </message>
    <message>
        <source>Enables Bundle Connect. Both channels are used</source>
        <translation>Schaltet die Kanalbündelung ein. Beide Kanäle werden genutzt</translation>
    </message>
    <message>
        <source>Caller ID (On Hook)</source>
        <translation>CLIP (aufgelegt)</translation>
    </message>
    <message>
        <source>Enables Caller ID (ON HOOK)</source>
        <translation>Schaltet die Rufnummernanzeige bei aufgelegtem Hörer ein</translation>
    </message>
    <message>
        <source>Caller ID (Off Hook)</source>
        <translation>CLIP (abgehoben)</translation>
    </message>
    <message>
        <source>Enables Caller ID (OFF HOOK)</source>
        <translation>Schaltet die Rufnummernanzeige bei abgehobenem Hörer ein</translation>
    </message>
    <message>
        <source>Auto Baud On</source>
        <translation>Auto-Baud an</translation>
    </message>
    <message>
        <source>This should always be on</source>
        <translation>Sollte immer an sein</translation>
    </message>
    <message>
        <source>Hangup Phone 1</source>
        <translation>Telefon 1 auflegen</translation>
    </message>
    <message>
        <source>Hangup Phone 2</source>
        <translation>Telefon 2 auflegen</translation>
    </message>
    <message>
        <source>Hook Flash Time</source>
        <translation>Flash-Zeit (Rückfrage)</translation>
    </message>
    <message>
        <source>Flash time setting for phones connected to POTS ports in milliseconds</source>
        <translation>Flash-Zeit in Millisekunden für Telefone an den analogen Anschlüssen</translation>
    </message>
    <message>
        <source>Time in ms</source>
        <translation>Zeit in ms</translation>
    </message>
    <message>
        <source>200 ms to 1000 ms</source>
        <translation>200 ms bis 1000 ms</translation>
    </message>
    <message>
        <source>SS Protocol</source>
        <translation>Protokoll Dienstmerkmale</translation>
    </message>
    <message>
        <source>Keypad</source>
        <translation>Keypad</translation>
    </message>
    <message>
        <source>Sets Supplementary Services Protocol to Keypad</source>
        <translation>Dienstmerkmale über Keypad steuern</translation>
    </message>
    <message>
        <source>Functional</source>
        <translation>Funktional</translation>
    </message>
    <message>
        <source>Sets Supplementary Services Protocol to Functional</source>
        <translation>Dienstmerkmale über das funktionale Protokoll steuern</translation>
    </message>
    <message>
        <source>Dodova Profiles and Power-on default</source>
        <translation>DodOva-Profile und Einschaltprofil</translation>
    </message>
    <message>
        <source>Power-On Profile</source>
        <translation>Einschaltprofil</translation>
    </message>
    <message>
        <source>Profile 1</source>
        <translation>Profil 1</translation>
    </message>
    <message>
        <source>Profile 2</source>
        <translation>Profil 2</translation>
    </message>
    <message>
        <source>Profile 3</source>
        <translation>Profil 3</translation>
    </message>
    <message>
        <source>Profile 4</source>
        <translation>Profil 4</translation>
    </message>
    <message>
        <source>Factory</source>
        <translation>Werkseinstellung</translation>
    </message>
    <message>
        <source>Load Factory Settings</source>
        <translation>Werkseinstellungen laden</translation>
    </message>
    <message>
        <source>Load P%1</source>
        <translation>P%1 laden</translation>
    </message>
    <message>
        <source>Save to P%1</source>
        <translation>P%1 speichern</translation>
    </message>
    <message>
        <source>Cost per Unit</source>
        <translation>Kosten pro Einheit</translation>
    </message>
    <message>
        <source>Reset Counters</source>
        <translation>Zähler zurücksetzen</translation>
    </message>
    <message>
        <source>Resets Last Call and Total Calls charge counters on DodOva</source>
        <translation>Setzt die Gebührenzähler für den letzten Anruf und alle Anrufe im DodOva zurück</translation>
    </message>
    <message>
        <source>Last reset:</source>
        <translation>Zuletzt zurückgesetzt:</translation>
    </message>
    <message>
        <source>COM Port Busy</source>
        <translation>COM-Port belegt</translation>
    </message>
    <message>
        <source>Receive Settings</source>
        <translation>Einstellungen lesen</translation>
    </message>
    <message>
        <source>Transmit Settings</source>
        <translation>Einstellungen senden</translation>
    </message>
    <message>
        <source>Hook time value must be between 200 and 1000 ms! Value will be ignored.</source>
        <translation>Die Flash-Zeit muss zwischen 200 und 1000 ms liegen! Der Wert wird nicht übernommen.</translation>
    </message>
    <message>
        <source>Rings value must be between 0 and 120! Value will be ignored.</source>
        <translation>Die Anzahl der Klingelzeichen muss zwischen 0 und 120 liegen! Der Wert wird nicht übernommen.</translation>
    </message>
    <message>
        <source>Answer ... rings</source>
        <translation>Annahme nach ... Klingelzeichen</translation>
    </message>
    <message>
        <source>Caller on Bundle / Caller ID</source>
        <translation>Anrufer bei Bündelung / Rufnummernanzeige</translation>
    </message>
    <message>
        <source>Global Calls On / Bundle Connect On</source>
        <translation>Globale Anrufe an / Kanalbündelung an</translation>
    </message>
    <message>
        <source>Charging Counter / Metering Pulse</source>
        <translation>Gebührenzähler / Gebührenimpuls</translation>
    </message>
    <message>
        <source>Transmit</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Reset the six charge counters of the DodOva to zero? The counts cannot be restored.</source>
        <translation>Die sechs Gebührenzähler des DodOva auf null setzen? Die Zählerstände lassen sich nicht wiederherstellen.</translation>
    </message>
    <message>
        <source>Factory settings loaded.</source>
        <translation>Werkseinstellungen geladen.</translation>
    </message>
    <message>
        <source>Phone 1 hung up.</source>
        <translation>Telefon 1 aufgelegt.</translation>
    </message>
    <message>
        <source>Phone 2 hung up.</source>
        <translation>Telefon 2 aufgelegt.</translation>
    </message>
    <message>
        <source>Profile %1 loaded.</source>
        <translation>Profil %1 geladen.</translation>
    </message>
    <message>
        <source>Settings saved to profile %1.</source>
        <translation>Einstellungen in Profil %1 gespeichert.</translation>
    </message>
    <message>
        <source>The changes in this window have not been transmitted to the DodOva.</source>
        <translation>Die Änderungen in diesem Fenster wurden noch nicht an den DodOva gesendet.</translation>
    </message>
    <message>
        <source>Untransmitted Changes</source>
        <translation>Nicht gesendete Änderungen</translation>
    </message>
    <message>
        <source>The DodOva refused %1.</source>
        <translation>Der DodOva hat %1 abgelehnt.</translation>
    </message>
    <message>
        <source>The DodOva did not answer %1.</source>
        <translation>Der DodOva hat auf %1 nicht geantwortet.</translation>
    </message>
    <message>
        <source>Settings written to the adapter.</source>
        <translation>Einstellungen in den Adapter geschrieben.</translation>
    </message>
    <message>
        <source>The DodOva did not reset its charge counters.</source>
        <translation>Der DodOva hat seine Gebührenzähler nicht zurückgesetzt.</translation>
    </message>
    <message>
        <source>Charge counters reset: every counter is 0.</source>
        <translation>Gebührenzähler zurückgesetzt: Alle Zähler stehen auf 0.</translation>
    </message>
    <message>
        <source>Changes not transmitted</source>
        <translation>Änderungen nicht gesendet</translation>
    </message>
    <message>
        <source>Transmit Settings writes them to the DodOva</source>
        <translation>„Einstellungen senden“ schreibt sie in den DodOva</translation>
    </message>
    <message>
        <source>Load the factory settings into the DodOva? Every setting it has now, and every change in this window, is overwritten.</source>
        <translation>Die Werkseinstellungen in den DodOva laden? Alle seine jetzigen Einstellungen und alle Änderungen in diesem Fenster werden überschrieben.</translation>
    </message>
    <message>
        <source>Load profile %1 into the DodOva? Every setting it has now, and every change in this window, is overwritten.</source>
        <translation>Profil %1 in den DodOva laden? Alle seine jetzigen Einstellungen und alle Änderungen in diesem Fenster werden überschrieben.</translation>
    </message>
    <message>
        <source>Through corvane-monitor (process %1) at %2</source>
        <translation>Über corvane-monitor (Prozess %1) unter %2</translation>
    </message>
    <message>
        <source>Through corvane-monitor at %1</source>
        <translation>Über corvane-monitor unter %1</translation>
    </message>
    <message>
        <source>The service holds the adapter on %1 and follows its calls; this window&apos;s commands go through it.</source>
        <translation>Der Dienst hält den Adapter an %1 und verfolgt seine Anrufe; die Befehle dieses Fensters gehen über ihn.</translation>
    </message>
    <message>
        <source>corvane-monitor at %1 did not answer: %2</source>
        <translation>corvane-monitor unter %1 hat nicht geantwortet: %2</translation>
    </message>
    <message>
        <source>corvane-monitor at %1 has gone away.</source>
        <translation>corvane-monitor unter %1 ist nicht mehr da.</translation>
    </message>
    <message>
        <source>corvane-monitor at %1 has gone away: this window can no longer work through it, and nobody follows the calls.

Use the port %2 from this window instead?</source>
        <translation>corvane-monitor unter %1 ist nicht mehr da: dieses Fenster kann nicht mehr über ihn arbeiten, und niemand verfolgt die Anrufe.

Stattdessen den Port %2 von diesem Fenster aus benutzen?</translation>
    </message>
    <message>
        <source>Service Gone</source>
        <translation>Dienst beendet</translation>
    </message>
    <message>
        <source>The window uses the port %1 itself.</source>
        <translation>Das Fenster benutzt den Port %1 selbst.</translation>
    </message>
    <message>
        <source>Reading the settings through corvane-monitor</source>
        <translation>Einstellungen werden über corvane-monitor gelesen</translation>
    </message>
    <message>
        <source>Writing the settings through corvane-monitor</source>
        <translation>Einstellungen werden über corvane-monitor geschrieben</translation>
    </message>
    <message>
        <source>Sending %1 through corvane-monitor</source>
        <translation>%1 wird über corvane-monitor gesendet</translation>
    </message>
    <message>
        <source>Resetting the charge counters through corvane-monitor</source>
        <translation>Gebührenzähler werden über corvane-monitor zurückgesetzt</translation>
    </message>
    <message>
        <source>Through corvane-monitor the PPP mode goes to the adapter with Transmit Settings.</source>
        <translation>Über corvane-monitor geht der PPP-Modus mit „Einstellungen senden“ an den Adapter.</translation>
    </message>
    <message>
        <source>corvane-monitor refused the request: %1</source>
        <translation>corvane-monitor hat die Anfrage abgelehnt: %1</translation>
    </message>
    <message>
        <source>reading the settings</source>
        <translation>Einstellungen lesen</translation>
    </message>
    <message>
        <source>writing the settings</source>
        <translation>Einstellungen schreiben</translation>
    </message>
    <message>
        <source>loading a profile</source>
        <translation>Profil laden</translation>
    </message>
    <message>
        <source>saving a profile</source>
        <translation>Profil speichern</translation>
    </message>
    <message>
        <source>loading the factory settings</source>
        <translation>Werkseinstellungen laden</translation>
    </message>
    <message>
        <source>hanging up</source>
        <translation>Auflegen</translation>
    </message>
    <message>
        <source>resetting the charge counters</source>
        <translation>Gebührenzähler zurücksetzen</translation>
    </message>
    <message>
        <source>Waiting while corvane-monitor is %1 for another window or the web page ...</source>
        <translation>Warten: corvane-monitor ist für ein anderes Fenster oder die Webseite beschäftigt (%1) ...</translation>
    </message>
    <message>
        <source>Waiting for the call on the line to end: corvane-monitor changes the adapter only between calls (10 minutes at most) ...</source>
        <translation>Warten, bis das Gespräch auf der Leitung endet: corvane-monitor ändert den Adapter nur zwischen Gesprächen (höchstens 10 Minuten) ...</translation>
    </message>
</context>
<context>
    <name>FormLoading</name>
    <message>
        <source>Please Wait...</source>
        <translation>Bitte warten...</translation>
    </message>
    <message>
        <source>Loading Call Monitor...</source>
        <translation>Anrufmonitor wird geladen...</translation>
    </message>
</context>
<context>
    <name>FormMonitor</name>
    <message>
        <source>Call Monitor</source>
        <translation>Anrufmonitor</translation>
    </message>
    <message>
        <source>Caller ID Number</source>
        <translation>Rufnummer des Anrufers</translation>
    </message>
    <message>
        <source>Phone Book</source>
        <translation>Telefonbuch</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Hide/Show Log</source>
        <translation>Anrufliste aus-/einblenden</translation>
    </message>
    <message>
        <source>CLEAR THE WINDOWS</source>
        <translation>FENSTER LEEREN</translation>
    </message>
    <message>
        <source>Resume Trace</source>
        <translation>Trace fortsetzen</translation>
    </message>
    <message>
        <source>Stop Trace</source>
        <translation>Trace anhalten</translation>
    </message>
    <message>
        <source>An error has occured! Call Monitor is Inactive... Please restart!</source>
        <translation>Ein Fehler ist aufgetreten! Der Anrufmonitor ist inaktiv... Bitte neu starten!</translation>
    </message>
    <message>
        <source>Adapter lost - reconnecting ...</source>
        <translation>Adapter getrennt - verbinde neu ...</translation>
    </message>
    <message>
        <source>%1.

Close the call monitor anyway and lose the calls that are not saved?</source>
        <translation>%1.

Den Anrufmonitor trotzdem schließen und die nicht gespeicherten Anrufe verlieren?</translation>
    </message>
    <message>
        <source>Call list unreadable!</source>
        <translation>Anrufliste unlesbar!</translation>
    </message>
    <message>
        <source>Calls not saved!</source>
        <translation>Anrufe nicht gespeichert!</translation>
    </message>
    <message>
        <source>Please wait ...</source>
        <translation>Bitte warten ...</translation>
    </message>
    <message>
        <source>Please set Own Numbers for Phone 1 &amp; Phone 2 and Transmit Settings before using Call Monitor</source>
        <translation>Bitte tragen Sie die eigenen Rufnummern für Telefon 1 und Telefon 2 ein und senden Sie die Einstellungen, bevor Sie den Anrufmonitor benutzen</translation>
    </message>
    <message>
        <source>Ignore this caller</source>
        <translation>Diesen Anrufer ignorieren</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Calls from %1 are ignored from now on: no popup, sound or notification.</source>
        <translation>Anrufe von %1 werden ab jetzt ignoriert: kein Einblenden, kein Ton, keine Benachrichtigung.</translation>
    </message>
    <message>
        <source>%1 could not be added: the ignore list %2 could not be written.</source>
        <translation>%1 konnte nicht aufgenommen werden: Die Ignorierliste %2 konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Show the call monitor</source>
        <translation>Anrufmonitor zeigen</translation>
    </message>
    <message>
        <source>Call monitor settings ...</source>
        <translation>Einstellungen des Anrufmonitors ...</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>corvane-monitor (process %1) follows the calls on %2: its call list, outputs and web page have them. Stop the service to follow them in this window.</source>
        <translation>corvane-monitor (Prozess %1) verfolgt die Anrufe an %2: seine Anrufliste, seine Ausgaben und seine Webseite haben sie. Beenden Sie den Dienst, um sie in diesem Fenster zu verfolgen.</translation>
    </message>
    <message>
        <source>%1 could not be added to the ignore list of corvane-monitor: %2</source>
        <translation>%1 konnte der Ignorierliste von corvane-monitor nicht hinzugefügt werden: %2</translation>
    </message>
    <message>
        <source>The calls of corvane-monitor (process %1) at %2</source>
        <translation>Die Anrufe von corvane-monitor (Prozess %1) unter %2</translation>
    </message>
    <message>
        <source>The calls of corvane-monitor at %1</source>
        <translation>Die Anrufe von corvane-monitor unter %1</translation>
    </message>
    <message>
        <source>corvane-monitor gone - waiting ...</source>
        <translation>corvane-monitor weg - warte ...</translation>
    </message>
    <message>
        <source>Call Monitor - through corvane-monitor</source>
        <translation>Anrufmonitor - über corvane-monitor</translation>
    </message>
    <message>
        <source>The trace panes show level %1 of corvane-monitor, not %2: another front end or its own --debug asks for it.</source>
        <translation>Die Trace-Bereiche zeigen Stufe %1 von corvane-monitor, nicht %2: ein anderes Programm an ihm oder sein eigenes --debug verlangt sie.</translation>
    </message>
</context>
<context>
    <name>FormMonitorSettings</name>
    <message>
        <source>Call Monitor Settings</source>
        <translation>Einstellungen des Anrufmonitors</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Wav Files (*.wav)</source>
        <translation>WAV-Dateien (*.wav)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Anrufe</translation>
    </message>
    <message>
        <source>Desktop and network</source>
        <translation>Desktop, Netz</translation>
    </message>
    <message>
        <source>Home automation</source>
        <translation>Smart Home</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>ISDN Corvane - Documentation</source>
        <translation>ISDN Corvane - Dokumentation</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Suchen:</translation>
    </message>
</context>
<context>
    <name>HistoryBar</name>
    <message>
        <source>Search number, name, MSN or type</source>
        <translation>Rufnummer, Name, MSN oder Art suchen</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Verpasst</translation>
    </message>
    <message>
        <source>Only incoming calls nobody answered</source>
        <translation>Nur ankommende Anrufe, die niemand angenommen hat</translation>
    </message>
    <message>
        <source>Export ...</source>
        <translation>Exportieren ...</translation>
    </message>
    <message>
        <source>Save the calls shown as a CSV file</source>
        <translation>Die angezeigten Anrufe als CSV-Datei speichern</translation>
    </message>
    <message>
        <source>Statistics ...</source>
        <translation>Statistik ...</translation>
    </message>
    <message>
        <source>Export the call list</source>
        <translation>Anrufliste exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>The call list could not be written to %1.</source>
        <translation>Die Anrufliste konnte nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>Also the calls of callers on the ignore list</source>
        <translation>Auch die Anrufe von Anrufern auf der Ignorierliste</translation>
    </message>
    <message>
        <source>Show ignored</source>
        <translation>Ignorierte zeigen</translation>
    </message>
    <message>
        <source>1 call saved to %1.</source>
        <translation>1 Anruf in %1 gespeichert.</translation>
    </message>
    <message>
        <source>%1 calls saved to %2.</source>
        <translation>%1 Anrufe in %2 gespeichert.</translation>
    </message>
</context>
<context>
    <name>IgnoredCallersDialog</name>
    <message>
        <source>Ignored Callers</source>
        <translation>Ignorierte Anrufer</translation>
    </message>
    <message>
        <source>One number a line; a * at the end ignores every number starting so (0900*). These callers ring no sound and are announced nowhere, but their calls are still logged.</source>
        <translation>Eine Rufnummer je Zeile; ein * am Ende ignoriert jede so beginnende Rufnummer (0900*). Diese Anrufer lösen keinen Ton aus und werden nirgends gemeldet, ihre Anrufe stehen aber weiter in der Anrufliste.</translation>
    </message>
    <message>
        <source>Line %1: &quot;%2&quot; is not a phone number. Write a number (spaces, dashes, brackets and a leading + are fine) or a prefix ending in *, or start a comment with #.</source>
        <translation>Zeile %1: „%2“ ist keine Rufnummer. Schreiben Sie eine Rufnummer (Leerzeichen, Bindestriche, Klammern und ein führendes + sind erlaubt) oder eine Vorwahl mit * am Ende, oder beginnen Sie einen Kommentar mit #.</translation>
    </message>
</context>
<context>
    <name>MissedCalls</name>
    <message>
        <source>%1 (%2 missed)</source>
        <translation>%1 (%2 verpasst)</translation>
    </message>
</context>
<context>
    <name>NetworkSettingsPage</name>
    <message>
        <source>Desktop and numbers</source>
        <translation>Desktop und Rufnummern</translation>
    </message>
    <message>
        <source>Desktop notification</source>
        <translation>Desktop-Benachrichtigung</translation>
    </message>
    <message>
        <source>Announce each caller through the desktop&apos;s notifications</source>
        <translation>Meldet jeden Anrufer über die Benachrichtigungen des Desktops</translation>
    </message>
    <message>
        <source>Country code:</source>
        <translation>Landesvorwahl:</translation>
    </message>
    <message>
        <source>Area code:</source>
        <translation>Ortsvorwahl:</translation>
    </message>
    <message>
        <source>Names callers whose number the phone book holds in another form</source>
        <translation>Findet den Namen auch, wenn das Telefonbuch die Rufnummer in anderer Form enthält</translation>
    </message>
    <message>
        <source>Own numbers and ignored callers</source>
        <translation>Eigene Rufnummern, ignorierte Anrufer</translation>
    </message>
    <message>
        <source>Own numbers ...</source>
        <translation>Eigene Rufnummern ...</translation>
    </message>
    <message>
        <source>A name for each MSN, shown with it in notifications and outputs</source>
        <translation>Ein Name für jede MSN, mit ihr in Benachrichtigungen und Ausgaben gezeigt</translation>
    </message>
    <message>
        <source>Ignored callers ...</source>
        <translation>Ignorierte Anrufer ...</translation>
    </message>
    <message>
        <source>Numbers that ring no sound and are announced nowhere</source>
        <translation>Rufnummern, die keinen Ton auslösen und nirgends gemeldet werden</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>NCID server for other devices</source>
        <translation>NCID-Server für andere Geräte</translation>
    </message>
    <message>
        <source>Shows the calls on NCID clients on other computers and phones</source>
        <translation>Zeigt die Anrufe auf NCID-Clients anderer Computer und Telefone</translation>
    </message>
    <message>
        <source>Run program on call:</source>
        <translation>Programm bei Anruf:</translation>
    </message>
    <message>
        <source>Gets each call event as an NCID output module does; see docs/hooks.md</source>
        <translation>Erhält jedes Anrufereignis wie ein NCID-Ausgabemodul; siehe docs/hooks.md</translation>
    </message>
    <message>
        <source>The ignore list could not be written to %1.</source>
        <translation>Die Ignorierliste konnte nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>OwnNumbersDialog</name>
    <message>
        <source>Phone 1</source>
        <translation>Telefon 1</translation>
    </message>
    <message>
        <source>Phone 2</source>
        <translation>Telefon 2</translation>
    </message>
    <message>
        <source>DTE port</source>
        <translation>DTE-Port</translation>
    </message>
    <message>
        <source>Own Numbers</source>
        <translation>Eigene Rufnummern</translation>
    </message>
    <message>
        <source>MSN</source>
        <translation>MSN</translation>
    </message>
    <message>
        <source>Name shown with it</source>
        <translation>Angezeigter Name</translation>
    </message>
    <message>
        <source>%1 MSN%2</source>
        <translation>%1 MSN%2</translation>
    </message>
    <message>
        <source>The name appears with the MSN in desktop notifications, NCID, hooks and JSON; the call list keeps the digits.</source>
        <translation>Der Name erscheint mit der MSN in Desktop-Benachrichtigungen, NCID, Hooks und JSON; die Anrufliste behält die Ziffern.</translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; is not an MSN. Write its digits (spaces and dashes are fine).</source>
        <translation>%1: „%2“ ist keine MSN. Schreiben Sie ihre Ziffern (Leerzeichen und Bindestriche sind erlaubt).</translation>
    </message>
</context>
<context>
    <name>PlaceText</name>
    <message>
        <source>mobile</source>
        <translation>Mobilfunk</translation>
    </message>
    <message>
        <source>fixed line or mobile</source>
        <translation>Festnetz oder Mobilfunk</translation>
    </message>
    <message>
        <source>toll-free</source>
        <translation>gebührenfrei</translation>
    </message>
    <message>
        <source>premium rate</source>
        <translation>Premium-Dienst</translation>
    </message>
    <message>
        <source>shared cost</source>
        <translation>Service-Nummer</translation>
    </message>
    <message>
        <source>internet telephony</source>
        <translation>Internet-Telefonie</translation>
    </message>
    <message>
        <source>personal number</source>
        <translation>persönliche Rufnummer</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <comment>a place and the kind of number: Germany, mobile</comment>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>ServiceClient</name>
    <message>
        <source>the request was not one it understands</source>
        <translation>die Anfrage wurde nicht verstanden</translation>
    </message>
    <message>
        <source>a value is not allowed</source>
        <translation>ein Wert ist nicht erlaubt</translation>
    </message>
    <message>
        <source>it did not accept this window&apos;s token or password</source>
        <translation>das Token oder Passwort dieses Fensters wurde nicht angenommen</translation>
    </message>
    <message>
        <source>the request came from another site</source>
        <translation>die Anfrage kam von einer anderen Website</translation>
    </message>
    <message>
        <source>it has no such entry (any more)</source>
        <translation>diesen Eintrag gibt es dort nicht (mehr)</translation>
    </message>
    <message>
        <source>this version of corvane-monitor does not offer the request</source>
        <translation>diese Version von corvane-monitor bietet die Anfrage nicht an</translation>
    </message>
    <message>
        <source>the file was changed meanwhile or cannot be read, so it is not written over</source>
        <translation>die Datei wurde inzwischen geändert oder ist nicht lesbar, daher wird sie nicht überschrieben</translation>
    </message>
    <message>
        <source>the DodOva refused the command</source>
        <translation>der DodOva hat den Befehl abgelehnt</translation>
    </message>
    <message>
        <source>it is too large for the service</source>
        <translation>das ist zu groß für den Dienst</translation>
    </message>
    <message>
        <source>the service does not take this kind of data</source>
        <translation>der Dienst nimmt diese Art von Daten nicht an</translation>
    </message>
    <message>
        <source>too many wrong passwords: it waits a while before it takes the next one</source>
        <translation>zu viele falsche Passwörter: der Dienst wartet eine Weile, bevor er das nächste annimmt</translation>
    </message>
    <message>
        <source>it could not write the file; the old one is left as it was</source>
        <translation>die Datei konnte nicht geschrieben werden; die alte bleibt, wie sie war</translation>
    </message>
    <message>
        <source>the DodOva did not answer it</source>
        <translation>der DodOva hat dem Dienst nicht geantwortet</translation>
    </message>
    <message>
        <source>too many requests wait for the adapter already: try again in a moment</source>
        <translation>zu viele Anfragen warten schon auf den Adapter: bitte gleich noch einmal versuchen</translation>
    </message>
    <message>
        <source>%1 - %2</source>
        <translation>%1 - %2</translation>
    </message>
</context>
<context>
    <name>ServiceFeed</name>
    <message>
        <source>corvane-monitor did not delete the calls: %1</source>
        <translation>corvane-monitor hat die Anrufe nicht gelöscht: %1</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Address:</source>
        <translation>Adresse:</translation>
    </message>
    <message>
        <source>127.0.0.1 serves this computer only, 0.0.0.0 every network</source>
        <translation>127.0.0.1 nur für diesen Computer, 0.0.0.0 für alle Netzwerke</translation>
    </message>
    <message>
        <source>Port:</source>
        <translation>Port:</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>The device simulator %1 did not start.</source>
        <translation>Der Gerätesimulator %1 ist nicht gestartet.</translation>
    </message>
    <message>
        <source>The simulator has no scenario &quot;%1&quot;.

Its scenarios are: %2.
A scenario file is named by its path.</source>
        <translation>Der Simulator hat kein Szenario „%1“.

Seine Szenarien sind: %2.
Eine Szenario-Datei wird mit ihrem Pfad angegeben.</translation>
    </message>
    <message>
        <source> dodOva not found. Please select correct serial port<byte value="xd"/>
<byte value="xd"/>
If you use this program it may not behave correctly!<byte value="xd"/>
<byte value="xd"/>
       Would you like to select a valid serial port?</source>
        <translation> DodOva nicht gefunden. Bitte wählen Sie die richtige serielle Schnittstelle.<byte value="xd"/>
<byte value="xd"/>
Wenn Sie das Programm so verwenden, arbeitet es möglicherweise nicht richtig!<byte value="xd"/>
<byte value="xd"/>
       Möchten Sie eine gültige serielle Schnittstelle wählen?</translation>
    </message>
    <message>
        <source>The application %1 %2 is already running!</source>
        <translation>Die Anwendung %1 %2 läuft bereits!</translation>
    </message>
    <message>
        <source>ISDN Corvane Plus -  Version %1</source>
        <translation>ISDN Corvane Plus -  Version %1</translation>
    </message>
    <message>
        <source>dodOva Detection</source>
        <translation>DodOva-Erkennung</translation>
    </message>
    <message>
        <source>&amp;Phonebook</source>
        <translation>&amp;Telefonbuch</translation>
    </message>
    <message>
        <source>&amp;Call monitor</source>
        <translation>&amp;Anrufmonitor</translation>
    </message>
    <message>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Documentation</source>
        <translation>&amp;Dokumentation</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>The folder %1 is in use by %2 (process %3), which writes its call list. Start each program with a folder of its own (--home FOLDER).</source>
        <translation>Der Ordner %1 wird von %2 (Prozess %3) benutzt, der dort seine Anrufliste schreibt. Starten Sie jedes Programm mit einem eigenen Ordner (--home ORDNER).</translation>
    </message>
    <message>
        <source>Port tried: %1</source>
        <translation>Versuchter Port: %1</translation>
    </message>
    <message>
        <source>corvane-monitor (process %1) holds the adapter on %2 and follows its calls, but it does not answer this window. %3<byte value="xd"/>
<byte value="xd"/>
Stop the service, then choose Retry to use the port here.</source>
        <translation>corvane-monitor (Prozess %1) hält den Adapter an %2 und verfolgt seine Anrufe, antwortet diesem Fenster aber nicht. %3<byte value="xd"/>
<byte value="xd"/>
Beenden Sie den Dienst und wählen Sie dann Wiederholen, um den Port hier zu benutzen.</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
<byte value="xd"/>
Choose Retry to ask it again.</source>
        <translation>%1<byte value="xd"/>
<byte value="xd"/>
Wählen Sie Wiederholen, um ihn erneut zu fragen.</translation>
    </message>
</context>
<context>
    <name>StatisticsWindow</name>
    <message>
        <source>Answered</source>
        <translation>Angenommen</translation>
    </message>
    <message>
        <source>Missed</source>
        <translation>Verpasst</translation>
    </message>
    <message>
        <source>Outgoing</source>
        <translation>Abgehend</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Erfolglos</translation>
    </message>
    <message>
        <source>Call Statistics</source>
        <translation>Anrufstatistik</translation>
    </message>
    <message>
        <source>Calls per day, last 30 days</source>
        <translation>Anrufe pro Tag, letzte 30 Tage</translation>
    </message>
    <message>
        <source>Calls per hour of the day</source>
        <translation>Anrufe nach Uhrzeit (Stunde)</translation>
    </message>
    <message>
        <source>Most frequent numbers</source>
        <translation>Häufigste Rufnummern</translation>
    </message>
    <message>
        <source>Costs per month and MSN</source>
        <translation>Gebühren pro Monat und MSN</translation>
    </message>
    <message>
        <source>%1 calls in the list; costs of the last 12 months: %2</source>
        <translation>%1 Anrufe in der Liste; Gebühren der letzten 12 Monate: %2</translation>
    </message>
    <message>
        <source>Calls</source>
        <translation>Anrufe</translation>
    </message>
    <message>
        <source>No calls yet</source>
        <translation>Noch keine Anrufe</translation>
    </message>
    <message>
        <source>no MSN</source>
        <translation>keine MSN</translation>
    </message>
</context>
<context>
    <name>TraceWindow</name>
    <message>
        <source>Call Monitor Trace</source>
        <translation>Anrufmonitor-Trace</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;System Info...</source>
        <translation>&amp;Systeminfo...</translation>
    </message>
    <message>
        <source>Tested with DodOva Version:</source>
        <translation>Getestet mit DodOva-Version:</translation>
    </message>
    <message>
        <source>Software Version 3.81 - Hardware Version 50</source>
        <translation>Software-Version 3.81 - Hardware-Version 50</translation>
    </message>
    <message>
        <source>System Information Is Unavailable At This Time</source>
        <translation>Die Systeminformationen sind derzeit nicht verfügbar</translation>
    </message>
</context>
</TS>
