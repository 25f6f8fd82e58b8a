// Surveys the dataset for one catalogue list and proposes five examples per row.
// Usage: node survey.mjs common|general|rare [ROW] [--all]
// Prints, per row: the character counts found for the tune, the chosen form
// (count and clause shape), the proposed stanza break, and the ranked candidates
// with any fault flags. Writes proposals to proposals-<list>.json for build.mjs.
import fs from 'node:fs';
import { loadCi, hanCount, shape, anthologyOpenings, opening } from './dataset.mjs';
import { rowsOf } from './rows.mjs';
import { poetTier } from './poets.mjs';
import { pins, upperCounts, forms, skip, misprints } from './choices.mjs';

const [list, rowArg, ...flags] = process.argv.slice(2);
const showAll = flags.includes('--all') || rowArg === '--all';
const poems = loadCi();
const famous = anthologyOpenings('ci');

// Characters seen at most twice in the whole corpus are likely garbled.
const freq = new Map();
for (const p of poems) for (const c of p.text) freq.set(c, (freq.get(c) || 0) + 1);
export function faults(p) {
  const f = [];
  for (const c of p.text) {
    if (c === '□') { f.push('□'); break; }
  }
  for (const c of p.text) {
    if ('，。、？！；：《》'.includes(c)) continue;
    const cp = c.codePointAt(0);
    if (!/\p{Script=Han}/u.test(c)) f.push('sym:' + c);
    else if (cp < 0x4e00 || cp > 0x9fff) f.push('ext:' + c);
    else if (freq.get(c) <= 2) f.push('rare:' + c);
  }
  if (/[，、。]{2}/.test(p.text) || /^[，、。]/.test(p.text)) f.push('punct');
  if (p.file === 'ci.song.2019y.json') f.push('2019y');
  for (const m of misprints) if (p.text.includes(m)) f.push('misprint:' + m);
  if (skipped(p)) f.push('skipped');
  return [...new Set(f)];
}

function sentenceEnds(text) {
  const ends = []; let n = 0;
  for (const c of text) { if (/\p{Script=Han}/u.test(c)) n++; else ends.push(n); }
  return ends;
}
function skipped(p) {
  return skip.some((k) => { const [who, words] = k.split(':'); return p.author === who && p.text.includes(words); });
}
const lenShape = (s) => s.replace(/[，、。？！；：]/g, ',');

// The stanza break: the clause after which the lower stanza starts. The lower
// stanza of a ci usually ends with the same run of clause lengths as the upper,
// so choose the sentence end that gives the longest common ending, nearest the middle.
function proposeBreak(sh) {
  const parts = sh.match(/\d+[，、。]/g) || [];
  const lens = parts.map((x) => parseInt(x));
  const total = lens.reduce((a, b) => a + b, 0);
  let best = null;
  let acc = 0;
  for (let k = 0; k < lens.length - 1; k++) {
    acc += lens[k];
    if (!parts[k].endsWith('。')) continue;
    const up = lens.slice(0, k + 1), lo = lens.slice(k + 1);
    let s = 0;
    while (s < up.length && s < lo.length && up[up.length - 1 - s] === lo[lo.length - 1 - s]) s++;
    const score = s * 1000 - Math.abs(total / 2 - acc);
    if (!best || score > best.score) best = { score, clause: k + 1, upper: acc };
  }
  return best;
}

export function split(text, upper) {
  if (!upper) return text;
  let n = 0, i = 0;
  const cs = [...text];
  for (; i < cs.length; i++) { if (/\p{Script=Han}/u.test(cs[i])) n++; if (n === upper) break; }
  // keep the punctuation that ends the upper stanza with it
  i++; while (i < cs.length && !/\p{Script=Han}/u.test(cs[i])) i++;
  return cs.slice(0, i).join('') + '    ' + cs.slice(i).join('');
}
const out = [];
for (const row of rowsOf(list)) {
  if (rowArg && rowArg !== '--all' && Number(rowArg) !== row.row) continue;
  const names = new Set(row.names);
  const cands = poems.filter((p) => p.tunes.some((t) => names.has(t)));
  const hist = new Map();
  for (const p of cands) { p.n = hanCount(p.text); hist.set(p.n, (hist.get(p.n) || 0) + 1); }
  const histTop = [...hist].sort((a, b) => b[1] - a[1]).slice(0, 6);
  // The form: the stored count when the dataset has it, else the most common count near it.
  let target = row.count;
  if ((hist.get(target) || 0) < 3) {
    const near = [...hist].filter(([n]) => Math.abs(n - row.count) <= 12).sort((a, b) => b[1] - a[1]);
    if (near.length) target = near[0][0];
  }
  const same = cands.filter((p) => (forms[`${list}/${row.row}`] || [target]).includes(p.n));
  const shapes = new Map();
  for (const p of same) { const s = lenShape(shape(p.text)); shapes.set(s, (shapes.get(s) || 0) + 1); }
  const shapesTop = [...shapes].sort((a, b) => b[1] - a[1]);
  const modal = shapesTop.length ? shapesTop[0][0] : '';
  const accepted = new Set(shapesTop.filter(([, n], i) => i === 0 || (n >= 3 && n >= same.length * 0.08)).map(([s]) => s));
  const modalPoem = same.find((p) => lenShape(shape(p.text)) === modal && faults(p).length === 0) || same[0];
  const key = `${list}/${row.row}`;
  const brk = modalPoem ? proposeBreak(shape(modalPoem.text)) : null;
  const upper = upperCounts[key] ?? brk?.upper ?? 0;
  const single = upper === 0 || ['忆江南', '如梦令', '十六字令', '捣练子', '忆王孙', '调笑令'].includes(row.name);
  // The stanza break must fall on a clause end of the poem.
  const breakOk = (p) => single || sentenceEnds(p.text).includes(p.upper ?? upperOf(p));
  const upperOf = (p) => (typeof upper === 'object' ? upper[p.n] : upper);
  for (const p of same) p.score = (famous.has(opening(p.text)) ? 1e9 : 0) + poetTier(p.author) * 1e7 + p.fame;
  const pool = cands.filter((p) => (forms[key] || [target]).includes(p.n));
  const ok = pool.filter((p) => accepted.has(lenShape(shape(p.text))) && faults(p).length === 0 && breakOk(p));
  ok.sort((a, b) => b.score - a.score);
  const notes = [];
  const pinned = [];
  for (const pin of pins[key] || []) {
    const m = pin.match(/^([^:]+):([^!@]+)(!?)(?:@(\d+))?$/);
    const [, who, start, force, at] = m;
    const hit = cands.find((p) => p.author === who && p.text.includes(start));
    if (hit && at) hit.upper = Number(at);
    if (!hit) { notes.push(`   !! pin not found ${pin}`); continue; }
    const why = [...faults(hit), ...(pool.includes(hit) ? [] : ['count ' + hanCount(hit.text)]), ...(breakOk(hit) ? [] : ['break'])];
    if (skipped(hit)) why.push('skipped');
    if (why.length && (!force || skipped(hit))) { notes.push(`   !! pin rejected ${pin}: ${why.join(' ')}`); continue; }
    pinned.push(hit);
  }
  // Pinned poems first; then at most two poems by one poet.
  const chosen = [...pinned], per = new Map();
  for (const p of pinned) per.set(p.author, (per.get(p.author) || 0) + 1);
  for (const p of ok) {
    if (chosen.length === 5) break;
    if (chosen.includes(p) || chosen.some((c) => c.text === p.text) || (per.get(p.author) || 0) >= 2) continue;
    chosen.push(p); per.set(p.author, (per.get(p.author) || 0) + 1);
  }
  // A rare tune: any sound poem of the form, whoever wrote it.
  const loose = pool.filter((p) => faults(p).length === 0 && breakOk(p)).sort((a, b) => b.score - a.score);
  for (const p of [...ok, ...loose]) {
    if (chosen.length === 5) break;
    if (!chosen.includes(p) && !chosen.some((c) => c.text === p.text)) chosen.push(p);
  }
  console.log(`\n## ${list} ${row.row} ${row.name} stored ${row.count} -> form ${target}; found ${cands.length}; counts ${histTop.map((x) => x.join('×')).join(' ')}`);
  console.log(`   shapes ${shapesTop.slice(0, 3).map((x) => x[1] + ':' + x[0]).join('  |  ')}`);
  console.log(`   break upper ${upper} (heuristic ${brk?.upper})   ok ${ok.length}/${same.length}`);
  notes.forEach((n) => console.log(n));
  const show = showAll ? same.sort((a, b) => b.score - a.score).slice(0, 40) : chosen;
  if (chosen.length < 5) console.log(`   !! only ${chosen.length}`);
  for (const p of show) {
    const f = faults(p);
    console.log(`   ${chosen.includes(p) ? '*' : ' '} ${p.author} [${p.rhythmic}] ${famous.has(opening(p.text)) ? '300 ' : ''}${p.fame} ${p.source}/${p.file}#${p.index} ${f.join(' ')} ${accepted.has(lenShape(shape(p.text))) ? '' : 'SHAPE'}${pinned.includes(p) ? ' PIN' : ''}\n      ${split(p.text, single ? 0 : (p.upper ?? upperOf(p)))}`);
  }
  out.push({ list, row: row.row, name: row.name, count: row.count, form: target, upper: single ? 0 : upper,
    picks: chosen.map((p) => ({ source: p.source, file: p.file, index: p.index, author: p.author, rhythmic: p.rhythmic, body: split(p.text, single ? 0 : (p.upper ?? upperOf(p))) })) });
}
if (!rowArg) fs.writeFileSync(`proposals-${list}.json`, JSON.stringify(out, null, 1));
