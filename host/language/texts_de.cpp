// German. Keys and placeholders as in texts_en.cpp.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} aktualisieren"},
    {"title.plain", "Aktualisierung"},

    {"checking.heading", "Suche nach Updates..."},
    {"checking.text", "Der Update-Server wird nach der neuesten Version gefragt."},

    {"offer.heading.named", "{1} {2} ist verfügbar."},
    {"offer.heading.plain", "Version {1} ist verfügbar."},
    {"offer.installed", "Installiert ist {1}."},
    {"offer.installed.required", "Installiert ist {1}. Dieses Update ist erforderlich."},
    {"ready.heading.named", "{1} {2} ist bereit zur Installation."},
    {"ready.heading.plain", "Version {1} ist bereit zur Installation."},
    {"notes.heading", "Neuerungen:"},

    {"downloading.heading.named", "{1} {2} wird heruntergeladen..."},
    {"downloading.heading.plain", "Version {1} wird heruntergeladen..."},
    {"downloading.starting", "Der Download beginnt..."},
    {"progress.total.rate.left", "{1} von {2}, {3}, {4}, noch {5}"},
    {"progress.total.rate", "{1} von {2}, {3}, {4}"},
    {"progress.total", "{1} von {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1} %"},

    {"verifying.heading", "Das Update wird geprüft..."},
    {"verifying.text", "Es wird geprüft, ob das Paket das im Manifest genannte ist."},
    {"waiting.heading", "Warten, bis die App geschlossen ist..."},
    {"waiting.text", "Das Update wird installiert, sobald Prozess {1} beendet ist."},
    {"installing.heading.named", "{1} {2} wird installiert..."},
    {"installing.heading.plain", "Version {1} wird installiert..."},
    {"installing.text", "Das Installationsprogramm läuft; das kann einige Minuten dauern."},
    {"stopping", "Wird abgebrochen..."},

    {"installed.heading.named", "{1} {2} ist installiert."},
    {"installed.heading.plain", "Version {1} ist installiert."},
    {"installed.text", "Die Installation wurde erfolgreich abgeschlossen."},
    {"restart.heading", "Neu starten, um das Update abzuschließen"},
    {"restart.text.named",
     "{1} {2} ist installiert; Windows muss neu starten, um das Update abzuschließen."},
    {"restart.text.plain",
     "Version {1} ist installiert; Windows muss neu starten, um das Update abzuschließen."},
    {"restart.failed", "Windows ließ sich nicht neu starten (Fehler {1}). Starten Sie es über das "
                       "Startmenü neu, um das Update abzuschließen."},
    {"uptodate.heading.named", "{1} ist auf dem neuesten Stand."},
    {"uptodate.heading.plain", "Diese App ist auf dem neuesten Stand."},
    {"uptodate.text", "Installiert ist {1}; die neueste Version ist {2}."},
    {"uptodate.rollout", "Version {1} wird schrittweise verteilt und erreicht diesen Computer "
                         "später."},
    {"uptodate.newer.windows",
     "Version {1} benötigt Windows {2} oder neuer; auf diesem Computer läuft {3}."},
    {"downloaded.heading.named", "{1} {2} ist heruntergeladen."},
    {"downloaded.heading.plain", "Version {1} ist heruntergeladen."},
    {"downloaded.text", "Das Paket liegt unter {1}."},

    {"failed.usage.heading", "Das Update konnte nicht starten."},
    {"failed.usage.advice", "Die App hat das Update mit Optionen aufgerufen, die es nicht kennt; "
                            "wenden Sie sich an den Hersteller der App."},
    {"failed.fetch.heading", "Der Update-Server ist nicht erreichbar."},
    {"failed.fetch.advice",
     "Prüfen Sie die Internetverbindung und versuchen Sie es später noch einmal."},
    {"failed.manifest.heading", "Die Update-Informationen sind nicht verwendbar."},
    {"failed.manifest.advice", "Versuchen Sie es später noch einmal; tritt der Fehler weiter auf, "
                               "wenden Sie sich an den Hersteller der App."},
    {"failed.download.heading", "Das Update konnte nicht heruntergeladen werden."},
    {"failed.download.advice", "Prüfen Sie die Internetverbindung und den freien Speicherplatz "
                               "und versuchen Sie es dann noch einmal."},
    {"failed.install.heading", "Das Update konnte nicht installiert werden."},
    {"failed.install.advice", "Schließen Sie andere Installationen und versuchen Sie es noch "
                              "einmal; tritt der Fehler weiter auf, wenden Sie sich an den "
                              "Hersteller der App."},
    {"failed.cancelled.heading", "Das Update wurde abgebrochen."},
    {"failed.cancelled.advice", "Starten Sie das Update noch einmal, um es abzuschließen."},
    {"failed.refused.heading", "Das Update wurde aus Sicherheitsgründen abgelehnt."},
    {"failed.refused.advice", "Es hat die Sicherheitsprüfungen nicht bestanden, daher wurde nichts "
                              "installiert; wenden Sie sich an den Hersteller der App."},
    {"failed.other.heading", "Das Update wurde beendet."},
    {"failed.other.advice", "Versuchen Sie es später noch einmal."},
    {"failed.details", "Details: {1}"},
    {"failed.exit.code", "Exitcode {1}"},

    {"consent.heading.named", "Soll {1} automatisch nach Updates suchen?"},
    {"consent.heading.plain", "Soll diese App automatisch nach Updates suchen?"},
    {"consent.text", "Sie fragt ab und zu beim Update-Server nach und bietet jede neue Version "
                     "an; Sie entscheiden, ob sie installiert wird."},

    {"button.install.now", "Jetzt &installieren"},
    {"button.skip.version", "Version ü&berspringen"},
    {"button.remind.later", "&Später erinnern"},
    {"button.restart.now", "Jetzt &neu starten"},
    {"button.later", "S&päter"},
    {"button.check.automatically", "&Automatisch suchen"},
    {"button.dont.check", "&Nicht suchen"},
    {"button.ask.later", "Später &fragen"},
    {"button.cancel", "Abbrechen"},
    {"button.close", "&Schließen"},

    {"warning.not.authenticated",
     "Nicht authentifiziert: Die App hat keinen öffentlichen Schlüssel angegeben, daher wird die "
     "Herkunft der Update-Informationen nicht geprüft."},
    {"warning.allow.unsigned",
     "Die Update-Informationen sind nicht authentifiziert (--allow-unsigned): Wer sie ändern kann, "
     "bestimmt, was installiert wird."},
    {"warning.no.size", "Die Update-Informationen nennen keine Größe; es kann nichts "
                        "heruntergeladen werden, bis der Hersteller sie ergänzt."},
    {"warning.no.expiry",
     "Die signierten Update-Informationen haben kein Ablaufdatum, daher könnte eine alte Kopie "
     "erneut ausgeliefert werden; bitten Sie den Hersteller, eines festzulegen."},
    {"warning.product",
     "Die Update-Informationen gelten für das Produkt \"{1}\", aber die App hat ihr Produkt nicht "
     "genannt; sie sollte --product {1} übergeben."},
    {"warning.retry", "Netzwerkfehler; neuer Versuch ({1} von {2}) in {3} s."},
    {"warning.skip.not.saved", "Die Wahl, diese Version zu überspringen, konnte nicht gespeichert "
                               "werden; sie wird wieder angeboten."},
    {"warning.state.not.saved", "Die Einstellungen des Updates konnten nicht gespeichert werden; "
                                "das Update läuft ohne sie weiter."},
    {"warning.relaunch.failed",
     "Die App konnte nicht wieder gestartet werden; bitte starten Sie sie selbst."},
    {"text.not.utf8", "(Dieser Text ist kein gültiges UTF-8.)"},
};

} // namespace

extern const Table kTextsDe = {"de", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
