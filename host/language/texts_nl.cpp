// Dutch. Keys and placeholders as in texts_en.cpp. The user is addressed
// as "je", as Windows does.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "{1} bijwerken"},
    {"title.plain", "Bijwerken"},

    {"checking.heading", "Controleren op updates..."},
    {"checking.text", "De updateserver wordt naar de nieuwste versie gevraagd."},

    {"offer.heading.named", "{1} {2} is beschikbaar."},
    {"offer.heading.plain", "Versie {1} is beschikbaar."},
    {"offer.installed", "Geïnstalleerde versie: {1}."},
    {"offer.installed.required", "Geïnstalleerde versie: {1}. Deze update is verplicht."},
    {"ready.heading.named", "{1} {2} is klaar om te installeren."},
    {"ready.heading.plain", "Versie {1} is klaar om te installeren."},
    {"notes.heading", "Wat is er nieuw:"},

    {"downloading.heading.named", "{1} {2} downloaden..."},
    {"downloading.heading.plain", "Versie {1} downloaden..."},
    {"downloading.starting", "Download starten..."},
    {"progress.total.rate.left", "{1} van {2}, {3}, {4}, nog {5}"},
    {"progress.total.rate", "{1} van {2}, {3}, {4}"},
    {"progress.total", "{1} van {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1}%"},

    {"verifying.heading", "De update controleren..."},
    {"verifying.text", "Controleren of het pakket overeenkomt met het pakket in het manifest."},
    {"waiting.heading", "Wachten tot de app is gesloten..."},
    {"waiting.text", "De update wordt geïnstalleerd zodra proces {1} is beëindigd."},
    {"installing.heading.named", "{1} {2} installeren..."},
    {"installing.heading.plain", "Versie {1} installeren..."},
    {"installing.text", "Het installatieprogramma wordt uitgevoerd; dit kan enkele minuten duren."},
    {"stopping", "Stoppen..."},

    {"installed.heading.named", "{1} {2} is geïnstalleerd."},
    {"installed.heading.plain", "Versie {1} is geïnstalleerd."},
    {"installed.text", "Het installatieprogramma is voltooid."},
    {"restart.heading", "Start opnieuw op om de update te voltooien"},
    {"restart.text.named",
     "{1} {2} is geïnstalleerd; Windows moet opnieuw worden opgestart om de update te voltooien."},
    {"restart.text.plain", "Versie {1} is geïnstalleerd; Windows moet opnieuw worden opgestart om "
                           "de update te voltooien."},
    {"restart.failed", "Windows kan niet opnieuw worden opgestart (fout {1}). Start de computer "
                       "opnieuw op via het menu Start om de update te voltooien."},
    {"uptodate.heading.named", "{1} is up-to-date."},
    {"uptodate.heading.plain", "Deze app is up-to-date."},
    {"uptodate.text", "Geïnstalleerde versie: {1}; de nieuwste versie is {2}."},
    {"uptodate.rollout",
     "Versie {1} wordt stapsgewijs uitgebracht en komt later op deze computer beschikbaar."},
    {"uptodate.newer.windows",
     "Versie {1} vereist Windows {2} of hoger; op deze computer draait {3}."},
    {"downloaded.heading.named", "{1} {2} is gedownload."},
    {"downloaded.heading.plain", "Versie {1} is gedownload."},
    {"downloaded.text", "Locatie van het pakket: {1}"},

    {"failed.usage.heading", "De update kan niet worden gestart."},
    {"failed.usage.advice", "De app heeft het updateprogramma gestart met opties die het niet "
                            "kent; meld dit bij de uitgever van de app."},
    {"failed.fetch.heading", "De updateserver is niet bereikbaar."},
    {"failed.fetch.advice", "Controleer de internetverbinding en probeer het later opnieuw."},
    {"failed.manifest.heading", "De update-informatie is onbruikbaar."},
    {"failed.manifest.advice",
     "Probeer het later opnieuw; blijft dit gebeuren, meld het dan bij de uitgever van de app."},
    {"failed.download.heading", "De update kan niet worden gedownload."},
    {"failed.download.advice",
     "Controleer de internetverbinding en de vrije schijfruimte en probeer het opnieuw."},
    {"failed.install.heading", "De update kan niet worden geïnstalleerd."},
    {"failed.install.advice", "Sluit andere installaties en probeer het opnieuw; blijft dit "
                              "gebeuren, meld het dan bij de uitgever van de app."},
    {"failed.cancelled.heading", "De update is geannuleerd."},
    {"failed.cancelled.advice", "Voer de update opnieuw uit om deze te voltooien."},
    {"failed.refused.heading", "De update is om veiligheidsredenen geweigerd."},
    {"failed.refused.advice", "De update heeft de veiligheidscontroles niet doorstaan, dus er is "
                              "niets geïnstalleerd; meld dit bij de uitgever van de app."},
    {"failed.other.heading", "De update is gestopt."},
    {"failed.other.advice", "Probeer het later opnieuw."},
    {"failed.details", "Details: {1}"},
    {"failed.exit.code", "Afsluitcode {1}"},

    {"consent.heading.named", "Moet {1} automatisch op updates controleren?"},
    {"consent.heading.plain", "Moet deze app automatisch op updates controleren?"},
    {"consent.text", "De app informeert af en toe bij de updateserver en biedt elke nieuwe versie "
                     "aan; jij beslist of je die installeert."},

    {"button.install.now", "Nu &installeren"},
    {"button.skip.version", "Deze versie &overslaan"},
    {"button.remind.later", "&Herinner me later"},
    {"button.restart.now", "&Nu opnieuw opstarten"},
    {"button.later", "&Later"},
    {"button.check.automatically", "&Ja, automatisch"},
    {"button.dont.check", "&Niet controleren"},
    {"button.ask.later", "Later &vragen"},
    {"button.cancel", "Annuleren"},
    {"button.close", "&Sluiten"},

    {"warning.not.authenticated",
     "Niet geverifieerd: de app heeft geen openbare sleutel opgegeven, dus de herkomst van de "
     "update-informatie wordt niet gecontroleerd."},
    {"warning.allow.unsigned", "De update-informatie is niet geverifieerd (--allow-unsigned): wie "
                               "deze kan wijzigen, bepaalt wat er wordt geïnstalleerd."},
    {"warning.no.size", "De update-informatie vermeldt geen grootte; er kan niets worden "
                        "gedownload totdat de uitgever die toevoegt."},
    {"warning.no.expiry",
     "De ondertekende update-informatie heeft geen vervaldatum, dus een oude kopie kan opnieuw "
     "worden aangeboden; vraag de uitgever er een in te stellen."},
    {"warning.product", "De update-informatie is voor het product ‘{1}’, maar de app heeft niet "
                        "opgegeven welk product het is; de app moet --product {1} meegeven."},
    {"warning.retry", "Netwerkfout; nieuwe poging ({1} van {2}) over {3} s."},
    {"warning.skip.not.saved", "De keuze om deze versie over te slaan kan niet worden opgeslagen; "
                               "de versie wordt opnieuw aangeboden."},
    {"warning.state.not.saved", "De instellingen van de update kunnen niet worden opgeslagen; de "
                                "update gaat zonder deze instellingen verder."},
    {"warning.relaunch.failed", "De app kon niet opnieuw worden gestart; start deze zelf."},
    {"text.not.utf8", "(Deze tekst is geen geldige UTF-8.)"},
};

} // namespace

extern const Table kTextsNl = {"nl", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
