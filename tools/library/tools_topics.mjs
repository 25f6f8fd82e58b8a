// Writes the calendar and star topics of 常用信息 (data/library/Excursus/tools/) from the names in
// data/library/calendar.txt. An authoring aid run by hand: node tools/library/tools_topics.mjs
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const data = path.join(here, '../../data/library');
const names = Object.fromEntries(fs.readFileSync(path.join(data, 'calendar.txt'), 'utf8').split('\n')
  .filter((l) => l && !l.startsWith('#')).map((l) => l.split(': ')).map(([k, v]) => [k, v.split(' ')]));
const { 天干: gan, 地支: zhi, 生肖: animals, 节气: terms, 二十八宿: mansions } = names;
const out = path.join(data, 'Excursus/tools');
const write = (file, lines) => fs.writeFileSync(path.join(out, file + '.txt'), lines.join('\n') + '\n');

// 二十四节气: from 立春 on, the sun's ecliptic longitude grows by 15° a term (立春 315°).
{
  const lines = ['二十四节气', '',
    '二十四节气是中国古代为指导农事而订立的历法补充，它把太阳在黄道上一年的运行（周天三百六十度）等分为二十四段，每十五度为一个节气。节气反映的是太阳的位置，所以在公历中的日期大致固定，每月有两个，上半月一个，下半月一个。',
    '',
    '二十四节气又分为“节气”和“中气”：从立春起，单数位置的（立春、惊蛰、清明……）称为节气，双数位置的（雨水、春分、谷雨……）称为中气。古人以节气划分月份，干支纪月就是以节气为界的。诗词中写节令的作品很多，清明、寒食、冬至等更是常见的题材。',
    '', '下表依次为节气名和太阳所到的黄经度数：', ''];
  const seasons = ['春季', '夏季', '秋季', '冬季'];
  terms.forEach((t, i) => {
    if (i % 6 === 0) lines.push((i ? '\n' : '') + seasons[i / 6]);
    lines.push(`${t}　${(315 + i * 15) % 360}°`);
  });
  write('01', lines.flatMap((l) => l.split('\n')));
}
// 天干地支与纪年: the sixty-year cycle, year y being stem (y-4) mod 10 and branch (y-4) mod 12.
{
  const lines = ['天干地支与纪年', '',
    `天干共十个：${gan.join('、')}。`,
    `地支共十二个：${zhi.join('、')}。`, '',
    '天干和地支依次相配，天干用六轮、地支用五轮，正好六十对，从甲子开始，到癸亥结束，称为“六十甲子”或“六十花甲子”，周而复始。古人用它来纪年、纪月、纪日、纪时。年满六十岁称为“花甲”，就是因为经历了一个完整的干支周期。',
    '',
    '干支纪年与公历的换算：公历年数减去四，除以十的余数对应天干（余〇为甲），除以十二的余数对应地支（余〇为子）。例如公元1984年为甲子年。诗词的题目和序中常见干支纪年，如“丙辰中秋”“壬戌之秋”，读时可借下表推算年代。',
    '', '六十甲子（附最近一个周期的公历年份）：', ''];
  for (let i = 0; i < 60; i++) lines.push(`${String(i + 1).padStart(2, '0')}　${gan[i % 10]}${zhi[i % 12]}　${1984 + i}年`);
  write('02', lines);
}
// 十二生肖
{
  const lines = ['十二生肖', '',
    '十二生肖是用十二种动物与十二地支相配，用来标记年份和人的出生年。生肖的交替，按历法以立春为界，民间习惯以春节为界。', ''];
  zhi.forEach((z, i) => lines.push(`${z}　${animals[i]}`));
  lines.push('', '由干支纪年可以推知生肖：地支为子的年份属鼠，为丑的年份属牛，依此类推。例如公元1984年（甲子年）属鼠。');
  write('03', lines);
}
// 十二时辰: the branch of hour h is ((h + 1) / 2) mod 12, so 子时 runs from 23 to 1 o'clock.
{
  const lines = ['十二时辰', '',
    '古人把一昼夜分为十二个时辰，用十二地支命名，每个时辰相当于现在的两个小时。子时从前一天的二十三点开始，午时正当中午。诗词中的“子夜”“午夜”指半夜，“日午”指中午。', ''];
  zhi.forEach((z, i) => {
    const from = (i * 2 + 23) % 24, to = (i * 2 + 1) % 24;
    lines.push(`${z}时　${from}时至${to}时`);
  });
  write('04', lines);
}
// 星宿与天象: the twenty-eight mansions from 角, seven to a line.
{
  const lines = ['星宿与天象', '',
    '古人观察天象，把日、月和五大行星运行路线一带的星空划分为二十八个区域，每个区域取一组星作标志，称为“二十八宿”（宿读xiù），用来标记日月五星所在的位置。诗词里的星名、天象，多半与它们有关。', '',
    '二十八宿依次为：', ''];
  for (let i = 0; i < mansions.length; i += 7) lines.push(mansions.slice(i, i + 7).join('　'));
  lines.push('',
    '旧时蒙学读物《幼学琼林》“天文”一节，收了不少与天象有关的常用说法：', '',
    '日月五星，谓之七政；天地与人，谓之三才。——程登吉《幼学琼林·天文》', '',
    '青女乃霜之神，素娥即月之号。——程登吉《幼学琼林·天文》', '',
    '列缺乃电之神，望舒是月之御。——程登吉《幼学琼林·天文》', '',
    '“素娥”“望舒”都可以代指月亮，“青女”代指霜，“列缺”代指闪电，诗词中常用。', '',
    '参商二星，其出没不相见；牛女两宿，惟七夕一相逢。——程登吉《幼学琼林·天文》', '',
    '参宿和商星此起彼落，从不同时出现在夜空，诗人用来比喻亲友久别难逢：', '',
    '人生不相见，动如参与商。——杜甫《赠卫八处士》', '',
    '这里的“牛女”，说的是牵牛、织女七夕相会的传说（见本窗口“岁时节令”一题）。', '',
    '箕好风，毕好雨，比庶人愿欲不同——程登吉《幼学琼林·天文》', '',
    '古人说箕宿好风、毕宿好雨，书中借来比喻百姓各有各的愿望。', '',
    '诗人写山高，也常借星宿来形容。李白写蜀道之险，说行人仿佛伸手就能摸到参宿、穿过井宿：', '',
    '扪参历井仰胁息，以手抚膺坐长叹。——李白《蜀道难》');
  write('08', lines);
}
console.log('written five topics');
