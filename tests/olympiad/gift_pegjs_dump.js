// Reads a GIFT file with gift-pegjs and prints each question as lines the C++ test
// compares: "Q type title", "S stem", "C right weight text" per choice.
const fs = require('fs');
const parser = require('gift-pegjs');
const questions = parser.parse(fs.readFileSync(process.argv[2], 'utf8'));
const one = (s) => (s ?? '').replace(/\s+/g, ' ').trim();
const out = [];
for (const q of questions) {
  if (q.type === 'Category') {
    out.push(`K ${q.title}`);
    continue;
  }
  out.push(`Q ${q.type} ${one(q.title)}`);
  out.push(`S ${q.stem.format} ${one(q.stem.text)}`);
  if (q.type === 'TF') out.push(`T ${q.isTrue}`);
  for (const c of q.choices ?? [])
    out.push(`C ${c.isCorrect} ${c.weight === null ? 'null' : c.weight} ${c.text.format} ${one(c.text.text)}`);
}
process.stdout.write(out.join('\n') + '\n');
