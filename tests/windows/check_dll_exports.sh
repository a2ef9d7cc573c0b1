#!/usr/bin/env bash
# Checks the 32-bit DLL pair as the system's loader sees it, from objdump -p:
# - OrviaDic.dll is a 32-bit DLL exporting, by undecorated name, exactly the dic*
#   functions orviadic.h declares, each one of the library's 38 (data/dll_interface.txt);
# - it imports OrviaDB.dll by ordinal only, and no runtime DLL of the compiler;
# - OrviaDB.dll exports the thirteen store operations at their fixed ordinals.
# Usage: check_dll_exports.sh OBJDUMP ORVIADIC_DLL ORVIADB_DLL ORVIADIC_H
set -euo pipefail
objdump=$1 dic_dll=$2 db_dll=$3 header=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
interface=$(grep -v '^#' "$(dirname "$0")/data/dll_interface.txt")
all38=$(grep -oE '\bdic[A-Za-z]+' <<<"$interface")
db_ordinals=$(grep -oE '\bdb[A-Za-z]+=[0-9]+' <<<"$interface")

# "name=ordinal" for every export with a name.
named_exports() {
  "$objdump" -p "$1" | awk '
    /^Export Address Table -- Ordinal Base/ { base = $NF }
    /^\[Ordinal\/Name Pointer\] Table/ { inTable = 1; next }
    inTable && /^$/ { inTable = 0 }
    inTable { gsub(/[\[\]]/, ""); print $2 "=" ($1 + base) }'
}

dump=$("$objdump" -p "$dic_dll")
grep -q "file format pei-i386" <<<"$dump" || fail "OrviaDic.dll is not a 32-bit PE file"
grep -Eq "^Magic[[:space:]]+010b" <<<"$dump" || fail "OrviaDic.dll has no PE32 optional header"
(( $(awk '/^Characteristics/ { print $2 }' <<<"$dump") & 0x2000 )) || fail "OrviaDic.dll is not a DLL"

declared=$(grep -oE 'ORVIADIC_API[[:space:]]+dic[A-Za-z]+\(' "$header" | sed -E 's/.*(dic[A-Za-z]+)\(/\1/' | sort)
exported=$(named_exports "$dic_dll" | cut -d= -f1 | sort)
[ -n "$declared" ] || fail "no dic* declarations found in $header"
for name in $declared; do
  grep -qw -- "$name" <<<"$all38" || fail "$name is not one of the library's functions"
done
[ "$exported" = "$declared" ] || fail "exports differ from orviadic.h: $(diff <(echo "$declared") <(echo "$exported") | grep '^[<>]' | tr '\n' ' ')"

# Imports from OrviaDB.dll as "member ordinal"; member is <none> by ordinal.
db_imports=$("$objdump" -p "$dic_dll" | awk '/DLL Name:/ { inDll = ($3 == "OrviaDB.dll"); next }
  inDll && /^$/ { inDll = 0 }
  inDll && $1 ~ /^[0-9a-f]+$/ { print $3, $2 }')
[ -n "$db_imports" ] || fail "OrviaDic.dll imports nothing from OrviaDB.dll"
while read -r member ordinal; do
  [ "$member" = "<none>" ] || fail "OrviaDB.dll import by name: $member"
  grep -qE "=$ordinal\b" <<<"$db_ordinals" || fail "OrviaDB.dll import of ordinal $ordinal, not a store operation"
done <<<"$db_imports"
grep -iqE "DLL Name: (libgcc|libstdc\+\+|libwinpthread)" <<<"$dump" && fail "OrviaDic.dll needs a runtime DLL"

db_exports=$(named_exports "$db_dll")
for pair in $db_ordinals; do
  grep -qx -- "$pair" <<<"$db_exports" || fail "OrviaDB.dll does not export ${pair%=*} at ${pair#*=}"
done
[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "OrviaDic.dll: $(wc -w <<<"$exported") exports, $(wc -l <<<"$db_imports") ordinal imports; OrviaDB.dll: 13 operations in place"
