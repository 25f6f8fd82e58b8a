// Writes data/library/postal-codes.txt: the county-level postal codes on which two of
// three independent tables in stored public repositories agree, the third being silent or
// agreeing, grouped by the regions of the area-code table. Each table is kept in
// data/library/postal-sources/ as the "province<TAB>city<TAB>county<TAB>code" rows taken
// from its repository, so the agreement can be checked again (the content test does)
// without the repositories:
// - sfyc23.tsv: sfyc23/China-zip-code-latitude-and-longitude, resource/region.csv
//   (province,city,county,longitude,latitude,zipCode);
// - onekit.tsv: www-onekit-cn/baidu2alipay, src/ui/_/ragion-picker/data/
//   {provices,citys,towns}.json.js;
// - spacesless.tsv: Spacesless/api, mongodb/postalcode.js (MongoDB insert statements with
//   province, city, area, postCode), at the last commit that holds the file: later commits
//   moved the data into a zipped database dump.
// The places the three tables do not agree on are written to postal-sources/disagreements.tsv.
// Run by hand:
//     node tools/library/postal_codes.mjs extract sfyc23 MIRROR_OF_sfyc23
//     node tools/library/postal_codes.mjs extract onekit MIRROR_OF_onekit
//     node tools/library/postal_codes.mjs extract spacesless MIRROR_OF_Spacesless_api
//     node tools/library/postal_codes.mjs
//
// How rows of different tables are taken to name the same county (the content test reads
// the tables the same way):
// - Names are compared after trimming blanks (onekit writes "兴义市 ").
// - The province is compared whole; a row whose province is not one of the 31 of
//   onekit-province-ids.tsv that the regions take (港澳台, 台湾, 香港, 澳门) is left out.
// - A row naming its city as its county ("吉林市 吉林市 132000") is the city's own code, not
//   a county's, when the same table lists another county under that city; it is left out.
//   Where the city has no other county in that table (sfyc23 and spacesless list 琼海市 as
//   "琼海市 琼海市"), the row is the county-level city itself and stays.
// - onekit files the county-level cities and districts under a province (海南 琼海市, 湖北
//   仙桃市, 新疆 石河子市) under the city "直辖县级"; the county's own name stands for the
//   city then, as the other two tables write it.
// - Cities are compared without a final 地区 or 市, so that a prefecture renamed a city
//   (铜仁地区, 铜仁市; 海东地区, 海东市) is the same city.
// - Counties are compared without a final 县, 市 or 区 when at least two characters are left,
//   so that a county made a city or a district under the same name (九台市, 九台区; 扶余县,
//   扶余市; 密云县, 密云区) is the same county. One-character stems (城区, 矿区, 郊区) are
//   compared whole, and so are the names of two counties of one city that share a stem in
//   any of the tables (伊宁市 and 伊宁县, 临夏市 and 临夏县, 和田市 and 和田县, 宣化区 and
//   宣化县): both are places of their own.
// - Autonomous counties and banners are compared by their whole names: the three tables
//   spell them alike, and the few short forms (spacesless's 本溪县, 阜新县, 莫力达瓦旗) stand
//   beside the full names in the same table, so they are not made to match.
// - Older names (襄樊市 for 襄阳市, 东陵区 for 浑南区) are not matched to newer ones.
// So a county is a key "province|city stem|county stem". A table gives it the set of the
// codes of its rows with that key (sfyc23 gives some county twice). A code is a six-digit
// number other than 999999, which sfyc23 writes for a code it lacks; a row with no code,
// another figure, or 999999 says nothing.
// A county is kept when two tables give it the same code and no table gives it a set
// without that code. Where a table gives two codes, it agrees with either.
// A kept county is written with the names most of the agreeing tables give it, else with
// onekit's, then spacesless's, then sfyc23's; its city's place in the region is where the
// city is first seen in that order of the tables.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { regions } from './area_codes.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const sourcesDir = path.join(here, '../../data/library/postal-sources');
// The tables in the order in which a county takes its names and its place.
const tables = ['onekit', 'spacesless', 'sfyc23'];
const tableFile = (name) => path.join(sourcesDir, name + '.tsv');

const git = (repo, ...args) => execFileSync('git', ['-C', repo, ...args], { maxBuffer: 1 << 28 }).toString('utf8');
const module = (text) => new Function('module', text + '\nreturn module.exports;')({});
const writeTable = (name, title, repo, commit, rows) => {
  const header = `# ${title} at commit ${commit}\n# province\tcity\tcounty\tcode, in the table's own order. Do not edit by hand.\n`;
  fs.writeFileSync(tableFile(name), header + rows.map((r) => r.join('\t')).join('\n') + '\n');
};

const extractors = {
  sfyc23(repo) {
    const commit = git(repo, 'rev-parse', 'HEAD').trim();
    const rows = [];
    for (const line of git(repo, 'show', commit + ':resource/region.csv').split('\n').slice(1)) {
      const f = line.trim().split(',');
      if (f.length === 6) rows.push([f[0], f[1], f[2], f[5]]);
    }
    writeTable('sfyc23', 'sfyc23/China-zip-code-latitude-and-longitude resource/region.csv', repo, commit, rows);
  },
  onekit(repo) {
    const commit = git(repo, 'rev-parse', 'HEAD').trim();
    const dir = 'src/ui/_/ragion-picker/data/';
    const provinces = module(git(repo, 'show', commit + ':' + dir + 'provices.json.js'));
    const cities = module(git(repo, 'show', commit + ':' + dir + 'citys.json.js'));
    const towns = module(git(repo, 'show', commit + ':' + dir + 'towns.json.js'));
    const rows = [];
    for (const p of provinces)
      for (const c of cities['id' + p.id] || [])
        for (const t of towns['id' + c.id] || []) rows.push([p.name, c.name, t.name, t.zipcode]);
    writeTable('onekit', 'www-onekit-cn/baidu2alipay ' + dir + '{provices,citys,towns}.json.js', repo, commit, rows);
    // The region of a province follows the first two digits of its onekit id.
    fs.writeFileSync(path.join(sourcesDir, 'onekit-province-ids.tsv'),
      '# province<TAB>id of www-onekit-cn/baidu2alipay provices.json.js\n' +
      provinces.map((p) => p.name + '\t' + p.id).join('\n') + '\n');
  },
  spacesless(repo) {
    // The last commit holding mongodb/postalcode.js.
    const commit = 'e14b6c884411fdf8dae4eefe68a9ca7e036a5fd4';
    const text = git(repo, 'show', commit + ':mongodb/postalcode.js');
    const rows = [];
    for (const [, body] of text.matchAll(/\.insert\(\s*\{([^}]*)\}\s*\)/g)) {
      const o = Object.fromEntries([...body.matchAll(/(\w+):\s*"([^"]*)"/g)].map((m) => [m[1], m[2]]));
      rows.push([o.province, o.city, o.area, o.postCode]);
    }
    writeTable('spacesless', 'Spacesless/api mongodb/postalcode.js', repo, commit, rows);
  },
};

if (process.argv[2] === 'extract') {
  const [name, repo] = process.argv.slice(3);
  if (!extractors[name]) throw new Error('extract one of ' + Object.keys(extractors).join(', '));
  extractors[name](repo);
  process.exit(0);
}

const readTable = (file) => fs.readFileSync(file, 'utf8').split('\n')
  .filter((l) => l && !l.startsWith('#')).map((l) => l.split('\t').map((f) => f.trim()));
const provinceIds = new Map(readTable(path.join(sourcesDir, 'onekit-province-ids.tsv')));
const regionOf = new Map(regions.flatMap(([, id, provs]) => provs.map((p) => [p, id])));
const cityStem = (name) => name.replace(/(地区|市)$/, '');
const countyStem = (name) => name.length > 2 ? name.replace(/[县市区]$/, '') : name;
const isCode = (code) => /^\d{6}$/.test(code) && code !== '999999';

// Each table's rows of the regions, without the rows of a city's own code.
const rowsOf = {};
for (const table of tables) {
  const rows = readTable(tableFile(table)).filter(([p]) => regionOf.has(provinceIds.get(p)?.slice(0, 2)));
  const countiesOf = new Map();
  for (const [p, c, t] of rows) countiesOf.set(p + '|' + c, (countiesOf.get(p + '|' + c) || new Set()).add(t));
  rowsOf[table] = rows.filter(([p, c, t]) => !(c === t && countiesOf.get(p + '|' + c).size > 1))
    .map(([p, c, t, code]) => [p, c === '直辖县级' ? t : c, t, code]);
}
// The stems two counties of one city share in some table (伊宁市 and 伊宁县), whose names are
// compared whole in every table.
const shared = new Set();
for (const table of tables) {
  const names = new Map();
  for (const [p, c, t] of rowsOf[table]) {
    const stem = [p, cityStem(c), countyStem(t)].join('|');
    if (names.has(stem) && names.get(stem) !== t) shared.add(stem);
    names.set(stem, t);
  }
}

// key -> { province, city: the index of its city's first sight, names: { table: Set of
// "city|county" }, codes: { table: Set } }.
const places = new Map();
const cityOrder = new Map();
for (const table of tables) {
  for (const [p, city, t, code] of rowsOf[table]) {
    const cityKey = p + '|' + cityStem(city);
    if (!cityOrder.has(cityKey)) cityOrder.set(cityKey, cityOrder.size);
    const stem = cityKey + '|' + countyStem(t);
    const key = shared.has(stem) ? cityKey + '|' + t : stem;
    if (!places.has(key)) places.set(key, { province: p, city: cityOrder.get(cityKey), names: {}, codes: {} });
    const place = places.get(key);
    place.names[table] ??= new Set();
    place.names[table].add(city + '|' + t);
    place.codes[table] ??= new Set();
    if (isCode(code)) place.codes[table].add(code);
  }
}

// The names most of the tables `from` give a county, else the first table's.
function nameOf(place, from) {
  const names = tables.filter((t) => from.includes(t) && place.names[t])
    .flatMap((t) => [...place.names[t]]);
  const most = names.find((n) => names.filter((m) => m === n).length > 1) || names[0];
  return most.split('|');
}

const kept = [], disagreements = [];
let single = 0;
const counts = { all: 0, two: 0 };
for (const place of places.values()) {
  const giving = tables.filter((t) => place.codes[t]?.size);
  const candidates = new Set(giving.flatMap((t) => [...place.codes[t]]));
  const agreed = [...candidates].filter((code) =>
    giving.filter((t) => place.codes[t].has(code)).length >= 2 &&
    giving.every((t) => place.codes[t].has(code)));
  if (agreed.length === 1) {
    const code = agreed[0];
    const from = giving.filter((t) => place.codes[t].has(code));
    const [city, county] = nameOf(place, from);
    kept.push({ province: place.province, order: place.city, city, county, code });
    counts[from.length === 3 ? 'all' : 'two']++;
  } else if (giving.length >= 2) {
    disagreements.push(place);
  } else {
    single++;
  }
}

// A disagreement is "2:1" when two tables give a code the third contradicts, "1:1" when the
// only two tables naming the county differ, "1:1:1" when all three differ.
const kind = (place) => {
  const giving = tables.filter((t) => place.codes[t]?.size);
  const shared = [...new Set(giving.flatMap((t) => [...place.codes[t]]))]
    .some((code) => giving.filter((t) => place.codes[t].has(code)).length >= 2);
  return giving.length === 2 ? '1:1' : shared ? '2:1' : '1:1:1';
};
const kinds = {};
for (const d of disagreements) kinds[kind(d)] = (kinds[kind(d)] || 0) + 1;
const cell = (place, t) => place.codes[t] ? [...place.codes[t]].join('/') || '?' : '-';
fs.writeFileSync(path.join(sourcesDir, 'disagreements.tsv'),
  '# Counties two or three of the postal-code tables name with different codes, so left out of\n' +
  '# postal-codes.txt. Written by tools/library/postal_codes.mjs. Do not edit by hand.\n' +
  '# "-": the table does not name the county; "?": it names it without a code.\n' +
  '# kind: 2:1, two tables agree and the third contradicts; 1:1, the only two tables naming\n' +
  '# the county differ; 1:1:1, all three differ.\n' +
  '# province\tcity\tcounty\t' + tables.join('\t') + '\tkind\n' +
  disagreements.map((d) => [d.province, ...nameOf(d, tables), ...tables.map((t) => cell(d, t)), kind(d)]
    .join('\t')).join('\n') + '\n');

const byProvince = new Map();
for (const r of kept.sort((a, b) => a.order - b.order)) {
  const key = provinceIds.get(r.province).slice(0, 2);
  if (!byProvince.has(key)) byProvince.set(key, []);
  byProvince.get(key).push(r);
}

let out = '# Postal codes by region: "[list item|block id]" then the block\'s lines (city, county, code).\n' +
  '# Written by tools/library/postal_codes.mjs: only the counties to which two of sfyc23/China-\n' +
  '# zip-code-latitude-and-longitude, www-onekit-cn/baidu2alipay and Spacesless/api give one\n' +
  '# code, the third giving it too or not naming the county (' + kept.length + ' kept, ' +
  disagreements.length + ' with different\n' +
  '# codes left out, ' + single + ' named by one table only). Do not edit by hand.\n';
for (const [name, id, provs] of regions) {
  const lines = [];
  for (const p of provs) {
    const rows = byProvince.get(p) || [];
    if (!rows.length) continue;
    // The four municipalities stand apart, an empty line between them.
    if (lines.length) lines.push('');
    // The 新疆 block aligns its columns at tab stops.
    const sep = id === 'xinjiang' ? '\t' : ' ';
    for (const r of rows) lines.push([r.city, r.county, r.code].join(sep));
  }
  out += `\n[${name}|${id}]\n` + lines.join('\n') + '\n';
}
const target = path.join(here, '../../data/library/postal-codes.txt');
fs.writeFileSync(target, out);
console.log(`kept ${kept.length} (all three ${counts.all}, two ${counts.two}), ` +
  `different codes ${disagreements.length} (${Object.entries(kinds).map(([k, n]) => k + ' ' + n).join(', ')}), ` +
  `one table only ${single}; rows compared: ${tables.map((t) => t + ' ' + rowsOf[t].length).join(', ')}`);
