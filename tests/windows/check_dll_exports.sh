#!/usr/bin/env bash
# Checks the 32-bit DLL pair as the system's loader sees it, from objdump -p:
# - OrviaDic.dll is a 32-bit DLL exporting, by undecorated name, exactly the dic*
#   functions orviadic.h declares, each one of the library's 38;
# - it imports OrviaDB.dll by ordinal only, and no runtime DLL of the compiler;
# - OrviaDB.dll exports the thirteen store operations at their fixed ordinals.
# Usage: check_dll_exports.sh OBJDUMP ORVIADIC_DLL ORVIADB_DLL ORVIADIC_H
set -euo pipefail
objdump=$1 dic_dll=$2 db_dll=$3 header=$4
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

all38="dicCreateHDICT dicFreeHDICT dicSetRegKey dicGetVersion dicSearchWord dicSearchRecord
dicFreeHWORD dicDuplicateHWORD dicGetKeySize dicGetKey dicGetWordSize dicGetWord dicIsExistWord
dicGetWordCount dicGetHandleInfo dicPrev dicNext dicGetKeyList dicGetWordList dicGetKeyVcodeList
dicIsExistContent dicGetContentSize dicGetContent dicAddMem dicDelMem dicAddRecord dicDelRecord
dicGetNewWordID dicGetNewWordVersion dicGetNewWordTime dicGetCurrentNewWordVersion
dicGetCurrentNewWordTime dicGetNewWordListPath dicAddNewWord dicAddNewWordEx dicExportOwnerWord
dicGetImportOwnerWordCount dicImportOwnerWord"
db_ordinals="dbOpen=2 dbClose=3 dbSeek=4 dbGoto=5 dbPrev=6 dbNext=7 dbGetRecord=8 dbSearch=9
dbInsert=10 dbDelete=11 dbGetData=13 dbGetInfo=14 dbCommand=16"

# "name=ordinal" for every export with a name.
named_exports() {
  "$objdump" -p "$1" | awk '
    /^Export Address Table -- Ordinal Base/ { base = $NF }
    /^\[Ordinal\/Name Pointer\] Table/ { inTable = 1; next }
    inTable && /^$/ { inTable = 0 }
    inTable { gsub(/[\[\]]/, ""); print $2 "=" ($1 + base) }'
}
# "member ordinal" for every import from the named DLL; member is <none> by ordinal.
imports_from() {
  "$objdump" -p "$1" | awk -v dll="$2" '
    /DLL Name:/ { inDll = ($3 == dll); next }
    inDll && /^$/ { inDll = 0 }
    inDll && $1 ~ /^[0-9a-f]+$/ { print $3, $2 }'
}

dump=$("$objdump" -p "$dic_dll")
grep -q "file format pei-i386" <<<"$dump" || fail "OrviaDic.dll is not a 32-bit PE file"
grep -Eq "^Magic[[:space:]]+010b" <<<"$dump" || fail "OrviaDic.dll has no PE32 optional header"
characteristics=$(awk '/^Characteristics/ { print $2 }' <<<"$dump")
(( characteristics & 0x2000 )) || fail "OrviaDic.dll is not marked as a DLL"

declared=$(grep -oE 'ORVIADIC_API[[:space:]]+dic[A-Za-z]+\(' "$header" | sed -E 's/.*(dic[A-Za-z]+)\(/\1/' | sort)
exported=$(named_exports "$dic_dll" | cut -d= -f1 | sort)
[ -n "$declared" ] || fail "no dic* declarations found in $header"
for name in $exported; do
  [[ $name == *@* ]] && fail "decorated export $name"
  grep -qw -- "$name" <<<"$all38" || fail "export $name is not one of the library's functions"
done
for name in $declared; do
  grep -qx -- "$name" <<<"$exported" || fail "declared $name is not exported"
done
for name in $exported; do
  grep -qx -- "$name" <<<"$declared" || fail "exported $name is not declared in orviadic.h"
done

db_imports=$(imports_from "$dic_dll" OrviaDB.dll)
[ -n "$db_imports" ] || fail "OrviaDic.dll imports nothing from OrviaDB.dll"
while read -r member ordinal; do
  [ -z "$member" ] && continue
  [ "$member" = "<none>" ] || fail "OrviaDB.dll import by name: $member"
  grep -qE "=$ordinal( |\$)" <<<"$(tr '\n' ' ' <<<"$db_ordinals")" ||
    fail "OrviaDB.dll import of ordinal $ordinal, which is not a store operation"
done <<<"$db_imports"
for dll in $(grep -o "DLL Name: .*" <<<"$dump" | cut -d' ' -f3); do
  case "${dll,,}" in
    libgcc*|libstdc++*|libwinpthread*) fail "OrviaDic.dll needs the runtime DLL $dll" ;;
  esac
done

db_exports=$(named_exports "$db_dll")
for pair in $db_ordinals; do
  grep -qx -- "$pair" <<<"$db_exports" || fail "OrviaDB.dll does not export ${pair%=*} at ${pair#*=}"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "OrviaDic.dll: $(wc -w <<<"$exported") exports, $(wc -l <<<"$db_imports") ordinal imports; OrviaDB.dll: 13 operations in place"
