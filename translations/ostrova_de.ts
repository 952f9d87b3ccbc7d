<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AppListModel</name>
    <message>
        <source>Inside “%1”</source>
        <translation>In „%1“</translation>
    </message>
    <message>
        <source>Not sure: the search for installed copies ran out of time</source>
        <translation>Unsicher: Die Suche nach installierten Kopien brauchte zu lange</translation>
    </message>
    <message>
        <source>Application bundle: %1</source>
        <translation>App-Paket: %1</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>Wird gescannt...</translation>
    </message>
    <message>
        <source>Not sure</source>
        <translation>Unsicher</translation>
    </message>
    <message>
        <source>Not opened for more than 90 days</source>
        <translation>Seit über 90 Tagen nicht geöffnet</translation>
    </message>
    <message>
        <source>Dates in orange: not opened for more than 90 days</source>
        <translation>Datum in Orange: seit über 90 Tagen nicht geöffnet</translation>
    </message>
</context>
<context>
    <name>ByteCount</name>
    <message>
        <source>%1 KB</source>
        <translation>%1 KB</translation>
    </message>
    <message>
        <source>%1 MB</source>
        <translation>%1 MB</translation>
    </message>
    <message>
        <source>%1 GB</source>
        <translation>%1 GB</translation>
    </message>
    <message>
        <source>%1 TB</source>
        <translation>%1 TB</translation>
    </message>
    <message>
        <source>%1 PB</source>
        <translation>%1 PB</translation>
    </message>
    <message>
        <source>%1 EB</source>
        <translation>%1 EB</translation>
    </message>
    <message>
        <source>Zero KB</source>
        <translation>Null KB</translation>
    </message>
    <message numerus="yes">
        <source>%n byte(s)</source>
        <translation>
            <numerusform>%n Byte</numerusform>
            <numerusform>%n Bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Category</name>
    <message>
        <source>Program files</source>
        <translation>Programmdateien</translation>
    </message>
    <message>
        <source>Supporting documents</source>
        <translation>Support-Dateien</translation>
    </message>
    <message>
        <source>Cache files</source>
        <translation>Cache-Dateien</translation>
    </message>
    <message>
        <source>Preferences files</source>
        <translation>Einstellungsdateien</translation>
    </message>
    <message>
        <source>Status files</source>
        <translation>Statusdateien</translation>
    </message>
    <message>
        <source>Crash Reporter</source>
        <translation>Absturzberichte</translation>
    </message>
    <message>
        <source>Log files</source>
        <translation>Protokolldateien</translation>
    </message>
    <message>
        <source>Sandbox files</source>
        <translation>Sandbox-Dateien</translation>
    </message>
    <message>
        <source>Daemon</source>
        <translation>Daemon</translation>
    </message>
    <message>
        <source>Login item</source>
        <translation>Anmeldeobjekt</translation>
    </message>
    <message>
        <source>Other files</source>
        <translation>Andere Dateien</translation>
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
        <translation>Ausnahmen</translation>
    </message>
    <message>
        <source>Ostrova never offers these items and never removes or resets these applications.</source>
        <translation>Ostrova bietet diese Objekte nie an und entfernt diese Apps nie und setzt sie nie zurück.</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Objekt</translation>
    </message>
    <message>
        <source>Applies to</source>
        <translation>Gilt für</translation>
    </message>
    <message>
        <source>Excluded items and protected applications</source>
        <translation>Ausgenommene Objekte und geschützte Apps</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Every application</source>
        <translation>Alle Apps</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Protected, always</source>
        <translation>Immer geschützt</translation>
    </message>
    <message>
        <source>Protected application</source>
        <translation>Geschützte App</translation>
    </message>
    <message numerus="yes">
        <source>%n entries of the stored exclusions could not be read and were left out.</source>
        <translation>
            <numerusform>%n Eintrag der gespeicherten Ausnahmen war nicht lesbar und wurde ausgelassen.</numerusform>
            <numerusform>%n Einträge der gespeicherten Ausnahmen waren nicht lesbar und wurden ausgelassen.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>Allow access to this path</source>
        <translation>Zugriff erlauben</translation>
    </message>
</context>
<context>
    <name>MainViewController</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Recently used</source>
        <translation>Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>All applications</source>
        <translation>Alle Apps</translation>
    </message>
    <message>
        <source>Applications</source>
        <translation>Apps</translation>
    </message>
    <message>
        <source>Remains</source>
        <translation>Reste</translation>
    </message>
    <message>
        <source>Remains of removed applications</source>
        <translation>Reste entfernter Apps</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>Deinstallieren</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search applications</source>
        <translation>Apps durchsuchen</translation>
    </message>
    <message>
        <source>Applications and their files</source>
        <translation>Apps und ihre Dateien</translation>
    </message>
    <message>
        <source>Show installed applications</source>
        <translation>Installierte Apps anzeigen</translation>
    </message>
    <message>
        <source>Show remains of removed applications</source>
        <translation>Reste entfernter Apps anzeigen</translation>
    </message>
    <message>
        <source>Uninstall the ticked applications</source>
        <translation>Markierte Apps deinstallieren</translation>
    </message>
    <message>
        <source>Offer to remove what applications dragged to the Trash leave</source>
        <translation>Entfernen der Reste von in den Papierkorb gelegten Apps anbieten</translation>
    </message>
    <message>
        <source>Force quit may result in loss of data being edited</source>
        <translation>Beim sofortigen Beenden können ungesicherte Änderungen verloren gehen</translation>
    </message>
    <message>
        <source>%1 is running, do you want to force quit?</source>
        <translation>%1 wird ausgeführt. Sofort beenden?</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Force quit</source>
        <translation>Sofort beenden</translation>
    </message>
    <message>
        <source>Remains (%1)</source>
        <translation>Reste (%1)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Please select the file to delete</source>
        <translation>Bitte die zu löschenden Dateien auswählen</translation>
    </message>
    <message>
        <source>The application is not installed in the /Applications directory. To ensure full functionality, please move the application to that directory.</source>
        <translation>Die App ist nicht im Ordner /Applications installiert. Damit alle Funktionen verfügbar sind, bitte die App in diesen Ordner bewegen.</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) selected</source>
        <translation>
            <numerusform>%n App ausgewählt</numerusform>
            <numerusform>%n Apps ausgewählt</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Remains, not included</source>
        <translation>
            <numerusform>%n unter „Reste“ markiert, nicht enthalten</numerusform>
            <numerusform>%n unter „Reste“ markiert, nicht enthalten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n ticked under Applications, not included</source>
        <translation>
            <numerusform>%n unter „Apps“ markiert, nicht enthalten</numerusform>
            <numerusform>%n unter „Apps“ markiert, nicht enthalten</numerusform>
        </translation>
    </message>
    <message>
        <source>Unprotect</source>
        <translation>Schutz aufheben</translation>
    </message>
    <message>
        <source>Protect</source>
        <translation>Schützen</translation>
    </message>
    <message>
        <source>Never offer this…</source>
        <translation>Nie mehr anbieten…</translation>
    </message>
    <message>
        <source>Never offer “%1”?</source>
        <translation>„%1“ nie mehr anbieten?</translation>
    </message>
    <message>
        <source>The folder and everything inside it are kept. Keep it for this application only, or for every application?</source>
        <translation>Der Ordner und alles darin bleiben erhalten. Nur für diese App oder für alle Apps behalten?</translation>
    </message>
    <message>
        <source>The file is kept. Keep it for this application only, or for every application?</source>
        <translation>Die Datei bleibt erhalten. Nur für diese App oder für alle Apps behalten?</translation>
    </message>
    <message>
        <source>Only for “%1”</source>
        <translation>Nur für „%1“</translation>
    </message>
    <message>
        <source>For Every Application</source>
        <translation>Für alle Apps</translation>
    </message>
    <message>
        <source>Exclusions…</source>
        <translation>Ausnahmen…</translation>
    </message>
    <message>
        <source>What is never offered, and the protected applications</source>
        <translation>Was nie angeboten wird, und die geschützten Apps</translation>
    </message>
    <message>
        <source>Show the exclusions and protected applications</source>
        <translation>Ausnahmen und geschützte Apps anzeigen</translation>
    </message>
    <message>
        <source>Reset…</source>
        <translation>Zurücksetzen…</translation>
    </message>
</context>
<context>
    <name>NotificationView</name>
    <message>
        <source>App cleanup reminder</source>
        <translation>Erinnerung: Apps aufräumen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Scannen</translation>
    </message>
    <message>
        <source>Scan your applications</source>
        <translation>Apps scannen</translation>
    </message>
    <message numerus="yes">
        <source>%n application(s) not opened for more than 90 days. Scan and uninstall to free up space.</source>
        <translation>
            <numerusform>%n App seit über 90 Tagen nicht geöffnet. Scannen und deinstallieren, um Platz freizugeben.</numerusform>
            <numerusform>%n Apps seit über 90 Tagen nicht geöffnet. Scannen und deinstallieren, um Platz freizugeben.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PutBackReportText</name>
    <message>
        <source>Nothing was put back.</source>
        <translation>Es wurde nichts zurückgelegt.</translation>
    </message>
    <message>
        <source>The items were put back, but some launch jobs could not be loaded again.</source>
        <translation>Die Objekte wurden zurückgelegt, aber einige Hintergrunddienste konnten nicht erneut geladen werden.</translation>
    </message>
    <message>
        <source>Some items could not be put back.</source>
        <translation>Einige Objekte konnten nicht zurückgelegt werden.</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>%n Objekt zurückgelegt (%1).</numerusform>
            <numerusform>%n Objekte zurückgelegt (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>its place is taken</source>
        <translation>sein Platz ist belegt</translation>
    </message>
    <message>
        <source>emptied from the Trash</source>
        <translation>aus dem Papierkorb gelöscht</translation>
    </message>
    <message>
        <source>it could not be moved back</source>
        <translation>konnte nicht zurückbewegt werden</translation>
    </message>
    <message>
        <source>deleted, not in the Trash</source>
        <translation>gelöscht, nicht im Papierkorb</translation>
    </message>
    <message>
        <source>already put back</source>
        <translation>bereits zurückgelegt</translation>
    </message>
    <message>
        <source>put back, but its launch job could not be loaded again</source>
        <translation>zurückgelegt, aber sein Hintergrunddienst konnte nicht erneut geladen werden</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>Ohne Administratorpasswort blieb, was außerhalb des Benutzerordners zurückgehört, im Papierkorb.</translation>
    </message>
</context>
<context>
    <name>RemainsPanelView</name>
    <message>
        <source>%1 left %2 behind</source>
        <translation>%1 hat %2 hinterlassen</translation>
    </message>
    <message>
        <source>%1 was moved to the Trash, but its settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 wurde in den Papierkorb gelegt, aber Einstellungen, Caches und andere Dateien sind noch auf diesem Mac. Auch diese entfernen?</translation>
    </message>
    <message>
        <source>%1 were moved to the Trash, but their settings, caches and other files are still on this Mac. Remove them too?</source>
        <translation>%1 wurden in den Papierkorb gelegt, aber ihre Einstellungen, Caches und andere Dateien sind noch auf diesem Mac. Auch diese entfernen?</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>Not now</source>
        <translation>Nicht jetzt</translation>
    </message>
    <message>
        <source>&amp;Review</source>
        <translation>&amp;Überprüfen</translation>
    </message>
    <message>
        <source>Remove remains</source>
        <translation>Reste entfernen</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Removing the remains...</source>
        <translation>Reste werden entfernt...</translation>
    </message>
    <message>
        <source>Removed what %1 left</source>
        <translation>Reste von %1 entfernt</translation>
    </message>
    <message>
        <source>Nothing removed of what %1 left</source>
        <translation>Keine Reste von %1 entfernt</translation>
    </message>
    <message>
        <source>Could not remove what %1 left</source>
        <translation>Reste von %1 nicht entfernt</translation>
    </message>
    <message>
        <source>Removed part of what %1 left</source>
        <translation>Reste von %1 teilweise entfernt</translation>
    </message>
    <message numerus="yes">
        <source>Moved %n item(s) (%1) to the Trash; emptying the Trash frees the space.</source>
        <translation>
            <numerusform>%n Objekt (%1) in den Papierkorb gelegt; Entleeren des Papierkorbs gibt den Platz frei.</numerusform>
            <numerusform>%n Objekte (%1) in den Papierkorb gelegt; Entleeren des Papierkorbs gibt den Platz frei.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Removed %n item(s) (%1).</source>
        <translation>
            <numerusform>%n Objekt entfernt (%1).</numerusform>
            <numerusform>%n Objekte entfernt (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>The record of this removal could not be written, so it cannot be put back.</source>
        <translation>Das Protokoll dieses Entfernens konnte nicht gesichert werden, daher ist kein Zurücklegen möglich.</translation>
    </message>
    <message>
        <source>Left, as an application with the same identifier is installed again: %1.</source>
        <translation>Belassen, da wieder eine App mit derselben Kennung installiert ist: %1.</translation>
    </message>
    <message>
        <source>Left, as another file now lies in their place: %1.</source>
        <translation>Belassen, da nun eine andere Datei an ihrer Stelle liegt: %1.</translation>
    </message>
    <message>
        <source>Left, as they could not be removed: %1.</source>
        <translation>Belassen, da sie nicht entfernt werden konnten: %1.</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>Ohne Administratorpasswort blieb alles außerhalb des Benutzerordners erhalten.</translation>
    </message>
    <message numerus="yes">
        <source>%n applications left %1 behind</source>
        <translation>
            <numerusform>%n App hat %1 hinterlassen</numerusform>
            <numerusform>%n Apps haben %1 hinterlassen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 and %n more</source>
        <translation>
            <numerusform>%1 und %n weitere</numerusform>
            <numerusform>%1 und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Zurücklegen</translation>
    </message>
    <message numerus="yes">
        <source>%n more</source>
        <translation>
            <numerusform>%n weiteres</numerusform>
            <numerusform>%n weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n application(s)</source>
        <translation>
            <numerusform>%n App</numerusform>
            <numerusform>%n Apps</numerusform>
        </translation>
    </message>
    <message>
        <source>Putting back…</source>
        <translation>Wird zurückgelegt…</translation>
    </message>
    <message>
        <source>Put back what %1 left</source>
        <translation>Reste von %1 zurückgelegt</translation>
    </message>
    <message>
        <source>Nothing put back of what %1 left</source>
        <translation>Keine Reste von %1 zurückgelegt</translation>
    </message>
    <message>
        <source>Put back part of what %1 left</source>
        <translation>Reste von %1 teilweise zurückgelegt</translation>
    </message>
    <message numerus="yes">
        <source>Put back %n item(s) (%1).</source>
        <translation>
            <numerusform>%n Objekt zurückgelegt (%1).</numerusform>
            <numerusform>%n Objekte zurückgelegt (%1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) stayed away: their place is taken, they were emptied from the Trash or could not be moved.</source>
        <translation>
            <numerusform>%n Objekt nicht zurückgelegt: Platz belegt, aus dem Papierkorb gelöscht oder nicht bewegbar.</numerusform>
            <numerusform>%n Objekte nicht zurückgelegt: Platz belegt, aus dem Papierkorb gelöscht oder nicht bewegbar.</numerusform>
        </translation>
    </message>
    <message>
        <source>Some launch jobs could not be loaded again.</source>
        <translation>Einige Hintergrunddienste konnten nicht erneut geladen werden.</translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what goes back outside your home folder stayed in the Trash.</source>
        <translation>Ohne Administratorpasswort blieb, was außerhalb des Benutzerordners zurückgehört, im Papierkorb.</translation>
    </message>
</context>
<context>
    <name>RequestUninstallWinodowController</name>
    <message>
        <source>Ticked items: %1</source>
        <translation>Markierte Objekte: %1</translation>
    </message>
    <message>
        <source>These need an administrator&apos;s password:</source>
        <translation>Diese erfordern ein Administratorpasswort:</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>und %n weiteres</numerusform>
            <numerusform>und %n weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Scroll to see all %n.</source>
        <translation>
            <numerusform>Scrollen, um alle %n zu sehen.</numerusform>
            <numerusform>Scrollen, um alle %n zu sehen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete immediately instead of moving to the Trash</source>
        <translation>Sofort löschen statt in den Papierkorb legen</translation>
    </message>
    <message>
        <source>Delete what cannot be moved to the Trash</source>
        <translation>Löschen, was nicht in den Papierkorb gelegt werden kann</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Continue uninstall</source>
        <translation>Deinstallation fortsetzen</translation>
    </message>
    <message>
        <source>Remove the remains of “%1”?</source>
        <translation>Reste von „%1“ entfernen?</translation>
    </message>
    <message>
        <source>Uninstall “%1”?</source>
        <translation>„%1“ deinstallieren?</translation>
    </message>
    <message numerus="yes">
        <source>Remove the remains of %n application(s)?</source>
        <translation>
            <numerusform>Reste von %n App entfernen?</numerusform>
            <numerusform>Reste von %n Apps entfernen?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n application(s)?</source>
        <translation>
            <numerusform>%n App deinstallieren?</numerusform>
            <numerusform>%n Apps deinstallieren?</numerusform>
        </translation>
    </message>
    <message>
        <source>Reset “%1”?</source>
        <translation>„%1“ zurücksetzen?</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) are deleted.</source>
        <translation>%1 bleibt installiert. Einstellungen, Caches und andere Daten (%2) werden gelöscht.</translation>
    </message>
    <message>
        <source>%1 stays installed. Its settings, caches and other data (%2) go to the Trash; you can put them back.</source>
        <translation>%1 bleibt installiert. Einstellungen, Caches und andere Daten (%2) kommen in den Papierkorb und lassen sich zurücklegen.</translation>
    </message>
</context>
<context>
    <name>RkContainerView</name>
    <message>
        <source>Grant access</source>
        <translation>Zugriff erlauben</translation>
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
        <translation>Bitte warten, Suche läuft...</translation>
    </message>
</context>
<context>
    <name>SandboxAuthorizeWindowController</name>
    <message>
        <source>Grant %1 access to the following directories</source>
        <translation>%1 Zugriff auf folgende Ordner erlauben</translation>
    </message>
    <message>
        <source>Ostrova</source>
        <translation>Ostrova</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>Search for background apps, logs, etc. installed in non-standard directories</source>
        <translation>Sucht Hintergrund-Apps, Protokolle usw. in unüblichen Ordnern</translation>
    </message>
    <message>
        <source>App Containers</source>
        <translation>App-Container</translation>
    </message>
    <message>
        <source>Search for data stored in the container directory corresponding to the installed App</source>
        <translation>Sucht Daten installierter Apps in deren Container-Ordnern</translation>
    </message>
    <message>
        <source>macOS</source>
        <translation>macOS</translation>
    </message>
    <message>
        <source>Find all existing apps and corresponding data, dependency files, log files, etc.</source>
        <translation>Findet alle vorhandenen Apps samt Daten, abhängigen Dateien, Protokollen usw.</translation>
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
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Put Back</source>
        <translation>Zurücklegen</translation>
    </message>
    <message>
        <source>Put Back: return everything to where it was</source>
        <translation>Zurücklegen: alles an den ursprünglichen Ort zurückbringen</translation>
    </message>
    <message>
        <source>Finish and return to the list</source>
        <translation>Fertig, zurück zur Liste</translation>
    </message>
    <message numerus="yes">
        <source>The remains of the following application(s) have been removed.</source>
        <translation>
            <numerusform>Die Reste der folgenden App wurden entfernt.</numerusform>
            <numerusform>Die Reste der folgenden Apps wurden entfernt.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been uninstalled.</source>
        <translation>
            <numerusform>Die folgende App wurde deinstalliert.</numerusform>
            <numerusform>Die folgenden Apps wurden deinstalliert.</numerusform>
        </translation>
    </message>
    <message>
        <source>An administrator&apos;s password was not given, so what lies outside your home folder was left.</source>
        <translation>Ohne Administratorpasswort blieb alles außerhalb des Benutzerordners erhalten.</translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as an application with the same identifier is installed again.</source>
        <translation>
            <numerusform>%n Objekt belassen, da wieder eine App mit derselben Kennung installiert ist.</numerusform>
            <numerusform>%n Objekte belassen, da wieder eine App mit derselben Kennung installiert ist.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n item(s) left, as another file now lies in their place.</source>
        <translation>
            <numerusform>%n Objekt belassen, da nun eine andere Datei an seiner Stelle liegt.</numerusform>
            <numerusform>%n Objekte belassen, da nun andere Dateien an ihrer Stelle liegen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Moved %1 to the Trash. Empty the Trash to free the space.</source>
        <translation>%1 in den Papierkorb gelegt. Papierkorb entleeren, um den Platz freizugeben.</translation>
    </message>
    <message>
        <source>The record of this removal could not be written: Put Back works only until Ostrova quits.</source>
        <translation>Das Protokoll dieses Entfernens konnte nicht gesichert werden: Zurücklegen geht nur, bis Ostrova beendet wird.</translation>
    </message>
    <message numerus="yes">
        <source>The following application(s) have been reset. They stay installed.</source>
        <translation>
            <numerusform>Die folgende App wurde zurückgesetzt. Sie bleibt installiert.</numerusform>
            <numerusform>Die folgenden Apps wurden zurückgesetzt. Sie bleiben installiert.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UninstallResidualViewController</name>
    <message>
        <source>Some apps were not completely uninstalled, residual files left</source>
        <translation>Einige Apps wurden nicht vollständig deinstalliert, Restdateien sind verblieben</translation>
    </message>
    <message>
        <source>Please manually delete the residual files.</source>
        <translation>Bitte die Restdateien manuell löschen.</translation>
    </message>
    <message>
        <source>The following App has uninstallation&apos;s leftover files.</source>
        <translation>Von der folgenden App sind Restdateien übrig.</translation>
    </message>
    <message>
        <source>Some data of the reset applications was left</source>
        <translation>Einige Daten der zurückgesetzten Apps sind verblieben</translation>
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
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message numerus="yes">
        <source>Removing the remains of %n application(s)…</source>
        <translation>
            <numerusform>Reste von %n App werden entfernt…</numerusform>
            <numerusform>Reste von %n Apps werden entfernt…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Uninstalling %n application(s)…</source>
        <translation>
            <numerusform>%n App wird deinstalliert…</numerusform>
            <numerusform>%n Apps werden deinstalliert…</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Resetting %n application(s)…</source>
        <translation>
            <numerusform>%n App wird zurückgesetzt…</numerusform>
            <numerusform>%n Apps werden zurückgesetzt…</numerusform>
        </translation>
    </message>
</context>
</TS>
