#!/usr/bin/env bash
# Mutation check of the test suite: applies each fault of the list below, one at a time, to a
# scratch copy of the tree, rebuilds incrementally, runs the tests (stopping at the first failure)
# and counts the faults the tests catch. A developer tool, not part of CI.
#
#   scripts/mutants.sh            every fault
#   scripts/mutants.sh PATTERN    only the faults whose line contains PATTERN (e.g. "src/marks")
#
# The scratch copy and its build persist between runs (ECC200_MUTANTS_DIR, default a folder under
# TMPDIR named after this tree): only files that changed are copied, so a second run rebuilds little.
# A fault names its file and a text that must occur exactly once there, so it survives line moves;
# one whose text is gone is reported as stale. Faults sit in .cpp files where they can: one in a
# widely included header rebuilds most of the tree.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
pattern="${1:-}"
scratch="${ECC200_MUTANTS_DIR:-${TMPDIR:-/tmp}/ecc200-mutants-$(printf %s "$root" | md5sum | cut -c1-8)}"
tree="$scratch/tree"
build="$scratch/build"

# file :: text => replacement
mutants() {
    cat <<'EOF'
src/geometry/size_table.h :: {52, 52, 4, 24, 24, 2, 102, 42, 204} => {52, 52, 4, 24, 24, 2, 102, 40, 204}
src/geometry/placement_walk.h :: col += 4 - ((rows_ + 4) % 8); => col += 4 - ((rows_ + 2) % 8);
src/geometry/placement_walk.h :: == 4) PlaceCorner(3); => == 4) PlaceCorner(2);
src/geometry/placement_walk.h :: {{-1, 0}, {-1, 1}, {-1, 2}, {0, -2} => {{-1, 0}, {-1, 1}, {-1, 3}, {0, -2}
src/geometry/assembly.cpp :: timing[c] = static_cast<uint8_t>((c & 1) == 0); => timing[c] = static_cast<uint8_t>((c & 1) == 1);
src/geometry/size_table.h :: return i + 1 + 2 * (i / s.regionRows); => return i + 1 + (i / s.regionRows);
src/geometry/assembly.cpp :: timing[r * kMatrixSide] = static_cast<uint8_t>((r & 1) == 0); => timing[r * kMatrixSide] = static_cast<uint8_t>((r & 1) == 1);
src/ecc/reed_solomon.cpp :: (149 * position) % 253 + 130 => (149 * position) % 253 + 129
src/geometry/size_table.h :: return block < s.blockCount - ShortBlockCount(s) ? s.blockDataCodewords => return block < s.blockCount - ShortBlockCount(s) + 1 ? s.blockDataCodewords
src/ecc/reed_solomon.cpp :: ^ row[Words - 1]; => ^ row[0];
src/ecc/reed_solomon.cpp :: PadToCapacity(symbol, size.totalDataCodewords); => PadToCapacity(symbol, size.totalDataCodewords - 1);
src/encodation/packing.h :: kDigitPairBase = 130; => kDigitPairBase = 131;
src/encodation/packing.h :: static_cast<uint8_t>(c - 127) => static_cast<uint8_t>(c - 128)
src/encodation/packing.h :: 1600 * first + 40 * second + third + 1; => 1600 * first + 40 * second + third;
src/encodation/c40_text.cpp :: list.Append(kShift1Value); => list.Append(kShift2Value);
src/encodation/c40_text.cpp :: c = static_cast<uint8_t>(c - 128); => c = static_cast<uint8_t>(c - 127);
src/encodation/packing.h :: kEdifactUnlatchValue = 31; => kEdifactUnlatchValue = 30;
src/encodation/smallest_search.cpp :: next[kC40State] = row[kC40State + 2] + 2; => next[kC40State] = row[kC40State + 2] + 1;
src/encodation/smallest_search.cpp :: cost < kUnreached ? cost + raise : cost => cost < kUnreached ? cost + raise + 1 : cost
src/encodation/smallest_search.cpp :: row[slot] += periods * raise; => row[slot] += periods * raise + 1;
src/encodation/smallest_search.cpp :: (sets & kInEdifact) != 0 ? 0 : kUnreached; => (sets & kInEdifact) != 0 ? 0 : 0;
src/encodation/smallest_search.cpp :: i, kEdifactState, cost + tail, cost + 2); => i, kEdifactState, cost + tail, cost + 3);
src/encodation/smallest_search.cpp :: kPaddedTriplet, n, state, end[state] + 2, kOpenEnd); => kPaddedTriplet, n, state, end[state] + 1, kOpenEnd);
src/encodation/smallest_search.h :: (i - start < kLongBase256Field ? 2 : 3); => (i - start < kLongBase256Field ? 2 : 2);
src/encodation/smallest_states.h :: {kSchemeC40, 2, kUnreached, 2 + 1}, => {kSchemeC40, 2, kUnreached, 2},
src/encodation/smallest_path.cpp :: cost_[i - 3][kX12State] + 2 == cost) => cost_[i - 3][kX12State] + 1 == cost)
src/encodation/smallest_path.cpp :: return {kFromDigitPair, i - 2, state}; => return {kFromAsciiByte, i - 1, state};
src/encodation/smallest_path.cpp :: const int32_t before = (pending + 3) & 3; => const int32_t before = (pending + 2) & 3;
src/encodation/smallest_writer.cpp :: Put(RandomiseBase256(value, count_ + 1)); => Put(RandomiseBase256(value, count_));
src/encodation/smallest_writer.cpp :: case kTextState:\n                return kSchemeText; => case kTextState:\n                return kSchemeC40;
src/encodation/smallest_writer.cpp :: emit.AsciiRun(0, length_); => emit.AsciiRun(1, length_);
src/encodation/stream_prefix.h :: kEciOneCodewordMax = 126; => kEciOneCodewordMax = 127;
src/encodation/stream_prefix.cpp :: out[1] = static_cast<uint8_t>(v % 254 + 1); => out[1] = static_cast<uint8_t>(v % 254);
src/encodation/stream_prefix.cpp :: const int32_t v = eci - (kEciTwoCodewordMax + 1); => const int32_t v = eci - kEciTwoCodewordMax;
src/encodation/stream_prefix.cpp :: if (options.gs1 != 0 && options.eci != 0) return Refuse(PrefixRefusal::kConflict); => ;
src/encodation/stream_prefix.cpp :: return {symbol.data + kMacroHeaderLength, length - kMacroHeaderLength - kMacroTrailerLength}; => return {symbol.data + kMacroHeaderLength, length - kMacroHeaderLength};
src/encodation/edifact.cpp :: if (space > 2) return false; => if (space > 1) return false;
src/encodation/edifact.cpp :: return n > 1 ? n - 2 : 0; => return n > 1 ? n - 1 : 0;
src/encodation/x12.h :: return 14 + (c - 'A'); => return 13 + (c - 'A');
src/encodation/x12.cpp :: cursor.remaining) != 1) return false; => cursor.remaining) != 2) return false;
src/encodation/packing.h :: kLongBase256Field = 250; => kLongBase256Field = 249;
src/encodation/packing.h :: static_cast<uint8_t>(249 + n / kLongBase256Field) => static_cast<uint8_t>(250 + n / kLongBase256Field)
src/encodation/lookahead.cpp :: start(kSchemeBase256, 1.25f) => start(kSchemeBase256, 1.5f)
src/encodation/lookahead.cpp :: IsEdifact(c) ? 0.75f => IsEdifact(c) ? 0.8f
src/encodation/lookahead.cpp :: if (scores[id] < scores[best]) best = id; => if (scores[id] <= scores[best]) best = id;
src/encodation/lookahead.cpp :: kWindow = 6; => kWindow = 5;
src/encodation/lookahead.cpp :: .asciiHalves = IsExtended(c) ? 4 : 2, => .asciiHalves = IsExtended(c) ? 3 : 2,
src/encodation/auto_scheme.cpp :: if (scan.NextAre(3, IsUpper)) { => if (scan.NextAre(2, IsUpper)) {
src/encodation/auto_scheme.cpp :: if (padCapacity > cursor.count) => if (padCapacity > cursor.count + 1)
src/encodation/auto_scheme.cpp :: if (scan.next < scan.length && scan.suggestion != kSchemeAscii) { => if (scan.suggestion != kSchemeAscii) {
src/encodation/exact_fit.cpp :: if (capacity == n) { => if (capacity == n + 1) {
src/encodation/fixed_scheme.cpp :: cursor.count) == kNoSize) cursor.Put(kFirstPad); => cursor.count) != kNoSize) cursor.Put(kFirstPad);
src/marks/keystream.cpp :: + state.permutation[j]) & 0xFFu]; => + state.permutation[j] + 1) & 0xFFu];
src/marks/product_mark.cpp :: stepAndInvert((k >> 3) & 7) => stepAndInvert((k >> 4) & 7)
src/marks/keystream.cpp :: state.key[1] = static_cast<uint8_t>(cols & 0xFF); => state.key[1] = static_cast<uint8_t>(rows & 0xFF);
src/marks/user_mark.cpp :: codeword = static_cast<uint8_t>(~codeword); => codeword = static_cast<uint8_t>(codeword ^ 1);
src/marks/user_identity.cpp :: return c - 'a' + 10; => return c - 'a' + 11;
src/marks/user_identity.cpp :: kFieldBOffset = kFieldDigits + 1; => kFieldBOffset = kFieldDigits;
src/decoding/reed_solomon_decoder.cpp :: static_cast<int16_t>(length - 1 - power); => static_cast<int16_t>(length - power);
src/decoding/reed_solomon_decoder.cpp :: discrepancy ^= GfMultiply(locator.c[i], syndromes[n - i]); => discrepancy ^= GfMultiply(locator.c[i], syndromes[n - i + 1]);
src/decoding/ascii_decodation.cpp :: state.Put(static_cast<uint8_t>(c - 1 + kExtendedOffset)); => state.Put(static_cast<uint8_t>(c + kExtendedOffset));
src/decoding/c40_text_decodation.cpp :: if (state.Remaining() == 1) return Segment::kAscii; => if (state.Remaining() == 0) return Segment::kAscii;
src/decoding/edifact_decodation.cpp :: state.position = groupStart + (6 * v + 5) / 8 + 1; => state.position = groupStart + kCodewordsPerGroup;
src/decoding/base256_decodation.cpp :: if (first == 0) { => if (first == 1) {
src/decoding/user_mark_verdict.cpp :: return correction.values[i] == kAllBitsInverted; => return true;
src/decoding/mapping_extraction.cpp :: return 4 * wrong < patternModules; => return true;
src/marks/identity_file.cpp :: return byte == ' ' || (byte >= '\t' && byte <= '\r'); => return byte == ' ' || byte == 10;
src/marks/identity_file.cpp :: if (length == kMaxTokenLength) return true; => if (length == kMaxTokenLength - 1) return true;
src/gs1/checks.cpp :: return (10 - sum % 10) % 10 == digits.back() - '0'; => return (9 - sum % 10) % 10 == digits.back() - '0';
src/gs1/checks.cpp :: twoDigitYear ? year % 4 == 0 : => twoDigitYear ? year % 4 == 1 :
src/gs1/relations.cpp :: if (a->entry == b->entry && a->value != b->value) { => if (a->entry == b->entry && a->value == b->value) {
src/api/file_replace.cpp :: if (S_ISLNK(status.st_mode)) { => if (false) {
src/api/file_replace.cpp :: return fchmod(fd, static_cast<mode_t>(target.mode)) == 0; => return true;
cli/vector_writer.cpp :: constexpr double kPointsPerInch = 72.0; => constexpr double kPointsPerInch = 96.0;
cli/batch.cpp :: number.insert(0, static_cast<std::size_t>(width) - number.size(), '0'); => number.insert(0, static_cast<std::size_t>(width) - number.size() + 1, '0');
src/api/lifecycle.cpp :: if (length > kMaxDataLength) { => if (length >= kMaxDataLength) {
src/api/lifecycle.cpp :: symbol->options = {}; => ;
src/api/lifecycle.cpp :: symbol->sizeIndex = kAutomaticSize;\n    symbol->tag => symbol->sizeIndex = 0;\n    symbol->tag
src/api/output.cpp :: symbol->rows * symbol->cols > bufferSize => symbol->rows * symbol->cols >= bufferSize
src/api/output.cpp :: symbol.matrix[last - r]; => symbol.matrix[r];
src/api/bmp_writer.cpp :: return (width + 3) & ~3; => return (width + 4) & ~3;
src/api/bmp_writer.cpp :: PutLittleEndian32(h + 46, 256); => PutLittleEndian32(h + 46, 255);
src/api/bmp_writer.cpp :: symbol.matrix[symbol.rows - 1 - r]; => symbol.matrix[r];
src/api/encode_pipeline.cpp :: at(1, lastCol - 1) = 1; => at(1, lastCol - 1) = 0;
src/api/encode_pipeline.cpp :: if (count > SizeAt(symbol.sizeIndex).totalDataCodewords) { => if (count >= SizeAt(symbol.sizeIndex).totalDataCodewords) {
cli/formats.cpp :: {OutputFormat::kSvg, "svg", ".svg", => {OutputFormat::kSvg, "svg", ".svgz",
cli/svg_writer.cpp :: if (!grid.Dark(row, col)) { => if (grid.Dark(row, col)) {
cli/png_writer.cpp :: const int start = (layout.quietZone + col) * layout.moduleSize; => const int start = col * layout.moduleSize;
cli/terminal_writer.cpp :: return lowerDark ? kBothDark : kUpperDark; => return lowerDark ? kUpperDark : kBothDark;
cli/data_input.cpp :: if (!line.bytes.empty() && line.bytes.back() == '\r') line.bytes.pop_back(); => if (line.bytes.empty()) line.bytes.pop_back();
EOF
}

# Copies the files of the tree (tracked and new, not ignored) that differ from the scratch copy,
# keeping their times, and removes copies whose file is gone, so the build stays incremental.
sync_tree() {
    mkdir -p "$tree"
    local list
    list="$(cd "$root" && git ls-files -co --exclude-standard)"
    while IFS= read -r file; do
        [[ -f "$root/$file" ]] || continue
        if ! cmp -s "$root/$file" "$tree/$file"; then
            mkdir -p "$(dirname "$tree/$file")"
            cp -p "$root/$file" "$tree/$file"
        fi
    done <<<"$list"
    (cd "$tree" && find . -type f | sed 's|^\./||') | while IFS= read -r file; do
        grep -qxF -- "$file" <<<"$list" || rm -f "$tree/$file"
    done
}

# Replaces the one occurrence of a text in a file ("\n" in either text stands for a line break);
# exit status 3 when the text does not occur exactly once.
apply_fault() {
    python3 - "$1" "$2" "$3" <<'PY'
import sys
path, old, new = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
text = open(path, encoding="utf-8").read()
if text.count(old) != 1:
    sys.exit(3)
open(path, "w", encoding="utf-8").write(text.replace(old, new))
PY
}

build_and_test() {
    cmake --build "$build" -j2 >"$scratch/build.log" 2>&1 || return 2
    ctest --test-dir "$build" -j2 --stop-on-failure --timeout 120 >"$scratch/test.log" 2>&1
}

sync_tree
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=Release -DECC200_BUILD_EXAMPLES=OFF \
        -DECC200_BUILD_BENCH=OFF -DECC200_BUILD_TESTS=ON -DECC200_BUILD_CLI=ON >/dev/null
fi
echo "scratch copy: $scratch"
if ! build_and_test; then
    echo "the unchanged tree does not build or pass its tests; see $scratch/*.log" >&2
    exit 1
fi

total=0
caught=0
survivors=()
while IFS= read -r line; do
    [[ -z "$line" || ( -n "$pattern" && "$line" != *"$pattern"* ) ]] && continue
    file="${line%% :: *}"
    rest="${line#* :: }"
    old="${rest%% => *}"
    new="${rest#* => }"
    total=$((total + 1))
    cp -p "$tree/$file" "$scratch/original"
    status=0
    apply_fault "$tree/$file" "$old" "$new" || status=$?
    if [[ $status -eq 3 ]]; then
        result="STALE (text not found once)"
    else
        status=0
        build_and_test || status=$?
        case $status in
            0) result="SURVIVED" ;;
            2) result="NOBUILD (fix this fault: it does not compile)" ;;
            *) result="caught" ;;
        esac
    fi
    # Restored with a fresh time, so the next build recompiles the file.
    cat "$scratch/original" >"$tree/$file"
    [[ "$result" == caught* ]] && caught=$((caught + 1)) || survivors+=("$line")
    printf '%-10s %s: %s\n' "${result%% *}" "$file" "$old"
done < <(mutants)

cmake --build "$build" -j2 >/dev/null 2>&1 || true
echo
for line in "${survivors[@]}"; do echo "not caught: $line"; done
echo "caught $caught of $total faults"
