<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>AddArea</name>
    <message>
        <location filename="../src/views/addarea/addarea.cpp" line="51"/>
        <location filename="../src/views/addarea/addarea.cpp" line="52"/>
        <source>New goal</source>
        <translation>Neues Ziel</translation>
    </message>
</context>
<context>
    <name>AddGoals</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="83"/>
        <source>Add “%1”</source>
        <translation>„%1“ hinzufügen</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/model/goalsteps.cpp" line="84"/>
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
        <location filename="../src/app/appdelegate.cpp" line="142"/>
        <source>a line is longer than the %L1 characters a goal can hold; nothing was added</source>
        <translation>eine Zeile ist länger als die %L1 Zeichen, die ein Ziel fassen kann; nichts wurde hinzugefügt</translation>
    </message>
</context>
<context>
    <name>CommandLineInfo</name>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="37"/>
        <source>Add each TEXT (else each input line) as a goal</source>
        <translation>Jeden TEXT (sonst jede Eingabezeile) als Ziel anlegen</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="38"/>
        <source>Add each line of the selected text as a goal</source>
        <translation>Jede Zeile des markierten Texts als Ziel hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="40"/>
        <source>Run on emptied test settings, goals from UITEST_GOALS</source>
        <translation>Mit geleerten Testeinstellungen, Ziele aus UITEST_GOALS</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="42"/>
        <source>Centre the panel before a gradient, for screenshots</source>
        <translation>Tafel vor Farbverlauf zentrieren, für Bildschirmfotos</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="43"/>
        <source>Show this help and exit</source>
        <translation>Diese Hilfe zeigen und beenden</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="44"/>
        <source>Show the version and exit</source>
        <translation>Die Version zeigen und beenden</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="187"/>
        <source>Usage: mirel [SWITCH ...]</source>
        <translation>Aufruf: mirel [SCHALTER ...]</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="188"/>
        <source>Keeps today&apos;s goals in a floating panel.</source>
        <translation>Hält die Ziele des Tages in einer schwebenden Tafel fest.</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="39"/>
        <source>Give the panel the keyboard to type a new goal</source>
        <translation>Dem Panel die Tastatur geben, um ein neues Ziel einzutippen</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="150"/>
        <source>mirel: unknown switch %1.</source>
        <translation>mirel: unbekannter Schalter %1.</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="151"/>
        <source>mirel: %1 is not a switch.</source>
        <translation>mirel: %1 ist kein Schalter.</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="153"/>
        <source>Call mom</source>
        <translation>Mama anrufen</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="155"/>
        <source>To add a goal: %1</source>
        <translation>Ein Ziel hinzufügen: %1</translation>
    </message>
    <message>
        <location filename="../src/app/commandlineinfo.cpp" line="156"/>
        <source>Every switch: %1</source>
        <translation>Alle Schalter: %1</translation>
    </message>
</context>
<context>
    <name>CountLabel</name>
    <message>
        <location filename="../src/views/header/countlabel.cpp" line="37"/>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <location filename="../src/views/header/countlabel.cpp" line="41"/>
        <source>%1 of %2 done</source>
        <translation>%1 von %2 erledigt</translation>
    </message>
</context>
<context>
    <name>EditGoalText</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="161"/>
        <source>Edit “%1”</source>
        <translation>„%1“ bearbeiten</translation>
    </message>
</context>
<context>
    <name>EmptyStateRow</name>
    <message>
        <location filename="../src/views/addarea/emptystaterow.cpp" line="18"/>
        <source>Add today&apos;s first goal</source>
        <translation>Erstes Ziel für heute hinzufügen</translation>
    </message>
</context>
<context>
    <name>GoalMenu</name>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="13"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="15"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="17"/>
        <source>Repeat</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="18"/>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="19"/>
        <source>Every Day</source>
        <translation>Jeden Tag</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="20"/>
        <source>Weekdays</source>
        <translation>Werktags</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="24"/>
        <source>Weekly on %1</source>
        <translation>Wöchentlich am %1</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="29"/>
        <source>As Set Elsewhere</source>
        <translation>Wie anderswo festgelegt</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="65"/>
        <source>Mark as Not Done</source>
        <translation>Als nicht erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="65"/>
        <source>Mark as Done</source>
        <translation>Als erledigt markieren</translation>
    </message>
</context>
<context>
    <name>GoalTextLimit</name>
    <message>
        <location filename="../src/views/kit/goaltextlimit.cpp" line="31"/>
        <source>A goal can hold at most %L1 characters; shorten the text to keep it.</source>
        <translation>Ein Ziel fasst höchstens %L1 Zeichen; kürzen Sie den Text, um ihn zu behalten.</translation>
    </message>
</context>
<context>
    <name>GoalsDisk</name>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="176"/>
        <source>the unreadable goals file %1 cannot be moved aside</source>
        <translation>die unlesbare Zieldatei %1 kann nicht beiseitegelegt werden</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="180"/>
        <source>a goal cannot be written in the goals file&apos;s form</source>
        <translation>ein Ziel kann nicht im Format der Zieldatei geschrieben werden</translation>
    </message>
    <message>
        <location filename="../src/model/diskfile.cpp" line="91"/>
        <source>cannot create the folder %1: %2</source>
        <translation>der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="206"/>
        <source>The goals file could not be read. It is kept as %1, and the goals saved on %2 were opened instead.</source>
        <translation>Die Zieldatei konnte nicht gelesen werden. Sie ist als %1 aufbewahrt, und stattdessen wurden die am %2 gespeicherten Ziele geöffnet.</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="208"/>
        <source>Part of the goals file could not be read. The file as it was is kept as %1.</source>
        <translation>Ein Teil der Zieldatei konnte nicht gelesen werden. Die Datei, wie sie war, ist als %1 aufbewahrt.</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="187"/>
        <source>cannot write the goals file %1: %2</source>
        <translation>die Zieldatei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <location filename="../src/model/diskfile.cpp" line="101"/>
        <source>cannot delete %1: %2</source>
        <translation>%1 kann nicht gelöscht werden: %2</translation>
    </message>
</context>
<context>
    <name>IntakeClient</name>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="73"/>
        <source>the panel closed the connection without answering</source>
        <translation>die Tafel hat die Verbindung ohne Antwort geschlossen</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="76"/>
        <source>the panel did not answer in time</source>
        <translation>die Tafel hat nicht rechtzeitig geantwortet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="80"/>
        <source>the panel gave an unreadable answer</source>
        <translation>die Tafel hat eine unlesbare Antwort gegeben</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="101"/>
        <source>the panel refused the text: %1</source>
        <translation>die Tafel hat den Text abgelehnt: %1</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="133"/>
        <source>there is no private runtime folder to reach the panel through</source>
        <translation>es gibt keinen privaten Laufzeitordner, über den die Tafel erreichbar ist</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="146"/>
        <source>could not start the panel %1</source>
        <translation>die Tafel %1 konnte nicht gestartet werden</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="153"/>
        <source>the panel started for the text quit at once (can it open a window?)</source>
        <translation>die für den Text gestartete Tafel hat sich sofort beendet (kann sie ein Fenster öffnen?)</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="157"/>
        <source>no Mirel panel answered within %1 seconds</source>
        <translation>keine Mirel-Tafel hat innerhalb von %1 Sekunden geantwortet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="188"/>
        <source>the text is larger than the limit of %1 bytes; nothing was sent</source>
        <translation>der Text überschreitet die Grenze von %1 Bytes; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="196"/>
        <source>could not send the text: %1</source>
        <translation>der Text konnte nicht gesendet werden: %1</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="211"/>
        <source>Added %1 goal to Mirel.</source>
        <translation>%1 Ziel zu Mirel hinzugefügt.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="212"/>
        <source>Added %1 goals to Mirel.</source>
        <translation>%1 Ziele zu Mirel hinzugefügt.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="258"/>
        <source>cannot read standard input; nothing was sent</source>
        <translation>die Standardeingabe ist nicht lesbar; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="268"/>
        <source>no display to read the selection from; nothing was sent</source>
        <translation>kein Bildschirm, von dem die Auswahl gelesen werden kann; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="275"/>
        <source>no text is selected; nothing was sent</source>
        <translation>kein Text ist markiert; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="293"/>
        <source>another Mirel panel holds %1, but %2</source>
        <translation>eine andere Mirel-Tafel hält %1, aber %2</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="202"/>
        <source>the panel took the text (%1 goal) but could not save it: %2. It stays in the panel and is written by the panel&apos;s next save that succeeds; do not send it again.</source>
        <translation>das Panel hat den Text angenommen (%1 Ziel), konnte ihn aber nicht speichern: %2. Er bleibt im Panel und wird beim nächsten gelungenen Speichern geschrieben; senden Sie ihn nicht noch einmal.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="205"/>
        <source>the panel took the text (%1 goals) but could not save it: %2. It stays in the panel and is written by the panel&apos;s next save that succeeds; do not send it again.</source>
        <translation>das Panel hat den Text angenommen (%1 Ziele), konnte ihn aber nicht speichern: %2. Er bleibt im Panel und wird beim nächsten gelungenen Speichern geschrieben; senden Sie ihn nicht noch einmal.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="236"/>
        <source>could not reach the panel: %1</source>
        <translation>das Panel ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="60"/>
        <source>Mirel</source>
        <translation>Mirel</translation>
    </message>
</context>
<context>
    <name>IntakeModule</name>
    <message>
        <location filename="../src/app/intake/intakemodule.cpp" line="46"/>
        <source>the intake module %1 is missing</source>
        <translation>das Empfangsmodul %1 fehlt</translation>
    </message>
</context>
<context>
    <name>MoveGoal</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="234"/>
        <source>Move “%1”</source>
        <translation>„%1“ verschieben</translation>
    </message>
</context>
<context>
    <name>PanelActions</name>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="22"/>
        <source>New Goal</source>
        <translation>Neues Ziel</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="24"/>
        <source>Remove Done Goals</source>
        <translation>Erledigte Ziele entfernen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="25"/>
        <source>Clear Done Goals Each Day</source>
        <translation>Erledigte Ziele jeden Tag entfernen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="27"/>
        <source>Open at Login</source>
        <translation>Beim Anmelden öffnen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="29"/>
        <source>Quit Mirel</source>
        <translation>Mirel beenden</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="35"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="35"/>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="37"/>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="37"/>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="43"/>
        <source>Rename “%1”…</source>
        <translation>„%1“ umbenennen…</translation>
    </message>
</context>
<context>
    <name>PanelHeader</name>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="68"/>
        <location filename="../src/views/header/panelheader.cpp" line="69"/>
        <source>Add goal</source>
        <translation>Ziel hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="106"/>
        <location filename="../src/views/header/panelheader.cpp" line="107"/>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="129"/>
        <source>Your goals are not saved: %1. Mirel tries again with every change.</source>
        <translation>Ihre Ziele sind nicht gespeichert: %1. Mirel versucht es bei jeder Änderung erneut.</translation>
    </message>
</context>
<context>
    <name>PanelTitle</name>
    <message>
        <location filename="../src/views/header/paneltitle.cpp" line="21"/>
        <source>Today&apos;s Goals</source>
        <translation>Heutige Ziele</translation>
    </message>
</context>
<context>
    <name>QuitGuard</name>
    <message>
        <location filename="../src/app/quitguard.cpp" line="62"/>
        <source>Quit Mirel?</source>
        <translation>Mirel beenden?</translation>
    </message>
    <message>
        <location filename="../src/app/quitguard.cpp" line="62"/>
        <source>Some goals are not saved.</source>
        <translation>Einige Ziele sind nicht gespeichert.</translation>
    </message>
    <message>
        <location filename="../src/app/quitguard.cpp" line="63"/>
        <source>They cannot be written: %1. Quitting now loses them.</source>
        <translation>Sie können nicht geschrieben werden: %1. Wenn Mirel jetzt beendet wird, gehen sie verloren.</translation>
    </message>
    <message>
        <location filename="../src/app/quitguard.cpp" line="64"/>
        <source>Quit Anyway</source>
        <translation>Trotzdem beenden</translation>
    </message>
</context>
<context>
    <name>RemoveGoals</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="272"/>
        <source>Delete “%1”</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="274"/>
        <source>Remove Done Goals</source>
        <translation>Erledigte Ziele entfernen</translation>
    </message>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="276"/>
        <source>Clear Done Goals</source>
        <translation>Erledigte Ziele des Vortags entfernen</translation>
    </message>
</context>
<context>
    <name>RenameTitle</name>
    <message>
        <location filename="../src/views/header/paneltitle.cpp" line="47"/>
        <source>Rename to “%1”</source>
        <translation>In „%1“ umbenennen</translation>
    </message>
</context>
<context>
    <name>RepeatWords</name>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="16"/>
        <source>Monday</source>
        <translation>Montag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="17"/>
        <source>Tuesday</source>
        <translation>Dienstag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="17"/>
        <source>Wednesday</source>
        <translation>Mittwoch</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="18"/>
        <source>Thursday</source>
        <translation>Donnerstag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="18"/>
        <source>Friday</source>
        <translation>Freitag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="19"/>
        <source>Saturday</source>
        <translation>Samstag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="19"/>
        <source>Sunday</source>
        <translation>Sonntag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="29"/>
        <source>repeats every day</source>
        <translation>wiederholt sich jeden Tag</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="31"/>
        <source>repeats on weekdays</source>
        <translation>wiederholt sich werktags</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="38"/>
        <source>%1 and %2</source>
        <comment>the last of a list of days</comment>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="39"/>
        <source>, </source>
        <comment>between days</comment>
        <translation>, </translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="40"/>
        <source>repeats on %1</source>
        <translation>wiederholt sich am %1</translation>
    </message>
    <message>
        <location filename="../src/views/rows/repeatwords.cpp" line="43"/>
        <source>repeats as set elsewhere</source>
        <translation>wiederholt sich wie anderswo festgelegt</translation>
    </message>
</context>
<context>
    <name>ScreenshotBackdrop</name>
    <message>
        <location filename="../src/app/panel/screenshotbackdrop.cpp" line="20"/>
        <source>Mirel backdrop</source>
        <translation>Mirel-Hintergrund</translation>
    </message>
</context>
<context>
    <name>SetGoalCompleted</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="131"/>
        <source>Mark “%1” as Done</source>
        <translation>„%1“ als erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="132"/>
        <source>Mark “%1” as Not Done</source>
        <translation>„%1“ als nicht erledigt markieren</translation>
    </message>
</context>
<context>
    <name>SetGoalRepeat</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="199"/>
        <source>Repeat “%1”</source>
        <translation>„%1“ wiederholen</translation>
    </message>
</context>
<context>
    <name>TodoRowView</name>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="69"/>
        <source>Delete goal</source>
        <translation>Ziel löschen</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="243"/>
        <source>Mark as not done</source>
        <translation>Als nicht erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="243"/>
        <source>Mark as done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="184"/>
        <source>Goal</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="255"/>
        <source>Delete “%1”</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="173"/>
        <source>This goal is longer than the %L1 characters a goal can hold here. It is kept whole; change it in the goals file.</source>
        <translation>Dieses Ziel ist länger als die %L1 Zeichen, die ein Ziel hier fassen kann. Es bleibt vollständig erhalten; ändern Sie es in der Zieldatei.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/app/main.cpp" line="77"/>
        <source>could not send the text</source>
        <translation>der Text konnte nicht gesendet werden</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="84"/>
        <source>another Mirel panel is running and cannot be brought to the front</source>
        <translation>eine andere Mirel-Tafel läuft und kann nicht nach vorne geholt werden</translation>
    </message>
</context>
</TS>
