# bash completion for orviadic. Subcommands and options are read from the program's own
# --help at completion time, so the completion never lags behind the program.
_orviadic_help_words() {
  # The words a help text lists: names under "Subcommands:", or every option spelling.
  "$@" --help 2>/dev/null | awk -v want="$_orviadic_want" '
    /^[A-Za-z].*:$/ { section = $0; next }
    want == "subcommands" && section == "Subcommands:" && NF > 0 { print $1 }
    want == "options" && $1 ~ /^-/ { n = split($1, names, ","); for (i = 1; i <= n; i++) print names[i] }'
}

_orviadic() {
  local cur=${COMP_WORDS[COMP_CWORD]} program=${COMP_WORDS[0]} i
  local -a path=()
  # The subcommand path typed so far (words that are not options), e.g. "config show".
  for ((i = 1; i < COMP_CWORD; i++)); do
    case ${COMP_WORDS[i]} in
      -*) ;;
      *) _orviadic_want=subcommands
         if _orviadic_help_words "$program" "${path[@]}" | grep -qx -- "${COMP_WORDS[i]}"; then
           path+=("${COMP_WORDS[i]}")
         fi ;;
    esac
  done
  if [[ $cur == -* ]]; then
    _orviadic_want=options
  else
    _orviadic_want=subcommands
  fi
  local words
  words=$(_orviadic_help_words "$program" "${path[@]}")
  COMPREPLY=($(compgen -W "$words" -- "$cur"))
  [[ ${#COMPREPLY[@]} -eq 0 && $cur != -* ]] && COMPREPLY=($(compgen -f -- "$cur"))
  return 0
}
complete -F _orviadic orviadic
