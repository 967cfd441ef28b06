#!/usr/bin/env bash
# The Debian package, built and installed on this machine, then its program
# started once as a new user would start it: no VARDELLA_HOME, an empty home
# folder, a virtual screen. It must build the demo database in the user's
# data folder and show its main window. Run as root (or with sudo) after the
# build, from anywhere:
#   .ci/package_check.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
timeout_s=${VARDELLA_CHECK_TIMEOUT:-300}
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

fail() { echo "package_check: ERRORE: $*" >&2; exit 1; }

echo "package_check: creazione del pacchetto"
rm -f "$build"/vardella_*.deb
(cd "$build" && cpack -G DEB) || fail "cpack -G DEB non ha creato il pacchetto"
deb=$(ls "$build"/vardella_*.deb 2>/dev/null | head -n1)
[ -n "$deb" ] || fail "nessun file vardella_*.deb in $build"
echo "package_check: $(basename "$deb") ($(du -h "$deb" | cut -f1))"
dpkg-deb --field "$deb" Package Version Depends

echo "package_check: installazione"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$(realpath "$deb")" \
  || fail "apt-get install del pacchetto non riuscito"
[ -x /usr/bin/vardella ] || fail "/usr/bin/vardella non c'è dopo l'installazione"
[ -f /usr/share/applications/vardella.desktop ] || fail "manca la voce di menu vardella.desktop"

work=$(mktemp -d)
screen_pid="" program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$screen_pid" ] && kill "$screen_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
home="$work/home"
mkdir -p "$home"
data="$home/.local/share/Vardella"

# A free display of the virtual screen.
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
display=":$n"
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
screen_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.2; done
[ -e "/tmp/.X11-unix/X$n" ] || fail "Xvfb non parte: $(cat "$work/xvfb.log")"

echo "package_check: primo avvio di /usr/bin/vardella (HOME=$home, schermo $display)"
env -u VARDELLA_HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
  /usr/bin/vardella >"$work/vardella.log" 2>&1 &
program_pid=$!

# The main window: titled Vardella, of the program's window class, mapped.
main_window_shown() {
  local id
  id=$(DISPLAY="$display" xwininfo -root -tree 2>/dev/null \
         | awk '/"Vardella": \("vardella" "Vardella"\)/ { print $1; exit }')
  [ -n "$id" ] && DISPLAY="$display" xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'
}

shown="" built=""
for _ in $(seq "$timeout_s"); do
  kill -0 "$program_pid" 2>/dev/null || break
  [ -z "$built" ] && [ -f "$data/vardella.fdb" ] && built=1
  [ -z "$shown" ] && main_window_shown && shown=1
  [ -n "$built" ] && [ -n "$shown" ] && break
  sleep 1
done
if ! kill -0 "$program_pid" 2>/dev/null; then
  wait "$program_pid" && rc=0 || rc=$?
  program_pid=""
  fail "il programma è terminato da solo (codice $rc): $(cat "$work/vardella.log")"
fi
[ -n "$shown" ] || fail "la finestra principale di Vardella non è comparsa entro ${timeout_s} s"
[ -n "$built" ] || fail "il database $data/vardella.fdb non è stato creato entro ${timeout_s} s"
[ -f "$data/ebc/filter/Classi prime.xml" ] || fail "il filtro di esempio non è stato copiato in $data"
[ -e /opt/vardella/usr/vardella.fdb ] && fail "il database è stato creato nella cartella del programma"

echo "package_check: finestra principale:"
DISPLAY="$display" xwininfo -root -tree | grep '"Vardella": ("vardella"'

# A few seconds on the demo school, then the end, as at a logout.
sleep 3
kill -TERM "$program_pid"
rc=0
wait "$program_pid" || rc=$?
program_pid=""
[ "$rc" -eq 143 ] || fail "il programma non è terminato su SIGTERM come previsto (codice $rc): $(cat "$work/vardella.log")"

echo "package_check: terminato su SIGTERM; database creato:"
ls -l "$data/vardella.fdb"
echo "package_check: file dell'utente in $data:"
(cd "$data" && find . -type f | sort)
echo "package_check: OK"
