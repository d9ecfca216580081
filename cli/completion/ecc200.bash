# Bash completion of the ecc200 tool: options, and the values of --scheme, --size, --shape,
# --format, --eci, --fg and --bg; file names for -o, -i and --batch, folders for --output-dir;
# the commands read and verify with their own options, and image files after them.
# The option list is checked against `ecc200 --help` by the tool's tests; the sizes come from
# `ecc200 --list-sizes` itself.

_ecc200() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local prev=${COMP_WORDS[COMP_CWORD-1]}
    local options="-h --help -i --input --allow-empty --scheme --size --user-mark --product-mark
        --smallest --gs1 --gs1-skip-relations --hri --eci --shape --reader-programming --split
        --file-id -o --output --print --module-size --quiet-zone --info
        --dpi --xdim --fg --bg --batch --output-dir --format --jobs --data-column --name-column
        --list-sizes -V --version"
    local colours="black white red green blue yellow cyan magenta grey transparent"
    local IFS=$' \t\n'
    local command=${COMP_WORDS[1]-}
    if [[ COMP_CWORD -gt 1 && ( $command == read || $command == verify ) ]]; then
        _ecc200_read "$command" "$cur" "$prev"
        return
    fi
    if [[ COMP_CWORD -eq 1 && $cur != -* ]]; then
        COMPREPLY=($(compgen -W "read verify" -- "$cur"))
        [[ ${#COMPREPLY[@]} -gt 0 ]] && return
    fi
    case $prev in
        --scheme)
            COMPREPLY=($(compgen -W "auto ascii c40 text x12 edifact base256" -- "$cur"))
            return ;;
        --size)
            local sizes
            sizes=$("${COMP_WORDS[0]}" --list-sizes 2>/dev/null | awk 'NR > 1 { print $1 }')
            COMPREPLY=($(compgen -W "auto $sizes" -- "$cur"))
            return ;;
        --shape)
            COMPREPLY=($(compgen -W "square any dmre" -- "$cur"))
            return ;;
        --format)
            COMPREPLY=($(compgen -W "png bmp svg pdf eps" -- "$cur"))
            return ;;
        --eci)
            COMPREPLY=($(compgen -W "utf8" -- "$cur"))
            return ;;
        --fg | --bg)
            COMPREPLY=($(compgen -W "$colours" -- "$cur"))
            return ;;
        -o | --output | -i | --input | --batch)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --output-dir)
            COMPREPLY=($(compgen -d -- "$cur"))
            return ;;
        --split)
            COMPREPLY=($(compgen -W "auto 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16" -- "$cur"))
            return ;;
        --product-mark | --file-id | --module-size | --quiet-zone | --dpi | --xdim | --jobs | --data-column | \
            --name-column)
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    fi
}

# After "ecc200 read" or "ecc200 verify": their options, image files otherwise.
_ecc200_read() {
    local command=$1 cur=$2 prev=$3
    local options="-h --help --product --product-mark --identity --raster-only"
    [[ $command == read ]] && options+=" --json"
    case $prev in
        --product | --product-mark)
            return ;;
        --identity)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    fi
}

complete -o default -F _ecc200 ecc200
