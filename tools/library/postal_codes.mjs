// Writes data/library/postal-codes.txt: the county-level postal codes on which two
// independent tables in stored public repositories agree, grouped by the regions of the
// area-code table. An authoring aid run by hand, with both repositories fetched:
//     node tools/library/postal_codes.mjs MIRROR_OF_sfyc23 MIRROR_OF_onekit
// - sfyc23/China-zip-code-latitude-and-longitude, resource/region.csv
//   (province,city,county,longitude,latitude,zipCode);
// - www-onekit-cn/baidu2alipay, src/ui/_/ragion-picker/data/{provices,citys,towns}.json.js.
// An entry is kept when both name the same province, city and county with the same code.
import fs from 'node:fs';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { regions } from './area_codes.mjs';

const [sfyc, onekit] = process.argv.slice(2);
const show = (repo, file) => execFileSync('git', ['-C', repo, 'show', 'HEAD:' + file], { maxBuffer: 1 << 28 }).toString('utf8');
const module = (text) => new Function('module', text + '\nreturn module.exports;')({});

const a = new Map();
for (const line of show(sfyc, 'resource/region.csv').split('\n').slice(1)) {
  const f = line.trim().split(',');
  if (f.length === 6) a.set(f.slice(0, 3).join('|'), f[5]);
}
const provinces = module(show(onekit, 'src/ui/_/ragion-picker/data/provices.json.js'));
const cities = module(show(onekit, 'src/ui/_/ragion-picker/data/citys.json.js'));
const towns = module(show(onekit, 'src/ui/_/ragion-picker/data/towns.json.js'));

let agreed = 0, disagreed = 0, unmatched = 0;
const byProvince = new Map();
for (const p of provinces) {
  for (const c of cities['id' + p.id] || []) {
    for (const t of towns['id' + c.id] || []) {
      const other = a.get([p.name, c.name, t.name].join('|'));
      if (other === undefined) { unmatched++; continue; }
      if (other !== t.zipcode || !/^\d{6}$/.test(other)) { disagreed++; continue; }
      agreed++;
      const key = p.id.slice(0, 2);
      if (!byProvince.has(key)) byProvince.set(key, []);
      byProvince.get(key).push({ city: c.name, county: t.name, code: other });
    }
  }
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
const target = path.join(path.dirname(fileURLToPath(import.meta.url)), '../../data/library/postal-codes.txt');
fs.writeFileSync(target, out);
console.log(`kept ${agreed}, different codes ${disagreed}, one table only ${unmatched}`);
