#!/usr/bin/env bash
# The real hakobu32 in an 80x25 tmux pane on a copy of the sample race: the main menu's
# banner, clock, working folder, destination and title box; Esc then n stays, Esc then y
# ends the program with exit code 0; a terminal smaller than 80x24 gets a message.
#   bash main_menu.sh BIN_DIR SOURCE_DIR
set -euo pipefail
bin_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)

export LC_ALL=C.UTF-8
work=$(mktemp -d "${TMPDIR:-/tmp}/hakobu-e2e-XXXXXX")
race=$work/race
mkdir -p "$race" "$work/home"
socket="hakobu-e2e-$$"
tmux_() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() {
  tmux_ kill-server 2>/dev/null || true
  tmux -L "hakobu-e2e-$$" kill-server 2>/dev/null || true
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
# One row; "→" is drawn one column wide with a blank after it to fill its two cells.
row() { screen | sed -n "$(($1 + 1))p" | sed 's/→ /→/g'; }
# Waits up to 30 seconds (a loaded machine is slow) until the screen matches an extended
# regular expression.
wait_for() {
  local deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    if screen | grep -Eq -- "$1"; then return 0; fi
    sleep 0.1
  done
  fail "screen never showed: $1"
}
# Display width of a text (a full-width character counts two).
width() { printf '%s' "$1" | wc -L; }

if [ -d "$source_dir/examples/sample-race" ]; then
  cp "$source_dir/examples/sample-race/"* "$race/"
  event=$(grep -a '^EVENTNAME' "$race/OPTION.TXT" | iconv -f CP932 -t UTF-8 |
          sed -e 's/^EVENTNAME *= *//' -e 's/ *#.*$//' -e 's/[[:space:]]*$//')
else
  event="テスト駅伝大会"
  printf 'EVENTNAME=%s\r\n' "$event" | iconv -f UTF-8 -t CP932 > "$race/OPTION.TXT"
fi
[ -n "$event" ] || fail "no EVENTNAME in the race folder"

tmux_ new-session -d -s e2e -x 80 -y 25 \
  "cd '$race' && env -u DISPLAY -u WAYLAND_DISPLAY HOME='$work/home' TERM=xterm-256color \
   '$bin_dir/hakobu32'; echo \$? > '$work/exit_code'; sleep 30"

# The first start may offer to build the race's master file: answer every Y prompt
# until the main menu stands.
deadline=$((SECONDS + 60))
while [ "$SECONDS" -lt "$deadline" ]; do
  if screen | grep -q "HAKOBU32 version 3.74 (Build"; then break; fi
  if screen | grep -Eq '（Y）\[ \]|（Y / N）\[ \]|Y を入力\[ \]'; then tmux_ send-keys -t e2e y; fi
  sleep 0.1
done
wait_for '^HAKOBU32 version 3\.74 \(Build [0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\)'
wait_for '[0-9]{4}/[0-9]{2}/[0-9]{2}  [0-9]{2}:[0-9]{2}:[0-9]{2}'

# The clock at row 1, column 48, ticking.
clock_at_48() {
  local line prefix
  line=$(row 1)
  prefix=${line%%[0-9][0-9][0-9][0-9]/*}
  [ "$(width "$prefix")" -eq 48 ] || fail "clock not at column 48: '$line'"
  printf '%s' "${line:${#prefix}:20}"
}
first=$(clock_at_48)
[[ $first =~ ^[0-9]{4}/[0-9]{2}/[0-9]{2}\ \ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] || fail "clock text '$first'"
changed=
for _ in $(seq 40); do
  sleep 0.1
  if [ "$(clock_at_48)" != "$first" ]; then changed=yes; break; fi
done
[ -n "$changed" ] || fail "the clock did not change within 4 seconds"

[ "$(row 2)" = "作業フォルダ→$race" ] || fail "working folder line: '$(row 2)'"
[[ $(row 4) == 出力先→ファイル（*）* ]] || fail "destination line: '$(row 4)'"

title="* $event *"
stars=$(printf '%*s' "$(width "$title")" '' | tr ' ' '*')
[ "$(row 5)" = "          $stars" ] || fail "title box top: '$(row 5)'"
[ "$(row 6)" = "          $title" ] || fail "title line: '$(row 6)'"
[ "$(row 7)" = "          $stars" ] || fail "title box bottom: '$(row 7)'"
[ "$(row 9)" = "          [1] テキストファイルの作成・変更・閲覧" ] || fail "entry 1: '$(row 9)'"
[ "$(row 19)" = "          [Esc] 終了" ] || fail "Esc line: '$(row 19)'"

# Esc, then n: the program stays.
tmux_ send-keys -t e2e Escape
wait_for 'HAKOBU32 を終了しますか？（Y / N）\[ \]'
tmux_ send-keys -t e2e n
wait_for '^HAKOBU32 version 3\.74'
[ ! -e "$work/exit_code" ] || fail "the program ended after Esc, n"

# Esc, then y: the program ends with exit code 0.
tmux_ send-keys -t e2e Escape
wait_for 'を終了しますか'
tmux_ send-keys -t e2e y
deadline=$((SECONDS + 30))
while [ "$SECONDS" -lt "$deadline" ]; do
  [ -e "$work/exit_code" ] && break
  sleep 0.1
done
[ -e "$work/exit_code" ] || fail "the program did not end after Esc, y"
[ "$(cat "$work/exit_code")" = 0 ] || fail "exit code $(cat "$work/exit_code")"
[ -e "$race/SELCTOUT.DAT" ] || fail "SELCTOUT.DAT was not written at the exit"
echo "main menu e2e: ok"

# A terminal smaller than 80x24 gets a message and the program ends with code 1.
rm -f "$work/exit_code"
tmux_ kill-server 2>/dev/null || true
# A server of its own: a new session on the socket of a server that is still shutting
# down fails with "server exited unexpectedly".
socket="$socket-small"
tmux_ new-session -d -s e2e -x 60 -y 20 \
  "cd '$race' && env -u DISPLAY -u WAYLAND_DISPLAY HOME='$work/home' TERM=xterm-256color \
   '$bin_dir/hakobu32'; echo \$? > '$work/exit_code'; sleep 30"
deadline=$((SECONDS + 30))
while [ "$SECONDS" -lt "$deadline" ]; do
  [ -e "$work/exit_code" ] && break
  sleep 0.1
done
[ "$(cat "$work/exit_code" 2>/dev/null)" = 1 ] || fail "small terminal: exit code '$(cat "$work/exit_code" 2>/dev/null)'"
screen | grep -q 'needs at least 80x24' || fail "small terminal: no message"
echo "small terminal e2e: ok"
