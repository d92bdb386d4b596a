<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AddArea</name>
    <message>
        <source>New goal</source>
        <translation>Neues Ziel</translation>
    </message>
</context>
<context>
    <name>AddGoals</name>
    <message>
        <source>Add “%1”</source>
        <translation>„%1“ hinzufügen</translation>
    </message>
    <message numerus="yes">
        <source>Add %n Goals</source>
        <translation>
            <numerusform>%n Ziel hinzufügen</numerusform>
            <numerusform>%n Ziele hinzufügen</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>a line is longer than the %L1 characters a goal can hold; nothing was added</source>
        <translation>eine Zeile ist länger als die %L1 Zeichen, die ein Ziel fassen kann; nichts wurde hinzugefügt</translation>
    </message>
</context>
<context>
    <name>CommandLineInfo</name>
    <message>
        <source>Add each TEXT (else each input line) as a goal</source>
        <translation>Jeden TEXT (sonst jede Eingabezeile) als Ziel anlegen</translation>
    </message>
    <message>
        <source>Add each line of the selected text as a goal</source>
        <translation>Jede Zeile des markierten Texts als Ziel hinzufügen</translation>
    </message>
    <message>
        <source>Run on emptied test settings, goals from UITEST_GOALS</source>
        <translation>Mit geleerten Testeinstellungen, Ziele aus UITEST_GOALS</translation>
    </message>
    <message>
        <source>Centre the panel before a gradient, for screenshots</source>
        <translation>Tafel vor Farbverlauf zentrieren, für Bildschirmfotos</translation>
    </message>
    <message>
        <source>Show this help and exit</source>
        <translation>Diese Hilfe zeigen und beenden</translation>
    </message>
    <message>
        <source>Show the version and exit</source>
        <translation>Die Version zeigen und beenden</translation>
    </message>
    <message>
        <source>Usage: mirel [SWITCH ...]</source>
        <translation>Aufruf: mirel [SCHALTER ...]</translation>
    </message>
    <message>
        <source>Keeps today&apos;s goals in a floating panel.</source>
        <translation>Hält die Ziele des Tages in einer schwebenden Tafel fest.</translation>
    </message>
    <message>
        <source>Give the panel the keyboard to type a new goal</source>
        <translation>Dem Panel die Tastatur geben, um ein neues Ziel einzutippen</translation>
    </message>
    <message>
        <source>mirel: unknown switch %1.</source>
        <translation>mirel: unbekannter Schalter %1.</translation>
    </message>
    <message>
        <source>mirel: %1 is not a switch.</source>
        <translation>mirel: %1 ist kein Schalter.</translation>
    </message>
    <message>
        <source>Call mom</source>
        <translation>Mama anrufen</translation>
    </message>
    <message>
        <source>To add a goal: %1</source>
        <translation>Ein Ziel hinzufügen: %1</translation>
    </message>
    <message>
        <source>Every switch: %1</source>
        <translation>Alle Schalter: %1</translation>
    </message>
</context>
<context>
    <name>CountLabel</name>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>%1 of %2 done</source>
        <translation>%1 von %2 erledigt</translation>
    </message>
</context>
<context>
    <name>DavHttp</name>
    <message>
        <source>%1 is not a server address</source>
        <translation>%1 ist keine Serveradresse</translation>
    </message>
    <message>
        <source>%1 is not HTTPS; only a server on this computer may go without</source>
        <translation>%1 ist kein HTTPS; nur ein Server auf diesem Computer kommt ohne aus</translation>
    </message>
    <message>
        <source>The server&apos;s answer is larger than %1 MB</source>
        <translation>Die Antwort des Servers ist größer als %1 MB</translation>
    </message>
    <message>
        <source>The server took too long to answer</source>
        <translation>Der Server hat zu lange für die Antwort gebraucht</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not trusted by this computer (%1): %2</source>
        <translation>Dieser Computer vertraut dem Zertifikat des Servers nicht (%1): %2</translation>
    </message>
    <message>
        <source>The server&apos;s certificate is not the one trusted for it: it is now %1</source>
        <translation>Der Server hat nicht mehr das Zertifikat, dem vertraut wurde: jetzt ist es %1</translation>
    </message>
    <message>
        <source>The server sent the request on to %1, another server</source>
        <translation>Der Server hat die Anfrage an %1 weitergeleitet, einen anderen Server</translation>
    </message>
    <message>
        <source>The server sent the request on too many times</source>
        <translation>Der Server hat die Anfrage zu oft weitergeleitet</translation>
    </message>
</context>
<context>
    <name>EditGoalText</name>
    <message>
        <source>Edit “%1”</source>
        <translation>„%1“ bearbeiten</translation>
    </message>
</context>
<context>
    <name>EmptyStateRow</name>
    <message>
        <source>Add today&apos;s first goal</source>
        <translation>Erstes Ziel für heute hinzufügen</translation>
    </message>
</context>
<context>
    <name>GoalTextLimit</name>
    <message>
        <source>A goal can hold at most %L1 characters; shorten the text to keep it.</source>
        <translation>Ein Ziel fasst höchstens %L1 Zeichen; kürzen Sie den Text, um ihn zu behalten.</translation>
    </message>
</context>
<context>
    <name>GoalsDisk</name>
    <message>
        <source>the unreadable goals file %1 cannot be moved aside</source>
        <translation>die unlesbare Zieldatei %1 kann nicht beiseitegelegt werden</translation>
    </message>
    <message>
        <source>a goal cannot be written in the goals file&apos;s form</source>
        <translation>ein Ziel kann nicht im Format der Zieldatei geschrieben werden</translation>
    </message>
    <message>
        <source>cannot create the folder %1: %2</source>
        <translation>der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>The goals file could not be read. It is kept as %1, and the goals saved on %2 were opened instead.</source>
        <translation>Die Zieldatei konnte nicht gelesen werden. Sie ist als %1 aufbewahrt, und stattdessen wurden die am %2 gespeicherten Ziele geöffnet.</translation>
    </message>
    <message>
        <source>Part of the goals file could not be read. The file as it was is kept as %1.</source>
        <translation>Ein Teil der Zieldatei konnte nicht gelesen werden. Die Datei, wie sie war, ist als %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>cannot write the goals file %1: %2</source>
        <translation>die Zieldatei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>cannot delete %1: %2</source>
        <translation>%1 kann nicht gelöscht werden: %2</translation>
    </message>
</context>
<context>
    <name>IntakeClient</name>
    <message>
        <source>the panel closed the connection without answering</source>
        <translation>die Tafel hat die Verbindung ohne Antwort geschlossen</translation>
    </message>
    <message>
        <source>the panel did not answer in time</source>
        <translation>die Tafel hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <source>the panel gave an unreadable answer</source>
        <translation>die Tafel hat eine unlesbare Antwort gegeben</translation>
    </message>
    <message>
        <source>the panel refused the text: %1</source>
        <translation>die Tafel hat den Text abgelehnt: %1</translation>
    </message>
    <message>
        <source>there is no private runtime folder to reach the panel through</source>
        <translation>es gibt keinen privaten Laufzeitordner, über den die Tafel erreichbar ist</translation>
    </message>
    <message>
        <source>could not start the panel %1</source>
        <translation>die Tafel %1 konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>the panel started for the text quit at once (can it open a window?)</source>
        <translation>die für den Text gestartete Tafel hat sich sofort beendet (kann sie ein Fenster öffnen?)</translation>
    </message>
    <message>
        <source>no Mirel panel answered within %1 seconds</source>
        <translation>keine Mirel-Tafel hat innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <source>the text is larger than the limit of %1 bytes; nothing was sent</source>
        <translation>der Text überschreitet die Grenze von %1 Bytes; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>could not send the text: %1</source>
        <translation>der Text konnte nicht gesendet werden: %1</translation>
    </message>
    <message>
        <source>Added %1 goal to Mirel.</source>
        <translation>%1 Ziel zu Mirel hinzugefügt.</translation>
    </message>
    <message>
        <source>Added %1 goals to Mirel.</source>
        <translation>%1 Ziele zu Mirel hinzugefügt.</translation>
    </message>
    <message>
        <source>cannot read standard input; nothing was sent</source>
        <translation>die Standardeingabe ist nicht lesbar; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>no display to read the selection from; nothing was sent</source>
        <translation>kein Bildschirm, von dem die Auswahl gelesen werden kann; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>no text is selected; nothing was sent</source>
        <translation>kein Text ist markiert; nichts wurde gesendet</translation>
    </message>
    <message>
        <source>another Mirel panel holds %1, but %2</source>
        <translation>eine andere Mirel-Tafel hält %1, aber %2</translation>
    </message>
    <message>
        <source>the panel took the text (%1 goal) but could not save it: %2. It stays in the panel and is written by the panel&apos;s next save that succeeds; do not send it again.</source>
        <translation>das Panel hat den Text angenommen (%1 Ziel), konnte ihn aber nicht speichern: %2. Er bleibt im Panel und wird beim nächsten gelungenen Speichern geschrieben; senden Sie ihn nicht noch einmal.</translation>
    </message>
    <message>
        <source>the panel took the text (%1 goals) but could not save it: %2. It stays in the panel and is written by the panel&apos;s next save that succeeds; do not send it again.</source>
        <translation>das Panel hat den Text angenommen (%1 Ziele), konnte ihn aber nicht speichern: %2. Er bleibt im Panel und wird beim nächsten gelungenen Speichern geschrieben; senden Sie ihn nicht noch einmal.</translation>
    </message>
    <message>
        <source>could not reach the panel: %1</source>
        <translation>das Panel ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>Mirel</source>
        <translation>Mirel</translation>
    </message>
</context>
<context>
    <name>IntakeModule</name>
    <message>
        <source>the intake module %1 is missing</source>
        <translation>das Empfangsmodul %1 fehlt</translation>
    </message>
</context>
<context>
    <name>MoveGoal</name>
    <message>
        <source>Move “%1”</source>
        <translation>„%1“ verschieben</translation>
    </message>
</context>
<context>
    <name>NewTaskList</name>
    <message>
        <source>The server did not accept the user name and password</source>
        <translation>Der Server hat Benutzername und Passwort nicht angenommen</translation>
    </message>
    <message>
        <source>The server does not let this account make a task list</source>
        <translation>Der Server lässt dieses Konto keine Aufgabenliste anlegen</translation>
    </message>
    <message>
        <source>The server did not make the task list: HTTP %1</source>
        <translation>Der Server hat die Aufgabenliste nicht angelegt: HTTP %1</translation>
    </message>
</context>
<context>
    <name>PanelActions</name>
    <message>
        <source>New Goal</source>
        <translation>Neues Ziel</translation>
    </message>
    <message>
        <source>Remove Done Goals</source>
        <translation>Erledigte Ziele entfernen</translation>
    </message>
    <message>
        <source>Clear Done Goals Each Day</source>
        <translation>Erledigte Ziele jeden Tag entfernen</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <translation>Beim Anmelden öffnen</translation>
    </message>
    <message>
        <source>Quit Mirel</source>
        <translation>Mirel beenden</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>Rename “%1”…</source>
        <translation>„%1“ umbenennen…</translation>
    </message>
</context>
<context>
    <name>PanelHeader</name>
    <message>
        <source>Add goal</source>
        <translation>Ziel hinzufügen</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Your goals are not saved: %1. Mirel tries again with every change.</source>
        <translation>Ihre Ziele sind nicht gespeichert: %1. Mirel versucht es bei jeder Änderung erneut.</translation>
    </message>
</context>
<context>
    <name>PanelTitle</name>
    <message>
        <source>Today&apos;s Goals</source>
        <translation>Heutige Ziele</translation>
    </message>
</context>
<context>
    <name>QuitGuard</name>
    <message>
        <source>Quit Mirel?</source>
        <translation>Mirel beenden?</translation>
    </message>
    <message>
        <source>Some goals are not saved.</source>
        <translation>Einige Ziele sind nicht gespeichert.</translation>
    </message>
    <message>
        <source>They cannot be written: %1. Quitting now loses them.</source>
        <translation>Sie können nicht geschrieben werden: %1. Wenn Mirel jetzt beendet wird, gehen sie verloren.</translation>
    </message>
    <message>
        <source>Quit Anyway</source>
        <translation>Trotzdem beenden</translation>
    </message>
</context>
<context>
    <name>RemoveGoals</name>
    <message>
        <source>Delete “%1”</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <source>Remove Done Goals</source>
        <translation>Erledigte Ziele entfernen</translation>
    </message>
    <message>
        <source>Clear Done Goals</source>
        <translation>Erledigte Ziele des Vortags entfernen</translation>
    </message>
</context>
<context>
    <name>RenameTitle</name>
    <message>
        <source>Rename to “%1”</source>
        <translation>In „%1“ umbenennen</translation>
    </message>
</context>
<context>
    <name>ScreenshotBackdrop</name>
    <message>
        <source>Mirel backdrop</source>
        <translation>Mirel-Hintergrund</translation>
    </message>
</context>
<context>
    <name>SetGoalCompleted</name>
    <message>
        <source>Mark “%1” as Done</source>
        <translation>„%1“ als erledigt markieren</translation>
    </message>
    <message>
        <source>Mark “%1” as Not Done</source>
        <translation>„%1“ als nicht erledigt markieren</translation>
    </message>
</context>
<context>
    <name>SyncRun</name>
    <message>
        <source>The task list could not be read: %1</source>
        <translation>Die Aufgabenliste konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The server&apos;s answer could not be read</source>
        <translation>Die Antwort des Servers konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>A goal could not be written as a task</source>
        <translation>Ein Ziel konnte nicht als Aufgabe geschrieben werden</translation>
    </message>
    <message>
        <source>A task kept changing on the server while it was written</source>
        <translation>Eine Aufgabe änderte sich auf dem Server immer wieder, während sie geschrieben wurde</translation>
    </message>
    <message>
        <source>The server refused a change: %1</source>
        <translation>Der Server hat eine Änderung abgelehnt: %1</translation>
    </message>
    <message>
        <source>A task could not be fetched: %1</source>
        <translation>Eine Aufgabe konnte nicht abgerufen werden: %1</translation>
    </message>
    <message>
        <source>The server did not accept the user name and password</source>
        <translation>Der Server hat Benutzername und Passwort nicht angenommen</translation>
    </message>
    <message>
        <source>The task list is no longer on the server</source>
        <translation>Die Aufgabenliste ist nicht mehr auf dem Server</translation>
    </message>
</context>
<context>
    <name>TodoRowView</name>
    <message>
        <source>Delete goal</source>
        <translation>Ziel löschen</translation>
    </message>
    <message>
        <source>Mark as not done</source>
        <translation>Als nicht erledigt markieren</translation>
    </message>
    <message>
        <source>Mark as done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <source>Goal</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Delete “%1”</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <source>This goal is longer than the %L1 characters a goal can hold here. It is kept whole; change it in the goals file.</source>
        <translation>Dieses Ziel ist länger als die %L1 Zeichen, die ein Ziel hier fassen kann. Es bleibt vollständig erhalten; ändern Sie es in der Zieldatei.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>could not send the text</source>
        <translation>der Text konnte nicht gesendet werden</translation>
    </message>
    <message>
        <source>another Mirel panel is running and cannot be brought to the front</source>
        <translation>eine andere Mirel-Tafel läuft und kann nicht nach vorne geholt werden</translation>
    </message>
</context>
</TS>
