// Writes data/library/postal-codes.txt: the county-level postal codes on which two
// independent tables in stored public repositories agree, grouped by the regions of the
// area-code table. Each table is kept in data/library/postal-sources/ as the
// "province<TAB>city<TAB>county<TAB>code" rows taken from its repository, so the agreement
// can be checked again (the content test does) without the repositories:
// - sfyc23/China-zip-code-latitude-and-longitude, resource/region.csv
//   (province,city,county,longitude,latitude,zipCode);
// - www-onekit-cn/baidu2alipay, src/ui/_/ragion-picker/data/{provices,citys,towns}.json.js.
// An entry is kept when both name the same province, city and county with the same code.
// Run by hand:
//     node tools/library/postal_codes.mjs extract MIRROR_OF_sfyc23 MIRROR_OF_onekit
//     node tools/library/postal_codes.mjs
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { regions } from './area_codes.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const sourcesDir = path.join(here, '../../data/library/postal-sources');
const sfycFile = path.join(sourcesDir, 'sfyc23.tsv');
const onekitFile = path.join(sourcesDir, 'onekit.tsv');

const git = (repo, ...args) => execFileSync('git', ['-C', repo, ...args], { maxBuffer: 1 << 28 }).toString('utf8');
const module = (text) => new Function('module', text + '\nreturn module.exports;')({});
const writeTable = (file, title, repo, rows) => {
  const commit = git(repo, 'rev-parse', 'HEAD').trim();
  const header = `# ${title} at commit ${commit}\n# province\tcity\tcounty\tcode, in the table's own order. Do not edit by hand.\n`;
  fs.writeFileSync(file, header + rows.map((r) => r.join('\t')).join('\n') + '\n');
};

if (process.argv[2] === 'extract') {
  const [sfyc, onekit] = process.argv.slice(3);
  const a = [];
  for (const line of git(sfyc, 'show', 'HEAD:resource/region.csv').split('\n').slice(1)) {
    const f = line.trim().split(',');
    if (f.length === 6) a.push([f[0], f[1], f[2], f[5]]);
  }
  writeTable(sfycFile, 'sfyc23/China-zip-code-latitude-and-longitude resource/region.csv', sfyc, a);
  const dir = 'src/ui/_/ragion-picker/data/';
  const provinces = module(git(onekit, 'show', 'HEAD:' + dir + 'provices.json.js'));
  const cities = module(git(onekit, 'show', 'HEAD:' + dir + 'citys.json.js'));
  const towns = module(git(onekit, 'show', 'HEAD:' + dir + 'towns.json.js'));
  const b = [];
  for (const p of provinces)
    for (const c of cities['id' + p.id] || [])
      for (const t of towns['id' + c.id] || []) b.push([p.name, c.name, t.name, t.zipcode, p.id]);
  writeTable(onekitFile, 'www-onekit-cn/baidu2alipay ' + dir + '{provices,citys,towns}.json.js', onekit,
    b.map((r) => r.slice(0, 4)));
  // The region of a row follows the onekit province id's first two digits.
  fs.writeFileSync(path.join(sourcesDir, 'onekit-province-ids.tsv'),
    '# province<TAB>id of www-onekit-cn/baidu2alipay provices.json.js\n' +
    provinces.map((p) => p.name + '\t' + p.id).join('\n') + '\n');
  process.exit(0);
}

const readTable = (file) => fs.readFileSync(file, 'utf8').split('\n')
  .filter((l) => l && !l.startsWith('#')).map((l) => l.split('\t'));
const a = new Map();
for (const [p, c, t, code] of readTable(sfycFile)) a.set([p, c, t].join('|'), code);
const provinceIds = new Map(readTable(path.join(sourcesDir, 'onekit-province-ids.tsv')));

let agreed = 0, disagreed = 0, unmatched = 0;
const byProvince = new Map();
for (const [p, c, t, zipcode] of readTable(onekitFile)) {
  const other = a.get([p, c, t].join('|'));
  if (other === undefined) { unmatched++; continue; }
  if (other !== zipcode || !/^\d{6}$/.test(other)) { disagreed++; continue; }
  agreed++;
  const key = provinceIds.get(p).slice(0, 2);
  if (!byProvince.has(key)) byProvince.set(key, []);
  byProvince.get(key).push({ city: c, county: t, code: other });
}

let out = '# Postal codes by region: "[list item|block id]" then the block\'s lines (city, county, code).\n' +
  '# Written by tools/library/postal_codes.mjs: only entries on which sfyc23/China-zip-code-\n' +
  `# latitude-and-longitude and www-onekit-cn/baidu2alipay agree (${agreed} kept, ${disagreed} with\n` +
  `# different codes left out, ${unmatched} named by one table only). Do not edit by hand.\n`;
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
console.log(`kept ${agreed}, different codes ${disagreed}, one table only ${unmatched}`);
