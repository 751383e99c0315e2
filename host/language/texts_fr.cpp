// French. Keys and placeholders as in texts_en.cpp. A no-break space
// (\u00a0) goes before ":", ";", "?" and "%" and inside « », so a line
// never starts with one of them.

#include "texts.h"

#include <iterator>

namespace hovrel::language {

namespace {

const Entry kEntries[] = {
    {"title.named", "Mise à jour de {1}"},
    {"title.plain", "Mise à jour"},

    {"checking.heading", "Recherche de mises à jour..."},
    {"checking.text", "Demande de la dernière version au serveur de mises à jour."},

    {"offer.heading.named", "{1} {2} est disponible."},
    {"offer.heading.plain", "La version {1} est disponible."},
    {"offer.installed", "Version installée\u00a0: {1}."},
    {"offer.installed.required",
     "Version installée\u00a0: {1}. Cette mise à jour est obligatoire."},
    {"ready.heading.named", "Vous pouvez maintenant installer {1} {2}."},
    {"ready.heading.plain", "Vous pouvez maintenant installer la version {1}."},
    {"notes.heading", "Nouveautés\u00a0:"},

    {"downloading.heading.named", "Téléchargement de {1} {2}..."},
    {"downloading.heading.plain", "Téléchargement de la version {1}..."},
    {"downloading.starting", "Démarrage du téléchargement..."},
    {"progress.total.rate.left", "{1} sur {2}, {3}, {4}, reste {5}"},
    {"progress.total.rate", "{1} sur {2}, {3}, {4}"},
    {"progress.total", "{1} sur {2}, {3}"},
    {"progress.rate", "{1}, {2}"},
    {"size.bytes", "{1} o"},
    {"size.kib", "{1} Kio"},
    {"size.mib", "{1} Mio"},
    {"size.gib", "{1} Gio"},
    {"size.tib", "{1} Tio"},
    {"rate", "{1}/s"},
    {"percent", "{1}\u00a0%"},

    {"verifying.heading", "Vérification de la mise à jour..."},
    {"verifying.text", "Contrôle de la correspondance entre le paquet et le manifeste."},
    {"waiting.heading", "En attente de la fermeture de l'application..."},
    {"waiting.text", "La mise à jour sera installée dès la fin du processus {1}."},
    {"installing.heading.named", "Installation de {1} {2}..."},
    {"installing.heading.plain", "Installation de la version {1}..."},
    {"installing.text", "Le programme d'installation est en cours d'exécution\u00a0; cela peut "
                        "prendre quelques minutes."},
    {"stopping", "Arrêt en cours..."},

    {"installed.heading.named", "L'installation de {1} {2} est terminée."},
    {"installed.heading.plain", "L'installation de la version {1} est terminée."},
    {"installed.text", "Le programme d'installation s'est terminé correctement."},
    {"restart.heading", "Redémarrez pour terminer la mise à jour"},
    {"restart.text.named", "Pour terminer l'installation de {1} {2}, Windows doit redémarrer."},
    {"restart.text.plain",
     "Pour terminer l'installation de la version {1}, Windows doit redémarrer."},
    {"restart.failed", "Windows n'a pas pu redémarrer (erreur {1}). Redémarrez l'ordinateur depuis "
                       "le menu Démarrer pour terminer la mise à jour."},
    {"uptodate.heading.named", "{1} est à jour."},
    {"uptodate.heading.plain", "Cette application est à jour."},
    {"uptodate.text", "Version installée\u00a0: {1}\u00a0; dernière version\u00a0: {2}."},
    {"uptodate.rollout",
     "La version {1} est déployée progressivement et arrivera plus tard sur cet ordinateur."},
    {"uptodate.newer.windows", "La version {1} nécessite Windows {2} ou version ultérieure\u00a0; "
                               "cet ordinateur a la version {3}."},
    {"downloaded.heading.named", "Le téléchargement de {1} {2} est terminé."},
    {"downloaded.heading.plain", "Le téléchargement de la version {1} est terminé."},
    {"downloaded.text", "Emplacement du paquet\u00a0: {1}"},

    {"failed.usage.heading", "La mise à jour n'a pas pu démarrer."},
    {"failed.usage.advice",
     "L'application a lancé le programme de mise à jour avec des options qu'il ne comprend "
     "pas\u00a0; signalez-le à l'éditeur de l'application."},
    {"failed.fetch.heading", "Impossible de joindre le serveur de mises à jour."},
    {"failed.fetch.advice", "Vérifiez la connexion Internet et réessayez plus tard."},
    {"failed.manifest.heading", "Les informations de mise à jour sont inutilisables."},
    {"failed.manifest.advice", "Réessayez plus tard\u00a0; si le problème persiste, signalez-le à "
                               "l'éditeur de l'application."},
    {"failed.download.heading", "La mise à jour n'a pas pu être téléchargée."},
    {"failed.download.advice",
     "Vérifiez la connexion Internet et l'espace disque disponible, puis réessayez."},
    {"failed.install.heading", "La mise à jour n'a pas pu être installée."},
    {"failed.install.advice", "Fermez les autres installations en cours et réessayez\u00a0; si le "
                              "problème persiste, signalez-le à l'éditeur de l'application."},
    {"failed.cancelled.heading", "La mise à jour a été interrompue."},
    {"failed.cancelled.advice", "Relancez la mise à jour pour la terminer."},
    {"failed.refused.heading", "La mise à jour a été refusée par sécurité."},
    {"failed.refused.advice", "Elle a échoué aux contrôles de sécurité, donc rien n'a été "
                              "installé\u00a0; signalez-le à l'éditeur de l'application."},
    {"failed.other.heading", "La mise à jour s'est arrêtée."},
    {"failed.other.advice", "Réessayez plus tard."},
    {"failed.details", "Détails\u00a0: {1}"},
    {"failed.exit.code", "Code de sortie {1}"},

    {"consent.heading.named", "Rechercher automatiquement les mises à jour de {1}\u00a0?"},
    {"consent.heading.plain",
     "Rechercher automatiquement les mises à jour de cette application\u00a0?"},
    {"consent.text", "L'application interroge de temps en temps le serveur de mises à jour et vous "
                     "propose chaque nouvelle version\u00a0; vous décidez de l'installer ou non."},

    {"button.install.now", "&Installer maintenant"},
    {"button.skip.version", "Ignorer cette &version"},
    {"button.remind.later", "Me &rappeler plus tard"},
    {"button.restart.now", "&Redémarrer maintenant"},
    {"button.later", "&Plus tard"},
    {"button.check.automatically", "&Oui, automatiquement"},
    {"button.dont.check", "&Ne pas rechercher"},
    {"button.ask.later", "&Demander plus tard"},
    {"button.cancel", "Annuler"},
    {"button.close", "&Fermer"},

    {"warning.not.authenticated",
     "Non authentifié\u00a0: l'application n'a fourni aucune clé publique, donc l'origine des "
     "informations de mise à jour n'est pas vérifiée."},
    {"warning.allow.unsigned",
     "Les informations de mise à jour ne sont pas authentifiées (--allow-unsigned)\u00a0: "
     "quiconque peut les modifier choisit ce qui est installé."},
    {"warning.no.size", "Les informations de mise à jour n'indiquent aucune taille\u00a0; rien ne "
                        "peut être téléchargé tant que l'éditeur ne l'a pas ajoutée."},
    {"warning.no.expiry",
     "Les informations de mise à jour signées n'ont pas de date d'expiration, donc une ancienne "
     "copie pourrait être présentée à nouveau\u00a0; demandez à l'éditeur d'en définir une."},
    {"warning.product",
     "Les informations de mise à jour concernent le produit «\u00a0{1}\u00a0», mais l'application "
     "n'a pas indiqué de quel produit il s'agit\u00a0; elle devrait transmettre --product {1}."},
    {"warning.retry", "Erreur réseau\u00a0; nouvelle tentative ({1} sur {2}) dans {3}\u00a0s."},
    {"warning.skip.not.saved", "Le choix d'ignorer cette version n'a pas pu être enregistré\u00a0; "
                               "elle vous sera de nouveau proposée."},
    {"warning.state.not.saved", "Les paramètres de la mise à jour n'ont pas pu être "
                                "enregistrés\u00a0; la mise à jour continue sans eux."},
    {"warning.relaunch.failed", "L’application n’a pas pu être relancée ; lancez-la vous-même."},
    {"text.not.utf8", "(Ce texte n'est pas de l'UTF-8 valide.)"},
};

} // namespace

extern const Table kTextsFr = {"fr", false, kEntries, std::size(kEntries)};

} // namespace hovrel::language
