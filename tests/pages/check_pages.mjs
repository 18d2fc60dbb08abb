// SPDX-License-Identifier: MIT
// Runs axe-core in headless Chromium over the pages write_pages made: each NAME.asp (the
// task page as written) and NAME.html (its preview). Fails on any serious or critical
// finding, or on a task page whose outer element declares no language.
// Usage: node check_pages.mjs --npm DIR --pages DIR [--chromium PATH] [--report FILE]
import { createRequire } from 'node:module';
import { existsSync, readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { parseArgs } from 'node:util';

const { values: args } = parseArgs({
  options: {
    npm: { type: 'string' },
    pages: { type: 'string' },
    chromium: { type: 'string', default: process.env.KAVO_CHROMIUM || '/usr/bin/chromium' },
    report: { type: 'string' },
  },
});
if (!args.npm || !args.pages) {
  console.error('usage: node check_pages.mjs --npm DIR --pages DIR [--chromium PATH] [--report FILE]');
  process.exit(2);
}
const modules = join(resolve(args.npm), 'node_modules');
if (!existsSync(join(modules, 'axe-core')) || !existsSync(join(modules, 'puppeteer-core'))) {
  console.error(`axe-core and puppeteer-core are missing in ${modules}: ./scripts/test.sh installs them`);
  process.exit(1);
}
if (!existsSync(args.chromium)) {
  console.error(`no Chromium at ${args.chromium}: ./scripts/deps.sh --tests installs Debian's chromium`);
  process.exit(1);
}
const require = createRequire(join(modules, 'index.js'));
const puppeteer = require('puppeteer-core');
const axeSource = readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

const failingImpacts = new Set(['serious', 'critical']);
// The written page is a fragment that the web system puts into its own document: the
// document's language and title are that document's business, not the fragment's.
const hostDocumentRules = ['html-has-lang', 'document-title'];
const cp1251 = new TextDecoder('windows-1251');

// The server tags are stripped: left in, a browser shows them as text, which would lend a
// label or a block a name it does not have in the served page. What the server puts there
// is checked in the preview, through the stand-ins of System_folder/browser.
const stripServerTags = (text) => text.replace(/<%[\s\S]*?%>/g, '');

async function audit(page, disabled) {
  await page.addScriptTag({ content: axeSource });
  return page.evaluate(async (disabledRules) => {
    const rules = Object.fromEntries(disabledRules.map((id) => [id, { enabled: false }]));
    const result = await window.axe.run(document, { rules, resultTypes: ['violations'] });
    return result.violations.map((v) => ({
      id: v.id,
      impact: v.impact,
      help: v.help,
      targets: v.nodes.map((n) => n.target.join(' ')),
    }));
  }, disabled);
}

const files = readdirSync(args.pages).filter((f) => /\.(asp|html)$/.test(f)).sort();
if (files.length === 0) {
  console.error(`no pages in ${args.pages}`);
  process.exit(1);
}

const browser = await puppeteer.launch({
  executablePath: args.chromium,
  headless: true,
  args: ['--no-sandbox', '--allow-file-access-from-files'],
});
const report = [];
let failed = false;
try {
  const page = await browser.newPage();
  for (const file of files) {
    const path = join(args.pages, file);
    const written = file.endsWith('.asp');
    let problems = [];
    if (written) {
      await page.setContent(stripServerTags(cp1251.decode(readFileSync(path))), { waitUntil: 'load' });
      const lang = await page.evaluate(() => document.body.firstElementChild?.getAttribute('lang') ?? '');
      if (!lang) problems.push('the outer element has no lang');
    } else {
      await page.goto(pathToFileURL(path).href, { waitUntil: 'load' });
    }
    // A closed fold hides its variants from the checker: open it, as the pupil does.
    await page.evaluate(() => document.querySelectorAll('details').forEach((d) => (d.open = true)));
    const violations = await audit(page, written ? hostDocumentRules : []);
    for (const v of violations)
      if (failingImpacts.has(v.impact))
        problems.push(`${v.impact} ${v.id} (${v.help}): ${v.targets.join(', ')}`);
    report.push({ file, violations, problems });
    if (problems.length) failed = true;
    console.log(`${problems.length ? 'FAIL' : 'ok  '} ${file}`);
    for (const p of problems) console.log(`       ${p}`);
  }
} finally {
  await browser.close();
}

// Every finding, the minor and moderate ones too, by rule.
const byRule = new Map();
for (const { file, violations } of report)
  for (const v of violations) {
    const key = `${v.impact} ${v.id}`;
    const entry = byRule.get(key) ?? { pages: 0, nodes: 0, kinds: new Set() };
    entry.pages += 1;
    entry.nodes += v.targets.length;
    entry.kinds.add(file.endsWith('.asp') ? 'page' : 'preview');
    byRule.set(key, entry);
  }
console.log(`\n${report.length} documents checked; findings by rule (impact, rule: documents, elements):`);
if (byRule.size === 0) console.log('  none');
for (const [key, e] of [...byRule].sort())
  console.log(`  ${key}: ${e.pages} documents (${[...e.kinds].join(', ')}), ${e.nodes} elements`);
if (args.report) writeFileSync(args.report, JSON.stringify(report, null, 2));
const failures = report.filter((r) => r.problems.length).length;
console.log(`${report.length - failures} passed, ${failures} failed`);
process.exit(failed ? 1 : 0);
