#!/usr/bin/env bash
# The pictures' index read in a real browser, headless Chromium, 800 pixels
# wide: every picture loads, every link resolves, the page needs no
# sideways scrolling and its text is no smaller than 12 pixels.
#
#   index_in_browser.sh FLAMER_HOST SCENARIO...   (none: the built-in one)
#
# Exits 77 (skipped) with a message when no Chromium is installed.
set -euo pipefail
host="$1"
shift
browser="$(command -v chromium || command -v chromium-browser || true)"
if [[ -z "$browser" ]]; then
  echo "skipped: no Chromium to read the index with (Debian's package chromium;" \
    "scripts/test.sh installs it when it can)"
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
width=800
smallest=12
# A page that loads the index in a frame of the width, then looks at it:
# each picture and link, the widest of the page and its tables, and its
# smallest text.
cat >"$work/look.html" <<HTML
<!DOCTYPE html><html><body style="margin:0">
<iframe id="page" src="pictures/index.html" style="width:${width}px;height:1000px;border:0"></iframe>
<pre id="result">the index did not load</pre>
<script>
function resolves(url) {
  const request = new XMLHttpRequest();
  try { request.open('GET', url, false); request.send(); } catch (e) { return false; }
  return request.responseText.length > 0;
}
const frame = document.getElementById('page');
frame.addEventListener('load', async () => {
  const page = frame.contentDocument;
  const lines = [];
  const images = [...page.images];
  images.forEach(image => { image.loading = 'eager'; });
  await Promise.all(images.map(image => image.complete ? null :
      new Promise(done => { image.onload = done; image.onerror = done; })));
  for (const image of images)
    lines.push((image.naturalWidth > 0 ? 'loads ' : 'broken ') + image.getAttribute('src'));
  for (const link of page.querySelectorAll('a[href]')) {
    const href = link.getAttribute('href');
    const found = href.startsWith('#') ? page.getElementById(href.slice(1)) !== null
                                       : resolves(link.href);
    lines.push((found ? 'resolves ' : 'dangling ') + href);
  }
  lines.push('width ' + Math.max(page.documentElement.scrollWidth,
      ...[...page.querySelectorAll('.table-wrap')].map(wrap => wrap.scrollWidth)));
  const sizes = [...page.querySelectorAll('p,th,td,li,h1,h2,caption,figcaption')]
      .map(element => parseFloat(getComputedStyle(element).fontSize));
  lines.push('smallest ' + Math.min(...sizes));
  document.getElementById('result').textContent = lines.join('\n');
});
</script></body></html>
HTML

failed=0
look() {
  local name="$1"
  shift
  rm -rf "$work/pictures"
  D3DX_DEBUG_OUTPUT=none "$host" --svg "$work/pictures" "$@" >/dev/null
  local dom="$work/dom.html"
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --allow-file-access-from-files --virtual-time-budget=20000 \
    --window-size=$((width + 100)),1200 --dump-dom "file://$work/look.html" 2>/dev/null |
    sed -e 's/.*<pre id="result">//' -e 's#</pre>.*##' >"$dom"
  local pictures links broken dangling page small
  pictures=$(grep -c '^loads ' "$dom" || true)
  links=$(grep -c '^resolves ' "$dom" || true)
  broken=$(grep -c '^broken ' "$dom" || true)
  dangling=$(grep -c '^dangling ' "$dom" || true)
  page=$(sed -n 's/^width //p' "$dom")
  small=$(sed -n 's/^smallest //p' "$dom")
  echo "$name: $pictures pictures load, $broken broken; $links links resolve, $dangling dangling;" \
    "page and tables ${page:-?} px wide in $width; smallest text ${small:-?} px"
  if ((pictures == 0 || broken > 0 || links == 0 || dangling > 0)) || [[ -z "$page" ]] ||
    ((page > width)) || [[ -z "$small" ]] || (($(printf '%.0f' "$small") < smallest)); then
    grep -E '^(broken|dangling) ' "$dom" || true
    failed=1
  fi
}

look built-in
for scenario in "$@"; do look "$(basename "$scenario")" "$scenario"; done
exit "$failed"
