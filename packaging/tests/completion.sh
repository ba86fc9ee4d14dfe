#!/bin/bash
# Checks the bash completion of zantoria-cli, on its own and, where it is
# installed, with the bash-completion package.
# Usage: completion.sh COMPLETION_FILE
completion=$(realpath "$1")
library=/usr/share/bash-completion/bash_completion
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A stand-in fc-list, whose second family would run a command if the
# completion ever evaluated a font name.
mkdir -p "$work/bin" "$work/pictures" "$work/texts/folder"
# shellcheck disable=SC2016
printf '#!/bin/sh\necho "Foo Sans,Foo Sans Bold"\necho "Foo\$(touch %s/evaluated)"\n' "$work" >"$work/bin/fc-list"
chmod +x "$work/bin/fc-list"
touch "$work/pictures/cat.JPG" "$work/pictures/notes.txt" "$work/texts/notes.txt"

# The completions offered for the words given, the last being the one
# under the cursor, sorted and joined by "|".
offered()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _zantoria_cli zantoria-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd'|'
}

failed=0
expect()
{
    local want=$1 got
    shift
    got=$(offered "$@")
    if [[ $got != "$want" ]]; then
        echo "FAIL ($mode): zantoria-cli ${*:2}: got '$got', want '$want'"
        failed=1
    fi
}

for mode in plain bash-completion; do
    if [[ $mode == bash-completion ]]; then
        [[ -r $library ]] || { echo "skipped with bash-completion: $library missing"; continue; }
        # shellcheck disable=SC1090
        source "$library"
    fi
    # shellcheck disable=SC1090
    source "$completion"
    PATH="$work/bin:$PATH"

    # Commands, options and option values.
    expect '--help|arttext|fold|pic2text' zantoria-cli ''
    expect '--blank-lines|--cp936|--help|--inner|--input-encoding|--leading|--stats|--trailing' zantoria-cli fold --
    expect 'auto|cp936|utf-8' zantoria-cli fold --input-encoding ''
    expect 'follow|leftright|loop|plain|updown|vivid' zantoria-cli arttext --effect ''
    expect '94|custom|normal' zantoria-cli pic2text --preset ''
    expect '--braille' zantoria-cli pic2text --br
    expect '--dither' zantoria-cli pic2text --invert --d
    expect 'both|full|half' zantoria-cli arttext --width ''
    expect '' zantoria-cli pic2text --width ''
    # The value of an option, and TEXT after "--", are not options.
    expect '' zantoria-cli arttext --fg --effect ''
    expect '' zantoria-cli arttext -- --e
    expect '' zantoria-cli nosuchcommand --

    # Fonts come from fontconfig and are never evaluated.
    # shellcheck disable=SC2016
    expect 'Foo Sans|Foo Sans Bold|Foo$(touch '"$work"'/evaluated)' zantoria-cli arttext --font Foo
    [[ -e $work/evaluated ]] && { echo "FAIL ($mode): a font name was evaluated"; failed=1; }

    # Pictures are favoured; without one, any file is offered.
    expect "$work/pictures/cat.JPG" zantoria-cli pic2text "$work/pictures/"
    expect "$work/texts/folder|$work/texts/notes.txt" zantoria-cli pic2text --ordered "$work/texts/"
    expect "$work/texts/notes.txt" zantoria-cli fold "$work/texts/n"
done

exit "$failed"
