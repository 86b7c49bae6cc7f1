#!/usr/bin/env bash
# Plays one scenario script on a fresh demo program folder:
#
#   run_scenario.sh INITDB CONFIGURA DBFUTIL SCRIPT WORK [DEMO [HOLD_TABLE [DRAW_SERIALS [SERVER_WORKSTATION]]]]
#
# DEMO, when given (and not empty), is a folder INITDB --demo made beforehand: it is copied
# instead of making the demo again for every scenario. HOLD_TABLE and DRAW_SERIALS are the
# programs that play another workstation for "#! hold" and "#! draw", SERVER_WORKSTATION the
# one that moves the folder to the test server and works on it ("#! server", "#! rollback").
#
# Lines starting with "#!" prepare the folder before the program runs (the program itself
# reads them as comments):
#   #! dbfutil ARGS...     dbfutil run inside the program folder (BASES/X.DBF ...)
#   #! file NAME TEXT      writes TEXT (printf escapes allowed) into NAME in the folder
#   #! remove NAME         removes NAME from the folder
#   #! load FILE TEXT      adds the records of TEXT (printf escapes: tab-separated lines, the first
#                          naming the fields) to FILE; the scenario's first load of FILE (here or
#                          with "#! dbfutil load") first removes what the demo had there
#   #! poke FILE OFFSET BYTES  overwrites bytes of FILE at OFFSET (printf escapes: "\xff\xff")
#   #! truncate FILE SIZE  cuts FILE to SIZE bytes
#   #! hold FILE RECNO|exclusive   another workstation holds the record locked, or the table
#                          open exclusively, while this run lasts
#   #! draw FILE RECNO     another workstation draws numbers from the serial counter at RECNO
#                          while this run lasts; the run fails when it handed out a number twice
#                          or the counter ended behind the last number it drew
#   #! server              the folder works through the test server (CONFIGURA_PG_TEST): its
#                          tables pushed to a schema of its own, ADS.DEF written
#   #! rollback TABLE      another workstation's server transaction on TABLE fails and is
#                          rolled back (and logged) before this run
#   #! exit-code N         this run ends with status N (the user left through the error window)
#   #! expect FILE RECNO FIELD VALUE   after this run, the field must hold VALUE (trimmed)
#   #! expect-match FILE RECNO FIELD PATTERN   the same, VALUE a shell pattern ("*UBIC_ROM*")
#   #! expect-row FILE TAG KEY FIELD VALUE   after this run, the first record whose TAG key
#                          begins with KEY holds VALUE in FIELD ("-": there is no such record)
#   #! expect-count FILE TAG KEY N   after this run, N records (not deleted) have a TAG key
#                          beginning with KEY
#   #! expect-pdf NAME REGEX   after this run, the text of the PDF TEMP/NAME (pdftotext -layout)
#                          has a line matching the extended regular expression REGEX
#   #! run                 ends this run of the program: what follows is a new run
set -euo pipefail
initdb=$1 configura=$2 dbfutil=$3 script=$4 work=$5 demo=${6:-} hold_table=${7:-} draw_serials=${8:-} server_workstation=${9:-}
rm -rf "$work"
mkdir -p "$work"
if [[ -n $demo ]]; then
  cp -a "$demo" "$work/hotel"
else
  "$initdb" "$work/hotel" --demo >/dev/null
fi
home="$work/hotel"
# The workstation's own settings (SALTMERE.INI: the last business chosen...) stay with the
# scenario, so that scenarios running side by side do not see each other's.
mkdir -p "$work/windows"
export CONFIGURA_WINDIR="$work/windows"

part=0
: >"$work/part0.scn"
: >"$work/part0.prep"
: >"$work/part0.post"
while IFS= read -r line || [[ -n $line ]]; do
  line=${line%$'\r'}
  if [[ $line =~ ^#![[:space:]]*run[[:space:]]*$ ]]; then
    part=$((part + 1))
    : >"$work/part$part.scn"
    : >"$work/part$part.prep"
    : >"$work/part$part.post"
  elif [[ $line =~ ^#![[:space:]]*expect-row[[:space:]](.*)$ ]]; then
    echo "row ${BASH_REMATCH[1]}" >>"$work/part$part.post"
  elif [[ $line =~ ^#![[:space:]]*expect-count[[:space:]](.*)$ ]]; then
    echo "count ${BASH_REMATCH[1]}" >>"$work/part$part.post"
  elif [[ $line =~ ^#![[:space:]]*expect-pdf[[:space:]](.*)$ ]]; then
    echo "pdf ${BASH_REMATCH[1]}" >>"$work/part$part.post"
  elif [[ $line =~ ^#![[:space:]]*expect-match[[:space:]](.*)$ ]]; then
    echo "match ${BASH_REMATCH[1]}" >>"$work/part$part.post"
  elif [[ $line =~ ^#![[:space:]]*expect[[:space:]](.*)$ ]]; then
    echo "${BASH_REMATCH[1]}" >>"$work/part$part.post"
  elif [[ $line =~ ^#![[:space:]]*(.*)$ ]]; then
    echo "${BASH_REMATCH[1]}" >>"$work/part$part.prep"
  else
    echo "$line" >>"$work/part$part.scn"
  fi
done <"$script"

declare -A loaded=()
holders=()
holder_fds=()
# Another workstation that found a fault while it played its part fails the run.
holders_failed=0
release_holders() {
  for fd in "${holder_fds[@]}"; do exec {fd}>&-; done
  for pid in "${holders[@]}"; do wait "$pid" 2>/dev/null || holders_failed=1; done
  holders=()
  holder_fds=()
}
on_server=0
trap 'for pid in "${holders[@]}"; do kill "$pid" 2>/dev/null; done
      [[ $on_server -eq 1 ]] && "$server_workstation" drop "$home" >/dev/null 2>&1' EXIT
prepare() {
  local kind=$1
  shift
  case $kind in
    dbfutil)
      if [[ $1 == load && -z ${loaded[$2]:-} ]]; then
        loaded[$2]=1
        set -- "$@" --replace
      fi
      (cd "$home" && "$dbfutil" "$@" >/dev/null) ;;
    file) printf "$2" >"$home/$1" ;;
    poke) printf "$3" | dd of="$home/$1" bs=1 seek="$2" conv=notrunc status=none ;;
    truncate) truncate -s "$2" "$home/$1" ;;
    hold|draw)
      local player=$hold_table
      [[ $kind == draw ]] && player=$draw_serials
      [[ -n $player ]] || { echo "scenario: $kind necesita su programa" >&2; exit 2; }
      # Its standard input stays open (a pipe we hold) until the run is over.
      local n=${#holders[@]}
      rm -f "$work/hold$n.in"
      mkfifo "$work/hold$n.in"
      "$player" "$home/$1" "$2" <"$work/hold$n.in" >"$work/hold$n.out" &
      holders+=($!)
      exec {fd}>"$work/hold$n.in"
      holder_fds+=($fd)
      for _ in $(seq 1 100); do
        [[ -s $work/hold$n.out ]] && break
        kill -0 "${holders[-1]}" 2>/dev/null || { echo "scenario: $kind $1 $2 falló" >&2; exit 2; }
        sleep 0.05
      done ;;
    server|rollback)
      [[ -n $server_workstation ]] || { echo "scenario: $kind necesita server_workstation" >&2; exit 2; }
      local verb=folder
      [[ $kind == rollback ]] && verb=rollback
      [[ $kind == server ]] && on_server=1
      "$server_workstation" "$verb" "$home" "$@" >"$work/$kind.out" 2>"$work/$kind.err" \
        || { cat "$work/$kind.err" >&2; echo "scenario: $kind falló" >&2; exit 1; } ;;
    exit-code) expected_status=$1 ;;
    remove) rm -f "$home/$1" ;;
    copy) mkdir -p "$(dirname "$home/$2")" && cp "$home/$1" "$home/$2" ;;
    load)
      # The first load of a table in a scenario replaces what the demo had; later ones add.
      local replace=--replace
      [[ -n ${loaded[$1]:-} ]] && replace=
      loaded[$1]=1
      printf "$2" | (cd "$home" && "$dbfutil" load "$1" $replace >/dev/null) ;;
    *) echo "scenario: preparación desconocida: $kind" >&2; exit 2 ;;
  esac
}

expect_field() {
  local found
  found=$(cd "$home" && "$dbfutil" get "$1" "$2" "$3")
  found=$(echo "$found" | sed -e 's/^ *//' -e 's/ *$//')
  if [[ $found != "$4" ]]; then
    echo "scenario $(basename "$script"): $1 registro $2 $3 es \"$found\", se esperaba \"$4\"" >&2
    exit 1
  fi
}

expect_pdf() {
  local text
  if ! text=$(pdftotext -layout "$home/TEMP/$1" - 2>/dev/null); then
    echo "scenario $(basename "$script"): no se imprimió TEMP/$1" >&2
    exit 1
  fi
  if ! grep -Eq -- "$2" <<<"$text"; then
    echo "scenario $(basename "$script"): TEMP/$1 no tiene una línea como /$2/:" >&2
    echo "$text" >&2
    exit 1
  fi
}

expect_match() {
  local found
  found=$(cd "$home" && "$dbfutil" get "$1" "$2" "$3")
  found=$(echo "$found" | sed -e 's/^ *//' -e 's/ *$//')
  # shellcheck disable=SC2053
  if [[ $found != $4 ]]; then
    echo "scenario $(basename "$script"): $1 registro $2 $3 es \"$found\", se esperaba \"$4\"" >&2
    exit 1
  fi
}

expect_row() {
  local found
  found=$(cd "$home" && "$dbfutil" dump "$1" --tag "$2" --scope "$3" | awk -F'\t' -v f="$4" '
    NR == 1 { for (i = 1; i <= NF; i++) if ($i == f) c = i; next }
    NR == 2 { v = $c; sub(/^ +/, "", v); sub(/ +$/, "", v); print v; found = 1 }
    END { if (!found) print "-" }')
  if [[ $found != "$5" ]]; then
    echo "scenario $(basename "$script"): $1 clave \"$3\" ($2) $4 es \"$found\", se esperaba \"$5\"" >&2
    exit 1
  fi
}

expect_count() {
  local found
  found=$(cd "$home" && "$dbfutil" dump "$1" --tag "$2" --scope "$3" | awk 'NR > 1' | wc -l)
  if [[ $found -ne $4 ]]; then
    echo "scenario $(basename "$script"): $1 clave \"$3\" ($2) tiene $found registros, se esperaban $4" >&2
    exit 1
  fi
}

for ((i = 0; i <= part; i++)); do
  expected_status=0
  while IFS= read -r prep; do
    [[ -z $prep ]] && continue
    eval "prepare $prep"
  done <"$work/part$i.prep"
  echo "--- run $i"
  status=0
  (cd "$work" && "$configura" --home "$home" --script "$work/part$i.scn") || status=$?
  release_holders
  if [[ $holders_failed -ne 0 ]]; then
    echo "scenario $(basename "$script") failed in run $i: another workstation found a fault" >&2
    exit 1
  fi
  if [[ $status -ne $expected_status ]]; then
    echo "scenario $(basename "$script") failed in run $i (status $status)" >&2
    exit 1
  fi
  while IFS= read -r post; do
    [[ -z $post ]] && continue
    if [[ $post == row\ * ]]; then
      eval "expect_row ${post#row }"
    elif [[ $post == count\ * ]]; then
      eval "expect_count ${post#count }"
    elif [[ $post == pdf\ * ]]; then
      eval "expect_pdf ${post#pdf }"
    elif [[ $post == match\ * ]]; then
      eval "expect_match ${post#match }"
    else
      eval "expect_field $post"
    fi
  done <"$work/part$i.post"
done
