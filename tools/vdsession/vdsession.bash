# Bash completion of vdsession. The tool answers itself (vdsession complete), from the table its
# parsing reads and from the session file's schema, so this script knows no command, option or key.

# The words of the command line up to the cursor, unquoted, into the array _vdsession_words; the
# last one is the word being completed, empty when a new one starts. Split here rather than taken
# from COMP_WORDS, which bash also splits at COMP_WORDBREAKS (":", "=") and leaves quoted: a key
# such as "/basic settings/IsMMR" holds a blank, and a file name may hold anything. With a second
# argument, blanks split nothing: the text is one word.
_vdsession_split()
{
    local line=$1 whole=$2 word= quote= started= c i
    _vdsession_words=()
    for ((i = 0; i < ${#line}; i++)); do
        c=${line:i:1}
        if [[ -n $quote ]]; then
            if [[ $c == "$quote" ]]; then
                quote=
            elif [[ $quote == '"' && $c == '\' && ${line:i+1:1} == [\"\\\$\`] ]]; then
                word+=${line:i+1:1}
                ((i++))
            else
                word+=$c
            fi
        elif [[ $c == [\'\"] ]]; then
            quote=$c
            started=1
        elif [[ $c == '\' ]]; then
            word+=${line:i+1:1}
            ((i++))
            started=1
        elif [[ -z $whole && $c == [[:space:]] ]]; then
            [[ -n $started ]] && _vdsession_words+=("$word")
            word= started=
        else
            word+=$c
            started=1
        fi
    done
    _vdsession_words+=("$word")
}

_vdsession()
{
    local -a _vdsession_words answer
    _vdsession_split "${COMP_LINE:0:COMP_POINT}"
    local cur=${_vdsession_words[-1]}
    local program=${_vdsession_words[0]}
    [[ $program == '~/'* ]] && program=$HOME/${program:2}
    local -a arguments=("${_vdsession_words[@]:1}")
    local i
    for i in "${!arguments[@]}"; do
        [[ ${arguments[i]} == '~/'* ]] && arguments[i]=$HOME/${arguments[i]:2}
    done

    mapfile -t answer < <("$program" complete -- "${arguments[@]}" 2>/dev/null)
    COMPREPLY=()
    # Readline quotes what it puts in, as it does for file names, and shows only the last step of
    # a key in the list of candidates.
    compopt -o filenames 2>/dev/null
    if [[ ${answer[0]} == files ]]; then
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    [[ ${answer[0]} == words ]] || return

    # Readline replaces only its own word, which starts after the last of COMP_WORDBREAKS (the "="
    # of --layout=legacy); the candidates lose what comes before it.
    _vdsession_split "$2" whole
    local own=${_vdsession_words[-1]}
    local before=$((${#cur} - ${#own}))
    ((before < 0)) && before=0
    for i in "${answer[@]:1}"; do
        COMPREPLY+=("${i:before}")
    done
    # A key that holds others, like a folder, is followed by the next step, not a blank.
    if ((${#COMPREPLY[@]} == 1)) && [[ ${COMPREPLY[0]} == */ ]]; then
        compopt -o nospace 2>/dev/null
    fi
}
complete -F _vdsession vdsession
