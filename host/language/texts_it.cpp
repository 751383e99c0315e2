// Italian. Keys and placeholders as in texts_en.cpp. The user is addressed
// as "tu", as Windows does.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "Aggiornamento di {1}"},
    {"title.plain", "Aggiornamento"},

    {"checking.heading", "Ricerca di aggiornamenti in corso..."},
    {"checking.text", "Richiesta dell'ultima versione al server degli aggiornamenti."},

    {"offer.heading.named", "{1} {2} è disponibile."},
    {"offer.heading.plain", "È disponibile la versione {1}."},
    {"offer.installed", "Versione installata: {1}."},
    {"offer.installed.required", "Versione installata: {1}. Questo aggiornamento è obbligatorio."},
    {"ready.heading.named", "Tutto pronto per installare {1} {2}."},
    {"ready.heading.plain", "Tutto pronto per installare la versione {1}."},
    {"notes.heading", "Novità:"},

    {"downloading.heading.named", "Download di {1} {2} in corso..."},
    {"downloading.heading.plain", "Download della versione {1} in corso..."},
    {"downloading.starting", "Avvio del download..."},
    {"progress.total.rate.left", "{1} di {2}, {3}, {4}, mancano {5}"},
    {"progress.total.rate", "{1} di {2}, {3}, {4}"},
    {"progress.total", "{1} di {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1}%"},

    {"verifying.heading", "Verifica dell'aggiornamento in corso..."},
    {"verifying.text", "Controllo della corrispondenza tra il pacchetto e il manifesto."},
    {"waiting.heading", "In attesa della chiusura dell'app..."},
    {"waiting.text", "L'aggiornamento verrà installato al termine del processo {1}."},
    {"installing.heading.named", "Installazione di {1} {2} in corso..."},
    {"installing.heading.plain", "Installazione della versione {1} in corso..."},
    {"installing.text",
     "Il programma di installazione è in esecuzione; l'operazione può richiedere alcuni minuti."},
    {"stopping", "Interruzione in corso..."},

    {"installed.heading.named", "Installazione di {1} {2} completata."},
    {"installed.heading.plain", "Installazione della versione {1} completata."},
    {"installed.text", "Il programma di installazione è stato completato correttamente."},
    {"restart.heading", "Riavvia per completare l'aggiornamento"},
    {"restart.text.named",
     "Per completare l'installazione di {1} {2} è necessario riavviare Windows."},
    {"restart.text.plain",
     "Per completare l'installazione della versione {1} è necessario riavviare Windows."},
    {"restart.failed", "Impossibile riavviare Windows (errore {1}). Riavvia il computer dal menu "
                       "Start per completare l'aggiornamento."},
    {"uptodate.heading.named", "{1} è alla versione più recente."},
    {"uptodate.heading.plain", "Questa app è alla versione più recente."},
    {"uptodate.text", "Versione installata: {1}; la più recente è la {2}."},
    {"uptodate.rollout",
     "La versione {1} viene distribuita gradualmente e raggiungerà questo computer più avanti."},
    {"uptodate.newer.windows", "La versione {1} richiede Windows {2} o versione successiva; questo "
                               "computer ha la versione {3}."},
    {"downloaded.heading.named", "Download di {1} {2} completato."},
    {"downloaded.heading.plain", "Download della versione {1} completato."},
    {"downloaded.text", "Percorso del pacchetto: {1}"},

    {"failed.usage.heading", "Impossibile avviare l'aggiornamento."},
    {"failed.usage.advice", "L'app ha avviato il programma di aggiornamento con opzioni che "
                            "quest'ultimo non riconosce; segnalalo allo sviluppatore dell'app."},
    {"failed.fetch.heading", "Impossibile raggiungere il server degli aggiornamenti."},
    {"failed.fetch.advice", "Controlla la connessione a Internet e riprova più tardi."},
    {"failed.manifest.heading", "Impossibile usare le informazioni sull'aggiornamento."},
    {"failed.manifest.advice",
     "Riprova più tardi; se il problema persiste, segnalalo allo sviluppatore dell'app."},
    {"failed.download.heading", "Impossibile scaricare l'aggiornamento."},
    {"failed.download.advice",
     "Controlla la connessione a Internet e lo spazio libero su disco, quindi riprova."},
    {"failed.install.heading", "Impossibile installare l'aggiornamento."},
    {"failed.install.advice", "Chiudi le altre installazioni e riprova; se il problema persiste, "
                              "segnalalo allo sviluppatore dell'app."},
    {"failed.cancelled.heading", "L'aggiornamento è stato annullato."},
    {"failed.cancelled.advice", "Esegui di nuovo l'aggiornamento per completarlo."},
    {"failed.refused.heading", "L'aggiornamento è stato rifiutato per motivi di sicurezza."},
    {"failed.refused.advice", "Non ha superato i controlli di sicurezza, quindi non è stato "
                              "installato nulla; segnalalo allo sviluppatore dell'app."},
    {"failed.other.heading", "L'aggiornamento si è interrotto."},
    {"failed.other.advice", "Riprova più tardi."},
    {"failed.details", "Dettagli: {1}"},
    {"failed.exit.code", "Codice di uscita {1}"},

    {"consent.heading.named", "Vuoi che {1} cerchi automaticamente gli aggiornamenti?"},
    {"consent.heading.plain", "Vuoi che questa app cerchi automaticamente gli aggiornamenti?"},
    {"consent.text", "L'app contatta di tanto in tanto il server degli aggiornamenti e ti propone "
                     "ogni nuova versione; sei tu a decidere se installarla."},

    {"button.install.now", "&Installa ora"},
    {"button.skip.version", "I&gnora questa versione"},
    {"button.remind.later", "&Ricordamelo più tardi"},
    {"button.restart.now", "&Riavvia ora"},
    {"button.later", "&Più tardi"},
    {"button.check.automatically", "Cerca &automaticamente"},
    {"button.dont.check", "&Non cercare"},
    {"button.ask.later", "&Chiedimelo più tardi"},
    {"button.cancel", "Annulla"},
    {"button.close", "&Chiudi"},

    {"warning.not.authenticated",
     "Non autenticato: l'app non ha fornito alcuna chiave pubblica, quindi l'origine delle "
     "informazioni sull'aggiornamento non viene verificata."},
    {"warning.allow.unsigned",
     "Le informazioni sull'aggiornamento non sono autenticate (--allow-unsigned): chi può "
     "modificarle decide cosa viene installato."},
    {"warning.no.size", "Le informazioni sull'aggiornamento non indicano alcuna dimensione; non è "
                        "possibile scaricare nulla finché lo sviluppatore non la aggiunge."},
    {"warning.no.expiry",
     "Le informazioni firmate sull'aggiornamento non hanno una data di scadenza, quindi potrebbe "
     "essere riproposta una vecchia copia; chiedi allo sviluppatore di impostarne una."},
    {"warning.product",
     "Le informazioni sull'aggiornamento riguardano il prodotto «{1}», ma l'app non ha indicato di "
     "quale prodotto si tratta; dovrebbe passare --product {1}."},
    {"warning.retry", "Errore di rete; nuovo tentativo ({1} di {2}) tra {3} s."},
    {"warning.skip.not.saved",
     "Impossibile salvare la scelta di ignorare questa versione; verrà proposta di nuovo."},
    {"warning.state.not.saved", "Impossibile salvare le impostazioni dell'aggiornamento; "
                                "l'aggiornamento prosegue senza di esse."},
    {"warning.relaunch.failed", "Non è stato possibile riavviare l'app; avviala manualmente."},
    {"text.not.utf8", "(Questo testo non è UTF-8 valido.)"},
};

} // namespace

extern const Table kTextsIt = {"it", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
