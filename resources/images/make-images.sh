#!/usr/bin/env bash
# Draws the pictures of Pictarium Uploader into this script's folder. The pictures
# shown at their own size also get an x@2x.png, drawn at twice the size, for 200 % screens.
# Needs: ImageMagick 6 "convert", fontconfig "fc-list" (optional),
# fonts DejaVu Sans or Liberation Sans, and for the Chinese, Japanese and Korean hints a font
# with those glyphs (it installs Debian's fonts-noto-cjk when it is missing and it can).
# icon_64.png is not touched. A hint_*.png whose text no installed font can show gets the
# English text.
set -euo pipefail
export LC_ALL=C.UTF-8

OUT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

command -v convert >/dev/null || { echo "make-images.sh: ImageMagick 'convert' is missing" >&2; exit 1; }

if ! dpkg-query -W -f='${Status}' fonts-noto-cjk 2>/dev/null | grep -q 'install ok installed'; then
    SUDO=""; if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    if command -v apt-get >/dev/null; then
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends fonts-noto-cjk ||
            echo "make-images.sh: could not install fonts-noto-cjk" >&2
    fi
fi

# No time stamps or comments, so the same run gives the same bytes.
STRIP=(-strip -define 'png:exclude-chunk=date,time,tEXt,zTXt,iTXt')

# Opaque picture: palette PNG when it has at most 256 colours, else RGB.
save_opaque() { # source out
    local fmt=PNG24
    convert "$1" -depth 8 "$TMP/d8.miff"
    [ "$(identify -format '%k' "$TMP/d8.miff")" -le 256 ] && fmt=PNG8
    convert "$TMP/d8.miff" "${STRIP[@]}" "$fmt:$OUT/$2"
}

# Colours
BLUE='#2b6cb0'
BLUE2='#0e69c4'
BLUE_DARK='#1f5a96'
GREY_ICON='#7b8694'
GREY_SORT='#8a94a0'

# Latin font: first one ImageMagick knows.
FONT_LIST="$(convert -list font 2>/dev/null | sed -n 's/^ *Font: //p')"
pick_font() {
    local f
    for f in "$@"; do
        if grep -qx -- "$f" <<<"$FONT_LIST"; then echo "$f"; return; fi
    done
    echo "make-images.sh: none of the fonts $* is installed" >&2
    exit 1
}
FONT="$(pick_font DejaVu-Sans Liberation-Sans)"
FONT_BOLD="$(pick_font DejaVu-Sans-Bold Liberation-Sans-Bold)"

# Draws a pixel-aligned drawing (ImageMagick draw commands, one drawing unit a
# pixel, pixel centres on whole numbers) the scale times larger, so it covers the
# same pixels, each now scale x scale. A point goes to s*p + (s-1)/2. A fill takes
# whole pixels plus an outward edge half a pixel wide, at any scale, so an
# unstroked shape also grows by (s-1)/2; a stroked one gets the stroke width
# times s instead. Knows fill, stroke, stroke-width, stroke-linecap,
# stroke-linejoin, rectangle, roundrectangle, circle, line, polyline, polygon.
scale_draw() { # scale drawing
    awk -v s="$1" -v draw="$2" '
    function fmt(v) { v = sprintf("%.4f", v); sub(/0+$/, "", v); sub(/\.$/, "", v); return v }
    function px(t) { split(t, c, ","); return c[1] }
    function py(t) { split(t, c, ","); return c[2] }
    function pt(x, y) { return fmt(s * x + h) "," fmt(s * y + h) }
    function box(a, b, r,    g) {
        g = stroked ? 0 : h
        out = out " " fmt(s * px(a) + h - g) "," fmt(s * py(a) + h - g) " " fmt(s * px(b) + h + g) "," fmt(s * py(b) + h + g)
        if (r != "") out = out " " fmt(s * px(r) + g) "," fmt(s * py(r) + g)
    }
    BEGIN {
        h = (s - 1) / 2
        n = split(draw, tok, /[ \t\n]+/)
        out = "stroke-width " s
        for (i = 1; i <= n; i++) {
            t = tok[i]
            if (t == "") continue
            if (t == "fill" || t == "stroke-linecap" || t == "stroke-linejoin") {
                out = out " " t " " tok[++i]
            } else if (t == "stroke") {
                stroked = tok[++i] != "none"
                out = out " stroke " tok[i]
            } else if (t == "stroke-width") {
                out = out " stroke-width " fmt(s * tok[++i])
            } else if (t == "rectangle") {
                out = out " rectangle"; box(tok[i + 1], tok[i + 2], ""); i += 2
            } else if (t == "roundrectangle") {
                out = out " roundrectangle"; box(tok[i + 1], tok[i + 2], tok[i + 3]); i += 3
            } else if (t == "circle") {
                cx = px(tok[i + 1]); cy = py(tok[i + 1]); ex = px(tok[i + 2]) - cx; ey = py(tok[i + 2]) - cy
                r = sqrt(ex * ex + ey * ey); k = stroked ? s : s + h / r
                out = out " circle " pt(cx, cy) " " fmt(s * cx + h + k * ex) "," fmt(s * cy + h + k * ey)
                i += 2
            } else if (t == "line" || t == "polyline" || t == "polygon") {
                m = 0
                while (i < n && tok[i + 1] ~ /^-?[0-9.]+,-?[0-9.]+$/) {
                    ++i; ++m; x[m] = s * px(tok[i]) + h; y[m] = s * py(tok[i]) + h
                }
                if (t == "polygon" && !stroked && h > 0) grow(m)
                out = out " " t
                for (j = 1; j <= m; j++) out = out " " fmt(x[j]) "," fmt(y[j])
            } else {
                print "scale_draw: cannot scale \"" t "\"" > "/dev/stderr"; exit 1
            }
        }
        print out
    }
    # Moves each edge of a polygon outward by h, corners mitred.
    function grow(m,    a, j, p, q, dx, dy, l, d) {
        a = 0
        for (j = 1; j <= m; j++) { q = j % m + 1; a += x[j] * y[q] - x[q] * y[j] }
        for (j = 1; j <= m; j++) {
            q = j % m + 1; dx = x[q] - x[j]; dy = y[q] - y[j]; l = sqrt(dx * dx + dy * dy)
            ux[j] = (a > 0 ? dy : -dy) / l; uy[j] = (a > 0 ? -dx : dx) / l
        }
        for (j = 1; j <= m; j++) {
            p = (j + m - 2) % m + 1
            d = 1 + ux[p] * ux[j] + uy[p] * uy[j]
            gx[j] = x[j] + h * (ux[p] + ux[j]) / d; gy[j] = y[j] + h * (uy[p] + uy[j]) / d
        }
        for (j = 1; j <= m; j++) { x[j] = gx[j]; y[j] = gy[j] }
    }'
}

draw_at() { # scale drawing
    if [ "$1" = 1 ]; then echo "$2"; else scale_draw "$1" "$2"; fi
}

# ---------------------------------------------------------------- backgrounds

# Page background: light gradient, faint circles top-right, tinted button row.
page_look() { # out width height [plain: no circles]
    local out=$1 w=$2 h=$3
    local band=$((h - 45)) circles=()
    [ "${4:-}" = plain ] || circles=(
        -fill 'rgba(43,108,176,0.045)' -draw "circle $w,0 $((w - 150)),0"
        -fill 'rgba(43,108,176,0.035)' -draw "circle $((w - 40)),-30 $((w - 130)),-30"
        -fill 'rgba(255,255,255,0.35)' -draw "circle $((w - 95)),10 $((w - 125)),10")
    convert -size "${w}x${h}" gradient:'#fbfcfe-#eef3f9' "${circles[@]}" \
        -fill '#e9eff6' -draw "rectangle 0,$((band + 1)) $((w - 1)),$((h - 1))" \
        -fill '#cfd9e5' -draw "rectangle 0,$((band - 1)) $((w - 1)),$band" \
        -fill '#f8fafd' -draw "rectangle 0,$((band + 1)) $((w - 1)),$((band + 1))" \
        "$out"
}
page_bg() { # out width height
    page_look "$TMP/o.miff" "$2" "$3"
    save_opaque "$TMP/o.miff" "$1"
}
page_bg bg_create.png 520 355

# Header band: blue, left to right, faint light circles on the right, a darker
# bottom row. The circles stay faint, as the band gets stretched sideways.
header_look() { # out width height
    local out=$1 w=$2 h=$3
    convert -size "${h}x${w}" gradient:"$BLUE2-$BLUE" -rotate -90 +repage \
        -fill 'rgba(255,255,255,0.06)' -draw "circle $((w - 20)),6 $((w - 20)),64" \
        -fill 'rgba(255,255,255,0.045)' -draw "circle $((w - 110)),$((h + 5)) $((w - 110)),$((h - 35))" \
        -fill "$BLUE_DARK" -draw "rectangle 0,$((h - 1)) $((w - 1)),$((h - 1))" \
        "$out"
}
header_look "$TMP/o.miff" 630 45
save_opaque "$TMP/o.miff" bg_header.png

# Settings dialog: a 50 px header band over the page look, whose circles
# would crowd the band's, so left out.
header_look "$TMP/h.miff" 520 50
page_look "$TMP/p.miff" 520 430 plain
convert "$TMP/h.miff" "$TMP/p.miff" -append +repage "$TMP/o.miff"
save_opaque "$TMP/o.miff" bg_setting.png

# Title band and its separator line.
convert -size 300x40 gradient:'#f7f9fc-#e9eff6' \
    -fill '#d3dde9' -draw 'rectangle 0,39 299,39' \
    "$TMP/o.miff"
save_opaque "$TMP/o.miff" bg_title.png
# Column separator: a grey-blue line with a white edge, fading out at both ends.
convert \( -size 1x16 gradient:'#eef2f7-#c3cfdc' \) \( -size 1x15 gradient:'#c3cfdc-#eef2f7' \) -append \
    \( -size 1x31 xc:'#ffffff' \) +append +repage "$TMP/o.miff"
save_opaque "$TMP/o.miff" bg_title_line.png

# List rows: plain and hover/selected.
convert -size 400x40 xc:'#ffffff' \
    -fill '#e3e9f0' -draw 'rectangle 0,39 399,39' \
    "$TMP/o.miff"
save_opaque "$TMP/o.miff" bg_list.png
convert -size 400x40 gradient:'#eef5fd-#e2eefb' \
    -fill '#c3d8ef' -draw 'rectangle 0,39 399,39' \
    -fill "$BLUE" -draw 'rectangle 0,0 2,38' \
    "$TMP/o.miff"
save_opaque "$TMP/o.miff" bg_list_hover.png

# ---------------------------------------------------------------- small icons
# Drawn 4 times larger, then averaged down to 16x16 (32x32 for the @2x ones).

# Name of a picture at a scale: x.png, x@2x.png.
at_scale() { # scale name
    if [ "$1" = 1 ]; then echo "$2"; else echo "${2%.png}@${1}x.png"; fi
}

# Drawing commands that draw a 64x64 drawing on a canvas the scale times larger.
big_affine() { # scale
    [ "$1" = 1 ] || echo "translate $(awk -v s="$1" 'BEGIN { h = (s - 1) / 2; print h "," h }') scale $1,$1 "
}

shrink4() { # out
    convert "$TMP/big.png" -filter Box -resize 25% "${STRIP[@]}" "PNG32:$OUT/$1"
}

# Help: blue disc with a white question mark.
help_icon() { # scale out
    local big=$((64 * $1))
    convert -size "${big}x${big}" xc:none -fill "$BLUE" -draw "$(big_affine "$1")circle 32,32 32,1" \
        -font "$FONT_BOLD" -pointsize $((46 * $1)) -fill white -gravity center -annotate "+0+$1" '?' \
        "$TMP/big.png"
    shrink4 "$(at_scale "$1" "$2")"
}

# Delete: a cross; hover is red.
delete_icon() { # scale out colour width
    local big=$((64 * $1))
    convert -size "${big}x${big}" xc:none -fill none -stroke "$3" -strokewidth "$4" \
        -draw "$(big_affine "$1")stroke-linecap round line 17,17 47,47 line 47,17 17,47" "$TMP/big.png"
    shrink4 "$(at_scale "$1" "$2")"
}

# Edit: a pencil, tip down-left; hover is blue.
edit_icon() { # scale out body-colour
    local big=$((64 * $1))
    convert -size "${big}x${big}" xc:none -stroke none \
        -draw "$(big_affine "$1")translate 32,32 rotate 45
               fill $3 roundrectangle -7,-29 7,-21 3,3
               fill $3 rectangle -7,-18 7,13
               fill #d9dee5 polygon -7,15 7,15 0,29
               fill $3 polygon -2.6,24.5 2.6,24.5 0,29" \
        "$TMP/big.png"
    shrink4 "$(at_scale "$1" "$2")"
}

# Sort arrows: crisp triangles with 45 degree edges, 9x5 at scale 1. A row
# takes every pixel the edges cover at least half of.
sort_icons() { # scale
    local s=$1 mvg asc
    mvg="$(awk -v s="$s" 'BEGIN {
        for (k = 0; k < 5 * s; k++) {
            lo = int(4.5 * s - k - 0.5); hi = -int(-(4.5 * s + k + 0.5)) - 1
            if (lo < 0) lo = 0
            if (hi > 9 * s - 1) hi = 9 * s - 1
            printf "rectangle %d,%d %d,%d ", lo, k, hi, k
        }
    }')"
    asc="$OUT/$(at_scale "$s" icon_sort_asc.png)"
    convert -size "$((9 * s))x$((5 * s))" xc:none +antialias -fill "$GREY_SORT" -draw "$mvg" \
        "${STRIP[@]}" "PNG32:$asc"
    convert "$asc" -flip "${STRIP[@]}" "PNG32:$OUT/$(at_scale "$s" icon_sort_des.png)"
}

for s in 1 2; do
    help_icon "$s" bt_help.png
    delete_icon "$s" bt_del.png "$GREY_ICON" 8
    delete_icon "$s" bt_del_hover.png '#c53030' 9
    edit_icon "$s" bt_edit.png "$GREY_ICON"
    edit_icon "$s" bt_edit_hover.png "$BLUE"
    sort_icons "$s"
done

# ---------------------------------------------------------------- create button
# A rounded button on the header band, cut in three parts 32 px high: the left
# end with a plus (34 wide), a plain middle tile repeated under the text (8 wide)
# and the right end (13 wide). Normal, hover and pressed.

create_button() { # scale state top bottom border plus dy [inset]
    local c=$1 w=$((34 + 8 * 2 + 13))
    shift
    convert \( -size "$((w * c))x$((32 * c))" gradient:"$2-$3" \
        -fill "${7:-none}" -draw "$(draw_at "$c" "rectangle 0,1 $((w - 1)),1")" \) \
        \( -size "$((w * c))x$((32 * c))" xc:none -fill white \
        -draw "$(draw_at "$c" "roundrectangle 0,0 $((w - 1)),31 5,5")" \) \
        -compose CopyOpacity -composite -compose Over \
        -fill none -stroke "$4" -strokewidth 1 -draw "$(draw_at "$c" "stroke $4 roundrectangle 0,0 $((w - 1)),31 5,5")" \
        +antialias -stroke none -fill "$5" \
        -draw "$(draw_at "$c" "rectangle 12,$((15 + $6)) 23,$((16 + $6)) rectangle 17,$((10 + $6)) 18,$((21 + $6))")" \
        "$TMP/button.miff"
    # Cut from one drawing, so the parts meet pixel-exactly.
    convert "$TMP/button.miff" -crop "$((34 * c))x$((32 * c))+0+0" +repage "${STRIP[@]}" \
        "PNG32:$OUT/$(at_scale "$c" "bt_create_${1}1.png")"
    convert "$TMP/button.miff" -crop "$((8 * c))x$((32 * c))+$((34 * c))+0" +repage "${STRIP[@]}" \
        "PNG32:$OUT/$(at_scale "$c" "bt_create_${1}2.png")"
    convert "$TMP/button.miff" -crop "$((13 * c))x$((32 * c))+$(((w - 13) * c))+0" +repage "${STRIP[@]}" \
        "PNG32:$OUT/$(at_scale "$c" "bt_create_${1}3.png")"
}
for s in 1 2; do
    create_button "$s" normal '#ffffff' '#e6f0fa' '#6f9fd3' "$BLUE" 0
    create_button "$s" hover '#f4f9fe' '#d6e7f9' "$BLUE" "$BLUE2" 0
    create_button "$s" action '#d3e3f5' '#c0d6f0' "$BLUE_DARK" "$BLUE_DARK" 1 '#b5cdea'
done

# ---------------------------------------------------------------- busy spinner
# 8 dots on a ring, the head dark and the tail fading. GIF has on/off
# transparency only, so the dots are drawn pixel-exact: round 4x4 dots for
# the head half, 2x2 dots for the tail.

spinner_frames=()
for f in 0 1 2 3 4 5 6 7; do
    mvg="$(awk -v f="$f" 'BEGIN {
        split("10,3 15,5 17,10 15,15 10,17 5,15 3,10 5,5", pos, " ")
        split("43,108,176 70,127,184 97,145,192 123,163,200 146,178,207 164,190,213 179,199,218 190,206,222", col, " ")
        for (k = 7; k >= 0; k--) {
            split(pos[(f - k + 16) % 8 + 1], p, ",")
            x = p[1]; y = p[2]
            printf "fill rgb(%s) ", col[k + 1]
            if (k < 4)
                printf "rectangle %d,%d %d,%d rectangle %d,%d %d,%d\n", x - 2, y - 1, x + 1, y, x - 1, y - 2, x, y + 1
            else
                printf "rectangle %d,%d %d,%d\n", x - 1, y - 1, x, y
        }
    }')"
    convert -size 20x20 xc:none +antialias -stroke none -draw "$mvg" +repage "$TMP/spin$f.png"
    spinner_frames+=("$TMP/spin$f.png")
done
convert -dispose Background -delay 8 -loop 0 "${spinner_frames[@]}" +repage \
    -strip "GIF:$OUT/loading.gif"

# ---------------------------------------------------------------- hint pictures
# A file window with picked photos and the right-click menu, entry highlighted.

HINT_BASE="
    fill rgba(20,45,80,0.10) roundrectangle 12,13 298,145 6,6
    fill white stroke #c3cdd9 roundrectangle 10,10 296,142 6,6 stroke none
    fill #e6ecf3 roundrectangle 11,11 295,32 5,5 rectangle 11,24 295,32
    fill #d3dbe5 rectangle 11,32 295,32
    fill #b5c0cc roundrectangle 22,19 92,23 2,2
    fill #c3cdd9 circle 262,21 262,17.5 circle 274,21 274,17.5 circle 286,21 286,17.5
    fill #f3f6fa rectangle 11,33 70,141
    fill #dde5ee rectangle 70,33 70,141
    fill #dbe8f6 rectangle 11,53 69,63
    fill #cfd7e1 roundrectangle 18,42 58,45 1.5,1.5
    fill #8fb1d6 roundrectangle 18,57 62,60 1.5,1.5
    fill #cfd7e1 roundrectangle 18,72 54,75 1.5,1.5 roundrectangle 18,87 60,90 1.5,1.5
    fill #cfd7e1 roundrectangle 18,102 50,105 1.5,1.5
    fill #dceafa stroke #8db8e6 roundrectangle 77,37 127,84 4,4 roundrectangle 127,37 177,84 4,4
    stroke none
    fill #9cc7ee rectangle 82,42 121,73 rectangle 132,42 171,73 rectangle 132,92 171,123
    fill #f6c744 circle 112,50 112,46 circle 162,100 162,96
    fill #5fa36a polygon 82,73 82,62 93,54 106,64 113,59 121,66 121,73
    fill #3f8a55 polygon 132,73 132,64 146,55 160,67 171,60 171,73
    fill #7dbb7f polygon 132,123 132,112 144,104 157,113 171,106 171,123
    fill #f3b27a rectangle 182,42 221,73 rectangle 82,92 121,123
    fill #8c6bb1 polygon 182,73 182,60 195,53 210,64 221,57 221,73
    fill #b0617e polygon 82,123 82,113 98,104 121,116 121,123
    fill #3d4a5c rectangle 232,42 271,73 rectangle 182,92 221,123
    fill white polygon 247,51 247,65 259,58 polygon 197,101 197,115 209,108
    fill #7fa8d4 roundrectangle 86,78 117,80 1,1 roundrectangle 136,78 167,80 1,1
    fill #cfd7e1 roundrectangle 186,78 217,80 1,1 roundrectangle 236,78 267,80 1,1
    fill #cfd7e1 roundrectangle 86,128 117,130 1,1 roundrectangle 136,128 167,130 1,1
    fill #cfd7e1 roundrectangle 186,128 217,130 1,1
    fill rgba(20,45,80,0.14) roundrectangle 167,66 409,142 4,4
    fill white stroke #b9c4d1 roundrectangle 164,62 406,138 4,4 stroke none
    fill #d4dbe4 roundrectangle 174,71 184,81 2,2
    fill #c3ccd7 roundrectangle 194,74 246,78 2,2
    fill #e1e6ed rectangle 170,89 400,89
    fill $BLUE roundrectangle 168,93 402,113 3,3
    fill none stroke white stroke-width 1.6 stroke-linecap round stroke-linejoin round
    polyline 174,104 174,108 184,108 184,104
    line 179,106 179,97 polyline 175.5,100 179,96.5 182.5,100
    stroke none
    fill #d4dbe4 roundrectangle 174,120 184,130 2,2
    fill #c3ccd7 roundrectangle 194,123 262,127 2,2
    "
for s in 1 2; do
    convert -size "$((420 * s))x$((150 * s))" gradient:'#f6f9fc-#e9eff6' -stroke none \
        -draw "$(draw_at "$s" "$HINT_BASE")" "$TMP/hint_base$s.png"
done

# Cursor on the picked photos, at the menu corner.
CURSOR="fill #1b1b1b stroke white stroke-width 1 stroke-linejoin round
    polygon 158,56 158,72 162,68.2 165.2,75 168,73.8 165,67.2 170.2,67.2"

# The text is drawn in runs: ASCII with the Latin font, the rest with the
# first installed font that shows every character of the run.
font_for_run() { # run -> font file, or nothing
    local run=$1 cps="" i files f
    command -v fc-list >/dev/null || return 0
    for ((i = 0; i < ${#run}; i++)); do
        cps+="$(printf '%x' "'${run:i:1}") "
    done
    files="$(fc-list ":charset=${cps% }" file 2>/dev/null | sed 's/: *$//' | sort)"
    [ -n "$files" ] || return 0
    for f in DejaVuSans.ttf LiberationSans-Regular.ttf; do
        if grep -q "/$f\$" <<<"$files"; then grep "/$f\$" <<<"$files" | head -n1; return; fi
    done
    head -n1 <<<"$files"
}

RUN_TEXT=()
RUN_FONT=()
split_runs() { # text; fails when a run has no font
    local text=$1 i ch kind prev="" run=""
    RUN_TEXT=()
    RUN_FONT=()
    for ((i = 0; i <= ${#text}; i++)); do
        ch=${text:i:1}
        kind=other
        if [ $i -eq ${#text} ]; then kind=end; elif [ "$(printf '%d' "'$ch")" -lt 127 ]; then kind=ascii; fi
        # A space stays with the run before it (a run's leading space is not drawn).
        if [ "$ch" = ' ' ] && [ -n "$run" ]; then kind=$prev; fi
        if [ -n "$run" ] && [ "$kind" != "$prev" ]; then
            RUN_TEXT+=("$run")
            if [ "$prev" = ascii ]; then RUN_FONT+=("$FONT"); else RUN_FONT+=("$(font_for_run "$run")"); fi
            [ -n "${RUN_FONT[-1]}" ] || return 1
            run=""
        fi
        run+=$ch
        prev=$kind
    done
}

advance() { # font size text -> width in pixels the pen moves
    local a
    a="$(convert -size 1x1 xc: -font "$1" -pointsize "$2" -debug annotate -annotate 0 "$3" null: 2>&1 \
        | sed -n 's/.*; origin: \([0-9.-]*\),.*/\1/p' | head -n1)"
    [ -n "$a" ] || a="$(convert -font "$1" -pointsize "$2" label:"$3" -format '%w' info:)"
    echo "$a"
}

ENGLISH='Upload to Pictarium'
hint() { # out text
    local out=$1 text=$2 size=12 i w x args s y
    if ! split_runs "$text"; then
        echo "make-images.sh: no installed font shows '$text'; $out gets the English text" >&2
        split_runs "$ENGLISH"
    fi
    # Shrink the text until it fits the entry.
    while :; do
        w=0
        for i in "${!RUN_TEXT[@]}"; do
            w="$(awk -v a="$w" -v b="$(advance "${RUN_FONT[i]}" "$size" "${RUN_TEXT[i]}")" 'BEGIN { print a + b }')"
        done
        awk -v w="$w" 'BEGIN { exit !(w <= 204) }' && break
        [ "$size" -le 9 ] && break
        size=$((size - 1))
    done
    # The same text at each scale: size and start times the scale, the runs
    # placed by their advance at that size.
    for s in 1 2; do
        args=()
        x="$(awk -v s="$s" 'BEGIN { print 193 * s + (s - 1) / 2 }')"
        y="$(awk -v s="$s" 'BEGIN { print 107.5 * s + (s - 1) / 2 }')"
        for i in "${!RUN_TEXT[@]}"; do
            args+=(-font "${RUN_FONT[i]}" -annotate "+$x+$y" "${RUN_TEXT[i]}")
            x="$(awk -v a="$x" -v b="$(advance "${RUN_FONT[i]}" $((size * s)) "${RUN_TEXT[i]}")" 'BEGIN { print a + b }')"
        done
        convert "$TMP/hint_base$s.png" -pointsize $((size * s)) -fill white "${args[@]}" \
            -draw "$(draw_at "$s" "$CURSOR")" "$TMP/o.miff"
        save_opaque "$TMP/o.miff" "$(at_scale "$s" "$out")"
    done
}

hint hint.png "$ENGLISH"
hint hint_deu.png 'Zu Pictarium hochladen'
hint hint_fra.png 'Envoyer vers Pictarium'
hint hint_esn.png 'Subir a Pictarium'
hint hint_nld.png 'Uploaden naar Pictarium'
hint hint_ptg.png 'Carregar para o Pictarium'
hint hint_jpn.png 'Pictarium にアップロード'
hint hint_krn.png 'Pictarium에 업로드'
hint hint_cht.png '上傳到 Pictarium'
