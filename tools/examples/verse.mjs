// Proposes five Tang poems for each regulated-verse template.
// Usage: node verse.mjs [ROW] [--all]
// A poem fits a template when it has the template's lines, its first line
// rhymes or not as the template says (by the 平水韵 rhymes of 词韵简编) and, at
// every fixed position (○ ● △), the dataset's strains give the same tone (a
// character the strains leave unresolved passes). Writes proposals-verse.json
// for build.mjs.
import fs from 'node:fs';
import { loadTang, anthologyOpenings, opening } from './dataset.mjs';
import { verseRows } from './rows.mjs';
import { poetTier } from './poets.mjs';
import { versePins, verseSkip } from './choices.mjs';
import { loadRhymeGroups, rhymeTogether, sharePart } from './rhymegroups.mjs';

const [rowArg, flag] = process.argv.slice(2);
const poems = loadTang();
const famous = anthologyOpenings('shi');
const isHan = (c) => /\p{Script=Han}/u.test(c);
const groups = loadRhymeGroups();

function fits(p, template) {
  const marks = [...template].filter((c) => '○●◎△'.includes(c));
  const lines = p.text.split(/[，。？！；]/).filter((x) => x.length);
  const tlines = template.split(/[，。]/).filter((x) => x.length);
  if (lines.length !== tlines.length) return false;
  if (lines.some((l, i) => [...l].length !== [...tlines[i]].length || ![...l].every(isHan))) return false;
  const tones = [...p.strains].filter((c) => '平仄○？'.includes(c));
  if (tones.length !== marks.length) return false;
  // The strains settle a polyphone by its position, so they cannot tell whether
  // the first line rhymes: ask the rhyme book whether its last character shares
  // a level-tone rhyme with the end of line 2 (and, where it must not rhyme,
  // not even a neighbouring one).
  const [a, b] = [[...lines[0]].at(-1), [...lines[1]].at(-1)];
  if (tlines[0].endsWith('△') ? !rhymeTogether(groups, a, b) : sharePart(groups, a, b)) return false;
  return marks.every((m, i) => {
    const t = tones[i];
    if (m === '◎' || t === '○' || t === '？') return true;
    return (m === '●') === (t === '仄');
  });
}

const out = [];
for (const row of verseRows) {
  if (rowArg && rowArg !== '--all' && Number(rowArg) !== row.row) continue;
  const skipped = (p) => verseSkip.some((k) => { const [who, words] = k.split(':'); return p.author === who && p.text.includes(words); });
  const cands = poems.filter((p) => !skipped(p) && [...p.text].every((c) => !isHan(c) || (c.codePointAt(0) >= 0x4e00 && c.codePointAt(0) <= 0x9fff)) && fits(p, row.template));
  for (const p of cands) p.score = (famous.has(opening(p.textT)) ? 1e9 : 0) + Math.sign(Math.floor(poetTier(p.author) / 10)) * (poetTier(p.author) >= 100 ? 2e8 : 1e8) + p.fame;
  cands.sort((a, b) => b.score - a.score);
  const chosen = [], per = new Map();
  for (const pin of versePins[row.row] || []) {
    const [who, words] = pin.split(':');
    const hit = cands.find((p) => p.author === who && p.text.includes(words));
    if (hit) { chosen.push(hit); per.set(hit.author, (per.get(hit.author) || 0) + 1); }
    else console.log(`   !! pin not found ${pin}`);
  }
  for (const p of cands) {
    if (chosen.length === 5) break;
    if (chosen.includes(p) || chosen.some((c) => c.text === p.text) || (per.get(p.author) || 0) >= 1) continue;
    chosen.push(p); per.set(p.author, 1);
  }
  console.log(`\n## verse ${row.row} ${row.form}-${row.opening}: ${cands.length} fit`);
  for (const p of flag === '--all' || rowArg === '--all' ? cands.slice(0, 30) : chosen) {
    console.log(`   ${chosen.includes(p) ? '*' : ' '} ${p.author}《${p.title}》 ${famous.has(opening(p.textT)) ? '300 ' : ''}${p.fame} ${p.file}#${p.index}\n      ${p.text}`);
  }
  out.push({ list: 'verse', row: row.row, picks: chosen.map((p) => ({ source: 'tang', file: p.file, index: p.index, author: p.author, title: p.title, body: p.text })) });
}
if (!rowArg) fs.writeFileSync('proposals-verse.json', JSON.stringify(out, null, 1));
