// Writes data/checker/pingshui-charlesix59.txt and data/checker/cilin-charlesix59.txt from
// the two rhyme tables of the public repository charlesix59/chinese_word_rhyme
// (data/Pingshui_Rhyme.json: 平水韵, transcribed from Wikisource; data/Cilin_Rhyme.json:
// 词林正韵). An authoring aid run by hand, not part of the build:
//
//   node tools/checker/rhyme_tables.mjs GIT_DIR [COMMIT]
//
// GIT_DIR is a clone of that repository (a bare one will do); COMMIT defaults to HEAD and
// is written into the files' headers. Only the characters are taken, each table's grouping
// kept as it stands: one line per rhyme (or per part and tone), characters in table order,
// duplicates within a line dropped.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';

const [gitDir, commitArg = 'HEAD'] = process.argv.slice(2);
if (!gitDir) {
  console.error('usage: node tools/checker/rhyme_tables.mjs GIT_DIR [COMMIT]');
  process.exit(2);
}
const git = (...args) => execFileSync('git', ['-C', gitDir, ...args], { encoding: 'utf8', maxBuffer: 1 << 28 });
const commit = git('rev-parse', commitArg).trim();
const json = (file) => JSON.parse(git('show', `${commit}:${file}`));
const out = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../data/checker');
const single = (list) => [...new Set(list.filter((c) => [...c].length === 1))].join('');

// 平水韵: "上平声部" / "下平声部" → 平, "上声部" → 上, "去声部" → 去, "入声部" → 入.
const toneOfSection = { 上平声部: '平', 下平声部: '平', 上声部: '上', 去声部: '去', 入声部: '入' };
const pingshui = json('data/Pingshui_Rhyme.json');
let lines = [
  `# 平水韵, from charlesix59/chinese_word_rhyme ${commit} data/Pingshui_Rhyme.json`,
  '# (written by tools/checker/rhyme_tables.mjs; do not edit by hand).',
  '# tone<TAB>rhyme<TAB>characters',
];
for (const [section, rhymes] of Object.entries(pingshui)) {
  const tone = toneOfSection[section];
  if (!tone) throw new Error(`unknown section ${section}`);
  for (const [rhyme, chars] of Object.entries(rhymes))
    lines.push(`${tone}\t${rhyme.replace(/^入声/, '')}\t${single(chars)}`);
}
fs.writeFileSync(path.join(out, 'pingshui-charlesix59.txt'), lines.join('\n') + '\n');

// 词林正韵: "第一部" … "第十九部", each with 平声 / 仄声 (上去) or 入声.
const numerals = '一二三四五六七八九十';
const partNumber = (name) => {
  const n = name.replace(/^第|部$/g, '');
  if (n.length === 1) return numerals.indexOf(n) + 1;
  return n.length === 2 && n[0] === '十' ? 10 + numerals.indexOf(n[1]) + 1 : NaN;
};
const cilin = json('data/Cilin_Rhyme.json');
lines = [
  `# 词林正韵, from charlesix59/chinese_word_rhyme ${commit} data/Cilin_Rhyme.json`,
  '# (written by tools/checker/rhyme_tables.mjs; do not edit by hand).',
  '# part<TAB>tone (平, 仄 = 上去, 入)<TAB>characters',
];
for (const [part, tones] of Object.entries(cilin)) {
  const n = partNumber(part);
  if (!(n >= 1 && n <= 19)) throw new Error(`unknown part ${part}`);
  for (const [tone, chars] of Object.entries(tones))
    lines.push(`${n}\t${tone.replace('声', '')}\t${single(chars)}`);
}
fs.writeFileSync(path.join(out, 'cilin-charlesix59.txt'), lines.join('\n') + '\n');
