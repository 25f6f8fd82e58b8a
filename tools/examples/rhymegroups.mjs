// The 平水韵 rhyme of each character, read from the headings of 词韵简编
// (data/rhyme/ciyun.txt): a character under 【七阳】 in a 平声 entry rhymes on
// 七阳. A character may stand under several headings; one found in a 仄声 or
// 入声 entry also has an oblique reading.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const file = path.resolve(here, '../../data/rhyme/ciyun.txt');

export function loadRhymeGroups() {
  const level = new Map(); // character -> Set of level-tone rhymes
  const parts = new Map(); // character -> Set of ci rhyme parts (第一部 …), level tone
  const oblique = new Set();
  let tone = '', text = false, heading = '', part = '';
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    if (line.startsWith('#')) continue;
    if (line.startsWith('name:')) { text = false; part = line.slice(5).trim().split(' ')[0]; continue; }
    if (line.startsWith('tone:')) { tone = line.slice(5).trim(); continue; }
    if (line.startsWith('text:')) { text = true; continue; }
    if (!text) continue;
    // 【…】 headings; [..] senses and (..) composed characters are skipped.
    for (const m of line.replace(/\[[^\]]*\]|\([^)]*\)(?!】)/g, '').matchAll(/【([^】]+)】|(\p{Script=Han})/gu)) {
      if (m[1]) { heading = m[1].replace(/[([][^)\]]*[)\]]/g, ''); continue; }
      if (tone === '平声') {
        if (!level.has(m[2])) level.set(m[2], new Set());
        level.get(m[2]).add(heading);
        if (!parts.has(m[2])) parts.set(m[2], new Set());
        parts.get(m[2]).add(part);
      } else {
        oblique.add(m[2]);
      }
    }
  }
  return { level, parts, oblique };
}

const meet = (map, a, b) => {
  const ga = map.get(a), gb = map.get(b);
  return !!ga && !!gb && [...ga].some((g) => gb.has(g));
};
// Whether two line-final characters rhyme in regulated verse: they share a
// level-tone 平水韵 rhyme.
export const rhymeTogether = (groups, a, b) => meet(groups.level, a, b);
// Whether they could be heard as rhyming: they share a ci rhyme part, as
// neighbouring rhymes (东 and 冬) do.
export const sharePart = (groups, a, b) => meet(groups.parts, a, b);
