// Extracts the rhyme plan of each 唐宋词格律 form in data/catalogue/patternbooks/tangsong.tsv:
// which rhyme group each rhyme position belongs to, as the stored book data gives it
// (field yun_classify of couyun/ci_pu/ci_long/cipai_N_long.json, see SOURCES there).
//
//   node rhymeplans.mjs TANGSONG_CI_PU_DIR
//
// Output: data/catalogue/patternbooks/tangsong-plans.tsv, one form a line: tune, form
// number, plan. The plan has one sign per rhyme position in text order: the group it
// belongs to, numbered 1, 2, 3 … in order of first use (a…z after 9). A group number that
// comes back after another group is a return to the earlier rhyme.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const out = path.join(root, 'data/catalogue/patternbooks');
const [longDir] = process.argv.slice(2);
if (!longDir) {
  console.error('usage: node rhymeplans.mjs TANGSONG_CI_PU_DIR');
  process.exit(2);
}

// The forms as the extract lists them: tune, book name and form number.
const forms = fs.readFileSync(path.join(out, 'tangsong.tsv'), 'utf8').split('\n')
  .filter((l) => l && !l.startsWith('#')).map((l) => l.split('\t'));
const index = JSON.parse(fs.readFileSync(path.join(longDir, 'ci_index.json'), 'utf8'));
const sign = (n) => (n < 9 ? String(n + 1) : String.fromCharCode(97 + n - 9));

const rows = [];
const cache = new Map();
for (const [tune, bookName, n] of forms) {
  const entry = index.find((x) => x.long_exist && x.names.includes(bookName));
  if (!entry) continue;
  if (!cache.has(entry.idx)) {
    cache.set(entry.idx, JSON.parse(fs.readFileSync(
      path.join(longDir, 'ci_long', `cipai_${entry.idx}_long.json`), 'utf8')));
  }
  const f = cache.get(entry.idx)[Number(n) - 1];
  if (!f || !f.yun_classify) continue;
  const groupOf = new Map();
  for (const [g, positions] of Object.entries(f.yun_classify)) {
    for (const p of positions) groupOf.set(p, g);
  }
  const order = [];
  let plan = '';
  for (const p of [...f.rhyme_pos].sort((a, b) => a - b)) {
    const g = groupOf.get(p);
    if (g === undefined) { plan = ''; break; }
    if (!order.includes(g)) order.push(g);
    plan += sign(order.indexOf(g));
  }
  if (plan) rows.push([tune, n, plan].join('\t'));
}
fs.writeFileSync(path.join(out, 'tangsong-plans.tsv'),
  '# tune\tform\tplan (one sign per rhyme position: its rhyme group, numbered in order of first use)\n' +
  rows.join('\n') + '\n');
console.log(`${rows.length} plans`);
