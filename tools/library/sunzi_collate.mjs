// Collates copies of 孙子兵法 the way an editor does, chapter by chapter: the copies are
// reduced to their letters (OpenCC t2s, punctuation, whitespace
// and notes in brackets dropped, 谿 鬭 彊 read as 溪 斗 强), each is aligned with the first
// copy (the base) by longest common subsequence, and every place where they differ takes
// the reading that most copies give. A chapter where some place has no majority is left
// out. Writes, for the chapters it keeps:
//   - data/library/enjoy/sunzi/NN.txt: our heading (X第N), then the base copy's text, one
//     paragraph a line, with its punctuation and the majority readings in place of its own;
//   - data/library/enjoy/sunzi/list.txt and chapters.tsv (file, heading, and the SHA-256 of
//     each copy's normalised chapter, in the order the copies were given);
//   - data/library/sunzi-apparatus.tsv: every place where the copies differ, by chapter and
//     position in the shipped text's letters, with what each copy reads there.
// An authoring aid run by hand (needs opencc on the PATH):
//
//   node tools/library/sunzi_collate.mjs base=copy.txt name=copy.txt name=copy.txt …
//
// Copies are UTF-8 texts whose chapters start on a heading line of their own: the chapter's
// name (始计, 作战篇, 谋攻第三 …; headingRe), at most ten characters.
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const outDir = path.join(here, '../../data/library/enjoy/sunzi');
const apparatusFile = path.join(here, '../../data/library/sunzi-apparatus.tsv');

const variants = { 谿: '溪', 鬭: '斗', 彊: '强' };
const headingRe = new RegExp(
  '^[一二三四五六七八九十]*(谋功|军事|始计|计|作战|谋攻|军形|形|兵势|势|虚实|军争|九变|行军|地形|九地|火攻|用间)' +
    '篇?(第[一二三四五六七八九十]+)?.{0,4}$',
  'u');
const lastWords = '三军之所恃而动也';
const headings = ['始计第一', '作战第二', '谋攻第三', '军形第四', '兵势第五', '虚实第六', '军争第七',
  '九变第八', '行军第九', '地形第十', '九地第十一', '火攻第十二', '用间第十三'];

const t2s = (text) => execFileSync('opencc', ['-c', 't2s'], { input: text, encoding: 'utf8' });
const notes = /[（(〔［\[【][^）)〕］\]】]*[）)〕］\]】]/gu;
const isLetter = (c) => /\p{L}/u.test(c) && !/[A-Za-z]/.test(c);
const letters = (line) => [...line.replace(notes, '')].filter(isLetter).map((c) => variants[c] ?? c).join('');

// The chapters of a copy, each as its text lines (converted, notes dropped, blank lines
// and what follows the last chapter's last words left out).
function chapters(text) {
  const out = [];
  for (const raw of t2s(text).split('\n')) {
    const line = raw.replace(notes, '').trim();
    const l = letters(line);
    if (l && l.length <= 10 && headingRe.test(l) && !l.startsWith('孙子')) out.push([]);
    else if (out.length && l) out[out.length - 1].push(line);
  }
  if (out.length) {
    const last = out[out.length - 1], all = last.join('\n'), end = all.indexOf(lastWords);
    if (end >= 0) out[out.length - 1] = all.slice(0, end + lastWords.length).split('\n');
  }
  return out;
}

// Aligns `other` with `base` (arrays of letters): for every base letter i, what `other`
// has at it (the letter or '') and what it has inserted before it (ins[base.length]: at
// the end).
function align(base, other) {
  const n = base.length, m = other.length;
  const lcs = Array.from({ length: n + 1 }, () => new Uint16Array(m + 1));
  for (let i = n - 1; i >= 0; --i)
    for (let j = m - 1; j >= 0; --j)
      lcs[i][j] = base[i] === other[j] ? lcs[i + 1][j + 1] + 1 : Math.max(lcs[i + 1][j], lcs[i][j + 1]);
  const at = Array(n).fill(''), ins = Array(n + 1).fill('');
  let i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && base[i] === other[j]) { at[i++] = other[j++]; continue; }
    if (j >= m || (i < n && lcs[i + 1][j] >= lcs[i][j + 1])) at[i++] = '';
    else ins[i] += other[j++];
  }
  return { at, ins };
}

const copies = process.argv.slice(2).map((arg) => {
  const [name, file] = arg.split('=');
  const chs = chapters(fs.readFileSync(file, 'utf8'));
  if (chs.length !== 13) throw new Error(`${name}: ${chs.length} chapters found, not 13`);
  return { name, chs };
});
if (copies.length < 3) throw new Error('at least three copies');

const kept = [], apparatus = [], report = [];
for (let c = 0; c < 13; ++c) {
  const baseLines = copies[0].chs[c];
  const base = [...letters(baseLines.join(''))];
  const texts = copies.map((x) => [...letters(x.chs[c].join(''))]);
  const aligned = texts.map((t) => align(base, t));
  // Slots: the insertion point before base letter i, then base letter i.
  const slots = [];
  for (let i = 0; i <= base.length; ++i) {
    slots.push({ base: i, ins: true, read: aligned.map((a) => a.ins[i]) });
    if (i < base.length) slots.push({ base: i, ins: false, read: aligned.map((a) => a.at[i]) });
  }
  // Places: runs of slots where the copies do not all read alike.
  const places = [];
  for (let s = 0; s < slots.length; ++s) {
    const same = slots[s].read.every((r) => r === slots[s].read[0]);
    if (same) continue;
    const last = places[places.length - 1];
    if (last && last.to === s - 1) { last.to = s; } else places.push({ from: s, to: s });
  }
  let noMajority = [];
  const chosen = new Map(); // first slot of a place → {place, reading}
  for (const p of places) {
    p.read = copies.map((_, k) => slots.slice(p.from, p.to + 1).map((x) => x.read[k]).join(''));
    const counts = new Map();
    for (const r of p.read) counts.set(r, (counts.get(r) || 0) + 1);
    const [best, n] = [...counts].sort((a, b) => b[1] - a[1])[0];
    if (n * 2 <= copies.length) noMajority.push(p.read.map((r, k) => `${copies[k].name} ${r || '-'}`).join(' / '));
    p.majority = best;
    chosen.set(p.from, p);
  }
  if (noMajority.length) {
    report.push(`${headings[c]}: left out, no majority at ${noMajority.join('; ')}`);
    continue;
  }
  // The shipped text: the base's lines, its letters replaced where a place's majority is
  // not the base's reading.
  const slotOf = (i, ins) => 2 * i + (ins ? 0 : 1);
  const replace = new Map(); // slot → text to emit instead of the base's reading there
  for (const p of places) {
    const baseReading = p.read[0];
    if (p.majority === baseReading) continue;
    for (let s = p.from; s <= p.to; ++s) replace.set(s, '');
    replace.set(p.from, p.majority);
  }
  let letterIndex = 0, outLetters = '';
  const lines = baseLines.map((line) => {
    let out = '';
    for (const ch of line) {
      if (!isLetter(ch)) { out += ch; continue; }
      const insSlot = slotOf(letterIndex, true), charSlot = slotOf(letterIndex, false);
      if (replace.has(insSlot)) out += replace.get(insSlot);
      out += replace.has(charSlot) ? replace.get(charSlot) : ch;
      ++letterIndex;
    }
    return out;
  });
  if (replace.has(slotOf(base.length, true))) lines[lines.length - 1] += replace.get(slotOf(base.length, true));
  outLetters = letters(lines.join(''));
  // Positions in the shipped letters: the majority readings before each place.
  let pos = 0;
  for (let s = 0, p = 0; s < slots.length; ++s) {
    const place = chosen.get(s);
    if (place) {
      apparatus.push([String(kept.length + 1).padStart(2, '0'), pos + 1, ...place.read.map((r) => r || '-')].join('\t'));
      pos += [...place.majority].length;
      s = place.to;
      continue;
    }
    pos += [...slots[s].read[0]].length;
  }
  if (pos !== [...outLetters].length) throw new Error(`${headings[c]}: positions do not add up`);
  const hashes = texts.map((t) => crypto.createHash('sha256').update(t.join('')).digest('hex'));
  kept.push({ heading: headings[c], lines, hashes });
  report.push(`${headings[c]}: ${places.length} places, ${places.filter((p) => p.majority !== p.read[0]).length} where the base is outvoted`);
}

fs.rmSync(outDir, { recursive: true, force: true });
fs.mkdirSync(outDir, { recursive: true });
kept.forEach((k, i) => fs.writeFileSync(path.join(outDir, String(i + 1).padStart(2, '0') + '.txt'), [k.heading, '', ...k.lines].join('\n') + '\n'));
fs.writeFileSync(path.join(outDir, 'list.txt'), kept.map((k) => k.heading).join('\n') + '\n');
const names = copies.map((x) => x.name);
fs.writeFileSync(path.join(outDir, 'chapters.tsv'),
  '# The chapters of 孙子兵法 collated from the copies SOURCES.md names: file, heading, and the\n' +
  '# SHA-256 of each copy\'s text of the chapter after normalising (OpenCC t2s, letters only,\n' +
  '# 谿 鬭 彊 read as 溪 斗 强, notes in brackets dropped), in the order of the copies:\n' +
  `# ${names.join(', ')}. Written by tools/library/sunzi_collate.mjs.\n` +
  kept.map((k, i) => [String(i + 1).padStart(2, '0'), k.heading, ...k.hashes].join('\t')).join('\n') + '\n');
fs.writeFileSync(apparatusFile,
  '# Where the copies of 孙子兵法 differ, chapter by chapter (the file of enjoy/sunzi/), with what\n' +
  '# each reads ("-" for nothing). position: where the place starts among the letters of the\n' +
  '# shipped chapter, which reads as most copies do. Letters as chapters.tsv normalises them.\n' +
  '# Written by tools/library/sunzi_collate.mjs; shown nowhere in the program.\n' +
  `# chapter\tposition\t${names.join('\t')}\n` + apparatus.join('\n') + '\n');
console.log(report.join('\n'));
