// Writes the anthologies under data/library/enjoy/ from the chinese-poetry dataset: the
// poems verbatim (Tang shi converted to simplified characters with OpenCC t2s), the
// author notes from the dataset's author records with their scraping faults tidied, and
// for each folder a sources.tsv naming the dataset poem behind every block, which the
// content check reads. An authoring aid run by hand (needs node 18 and opencc):
//     node tools/library/anthologies.mjs
// Notes the dataset lacks are our own, kept in data/library/notes/<key>.txt.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { dist, loadCi, loadTang } from '../examples/dataset.mjs';
import { misprints } from '../examples/choices.mjs';
import { findCanon, overlap } from './canon.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const outRoot = path.join(here, '../../data/library/enjoy');
const readJson = (p) => JSON.parse(fs.readFileSync(path.join(dist, p), 'utf8'));
const opencc = (s) => execFileSync('opencc', ['-c', 't2s.json'], { input: s }).toString('utf8');

// Characters GBK holds: every double-byte code decoded once.
const gbk = new Set();
{
  const dec = new TextDecoder('gbk');
  for (let a = 0x81; a <= 0xfe; a++)
    for (let b = 0x40; b <= 0xfe; b++) if (b !== 0x7f) {
      const c = dec.decode(new Uint8Array([a, b]));
      if (c.length === 1 && c !== '\ufffd') gbk.add(c);
    }
}
// Simplified text; a character whose simplified form GBK lacks keeps its traditional form.
const t2s = (s) => {
  const out = [...opencc(s)], from = [...s];
  return out.length === from.length ? out.map((c, i) => (gbk.has(c) || c.charCodeAt(0) < 0x80 ? c : from[i])).join('') : out.join('');
};
const sound = (paragraphs) => {
  const text = paragraphs.join('');
  return text.length > 0 && !text.includes('□') && !misprints.some((m) => text.includes(m)) &&
    [...text].every((c) => gbk.has(c) || /[\x20-\x7e]/.test(c)) && paragraphs.every((p) => p.trim() === p && p);
};
// A whole piece: not a fragment (the dataset's 句 and 失调名, a body without a line) and
// without the dataset's editorial notes (sources, variant readings) among its lines.
const editorial = /[（(〖]/;
const isWhole = (p) => !/^句(\s|$)/.test(p.title) && !/失调名/.test(p.title) && !editorial.test(p.title) &&
  /\p{Script=Han}{2}/u.test(p.paragraphs.join('')) && !p.paragraphs.some((l) => editorial.test(l));

// Readings that differ from the dataset (data/library/corrections.tsv): a known misprint,
// or a character GBK lacks written as the editions that write it otherwise do. Each is
// found by the poem's author, title and first line and applied at its position among
// the poem's Chinese characters.
const corrections = fs.readFileSync(path.join(here, '../../data/library/corrections.tsv'), 'utf8')
  .split('\n').filter((l) => l && !l.startsWith('#')).map((l) => {
    const [author, title, first, position, was, ours] = l.split('\t');
    return { author, title, first, position: Number(position), was, ours, used: false };
  });
function corrected(p) {
  let paragraphs = p.paragraphs;
  for (const c of corrections.filter((c) => c.author === p.author && c.title === p.title && c.first === p.paragraphs[0])) {
    // "-": the dataset has nothing there; ours goes before the character at the position.
    const was = c.was === '-' ? [] : [...c.was];
    let n = 0;
    paragraphs = paragraphs.map((line) => [...line].map((ch) => {
      if (!/\p{Script=Han}/u.test(ch)) return ch;
      n++;
      if (!was.length && n === c.position) return c.ours + ch;
      if (n >= c.position && n < c.position + was.length) {
        if (ch !== was[n - c.position]) throw new Error(`correction does not fit: ${c.title} ${c.was}`);
        return n === c.position ? c.ours : '';
      }
      return ch;
    }).join(''));
    c.used = true;
  }
  return paragraphs === p.paragraphs ? p : { ...p, paragraphs, text: paragraphs.join('') };
}

// A poem block: its heading, an empty line, then the dataset's paragraphs one a line.
// Headings are ours: the dataset's "alias・tune" written with the middle dot GBK has.
const block = (p) => [p.heading.replaceAll('・', '·'), '', ...p.paragraphs].join('\n');

class Folder {
  constructor(key) { this.key = key; this.files = new Map(); this.rows = []; }
  // `poems`: {heading, paragraphs, source, author, title}; `lead`: lines before them.
  put(name, poems, lead = []) {
    const parts = [...(lead.length ? [lead.join('\n')] : []), ...poems.map(block)];
    this.files.set(name, parts.join('\n\n') + '\n');
    for (const p of poems) this.rows.push([name, p.heading.replaceAll('・', '·'), p.source, p.author, p.title, p.paragraphs[0]].join('\t'));
  }
  text(name, lines) { this.files.set(name, lines.join('\n') + '\n'); }
  write() {
    const dir = path.join(outRoot, this.key);
    fs.rmSync(dir, { recursive: true, force: true });
    fs.mkdirSync(dir, { recursive: true });
    for (const [name, text] of this.files) fs.writeFileSync(path.join(dir, name + '.txt'), text);
    fs.writeFileSync(path.join(dir, 'sources.tsv'),
      '# file\theading\tsource\tauthor\ttitle\tfirst line\n' + this.rows.join('\n') + '\n');
    console.log(`${this.key}: ${this.files.size} files, ${this.rows.length} poems`);
  }
}

// Author notes: the dataset's record, its two joined sources on separate paragraphs and
// the blanks that scraping left between Chinese characters removed; or our own note.
function tidy(text) {
  return text.split('--').flatMap((s) => {
    // A list of works glued to a record that was cut short: the record back to its last
    // whole sentence, the list as a paragraph of its own.
    const at = s.indexOf('主要作品有');
    if (at < 0) return [s];
    const head = s.slice(0, at), end = head.lastIndexOf('。');
    return [end >= 0 ? head.slice(0, end + 1) : head, s.slice(at)];
  }).map((s) => s.trim()).filter(Boolean)
    .map((s) => s.replaceAll('・', '·').replace(/\s+/g, ' ')
      .replace(/(?<=[\p{Script=Han}，。、；：“”《》（）])\s+(?=[\p{Script=Han}，。、；：“”《》（）])/gu, '')
      .replace(/(?<=[\p{Script=Han}])\s+(?=\()/gu, '').replace(/(?<=\))\s+(?=[\p{Script=Han}])/gu, ''));
}
// An editor's correction left standing beside what it corrects: 全唐诗's 王涣之 set right
// as 王[之涣] came through as 王[之涣]涣之. The bracketed reading replaces the characters
// after it when they are the same characters in another order.
const mended = (text) => text.replace(/\[(\p{Script=Han}+)\](\p{Script=Han}+)/gu, (all, ours, rest) => {
  const was = rest.slice(0, ours.length);
  return [...was].sort().join('') === [...ours].sort().join('') ? ours + rest.slice(ours.length) : all;
});
// A record scraped twice over (or more): keep the first copy when the rest repeats it.
function undouble(text) {
  const bare = (s) => s.replace(/[，。、；：\s]/g, '');
  for (let at = text.indexOf('。'); at > 0; at = text.indexOf('。', at + 1)) {
    const head = text.slice(0, at + 1), rest = bare(text.slice(at + 1)), once = bare(head);
    if (rest.length && rest.length % once.length === 0 && rest === once.repeat(rest.length / once.length)) return head;
  }
  return text;
}
const songAuthors = readJson('songci/author.song.json');
const tangAuthors = readJson('quantangshi/authors.tang.json');
let tangNames; // their names converted, in one run of opencc
function note(key, name, kind) {
  const own = path.join(here, '../../data/library/notes', key + '.txt');
  if (fs.existsSync(own)) return fs.readFileSync(own, 'utf8').trimEnd().split('\n');
  if (kind === 'song') {
    const r = songAuthors.find((a) => a.name === name);
    if (r && r.description.length > 40) return [name, '', ...tidy(r.description).flatMap((p, i) => i ? ['', p] : [p])];
  } else {
    tangNames ??= opencc(tangAuthors.map((a) => a.name.replace(/\n/g, ' ')).join('\n') + '\n').split('\n');
    const r = tangAuthors.find((a, i) => tangNames[i].trim() === name && a.desc.length > 20);
    if (r) return [name, '', ...tidy(mended(undouble(t2s(r.desc).trim())))];
  }
  throw new Error(`no note for ${name}`);
}

const ci = loadCi().filter((p) => p.source === 'songci');
const ciParas = new Map();
for (const f of fs.readdirSync(path.join(dist, 'songci')).filter((f) => /^ci\.song\..*\.json$/.test(f)))
  readJson('songci/' + f).forEach((p, i) => ciParas.set(f + ':' + i, p.paragraphs));
const ciPoem = (p) => corrected({
  heading: p.rhythmic, paragraphs: ciParas.get(p.file + ':' + p.index), source: 'songci',
  author: p.author, title: p.rhythmic, fame: p.fame, text: p.text,
});
const nantang = readJson('wudaishici/nantang/poetrys.json');

let tang;
function tangPoems(author) {
  tang ??= loadTang();
  return tang.filter((p) => p.author === author).map((p) => {
    // The converted text, cut back into the dataset's paragraphs; a character whose
    // simplified form GBK lacks keeps its traditional form (騧 for 䯄).
    const s = [...p.text], t = [...p.textT];
    const text = s.length === t.length ? s.map((c, i) => (gbk.has(c) || c.charCodeAt(0) < 0x80 ? c : t[i])).join('') : p.text;
    const paragraphs = []; let at = 0;
    for (const para of p.paragraphs) { paragraphs.push(text.slice(at, at + para.length)); at += para.length; }
    return corrected({ heading: p.title, paragraphs, source: 'tang', author, title: p.title, fame: p.fame, text });
  }).filter((p) => p.paragraphs.join('') === p.text);
}

// The search-hit counts are counted per title: where a poet has several poems of one title
// (杜甫's 雨, 李白's 句), the count is the title's, not any one poem's, and counts for none.
function fameByTitle(poems) {
  const n = new Map();
  for (const p of poems) n.set(p.title, (n.get(p.title) || 0) + 1);
  return poems.map((p) => (n.get(p.title) > 1 ? { ...p, fame: 0 } : p));
}
const byFame = (a, b) => b.fame - a.fame;
const distinct = (poems) => { const seen = new Set(); return poems.filter((p) => { const k = p.text; if (seen.has(k)) return false; seen.add(k); return true; }); };
// Best known first: the poems of `books` (唐诗三百首 and 千家诗 for shi, 宋词三百首 for ci)
// that the poet's `pool` holds, then the rest by `order`; a poem the dataset files twice
// (once among the 乐府 songs) is taken once. `fits` limits the canon poems to what the
// selection is (王昌龄's 绝句).
const canonReport = [];
function bestKnown(label, author, books, pool, order, n, fits = () => true, limit = n) {
  const usable = pool.filter((p) => sound(p.paragraphs) && isWhole(p));
  const prefer = (p) => (usable.includes(p) ? 2e12 : 0) + (/曲辞/.test(p.title) ? 0 : 1e12) + p.fame;
  const found = findCanon(author, books, pool.filter(fits), prefer);
  const first = [];
  for (const e of found) {
    for (const p of e.poems) if (!first.includes(p)) first.push(p);
    const missing = e.poems.filter((p) => !usable.includes(p));
    if (!e.poems.length)
      canonReport.push(`${label}: ${e.book} ${e.title}: ` + (findCanon(author, [e.book], pool).find((x) => x.title === e.title).poems.length
        ? 'not of the kind the selection holds' : `not among ${author}'s poems in the dataset`));
    for (const p of missing) canonReport.push(`${label}: ${e.book} ${e.title}: ${p.title} is not whole or not sound`);
  }
  const canonPoems = first.filter((p) => usable.includes(p)).sort(byFame);
  const chosen = [...canonPoems];
  // A poet whose canon fills the selection gets a few more of his best-known poems.
  const size = Math.min(limit, Math.max(n, canonPoems.length + 20));
  for (const p of usable.filter(fits).sort(order))
    if (chosen.length < size && !chosen.includes(p) && !chosen.some((q) => overlap(q.text, p.text) >= 0.6)) chosen.push(p);
  const books3 = books.join('/');
  canonReport.push(`${label}: ${canonPoems.length} of ${books3} first (${found.length} entries)`);
  return chosen;
}
const label = (p) => p.heading.replaceAll('・', '·') + '（' + [...p.paragraphs[0]].filter((c) => /\p{Script=Han}/u.test(c)).slice(0, 4).join('') + '）';

// Variant C: list.dat with numbered pieces and the note in the key file.
function listed(key, poems, noteLines) {
  const f = new Folder(key);
  poems.forEach((p, i) => f.put(String(i + 1).padStart(2, '0'), [p]));
  f.text('list', poems.map(label));
  f.text(key, noteLines);
  f.write();
}
// Variant A: the whole text in the key file and the note in zuozhe.
function whole(key, caption, poems, noteLines) {
  const f = new Folder(key);
  f.put(key, poems, [caption]);
  f.text('zuozhe', noteLines);
  f.write();
}

// 1 屈原·九歌
{
  const f = new Folder('quyuan');
  const jiuge = readJson('chuci/chuci.json').filter((x) => x.section === '九歌');
  jiuge.forEach((x, i) => f.put(String(i + 1).padStart(2, '0'), [{
    heading: '九歌·' + x.title, paragraphs: x.content, source: 'chuci', author: x.author, title: x.title }]));
  f.text('quyuan', note('quyuan', '屈原'));
  f.write();
}
// 3 曹操诗全集
{
  const cc = readJson('caocaoshiji/caocao.json');
  const pick = (...titles) => titles.map((t) => {
    const x = cc.find((p) => p.title === t);
    if (!x) throw new Error('曹操 ' + t);
    return { heading: t, paragraphs: x.paragraphs, source: 'caocao', author: '曹操', title: t };
  });
  const f = new Folder('caocao');
  const files = [
    ['qichuchang', ['气出唱 其一', '气出唱 其二', '气出唱 其三']], ['jinglie', ['精列']],
    ['duguanshan', ['度关山']], ['jiulouxing', ['薤露行']], ['duijiu', ['对酒']],
    ['gaolixing', ['蒿里行']], ['moshangsang', ['陌上桑']], ['duangexing', ['短歌行 其一', '短歌行 其二']],
    ['qiuhuxing', ['秋胡行 其一', '秋胡行 其二']], ['shanzhaixing', ['善哉行 其一', '善哉行 其二', '善哉行 其三']],
    ['kuhanxing', ['苦寒行']], ['buchuxiamenxing', ['步出夏门行 艳', '观沧海', '步出夏门行 冬十月', '步出夏门行 土不同', '龟虽寿']],
    ['quedongximenxing', ['却东西门行']], ['yaosuci', ['谣俗词']], ['dongtaogeci', ['董逃歌词']], ['tangshangxing', ['塘上行']],
  ];
  for (const [name, titles] of files) f.put(name, pick(...titles));
  f.text('caocao', note('caocao', '曹操'));
  f.write();
}
// 4 裴迪诗全集: all 29 of his poems in 全唐诗
{
  const all = tangPoems('裴迪');
  if (all.length !== 29 || !all.every((p) => sound(p.paragraphs))) throw new Error('裴迪: ' + all.length);
  listed('peidi', all, note('peidi', '裴迪', 'tang'));
}
// 5–9: selections in one text
{
  const jueju = (p) => p.paragraphs.length === 2 && /^(.{5}，.{5}。|.{7}，.{7}。)$/u.test(p.paragraphs[0]) &&
    /^(.{5}，.{5}。|.{7}，.{7}。)$/u.test(p.paragraphs[1]);
  const top = (author, n, keep = () => true) =>
    bestKnown(author, author, ['唐诗三百首', '千家诗'], fameByTitle(tangPoems(author)), byFame, n, keep, 100);
  whole('wangchangling', '王昌龄绝句选', top('王昌龄', 40, jueju), note('wangchangling', '王昌龄', 'tang'));
  whole('libai', '李白诗选', top('李白', 60), note('libai', '李白', 'tang'));
  whole('dufu', '杜甫诗选', top('杜甫', 60), note('dufu', '杜甫', 'tang'));
  whole('baijuyi', '白居易诗选', top('白居易', 60), note('baijuyi', '白居易', 'tang'));
  const liyu = nantang.map((p) => ({ heading: p.rhythmic, paragraphs: p.paragraphs, source: 'nantang', author: p.author, title: p.rhythmic }))
    .filter((p) => p.author === '李煜' && sound(p.paragraphs) && isWhole(p));
  whole('liyu', '李煜词选', liyu, note('liyu', '李煜'));
}
// Ci selections: the poet's best-known pieces first (the dataset's search-hit counts).
const ciOf = (author) => distinct(ci.filter((p) => p.author === author).map(ciPoem).filter((p) => sound(p.paragraphs) && isWhole(p)));
const ciBestKnown = (author, n) => bestKnown(author, author, ['宋词三百首'], distinct(ci.filter((p) => p.author === author).map(ciPoem)), byFame, n);
for (const [key, author] of [['sushi', '苏轼'], ['xinqiji', '辛弃疾'], ['liuyong', '柳永'], ['zhoubangyan', '周邦彦'],
  ['qinguan', '秦观'], ['yanshu', '晏殊'], ['jiangkui', '姜夔'], ['yanjidao', '晏几道']]) {
  listed(key, ciBestKnown(author, 100), note(key, author, 'song'));
}
// Complete works: every poem the dataset files under the poet, none left out.
{
  const yue = ci.filter((p) => p.author === '岳飞').map(ciPoem);
  if (!yue.every((p) => sound(p.paragraphs))) throw new Error('岳飞');
  whole('yuefei', '岳飞词全集', yue, note('yuefei', '岳飞', 'song'));
  const wang = ci.filter((p) => p.author === '王安石').map(ciPoem);
  if (!wang.every((p) => sound(p.paragraphs))) throw new Error('王安石');
  listed('wanganshi', wang, note('wanganshi', '王安石', 'song'));
}
// Song shi of one poet (traditional author name), converted like the Tang shi.
function songShi(authorT, author) {
  const dir = path.join(dist, 'quantangshi');
  const fame = new Map();
  for (const f of fs.readdirSync(path.join(dist, 'rank/poet')).filter((f) => /^poet\.song\./.test(f)))
    for (const r of readJson('rank/poet/' + f)) if (r.author === authorT) fame.set(r.title, Math.max(fame.get(r.title) || 0, r.baidu || 0));
  const found = [];
  for (const f of fs.readdirSync(dir).filter((f) => /^poet\.song\..*\.json$/.test(f)))
    for (const p of readJson('quantangshi/' + f)) if (p.author === authorT) found.push(p);
  // One conversion for all: title and paragraphs a line each, poems apart by a marker line.
  const conv = opencc(found.map((p) => [p.title, ...p.paragraphs].join('\n')).join('\n@@@@\n') + '\n')
    .trimEnd().split('\n@@@@\n');
  if (conv.length !== found.length) throw new Error('song shi conversion');
  return found.map((p, i) => {
    const [title, ...paragraphs] = conv[i].split('\n');
    return { heading: title, paragraphs, source: 'song', author, title, fame: fame.get(p.title) || 0, text: paragraphs.join('') };
  });
}
// 22 纳兰性德词选: the dataset's collection in its own order, which opens with his best-known pieces.
{
  const nalan = readJson('nalanxingde/纳兰性德诗集.json')
    .map((p) => ({ heading: p.title, paragraphs: p.para, source: 'nalan', author: p.author, title: p.title }))
    .filter((p) => sound(p.paragraphs) && isWhole(p));
  listed('nalanxingde', nalan.slice(0, 100), note('nalanxingde', '纳兰性德'));
}
// 23 欧阳修诗词选: his best-known ci, then his best-known shi.
{
  const ciPart = ciBestKnown('欧阳修', 60);
  // The shi a reader looks for first (the rank files know few of them), then the rest by rank.
  const pinned = ['戏答元珍', '画眉鸟', '别滁', '丰乐亭游春三首', '梦中作', '黄溪夜泊', '晚泊岳阳', '啼鸟',
    '春日西湖寄谢法曹歌', '明妃曲和王介甫作', '再和明妃曲', '秋怀', '远山', '琅琊山六题', '沧浪亭'];
  const pin = (p) => { const i = pinned.findIndex((t) => p.title.startsWith(t)); return i < 0 ? 99 : i; };
  const shiPart = bestKnown('欧阳修 shi', '欧阳修', ['唐诗三百首', '千家诗'],
    distinct(songShi('歐陽修', '欧阳修').filter((p) => p.paragraphs.length >= 2 && !/^诗一首/.test(p.title))),
    (a, b) => pin(a) - pin(b) || byFame(a, b), 40);
  listed('ouyangxiu', [...ciPart, ...shiPart], note('ouyangxiu', '欧阳修', 'song'));
}
// 24 中国古典爱情诗词鉴赏: the poems verbatim, each followed by our appreciation (one
// line starting with 【赏析】), from data/library/notes/love-appreciations.txt.
{
  const entries = fs.readFileSync(path.join(here, '../../data/library/notes/love-appreciations.txt'), 'utf8')
    .split('\n').filter((l) => l && !l.startsWith('#'));
  const tang = tangPoems('李商隐').concat(tangPoems('元稹'));
  const blocks = [], poems = [];
  for (let i = 0; i < entries.length; i += 2) {
    const [author, title, words, tune] = entries[i].slice(2).split('|');
    const p = [...tang, ...ci.map(ciPoem)].find((x) => x.author === author && x.title === title && x.text.startsWith(words));
    if (!p || !sound(p.paragraphs)) throw new Error('love: ' + entries[i]);
    const poem = { ...p, heading: `${tune || title.split('・')[0].replace(/五首 四$/, '')}（${author}）` };
    poems.push(poem);
    blocks.push(poem, entries[i + 1]);
  }
  const f = new Folder('love');
  f.put('love', poems, ['中国古典爱情诗词鉴赏']);
  // The appreciations go after their poems.
  let text = '中国古典爱情诗词鉴赏';
  for (let i = 0; i < blocks.length; i += 2) text += '\n\n' + block(blocks[i]) + '\n\n【赏析】' + blocks[i + 1];
  f.files.set('love', text + '\n');
  f.write();
}
// 25 唐宋名词赏析: named pieces, each poem verbatim followed by our appreciation, from
// data/library/notes/tangsong-appreciations.txt; the note file gathers the poets' records.
{
  const entries = fs.readFileSync(path.join(here, '../../data/library/notes/tangsong-appreciations.txt'), 'utf8')
    .split('\n').filter((l) => l && !l.startsWith('#'));
  const nantangPoems = nantang.map((p) => ({ heading: p.rhythmic, paragraphs: p.paragraphs, source: 'nantang',
    author: p.author, title: p.rhythmic, text: p.paragraphs.join('') }));
  const huajian = fs.readdirSync(path.join(dist, 'wudaishici/huajianji')).filter((f) => /juan\.json$/.test(f)).sort()
    .flatMap((f) => readJson('wudaishici/huajianji/' + f)).map((p) => ({ heading: p.rhythmic, paragraphs: p.paragraphs,
      source: 'huajianji', author: p.author, title: p.rhythmic, text: p.paragraphs.join('') }));
  const pool = [...tangPoems('李白'), ...tangPoems('张志和'), ...tangPoems('白居易'), ...huajian, ...nantangPoems, ...ci.map(ciPoem)];
  const f = new Folder('tangsong');
  for (let i = 0; i < entries.length; i += 2) {
    const [file, author, title, words, heading] = entries[i].slice(2).split('|');
    const p = pool.find((x) => x.author === author && x.title === title && x.text.startsWith(words));
    if (!p || !sound(p.paragraphs)) throw new Error('tangsong: ' + entries[i]);
    const poem = { ...p, heading };
    f.put(file, [poem]);
    f.files.set(file, block(poem) + '\n\n【赏析】' + entries[i + 1] + '\n');
  }
  const notes = [['李白', 'tang'], ['张志和', 'tang'], ['白居易', 'tang'], ['温庭筠', 'tang'], ['李煜'], ['范仲淹', 'song'], ['柳永', 'song']]
    .flatMap(([name, kind]) => [...note(kind ? 'tangsong-' + name : 'liyu', name, kind), '']);
  f.text('tangsong', notes.slice(0, -1));
  f.write();
}
// 18 and 19: one file per tune holding every sound poem the poet wrote to it.
function byTune(key, author, list) {
  const f = new Folder(key);
  const mine = ciOf(author);
  for (const [file, names] of list) {
    const poems = mine.filter((p) => p.title.split('・').some((t) => names.includes(t)));
    if (poems.length) f.put(file, poems); else console.log(`${key}: nothing for ${names}`);
  }
  f.text(key, note(key, author, 'song'));
  f.write();
}
byTune('liqingzhao', '李清照', [
  ['rumengling', ['如梦令']], ['dianjiangchun', ['点绛唇']], ['huanxisha', ['浣溪沙']], ['pusaman', ['菩萨蛮']],
  ['suzhongqing', ['诉衷情']], ['haoshijin', ['好事近']], ['qingpingle', ['清平乐']], ['yiqine', ['忆秦娥']],
  ['tanpohuanxisha', ['摊破浣溪沙']], ['tianzicaisangzi', ['添字丑奴儿', '添字采桑子']], ['wulinchun', ['武陵春']],
  ['zuihuayin', ['醉花阴']], ['nangezi', ['南歌子']], ['yuanwangsun', ['怨王孙']], ['zhegutian', ['鹧鸪天']],
  ['yulouchun', ['玉楼春']], ['xiaochongshan', ['小重山']], ['yijianmei', ['一剪梅']], ['linjiangxian', ['临江仙']],
  ['dielianhua', ['蝶恋花']], ['yujiaao', ['渔家傲']], ['niannujiao', ['念奴娇']], ['xingxiangzi', ['行香子']],
  ['guyaner', ['孤雁儿']], ['mantingfang', ['满庭芳', '满庭霜']], ['fenghuangtai', ['凤凰台上忆吹箫']],
  ['shengshengman', ['声声慢']], ['qingqingchaoman', ['庆清朝慢', '庆清朝']], ['yongyule', ['永遇乐']],
  ['duoli', ['多丽']], ['changshoule', ['长寿乐']], ['jianzimulanhua', ['减字木兰花']], ['ruizhigu', ['瑞鹧鸪']],
]);
byTune('luyou', '陆游', [
  ['busuanzi', ['卜算子']], ['suzhongqing', ['诉衷情']], ['zhegutian', ['鹧鸪天']], ['yujiaao', ['渔家傲']],
  ['chaozhongcuo', ['朝中措']], ['langtaosha', ['浪淘沙']], ['xiechichun', ['谢池春']], ['yeyougong', ['夜游宫']],
  ['queqiaoxian', ['鹊桥仙']], ['yufu', ['渔父']], ['huanxisha', ['浣溪沙']], ['haoshijin', ['好事近']],
  ['chatoufeng', ['钗头凤']], ['qiubomei', ['秋波媚']], ['douyehuang', ['豆叶黄']],
]);

for (const c of corrections) if (!c.used) throw new Error(`correction not applied: ${c.author} ${c.title}`);
console.log(canonReport.join('\n'));
