// Writes data/library/tune-counts.tsv: for every tune of the catalogue, how many poems of
// the chinese-poetry dataset (全宋词, 花间集, 南唐二主词) are filed under it or under one of
// the names data/catalogue/examples/tunes.tsv lists for it (the dataset's "alias・tune"
// counts under both names). An authoring aid run by hand: node tools/library/tune_counts.mjs
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { loadCi } from '../examples/dataset.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const tunes = fs.readFileSync(path.join(here, '../../data/catalogue/examples/tunes.tsv'), 'utf8')
  .split('\n').filter((l) => l && !l.startsWith('#')).map((l) => l.split('\t'));
const poems = loadCi();
let out = '# list\trow\tname\tpoems filed under it or its other names (tunes.tsv)\n';
for (const [list, row, name, names] of tunes) {
  const wanted = new Set(names.split(' '));
  const n = poems.filter((p) => p.tunes.some((t) => wanted.has(t))).length;
  out += [list, row, name, n].join('\t') + '\n';
}
fs.writeFileSync(path.join(here, '../../data/library/tune-counts.tsv'), out);
