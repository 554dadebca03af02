<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Tessarin</source>
        <translation>Über Tessarin</translation>
    </message>
    <message>
        <source>Tessarin</source>
        <translation>Tessarin</translation>
    </message>
    <message>
        <source>Version 1.0</source>
        <translation>Version 1.0</translation>
    </message>
</context>
<context>
    <name>ApplicationShell</name>
    <message numerus="yes">
        <source>Tessarin · %n open issue(s)</source>
        <translation>
            <numerusform>Tessarin · %n offener Vorgang</numerusform>
            <numerusform>Tessarin · %n offene Vorgänge</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AttachmentDialogs</name>
    <message>
        <source>Attach Files</source>
        <translation>Dateien anhängen</translation>
    </message>
    <message>
        <source>Attach</source>
        <translation>Anhängen</translation>
    </message>
    <message>
        <source>Save Attachment</source>
        <translation>Anhang speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Delete this attachment?</source>
        <translation>Diesen Anhang löschen?</translation>
    </message>
    <message>
        <source>“%1” is removed from the issue in Jira for everyone.</source>
        <translation>„%1“ wird in Jira für alle aus dem Vorgang entfernt.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
</context>
<context>
    <name>AttachmentUploads</name>
    <message>
        <source>Jira does not take attachments: they are turned off on this server.</source>
        <translation>Jira nimmt keine Anhänge an: Auf diesem Server sind sie abgeschaltet.</translation>
    </message>
    <message>
        <source>“%1” can no longer be read.</source>
        <translation>„%1“ kann nicht mehr gelesen werden.</translation>
    </message>
    <message>
        <source>“%1” is %2; Jira takes files of up to %3.</source>
        <translation>„%1“ ist %2 groß; Jira nimmt Dateien bis %3 an.</translation>
    </message>
</context>
<context>
    <name>AttachmentsSection</name>
    <message numerus="yes">
        <source>Attachments (%n)</source>
        <translation>
            <numerusform>Anhänge (%n)</numerusform>
            <numerusform>Anhänge (%n)</numerusform>
        </translation>
    </message>
    <message>
        <source>Attachments</source>
        <translation>Anhänge</translation>
    </message>
    <message>
        <source>Attach Files…</source>
        <translation>Dateien anhängen…</translation>
    </message>
    <message>
        <source>No attachments. Drop files here or paste an image to attach it.</source>
        <translation>Keine Anhänge. Legen Sie Dateien hier ab oder fügen Sie ein Bild ein, um es anzuhängen.</translation>
    </message>
    <message>
        <source>%1 · %2 · %3 · %4</source>
        <comment>size, type, who attached it, when</comment>
        <translation>%1 · %2 · %3 · %4</translation>
    </message>
    <message>
        <source>%1 · %2 · %3</source>
        <comment>size, type, when</comment>
        <translation>%1 · %2 · %3</translation>
    </message>
    <message>
        <source>Downloading… %1 %</source>
        <translation>Wird heruntergeladen… %1 %</translation>
    </message>
    <message>
        <source>Downloading…</source>
        <translation>Wird heruntergeladen…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Cancel download of %1</source>
        <translation>Herunterladen von %1 abbrechen</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Speichern unter…</translation>
    </message>
    <message>
        <source>Save %1 as…</source>
        <translation>%1 speichern unter…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>%1 was not attached: %2</source>
        <translation>%1 wurde nicht angehängt: %2</translation>
    </message>
    <message>
        <source>Attaching %1, %2 percent</source>
        <translation>%1 wird angehängt, %2 Prozent</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Attach %1 again</source>
        <translation>%1 erneut anhängen</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Dismiss %1</source>
        <translation>%1 verwerfen</translation>
    </message>
    <message>
        <source>Cancel attaching %1</source>
        <translation>Anhängen von %1 abbrechen</translation>
    </message>
</context>
<context>
    <name>ChangeNotifier</name>
    <message numerus="yes">
        <source>%n of your issues changed</source>
        <translation>
            <numerusform>%n Ihrer Vorgänge hat sich geändert</numerusform>
            <numerusform>%n Ihrer Vorgänge haben sich geändert</numerusform>
        </translation>
    </message>
    <message>
        <source>Open Tessarin to see what is new.</source>
        <translation>Öffnen Sie Tessarin, um die Neuigkeiten zu sehen.</translation>
    </message>
    <message>
        <source>%1 is assigned to you</source>
        <translation>%1 ist Ihnen zugewiesen</translation>
    </message>
    <message>
        <source>%1 is new in %2</source>
        <comment>an issue and a source such as “Watching”</comment>
        <translation>%1 ist neu in %2</translation>
    </message>
    <message>
        <source>%1 is now %2</source>
        <comment>an issue and its new status</comment>
        <translation>%1 ist jetzt %2</translation>
    </message>
    <message>
        <source>%1 commented on %2</source>
        <translation>%1 hat %2 kommentiert</translation>
    </message>
</context>
<context>
    <name>CommentEditorView</name>
    <message>
        <source>Comment</source>
        <comment>the button that posts a comment</comment>
        <translation>Kommentieren</translation>
    </message>
    <message>
        <source>New comment</source>
        <translation>Neuer Kommentar</translation>
    </message>
    <message>
        <source>Jira wiki markup; @ mentions someone; Ctrl+Enter posts</source>
        <translation>Jira-Wiki-Markup; @ erwähnt jemanden; Strg+Eingabetaste sendet</translation>
    </message>
    <message>
        <source>People to mention</source>
        <translation>Zu erwähnende Personen</translation>
    </message>
    <message>
        <source>Draft</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
</context>
<context>
    <name>ConnectionPage</name>
    <message>
        <source>Server URL</source>
        <translation>Server-URL</translation>
    </message>
    <message>
        <source>Your Jira Server / Data Center base URL.</source>
        <translation>Die Basis-URL Ihres Jira Server / Data Center.</translation>
    </message>
    <message>
        <source>https://jira.example-corp.com</source>
        <translation>https://jira.example-corp.com</translation>
    </message>
    <message>
        <source>Personal Access Token</source>
        <translation>Persönliches Zugriffstoken</translation>
    </message>
    <message>
        <source>Jira profile ▸ Personal Access Tokens.</source>
        <translation>Jira-Profil ▸ Persönliche Zugriffstoken.</translation>
    </message>
    <message>
        <source>Create a Token in Jira…</source>
        <translation>Token in Jira erstellen…</translation>
    </message>
    <message>
        <source>Opens this server&apos;s page for personal access tokens in the browser.</source>
        <translation>Öffnet die Seite dieses Servers für persönliche Zugriffstoken im Browser.</translation>
    </message>
    <message>
        <source>Trust this server&apos;s certificate</source>
        <translation>Dem Zertifikat dieses Servers vertrauen</translation>
    </message>
    <message>
        <source>Trusted, and no other: SHA-256 %1</source>
        <translation>Vertrauenswürdig, und kein anderes: SHA-256 %1</translation>
    </message>
    <message>
        <source>For a certificate your company made itself: the one the next test sees is trusted, and no other.</source>
        <translation>Für ein Zertifikat, das Ihr Unternehmen selbst ausgestellt hat: Das Zertifikat, das der nächste Test sieht, gilt als vertrauenswürdig, und kein anderes.</translation>
    </message>
    <message>
        <source>Forget</source>
        <translation>Vergessen</translation>
    </message>
    <message>
        <source>Forget the trusted certificate</source>
        <translation>Das vertrauenswürdige Zertifikat vergessen</translation>
    </message>
    <message>
        <source>Refresh interval</source>
        <translation>Aktualisierungsintervall</translation>
    </message>
    <message>
        <source>How often to check for updates.</source>
        <translation>Wie oft nach Änderungen gesucht wird.</translation>
    </message>
    <message>
        <source>Test Connection</source>
        <translation>Verbindung testen</translation>
    </message>
    <message>
        <source>Check Certificate…</source>
        <translation>Zertifikat prüfen…</translation>
    </message>
    <message>
        <source>Check the server&apos;s certificate</source>
        <translation>Zertifikat des Servers prüfen</translation>
    </message>
    <message>
        <source>The next certificate this server shows is not trusted until you trust it.</source>
        <translation>Das nächste Zertifikat dieses Servers wird erst vertraut, wenn Sie ihm vertrauen.</translation>
    </message>
    <message>
        <source>Asks the server who the token belongs to.</source>
        <translation>Fragt den Server, wem das Token gehört.</translation>
    </message>
    <message>
        <source>Shows the certificate the server sent, to trust it or not.</source>
        <translation>Zeigt das Zertifikat, das der Server gesendet hat, damit Sie entscheiden, ob Sie ihm vertrauen.</translation>
    </message>
</context>
<context>
    <name>ContentController</name>
    <message>
        <source>Updated %1</source>
        <comment>%1 is a time such as “5 min. ago”</comment>
        <translation>Aktualisiert %1</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n shown</source>
        <comment>issues in the list</comment>
        <translation>
            <numerusform>%1 von %n angezeigt</numerusform>
            <numerusform>%1 von %n angezeigt</numerusform>
        </translation>
    </message>
    <message>
        <source>Refresh failed</source>
        <translation>Aktualisierung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Jira asked to wait until %1</source>
        <translation>Jira bat, bis %1 zu warten</translation>
    </message>
    <message>
        <source>Jira is unavailable, perhaps for maintenance. Tessarin asks again at %1, not before.</source>
        <translation>Jira ist nicht verfügbar, vielleicht wegen Wartungsarbeiten. Tessarin fragt erst um %1 wieder an.</translation>
    </message>
    <message>
        <source>Jira is limiting requests. Tessarin asks again at %1, not before.</source>
        <translation>Jira begrenzt Anfragen. Tessarin fragt erst um %1 wieder an.</translation>
    </message>
    <message>
        <source>Type an issue key such as PLAT-417, or words to find the issue by.</source>
        <translation>Geben Sie einen Vorgangsschlüssel wie PLAT-417 ein oder Wörter, mit denen sich der Vorgang finden lässt.</translation>
    </message>
    <message>
        <source>Still looking for issues that match; choose one when they appear.</source>
        <translation>Passende Vorgänge werden noch gesucht; wählen Sie einen aus, sobald sie erscheinen.</translation>
    </message>
    <message>
        <source>Assigned to Me</source>
        <translation>Mir zugewiesen</translation>
    </message>
    <message>
        <source>Watching</source>
        <translation>Beobachtet</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Zuletzt angesehen</translation>
    </message>
    <message>
        <source>My Tickets</source>
        <translation>Meine Vorgänge</translation>
    </message>
    <message>
        <source>A query needs a name and a JQL text.</source>
        <translation>Eine Abfrage braucht einen Namen und einen JQL-Text.</translation>
    </message>
    <message>
        <source>There is a query named “%1” already.</source>
        <translation>Es gibt bereits eine Abfrage namens „%1“.</translation>
    </message>
    <message>
        <source>No issues match “%1”</source>
        <comment>%1 is what was typed into the search field</comment>
        <translation>Keine Vorgänge passen zu „%1“</translation>
    </message>
    <message>
        <source>No issues to do</source>
        <translation>Keine Vorgänge zu erledigen</translation>
    </message>
    <message>
        <source>No issues in progress</source>
        <translation>Keine Vorgänge in Arbeit</translation>
    </message>
    <message>
        <source>No issues done</source>
        <translation>Keine fertigen Vorgänge</translation>
    </message>
    <message>
        <source>No issues in “%1”</source>
        <comment>%1 is a saved query or a list such as Watching</comment>
        <translation>Keine Vorgänge in „%1“</translation>
    </message>
    <message>
        <source>No tickets assigned to you</source>
        <translation>Ihnen sind keine Vorgänge zugewiesen</translation>
    </message>
</context>
<context>
    <name>ContentView</name>
    <message>
        <source>Back to %1</source>
        <translation>Zurück zu %1</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward to %1</source>
        <translation>Vorwärts zu %1</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Go to Issue… (Ctrl+K)</source>
        <translation>Zu Vorgang wechseln… (Strg+K)</translation>
    </message>
    <message>
        <source>Go to Issue</source>
        <translation>Zu Vorgang wechseln</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>To Do</source>
        <translation>Zu erledigen</translation>
    </message>
    <message>
        <source>In Progress</source>
        <translation>In Arbeit</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Sources</source>
        <translation>Quellen</translation>
    </message>
    <message>
        <source>%1, notifies about changes</source>
        <translation>%1, benachrichtigt bei Änderungen</translation>
    </message>
    <message>
        <source>Add Query…</source>
        <translation>Abfrage hinzufügen…</translation>
    </message>
    <message>
        <source>Add a query</source>
        <translation>Eine Abfrage hinzufügen</translation>
    </message>
    <message>
        <source>Notify About Changes</source>
        <translation>Bei Änderungen benachrichtigen</translation>
    </message>
    <message>
        <source>Remove Query</source>
        <translation>Abfrage entfernen</translation>
    </message>
    <message>
        <source>Search key or summary</source>
        <translation>Schlüssel oder Zusammenfassung suchen</translation>
    </message>
    <message>
        <source>Connect to Jira</source>
        <translation>Mit Jira verbinden</translation>
    </message>
    <message>
        <source>Add your Jira server URL and Personal Access Token in Settings (Ctrl+,).</source>
        <translation>Geben Sie die URL Ihres Jira-Servers und Ihr persönliches Zugriffstoken in den Einstellungen ein (Strg+,).</translation>
    </message>
    <message>
        <source>Loading tickets…</source>
        <translation>Vorgänge werden geladen…</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Tickets</source>
        <translation>Vorgänge</translation>
    </message>
    <message>
        <source>Open the Whole Search in Jira</source>
        <translation>Gesamte Suche in Jira öffnen</translation>
    </message>
    <message>
        <source>Select a ticket</source>
        <translation>Wählen Sie einen Vorgang aus</translation>
    </message>
    <message>
        <source>Connect to Jira…</source>
        <translation>Mit Jira verbinden…</translation>
    </message>
    <message>
        <source>Go to Issue…</source>
        <translation>Zu Vorgang wechseln…</translation>
    </message>
</context>
<context>
    <name>CreateIssueForm</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>New Issue</source>
        <translation>Neuer Vorgang</translation>
    </message>
    <message>
        <source>New Sub-task of %1</source>
        <translation>Neue Unteraufgabe von %1</translation>
    </message>
    <message>
        <source>Jira lists no project that you can see.</source>
        <translation>Jira führt kein Projekt auf, das Sie sehen können.</translation>
    </message>
    <message>
        <source>This project has no sub-task types that you may create.</source>
        <translation>In diesem Projekt gibt es keine Unteraufgabentypen, die Sie erstellen dürfen.</translation>
    </message>
    <message>
        <source>This project has no issue types that you may create.</source>
        <translation>In diesem Projekt gibt es keine Vorgangstypen, die Sie erstellen dürfen.</translation>
    </message>
    <message>
        <source>Look at these fields: %1.</source>
        <translation>Prüfen Sie diese Felder: %1.</translation>
    </message>
</context>
<context>
    <name>CreateIssueWindow</name>
    <message>
        <source>Project</source>
        <translation>Projekt</translation>
    </message>
    <message>
        <source>Issue type</source>
        <translation>Vorgangstyp</translation>
    </message>
    <message>
        <source>%1 was created.</source>
        <translation>%1 wurde erstellt.</translation>
    </message>
    <message>
        <source>Open in Jira</source>
        <translation>In Jira öffnen</translation>
    </message>
    <message>
        <source>Open %1 in Jira</source>
        <translation>%1 in Jira öffnen</translation>
    </message>
    <message>
        <source>Discard Draft</source>
        <translation>Entwurf verwerfen</translation>
    </message>
    <message>
        <source>Finish in Jira…</source>
        <translation>In Jira abschließen…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
</context>
<context>
    <name>DataPage</name>
    <message>
        <source>The last lists received and the attachments opened are kept in %1, readable by you alone.</source>
        <translation>Die zuletzt empfangenen Listen und die geöffneten Anhänge liegen in %1, nur für Sie lesbar.</translation>
    </message>
    <message>
        <source>Clear Cached Data</source>
        <translation>Cache leeren</translation>
    </message>
    <message numerus="yes">
        <source>%n draft(s) of comments, work logs and forms wait in %1 until Jira has them.</source>
        <translation>
            <numerusform>%n Entwurf von Kommentaren, Arbeitsprotokollen und Formularen wartet in %1, bis Jira ihn hat.</numerusform>
            <numerusform>%n Entwürfe von Kommentaren, Arbeitsprotokollen und Formularen warten in %1, bis Jira sie hat.</numerusform>
        </translation>
    </message>
    <message>
        <source>Drafts of comments, work logs and forms are kept in %1 until Jira has them.</source>
        <translation>Entwürfe von Kommentaren, Arbeitsprotokollen und Formularen bleiben in %1, bis Jira sie hat.</translation>
    </message>
</context>
<context>
    <name>DesktopNotifications</name>
    <message>
        <source>Open</source>
        <comment>the button on a notification</comment>
        <translation>Öffnen</translation>
    </message>
</context>
<context>
    <name>EditIssueForm</name>
    <message>
        <source>%1 is now “%2”; yours is “%3”.</source>
        <extracomment>A field both users changed: its name, the other&apos;s value, the user&apos;s own.</extracomment>
        <translation>%1 ist jetzt „%2“; Ihr Wert ist „%3“.</translation>
    </message>
    <message>
        <source>%1 is required.</source>
        <translation>%1 ist erforderlich.</translation>
    </message>
</context>
<context>
    <name>EditIssueView</name>
    <message>
        <source>Edit %1</source>
        <translation>%1 bearbeiten</translation>
    </message>
    <message>
        <source>Someone changed this issue after you began editing.</source>
        <translation>Jemand hat diesen Vorgang geändert, nachdem Sie mit dem Bearbeiten begonnen haben.</translation>
    </message>
    <message>
        <source>Keep Mine</source>
        <translation>Meine behalten</translation>
    </message>
    <message>
        <source>Take Theirs</source>
        <translation>Deren übernehmen</translation>
    </message>
    <message>
        <source>Discard Changes</source>
        <translation>Änderungen verwerfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
</context>
<context>
    <name>FieldEditor</name>
    <message>
        <source>Words separated by spaces</source>
        <translation>Durch Leerzeichen getrennte Wörter</translation>
    </message>
    <message>
        <source>A number</source>
        <translation>Eine Zahl</translation>
    </message>
    <message>
        <source>Jira wiki markup; Ctrl+Enter sends</source>
        <translation>Jira-Wiki-Markup; Strg+Eingabetaste sendet</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen…</translation>
    </message>
    <message>
        <source>Type a name</source>
        <translation>Namen eingeben</translation>
    </message>
    <message>
        <source>YYYY-MM-DD HH:MM</source>
        <comment>the form a date and time is typed in</comment>
        <translation>JJJJ-MM-TT HH:MM</translation>
    </message>
    <message>
        <source>YYYY-MM-DD</source>
        <comment>the form a date is typed in</comment>
        <translation>JJJJ-MM-TT</translation>
    </message>
    <message>
        <source>Choose a date</source>
        <translation>Datum auswählen</translation>
    </message>
    <message>
        <source>Choose a date for %1</source>
        <translation>Datum für %1 auswählen</translation>
    </message>
    <message>
        <source>‹</source>
        <translation>‹</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Vorheriger Monat</translation>
    </message>
    <message>
        <source>›</source>
        <translation>›</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nächster Monat</translation>
    </message>
    <message>
        <source>Set this field in Jira</source>
        <translation>Dieses Feld in Jira festlegen</translation>
    </message>
    <message>
        <source>Open in Jira</source>
        <translation>In Jira öffnen</translation>
    </message>
    <message>
        <source>Open in Jira to set %1</source>
        <translation>In Jira öffnen, um %1 festzulegen</translation>
    </message>
</context>
<context>
    <name>FormField</name>
    <message>
        <source>Enter a number.</source>
        <translation>Geben Sie eine Zahl ein.</translation>
    </message>
    <message>
        <source>Enter a date as YYYY-MM-DD.</source>
        <translation>Geben Sie ein Datum als JJJJ-MM-TT ein.</translation>
    </message>
    <message>
        <source>Enter a date and time as YYYY-MM-DD HH:MM.</source>
        <translation>Geben Sie Datum und Uhrzeit als JJJJ-MM-TT HH:MM ein.</translation>
    </message>
    <message>
        <source>%1 is required.</source>
        <translation>%1 ist erforderlich.</translation>
    </message>
</context>
<context>
    <name>GoToIssueDialog</name>
    <message>
        <source>Go to Issue</source>
        <translation>Zu Vorgang wechseln</translation>
    </message>
    <message>
        <source>Issue key, link or words</source>
        <translation>Vorgangsschlüssel, Link oder Wörter</translation>
    </message>
    <message>
        <source>Issue to open</source>
        <translation>Zu öffnender Vorgang</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ImageViewer</name>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 von %3)</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Vorheriges</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächstes</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The picture could not be loaded.</source>
        <translation>Das Bild konnte nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>IssueAttachments</name>
    <message>
        <source>Attachments could not be loaded: %1</source>
        <translation>Anhänge konnten nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>“%1” could not be downloaded: the folder %2 cannot be made.</source>
        <translation>„%1“ konnte nicht heruntergeladen werden: Der Ordner %2 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>“%1” could not be saved: the folder %2 cannot be made.</source>
        <translation>„%1“ konnte nicht gespeichert werden: Der Ordner %2 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>“%1” could not be saved to %2: %3</source>
        <translation>„%1“ konnte nicht unter %2 gespeichert werden: %3</translation>
    </message>
    <message>
        <source>“%1” could not be downloaded: %2</source>
        <translation>„%1“ konnte nicht heruntergeladen werden: %2</translation>
    </message>
    <message>
        <source>“%1” is a program or script, which Tessarin never opens. It was saved to %2 instead.</source>
        <translation>„%1“ ist ein Programm oder Skript, das Tessarin nie öffnet. Es wurde stattdessen unter %2 gespeichert.</translation>
    </message>
    <message>
        <source>No application could open %1.</source>
        <translation>Keine Anwendung konnte %1 öffnen.</translation>
    </message>
    <message>
        <source>“%1” could not be deleted: %2</source>
        <translation>„%1“ konnte nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>Only files can be attached, not %1.</source>
        <translation>Nur Dateien können angehängt werden, nicht %1.</translation>
    </message>
    <message>
        <source>The pasted image could not be written to %1.</source>
        <translation>Das eingefügte Bild konnte nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>IssueLinkForm</name>
    <message>
        <source>Choose how the issues are linked.</source>
        <translation>Wählen Sie aus, wie die Vorgänge verknüpft sind.</translation>
    </message>
    <message>
        <source>Type the other issue&apos;s key, such as PLAT-417, or choose it from the suggestions.</source>
        <translation>Geben Sie den Schlüssel des anderen Vorgangs ein, etwa PLAT-417, oder wählen Sie ihn aus den Vorschlägen aus.</translation>
    </message>
    <message>
        <source>An issue cannot be linked to itself.</source>
        <translation>Ein Vorgang kann nicht mit sich selbst verknüpft werden.</translation>
    </message>
    <message>
        <source>You may not link these issues.</source>
        <translation>Sie dürfen diese Vorgänge nicht verknüpfen.</translation>
    </message>
</context>
<context>
    <name>IssueRelations</name>
    <message>
        <source>You may not remove this link.</source>
        <translation>Sie dürfen diese Verknüpfung nicht entfernen.</translation>
    </message>
</context>
<context>
    <name>IssueSearchField</name>
    <message>
        <source>Suggested issues</source>
        <translation>Vorgeschlagene Vorgänge</translation>
    </message>
</context>
<context>
    <name>IssueWatch</name>
    <message>
        <source>Stop Watching</source>
        <translation>Nicht mehr beobachten</translation>
    </message>
    <message>
        <source>Watch</source>
        <translation>Beobachten</translation>
    </message>
    <message>
        <source>Watchers: %1</source>
        <comment>how many people watch the issue</comment>
        <translation>Beobachter: %1</translation>
    </message>
    <message>
        <source>Tessarin does not know your user name yet; try again in a moment.</source>
        <translation>Tessarin kennt Ihren Benutzernamen noch nicht; versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>You may not watch this issue.</source>
        <translation>Sie dürfen diesen Vorgang nicht beobachten.</translation>
    </message>
</context>
<context>
    <name>JiraClient</name>
    <message>
        <source>The file to send can no longer be read.</source>
        <translation>Die zu sendende Datei kann nicht mehr gelesen werden.</translation>
    </message>
    <message>
        <source>the file was closed</source>
        <comment>why a download could not be written</comment>
        <translation>die Datei wurde geschlossen</translation>
    </message>
    <message>
        <source>Could not write the file: %1</source>
        <translation>Die Datei konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>The request timed out.</source>
        <translation>Zeitüberschreitung bei der Anfrage.</translation>
    </message>
    <message>
        <source>Unsupported redirect to %1</source>
        <translation>Nicht unterstützte Weiterleitung nach %1</translation>
    </message>
    <message>
        <source>Insecure redirect</source>
        <translation>Unsichere Weiterleitung</translation>
    </message>
    <message>
        <source>Too many redirects</source>
        <translation>Zu viele Weiterleitungen</translation>
    </message>
    <message>
        <source>Not sent: Jira asked to wait until %1.</source>
        <translation>Nicht gesendet: Jira bat, bis %1 zu warten.</translation>
    </message>
    <message>
        <source>Jira lists nothing that you may create in project %1.</source>
        <translation>Jira führt in Projekt %1 nichts auf, was Sie erstellen dürfen.</translation>
    </message>
    <message>
        <source>Not sent: “%1” names no issue or link.</source>
        <translation>Nicht gesendet: „%1“ bezeichnet keinen Vorgang und keine Verknüpfung.</translation>
    </message>
</context>
<context>
    <name>JiraError</name>
    <message>
        <source>Jira returned an error (%1): %2</source>
        <comment>an HTTP status code and its reason</comment>
        <translation>Jira hat einen Fehler gemeldet (%1): %2</translation>
    </message>
    <message>
        <source>Couldn&apos;t understand Jira&apos;s response.</source>
        <translation>Die Antwort von Jira war nicht verständlich.</translation>
    </message>
    <message>
        <source>Set your Jira server URL and Personal Access Token in Settings.</source>
        <translation>Legen Sie die URL Ihres Jira-Servers und Ihr persönliches Zugriffstoken in den Einstellungen fest.</translation>
    </message>
    <message>
        <source>The Jira server URL is invalid.</source>
        <translation>Die URL des Jira-Servers ist ungültig.</translation>
    </message>
</context>
<context>
    <name>KeychainStore</name>
    <message>
        <source>No system keyring (Secret Service) is available, so the token cannot be saved and will be lost when Tessarin quits.</source>
        <translation>Es ist kein System-Schlüsselbund (Secret Service) verfügbar, daher kann das Token nicht gespeichert werden und geht verloren, wenn Tessarin beendet wird.</translation>
    </message>
    <message>
        <source>The token could not be saved in the system keyring (%1). It will be lost when Tessarin quits.</source>
        <translation>Das Token konnte nicht im System-Schlüsselbund gespeichert werden (%1). Es geht verloren, wenn Tessarin beendet wird.</translation>
    </message>
</context>
<context>
    <name>LinkIssueDialog</name>
    <message>
        <source>Link Issue</source>
        <translation>Vorgang verknüpfen</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Wird geladen…</translation>
    </message>
    <message>
        <source>How this issue relates to the other</source>
        <translation>Wie dieser Vorgang mit dem anderen zusammenhängt</translation>
    </message>
    <message>
        <source>Other issue: key, link or words</source>
        <translation>Anderer Vorgang: Schlüssel, Link oder Wörter</translation>
    </message>
    <message>
        <source>Other issue</source>
        <translation>Anderer Vorgang</translation>
    </message>
    <message>
        <source>Linking…</source>
        <translation>Wird verknüpft…</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Verknüpfen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Tessarin 1.0</source>
        <translation>Tessarin 1.0</translation>
    </message>
    <message>
        <source>Tessarin</source>
        <translation>Tessarin</translation>
    </message>
    <message>
        <source>About Tessarin</source>
        <translation>Über Tessarin</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Hide Tessarin</source>
        <translation>Tessarin ausblenden</translation>
    </message>
    <message>
        <source>Quit Tessarin</source>
        <translation>Tessarin beenden</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>New Issue…</source>
        <translation>Neuer Vorgang…</translation>
    </message>
    <message>
        <source>Go to Issue…</source>
        <translation>Zu Vorgang wechseln…</translation>
    </message>
</context>
<context>
    <name>MessageText</name>
    <message>
        <source>The secure connection to Jira failed. Check the server URL, and whether a proxy or firewall inspects the connection.</source>
        <translation>Die sichere Verbindung zu Jira ist fehlgeschlagen. Prüfen Sie die Server-URL und ob ein Proxy oder eine Firewall die Verbindung untersucht.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate changed: SHA-256 %1 is not the trusted %2. The token was not sent. If the server&apos;s administrators replaced it, test the connection in Settings and trust the new one.</source>
        <translation>Das Zertifikat des Servers hat sich geändert: SHA-256 %1 ist nicht das vertrauenswürdige %2. Das Token wurde nicht gesendet. Falls die Administratoren des Servers es ersetzt haben, testen Sie die Verbindung in den Einstellungen und vertrauen Sie dem neuen.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate (issued to %1) has been revoked by its issuer. The token was not sent.</source>
        <translation>Das Zertifikat des Servers (ausgestellt für %1) wurde von seinem Aussteller widerrufen. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate (issued to %1 by %2) expired on %3. Its administrators must renew it. The token was not sent.</source>
        <translation>Das Zertifikat des Servers (ausgestellt für %1 von %2) ist am %3 abgelaufen. Seine Administratoren müssen es erneuern. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate (issued to %1) is valid only from %2. Check this computer&apos;s date and time. The token was not sent.</source>
        <translation>Das Zertifikat des Servers (ausgestellt für %1) ist erst ab %2 gültig. Prüfen Sie Datum und Uhrzeit dieses Computers. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate was issued for %1, not for this address. Check the server URL in Settings. The token was not sent.</source>
        <translation>Das Zertifikat des Servers wurde für %1 ausgestellt, nicht für diese Adresse. Prüfen Sie die Server-URL in den Einstellungen. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate (%1) is self-signed. If it is your company&apos;s own, test the connection in Settings and trust it. The token was not sent.</source>
        <translation>Das Zertifikat des Servers (%1) ist selbstsigniert. Falls es das Ihres Unternehmens ist, testen Sie die Verbindung in den Einstellungen und vertrauen Sie ihm. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate was issued by %1, which this computer does not trust. Add your company&apos;s CA certificates under Network in Settings, or test the connection there and trust this certificate. The token was not sent.</source>
        <translation>Das Zertifikat des Servers wurde von %1 ausgestellt, dem dieser Computer nicht vertraut. Fügen Sie die CA-Zertifikate Ihres Unternehmens in den Einstellungen unter „Netzwerk“ hinzu, oder testen Sie dort die Verbindung und vertrauen Sie diesem Zertifikat. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted here. If it is your company&apos;s own, test the connection in Settings and trust it. The token was not sent.</source>
        <translation>Dem Zertifikat des Servers wird hier nicht vertraut. Falls es das Ihres Unternehmens ist, testen Sie die Verbindung in den Einstellungen und vertrauen Sie ihm. Das Token wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>Jira answered with a sign-in page instead of data: the token was not accepted, or a single sign-on gateway is in front of Jira. Check the token in Settings; behind a gateway, ask your administrator how tools reach Jira&apos;s REST API.</source>
        <translation>Jira hat mit einer Anmeldeseite statt mit Daten geantwortet: Das Token wurde nicht akzeptiert, oder vor Jira steht ein Single-Sign-on-Gateway. Prüfen Sie das Token in den Einstellungen; hinter einem Gateway fragen Sie Ihren Administrator, wie Programme die REST-API von Jira erreichen.</translation>
    </message>
    <message>
        <source>Jira wants a CAPTCHA answered after failed sign-ins. Sign in once in the browser to clear it, then refresh.</source>
        <translation>Jira verlangt nach fehlgeschlagenen Anmeldungen die Lösung eines CAPTCHA. Melden Sie sich einmal im Browser an, um es aufzuheben, und aktualisieren Sie dann.</translation>
    </message>
    <message>
        <source>Jira did not accept the token. Check it in Settings, or create a new one in your Jira profile under Personal Access Tokens.</source>
        <translation>Jira hat das Token nicht akzeptiert. Prüfen Sie es in den Einstellungen, oder erstellen Sie ein neues in Ihrem Jira-Profil unter „Persönliche Zugriffstoken“.</translation>
    </message>
    <message>
        <source>The token was accepted, but its user may not use Jira. Ask your Jira administrator for access.</source>
        <translation>Das Token wurde akzeptiert, aber sein Benutzer darf Jira nicht verwenden. Bitten Sie Ihren Jira-Administrator um Zugriff.</translation>
    </message>
    <message>
        <source>The token was refused: it may have expired or been revoked. Create a new one in your Jira profile under Personal Access Tokens and enter it in Settings.</source>
        <translation>Das Token wurde abgelehnt: Es ist möglicherweise abgelaufen oder wurde widerrufen. Erstellen Sie ein neues in Ihrem Jira-Profil unter „Persönliche Zugriffstoken“ und geben Sie es in den Einstellungen ein.</translation>
    </message>
    <message>
        <source>The token&apos;s user may not see this. Ask your Jira administrator for access.</source>
        <translation>Der Benutzer des Tokens darf dies nicht sehen. Bitten Sie Ihren Jira-Administrator um Zugriff.</translation>
    </message>
    <message>
        <source>Jira&apos;s REST API is not at this address. Check the server URL in Settings: a context path such as /jira may be missing.</source>
        <translation>Die REST-API von Jira ist nicht unter dieser Adresse. Prüfen Sie die Server-URL in den Einstellungen: Möglicherweise fehlt ein Kontextpfad wie /jira.</translation>
    </message>
    <message numerus="yes">
        <source>Jira is limiting requests. Wait %n second(s) before trying again.</source>
        <translation>
            <numerusform>Jira begrenzt Anfragen. Warten Sie %n Sekunde, bevor Sie es erneut versuchen.</numerusform>
            <numerusform>Jira begrenzt Anfragen. Warten Sie %n Sekunden, bevor Sie es erneut versuchen.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Jira is limiting requests. Wait %n minute(s) before trying again.</source>
        <translation>
            <numerusform>Jira begrenzt Anfragen. Warten Sie %n Minute, bevor Sie es erneut versuchen.</numerusform>
            <numerusform>Jira begrenzt Anfragen. Warten Sie %n Minuten, bevor Sie es erneut versuchen.</numerusform>
        </translation>
    </message>
    <message>
        <source>Jira is limiting requests. Wait a minute before trying again.</source>
        <translation>Jira begrenzt Anfragen. Warten Sie eine Minute, bevor Sie es erneut versuchen.</translation>
    </message>
    <message>
        <source>Jira is unavailable, perhaps for maintenance. The next refresh tries again.</source>
        <translation>Jira ist nicht verfügbar, vielleicht wegen Wartungsarbeiten. Die nächste Aktualisierung versucht es erneut.</translation>
    </message>
    <message>
        <source>The server&apos;s name was not found. Check the URL in Settings, and your network or VPN.</source>
        <translation>Der Name des Servers wurde nicht gefunden. Prüfen Sie die URL in den Einstellungen sowie Ihr Netzwerk oder VPN.</translation>
    </message>
    <message>
        <source>Nothing answers at this address. Check the URL and port in Settings, and whether Jira is running.</source>
        <translation>Unter dieser Adresse antwortet nichts. Prüfen Sie URL und Port in den Einstellungen und ob Jira läuft.</translation>
    </message>
    <message>
        <source>Jira did not answer in time. The server or the network (a VPN?) may be slow or down.</source>
        <translation>Jira hat nicht rechtzeitig geantwortet. Der Server oder das Netzwerk (ein VPN?) ist möglicherweise langsam oder ausgefallen.</translation>
    </message>
    <message>
        <source>The proxy asks for a user name and password, or refused the ones given. Enter them under Network in Settings.</source>
        <translation>Der Proxy verlangt einen Benutzernamen und ein Passwort oder hat die angegebenen abgelehnt. Geben Sie sie in den Einstellungen unter „Netzwerk“ ein.</translation>
    </message>
    <message>
        <source>The proxy could not be used, or refused the user name and password given. Check it under Network in Settings, or the system&apos;s proxy setting (http_proxy, https_proxy, no_proxy).</source>
        <translation>Der Proxy konnte nicht verwendet werden oder hat den angegebenen Benutzernamen und das Passwort abgelehnt. Prüfen Sie ihn in den Einstellungen unter „Netzwerk“ oder die Proxy-Einstellung des Systems (http_proxy, https_proxy, no_proxy).</translation>
    </message>
    <message>
        <source>Correct it under Network in Settings.</source>
        <translation>Korrigieren Sie dies in den Einstellungen unter „Netzwerk“.</translation>
    </message>
    <message>
        <source>Jira asks for a client certificate. Choose yours (a .p12 file, or a PEM certificate and its key) under Network in Settings.</source>
        <translation>Jira verlangt ein Client-Zertifikat. Wählen Sie Ihres (eine .p12-Datei oder ein PEM-Zertifikat mit seinem Schlüssel) in den Einstellungen unter „Netzwerk“ aus.</translation>
    </message>
    <message>
        <source>Jira did not accept the client certificate. Check that it is the one your company issued for Jira and that it has not expired or been revoked.</source>
        <translation>Jira hat das Client-Zertifikat nicht akzeptiert. Prüfen Sie, ob es das von Ihrem Unternehmen für Jira ausgestellte ist und ob es weder abgelaufen ist noch widerrufen wurde.</translation>
    </message>
    <message>
        <source>The token “%1” expires on %2.</source>
        <translation>Das Token „%1“ läuft am %2 ab.</translation>
    </message>
    <message>
        <source>Your Jira token “%1” expired on %2. Create a new one in your Jira profile (Personal Access Tokens) and enter it in Settings.</source>
        <translation>Ihr Jira-Token „%1“ ist am %2 abgelaufen. Erstellen Sie ein neues in Ihrem Jira-Profil (Persönliche Zugriffstoken) und geben Sie es in den Einstellungen ein.</translation>
    </message>
    <message>
        <source>Your Jira token “%1” expires on %2. Create a new one in your Jira profile (Personal Access Tokens) and enter it in Settings.</source>
        <translation>Ihr Jira-Token „%1“ läuft am %2 ab. Erstellen Sie ein neues in Ihrem Jira-Profil (Persönliche Zugriffstoken) und geben Sie es in den Einstellungen ein.</translation>
    </message>
</context>
<context>
    <name>NetworkPage</name>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>Auswählen…</translation>
    </message>
    <message>
        <source>Certificates</source>
        <translation>Zertifikate</translation>
    </message>
    <message>
        <source>CA certificates</source>
        <translation>CA-Zertifikate</translation>
    </message>
    <message>
        <source>Choose the CA certificates file</source>
        <translation>Datei mit CA-Zertifikaten auswählen</translation>
    </message>
    <message>
        <source>Your company&apos;s certificate authorities (PEM), trusted besides the system&apos;s.</source>
        <translation>Zertifizierungsstellen Ihres Unternehmens (PEM), vertrauenswürdig zusätzlich zu denen des Systems.</translation>
    </message>
    <message>
        <source>CA Certificates</source>
        <translation>CA-Zertifikate</translation>
    </message>
    <message>
        <source>PEM certificates (*.pem *.crt *.cer)</source>
        <translation>PEM-Zertifikate (*.pem *.crt *.cer)</translation>
    </message>
    <message>
        <source>Client certificate</source>
        <translation>Client-Zertifikat</translation>
    </message>
    <message>
        <source>Choose the client certificate file</source>
        <translation>Client-Zertifikatsdatei auswählen</translation>
    </message>
    <message>
        <source>For servers that ask for one: a .p12 file, or a PEM certificate.</source>
        <translation>Für Server, die eines verlangen: eine .p12-Datei oder ein PEM-Zertifikat.</translation>
    </message>
    <message>
        <source>Client Certificate</source>
        <translation>Client-Zertifikat</translation>
    </message>
    <message>
        <source>Certificates (*.p12 *.pfx *.pem *.crt)</source>
        <translation>Zertifikate (*.p12 *.pfx *.pem *.crt)</translation>
    </message>
    <message>
        <source>Client key</source>
        <translation>Client-Schlüssel</translation>
    </message>
    <message>
        <source>Choose the client key file</source>
        <translation>Client-Schlüsseldatei auswählen</translation>
    </message>
    <message>
        <source>The PEM certificate&apos;s private key, if it is in a file of its own.</source>
        <translation>Der private Schlüssel des PEM-Zertifikats, falls er in einer eigenen Datei liegt.</translation>
    </message>
    <message>
        <source>Client Key</source>
        <translation>Client-Schlüssel</translation>
    </message>
    <message>
        <source>PEM keys (*.pem *.key)</source>
        <translation>PEM-Schlüssel (*.pem *.key)</translation>
    </message>
    <message>
        <source>Passphrase</source>
        <translation>Passphrase</translation>
    </message>
    <message>
        <source>Kept in the system keyring.</source>
        <translation>Wird im Schlüsselbund des Systems gespeichert.</translation>
    </message>
    <message>
        <source>Proxy</source>
        <translation>Proxy</translation>
    </message>
    <message>
        <source>The system&apos;s setting reads http_proxy, https_proxy and no_proxy.</source>
        <translation>Die Systemeinstellung liest http_proxy, https_proxy und no_proxy.</translation>
    </message>
    <message>
        <source>System setting</source>
        <translation>Systemeinstellung</translation>
    </message>
    <message>
        <source>No proxy</source>
        <translation>Kein Proxy</translation>
    </message>
    <message>
        <source>HTTP proxy</source>
        <translation>HTTP-Proxy</translation>
    </message>
    <message>
        <source>SOCKS5 proxy</source>
        <translation>SOCKS5-Proxy</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Proxy host</source>
        <translation>Proxy-Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Proxy port</source>
        <translation>Proxy-Port</translation>
    </message>
    <message>
        <source>User (if it asks)</source>
        <translation>Benutzer (falls verlangt)</translation>
    </message>
    <message>
        <source>Proxy user</source>
        <translation>Proxy-Benutzer</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Proxy password</source>
        <translation>Proxy-Passwort</translation>
    </message>
    <message>
        <source>Used for an HTTP or SOCKS5 proxy chosen above.</source>
        <translation>Gilt für einen oben gewählten HTTP- oder SOCKS5-Proxy.</translation>
    </message>
</context>
<context>
    <name>NetworkSetup</name>
    <message>
        <source>The CA certificates file %1 could not be read.</source>
        <translation>Die CA-Zertifikatsdatei %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The CA certificates file %1 holds no PEM certificate.</source>
        <translation>Die CA-Zertifikatsdatei %1 enthält kein PEM-Zertifikat.</translation>
    </message>
    <message>
        <source>The client certificate file %1 could not be read.</source>
        <translation>Die Client-Zertifikatsdatei %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file %1 holds no PEM certificate.</source>
        <translation>Die Datei %1 enthält kein PEM-Zertifikat.</translation>
    </message>
    <message>
        <source>The client key file %1 could not be read.</source>
        <translation>Die Client-Schlüsseldatei %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>No private key was found for the client certificate: choose its key file.</source>
        <translation>Für das Client-Zertifikat wurde kein privater Schlüssel gefunden: Wählen Sie seine Schlüsseldatei aus.</translation>
    </message>
    <message>
        <source>The client certificate&apos;s key is protected by a passphrase: enter it in the settings.</source>
        <translation>Der Schlüssel des Client-Zertifikats ist durch eine Passphrase geschützt: Geben Sie sie in den Einstellungen ein.</translation>
    </message>
    <message>
        <source>The passphrase of the client certificate&apos;s key is wrong.</source>
        <translation>Die Passphrase für den Schlüssel des Client-Zertifikats ist falsch.</translation>
    </message>
    <message>
        <source>The client certificate&apos;s key could not be read.</source>
        <translation>Der Schlüssel des Client-Zertifikats konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The client certificate could not be opened: it may need its passphrase.</source>
        <translation>Das Client-Zertifikat konnte nicht geöffnet werden: Möglicherweise benötigt es seine Passphrase.</translation>
    </message>
    <message>
        <source>The client certificate could not be opened: the passphrase is wrong, or the file is not a PKCS#12 (.p12, .pfx) file.</source>
        <translation>Das Client-Zertifikat konnte nicht geöffnet werden: Die Passphrase ist falsch, oder die Datei ist keine PKCS#12-Datei (.p12, .pfx).</translation>
    </message>
    <message>
        <source>The client certificate expired on %1: ask for a new one.</source>
        <translation>Das Client-Zertifikat ist am %1 abgelaufen: Fordern Sie ein neues an.</translation>
    </message>
    <message>
        <source>The client certificate is valid only from %1.</source>
        <translation>Das Client-Zertifikat ist erst ab %1 gültig.</translation>
    </message>
    <message>
        <source>The proxy needs a host and a port.</source>
        <translation>Der Proxy benötigt einen Host und einen Port.</translation>
    </message>
</context>
<context>
    <name>NotificationsPage</name>
    <message>
        <source>Tell the desktop when, in my issues:</source>
        <translation>Desktop benachrichtigen, wenn in meinen Vorgängen:</translation>
    </message>
    <message>
        <source>an issue is assigned to me</source>
        <translation>mir ein Vorgang zugewiesen wird</translation>
    </message>
    <message>
        <source>Notify when an issue is assigned to me</source>
        <translation>Benachrichtigen, wenn mir ein Vorgang zugewiesen wird</translation>
    </message>
    <message>
        <source>someone else changes a status</source>
        <translation>jemand anderes einen Status ändert</translation>
    </message>
    <message>
        <source>Notify when someone else changes a status</source>
        <translation>Benachrichtigen, wenn jemand anderes einen Status ändert</translation>
    </message>
    <message>
        <source>someone else comments</source>
        <translation>jemand anderes kommentiert</translation>
    </message>
    <message>
        <source>Notify when someone else comments</source>
        <translation>Benachrichtigen, wenn jemand anderes kommentiert</translation>
    </message>
    <message>
        <source>Tell me the same of issues I watch</source>
        <translation>Ebenso bei Vorgängen, die ich beobachte</translation>
    </message>
    <message>
        <source>Notify of changes to issues I watch</source>
        <translation>Bei Änderungen an beobachteten Vorgängen benachrichtigen</translation>
    </message>
    <message>
        <source>Keep running in the tray when the window is closed</source>
        <translation>Nach dem Schließen des Fensters in der Systemleiste weiterlaufen</translation>
    </message>
    <message>
        <source>No system tray runs on this desktop.</source>
        <translation>Auf diesem Desktop läuft keine Systemleiste.</translation>
    </message>
    <message>
        <source>The desktop shows a notification; its Open button shows the issue.</source>
        <translation>Der Desktop zeigt eine Benachrichtigung; ihre Schaltfläche „Öffnen“ zeigt den Vorgang.</translation>
    </message>
    <message>
        <source>Issues I watch but that are not mine.</source>
        <translation>Vorgänge, die ich beobachte, die mir aber nicht gehören.</translation>
    </message>
    <message>
        <source>Quit Tessarin in the tray&apos;s menu, or Ctrl+Q, then ends it.</source>
        <translation>„Tessarin beenden“ im Menü der Systemleiste oder Strg+Q beendet es dann.</translation>
    </message>
</context>
<context>
    <name>QueryDialog</name>
    <message>
        <source>Add Query</source>
        <translation>Abfrage hinzufügen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Query name</source>
        <translation>Name der Abfrage</translation>
    </message>
    <message>
        <source>JQL, e.g. reporter = currentUser() ORDER BY updated DESC</source>
        <translation>JQL, z. B. reporter = currentUser() ORDER BY updated DESC</translation>
    </message>
    <message>
        <source>JQL</source>
        <translation>JQL</translation>
    </message>
    <message>
        <source>Checking…</source>
        <translation>Wird geprüft…</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>RelationRow</name>
    <message>
        <source>%1: %2, %3</source>
        <comment>an issue&apos;s key, summary and status</comment>
        <translation>%1: %2, %3</translation>
    </message>
    <message>
        <source>Removing…</source>
        <translation>Wird entfernt…</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove the link to %1</source>
        <translation>Verknüpfung zu %1 entfernen</translation>
    </message>
</context>
<context>
    <name>RelationsSection</name>
    <message>
        <source>Related Issues</source>
        <translation>Verknüpfte Vorgänge</translation>
    </message>
    <message>
        <source>Link Issue…</source>
        <translation>Vorgang verknüpfen…</translation>
    </message>
    <message>
        <source>Link Issue</source>
        <translation>Vorgang verknüpfen</translation>
    </message>
    <message>
        <source>No parent, sub-tasks or links.</source>
        <translation>Kein übergeordneter Vorgang, keine Unteraufgaben oder Verknüpfungen.</translation>
    </message>
    <message>
        <source>Parent</source>
        <translation>Übergeordneter Vorgang</translation>
    </message>
    <message>
        <source>Sub-tasks</source>
        <translation>Unteraufgaben</translation>
    </message>
</context>
<context>
    <name>RowMenu</name>
    <message>
        <source>Copy Key</source>
        <translation>Schlüssel kopieren</translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation>Link kopieren</translation>
    </message>
    <message>
        <source>New Sub-task…</source>
        <translation>Neue Unteraufgabe…</translation>
    </message>
</context>
<context>
    <name>ServerProbe</name>
    <message>
        <source>This Jira (%1) has no personal access tokens: they came with Jira 8.14. Ask your Jira administrator how to connect.</source>
        <translation>Dieses Jira (%1) hat keine persönlichen Zugriffstoken: Sie kamen mit Jira 8.14. Fragen Sie Ihren Jira-Administrator, wie Sie sich verbinden können.</translation>
    </message>
</context>
<context>
    <name>SettingsController</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <comment>how often the list is refreshed</comment>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n second(s)</source>
        <comment>how often the list is refreshed</comment>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>The keyring cannot keep the token: it will be lost when Tessarin quits.</source>
        <translation>Der Schlüsselbund kann das Token nicht speichern: Es geht verloren, wenn Tessarin beendet wird.</translation>
    </message>
    <message>
        <source>With http:// the token would travel unencrypted.</source>
        <translation>Mit http:// würde das Token unverschlüsselt übertragen.</translation>
    </message>
    <message>
        <source>Cached data cleared</source>
        <translation>Cache geleert</translation>
    </message>
    <message>
        <source>Could not clear cached data</source>
        <translation>Cache nicht geleert</translation>
    </message>
    <message>
        <source>Connected as %1</source>
        <translation>Verbunden als %1</translation>
    </message>
    <message>
        <source>This server&apos;s certificate (SHA-256 %1) is now the one trusted for it.</source>
        <translation>Für diesen Server gilt jetzt sein Zertifikat (SHA-256 %1) als vertrauenswürdig.</translation>
    </message>
    <message>
        <source>Connected as %1 · Jira Data Center %2</source>
        <translation>Verbunden als %1 · Jira Data Center %2</translation>
    </message>
    <message>
        <source>Connected as %1 · Jira Server %2</source>
        <translation>Verbunden als %1 · Jira Server %2</translation>
    </message>
    <message>
        <source>Connected as %1 · Jira %2</source>
        <translation>Verbunden als %1 · Jira %2</translation>
    </message>
    <message>
        <source>SHA-256 %1</source>
        <translation>SHA-256 %1</translation>
    </message>
    <message>
        <source>Issued to: %1</source>
        <translation>Ausgestellt für: %1</translation>
    </message>
    <message>
        <source>Issued by: %1</source>
        <translation>Ausgestellt von: %1</translation>
    </message>
    <message>
        <source>Valid from %1 to %2</source>
        <translation>Gültig von %1 bis %2</translation>
    </message>
    <message>
        <source>Shortened to the server&apos;s address: %1</source>
        <translation>Auf die Adresse des Servers gekürzt: %1</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>The server&apos;s certificate</source>
        <translation>Das Zertifikat des Servers</translation>
    </message>
    <message>
        <source>Trust it only if it is your server&apos;s own: compare the fingerprint with the one your administrators give.</source>
        <translation>Vertrauen Sie ihm nur, wenn es das Ihres Servers ist: Vergleichen Sie den Fingerabdruck mit dem, den Ihre Administratoren angeben.</translation>
    </message>
    <message>
        <source>Certificate details</source>
        <translation>Zertifikatsdetails</translation>
    </message>
    <message>
        <source>Trust This Certificate</source>
        <translation>Diesem Zertifikat vertrauen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>Verbindung</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>Daten</translation>
    </message>
    <message>
        <source>Settings pages</source>
        <translation>Seiten der Einstellungen</translation>
    </message>
    <message>
        <source>Up and Down choose a page; Ctrl+Tab works from anywhere in the window.</source>
        <translation>Pfeil nach oben und unten wählen eine Seite; Strg+Tab geht überall im Fenster.</translation>
    </message>
    <message>
        <source>This server is trusted with this certificate and no other.</source>
        <translation>Diesem Server wird mit diesem Zertifikat vertraut, mit keinem anderen.</translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>SourceList</name>
    <message numerus="yes">
        <source>%1, %n issue(s)</source>
        <comment>a source and how many issues it lists</comment>
        <translation>
            <numerusform>%1, %n Vorgang</numerusform>
            <numerusform>%1, %n Vorgänge</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SummaryEditor</name>
    <message>
        <source>Summary</source>
        <translation>Zusammenfassung</translation>
    </message>
</context>
<context>
    <name>TicketDetail</name>
    <message>
        <source>Estimated %1</source>
        <comment>time tracking: the original estimate</comment>
        <translation>Geschätzt %1</translation>
    </message>
    <message>
        <source>Remaining %1</source>
        <comment>time tracking: the remaining estimate</comment>
        <translation>Verbleibend %1</translation>
    </message>
    <message>
        <source>Logged %1</source>
        <comment>time tracking: the time logged</comment>
        <translation>Protokolliert %1</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Wird geladen…</translation>
    </message>
    <message>
        <source>No transitions available</source>
        <translation>Keine Übergänge verfügbar</translation>
    </message>
</context>
<context>
    <name>TicketDetailView</name>
    <message>
        <source>Edit…</source>
        <translation>Bearbeiten…</translation>
    </message>
    <message>
        <source>Edit Fields</source>
        <translation>Felder bearbeiten</translation>
    </message>
    <message>
        <source>New Sub-task…</source>
        <translation>Neue Unteraufgabe…</translation>
    </message>
    <message>
        <source>New Sub-task</source>
        <translation>Neue Unteraufgabe</translation>
    </message>
    <message>
        <source>Log Work…</source>
        <translation>Arbeit protokollieren…</translation>
    </message>
    <message>
        <source>Log Work</source>
        <translation>Arbeit protokollieren</translation>
    </message>
    <message>
        <source>Open in Jira</source>
        <translation>In Jira öffnen</translation>
    </message>
    <message>
        <source>Status: %1</source>
        <translation>Status: %1</translation>
    </message>
    <message>
        <source>Priority: %1</source>
        <translation>Priorität: %1</translation>
    </message>
    <message>
        <source>Assignee: %1</source>
        <translation>Bearbeiter: %1</translation>
    </message>
    <message>
        <source>Unassigned</source>
        <translation>Nicht zugewiesen</translation>
    </message>
    <message>
        <source>Assign to Me</source>
        <translation>Mir zuweisen</translation>
    </message>
    <message>
        <source>Find a person</source>
        <translation>Person suchen</translation>
    </message>
    <message>
        <source>Find a person to assign</source>
        <translation>Person zum Zuweisen suchen</translation>
    </message>
    <message>
        <source>Due %1</source>
        <translation>Fällig am %1</translation>
    </message>
    <message>
        <source>Not in the current list</source>
        <translation>Nicht in der aktuellen Liste</translation>
    </message>
    <message>
        <source>Delete this comment?</source>
        <translation>Diesen Kommentar löschen?</translation>
    </message>
    <message>
        <source>The comment is removed from Jira for everyone.</source>
        <translation>Der Kommentar wird für alle aus Jira entfernt.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>No description.</source>
        <translation>Keine Beschreibung.</translation>
    </message>
    <message>
        <source>Comments</source>
        <translation>Kommentare</translation>
    </message>
    <message>
        <source>Comments could not be loaded.</source>
        <translation>Die Kommentare konnten nicht geladen werden.</translation>
    </message>
    <message>
        <source>No comments.</source>
        <translation>Keine Kommentare.</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Edit comment</source>
        <translation>Kommentar bearbeiten</translation>
    </message>
    <message>
        <source>Delete comment</source>
        <translation>Kommentar löschen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message numerus="yes">
        <source>%n comment(s)</source>
        <translation>
            <numerusform>%n Kommentar</numerusform>
            <numerusform>%n Kommentare</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TicketRow</name>
    <message>
        <source>Priority %1</source>
        <translation>Priorität %1</translation>
    </message>
    <message>
        <source>%1 · %2</source>
        <extracomment>A row&apos;s issue type and project, e.g. &quot;Bug · Platform Services&quot;.</extracomment>
        <translation>%1 · %2</translation>
    </message>
</context>
<context>
    <name>TicketStore</name>
    <message>
        <source>Set your Jira server URL and Personal Access Token in Settings.</source>
        <translation>Geben Sie die URL Ihres Jira-Servers und Ihr persönliches Zugriffstoken in den Einstellungen ein.</translation>
    </message>
</context>
<context>
    <name>TransitionFormView</name>
    <message>
        <source>This transition needs a field that only Jira can set.</source>
        <translation>Dieser Übergang benötigt ein Feld, das nur Jira setzen kann.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TrayPresence</name>
    <message>
        <source>Open Tessarin</source>
        <translation>Tessarin öffnen</translation>
    </message>
    <message>
        <source>New Issue…</source>
        <translation>Neuer Vorgang…</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Quit Tessarin</source>
        <translation>Tessarin beenden</translation>
    </message>
</context>
<context>
    <name>WorkLogForm</name>
    <message>
        <source>Enter the time in Jira&apos;s notation, such as 1h 30m, 2d or 45m.</source>
        <translation>Geben Sie die Zeit in Jiras Schreibweise ein, etwa 1h 30m, 2d oder 45m.</translation>
    </message>
    <message>
        <source>Enter when the work started as YYYY-MM-DD HH:MM.</source>
        <translation>Geben Sie den Beginn der Arbeit als JJJJ-MM-TT HH:MM ein.</translation>
    </message>
</context>
<context>
    <name>WorkLogView</name>
    <message>
        <source>Log Work</source>
        <translation>Arbeit protokollieren</translation>
    </message>
    <message>
        <source>Time spent</source>
        <translation>Benötigte Zeit</translation>
    </message>
    <message>
        <source>1h 30m, 2d, 45m</source>
        <translation>1h 30m, 2d, 45m</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Beginn</translation>
    </message>
    <message>
        <source>YYYY-MM-DD HH:MM</source>
        <translation>JJJJ-MM-TT HH:MM</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>Work log comment</source>
        <translation>Kommentar zum Arbeitsprotokoll</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Discard work log</source>
        <translation>Arbeitsprotokoll verwerfen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>A desktop client for the Jira Server issues assigned to you.</source>
        <translation>Ein Desktop-Client für die Ihnen zugewiesenen Vorgänge in Jira Server.</translation>
    </message>
</context>
</TS>
