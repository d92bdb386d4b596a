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
        <location filename="../src/model/addgoals.cpp" line="23"/>
        <source>Add “%1”</source>
        <translation>„%1“ hinzufügen</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/model/addgoals.cpp" line="24"/>
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
        <location filename="../src/app/appdelegate.cpp" line="166"/>
        <source>a line is longer than the %L1 characters a goal can hold; nothing was added</source>
        <translation>eine Zeile ist länger als die %L1 Zeichen, die ein Ziel fassen kann; nichts wurde hinzugefügt</translation>
    </message>
</context>
<context>
    <name>CalendarCommandRun</name>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="47"/>
        <source>Password: </source>
        <translation>Passwort: </translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="93"/>
        <source>the server has no task list for this user: make one with --new-list NAME</source>
        <translation>der Server hat keine Aufgabenliste für diesen Benutzer: legen Sie eine mit --new-list NAME an</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="98"/>
        <source>the server has no task list &quot;%1&quot;; it has:</source>
        <translation>der Server hat keine Aufgabenliste „%1“; er hat:</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="114"/>
        <source>the server has a task list &quot;%1&quot; already: connect to it with --list &quot;%1&quot;</source>
        <translation>der Server hat schon eine Aufgabenliste „%1“: verbinden Sie sie mit --list „%1“</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="164"/>
        <source>cannot connect to %1: %2</source>
        <translation>keine Verbindung zu %1: %2</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="167"/>
        <source>if this is the server&apos;s own certificate, trust it by connecting again with --trust-certificate %1</source>
        <translation>ist es das eigene Zertifikat des Servers, vertrauen Sie ihm, indem Sie erneut mit --trust-certificate %1 verbinden</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="190"/>
        <source>cannot make the task list &quot;%1&quot;: %2</source>
        <translation>die Aufgabenliste „%1“ kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="103"/>
        <source>choose one of the task lists with --list NAME:</source>
        <translation>wählen Sie eine der Aufgabenlisten mit --list NAME:</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="135"/>
        <source>Syncing the goals with the task list &quot;%1&quot; on %2.</source>
        <translation>Die Ziele werden mit der Aufgabenliste „%1“ auf %2 abgeglichen.</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="126"/>
        <source>%1, and no panel runs to keep the password: start the panel, then connect again</source>
        <translation>%1, und kein Panel läuft, das das Passwort behalten könnte: starten Sie das Panel und verbinden Sie dann erneut</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="138"/>
        <source>%1: the running panel keeps the password until it quits. To keep it for good, run mirel --connect-calendar again once the keyring is unlocked.</source>
        <translation>%1: Das laufende Panel behält das Passwort, bis es beendet wird. Damit es dauerhaft bleibt, führen Sie mirel --connect-calendar erneut aus, sobald der Schlüsselbund entsperrt ist.</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="205"/>
        <source>No task list is connected.</source>
        <translation>Keine Aufgabenliste ist verbunden.</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="211"/>
        <source>Stopped syncing with &quot;%1&quot;. The goals stay on this computer, and the server keeps its tasks.</source>
        <translation>Der Abgleich mit „%1“ ist beendet. Die Ziele bleiben auf diesem Rechner, und der Server behält seine Aufgaben.</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="223"/>
        <source>Not syncing with a calendar server.</source>
        <translation>Kein Abgleich mit einem Kalenderserver.</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="230"/>
        <source>Server: %1</source>
        <translation>Server: %1</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="232"/>
        <source>Task list: %1 (%2)</source>
        <translation>Aufgabenliste: %1 (%2)</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="234"/>
        <source>Last sync: %1</source>
        <translation>Letzter Abgleich: %1</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="236"/>
        <source>never</source>
        <translation>nie</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="237"/>
        <source>Changes waiting: %1</source>
        <translation>Wartende Änderungen: %1</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="239"/>
        <source>Note: %1</source>
        <translation>Hinweis: %1</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="240"/>
        <source>Last error: %1</source>
        <translation>Letzter Fehler: %1</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="242"/>
        <source>none</source>
        <translation>keiner</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarcommandrun.cpp" line="262"/>
        <source>%1 is not a server address.</source>
        <translation>%1 ist keine Serveradresse.</translation>
    </message>
</context>
<context>
    <name>CalendarConnectDialog</name>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="28"/>
        <source>Trust This Certificate</source>
        <translation>Diesem Zertifikat vertrauen</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="31"/>
        <source>Sync with a Calendar Server</source>
        <translation>Mit einem Kalenderserver abgleichen</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="32"/>
        <source>https://cloud.example.org</source>
        <translation>https://cloud.example.org</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="36"/>
        <source>An app password, where the server offers them</source>
        <translation>Ein App-Passwort, wo der Server welche anbietet</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="41"/>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="42"/>
        <source>User name:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="43"/>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="44"/>
        <source>Task list:</source>
        <translation>Aufgabenliste:</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="47"/>
        <source>Choose a task list</source>
        <translation>Aufgabenliste wählen</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="57"/>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="116"/>
        <source>Asking the server…</source>
        <translation>Der Server wird gefragt …</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarconnectdialog.cpp" line="130"/>
        <source>New list “%1”</source>
        <translation>Neue Liste „%1“</translation>
    </message>
</context>
<context>
    <name>CalendarSecret</name>
    <message>
        <location filename="../src/app/sync/calendarsecret.cpp" line="42"/>
        <source>There is no keyring (Secret Service) on this desktop</source>
        <translation>Auf diesem Desktop gibt es keinen Schlüsselbund (Secret Service)</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarsecret.cpp" line="44"/>
        <source>The keyring&apos;s prompt was cancelled</source>
        <translation>Die Abfrage des Schlüsselbunds wurde abgebrochen</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarsecret.cpp" line="45"/>
        <source>The keyring is locked, or its prompt was cancelled</source>
        <translation>Der Schlüsselbund ist gesperrt, oder seine Abfrage wurde abgebrochen</translation>
    </message>
</context>
<context>
    <name>CalendarSyncLink</name>
    <message>
        <location filename="../src/app/sync/calendarsynclink.cpp" line="31"/>
        <source>The sync module cannot be loaded: %1</source>
        <translation>Das Abgleichsmodul kann nicht geladen werden: %1</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/sync/calendarsynclink.cpp" line="50"/>
        <source>%n change(s) waiting to go to the calendar server</source>
        <translation>
            <numerusform>%n Änderung wartet auf den Kalenderserver</numerusform>
            <numerusform>%n Änderungen warten auf den Kalenderserver</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CalendarSyncSession</name>
    <message>
        <location filename="../src/app/sync/calendarsyncsession.cpp" line="31"/>
        <source>The keyring did not keep the password, so Mirel keeps it only until it quits.
To keep it for good, run mirel --connect-calendar again once the keyring is unlocked.</source>
        <translation>Der Schlüsselbund hat das Passwort nicht gespeichert, daher behält Mirel es nur, bis es beendet wird.
Damit es dauerhaft bleibt, führen Sie mirel --connect-calendar erneut aus, sobald der Schlüsselbund entsperrt ist.</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarsyncsession.cpp" line="54"/>
        <source>The keyring holds no password for this task list: run mirel --connect-calendar again</source>
        <translation>Der Schlüsselbund hat kein Passwort für diese Aufgabenliste: führen Sie mirel --connect-calendar erneut aus</translation>
    </message>
    <message>
        <location filename="../src/app/sync/calendarsyncsession.cpp" line="55"/>
        <source>%1, so the password cannot be read: unlock the keyring and choose Sync Now, or run mirel --connect-calendar again</source>
        <translation>%1, daher kann das Passwort nicht gelesen werden: entsperren Sie den Schlüsselbund und wählen Sie „Jetzt abgleichen“, oder führen Sie mirel --connect-calendar erneut aus</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="49"/>
        <source>Add each TEXT (else each input line) as a goal</source>
        <translation>Jeden TEXT (sonst jede Eingabezeile) als Ziel anlegen</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="54"/>
        <source>Add the goals with a reminder at TIME: 15:00 or &quot;2026-12-10 09:00&quot;</source>
        <translation>Die Ziele mit einer Erinnerung um TIME hinzufügen: 15:00 oder &quot;2026-12-10 09:00&quot;</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="57"/>
        <source>Add each line of the selected text as a goal</source>
        <translation>Jede Zeile des markierten Texts als Ziel hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="64"/>
        <source>Sync the goals with a task list on a calendar server</source>
        <translation>Die Ziele mit einer Aufgabenliste auf einem Kalenderserver abgleichen</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="71"/>
        <source>Stop syncing; the goals stay here</source>
        <translation>Den Abgleich beenden; die Ziele bleiben hier</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="74"/>
        <source>Show the sync&apos;s state; exit 0 when in sync</source>
        <translation>Den Stand des Abgleichs zeigen; 0 als Rückgabe, wenn abgeglichen</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="77"/>
        <source>Run on emptied test settings, goals from UITEST_GOALS</source>
        <translation>Mit geleerten Testeinstellungen, Ziele aus UITEST_GOALS</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="80"/>
        <source>Centre the panel before a gradient, for screenshots</source>
        <translation>Tafel vor Farbverlauf zentrieren, für Bildschirmfotos</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="84"/>
        <source>Show this help and exit</source>
        <translation>Diese Hilfe zeigen und beenden</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="88"/>
        <source>Show the version and exit</source>
        <translation>Die Version zeigen und beenden</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="317"/>
        <source>Usage: mirel [SWITCH ...]</source>
        <translation>Aufruf: mirel [SCHALTER ...]</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="318"/>
        <source>Keeps today&apos;s goals in a floating panel.</source>
        <translation>Hält die Ziele des Tages in einer schwebenden Tafel fest.</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandlineswitches.h" line="60"/>
        <source>Give the panel the keyboard to type a new goal</source>
        <translation>Dem Panel die Tastatur geben, um ein neues Ziel einzutippen</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="303"/>
        <source>mirel: unknown switch %1.</source>
        <translation>mirel: unbekannter Schalter %1.</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="304"/>
        <source>mirel: %1 is not a switch.</source>
        <translation>mirel: %1 ist kein Schalter.</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="306"/>
        <source>Call mom</source>
        <translation>Mama anrufen</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="307"/>
        <source>To add a goal: %1</source>
        <translation>Ein Ziel hinzufügen: %1</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="308"/>
        <source>Every switch: %1</source>
        <translation>Alle Schalter: %1</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="286"/>
        <source>Usage: mirel --connect-calendar URL --user NAME [--list NAME | --new-list NAME] [--trust-certificate FINGERPRINT]</source>
        <translation>Aufruf: mirel --connect-calendar URL --user NAME [--list NAME | --new-list NAME] [--trust-certificate FINGERABDRUCK]</translation>
    </message>
    <message>
        <location filename="../src/app/start/commandline.cpp" line="291"/>
        <source>%1 takes nothing after it.</source>
        <translation>Nach %1 folgt nichts mehr.</translation>
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
    <name>DavHttp</name>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="48"/>
        <source>%1 is not a server address</source>
        <translation>%1 ist keine Serveradresse</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="51"/>
        <source>%1 is not HTTPS; only a server on this computer may go without</source>
        <translation>%1 ist kein HTTPS; nur ein Server auf diesem Rechner darf ohne</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="102"/>
        <location filename="../src/sync/davhttp.cpp" line="180"/>
        <source>The server&apos;s answer is larger than %1 MB</source>
        <translation>Die Antwort des Servers ist größer als %1 MB</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="109"/>
        <source>The server took too long to answer</source>
        <translation>Der Server hat zu lange für die Antwort gebraucht</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="130"/>
        <source>The server&apos;s certificate is not trusted by this computer (%1): %2</source>
        <translation>Dieser Computer vertraut dem Zertifikat des Servers nicht (%1): %2</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="132"/>
        <source>The server&apos;s certificate is not the one trusted for it: it is now %1</source>
        <translation>Der Server hat nicht mehr das Zertifikat, dem vertraut wurde: jetzt ist es %1</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="159"/>
        <source>The server sent the request on to %1, another server</source>
        <translation>Der Server hat die Anfrage an %1 weitergeleitet, einen anderen Server</translation>
    </message>
    <message>
        <location filename="../src/sync/davhttp.cpp" line="161"/>
        <source>The server sent the request on too many times</source>
        <translation>Der Server hat die Anfrage zu oft weitergeleitet</translation>
    </message>
</context>
<context>
    <name>EditGoalText</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="49"/>
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
    <name>GnomeKeybinding</name>
    <message>
        <location filename="../src/app/shortcut/gnomekeybinding.cpp" line="33"/>
        <source>the gsettings command is missing</source>
        <translation>der Befehl gsettings fehlt</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/gnomekeybinding.cpp" line="34"/>
        <source>gsettings did not answer</source>
        <translation>gsettings hat nicht geantwortet</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/gnomekeybinding.cpp" line="38"/>
        <source>gsettings failed</source>
        <translation>gsettings ist fehlgeschlagen</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/gnomekeybinding.cpp" line="58"/>
        <source>GNOME&apos;s list of custom shortcuts is unreadable</source>
        <translation>GNOMEs Liste eigener Tastenkürzel ist unlesbar</translation>
    </message>
</context>
<context>
    <name>GoalMenu</name>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="18"/>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="20"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="22"/>
        <source>Repeat</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="23"/>
        <source>Never</source>
        <translation>Nie</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="24"/>
        <source>Every Day</source>
        <translation>Jeden Tag</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="25"/>
        <source>Weekdays</source>
        <translation>Werktags</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="28"/>
        <source>Weekly on %1</source>
        <translation>Wöchentlich am %1</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="33"/>
        <source>As Set Elsewhere</source>
        <translation>Wie anderswo festgelegt</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="66"/>
        <source>Remind Me</source>
        <translation>Erinnern</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="67"/>
        <source>In 1 Hour</source>
        <translation>In 1 Stunde</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="69"/>
        <source>This Evening</source>
        <translation>Heute Abend</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="74"/>
        <source>Tomorrow Morning</source>
        <translation>Morgen früh</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="77"/>
        <source>At a Time…</source>
        <translation>Zu einer Zeit …</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="79"/>
        <source>No Reminder</source>
        <translation>Keine Erinnerung</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="141"/>
        <source>Mark as Not Done</source>
        <translation>Als nicht erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/views/panel/goalmenu.cpp" line="141"/>
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
        <location filename="../src/model/goalsdisk.cpp" line="191"/>
        <source>the unreadable goals file %1 cannot be moved aside</source>
        <translation>die unlesbare Zieldatei %1 kann nicht beiseitegelegt werden</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="195"/>
        <source>a goal cannot be written in the goals file&apos;s form</source>
        <translation>ein Ziel kann nicht im Format der Zieldatei geschrieben werden</translation>
    </message>
    <message>
        <location filename="../src/model/diskfile.cpp" line="91"/>
        <source>cannot create the folder %1: %2</source>
        <translation>der Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="221"/>
        <source>The goals file could not be read. It is kept as %1, and the goals saved on %2 were opened instead.</source>
        <translation>Die Zieldatei konnte nicht gelesen werden. Sie ist als %1 aufbewahrt, und stattdessen wurden die am %2 gespeicherten Ziele geöffnet.</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="223"/>
        <source>Part of the goals file could not be read. The file as it was is kept as %1.</source>
        <translation>Ein Teil der Zieldatei konnte nicht gelesen werden. Die Datei, wie sie war, ist als %1 aufbewahrt.</translation>
    </message>
    <message>
        <location filename="../src/model/goalsdisk.cpp" line="202"/>
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
        <location filename="../src/app/intake/intakeclient.cpp" line="199"/>
        <source>could not send the text: %1</source>
        <translation>der Text konnte nicht gesendet werden: %1</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="214"/>
        <source>Added %1 goal to Mirel.</source>
        <translation>%1 Ziel zu Mirel hinzugefügt.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="215"/>
        <source>Added %1 goals to Mirel.</source>
        <translation>%1 Ziele zu Mirel hinzugefügt.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="261"/>
        <source>cannot read standard input; nothing was sent</source>
        <translation>die Standardeingabe ist nicht lesbar; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="271"/>
        <source>no display to read the selection from; nothing was sent</source>
        <translation>kein Bildschirm, von dem die Auswahl gelesen werden kann; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="278"/>
        <source>no text is selected; nothing was sent</source>
        <translation>kein Text ist markiert; nichts wurde gesendet</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="296"/>
        <source>another Mirel panel holds %1, but %2</source>
        <translation>eine andere Mirel-Tafel hält %1, aber %2</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="205"/>
        <source>the panel took the text (%1 goal) but could not save it: %2. It stays in the panel and is written by the panel&apos;s next save that succeeds; do not send it again.</source>
        <translation>das Panel hat den Text angenommen (%1 Ziel), konnte ihn aber nicht speichern: %2. Er bleibt im Panel und wird beim nächsten gelungenen Speichern geschrieben; senden Sie ihn nicht noch einmal.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="208"/>
        <source>the panel took the text (%1 goals) but could not save it: %2. It stays in the panel and is written by the panel&apos;s next save that succeeds; do not send it again.</source>
        <translation>das Panel hat den Text angenommen (%1 Ziele), konnte ihn aber nicht speichern: %2. Er bleibt im Panel und wird beim nächsten gelungenen Speichern geschrieben; senden Sie ihn nicht noch einmal.</translation>
    </message>
    <message>
        <location filename="../src/app/intake/intakeclient.cpp" line="239"/>
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
    <name>MomentWords</name>
    <message>
        <location filename="../src/views/rows/momentwords.cpp" line="44"/>
        <location filename="../src/views/rows/momentwords.cpp" line="47"/>
        <source>due %1</source>
        <translation>fällig %1</translation>
    </message>
    <message>
        <location filename="../src/views/rows/momentwords.cpp" line="46"/>
        <source>due today</source>
        <translation>heute fällig</translation>
    </message>
    <message>
        <location filename="../src/views/rows/momentwords.cpp" line="62"/>
        <source>reminder at %1</source>
        <translation>Erinnerung um %1</translation>
    </message>
</context>
<context>
    <name>MoveGoal</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="156"/>
        <source>Move “%1”</source>
        <translation>„%1“ verschieben</translation>
    </message>
</context>
<context>
    <name>NewGoalHotkey</name>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="109"/>
        <source>GNOME&apos;s keyboard settings could not be changed: %1.</source>
        <translation>GNOMEs Tastatureinstellungen konnten nicht geändert werden: %1.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="116"/>
        <source>GNOME lets no program take %1 for itself; Mirel can add it to GNOME&apos;s keyboard shortcuts for you.</source>
        <translation>GNOME lässt kein Programm %1 selbst belegen; Mirel kann es für Sie zu GNOMEs Tastenkürzeln hinzufügen.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="123"/>
        <source>This desktop lets no program take %1 for itself; add the line below to its configuration.</source>
        <translation>Diese Arbeitsumgebung lässt kein Programm %1 selbst belegen; fügen Sie die Zeile unten ihrer Konfiguration hinzu.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="143"/>
        <source>New goal</source>
        <translation>Neues Ziel</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="170"/>
        <source>%1 cannot be taken through the desktop portal: %2.</source>
        <translation>%1 kann nicht über das Desktop-Portal belegt werden: %2.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="172"/>
        <source>KDE Plasma gave %1 to none of Mirel&apos;s shortcuts, as another shortcut may hold it; choose one for “mirel” in System Settings, under Shortcuts.</source>
        <translation>KDE Plasma hat %1 keinem Kürzel von Mirel gegeben, vielleicht belegt es ein anderes Kürzel; wählen Sie eines für „mirel“ in den Systemeinstellungen unter Kurzbefehle.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="179"/>
        <source>KDE Plasma keeps %1 for this shortcut; change it for “mirel” in System Settings, under Shortcuts.</source>
        <translation>KDE Plasma behält %1 für dieses Kürzel; ändern Sie es für „mirel“ in den Systemeinstellungen unter Kurzbefehle.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="198"/>
        <source>%1 is already taken by another program; choose another shortcut.</source>
        <translation>%1 ist schon von einem anderen Programm belegt; wählen Sie ein anderes Tastenkürzel.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="200"/>
        <source>%1 has no key on this keyboard; choose another shortcut.</source>
        <translation>%1 hat keine Taste auf dieser Tastatur; wählen Sie ein anderes Tastenkürzel.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalhotkey.cpp" line="205"/>
        <source>%1 cannot be taken on this desktop.</source>
        <translation>%1 lässt sich in dieser Arbeitsumgebung nicht belegen.</translation>
    </message>
</context>
<context>
    <name>NewGoalShortcutDialog</name>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="19"/>
        <source>New Goal Shortcut</source>
        <translation>Tastenkürzel für neue Ziele</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="21"/>
        <source>Press the keys that open a new goal from any program.</source>
        <translation>Drücken Sie die Tasten, die aus jedem Programm ein neues Ziel öffnen.</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="28"/>
        <source>Shortcut</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="43"/>
        <source>Add to GNOME&apos;s Shortcuts</source>
        <translation>Zu GNOMEs Tastenkürzeln hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="43"/>
        <source>Use Shortcut</source>
        <translation>Tastenkürzel verwenden</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="45"/>
        <source>&amp;Switch Off</source>
        <translation>&amp;Ausschalten</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/newgoalshortcutdialog.cpp" line="51"/>
        <source>Mirel adds a custom shortcut to GNOME&apos;s keyboard settings that runs “mirel --new-goal”; your own shortcuts stay as they are.</source>
        <translation>Mirel fügt GNOMEs Tastatureinstellungen ein eigenes Tastenkürzel hinzu, das „mirel --new-goal“ ausführt; Ihre eigenen Tastenkürzel bleiben, wie sie sind.</translation>
    </message>
</context>
<context>
    <name>NewGoalShortcutLink</name>
    <message>
        <location filename="../src/app/newgoalshortcutlink.cpp" line="48"/>
        <source>The new-goal shortcut does not work</source>
        <translation>Das Tastenkürzel für neue Ziele funktioniert nicht</translation>
    </message>
</context>
<context>
    <name>NewTaskList</name>
    <message>
        <location filename="../src/sync/newtasklist.cpp" line="37"/>
        <source>The server did not accept the user name and password</source>
        <translation>Der Server hat Benutzername und Passwort nicht angenommen</translation>
    </message>
    <message>
        <location filename="../src/sync/newtasklist.cpp" line="39"/>
        <source>The server does not let this account make a task list</source>
        <translation>Der Server lässt dieses Konto keine Aufgabenliste anlegen</translation>
    </message>
    <message>
        <location filename="../src/sync/newtasklist.cpp" line="40"/>
        <source>The server did not make the task list: HTTP %1</source>
        <translation>Der Server hat die Aufgabenliste nicht angelegt: HTTP %1</translation>
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
        <location filename="../src/views/panel/panelactions.cpp" line="32"/>
        <source>Quit Mirel</source>
        <translation>Mirel beenden</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="33"/>
        <source>Sync with a Calendar Server…</source>
        <translation>Mit einem Kalenderserver abgleichen …</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="34"/>
        <source>Sync Now</source>
        <translation>Jetzt abgleichen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="35"/>
        <source>Stop Syncing</source>
        <translation>Abgleich beenden</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="42"/>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="42"/>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="44"/>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="44"/>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="50"/>
        <source>Rename “%1”…</source>
        <translation>„%1“ umbenennen…</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="68"/>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="71"/>
        <source>%1 unavailable</source>
        <translation>%1 nicht verfügbar</translation>
    </message>
    <message>
        <location filename="../src/views/panel/panelactions.cpp" line="75"/>
        <source>New Goal Shortcut…</source>
        <translation>Tastenkürzel für neue Ziele…</translation>
    </message>
</context>
<context>
    <name>PanelHeader</name>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="71"/>
        <location filename="../src/views/header/panelheader.cpp" line="72"/>
        <source>Add goal</source>
        <translation>Ziel hinzufügen</translation>
    </message>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="109"/>
        <location filename="../src/views/header/panelheader.cpp" line="110"/>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="132"/>
        <source>Your goals are not saved: %1. Mirel tries again with every change.</source>
        <translation>Ihre Ziele sind nicht gespeichert: %1. Mirel versucht es bei jeder Änderung erneut.</translation>
    </message>
    <message>
        <location filename="../src/views/header/panelheader.cpp" line="146"/>
        <source>Not synced: %1</source>
        <translation>Nicht abgeglichen: %1</translation>
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
    <name>PortalShortcutBinding</name>
    <message>
        <location filename="../src/app/shortcut/portalshortcutbinding.cpp" line="62"/>
        <source>there is no session bus</source>
        <translation>es gibt keinen Sitzungsbus</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/portalshortcutbinding.cpp" line="67"/>
        <source>the desktop portal did not answer</source>
        <translation>das Desktop-Portal hat nicht geantwortet</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/portalshortcutbinding.cpp" line="92"/>
        <source>the desktop portal offers no global shortcuts here (%1)</source>
        <translation>das Desktop-Portal bietet hier keine globalen Kürzel an (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/portalshortcutbinding.cpp" line="127"/>
        <source>the shortcut was declined</source>
        <translation>das Kürzel wurde abgelehnt</translation>
    </message>
    <message>
        <location filename="../src/app/shortcut/portalshortcutbinding.cpp" line="127"/>
        <source>the desktop portal refused the shortcut</source>
        <translation>das Desktop-Portal hat das Kürzel abgelehnt</translation>
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
    <name>ReminderChoices</name>
    <message>
        <location filename="../src/model/reminderchoices.cpp" line="68"/>
        <source>There is no such date.</source>
        <translation>Dieses Datum gibt es nicht.</translation>
    </message>
    <message>
        <location filename="../src/model/reminderchoices.cpp" line="70"/>
        <source>That moment has passed; choose one still to come.</source>
        <translation>Dieser Zeitpunkt ist vorbei; wähle einen, der noch kommt.</translation>
    </message>
    <message>
        <location filename="../src/model/reminderchoices.cpp" line="79"/>
        <source>cannot read the time “%1”; give a time as %2 or a date and a time as “%3”</source>
        <translation>die Zeit „%1“ ist nicht lesbar; gib eine Uhrzeit wie %2 oder Datum und Uhrzeit wie „%3“ an</translation>
    </message>
    <message>
        <location filename="../src/model/reminderchoices.cpp" line="94"/>
        <source>the time “%1” has passed already</source>
        <translation>die Zeit „%1“ ist schon vorbei</translation>
    </message>
</context>
<context>
    <name>ReminderNotices</name>
    <message>
        <location filename="../src/app/remindernotices.cpp" line="33"/>
        <source>Mark as Done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/app/remindernotices.cpp" line="34"/>
        <source>In 10 Minutes</source>
        <translation>In 10 Minuten</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/remindernotices.cpp" line="49"/>
        <source>%n reminders while Mirel was not running</source>
        <translation>
            <numerusform>%n Erinnerung, während Mirel nicht lief</numerusform>
            <numerusform>%n Erinnerungen, während Mirel nicht lief</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReminderTimeDialog</name>
    <message>
        <location filename="../src/views/panel/remindertimedialog.cpp" line="32"/>
        <location filename="../src/views/panel/remindertimedialog.cpp" line="46"/>
        <source>Remind Me</source>
        <translation>Erinnern</translation>
    </message>
    <message>
        <location filename="../src/views/panel/remindertimedialog.cpp" line="43"/>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <location filename="../src/views/panel/remindertimedialog.cpp" line="44"/>
        <source>Time</source>
        <translation>Uhrzeit</translation>
    </message>
</context>
<context>
    <name>RemoveGoals</name>
    <message>
        <location filename="../src/model/removegoals.cpp" line="25"/>
        <source>Delete “%1”</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <location filename="../src/model/removegoals.cpp" line="27"/>
        <source>Remove Done Goals</source>
        <translation>Erledigte Ziele entfernen</translation>
    </message>
    <message>
        <location filename="../src/model/removegoals.cpp" line="29"/>
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
    <name>RuntimeModule</name>
    <message>
        <location filename="../src/app/runtimemodule.cpp" line="27"/>
        <source>the module %1 is missing</source>
        <translation>das Modul %1 fehlt</translation>
    </message>
    <message>
        <location filename="../src/app/runtimemodule.h" line="25"/>
        <source>the module %1 is not the one expected</source>
        <translation>das Modul %1 ist nicht das erwartete</translation>
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
        <location filename="../src/model/goalsteps.cpp" line="19"/>
        <source>Mark “%1” as Done</source>
        <translation>„%1“ als erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="20"/>
        <source>Mark “%1” as Not Done</source>
        <translation>„%1“ als nicht erledigt markieren</translation>
    </message>
</context>
<context>
    <name>SetGoalReminder</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="139"/>
        <source>Remind Me for “%1”</source>
        <translation>Erinnern an „%1“</translation>
    </message>
</context>
<context>
    <name>SetGoalRepeat</name>
    <message>
        <location filename="../src/model/goalsteps.cpp" line="124"/>
        <source>Repeat “%1”</source>
        <translation>„%1“ wiederholen</translation>
    </message>
</context>
<context>
    <name>SyncRun</name>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="37"/>
        <source>The server did not accept the user name and password</source>
        <translation>Der Server hat Benutzername und Passwort nicht angenommen</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="125"/>
        <source>The task list is no longer on the server</source>
        <translation>Die Aufgabenliste ist nicht mehr auf dem Server</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="127"/>
        <source>The task list could not be read: %1</source>
        <translation>Die Aufgabenliste konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="132"/>
        <source>The server&apos;s answer could not be read</source>
        <translation>Die Antwort des Servers konnte nicht gelesen werden</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="185"/>
        <source>A goal could not be written as a task</source>
        <translation>Ein Ziel konnte nicht als Aufgabe geschrieben werden</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="239"/>
        <source>A task kept changing on the server while it was written</source>
        <translation>Eine Aufgabe hat sich auf dem Server immer wieder geändert, während sie geschrieben wurde</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="247"/>
        <source>The server refused a change: %1</source>
        <translation>Der Server hat eine Änderung abgelehnt: %1</translation>
    </message>
    <message>
        <location filename="../src/sync/syncrun.cpp" line="258"/>
        <source>A task could not be fetched: %1</source>
        <translation>Eine Aufgabe konnte nicht geholt werden: %1</translation>
    </message>
</context>
<context>
    <name>TaskListFinder</name>
    <message>
        <location filename="../src/sync/tasklistfinder.cpp" line="45"/>
        <source>The server did not accept the user name and password</source>
        <translation>Der Server hat Benutzername und Passwort nicht angenommen</translation>
    </message>
    <message>
        <location filename="../src/sync/tasklistfinder.cpp" line="72"/>
        <source>The server has no calendars for this user</source>
        <translation>Der Server hat keine Kalender für diesen Benutzer</translation>
    </message>
    <message>
        <location filename="../src/sync/tasklistfinder.cpp" line="89"/>
        <source>No calendar server answers at %1 (HTTP %2). Type the address your server gives for calendar programs, for example …/remote.php/dav for Nextcloud, …/SOGo/dav/ for SOGo, …/dav.php for Baïkal or …/caldav.php for DAViCal</source>
        <translation>Unter %1 antwortet kein Kalenderserver (HTTP %2). Geben Sie die Adresse ein, die Ihr Server für Kalenderprogramme nennt, zum Beispiel …/remote.php/dav für Nextcloud, …/SOGo/dav/ für SOGo, …/dav.php für Baïkal oder …/caldav.php für DAViCal</translation>
    </message>
</context>
<context>
    <name>TodaysList</name>
    <message>
        <location filename="../src/views/panel/todayslist.cpp" line="75"/>
        <source>%1 – not shown today, %2</source>
        <comment>a goal&apos;s text, then how it repeats</comment>
        <translation>%1 – heute nicht angezeigt, %2</translation>
    </message>
</context>
<context>
    <name>TodoRowView</name>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="63"/>
        <source>Delete goal</source>
        <translation>Ziel löschen</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="251"/>
        <source>Mark as not done</source>
        <translation>Als nicht erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="251"/>
        <source>Mark as done</source>
        <translation>Als erledigt markieren</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="191"/>
        <source>Goal</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="267"/>
        <source>Delete “%1”</source>
        <translation>„%1“ löschen</translation>
    </message>
    <message>
        <location filename="../src/views/rows/todorowview.cpp" line="180"/>
        <source>This goal is longer than the %L1 characters a goal can hold here. It is kept whole; change it in the goals file.</source>
        <translation>Dieses Ziel ist länger als die %L1 Zeichen, die ein Ziel hier fassen kann. Es bleibt vollständig erhalten; ändern Sie es in der Zieldatei.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/app/main.cpp" line="46"/>
        <source>cannot reach the calendar server</source>
        <translation>der Kalenderserver ist nicht erreichbar</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="58"/>
        <source>--remind-at needs a time, as in --remind-at 15:00</source>
        <translation>--remind-at braucht eine Zeit, etwa --remind-at 15:00</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="118"/>
        <source>could not send the text</source>
        <translation>der Text konnte nicht gesendet werden</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="125"/>
        <source>another Mirel panel is running and cannot be brought to the front</source>
        <translation>eine andere Mirel-Tafel läuft und kann nicht nach vorne geholt werden</translation>
    </message>
</context>
</TS>
