#!/usr/bin/env bash
# The real hakobu32 in tmux prints through its default print command: on a copy of the
# sample race with the printer destination, other functions [9], [4] (the speed/time table)
# starts txp/txp -p -q on a temporary file; txp prints headless to the CUPS cups-pdf queue
# "PDF" (the default printer of this run), hakobu32 shows "で印刷します", a PDF with the
# table's pages arrives, and no temporary file is left behind.
# Exit code 77 (a skip) only when no CUPS scheduler answers.
#   bash print_through_txp.sh BIN_DIR SOURCE_DIR
set -euo pipefail
bin_dir=$(cd "$1" && pwd -P)  # as hakobu32 resolves its own folder
source_dir=$(cd "$2" && pwd)

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
  echo "SKIP: no CUPS scheduler answers (scripts/start-cups starts one)"
  exit 77
fi
# Makes sure the PDF queue exists; its last line is the folder cups-pdf writes to.
pdf_folder=$("$source_dir/scripts/start-cups" | tail -n 1)

export LC_ALL=C.UTF-8
work=$(mktemp -d "${TMPDIR:-/tmp}/hakobu-print-XXXXXX")
race=$work/race
temp=$work/tmp   # the TMPDIR of hakobu32 and txp (with a runtime folder of their own, as in a session)
mkdir -p "$race" "$work/home" "$temp" "$work/runtime"
chmod 700 "$work/runtime"
socket="hakobu-print-$$"
tmux_() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() {
  tmux_ kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- screen ---" >&2
  screen >&2 || true
  exit 1
}
screen() { tmux_ capture-pane -p -t e2e; }
# Waits up to $2 tenths of a second (default 300) until the screen matches a regular expression.
wait_for() {
  for _ in $(seq "${2:-300}"); do
    if screen | grep -Eq -- "$1"; then return 0; fi
    sleep 0.1
  done
  fail "screen never showed: $1"
}
pdf_pages() { pdfinfo "$1" 2>/dev/null | sed -n 's/^Pages: *//p'; }

cp "$source_dir/examples/sample-race/"* "$race/"
printf '\0\0\0\0' > "$race/SELCTOUT.DAT"   # destination 0: the printer
mkdir -p "$pdf_folder"
before=$(ls "$pdf_folder")

# PRINTER makes the PDF queue the default printer of txp's first run (CUPS honours it);
# no display, so txp prints on Qt's offscreen platform.
tmux_ new-session -d -s e2e -x 80 -y 25 \
  "cd '$race' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LPDEST \
   HOME='$work/home' XDG_CONFIG_HOME='$work/home/.config' TMPDIR='$temp' XDG_RUNTIME_DIR='$work/runtime' PRINTER=PDF \
   TERM=xterm-256color '$bin_dir/hakobu32'; echo \$? > '$work/exit_code'; sleep 60"

# While idle at the main menu, the first start builds the race's master and name files:
# answer every Y prompt until both files exist and the main menu stands again.
stable=0
for _ in $(seq 300); do
  if screen | grep -Eq '（Y( / N)?）\[ \]|Y を入力\[ \]'; then tmux_ send-keys -t e2e y; stable=0
  elif [ -e "$race/MASTFILE.DAT" ] && [ -e "$race/NAMEFILE.DAT" ] && screen | grep -q '^HAKOBU32 version'; then
    stable=$((stable + 1))
    [ "$stable" -ge 10 ] && break
  else stable=0
  fi
  sleep 0.1
done
wait_for '^HAKOBU32 version'
wait_for '^出力先→ ?プリンタ'

tmux_ send-keys -t e2e 9
wait_for '\[4\] スピード：タイム換算表出力'
tmux_ send-keys -t e2e 4
# The print command is waited for; its message then stays for 2 seconds.
wait_for 'で印刷します|印刷に失敗しました' 1200
shown=$(screen)
grep -q '印刷に失敗しました' <<<"$shown" && fail "hakobu32 reports a failed print"
# The line names the program (when the path fits on one screen line).
if [ $(( ${#bin_dir} + 8 )) -le 80 ]; then
  grep -qxF "$bin_dir/txp/txp" <<<"$shown" || fail "the message does not name $bin_dir/txp/txp"
fi

# The job's PDF: cups-pdf names it after the job title, the temporary file's path, which
# holds this run's folder name.
marker=$(basename "$work")
pdf=""
for _ in $(seq 600); do
  for f in "$pdf_folder"/*"$marker"*.pdf; do
    [ -e "$f" ] || continue
    grep -qxF -- "$(basename "$f")" <<<"$before" && continue
    if [ -n "$(pdf_pages "$f")" ]; then pdf=$f; break 2; fi
  done
  sleep 0.1
done
[ -n "$pdf" ] || fail "no PDF with '$marker' in its name arrived in $pdf_folder"
# 3 heading lines and 52 speeds (30.0 down to 4.5 km/h): 55 lines on pages of 50 lines.
pages=$(pdf_pages "$pdf")
rm -f "$pdf"
[ "$pages" = 2 ] || fail "the PDF has $pages pages, not 2"

# When the message goes, hakobu32 has removed its temporary file; txp left nothing either.
for _ in $(seq 100); do
  screen | grep -q 'で印刷します' || break
  sleep 0.1
done
wait_for '\[4\] スピード：タイム換算表出力'
leftover=$(ls -A "$temp")
[ -z "$leftover" ] || fail "temporary files left in TMPDIR: $leftover"
[ ! -e "$work/exit_code" ] || fail "hakobu32 ended with code $(cat "$work/exit_code")"
echo "print through txp e2e: ok ($pages pages)"
