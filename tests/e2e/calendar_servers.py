# SPDX-License-Identifier: GPL-3.0-or-later
"""The calendar servers the sync is checked against, each in the case's own folder on free loopback ports, started
and stopped by the case and never the system's services: Radicale, Xandikos, Cyrus IMAP's CalDAV, and DAViCal
with a PostgreSQL cluster and an Apache of its own. A server's `url` is the address a person types to connect."""
import ctypes
import glob
import os
import shutil
import signal
import socket
import subprocess

from panel_driver import STARTED, Skipped, check, wait_until

CLIENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sync", "caldav_client.py")
USER = "anna"
PASSWORD = "s3cret: calendar"
PYTHON = "/usr/bin/python3"
AS_ROOT = os.geteuid() == 0


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def listening(port):
    with socket.socket() as probe:
        return probe.connect_ex(("127.0.0.1", port)) == 0


def client(command, url, *args, password=PASSWORD):
    done = subprocess.run([PYTHON, CLIENT, command, url, USER, password, *args], capture_output=True, text=True,
                          timeout=60)
    check(done.returncode == 0, f"the other client's {command} failed: {done.stderr[-600:]}")
    return done.stdout


def require(*programs):
    for program in programs:
        if not (os.path.exists(program) if os.path.isabs(program) else shutil.which(program)):
            raise Skipped(f"{program} is not installed (scripts/deps.sh --test)")


def prepare(command, what, **options):
    done = subprocess.run(command, capture_output=True, text=True, timeout=120, **options)
    check(done.returncode == 0, f"{what} failed: {(done.stdout + done.stderr)[-800:]}")


PR_SET_PDEATHSIG = 1


def ended_with_this_process(stop_signal):
    """What makes a server stop when the case is itself ended from outside (a timeout), before it could stop it."""
    libc = ctypes.CDLL(None, use_errno=True)
    return lambda: libc.prctl(PR_SET_PDEATHSIG, int(stop_signal))


class Daemon:
    """A server's process and those it starts, in a process group of their own, ended together: by the server's
    stop, or with the case whatever becomes of it, so that none outlives the case."""

    def __init__(self, name, command, log, ready, stop_signal=signal.SIGTERM, **options):
        self.stop_signal, self.log = stop_signal, log
        with open(log, "a", encoding="utf-8") as output:
            self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=output, stderr=output,
                                            start_new_session=True, preexec_fn=ended_with_this_process(stop_signal),
                                            **options)
        STARTED.append(self)

        def up():
            if self.process.poll() is not None:
                check(False, f"{name} ended with {self.process.returncode}: {self.log_tail()}")
            return ready()
        wait_until(f"{name} to answer", up, timeout=60)

    def log_tail(self):
        with open(self.log, encoding="utf-8", errors="replace") as output:
            return output.read()[-800:]

    # What the case's ending calls on everything it started.
    def poll(self):
        return self.process.returncode

    def kill(self):
        self.stop()

    def wait(self):
        return self.process.wait()

    def stop(self):
        group = self.process.pid
        with_signal = self.stop_signal
        while self.process.returncode is None:
            try:
                os.killpg(group, with_signal)
                self.process.wait(timeout=15)
            except ProcessLookupError:
                self.process.wait()
            except subprocess.TimeoutExpired:
                with_signal = signal.SIGKILL
        # Children that outlived their parent.
        try:
            os.killpg(group, signal.SIGKILL)
        except ProcessLookupError:
            pass


class Server:
    """A server on a loopback port in `home`, started at once; stopped and started again on the same port and data.
    `default_list` names a task list the server makes for every user, and gives its address."""

    programs = ()

    def __init__(self, home, kind):
        require(*self.programs)
        self.kind = kind
        self.folder = os.path.join(home, kind)
        os.makedirs(self.folder)
        if AS_ROOT:
            # The servers that run as their own system user reach their folders through the case's.
            os.chmod(home, 0o711)
        self.port = free_port()
        self.url = f"http://127.0.0.1:{self.port}/"
        self.daemons = []
        self.default_list = None

    def daemon(self, name, command, ready=None, **options):
        ready = ready or (lambda: listening(self.port))
        self.daemons.append(Daemon(name, command, os.path.join(self.folder, f"{name}.log"), ready, **options))

    def stop(self):
        for daemon in reversed(self.daemons):
            daemon.stop()
        self.daemons = []

    def make_list(self, name):
        return client("make-list", self.url, name).strip()


class Radicale(Server):
    """Radicale with an htpasswd user, over TLS when given a certificate and its key; with `log`, each request it
    answers is in its log, counted by requests()."""

    programs = ("radicale",)

    def __init__(self, home, tls=None, log=False):
        super().__init__(home, "radicale")
        self.tls = tls
        self.log = log
        if tls:
            self.url = f"https://127.0.0.1:{self.port}/"
        self.users = os.path.join(self.folder, "users")
        self.set_password(PASSWORD)
        self.start()

    def set_password(self, password):
        with open(self.users, "w", encoding="utf-8") as file:
            file.write(f"{USER}:{password}\n")

    def start(self):
        config = os.path.join(self.folder, "config")
        with open(config, "w", encoding="utf-8") as file:
            tls = f"ssl = True\ncertificate = {self.tls[0]}\nkey = {self.tls[1]}\n" if self.tls else ""
            file.write(f"[server]\nhosts = 127.0.0.1:{self.port}\n{tls}[auth]\ntype = htpasswd\n"
                       f"htpasswd_filename = {self.users}\nhtpasswd_encryption = plain\n"
                       f"[storage]\nfilesystem_folder = {self.folder}/collections\n[logging]\n"
                       f"level = {'info' if self.log else 'warning'}\n")
        self.daemon("radicale", ["radicale", "--config", config])

    def requests(self, *methods):
        """How many requests of these methods the server has answered so far."""
        with open(os.path.join(self.folder, "radicale.log"), encoding="utf-8", errors="replace") as log:
            return sum(1 for line in log for method in methods if f"] {method} response status for " in line)

    def stored_tasks(self, name):
        """How many tasks the list's folder holds, counted without asking the server."""
        return len(glob.glob(os.path.join(self.folder, "collections", "collection-root", USER, name, "*.ics")))


class Xandikos(Server):
    """Xandikos, which has no users of its own: any name and password are let in."""

    programs = ("xandikos",)

    def __init__(self, home):
        super().__init__(home, "xandikos")
        self.start()

    def start(self):
        self.daemon("xandikos", ["xandikos", "-d", os.path.join(self.folder, "dav"), "--defaults", "-l", "127.0.0.1",
                                 "-p", str(self.port)])


CYRUS = "/usr/lib/cyrus/bin/"
SASLPASSWD = "/usr/sbin/saslpasswd2"


class Cyrus(Server):
    """Cyrus IMAP's CalDAV on the root of its address, the user in a SASL database of the case's own. The user's
    mailbox, which holds the calendars, is made as a first IMAP login makes it."""

    programs = (CYRUS + "master", CYRUS + "httpd", CYRUS + "imapd", SASLPASSWD)

    def __init__(self, home):
        if not AS_ROOT:
            raise Skipped("Cyrus runs its services only as the cyrus user, which only root can start them as")
        super().__init__(home, "cyrus")
        self.imap_port = free_port()
        folder = self.folder
        for part in ("conf", "spool", "socket"):
            os.makedirs(os.path.join(folder, part))
        self.config = os.path.join(folder, "imapd.conf")
        with open(self.config, "w", encoding="utf-8") as file:
            file.write(f"configdirectory: {folder}/conf\npartition-default: {folder}/spool\nservername: 127.0.0.1\n"
                       "admins: cyrus\nallowplaintext: yes\nsasl_pwcheck_method: auxprop\n"
                       f"sasl_auxprop_plugin: sasldb\nsasl_sasldb_path: {folder}/sasldb2\nsasl_mech_list: PLAIN\n"
                       "httpmodules: caldav\nautocreate_quota: 0\n"
                       f"lmtpsocket: {folder}/socket/lmtp\nidlesocket: {folder}/socket/idle\n"
                       f"notifysocket: {folder}/socket/notify\n")
        with open(os.path.join(folder, "cyrus.conf"), "w", encoding="utf-8") as file:
            file.write(f'START {{\n  recover cmd="ctl_cyrusdb -r -C {self.config}"\n}}\nSERVICES {{\n'
                       f'  http cmd="httpd -C {self.config}" listen="127.0.0.1:{self.port}" prefork=0\n'
                       f'  imap cmd="imapd -C {self.config}" listen="127.0.0.1:{self.imap_port}" prefork=0\n'
                       "}\nEVENTS {\n}\n")
        prepare([SASLPASSWD, "-p", "-c", "-f", os.path.join(folder, "sasldb2"), "-u", "127.0.0.1", USER],
                "saslpasswd2", input=PASSWORD)
        prepare(["chown", "-R", "cyrus:mail", folder], "chown")
        self.start()
        import imaplib
        with imaplib.IMAP4("127.0.0.1", self.imap_port) as imap:
            imap.login(USER, PASSWORD)
        self.default_list = ("personal", f"{self.url}dav/calendars/user/{USER}/Default/")

    def start(self):
        self.daemon("cyrus", [CYRUS + "master", "-C", self.config, "-M", os.path.join(self.folder, "cyrus.conf"),
                              "-p", os.path.join(self.folder, "master.pid"), "-D"],
                    ready=lambda: listening(self.port) and listening(self.imap_port),
                    # As the cyrus user from the start, so that it still stops when the case is ended from outside.
                    user="cyrus", group="mail", extra_groups=[])


POSTGRES = "/usr/lib/postgresql/15/bin/"
DAVICAL = "/usr/share/davical/"
APACHE_MODULES = "/usr/lib/apache2/modules/"

# The user and their home collections as DAViCal's own user page makes them: a calendar, and a scheduling outbox
# and inbox typed as calendars too.
DAVICAL_USER = f"""
INSERT INTO usr (user_no, active, email_ok, updated, username, password, fullname, email)
    VALUES (2, TRUE, current_date, current_date, '{USER}', '**{PASSWORD}', 'Anna', '{USER}@example.org');
INSERT INTO principal (principal_id, type_id, user_no, displayname, default_privileges)
    VALUES (2, 1, 2, 'Anna', 0::BIT(24));
INSERT INTO collection (user_no, parent_container, dav_name, dav_etag, dav_displayname, is_calendar, is_addressbook,
                        created, modified, resourcetypes)
    SELECT 2, '/{USER}/', '/{USER}/' || name || '/', '-1', shown, TRUE, FALSE, now(), now(),
           '<DAV::collection/><urn:ietf:params:xml:ns:caldav:calendar/>'
    FROM (VALUES ('calendar', 'Anna calendar'), ('.out', 'Anna Outbox'), ('.in', 'Anna Inbox')) AS home(name, shown);
"""


class Davical(Server):
    """DAViCal on the root of an Apache of its own, its database in a PostgreSQL cluster of its own that listens
    only on a socket in the case's folder. The system's DAViCal configuration names the database alone, so the
    cluster is found through libpq's environment."""

    programs = (POSTGRES + "initdb", POSTGRES + "postgres", "/usr/sbin/apache2", DAVICAL + "dba/create-database.sh",
                APACHE_MODULES + "libphp8.2.so")

    def __init__(self, home):
        super().__init__(home, "davical")
        folder = self.folder
        self.sockets = os.path.join(folder, "run")
        os.makedirs(self.sockets)
        self.database_port = free_port()
        self.database_env = dict(os.environ, PGHOST=self.sockets, PGPORT=str(self.database_port), PGUSER="postgres",
                                 PGOPTIONS="--client-min-messages=warning")
        # PostgreSQL refuses to run as root.
        self.postgres_user = dict(user="postgres", group="postgres", extra_groups=[]) if AS_ROOT else {}
        if AS_ROOT:
            os.chmod(folder, 0o755)
            shutil.chown(self.sockets, "postgres", "postgres")
        self.data = os.path.join(self.sockets, "data")
        prepare([POSTGRES + "initdb", "-D", self.data, "-U", "postgres", "--auth=trust", "-E", "UTF8", "--no-sync"],
                "initdb", **self.postgres_user)
        self.start_database()
        prepare(["sh", DAVICAL + "dba/create-database.sh", "davical", "not used"], "DAViCal's database",
                env=self.database_env)
        prepare(["psql", "-qXAt", "-v", "ON_ERROR_STOP=1", "-c", DAVICAL_USER, "davical"], "the DAViCal user",
                env=self.database_env)
        self.write_apache_config()
        self.start_web()
        self.default_list = ("Anna calendar", f"{self.url}caldav.php/{USER}/calendar/")

    def start_database(self):
        socket_file = os.path.join(self.sockets, f".s.PGSQL.{self.database_port}")
        self.daemon("postgres", [POSTGRES + "postgres", "-D", self.data, "-k", self.sockets,
                                 "-p", str(self.database_port), "-c", "listen_addresses=", "-c", "fsync=off"],
                    ready=lambda: os.path.exists(socket_file) and subprocess.run(
                        [POSTGRES + "pg_isready", "-q"], env=self.database_env).returncode == 0,
                    stop_signal=signal.SIGINT, **self.postgres_user)

    def write_apache_config(self):
        self.apache_config = os.path.join(self.folder, "apache2.conf")
        modules = "".join(f"LoadModule {name}_module {APACHE_MODULES}{file}\n" for name, file in (
            ("mpm_prefork", "mod_mpm_prefork.so"), ("authz_core", "mod_authz_core.so"), ("mime", "mod_mime.so"),
            ("dir", "mod_dir.so"), ("php", "libphp8.2.so")))
        user = "User www-data\nGroup www-data\n" if AS_ROOT else ""
        with open(self.apache_config, "w", encoding="utf-8") as file:
            file.write(f"ServerRoot {self.folder}\nListen 127.0.0.1:{self.port}\nServerName 127.0.0.1\n"
                       f"PidFile {self.folder}/apache2.pid\nMutex file:{self.folder}\nErrorLog {self.folder}/"
                       f"apache2-errors.log\nLogLevel warn\n{user}{modules}StartServers 2\nMinSpareServers 1\n"
                       f"MaxSpareServers 4\nTypesConfig /etc/mime.types\nDocumentRoot {DAVICAL}htdocs\n"
                       f"DirectoryIndex index.php\n<Directory {DAVICAL}htdocs>\n  Require all granted\n"
                       "  AcceptPathInfo On\n</Directory>\n<FilesMatch \"\\.php$\">\n"
                       "  SetHandler application/x-httpd-php\n</FilesMatch>\n")

    def start_web(self):
        self.daemon("apache2", ["/usr/sbin/apache2", "-f", self.apache_config, "-DFOREGROUND"], env=self.database_env)


SERVERS = {"radicale": Radicale, "xandikos": Xandikos, "cyrus": Cyrus, "davical": Davical}
