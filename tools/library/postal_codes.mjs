// Writes data/library/postal-codes.txt: the county-level postal codes on which two
// independent tables in stored public repositories agree, grouped by the regions of the
// area-code table. Each table is kept in data/library/postal-sources/ as the
// "province<TAB>city<TAB>county<TAB>code" rows taken from its repository, so the agreement
// can be checked again (the content test does) without the repositories:
// - sfyc23/China-zip-code-latitude-and-longitude, resource/region.csv
//   (province,city,county,longitude,latitude,zipCode);
// - www-onekit-cn/baidu2alipay, src/ui/_/ragion-picker/data/{provices,citys,towns}.json.js.
// A third table is taken beside them, to be compared with them:
// - Spacesless/api, mongodb/postalcode.js (MongoDB insert statements with province, city,
//   area, postCode), at the last commit that holds the file: later commits moved the data
//   into a zipped database dump.
// An entry is kept when sfyc23 and onekit name the same province, city and county with the
// same code.
// Run by hand:
//     node tools/library/postal_codes.mjs extract sfyc23 MIRROR_OF_sfyc23
//     node tools/library/postal_codes.mjs extract onekit MIRROR_OF_onekit
//     node tools/library/postal_codes.mjs extract spacesless MIRROR_OF_Spacesless_api
//     node tools/library/postal_codes.mjs
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { regions } from './area_codes.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const sourcesDir = path.join(here, '../../data/library/postal-sources');
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
  .filter((l) => l && !l.startsWith('#')).map((l) => l.split('\t'));
const a = new Map();
for (const [p, c, t, code] of readTable(tableFile('sfyc23'))) a.set([p, c, t].join('|'), code);
const provinceIds = new Map(readTable(path.join(sourcesDir, 'onekit-province-ids.tsv')));

let agreed = 0, disagreed = 0, unmatched = 0;
const byProvince = new Map();
for (const [p, c, t, zipcode] of readTable(tableFile('onekit'))) {
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
