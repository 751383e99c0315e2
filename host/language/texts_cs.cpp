// Czech. Keys and placeholders as in texts_en.cpp. The product's name is
// not declined and has no known gender, so sentences keep it out of
// agreement ("Instalace {1} byla dokončena", "{1} lze nainstalovat").

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "Aktualizace aplikace {1}"},
    {"title.plain", "Aktualizace"},

    {"checking.heading", "Vyhledávání aktualizací..."},
    {"checking.text", "Zjišťování nejnovější verze na serveru aktualizací."},

    {"offer.heading.named", "{1} {2} je k dispozici."},
    {"offer.heading.plain", "Je k dispozici verze {1}."},
    {"offer.installed", "Nainstalovaná verze: {1}."},
    {"offer.installed.required", "Nainstalovaná verze: {1}. Tato aktualizace je povinná."},
    {"ready.heading.named", "{1} {2} lze nyní nainstalovat."},
    {"ready.heading.plain", "Verzi {1} lze nyní nainstalovat."},
    {"notes.heading", "Novinky:"},

    {"downloading.heading.named", "Stahování {1} {2}..."},
    {"downloading.heading.plain", "Stahování verze {1}..."},
    {"downloading.starting", "Spouštění stahování..."},
    {"progress.total.rate.left", "{1} z {2}, {3}, {4}, zbývá {5}"},
    {"progress.total.rate", "{1} z {2}, {3}, {4}"},
    {"progress.total", "{1} z {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} B"},
    {"size.kib", "{1} KiB"},
    {"size.mib", "{1} MiB"},
    {"size.gib", "{1} GiB"},
    {"size.tib", "{1} TiB"},
    {"rate", "{1}/s"},
    {"percent", "{1}\u00a0%"},

    {"verifying.heading", "Ověřování aktualizace..."},
    {"verifying.text", "Kontrola, zda balíček odpovídá balíčku uvedenému v manifestu."},
    {"waiting.heading", "Čekání na ukončení aplikace..."},
    {"waiting.text", "Aktualizace se nainstaluje, jakmile skončí proces {1}."},
    {"installing.heading.named", "Instalace {1} {2}..."},
    {"installing.heading.plain", "Instalace verze {1}..."},
    {"installing.text", "Instalační program je spuštěný; může to trvat několik minut."},
    {"stopping", "Zastavování..."},

    {"installed.heading.named", "Instalace {1} {2} byla dokončena."},
    {"installed.heading.plain", "Instalace verze {1} byla dokončena."},
    {"installed.text", "Instalační program úspěšně skončil."},
    {"restart.heading", "Dokončení aktualizace vyžaduje restart"},
    {"restart.text.named", "K dokončení instalace {1} {2} je nutné restartovat systém Windows."},
    {"restart.text.plain", "K dokončení instalace verze {1} je nutné restartovat systém Windows."},
    {"restart.failed", "Systém Windows se nepodařilo restartovat (chyba {1}). Restartujte počítač "
                       "z nabídky Start a dokončete tak aktualizaci."},
    {"uptodate.heading.named", "Aplikace {1} je aktuální."},
    {"uptodate.heading.plain", "Tato aplikace je aktuální."},
    {"uptodate.text", "Nainstalovaná verze: {1}; nejnovější verze je {2}."},
    {"uptodate.rollout", "Verze {1} se zavádí postupně a do tohoto počítače dorazí později."},
    {"uptodate.newer.windows",
     "Verze {1} vyžaduje Windows {2} nebo novější; tento počítač má verzi {3}."},
    {"downloaded.heading.named", "Stahování {1} {2} bylo dokončeno."},
    {"downloaded.heading.plain", "Stahování verze {1} bylo dokončeno."},
    {"downloaded.text", "Umístění balíčku: {1}"},

    {"failed.usage.heading", "Aktualizaci se nepodařilo spustit."},
    {"failed.usage.advice", "Aplikace spustila aktualizační program s možnostmi, kterým tento "
                            "program nerozumí; obraťte se na vydavatele aplikace."},
    {"failed.fetch.heading", "Server aktualizací není dostupný."},
    {"failed.fetch.advice", "Zkontrolujte připojení k internetu a zkuste to později znovu."},
    {"failed.manifest.heading", "Informace o aktualizaci nelze použít."},
    {"failed.manifest.advice",
     "Zkuste to později znovu; pokud se to bude opakovat, obraťte se na vydavatele aplikace."},
    {"failed.download.heading", "Aktualizaci se nepodařilo stáhnout."},
    {"failed.download.advice",
     "Zkontrolujte připojení k internetu a volné místo na disku a zkuste to znovu."},
    {"failed.install.heading", "Aktualizaci se nepodařilo nainstalovat."},
    {"failed.install.advice", "Zavřete ostatní instalace a zkuste to znovu; pokud se to bude "
                              "opakovat, obraťte se na vydavatele aplikace."},
    {"failed.cancelled.heading", "Aktualizace byla zrušena."},
    {"failed.cancelled.advice", "Spusťte aktualizaci znovu a dokončete ji."},
    {"failed.refused.heading", "Aktualizace byla z bezpečnostních důvodů odmítnuta."},
    {"failed.refused.advice", "Neprošla bezpečnostními kontrolami, a proto nebylo nic "
                              "nainstalováno; obraťte se na vydavatele aplikace."},
    {"failed.other.heading", "Aktualizace se zastavila."},
    {"failed.other.advice", "Zkuste to později znovu."},
    {"failed.details", "Podrobnosti: {1}"},
    {"failed.exit.code", "Návratový kód {1}"},

    {"consent.heading.named", "Má aplikace {1} automaticky vyhledávat aktualizace?"},
    {"consent.heading.plain", "Má tato aplikace automaticky vyhledávat aktualizace?"},
    {"consent.text", "Aplikace se občas dotáže serveru aktualizací a nabídne vám každou novou "
                     "verzi; o instalaci rozhodujete vy."},

    {"button.install.now", "&Nainstalovat nyní"},
    {"button.skip.version", "Pře&skočit tuto verzi"},
    {"button.remind.later", "&Připomenout později"},
    {"button.restart.now", "&Restartovat nyní"},
    {"button.later", "&Později"},
    {"button.check.automatically", "&Ano, automaticky"},
    {"button.dont.check", "&Nevyhledávat"},
    {"button.ask.later", "&Zeptat se později"},
    {"button.cancel", "Storno"},
    {"button.close", "&Zavřít"},

    {"warning.not.authenticated", "Bez ověření: aplikace neposkytla veřejný klíč, takže se "
                                  "neověřuje původ informací o aktualizaci."},
    {"warning.allow.unsigned", "Informace o aktualizaci nejsou ověřené (--allow-unsigned): kdo je "
                               "může změnit, ten určuje, co se nainstaluje."},
    {"warning.no.size", "Informace o aktualizaci neuvádějí velikost; nic nelze stáhnout, dokud ji "
                        "vydavatel nedoplní."},
    {"warning.no.expiry",
     "Podepsané informace o aktualizaci nemají datum vypršení platnosti, takže by někdo mohl znovu "
     "podat jejich starou kopii; požádejte vydavatele, aby ho nastavil."},
    {"warning.product", "Informace o aktualizaci jsou určeny pro produkt „{1}“, ale aplikace "
                        "neuvedla, o jaký produkt jde; měla by předat --product {1}."},
    {"warning.retry", "Chyba sítě; nový pokus ({1} z {2}) za {3} s."},
    {"warning.skip.not.saved",
     "Volbu přeskočit tuto verzi se nepodařilo uložit; verze bude nabídnuta znovu."},
    {"warning.state.not.saved",
     "Nastavení aktualizace se nepodařilo uložit; aktualizace pokračuje bez něj."},
    {"warning.relaunch.failed", "Aplikaci se nepodařilo znovu spustit; spusťte ji sami."},
    {"text.not.utf8", "(Tento text není platný text v kódování UTF-8.)"},
};

} // namespace

extern const Table kTextsCs = {"cs", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
