// Compares copies of 孙子兵法 chapter by chapter, the way data/library/SOURCES.md describes:
// each copy is converted with OpenCC t2s, cut into its thirteen chapters at the heading lines,
// and reduced to its letters (punctuation, whitespace, digits and notes in brackets dropped,
// the variant forms 谿 鬭 彊 read as 溪 斗 强). For every chapter it prints which copies give
// the same text, with the SHA-256 that enjoy/sunzi/chapters.tsv records, and how many places
// differ between every other pair. An authoring aid run by hand:
//
//   node tools/library/sunzi_compare.mjs name=copy.txt name=copy.txt …
//
// Each copy is a UTF-8 text whose chapters start on a heading line of their own (计篇第一,
// 始计第一, 一、计篇：, 01.始计 …); a copy kept as one file per chapter is joined first with
// each file's heading line in front. Copies mixing the text with a translation or comments
// must be reduced to the text first. `opencc` must be on the PATH.
import { execFileSync } from 'node:child_process';
import crypto from 'node:crypto';
import fs from 'node:fs';

const variants = { 谿: '溪', 鬭: '斗', 彊: '强' };
// 谋功 and 军事 are two headings as one copy misprints them.
const headingRe = new RegExp(
  '^[一二三四五六七八九十]*(谋功|军事|始计|计|作战|谋攻|军形|形|兵势|势|虚实|军争|九变|行军|地形|九地|火攻|用间)' +
    '篇?(第[一二三四五六七八九十]+)?.{0,4}$',
  'u');
const lastWords = '三军之所恃而动也';

const t2s = (text) => execFileSync('opencc', ['-c', 't2s'], { input: text, encoding: 'utf8' });
const letters = (line) =>
  [...line.replace(/[（(〔［\[【][^）)〕］\]】]*[）)〕］\]】]/gu, '')]
    .filter((c) => /\p{L}/u.test(c) && !/[A-Za-z]/.test(c))
    .map((c) => variants[c] ?? c)
    .join('');

function chapters(text) {
  const out = [];
  for (const line of t2s(text).split('\n')) {
    const l = letters(line);
    if (l && l.length <= 10 && headingRe.test(l) && !l.startsWith('孙子')) out.push('');
    else if (out.length) out[out.length - 1] += l;
  }
  // What follows the last chapter (a colophon, a licence) is not part of the text.
  if (out.length) {
    const end = out[out.length - 1].indexOf(lastWords);
    if (end >= 0) out[out.length - 1] = out[out.length - 1].slice(0, end + lastWords.length);
  }
  return out;
}

// The places two texts differ: runs of inserted, deleted or replaced letters in an
// alignment by longest common subsequence.
function differences(a, b) {
  const n = a.length, m = b.length;
  const lcs = Array.from({ length: n + 1 }, () => new Uint16Array(m + 1));
  for (let i = n - 1; i >= 0; --i)
    for (let j = m - 1; j >= 0; --j)
      lcs[i][j] = a[i] === b[j] ? lcs[i + 1][j + 1] + 1 : Math.max(lcs[i + 1][j], lcs[i][j + 1]);
  let i = 0, j = 0, runs = 0, inRun = false;
  while (i < n || j < m) {
    if (i < n && j < m && a[i] === b[j]) { ++i; ++j; inRun = false; continue; }
    if (!inRun) ++runs;
    inRun = true;
    if (j >= m || (i < n && lcs[i + 1][j] >= lcs[i][j + 1])) ++i; else ++j;
  }
  return runs;
}

const copies = process.argv.slice(2).map((arg) => {
  const [name, file] = arg.split('=');
  const chs = chapters(fs.readFileSync(file, 'utf8'));
  if (chs.length !== 13) console.error(`${name}: ${chs.length} chapters found, not 13`);
  return { name, chs };
});
for (let c = 0; c < 13; ++c) {
  const agree = [], differ = [];
  for (let x = 0; x < copies.length; ++x)
    for (let y = x + 1; y < copies.length; ++y) {
      const a = copies[x].chs[c], b = copies[y].chs[c];
      if (a === undefined || b === undefined) continue;
      const pair = `${copies[x].name}/${copies[y].name}`;
      if (a === b) agree.push(`${pair} ${crypto.createHash('sha256').update(a).digest('hex')}`);
      else differ.push(`${pair}:${differences(a, b)}`);
    }
  console.log(`chapter ${c + 1}`);
  for (const a of agree) console.log(`  same  ${a}`);
  console.log(`  differ ${differ.join(' ')}`);
}
