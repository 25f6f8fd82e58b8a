// Loads the chinese-poetry dataset for the example picker: Song ci, the two
// anthologies of the Five Dynasties, and Tang shi converted to simplified.
import fs from 'node:fs';
import path from 'node:path';
import os from 'node:os';
import { execFileSync } from 'node:child_process';

export const npmDir = process.env.LYREVANE_NPM_DIR ||
  path.join(os.homedir(), '.cache/lyrevane/npm/node_modules');
export const dist = path.join(npmDir, 'chinese-poetry/dist');

const readJson = (p) => JSON.parse(fs.readFileSync(p, 'utf8'));
const isHan = (c) => /\p{Script=Han}/u.test(c);
export const hanCount = (s) => [...s].filter(isHan).length;

// Shape of a poem: the lengths of its clauses with the punctuation that ends
// each, e.g. "7，7。5，5。". Poems of one tune in the same form share it.
export function shape(text) {
  let out = '', n = 0;
  for (const c of text) {
    if (isHan(c)) n++;
    else { out += n + c; n = 0; }
  }
  return n ? out + n : out;
}

// Ci: every poem with its source, tune names (both halves of "alias・tune")
// and a fame figure (search hits recorded in the dataset's rank files).
export function loadCi() {
  const poems = [];
  const songDir = path.join(dist, 'songci');
  for (const f of fs.readdirSync(songDir).filter((f) => /^ci\.song\..*\.json$/.test(f)).sort()) {
    const list = readJson(path.join(songDir, f));
    const rankFile = path.join(dist, 'rank/ci', f.replace('ci.song.', 'ci.song.rank.'));
    const fame = new Map();
    if (fs.existsSync(rankFile)) {
      for (const r of readJson(rankFile)) {
        const k = r.author + '|' + r.rhythmic;
        fame.set(k, Math.max(fame.get(k) || 0, r.baidu || 0));
      }
    }
    list.forEach((p, i) => poems.push({
      source: 'songci', file: f, index: i, author: p.author, rhythmic: p.rhythmic,
      text: p.paragraphs.join(''), fame: fame.get(p.author + '|' + p.rhythmic) || 0,
    }));
  }
  const hj = path.join(dist, 'wudaishici/huajianji');
  for (const f of fs.readdirSync(hj).filter((f) => /juan\.json$/.test(f)).sort()) {
    readJson(path.join(hj, f)).forEach((p, i) => poems.push({
      source: 'huajianji', file: f, index: i, author: p.author, rhythmic: p.rhythmic,
      text: p.paragraphs.join(''), fame: 0,
    }));
  }
  readJson(path.join(dist, 'wudaishici/nantang/poetrys.json')).forEach((p, i) => poems.push({
    source: 'nantang', file: 'poetrys.json', index: i, author: p.author, rhythmic: p.rhythmic,
    text: p.paragraphs.join(''), fame: 0,
  }));
  for (const p of poems) p.tunes = p.rhythmic.split('・').map((s) => s.trim());
  return poems;
}

// Converts many lines at once with the opencc command (t2s), cached on disk.
function t2s(lines, cacheName) {
  const cache = path.join(os.tmpdir(), `lyrevane-examples-${cacheName}.json`);
  if (fs.existsSync(cache)) {
    const c = readJson(cache);
    if (c.length === lines.length) return c;
  }
  const input = path.join(os.tmpdir(), `lyrevane-examples-${cacheName}.txt`);
  fs.writeFileSync(input, lines.join('\n') + '\n');
  const out = execFileSync('opencc', ['-c', 't2s.json', '-i', input], { maxBuffer: 1 << 30 })
    .toString('utf8').split('\n');
  out.length = lines.length;
  fs.writeFileSync(cache, JSON.stringify(out));
  return out;
}

// Tang shi with per-character level/oblique strains joined by id.
export function loadTang() {
  const dir = path.join(dist, 'quantangshi');
  const poems = [];
  for (const f of fs.readdirSync(dir).filter((f) => /^poet\.tang\..*\.json$/.test(f)).sort()) {
    readJson(path.join(dir, f)).forEach((p, i) => poems.push({
      source: 'tang', file: f, index: i, id: p.id, authorT: p.author, titleT: p.title,
      paragraphs: p.paragraphs, textT: p.paragraphs.join(''),
    }));
  }
  const strains = new Map();
  const sdir = path.join(dist, 'strains/json');
  for (const f of fs.readdirSync(sdir).filter((f) => /^poet\.tang\./.test(f))) {
    for (const s of readJson(path.join(sdir, f))) strains.set(s.id, s.strains);
  }
  const fame = new Map();
  const rdir = path.join(dist, 'rank/poet');
  for (const f of fs.readdirSync(rdir).filter((f) => /^poet\.tang\./.test(f))) {
    for (const r of readJson(path.join(rdir, f))) {
      const k = r.author + '|' + r.title;
      fame.set(k, Math.max(fame.get(k) || 0, r.baidu || 0));
    }
  }
  const flat = poems.map((p) => [p.authorT, p.titleT, p.paragraphs.join('')].join('\t').replace(/\n/g, ' '));
  const conv = t2s(flat, 'tang');
  poems.forEach((p, i) => {
    const [a, t, x] = conv[i].split('\t');
    p.author = a; p.title = t; p.text = x;
    p.strains = (strains.get(p.id) || []).join('');
    p.fame = fame.get(p.authorT + '|' + p.titleT) || 0;
  });
  return poems;
}

// Opening clauses (Han characters only) of the poems in the anthologies a
// reader knows best: 宋词三百首 for ci, 唐诗三百首 and 千家诗 for shi.
function collectParagraphs(node, out) {
  if (Array.isArray(node)) { for (const x of node) collectParagraphs(x, out); return; }
  if (node && typeof node === 'object') {
    if (Array.isArray(node.paragraphs)) out.push(node.paragraphs.join(''));
    for (const v of Object.values(node)) if (typeof v === 'object') collectParagraphs(v, out);
  }
}
export const opening = (text) => [...text].filter((c) => /\p{Script=Han}/u.test(c)).slice(0, 8).join('');
export function anthologyOpenings(kind) {
  const files = kind === 'ci' ? ['songci/宋词三百首.json']
    : ['mengxue/tangshisanbaishou.json', 'mengxue/qianjiashi.json'];
  const texts = [];
  for (const f of files) collectParagraphs(readJson(path.join(dist, f)), texts);
  return new Set(texts.map(opening));
}
