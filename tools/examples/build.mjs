// Writes the example files from the reviewed proposals.
// Usage: node build.mjs   (after survey.mjs common|general|rare and verse.mjs)
// Each file holds five lines, one example each, or "@placeholder" where the
// catalogue has no example for the slot.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { rowsOf } from './rows.mjs';
import { notes } from './choices.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const out = path.resolve(here, '../../data/catalogue/examples');

// Slots the catalogue leaves for readers' submissions.
export const reserved = {
  'rare/5': [2, 3, 4, 5], 'rare/24': [2, 3, 4, 5], 'rare/27': [2, 3, 4, 5], 'rare/38': [2, 3, 4, 5],
  'rare/6': [3, 4, 5], 'rare/16': [3, 4, 5], 'rare/31': [3, 4, 5], 'rare/40': [4, 5],
};

function dynasty(pick) {
  if (pick.source === 'songci') return '宋';
  if (pick.source === 'nantang') return '南唐';
  if (pick.source === 'tang') return '唐';
  return ['温庭筠', '皇甫松'].includes(pick.author) ? '唐' : '五代';
}

// The body with each note placed right after the words of its line.
function withNotes(body, list = []) {
  for (const [words, note] of list) {
    const at = body.indexOf(words);
    if (at < 0 || body.indexOf(words, at + 1) >= 0) throw new Error(`note ${note}: "${words}" not found once in ${body}`);
    body = body.slice(0, at + words.length) + note + body.slice(at + words.length);
  }
  return body;
}

const forms = ['# list\trow\tname\tstored count\tcharacters of examples 1-5\tof which in the upper stanza'];
const han = (t) => [...t].filter((c) => /\p{Script=Han}/u.test(c)).length;
const lengths = { common: 28, general: 38, rare: 41, verse: 16 };
for (const list of Object.keys(lengths)) {
  const file = path.join(here, `proposals-${list}.json`);
  const rows = JSON.parse(fs.readFileSync(file, 'utf8'));
  if (rows.length !== lengths[list]) throw new Error(`${file}: ${rows.length} rows`);
  fs.mkdirSync(path.join(out, list), { recursive: true });
  for (const r of rows) {
    const key = `${list}/${r.row}`;
    const lines = [];
    const picks = [...r.picks];
    for (let slot = 1; slot <= 5; slot++) {
      if ((reserved[key] || []).includes(slot) || picks.length === 0) { lines.push('@placeholder'); continue; }
      const p = picks.shift();
      if (list === 'verse') {
        lines.push(slot === 1 ? `${p.body}--${p.title}[${p.author}]` : `${p.body}——${p.title}[唐·${p.author}]`);
      } else {
        lines.push(slot === 1 ? `${withNotes(p.body, notes[key])}--${r.name}[${p.author}]`
          : `${p.body}——${r.name}[${dynasty(p)}·${p.author}]`);
      }
    }
    fs.writeFileSync(path.join(out, list, String(r.row).padStart(2, '0') + '.txt'), lines.join('\n') + '\n');
    if (list !== 'verse') {
      const bodies = r.picks.slice(0, lines.filter((l) => l !== '@placeholder').length).map((p) => p.body);
      forms.push([list, r.row, r.name, r.count, bodies.map(han).join(' '),
        bodies.map((b) => (b.includes('    ') ? han(b.split('    ')[0]) : '-')).join(' ')].join('\t'));
    }
  }
}
fs.writeFileSync(path.join(out, 'forms.tsv'), forms.join('\n') + '\n');
// The names each tune goes by in the dataset, for the content check.
const tunes = ['# list\trow\tname\tnames the dataset files it under (space separated)'];
for (const list of ['common', 'general', 'rare']) {
  for (const r of rowsOf(list)) tunes.push([list, r.row, r.name, r.names.join(' ')].join('\t'));
}
fs.writeFileSync(path.join(out, 'tunes.tsv'), tunes.join('\n') + '\n');
