#!/usr/bin/env bash
# Runs a print test against a CUPS server of its own: a cupsd with its own
# configuration, spool and socket in a temporary folder, a cups-pdf queue as
# its default printer, writing into that folder. Needs root (the cups-pdf
# backend runs as root and reads its configuration from /etc/cups, where a
# file of this run's own name is put for the time of the test).
# Exit status 77: no server could be started, the test is skipped.
# Usage: cups-test.sh <test program> [arguments]
# NUX_CUPS_BEHALTEN=1 keeps the folder with the server's logs and the PDFs.
set -uo pipefail

ueberspringen() {
  echo "CUPS-Drucktest übersprungen: $1"
  exit 77
}
[ "$(id -u)" -eq 0 ] || ueberspringen "nur als root (der cups-pdf-Treiber läuft als root)"
for p in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/lib/cups/backend/cups-pdf /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd; do
  [ -e "$p" ] || ueberspringen "$p fehlt (Pakete cups und printer-driver-cups-pdf)"
done
getent group lp >/dev/null || ueberspringen "die Gruppe lp fehlt"

ordner=$(mktemp -d /tmp/nuxcups.XXXXXX)
name=nuxtest$$
pdfconf=/etc/cups/cups-pdf-$name.conf
server=
aufraeumen() {
  if [ -n "$server" ]; then
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
  fi
  rm -f "$pdfconf"
  [ -n "${NUX_CUPS_BEHALTEN:-}" ] || rm -rf "$ordner"
}
trap aufraeumen EXIT
chmod 755 "$ordner"
mkdir "$ordner/spool" "$ordner/tmp" "$ordner/aus" "$ordner/log"
# The filters run as lp and need the spool and the temporary folder.
chown root:lp "$ordner/spool" "$ordner/tmp"
chmod 0710 "$ordner/spool"
chmod 1770 "$ordner/tmp"

# Debian's AppArmor profiles for cupsd and the cups-pdf backend attach by
# path and allow only the system's own folders and configuration file; the
# test's server runs copies of both, so that it may use folders of its own.
mkdir -p "$ordner/bin/backend"
cp /usr/sbin/cupsd "$ordner/cupsd"
cp -p /usr/lib/cups/backend/cups-pdf "$ordner/bin/backend/"
for d in filter cgi-bin daemon driver monitor notifier; do
  if [ -e "/usr/lib/cups/$d" ]; then ln -s "/usr/lib/cups/$d" "$ordner/bin/$d"; fi
done

cat >"$ordner/cups-files.conf" <<EOT
ServerRoot $ordner
RequestRoot $ordner/spool
TempDir $ordner/tmp
CacheDir $ordner/cache
StateDir $ordner/state
ErrorLog $ordner/log/error_log
AccessLog $ordner/log/access_log
PageLog $ordner/log/page_log
ServerBin $ordner/bin
DataDir /usr/share/cups
User lp
Group lp
SystemGroup root
EOT
cat >"$ordner/cupsd.conf" <<EOT
Listen $ordner/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
# A failing job must fail the test, not stop the queue for the next one.
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow all
</Location>
EOT
cat >"$pdfconf" <<EOT
Out $ordner/aus
AnonDirName $ordner/aus
Spool $ordner/tmp
Log $ordner/log
UserPrefix
Grp root
EOT

"$ordner/cupsd" -f -c "$ordner/cupsd.conf" -s "$ordner/cups-files.conf" &
server=$!
export CUPS_SERVER=$ordner/cups.sock
# The client must ask this server alone, whatever the machine has set up.
export HOME=$ordner
export CUPS_USER=root
for _ in $(seq 50); do
  lpstat -r >/dev/null 2>&1 && break
  kill -0 "$server" 2>/dev/null || ueberspringen "cupsd startet nicht: $(tail -n 3 "$ordner/log/error_log" 2>/dev/null)"
  sleep 0.2
done
lpstat -r >/dev/null 2>&1 || ueberspringen "cupsd antwortet nicht"
# Ghostscript, the filters' default way from PDF to PostScript, turns the
# text into Type 3 outlines: the same on paper, but no longer readable for the
# checks. pdftocairo keeps the text.
if ! lpadmin -p nuxpdf -E -v "cups-pdf:/$name" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
       -o pdftops-renderer-default=pdftocairo 2>"$ordner/log/lpadmin" ||
   ! lpadmin -d nuxpdf 2>>"$ordner/log/lpadmin"; then
  ueberspringen "die PDF-Warteschlange lässt sich nicht anlegen: $(cat "$ordner/log/lpadmin")"
fi

NUX_CUPS_AUSGABE=$ordner/aus "$@"
status=$?
if [ "$status" -ne 0 ]; then
  echo "--- Protokoll des CUPS-Servers"
  tail -n 30 "$ordner/log/error_log" 2>/dev/null
  tail -n 10 "$ordner/log/cups-pdf-nuxpdf_log" 2>/dev/null
  ls -l "$ordner/aus"
fi
exit "$status"
