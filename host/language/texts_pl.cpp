// Polish. Keys and placeholders as in texts_en.cpp. The product's name is
// not declined, so sentences keep it in a fixed form: after a noun
// ("aplikacja {1}") or with an impersonal verb ("Zainstalowano {1}").

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "Aktualizacja aplikacji {1}"},
    {"title.plain", "Aktualizacja"},

    {"checking.heading", "Wyszukiwanie aktualizacji..."},
    {"checking.text", "Sprawdzanie najnowszej wersji na serwerze aktualizacji."},

    {"offer.heading.named", "Dostępna jest nowa wersja: {1} {2}."},
    {"offer.heading.plain", "Dostępna jest wersja {1}."},
    {"offer.installed", "Zainstalowana wersja: {1}."},
    {"offer.installed.required", "Zainstalowana wersja: {1}. Ta aktualizacja jest wymagana."},
    {"ready.heading.named", "Można zainstalować {1} {2}."},
    {"ready.heading.plain", "Można zainstalować wersję {1}."},
    {"notes.heading", "Co nowego:"},

    {"downloading.heading.named", "Pobieranie: {1} {2}..."},
    {"downloading.heading.plain", "Pobieranie wersji {1}..."},
    {"downloading.starting", "Rozpoczynanie pobierania..."},
    {"progress.total.rate.left", "{1} z {2}, {3}, {4}, pozostało {5}"},
    {"progress.total.rate", "{1} z {2}, {3}, {4}"},
    {"progress.total", "{1} z {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1}%"},

    {"verifying.heading", "Weryfikowanie aktualizacji..."},
    {"verifying.text", "Sprawdzanie, czy pakiet jest tym, który wskazuje manifest."},
    {"waiting.heading", "Oczekiwanie na zamknięcie aplikacji..."},
    {"waiting.text", "Aktualizacja zostanie zainstalowana po zakończeniu procesu {1}."},
    {"installing.heading.named", "Instalowanie: {1} {2}..."},
    {"installing.heading.plain", "Instalowanie wersji {1}..."},
    {"installing.text", "Instalator jest uruchomiony; może to potrwać kilka minut."},
    {"stopping", "Zatrzymywanie..."},

    {"installed.heading.named", "Zainstalowano {1} {2}."},
    {"installed.heading.plain", "Zainstalowano wersję {1}."},
    {"installed.text", "Instalator pomyślnie zakończył pracę."},
    {"restart.heading", "Uruchom ponownie, aby dokończyć aktualizację"},
    {"restart.text.named", "Zainstalowano {1} {2}; aby dokończyć aktualizację, trzeba ponownie "
                           "uruchomić system Windows."},
    {"restart.text.plain", "Zainstalowano wersję {1}; aby dokończyć aktualizację, trzeba ponownie "
                           "uruchomić system Windows."},
    {"restart.failed", "Nie udało się ponownie uruchomić systemu Windows (błąd {1}). Uruchom "
                       "ponownie komputer z menu Start, aby dokończyć aktualizację."},
    {"uptodate.heading.named", "Aplikacja {1} jest aktualna."},
    {"uptodate.heading.plain", "Ta aplikacja jest aktualna."},
    {"uptodate.text", "Zainstalowana wersja: {1}; najnowsza wersja to {2}."},
    {"uptodate.rollout",
     "Wersja {1} jest udostępniana stopniowo i dotrze na ten komputer później."},
    {"uptodate.newer.windows",
     "Wersja {1} wymaga systemu Windows {2} lub nowszego; ten komputer ma wersję {3}."},
    {"downloaded.heading.named", "Pobrano {1} {2}."},
    {"downloaded.heading.plain", "Pobrano wersję {1}."},
    {"downloaded.text", "Lokalizacja pakietu: {1}"},

    {"failed.usage.heading", "Nie udało się uruchomić aktualizacji."},
    {"failed.usage.advice", "Aplikacja uruchomiła program aktualizujący z opcjami, których on nie "
                            "rozpoznaje; powiadom wydawcę aplikacji."},
    {"failed.fetch.heading", "Nie można połączyć się z serwerem aktualizacji."},
    {"failed.fetch.advice", "Sprawdź połączenie z internetem i spróbuj ponownie później."},
    {"failed.manifest.heading", "Nie można użyć informacji o aktualizacji."},
    {"failed.manifest.advice",
     "Spróbuj ponownie później; jeśli problem będzie się powtarzał, powiadom wydawcę aplikacji."},
    {"failed.download.heading", "Nie udało się pobrać aktualizacji."},
    {"failed.download.advice",
     "Sprawdź połączenie z internetem i ilość wolnego miejsca na dysku, a potem spróbuj ponownie."},
    {"failed.install.heading", "Nie udało się zainstalować aktualizacji."},
    {"failed.install.advice", "Zamknij inne instalacje i spróbuj ponownie; jeśli problem będzie "
                              "się powtarzał, powiadom wydawcę aplikacji."},
    {"failed.cancelled.heading", "Aktualizacja została anulowana."},
    {"failed.cancelled.advice", "Uruchom aktualizację ponownie, aby ją dokończyć."},
    {"failed.refused.heading", "Aktualizacja została odrzucona ze względów bezpieczeństwa."},
    {"failed.refused.advice", "Nie przeszła kontroli bezpieczeństwa, więc nic nie zostało "
                              "zainstalowane; powiadom wydawcę aplikacji."},
    {"failed.other.heading", "Aktualizacja została przerwana."},
    {"failed.other.advice", "Spróbuj ponownie później."},
    {"failed.details", "Szczegóły: {1}"},
    {"failed.exit.code", "Kod zakończenia {1}"},

    {"consent.heading.named", "Czy aplikacja {1} ma automatycznie wyszukiwać aktualizacje?"},
    {"consent.heading.plain", "Czy ta aplikacja ma automatycznie wyszukiwać aktualizacje?"},
    {"consent.text", "Aplikacja co jakiś czas sprawdza serwer aktualizacji i proponuje każdą nową "
                     "wersję; to Ty decydujesz, czy ją zainstalować."},

    {"button.install.now", "&Zainstaluj teraz"},
    {"button.skip.version", "Po&miń tę wersję"},
    {"button.remind.later", "&Przypomnij później"},
    {"button.restart.now", "&Uruchom ponownie teraz"},
    {"button.later", "&Później"},
    {"button.check.automatically", "&Tak, automatycznie"},
    {"button.dont.check", "&Nie wyszukuj"},
    {"button.ask.later", "&Zapytaj później"},
    {"button.cancel", "Anuluj"},
    {"button.close", "&Zamknij"},

    {"warning.not.authenticated",
     "Brak uwierzytelnienia: aplikacja nie podała klucza publicznego, więc pochodzenie informacji "
     "o aktualizacji nie jest sprawdzane."},
    {"warning.allow.unsigned",
     "Informacje o aktualizacji nie są uwierzytelnione (--allow-unsigned): kto może je zmienić, "
     "ten decyduje, co zostanie zainstalowane."},
    {"warning.no.size", "Informacje o aktualizacji nie podają rozmiaru; nic nie może zostać "
                        "pobrane, dopóki wydawca go nie doda."},
    {"warning.no.expiry",
     "Podpisane informacje o aktualizacji nie mają daty wygaśnięcia, więc ktoś mógłby ponownie "
     "podać ich starą kopię; poproś wydawcę o ustawienie tej daty."},
    {"warning.product", "Informacje o aktualizacji dotyczą produktu „{1}”, ale aplikacja nie "
                        "podała, o jaki produkt chodzi; powinna przekazać --product {1}."},
    {"warning.retry", "Błąd sieci; ponowna próba ({1} z {2}) za {3} s."},
    {"warning.skip.not.saved",
     "Nie udało się zapisać wyboru pominięcia tej wersji; zostanie ona zaproponowana ponownie."},
    {"warning.state.not.saved",
     "Nie udało się zapisać ustawień aktualizacji; aktualizacja będzie kontynuowana bez nich."},
    {"warning.relaunch.failed",
     "Nie udało się ponownie uruchomić aplikacji; uruchom ją samodzielnie."},
    {"text.not.utf8", "(Ten tekst nie jest prawidłowym tekstem UTF-8.)"},
};

} // namespace

extern const Table kTextsPl = {"pl", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
