#!/usr/bin/env bash
# The layering rules of src/, checked on the sources themselves:
#   1. only src/platform/ includes an OS header: elsewhere an <...> include is a standard
#      C++ header, or one a folder is allowed (src/text/ iconv, src/compile/ zlib, src/db/
#      the compiler's processor query);
#   2. the record store (src/db/) includes nothing of the dictionary code;
#   3. the shipped libraries' folders include nothing of the compiler or src/text/;
#   4. pointer probes are called only by the exports (src/api/) and src/platform/.
# usage: check_layers.sh SOURCE_DIR   (prints each violation; exit 1 when there is one)
set -euo pipefail
cd "$1/src"
standard='algorithm|any|array|atomic|bitset|cassert|cctype|cerrno|cfloat|charconv|chrono|cinttypes|climits|clocale|cmath|codecvt|complex|condition_variable|csetjmp|csignal|cstdarg|cstddef|cstdint|cstdio|cstdlib|cstring|ctime|cwchar|cwctype|deque|exception|execution|filesystem|forward_list|fstream|functional|future|initializer_list|iomanip|ios|iosfwd|iostream|istream|iterator|limits|list|locale|map|memory|memory_resource|mutex|new|numeric|optional|ostream|queue|random|ratio|regex|scoped_allocator|set|shared_mutex|sstream|stack|stdexcept|streambuf|string|string_view|system_error|thread|tuple|type_traits|typeindex|typeinfo|unordered_map|unordered_set|utility|valarray|variant|vector'
include='#[[:space:]]*include[[:space:]]*'
violations=0
report() {
  echo "$1"
  violations=$((violations + 1))
}
forbid() {  # forbid WHY GREP-ARGUMENTS...: each line grep finds is a violation
  local why=$1 line
  shift
  while IFS= read -r line; do report "src/${line#./}: $why"; done < <(grep -rnsE "$@" || true)
}

# Each line FILE:LINE:TEXT, less those the rule allows.
while IFS= read -r line; do report "src/$line: an OS or outside header"; done < <(
  grep -rnE "^[[:space:]]*$include<" --include='*.h' --include='*.cc' . | sed 's|^\./||' |
    grep -vE "^platform/|^text/[^:]*:[0-9]+:.*<iconv\.h>|^compile/[^:]*:[0-9]+:.*<zlib\.h>" |
    grep -vE "^db/[^:]*:[0-9]+:.*<cpuid\.h>" |
    grep -vE ":[0-9]+:[[:space:]]*$include<($standard)>" || true)

forbid "the record store includes dictionary code" \
  "$include\"(dict|content|compile|lang|text|edit|update|api)/" db
forbid "a shipped library includes the compiler or src/text" "$include\"(compile|text)/" \
  api base content db dict edit lang platform update
forbid "a pointer probe outside the exports" '\bis(Readable|Writable)[[:space:]]*\(' \
  --include='*.h' --include='*.cc' --exclude-dir=api --exclude-dir=platform .

echo "$violations layering violations"
[ "$violations" = 0 ]
