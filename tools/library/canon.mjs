// The poems every reader knows: those of 唐诗三百首 and 千家诗 (shi) and 宋词三百首 (ci)
// in the chinese-poetry dataset, and the poem each of them is in the poet's collected
// works (全唐诗, 全宋诗, 全宋词) of the same dataset.
//
// The anthologies are edited texts and the collected works another edition, so a poem is
// found by its words, not by its title or its opening: 唐诗三百首 and 千家诗 are stored in
// traditional characters (converted here with OpenCC t2s), their titles are often not the
// collected works' (琵琶行 / 琵琶引, 月下独酌四首·其一 / 月下独酌四首 一), and their texts
// differ here and there (床前明月光 / 床前看月光). A poem is matched to the piece of the
// same poet that shares most of its character pairs, if that is at least half of them.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { dist } from '../examples/dataset.mjs';

const readJson = (p) => JSON.parse(fs.readFileSync(path.join(dist, p), 'utf8'));
const han = (s) => [...s].filter((c) => /\p{Script=Han}/u.test(c)).join('');
const opencc = (s) => execFileSync('opencc', ['-c', 't2s.json'], { input: s, maxBuffer: 1 << 28 }).toString('utf8');

// {book, author, title, text}: text in simplified characters, the books' own notes
// ("(明年 一作：年年)") left out.
let entries;
export function canon() {
  if (entries) return entries;
  const shi = [];
  for (const [file, book] of [['mengxue/tangshisanbaishou.json', '唐诗三百首'], ['mengxue/qianjiashi.json', '千家诗']])
    for (const section of readJson(file).content)
      for (const p of section.content) {
        // A set of poems holds each as {subchapter, paragraphs}.
        const parts = p.paragraphs.every((x) => typeof x === 'string') ? [{ paragraphs: p.paragraphs }] : p.paragraphs;
        for (const part of parts)
          shi.push({ book, author: p.author.replace(/^（.*?）/, ''),
            title: [p.subchapter || p.chapter, part.subchapter].filter(Boolean).join(' '),
            text: part.paragraphs.join('').replace(/\([^)]*\)|（[^）]*）/g, '') });
      }
  const conv = opencc(shi.map((e) => [e.author, e.title, e.text].join('\t')).join('\n') + '\n').split('\n');
  shi.forEach((e, i) => { [e.author, e.title, e.text] = conv[i].split('\t'); });
  const ci = readJson('songci/宋词三百首.json').map((p) => ({
    book: '宋词三百首', author: p.author, title: p.rhythmic, text: p.paragraphs.join('') }));
  entries = [...shi, ...ci];
  return entries;
}

const pairs = (s) => { const h = han(s), out = new Set(); for (let i = 0; i + 1 < h.length; i++) out.add(h.slice(i, i + 2)); return out; };
// How much of the shorter text's character pairs the longer one holds: an anthology may
// print a poem shortened (赠卫八处士) or a set of poems as one (长信怨).
export function overlap(a, b) {
  const x = pairs(a), y = pairs(b);
  let n = 0;
  for (const p of x) if (y.has(p)) n++;
  return x.size && y.size ? n / Math.min(x.size, y.size) : 0;
}

// The canon poems of `author` in `books`, each with the pieces of `pool` (the poet's
// poems, {title, text, …}) it holds, best first; none when the dataset lacks it. Of
// pieces that are one poem filed twice (once among the 乐府 songs), the one `prefer`
// ranks highest is taken.
export function findCanon(author, books, pool, prefer = () => 0) {
  return canon().filter((e) => e.author === author && books.includes(e.book)).map((e) => {
    const found = pool.filter((p) => overlap(e.text, p.text) >= 0.6)
      .sort((a, b) => prefer(b) - prefer(a) || overlap(e.text, b.text) - overlap(e.text, a.text));
    const poems = [];
    for (const p of found) if (!poems.some((q) => overlap(q.text, p.text) >= 0.6)) poems.push(p);
    return { ...e, poems };
  });
}
