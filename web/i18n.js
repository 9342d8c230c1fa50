"use strict";
// The page's texts: English is the source, German follows the browser's first
// language that is one of the two. The adapter's captions are the settings
// window's own, with the window's German.

const GERMAN = {
  "Skip to the content": "Zum Inhalt springen",
  "Notify me of callers": "Anrufer melden",
  "Callers are announced": "Anrufer werden gemeldet",
  "Pages": "Seiten",
  "Live": "Live",
  "Calls": "Anrufe",
  "Statistics": "Statistik",
  "Phone Book": "Telefonbuch",
  "Lists": "Listen",
  "Adapter": "Adapter",
  "Latest calls": "Letzte Anrufe",
  "No calls yet": "Noch keine Anrufe",
  // Channels, as in the monitor window
  "ISDN Channel  A": "ISDN-Kanal  A",
  "ISDN Channel  B": "ISDN-Kanal  B",
  "Active": "Aktiv",
  "Connected": "Verbunden",
  "Ring": "Klingeln",
  "MSN :": "MSN:",
  "Call duration :": "Dauer:",
  "Call cost  :": "Gebühren:",
  "Idle": "Frei",
  "Ringing": "Klingelt",
  "Dialling": "Wählt",
  "Waiting call": "Anklopfen",
  "Withheld number": "Rufnummer unterdrückt",
  "Incoming call": "Ankommender Anruf",
  "Outgoing call": "Abgehender Anruf",
  "Calling": "Anruf von",
  "Adapter connected": "Adapter verbunden",
  "Adapter not connected": "Adapter nicht verbunden",
  "Changing the adapter's settings; monitoring pauses": "Die Einstellungen des Adapters werden geändert; der Monitor pausiert",
  "No connection to the monitor; trying again": "Keine Verbindung zum Monitor; neuer Versuch läuft",
  // Call list
  "Search": "Suchen",
  "Search number, name, MSN or type": "Rufnummer, Name, MSN oder Art suchen",
  "Missed": "Verpasst",
  "Only incoming calls nobody answered": "Nur ankommende Anrufe, die niemand angenommen hat",
  "Ignored": "Ignorierte",
  "Also the calls of callers on the ignore list": "Auch die Anrufe von Anrufern auf der Ignorierliste",
  "Export ...": "Exportieren ...",
  "Save the calls shown as a CSV file": "Die angezeigten Anrufe als CSV-Datei speichern",
  "Delete selected": "Auswahl löschen",
  "Select all": "Alle auswählen",
  "Select": "Auswählen",
  "MSN": "MSN",
  "Type": "Art",
  "Date": "Datum",
  "Time": "Uhrzeit",
  "Number": "Rufnummer",
  "Name": "Name",
  "Duration": "Dauer",
  "Cost": "Kosten",
  "Newer": "Neuere",
  "Older": "Ältere",
  "%1 calls": "%1 Anrufe",
  "%1-%2 of %3": "%1-%2 von %3",
  "Delete the %1 selected calls from the call list?": "Die %1 ausgewählten Anrufe aus der Anrufliste löschen?",
  // Statistics
  "Call Statistics": "Anrufstatistik",
  "Calls per day, last 30 days": "Anrufe pro Tag, letzte 30 Tage",
  "Calls per hour of the day": "Anrufe nach Uhrzeit (Stunde)",
  "Most frequent numbers": "Häufigste Rufnummern",
  "Costs per month and MSN": "Gebühren pro Monat und MSN",
  "Answered": "Angenommen",
  "Outgoing": "Abgehend",
  "Not connected": "Nicht verbunden",
  "%1 calls in the list; costs of the last 12 months: %2": "%1 Anrufe in der Liste; Gebühren der letzten 12 Monate: %2",
  "no MSN": "keine MSN",
  // Phone book
  "Phone Book Manager": "Telefonbuch",
  "Telephone 1": "Telefon 1",
  "Telephone 2": "Telefon 2",
  "Phone 1": "Telefon 1",
  "Phone 2": "Telefon 2",
  "Mobile": "Mobil",
  "Other": "Sonstige",
  "Picture": "Bild",
  "Add New": "Neu hinzufügen",
  "Update": "Ändern",
  "Delete": "Löschen",
  "Clear": "Leeren",
  "Edit": "Bearbeiten",
  "Edit %1": "%1 bearbeiten",
  "Search:": "Suchen:",
  "Search by name or number": "Nach Name oder Rufnummer suchen",
  "A contact needs a name. Type it in the Name field, then choose Add New again.":
    "Ein Kontakt braucht einen Namen. Tragen Sie ihn im Feld Name ein und wählen Sie dann erneut Neu hinzufügen.",
  "Delete the selected contact?": "Den ausgewählten Kontakt löschen?",
  "From the address-book folder (read only)": "Aus dem Adressbuch-Ordner (nur lesen)",
  "Saved.": "Gespeichert.",
  // Lists
  "Ignored Callers": "Ignorierte Anrufer",
  "One number or prefix (0900*) a line.":
    "Eine Rufnummer oder ein Präfix (0900*) pro Zeile.",
  "Own Numbers": "Eigene Rufnummern",
  "Name shown with it": "Angezeigter Name",
  "Add a number": "Rufnummer hinzufügen",
  "Remove": "Entfernen",
  "Save": "Speichern",
  // Adapter
  "Receive Settings": "Einstellungen lesen",
  "Transmit Settings": "Einstellungen senden",
  "Reading the adapter ...": "Der Adapter wird gelesen ...",
  "Writing the adapter ...": "Der Adapter wird beschrieben ...",
  "Done.": "Fertig.",
  "The DodOva refused: %1.": "Der DodOva hat abgelehnt: %1.",
  "Phone 1 (POTS-1)": "Telefon 1 (POTS-1)",
  "Phone 2 (POTS-2)": "Telefon 2 (POTS-2)",
  "DTE Port (ISDN Modem)": "DTE-Port (ISDN-Modem)",
  "High Layer": "Dienstkennung (High Layer)",
  "Global Controls": "Allgemeine Einstellungen",
  "Dodova Profiles and Power-on default": "DodOva-Profile und Einschaltprofil",
  "Cost per Unit": "Kosten pro Einheit",
  "Global Calls On": "Globale Anrufe an",
  "Delayed Clear Off": "Verzögerter Abbau aus",
  "Caller on Bundle": "Anrufer bei Bündelung",
  "Calling Line ID Off": "Rufnr. unterdrücken",
  "Incoming calls Off": "Ankommend gesperrt",
  "Metering Pulse": "Gebührenimpuls",
  "Charging Counter": "Gebührenzähler",
  "Call Waiting": "Anklopfen",
  "Full Emergency On": "Voller Notbetrieb an",
  "Bundle Connect On": "Kanalbündelung an",
  "Caller ID (On Hook)": "CLIP (aufgelegt)",
  "Caller ID (Off Hook)": "CLIP (abgehoben)",
  "Auto Baud On": "Auto-Baud an",
  "Hook Flash Time": "Flash-Zeit (Rückfrage)",
  "Time in ms": "Zeit in ms",
  "200 ms to 1000 ms": "200 ms bis 1000 ms",
  "SS Protocol": "Protokoll Dienstmerkmale",
  "Keypad": "Keypad",
  "Functional": "Funktional",
  "Power-On Profile": "Einschaltprofil",
  "Profile 1": "Profil 1",
  "Profile 2": "Profil 2",
  "Profile 3": "Profil 3",
  "Profile 4": "Profil 4",
  "Factory": "Werkseinstellung",
  "Protocol": "Protokoll",
  "PPP-MLPPP B": "PPP-MLPPP B",
  "Voice Tran. B Ch.": "Sprache transp.",
  "PPP Trans. B Ch.": "PPP transp.",
  "Data Tran. B Ch.": "Daten transp.",
  "PPP Mode": "PPP-Modus",
  "Setting for Phone 1": "Einstellung für Telefon 1",
  "Setting for Phone 2": "Einstellung für Telefon 2",
  "Telephony": "Telefonie",
  "Fax G2/G3": "Fax G2/G3",
  "No element sent": "Nichts senden",
  "Own #": "Eigene Nr.",
  "Answer": "Annahme nach",
  "rings": "Rufen",
  "Call Charges": "Gebühren",
  "Call Units": "Einheiten",
  "Last": "Letzter",
  "Total": "Gesamt",
  "Load Factory Settings": "Werkseinstellungen laden",
  "Load P%1": "P%1 laden",
  "Save to P%1": "In P%1 speichern",
  "Hangup Phone 1": "Telefon 1 auflegen",
  "Hangup Phone 2": "Telefon 2 auflegen",
  "Reset Counters": "Zähler zurücksetzen",
  "Last reset: %1": "Zuletzt zurückgesetzt: %1",
  "Load the factory settings into the adapter? Its current settings are overwritten.":
    "Die Werkseinstellungen in den Adapter laden? Seine aktuellen Einstellungen werden überschrieben.",
  "Load profile %1 into the adapter? Its current settings are overwritten.":
    "Profil %1 in den Adapter laden? Seine aktuellen Einstellungen werden überschrieben.",
  "Store the adapter's current settings in profile %1? The profile is overwritten.":
    "Die aktuellen Einstellungen des Adapters in Profil %1 speichern? Das Profil wird überschrieben.",
  "Reset the adapter's charge counters to zero?": "Die Gebührenzähler des Adapters auf null setzen?",
  "Hook time value must be between 200 and 1000 ms! Value will be ignored.":
    "Die Flash-Zeit muss zwischen 200 und 1000 ms liegen! Der Wert wird nicht übernommen.",
  "Rings value must be between 0 and 120! Value will be ignored.":
    "Die Anzahl der Klingelzeichen muss zwischen 0 und 120 liegen! Der Wert wird nicht übernommen.",
  "Digits only, at most 20": "Nur Ziffern, höchstens 20",
  // Dialogs
  "Log in": "Anmelden",
  "Password": "Passwort",
  "Wrong password.": "Falsches Passwort.",
  "Cancel": "Abbrechen",
  "Continue": "Fortfahren",
  "The monitor answered: %1": "Der Monitor antwortete: %1",
};

const LANGUAGE = (() => {
  for (const tag of navigator.languages || [navigator.language || "en"]) {
    const base = tag.toLowerCase().split("-")[0];
    if (base === "de" || base === "en") return base;
  }
  return "en";
})();

// A text in the page's language; %1, %2 ... are replaced by the arguments.
function t(text, ...args) {
  const own = LANGUAGE === "de" ? GERMAN[text] : undefined;
  let out = own === undefined ? text : own;
  args.forEach((a, i) => { out = out.split("%" + (i + 1)).join(String(a)); });
  return out;
}

// Translates the static texts of the page: data-t for the content, and
// data-t-placeholder, data-t-title, data-t-aria-label for those attributes.
function translatePage(root = document) {
  document.documentElement.lang = LANGUAGE;
  root.querySelectorAll("[data-t]").forEach(el => { el.textContent = t(el.dataset.t); });
  for (const attr of ["placeholder", "title", "aria-label"]) {
    const key = "t" + attr.replace(/(^|-)(\w)/g, (_, __, c) => c.toUpperCase());
    root.querySelectorAll("[data-t-" + attr + "]").forEach(el => el.setAttribute(attr, t(el.dataset[key])));
  }
}

// Numbers and money in the page's language.
function formatMoney(value) {
  return Number(value).toLocaleString(LANGUAGE, { minimumFractionDigits: 2, maximumFractionDigits: 2 });
}
