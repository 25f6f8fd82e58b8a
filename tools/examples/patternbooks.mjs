// Extracts, for the tunes of the catalogue, the forms two pattern books give
// them, as compact TSV files under data/catalogue/patternbooks/. The books are
// public data kept in two repositories (see data/catalogue/patternbooks/SOURCES);
// point this script at checked-out copies of their data folders:
//
//   node patternbooks.mjs QINDING_DATA_DIR TANGSONG_CI_PU_DIR
//
// QINDING_DATA_DIR holds ciPai.json and ciPu.json; TANGSONG_CI_PU_DIR holds
// ci_index.json, ci_long/ and ci_long_origin/.
//
// Output notation, one form a line: tune, the book's name for it, form number,
// author, characters, pattern. The pattern uses the catalogue's marks (○ ● ◎,
// △ ▲ at rhyme positions) and "，" "。" "、" after a clause or pause. Neither
// book marks the stanza break in a form that can be read reliably, so it is
// left out.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const out = path.join(root, 'data/catalogue/patternbooks');
const [qinDir, longDir] = process.argv.slice(2);
if (!qinDir || !longDir) {
  console.error('usage: node patternbooks.mjs QINDING_DATA_DIR TANGSONG_CI_PU_DIR');
  process.exit(2);
}

// Our tune names in list order, with the name each book files the tune under
// where it differs.
const tunes = [];
for (const list of ['common', 'general', 'rare']) {
  const text = fs.readFileSync(path.join(root, 'data/catalogue', `${list}.txt`), 'utf8');
  for (const m of text.matchAll(/^name: (.+)$/gm)) tunes.push(m[1]);
}
// 钦定词谱 files 周邦彦's 过秦楼 (水浴清蟾) under 选冠子 and keeps 过秦楼 for 李甲's
// other tune; 庆春泽 is the 高阳台 here, the book's 庆春泽 being a shorter tune.
const qinName = {
  雨淋铃: '雨霖铃', 荆州亭: '江亭怨', 离亭燕: '离亭宴', 潇湘夜雨: '满庭芳',
  瑶台聚八仙: '新雁过妆楼', 薄幸: '薄倖', 浪淘沙: '浪淘沙令', 诉衷情: '诉衷情令',
  过秦楼: '选冠子', 庆春泽: '高阳台',
};
const longName = {
  雨淋铃: '雨霖铃', 河满子: '何满子', 潇湘夜雨: '满庭芳', 浪淘沙: '浪淘沙令', 庆春泽: '高阳台',
};

const rows = [];
const line = (tune, bookName, n, author, pattern) => {
  const count = [...pattern].filter((c) => '○●◎△▲'.includes(c)).length;
  rows.push([tune, bookName, n, author, count, pattern].join('\t'));
};

// 钦定词谱: tone codes 0 level, 1 oblique, 2 and 3 either, a level rhyme,
// A oblique rhyme; "|" ends a stanza.
{
  const pai = JSON.parse(fs.readFileSync(path.join(qinDir, 'ciPai.json'), 'utf8'));
  const pu = JSON.parse(fs.readFileSync(path.join(qinDir, 'ciPu.json'), 'utf8'));
  const mark = { 0: '○', 1: '●', 2: '◎', 3: '◎', a: '△', A: '▲' };
  rows.length = 0;
  for (const tune of tunes) {
    const name = qinName[tune] ?? tune;
    const p = pai.find((x) => x.name === name);
    if (!p) continue;
    pu.filter((f) => f.ci_pai_id === p.id).forEach((f, i) => {
      const pattern = [...f.content].filter((c) => c !== '|').map((c) => mark[c] ?? c).join('');
      line(tune, name, i + 1, f.author, pattern);
    });
  }
  fs.writeFileSync(path.join(out, 'qinding.tsv'),
    '# tune\tbook name\tform\tauthor\tcharacters\tpattern\n' + rows.join('\n') + '\n');
}

// 唐宋词格律: tones 平 仄 中 per character, the rhyme positions and the clause
// punctuation of the model text; the author from the form's text file.
{
  const index = JSON.parse(fs.readFileSync(path.join(longDir, 'ci_index.json'), 'utf8'));
  const tone = { 平: '○', 仄: '●', 中: '◎' };
  rows.length = 0;
  for (const tune of tunes) {
    const name = longName[tune] ?? tune;
    const entry = index.find((x) => x.long_exist && x.names.includes(name));
    if (!entry) continue;
    const forms = JSON.parse(fs.readFileSync(path.join(longDir, 'ci_long', `cipai_${entry.idx}_long.json`), 'utf8'));
    // The text file: per form a title, a kind, an author, then text and tone
    // lines; forms are separated by an empty line.
    const blocks = fs.readFileSync(path.join(longDir, 'ci_long_origin', `cipai_${entry.idx}_long.txt`), 'utf8')
      .split(/\n\s*\n/).map((b) => b.split('\n').filter((l) => l.trim() !== ''));
    forms.forEach((f, i) => {
      const tones = [...f.ge_lyu_str];
      const marks = tones.map((t) => tone[t]);
      for (const r of f.rhyme_pos) marks[r] = tones[r] === '仄' ? '▲' : '△';
      const author = (blocks[i] ?? [])[2] ?? '';
      let k = 0, pattern = '';
      for (const c of f.origin) {
        if ('，。、'.includes(c)) {
          pattern += c;
        } else if ('？！；：'.includes(c)) {
          pattern += '。';
        } else {
          pattern += marks[k++] ?? '?';
        }
      }
      if (k !== tones.length) {
        console.error(`${tune} form ${i + 1}: text ${k} characters, tones ${tones.length}`);
        return;
      }
      line(tune, name, i + 1, author, pattern);
    });
  }
  fs.writeFileSync(path.join(out, 'tangsong.tsv'),
    '# tune\tbook name\tform\tauthor\tcharacters\tpattern\n' + rows.join('\n') + '\n');
}
