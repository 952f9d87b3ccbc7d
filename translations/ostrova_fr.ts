<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>AppListModel</name>
    <message>
        <source>Inside “%1”</source>
        <translation>Dans «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Not sure: the search for installed copies ran out of time</source>
        <translation>Incertain&#xa0;: la recherche de copies installées a expiré</translation>
    </message>
    <message>
        <source>Application bundle: %1</source>
        <translation>Paquet de l’app&#xa0;: %1</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>Analyse...</translation>
    </message>
    <message>
        <source>Not sure</source>
        <translation>Incertain</translation>
    </message>
    <message>
        <source>Not opened for more than 90 days</source>
        <translation>Non ouverte depuis plus de 90 jours</translation>
    </message>
    <message>
        <source>Dates in orange: not opened for more than 90 days</source>
        <translation>Dates en orange&#xa0;: apps non ouvertes depuis plus de 90 jours</translation>
    </message>
</context>
<context>
    <name>ByteCount</name>
    <message>
        <source>%1 KB</source>
        <translation>%1 Ko</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 Mo</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 Go</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 To</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 Po</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 Eo</translation>
    </message>
    <message>
        <source>Zero KB</source>
        <translation>Zéro Ko</translation>
    </message>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n octet</numerusform>
            <numerusform>%n octets</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Category</name>
    <message>
        <source>Program files</source>
        <translation>Fichiers du programme</translation>
    </message>
    <message>
        <source>Supporting documents</source>
        <translation>Documents de support</translation>
    </message>
    <message>
        <source>Cache files</source>
        <translation>Fichiers de cache</translation>
    </message>
    <message>
        <source>Preferences files</source>
        <translation>Fichiers de préférences</translation>
    </message>
    <message>
        <source>Status files</source>
        <translation>Fichiers d’état</translation>
    </message>
    <message>
        <source>Crash Reporter</source>
        <translation>Rapports de plantage</translation>
    </message>
    <message>
        <source>Log files</source>
        <translation>Fichiers journaux</translation>
    </message>
    <message>
        <source>Sandbox files</source>
        <translation>Fichiers du bac à sable</translation>
    </message>
    <message>
        <source>Daemon</source>
        <translation>Daemon</translation>
    </message>
    <message>
        <source>Login item</source>
        <translation>Élément de connexion</translation>
    </message>
    <message>
        <source>Other files</source>
        <translation>Autres fichiers</translation>
    </message>
    <message>
        <source>Cookies</source>
        <translation>Cookies</translation>
    </message>
</context>
<context>
    <name>ExclusionsWindowController</name>
    <message>
        <source>Exclusions</source>
        <translation>Exclusions</translation>
    </message>
    <message>
        <source>Ostrova never offers these items and never removes or resets these applications.</source>
        <translation>Ostrova ne propose jamais ces éléments et ne supprime ni ne réinitialise jamais ces applications.</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Élément</translation>
    </message>
    <message>
        <source>Applies to</source>
        <translation>S’applique à</translation>
    </message>
    <message>
        <source>Excluded items and protected applications</source>
        <translation>Éléments exclus et applications protégées</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Every application</source>
        <translation>Toutes les applications</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Protected, always</source>
        <translation>Toujours protégée</translation>
    </message>
    <message>
        <source>Protected application</source>
        <translation>Application protégée</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the stored exclusions could not be read and were left out.</source>
        <translation>
            <numerusform>%n entrée des exclusions enregistrées n’a pas pu être lue et a été ignorée.</numerusform>
            <numerusform>%n entrées des exclusions enregistrées n’ont pas pu être lues et ont été ignorées.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>Allow access to this path</source>
        <translation>Autoriser l’accès à cet emplacement</translation>
    </message>
</context>
<context>
    <name>MainViewController</name>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Recently used</source>
        <translation>Dernière utilisation</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>All applications</source>
        <translation>Toutes les applications</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Applications</translation>
    </message>
    <message>
        <source>Remains</source>
        <translation>Résidus</translation>
    </message>
    <message>
        <source>Remains of removed applications</source>
        <translation>Résidus d’applications supprimées</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>Désinstaller</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Search applications</source>
        <translation>Rechercher des applications</translation>
    </message>
    <message>
        <source>Applications and their files</source>
        <translation>Applications et leurs fichiers</translation>
    </message>
    <message>
        <source>Show installed applications</source>
        <translation>Afficher les applications installées</translation>
    </message>
    <message>
        <source>Show remains of removed applications</source>
        <translation>Afficher les résidus d’applications supprimées</translation>
    </message>
    <message>
        <source>Uninstall the ticked applications</source>
        <translation>Désinstaller les applications cochées</translation>
    </message>
    <message>
        <source>Offer to remove what applications dragged to the Trash leave</source>
        <translation>Proposer de supprimer les résidus des apps placées dans la Corbeille</translation>
    </message>
    <message>
        <source>Force quit may result in loss of data being edited</source>
        <translation>Forcer à quitter peut faire perdre les données en cours de modification</translation>
    </message>
    <message>
        <source>%1 is running, do you want to force quit?</source>
        <translation>%1 est en cours d’exécution. Voulez-vous forcer sa fermeture&#xa0;?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Force quit</source>
        <translation>Forcer à quitter</translation>
    </message>
    <message>
        <source>Remains (%1)</source>
        <translation>Résidus (%1)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Please select the file to delete</source>
        <translation>Veuillez sélectionner le fichier à supprimer</translation>
    </message>
    <message>
        <source>The application is not installed in the /Applications directory. To ensure full functionality, please move the application to that directory.</source>
        <translation>L’application n’est pas installée dans le dossier /Applications. Pour bénéficier de toutes ses fonctionnalités, veuillez la déplacer dans ce dossier.</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) selected</source>
        <translation>
            <numerusform>%n application sélectionnée</numerusform>
            <numerusform>%n applications sélectionnées</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Remains, not included</source>
        <translation>
            <numerusform>%n cochée dans Résidus, non incluse</numerusform>
            <numerusform>%n cochées dans Résidus, non incluses</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Applications, not included</source>
        <translation>
            <numerusform>%n cochée dans Applications, non incluse</numerusform>
            <numerusform>%n cochées dans Applications, non incluses</numerusform>
        </translation>
    </message>
    <message>
        <source>Unprotect</source>
        <translation>Ne plus protéger</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>Protéger</translation>
    </message>
    <message>
        <source>Never offer this…</source>
        <translation>Ne plus jamais proposer…</translation>
    </message>
    <message>
        <source>Never offer “%1”?</source>
        <translation>Ne plus jamais proposer « %1 » ?</translation>
    </message>
    <message>
        <source>The folder and everything inside it are kept. Keep it for this application only, or for every application?</source>
        <translation>Le dossier et tout son contenu sont conservés. Le conserver pour cette application seulement, ou pour toutes les applications ?</translation>
    </message>
    <message>
        <source>The file is kept. Keep it for this application only, or for every application?</source>
        <translation>Le fichier est conservé. Le conserver pour cette application seulement, ou pour toutes les applications ?</translation>
    </message>
    <message>
        <source>Only for “%1”</source>
        <translation>Seulement pour « %1 »</translation>
    </message>
    <message>
        <source>For Every Application</source>
        <translation>Pour toutes les applications</translation>
    </message>
    <message>
        <source>Exclusions…</source>
        <translation>Exclusions…</translation>
    </message>
    <message>
        <source>What is never offered, and the protected applications</source>
        <translation>Ce qui n’est jamais proposé, et les applications protégées</translation>
    </message>
    <message>
        <source>Show the exclusions and protected applications</source>
        <translation>Afficher les exclusions et les applications protégées</translation>
    </message>
    <message>
        <source>Reset…</source>
        <translation>Réinitialiser…</translation>
    </message>
</context>
<context>
    <name>NotificationView</name>
    <message>
        <source>App cleanup reminder</source>
        <translation>Rappel de nettoyage des apps</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Analyser</translation>
    </message>
    <message>
        <source>Scan your applications</source>
        <translation>Analysez vos applications</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.</source>
        <translation>
            <numerusform>%n application non ouverte depuis plus de 90 jours. Analysez et désinstallez pour libérer de l’espace.</numerusform>
            <numerusform>%n applications non ouvertes depuis plus de 90 jours. Analysez et désinstallez pour libérer de l’espace.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PutBackReportText</name>
    <message>
        <source>Nothing was put back.</source>
        <translation>Rien n’a été remis en place.</translation>
    </message>
    <message>
        <source>The items were put back, but some launch jobs could not be loaded again.</source>
        <translation>Les éléments ont été remis en place, mais certaines tâches de lancement n’ont pas pu être rechargées.</translation>
    </message>
    <message>
        <source>Some items could not be put back.</source>
        <translation>Certains éléments n’ont pas pu être remis en place.</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>%n élément remis en place (%1).</numerusform>
            <numerusform>%n éléments remis en place (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>its place is taken</source>
        <translation>son emplacement est occupé</translation>
    </message>
    <message>
        <source>emptied from the Trash</source>
        <translation>la Corbeille a été vidée</translation>
    </message>
    <message>
        <source>it could not be moved back</source>
        <translation>impossible de le remettre en place</translation>
    </message>
    <message>
        <source>deleted, not in the Trash</source>
        <translation>supprimé, pas dans la Corbeille</translation>
    </message>
    <message>
        <source>already put back</source>
        <translation>déjà remis en place</translation>
    </message>
    <message>
        <source>put back, but its launch job could not be loaded again</source>
        <translation>remis en place, mais sa tâche de lancement n’a pas pu être rechargée</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>Le mot de passe d’un administrateur n’a pas été fourni, donc les éléments à remettre hors de votre dossier de départ sont restés dans la Corbeille.</translation>
    </message>
</context>
<context>
    <name>RemainsPanelView</name>
    <message>
        <source>%1 left %2 behind</source>
        <translation>%1 a laissé %2 de fichiers</translation>
    </message>
    <message>
        <source>%1 was moved to the Trash, but its settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 est dans la Corbeille, mais ses réglages, caches et autres fichiers restent sur ce Mac. Les supprimer aussi&#xa0;?</translation>
    </message>
    <message>
        <source>%1 were moved to the Trash, but their settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 sont dans la Corbeille, mais leurs réglages, caches et autres fichiers restent sur ce Mac. Les supprimer aussi&#xa0;?</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 et %2</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Pas maintenant</translation>
    </message>
    <message>
        <source>&amp;Review</source>
        <translation>&amp;Examiner</translation>
    </message>
    <message>
        <source>Remove remains</source>
        <translation>Supprimer les résidus</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Removing the remains...</source>
        <translation>Suppression des résidus...</translation>
    </message>
    <message>
        <source>Removed what %1 left</source>
        <translation>Résidus de %1 supprimés</translation>
    </message>
    <message>
        <source>Nothing removed of what %1 left</source>
        <translation>Aucun résidu de %1 supprimé</translation>
    </message>
    <message>
        <source>Could not remove what %1 left</source>
        <translation>Impossible de supprimer les résidus de %1</translation>
    </message>
    <message>
        <source>Removed part of what %1 left</source>
        <translation>Résidus de %1 supprimés en partie</translation>
    </message>
    <message numerus="yes">
        <source>Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.</source>
        <translation>
            <numerusform>%n élément (%1) placé dans la Corbeille&#xa0;; vider la Corbeille libère l’espace.</numerusform>
            <numerusform>%n éléments (%1) placés dans la Corbeille&#xa0;; vider la Corbeille libère l’espace.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removed %n item(s) (%1).</source>
        <translation>
            <numerusform>%n élément supprimé (%1).</numerusform>
            <numerusform>%n éléments supprimés (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of this removal could not be written, so it cannot be put back.</source>
        <translation>L’historique de cette suppression n’a pas pu être enregistré, donc les éléments ne pourront pas être remis en place.</translation>
    </message>
    <message>
        <source>Left, as an application with the same identifier is installed again: %1.</source>
        <translation>Conservés, car une application avec le même identifiant est de nouveau installée&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Left, as another file now lies in their place: %1.</source>
        <translation>Conservés, car un autre fichier occupe désormais leur emplacement&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Left, as they could not be removed: %1.</source>
        <translation>Conservés, car leur suppression a échoué&#xa0;: %1.</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>Le mot de passe d’un administrateur n’a pas été fourni, donc les éléments hors de votre dossier de départ ont été conservés.</translation>
    </message>
    <message numerus="yes">
        <source>%n applications left %1 behind</source>
        <translation>
            <numerusform>%n application a laissé %1 de fichiers</numerusform>
            <numerusform>%n applications ont laissé %1 de fichiers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 et %n autre</numerusform>
            <numerusform>%1 et %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Remettre</translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>%n autre</numerusform>
            <numerusform>%n autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n application(s)</source>
        <translation>
            <numerusform>%n application</numerusform>
            <numerusform>%n applications</numerusform>
        </translation>
    </message>
    <message>
        <source>Putting back…</source>
        <translation>Remise en place…</translation>
    </message>
    <message>
        <source>Put back what %1 left</source>
        <translation>Résidus de %1 remis en place</translation>
    </message>
    <message>
        <source>Nothing put back of what %1 left</source>
        <translation>Aucun résidu de %1 remis en place</translation>
    </message>
    <message>
        <source>Put back part of what %1 left</source>
        <translation>Résidus de %1 remis en place en partie</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>%n élément remis en place (%1).</numerusform>
            <numerusform>%n éléments remis en place (%1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.</source>
        <translation>
            <numerusform>%n élément non remis&#xa0;: son emplacement est occupé, il a été effacé de la Corbeille ou n’a pas pu être déplacé.</numerusform>
            <numerusform>%n éléments non remis&#xa0;: leur emplacement est occupé, ils ont été effacés de la Corbeille ou n’ont pas pu être déplacés.</numerusform>
        </translation>
    </message>
    <message>
        <source>Some launch jobs could not be loaded again.</source>
        <translation>Certaines tâches de lancement n’ont pas pu être rechargées.</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>Le mot de passe d’un administrateur n’a pas été fourni, donc les éléments à remettre hors de votre dossier de départ sont restés dans la Corbeille.</translation>
    </message>
</context>
<context>
    <name>RequestUninstallWinodowController</name>
    <message>
        <source>Ticked items: %1</source>
        <translation>Éléments cochés&#xa0;: %1</translation>
    </message>
    <message>
        <source>These need an administrator&apos;s password:</source>
        <translation>Ces éléments nécessitent le mot de passe d’un administrateur&#xa0;:</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>et %n autre</numerusform>
            <numerusform>et %n autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scroll to see all %n.</source>
        <translation>
            <numerusform>Faites défiler pour tout voir (%n).</numerusform>
            <numerusform>Faites défiler pour voir les %n.</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete immediately instead of moving to the Trash</source>
        <translation>Supprimer immédiatement au lieu de placer dans la Corbeille</translation>
    </message>
    <message>
        <source>Delete what cannot be moved to the Trash</source>
        <translation>Supprimer ce qui ne peut pas être placé dans la Corbeille</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Continue uninstall</source>
        <translation>Poursuivre la désinstallation</translation>
    </message>
    <message>
        <source>Remove the remains of “%1”?</source>
        <translation>Supprimer les résidus de «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message>
        <source>Uninstall “%1”?</source>
        <translation>Désinstaller «&#xa0;%1&#xa0;»&#xa0;?</translation>
    </message>
    <message numerus="yes">
        <source>Remove the remains of %n application(s)?</source>
        <translation>
            <numerusform>Supprimer les résidus de %n application&#xa0;?</numerusform>
            <numerusform>Supprimer les résidus de %n applications&#xa0;?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n application(s)?</source>
        <translation>
            <numerusform>Désinstaller %n application&#xa0;?</numerusform>
            <numerusform>Désinstaller %n applications&#xa0;?</numerusform>
        </translation>
    </message>
    <message>
        <source>Reset “%1”?</source>
        <translation>Réinitialiser « %1 » ?</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) are deleted.</source>
        <translation>%1 reste installée. Ses réglages, caches et autres données (%2) sont supprimés.</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) go to the Trash; you can put them back.</source>
        <translation>%1 reste installée. Ses réglages, caches et autres données (%2) vont dans la Corbeille ; vous pouvez les remettre.</translation>
    </message>
</context>
<context>
    <name>RkContainerView</name>
    <message>
        <source>Grant access</source>
        <translation>Autoriser l’accès</translation>
    </message>
</context>
<context>
    <name>RkLoadAppView</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Please wait, searching...</source>
        <translation>Veuillez patienter, recherche en cours...</translation>
    </message>
</context>
<context>
    <name>SandboxAuthorizeWindowController</name>
    <message>
        <source>Grant %1 access to the following directories</source>
        <translation>Autoriser %1 à accéder aux dossiers suivants</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Bibliothèque</translation>
    </message>
    <message>
        <source>Search for background apps, logs, etc. installed in non-standard directories</source>
        <translation>Rechercher les apps en arrière-plan, journaux, etc. installés dans des dossiers non standard</translation>
    </message>
    <message>
        <source>App Containers</source>
        <translation>Conteneurs d’apps</translation>
    </message>
    <message>
        <source>Search for data stored in the container directory corresponding to the installed App</source>
        <translation>Rechercher les données stockées dans le conteneur de chaque app installée</translation>
    </message>
    <message>
        <source>macOS</source>
        <translation>macOS</translation>
    </message>
    <message>
        <source>Find all existing apps and corresponding data, dependency files, log files, etc.</source>
        <translation>Trouver toutes les apps et leurs données, dépendances, fichiers journaux, etc.</translation>
    </message>
</context>
<context>
    <name>UninstallCompletedViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Terminer</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Remettre</translation>
    </message>
    <message>
        <source>Put Back: return everything to where it was</source>
        <translation>Remettre&#xa0;: tout replacer à son emplacement d’origine</translation>
    </message>
    <message>
        <source>Finish and return to the list</source>
        <translation>Terminer et revenir à la liste</translation>
    </message>
    <message numerus="yes">
        <source>The remains of the following application(s) have been removed.</source>
        <translation>
            <numerusform>Les résidus de l’application suivante ont été supprimés.</numerusform>
            <numerusform>Les résidus des applications suivantes ont été supprimés.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been uninstalled.</source>
        <translation>
            <numerusform>L’application suivante a été désinstallée.</numerusform>
            <numerusform>Les applications suivantes ont été désinstallées.</numerusform>
        </translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>Le mot de passe d’un administrateur n’a pas été fourni, donc les éléments hors de votre dossier de départ ont été conservés.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as an application with the same identifier is installed again.</source>
        <translation>
            <numerusform>%n élément conservé, car une application avec le même identifiant est de nouveau installée.</numerusform>
            <numerusform>%n éléments conservés, car une application avec le même identifiant est de nouveau installée.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as another file now lies in their place.</source>
        <translation>
            <numerusform>%n élément conservé, car un autre fichier occupe désormais son emplacement.</numerusform>
            <numerusform>%n éléments conservés, car d’autres fichiers occupent désormais leur emplacement.</numerusform>
        </translation>
    </message>
    <message>
        <source>Moved %1 to the Trash. Empty the Trash to free the space.</source>
        <translation>%1 de fichiers placés dans la Corbeille. Videz la Corbeille pour libérer l’espace.</translation>
    </message>
    <message>
        <source>The record of this removal could not be written: Put Back works only until Ostrova quits.</source>
        <translation>L’historique de cette suppression n’a pas pu être enregistré&#xa0;: Remettre ne fonctionne que jusqu’à ce que vous quittiez Ostrova.</translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been reset. They stay installed.</source>
        <translation>
            <numerusform>L’application suivante a été réinitialisée. Elle reste installée.</numerusform>
            <numerusform>Les applications suivantes ont été réinitialisées. Elles restent installées.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallResidualViewController</name>
    <message>
        <source>Some apps were not completely uninstalled, residual files left</source>
        <translation>Certaines apps n’ont pas été entièrement désinstallées, des fichiers résiduels subsistent</translation>
    </message>
    <message>
        <source>Please manually delete the residual files.</source>
        <translation>Veuillez supprimer manuellement les fichiers résiduels.</translation>
    </message>
    <message>
        <source>The following App has uninstallation&apos;s leftover files.</source>
        <translation>L’app suivante a laissé des fichiers résiduels.</translation>
    </message>
    <message>
        <source>Some data of the reset applications was left</source>
        <translation>Certaines données des applications réinitialisées sont restées</translation>
    </message>
</context>
<context>
    <name>UninstallingViewController</name>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Annulation...</translation>
    </message>
    <message numerus="yes">
        <source>Removing the remains of %n application(s)…</source>
        <translation>
            <numerusform>Suppression des résidus de %n application…</numerusform>
            <numerusform>Suppression des résidus de %n applications…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstalling %n application(s)…</source>
        <translation>
            <numerusform>Désinstallation de %n application…</numerusform>
            <numerusform>Désinstallation de %n applications…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Resetting %n application(s)…</source>
        <translation>
            <numerusform>Réinitialisation de %n application…</numerusform>
            <numerusform>Réinitialisation de %n applications…</numerusform>
        </translation>
    </message>
</context>
</TS>
