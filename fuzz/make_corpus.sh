#!/usr/bin/env bash
# Fills build/fuzz/corpus/<target> with the seed inputs of each fuzz target:
# the data files of the examples and of the tests, the values and templates
# cut out of them, and the hand-written seeds in fuzz/seeds/<target>. Also
# writes build/fuzz/lumaro.dict, the tag names and words of the data files, so
# that the fuzzer builds elements instead of guessing them byte by byte.
# Files already in a corpus (what earlier runs found) stay.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/fuzz/corpus
mkdir -p "$out"

targets=(xml_tags conversions ini templates certificate a4_sheets a5_sheets two_halves pdf_writer)
for t in "${targets[@]}"; do
  mkdir -p "$out/$t"
  if [ -d "fuzz/seeds/$t" ]; then
    cp fuzz/seeds/"$t"/* "$out/$t"/ 2>/dev/null || true
  fi
done

copy_named() {  # copy_named NAME TARGET...: every file NAME of the examples and test data
  local name=$1; shift
  while IFS= read -r -d '' f; do
    local id
    id=$(echo "$f" | tr '/' '_')
    for t in "$@"; do cp "$f" "$out/$t/$id"; done
  done < <(find examples documents -name "$name" -type f -print0)
}
copy_named Besamung.xml certificate templates xml_tags
copy_named WZBeleg.xml a4_sheets a5_sheets two_halves templates xml_tags
copy_named Halmor.ini ini
while IFS= read -r -d '' f; do
  id=$(echo "$f" | tr '/' '_')
  for t in a4_sheets a5_sheets two_halves templates xml_tags; do cp "$f" "$out/$t/$id"; done
done < <(find documents -path '*/testdata/*.xml' -type f -print0)

# Every element value of the data files is a seed for the conversions, and
# every single template entry one for the template engine.
python3 - "$out" <<'PY'
import hashlib, pathlib, re, sys
out = pathlib.Path(sys.argv[1])
files = [p for p in pathlib.Path(".").glob("examples/*/*.xml")] + \
        [p for p in pathlib.Path("documents").glob("**/testdata/*.xml")]
values, entries, tags = set(), set(), set()
for p in files:
    data = p.read_bytes()
    values.update(re.findall(rb">([^<>]{1,60})</", data))
    entries.update(re.findall(rb"<FormularDaten>.*?</FormularDaten>", data, re.S))
    tags.update(re.findall(rb"<([A-Za-z0-9]+)>", data))
def put(target, data):
    (out / target / ("v-" + hashlib.sha1(data).hexdigest()[:16])).write_bytes(data)
for v in values:
    put("conversions", v)
for e in entries:
    put("templates", e)
words = [b"Text", b"Linie", b"Grafik", b"logo.png", b"bild.bad", b"True", b"False", b"Ja",
         b"Nein", b"Angewandt", b"Abgegeben", b"Aufstellung der Kosten",
         b"Wartezeiten A4 f\xfcr Tierhalter", b"Wartezeiten 2 x A5 auf A4",
         b"Wartezeiten auf A5-Papier", b"\r\n", b"=", b"[Drucker]", b"Labeldrucker",
         b"[wdwGrafikSpeicher]", b"AufrufZ\xe4hler", b"1E308", b"-", b",", b"."]
def quoted(b):
    return '"' + "".join(chr(c) if 32 <= c < 127 and c not in (34, 92) else "\\x%02X" % c
                         for c in b) + '"'
lines = []
for t in sorted(tags):
    lines.append(quoted(b"<" + t + b">"))
    lines.append(quoted(b"</" + t + b">"))
lines += [quoted(w) for w in words]
(out.parent / "lumaro.dict").write_text("\n".join(lines) + "\n")
PY
for t in "${targets[@]}"; do
  printf '%-12s %5d seeds\n' "$t" "$(find "$out/$t" -type f | wc -l)"
done
